#include "demo/SDL_Keyboard.h"

#include <SDL.h>

#include <algorithm>

SDL_Keyboard::SDL_Keyboard(Poller p)
    : poller(p)
{
    update();
}

KeyboardPoll SDL_Keyboard::pollSdl()
{
    KeyboardPoll found;
    SDL_Event event;
    while (SDL_PollEvent(&event) > 0)
        if (event.type == SDL_KEYDOWN)
            found.pressed.push_back(static_cast<int>(event.key.keysym.sym));
        else if (event.type == SDL_VIDEOEXPOSE)
            found.exposed = true;
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    found.state = KeyState { keys, count };
    return found;
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
