#include "engine/FramePresentation.h"

#include <SDL.h>

namespace FramePresentation {

void requestRefreshSync()
{
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
}

void present()
{
    SDL_GL_SwapBuffers();
}

} // namespace FramePresentation
