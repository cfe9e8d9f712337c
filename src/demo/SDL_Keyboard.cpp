#include "demo/SDL_Keyboard.h"

#include <SDL.h>

SDL_Keyboard::SDL_Keyboard(Poller p)
    : poller(p)
{
    update();
}

KeyState SDL_Keyboard::pollSdl()
{
    SDL_PumpEvents();
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    return KeyState { keys, count };
}

void SDL_Keyboard::update()
{
    state = poller();
}

int SDL_Keyboard::directions()
{
    return KeyMask::directions(state);
}

int SDL_Keyboard::actions()
{
    return KeyMask::actions(state);
}

bool SDL_Keyboard::quitRequested()
{
    return KeyMask::escape(state);
}
