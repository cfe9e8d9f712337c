#include "demo/SdlTimeSource.h"

#include <SDL.h>

std::uint32_t SdlTimeSource::ticks()
{
    return SDL_GetTicks();
}

void SdlTimeSource::delay(std::uint32_t milliseconds)
{
    SDL_Delay(milliseconds);
}
