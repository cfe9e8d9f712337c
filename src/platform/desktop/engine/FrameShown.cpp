// On X11 a swapped frame is a request in the connection's queue until the
// server has carried it out: a round trip (XSync) after the GL has finished
// makes it what the window shows.

#include "engine/FramePresentation.h"

#include "gl/GL.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace FramePresentation {

void waitUntilShown()
{
    glFinish();
    SDL_SysWMinfo window;
    SDL_VERSION(&window.version);
    if (SDL_GetWMInfo(&window) != 1 || window.subsystem != SDL_SYSWM_X11 || window.info.x11.display == nullptr)
        return;
    window.info.x11.lock_func();
    XSync(window.info.x11.display, False);
    window.info.x11.unlock_func();
}

} // namespace FramePresentation
