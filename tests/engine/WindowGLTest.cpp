#include "support/GLTestEnvironment.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

TEST(Window, ReportsTheSurfaceSizeCaptionAndHiddenPointer)
{
    const Resolution size = GLTestEnvironment::engine().window->getSize();
    EXPECT_EQ(size.width, GLTestEnvironment::width);
    EXPECT_EQ(size.height, GLTestEnvironment::height);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, GLTestEnvironment::caption);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    const SDL_Surface* surface = SDL_GetVideoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->format->BitsPerPixel, 32);
    EXPECT_TRUE(surface->flags & SDL_OPENGL);
    EXPECT_NO_GL_ERROR();
}
