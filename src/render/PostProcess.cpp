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
    if (fade > Glow::threshold)
        quad.drawWithFade(overExposed, frame, size, fade, &glow);
    else
        quad.drawPlain(plain, frame, fade);
}
