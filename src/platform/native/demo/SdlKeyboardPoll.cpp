// The desktop's look at the keyboard: SDL 1.2's event queue and its key
// state, indexed by key symbol. The web page has its own
// (src/platform/web/demo/PageKeyboardPoll.cpp).

#include "demo/SDL_Keyboard.h"

#include <SDL.h>

KeyboardPoll SDL_Keyboard::pollSdl()
{
    KeyboardPoll found = queuedEvents();
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    found.state = KeyState { keys, count };
    return found;
}
