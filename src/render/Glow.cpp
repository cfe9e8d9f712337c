#include "render/Glow.h"

#include "core/DataFiles.h"
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

// The viewport as the caller had it, put back when the glow is done.
class SavedViewport {
public:
    SavedViewport() { glGetIntegerv(GL_VIEWPORT, box); }
    ~SavedViewport() { glViewport(box[0], box[1], box[2], box[3]); }
    SavedViewport(const SavedViewport&) = delete;
    SavedViewport& operator=(const SavedViewport&) = delete;

private:
    GLint box[4] = {};
};

} // namespace

Glow::Glow(const Resolution& size)
    : frameSize(size)
    , across(quarterOf(size), OffscreenTarget::Depth::None)
    , down(quarterOf(size), OffscreenTarget::Depth::None)
    , bright(DataFiles::vertexShader("glowBright"), DataFiles::fragmentShader("glowBright"))
    , blurPass(DataFiles::vertexShader("glowBlur"), DataFiles::fragmentShader("glowBlur"))
{
    clampAndFilter(across.colour());
    clampAndFilter(down.colour());
}

void Glow::blur(ScreenQuad& quad, Texture& from, OffscreenTarget& into, float x, float y)
{
    blurPass.use();
    glUniform2f(blurPass.getUniformLocation("direction"), x, y);
    into.bind();
    const Resolution& glowSize = into.size();
    quad.draw(blurPass, from, glm::vec2(static_cast<float>(glowSize.width), static_cast<float>(glowSize.height)));
    into.unbind();
}

void Glow::draw(ScreenQuad& quad, Texture& frame, float fade)
{
    GLint boundFrame = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &boundFrame);
    const float quadFade = quad.fade;
    {
        const SavedViewport saved;
        glViewport(0, 0, static_cast<GLsizei>(size().width), static_cast<GLsizei>(size().height));
        // Depth testing stays on for the whole run; these targets have no depth.
        quad.fade = fade;
        across.bind();
        quad.draw(bright, frame, glm::vec2(static_cast<float>(frameSize.width), static_cast<float>(frameSize.height)));
        across.unbind();
        blur(quad, across.colour(), down, 1.0f, 0.0f);
        blur(quad, down.colour(), across, 0.0f, 1.0f);
    }
    quad.fade = quadFade;
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(boundFrame));
    checkGLError("glBindFramebuffer (after the glow)");
}
