#include "engine/SDL_Window.h"

#include "engine/FramePresentation.h"

#include <SDL.h>
#include <cstdlib>

namespace VornE {

SDL_Window::SDL_Window()
    : clearColour(1.0f, 1.0f, 1.0f, 1.0f)
{
}

unsigned int SDL_Window::videoFlags(bool fullscreen)
{
    return fullscreen ? (SDL_OPENGL | SDL_FULLSCREEN) : SDL_OPENGL;
}

bool SDL_Window::open(const std::string& caption, const Resolution& size, bool fullscreen)
{
    // SDL 1.2 takes the size as int: a request past INT_MAX cannot be honoured.
    if (size.width > 0x7FFFFFFFu || size.height > 0x7FFFFFFFu) {
        SDL_SetError("window size %u x %u is too large", size.width, size.height);
        return false;
    }
    if (tearFree) {
        // GL attributes need the video subsystem, which SDL_SetVideoMode
        // would otherwise start itself.
        if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        FramePresentation::requestRefreshSync();
    }
    screen = SDL_SetVideoMode(static_cast<int>(size.width), static_cast<int>(size.height), 32, videoFlags(fullscreen));
    if (screen == nullptr)
        return false;
    SDL_WM_SetCaption(caption.c_str(), nullptr);
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}

std::string SDL_Window::openFailure() const
{
    // An X display is named where one is used: Windows has none of its own.
    const char* display = std::getenv("DISPLAY");
    return std::string("Unable to open the window: ") + SDL_GetError()
        + (display != nullptr ? std::string(" on the X display '") + display + "'" : "");
}

void SDL_Window::clear()
{
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, clearColour.red, clearColour.green, clearColour.blue));
}

void SDL_Window::swap()
{
    SDL_UpdateRect(screen, 0, 0, 0, 0);
}

void SDL_Window::setClearColour(const Colour& colour)
{
    clearColour = colour;
}

Resolution SDL_Window::getSize()
{
    return Resolution { static_cast<std::uint32_t>(screen->w), static_cast<std::uint32_t>(screen->h) };
}

} // namespace VornE
