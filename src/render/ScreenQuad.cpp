#include "render/ScreenQuad.h"

#include "core/Logger.h"
#include "gl/GLErrorException.h"
#include "render/PassHelpers.h"

const float ScreenQuad::vertices[16] = {
    1.0f,
    1.0f,
    1.0f,
    1.0f,
    -1.0f,
    1.0f,
    0.0f,
    1.0f,
    -1.0f,
    -1.0f,
    0.0f,
    0.0f,
    1.0f,
    -1.0f,
    1.0f,
    0.0f,
};

const unsigned int ScreenQuad::indices[6] = { 0, 1, 2, 2, 3, 0 };

namespace {

constexpr GLsizei quadStride = 16;

// A full-screen pass hides nothing and is hidden by nothing, so it skips the
// depth test (and its read and write of every pixel's depth) that the scenes
// keep on; the test is on again however the draw ends.
class DepthTestOff {
public:
    DepthTestOff() { glDisable(GL_DEPTH_TEST); }
    ~DepthTestOff() { glEnable(GL_DEPTH_TEST); }
    DepthTestOff(const DepthTestOff&) = delete;
    DepthTestOff& operator=(const DepthTestOff&) = delete;
};

} // namespace

ScreenQuad::ScreenQuad() = default;

void ScreenQuad::init()
{
    buffer.setVertexData(sizeof vertices, vertices);
    buffer.setIndexData(sizeof indices, indices);
}

void ScreenQuad::drawWithFade(
    ShaderProgram& program, Texture& texture, const glm::vec2& resolution, float fadeValue, Texture* glow)
{
    drawQuad(program, texture, resolution, fadeValue, glow);
}

void ScreenQuad::drawQuad(
    ShaderProgram& program, Texture& texture, const glm::vec2& resolution, float fadeValue, Texture* glow)
{
    const DepthTestOff noDepth;
    program.use();
    buffer.bind();

    // Invalid locations are not filtered here: they surface as GL errors at these checks.
    const GLint position = program.getAttribLocation("position");
    glVertexAttribPointer(static_cast<GLuint>(position), 2, GL_FLOAT, GL_FALSE, quadStride, bufferOffset(0));
    checkGLError("glVertexAttribPointer ( positions )");
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    checkGLError("glEnableVertexAttribArray ( positions )");

    const GLint texCoord = program.getAttribLocation("texCoord");
    glVertexAttribPointer(static_cast<GLuint>(texCoord), 2, GL_FLOAT, GL_FALSE, quadStride, bufferOffset(8));
    checkGLError("glVertexAttribPointer ( texCoord )");
    glEnableVertexAttribArray(static_cast<GLuint>(texCoord));
    checkGLError("glEnableVertexAttribArray ( texCoord )");

    const auto compiledOut = [&program](const char* name) { return program.variant().compiledOut.count(name) != 0; };
    const GLint resolutionLocation = program.getUniformLocation("resolution");
    if (resolutionLocation != -1) {
        glUniform2fv(resolutionLocation, 1, &resolution.x);
    } else if (!compiledOut("resolution")) {
        warnMissing("resolution not found\n");
        return;
    }

    const GLint fadeLocation = program.getUniformLocation("fade");
    if (fadeLocation == -1) {
        warnMissing("fade not found\n");
        return;
    }
    glUniform1f(fadeLocation, fadeValue);

    glActiveTexture(GL_TEXTURE0);
    texture.bind();
    const GLint sampler = program.getUniformLocation("texScreen");
    if (sampler == -1) {
        warnMissing("ScreenQuad :: texScreen not found\n");
        return;
    }
    glUniform1i(sampler, 0);
    if (glow != nullptr) {
        const GLint glowSampler = program.getUniformLocation("texGlow");
        if (glowSampler != -1) {
            glUniform1i(glowSampler, 1);
            glActiveTexture(GL_TEXTURE1);
            glow->bind();
        } else if (!compiledOut("texGlow")) {
            warnMissing("ScreenQuad :: texGlow not found\n");
            return;
        }
    }

    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, bufferOffset(0));
    checkGLError("glDrawElements (ScreenQuad)");

    if (glow != nullptr) {
        glActiveTexture(GL_TEXTURE1);
        glow->unbind();
    }
    glActiveTexture(GL_TEXTURE0);
    texture.unbind();
    glDisableVertexAttribArray(static_cast<GLuint>(texCoord));
    glDisableVertexAttribArray(static_cast<GLuint>(position));
    StaticBuffer::unbind();
    ShaderProgram::unuse();
}
