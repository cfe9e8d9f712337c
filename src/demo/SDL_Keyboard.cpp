#include "demo/SDL_Keyboard.h"

#include <SDL.h>

#include <algorithm>

SDL_Keyboard::SDL_Keyboard(Poller p)
    : poller(p)
{
    update();
}

KeyboardPoll SDL_Keyboard::queuedEvents()
{
    KeyboardPoll events;
    SDL_Event event;
    while (SDL_PollEvent(&event) > 0)
        if (event.type == SDL_KEYDOWN)
            events.pressed.push_back(static_cast<int>(event.key.keysym.sym));
        else if (event.type == SDL_VIDEOEXPOSE)
            events.exposed = true;
    return events;
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
