#include "demo/SDL_Keyboard.h"

#include <SDL.h>

#include <algorithm>

SDL_Keyboard::SDL_Keyboard(Poller p)
    : poller(p)
{
    update();
}

void SDL_Keyboard::update()
{
    poll = poller();
}

int SDL_Keyboard::directions()
{
    return KeyMask::directions(poll.state);
}

int SDL_Keyboard::actions()
{
    return KeyMask::actions(poll.state);
}

bool SDL_Keyboard::quitRequested()
{
    return KeyMask::escape(poll.state)
        || std::find(poll.pressed.begin(), poll.pressed.end(), SDLK_ESCAPE) != poll.pressed.end();
}
