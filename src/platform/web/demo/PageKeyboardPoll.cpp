// The web page's look at the keyboard: the key presses Emscripten's SDL
// queues from the page's key events. Its key state is indexed by scan code,
// not by the key symbols the masks read, so the page reads presses only:
// Escape acts as it is pressed.

#include "demo/SDL_Keyboard.h"

KeyboardPoll SDL_Keyboard::pollSdl()
{
    return queuedEvents();
}
