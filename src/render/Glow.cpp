#include "render/Glow.h"

#include "gl/GLErrorException.h"
#include "render/ScreenQuad.h"

#include <algorithm>

namespace {

Resolution quarterOf(const Resolution& size)
{
    return { std::max(size.width / 4u, 1u), std::max(size.height / 4u, 1u) };
}

// A target read with bilinear filtering and clamped at its edges, so that the
// blur neither wraps light from one side of the picture to the other nor
// reads past it.
void clampAndFilter(Texture2D& texture)
{
    texture.bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    texture.unbind();
    checkGLError("glTexParameteri (glow)");
}

} // namespace

Glow::Glow(const Resolution& size, ShaderProgram& brightPass, ShaderProgram& blurringPass)
    : frameSize(size)
    , across(quarterOf(size), OffscreenTarget::Depth::None)
    , down(quarterOf(size), OffscreenTarget::Depth::None)
    , bright(brightPass)
    , blurPass(blurringPass)
{
    clampAndFilter(across.colour());
    clampAndFilter(down.colour());
}

void Glow::blur(ScreenQuad& quad, Texture& from, OffscreenTarget& into, float x, float y, float fade)
{
    blurPass.use();
    glUniform2f(blurPass.getUniformLocation("direction"), x, y);
    into.bind();
    const Resolution& glowSize = into.size();
    quad.drawWithFade(
        blurPass, from, glm::vec2(static_cast<float>(glowSize.width), static_cast<float>(glowSize.height)), fade);
    into.unbind();
}

void Glow::draw(ScreenQuad& quad, Texture& frame, float fade)
{
    glViewport(0, 0, static_cast<GLsizei>(size().width), static_cast<GLsizei>(size().height));
    // Depth testing stays on for the whole run; these targets have no depth.
    across.bind();
    quad.drawWithFade(
        bright, frame, glm::vec2(static_cast<float>(frameSize.width), static_cast<float>(frameSize.height)), fade);
    across.unbind();
    blur(quad, across.colour(), down, 1.0f, 0.0f, fade);
    blur(quad, down.colour(), across, 0.0f, 1.0f, fade);
}
