#include "support/GLTestEnvironment.h"

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
