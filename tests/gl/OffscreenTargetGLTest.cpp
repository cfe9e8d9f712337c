#include "gl/OffscreenTarget.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A red triangle with one long slanted edge over black, drawn into a 64x64
// target with `samples` a pixel and read back from its colour texture: how
// many pixels have a red between the two sides'.
int blendedPixels(int samples)
{
    constexpr int side = 64;
    OffscreenTarget target(Resolution { side, side }, OffscreenTarget::Depth::Depth24, samples);
    target.bind();
    glViewport(0, 0, side, side);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(0);
    glColor3f(1.0f, 0.0f, 0.0f);
    glBegin(GL_TRIANGLES);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(-1.0f, 0.7f);
    glEnd();
    target.unbind();
    target.resolve();

    std::vector<unsigned char> rgba(side * side * 4);
    target.colour().bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    target.colour().unbind();
    const GLsizei width = GLTestEnvironment::width, height = GLTestEnvironment::height;
    glViewport(0, 0, width, height);
    int blended = 0;
    for (std::size_t at = 0; at < rgba.size(); at += 4)
        blended += rgba[at] > 0 && rgba[at] < 255 ? 1 : 0;
    return blended;
}

} // namespace

// The edge crosses all 64 columns: with samples most of its pixels take a
// share of each side; without, every pixel is one side or the other.
TEST(OffscreenTarget, WithSamplesAnEdgeBlendsIntoItsBackgroundAndWithoutItSteps)
{
    EXPECT_EQ(blendedPixels(0), 0);
    EXPECT_GE(blendedPixels(4), 48);
    EXPECT_NO_GL_ERROR();
}
