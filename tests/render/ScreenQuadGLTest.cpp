#include "RenderTarget.h"
#include "gl/GLTestHelpers.h"
#include "render/ScreenQuad.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// A program missing one of the pass's uniforms warns and draws nothing that
// frame. The demo's own pair draws every frame of the end-to-end tests.
TEST(ScreenQuad, AProgramMissingAUniformWarnsAndDrawsNothing)
{
    const std::pair<const char*, std::string> cases[] = {
        { "tests/render/shaders/noResolution.frag", "Fail to get 'resolution'\nresolution not found\n" },
        { "tests/render/shaders/noFade.frag", "Fail to get 'fade'\nfade not found\n" },
        { "tests/render/shaders/noTexScreen.frag", "Fail to get 'texScreen'\nScreenQuad :: texScreen not found\n" },
    };
    std::vector<unsigned char> white(16 * 16 * 4, 255);
    Texture2D frame(4, Resolution { 16, 16 }, GL_RGBA, white.data());
    ScreenQuad quad;
    quad.init();
    for (const auto& [fragment, warning] : cases) {
        SCOPED_TRACE(fragment);
        LogCapture capture;
        ShaderProgram program("data/shaders/postProcess.vert", fragment);
        RenderTarget window(16);
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        capture.clear();
        quad.draw(program, frame, glm::vec2(16.0f, 16.0f));
        EXPECT_EQ(capture.out(), warning);
        EXPECT_TRUE(pixelNear(readPixel(8, 8), 0, 0, 255));
        for (GLuint attribute = 0; attribute < 2; ++attribute)
            glDisableVertexAttribArray(attribute);
        glBindTexture(GL_TEXTURE_2D, 0);
        StaticBuffer::unbind();
        ShaderProgram::unuse();
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NO_GL_ERROR();
}
