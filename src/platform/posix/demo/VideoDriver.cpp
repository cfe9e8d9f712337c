#include "demo/VideoDriver.h"

#include <cstdlib>

void pickVideoDriver()
{
    // OpenGL comes only through SDL's X11 driver; left to itself, SDL would
    // fall back to drawing in the terminal when no X display answers.
    setenv("SDL_VIDEODRIVER", "x11", 0);
}
