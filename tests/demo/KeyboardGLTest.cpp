#include "demo/SDL_Keyboard.h"
#include "support/GLTestEnvironment.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

TEST(SDL_Keyboard, SeesEscapeHeldInSdlKeyStateButNotAWindowCloseRequest)
{
    SDL_Keyboard keyboard;
    SDL_Event quit {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    keyboard.update();
    EXPECT_FALSE(keyboard.quitRequested());

    int count = 0;
    Uint8* keys = SDL_GetKeyState(&count);
    ASSERT_GT(count, SDLK_ESCAPE);
    keys[SDLK_ESCAPE] = 1; // as SDL records a held key
    keyboard.update();
    EXPECT_TRUE(keyboard.quitRequested());
    keys[SDLK_ESCAPE] = 0;
    keyboard.update();
    EXPECT_FALSE(keyboard.quitRequested());
    EXPECT_NO_GL_ERROR();
}
