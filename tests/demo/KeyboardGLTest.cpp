#include "demo/SDL_Keyboard.h"
#include "support/GLTestEnvironment.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

TEST(SDL_Keyboard, ReadsSdlKeyStateAtConstructionAndEveryUpdateButIgnoresAWindowCloseRequest)
{
    int count = 0;
    Uint8* keys = SDL_GetKeyState(&count);
    ASSERT_GT(count, SDLK_ESCAPE);
    // As SDL records held keys.
    for (int key : { SDLK_ESCAPE, SDLK_UP, SDLK_q })
        keys[key] = 1;
    SDL_Keyboard keyboard;
    EXPECT_TRUE(keyboard.quitRequested());
    EXPECT_EQ(keyboard.directions(), 1);
    EXPECT_EQ(keyboard.actions(), 1);
    for (int key : { SDLK_ESCAPE, SDLK_UP, SDLK_q })
        keys[key] = 0;
    SDL_Event quit {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    keyboard.update();
    EXPECT_FALSE(keyboard.quitRequested());
    EXPECT_EQ(keyboard.directions(), 0);
    keys[SDLK_ESCAPE] = 1;
    keyboard.update();
    EXPECT_TRUE(keyboard.quitRequested());
    keys[SDLK_ESCAPE] = 0;
    EXPECT_NO_GL_ERROR();
}
