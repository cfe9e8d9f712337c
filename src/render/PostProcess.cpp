#include "render/PostProcess.h"

#include "render/Glow.h"
#include "render/ScreenQuad.h"

PostProcess::PostProcess(ShaderProgram& overExposed, ShaderProgram& plain)
    : overExposed(overExposed)
    , plain(plain)
{
}

void PostProcess::draw(ScreenQuad& quad, Texture& frame, const glm::vec2& size, float fade, Texture& glow)
{
    // Both take every input; the plain one compiles out what it leaves.
    quad.drawWithFade(fade > Glow::threshold ? overExposed : plain, frame, size, fade, &glow);
}
