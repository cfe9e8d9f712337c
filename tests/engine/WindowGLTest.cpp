#include "support/GLTestEnvironment.h"

#include "gl/GLErrorException.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

// The caption and the size are left to the end-to-end tests: they find the
// demo's window by its caption and read its size from the X server.
TEST(Window, HidesThePointer)
{
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_NO_GL_ERROR();
}

// Where errors are not read after each call (WebGL), the swap is where a
// frame's are caught; here it catches what a call left unchecked.
TEST(Window, ASwapThrowsAnErrorItsFrameLeftPending)
{
    glEnable(0x7fff);
    try {
        GLTestEnvironment::window().swap();
        ADD_FAILURE() << "the swap let the error by";
    } catch (const GLErrorException& error) {
        EXPECT_STREQ(error.what(), "Invalid enumerator in 'the frame's drawing'");
    }
    EXPECT_NO_GL_ERROR();
}
