// The web page's window: the page's canvas, its WebGL 2 context made
// through Emscripten's SDL. A picture is shown when the page hands control
// back to the browser, so a swap waits for the next animation frame; the
// refresh rate paces it, as a tear-free swap does on the desktop.

#include "engine/GL_Window.h"
#include "gl/WindowFramebuffer.h"

#include <GL/glew.h>
#include <SDL/SDL.h>

extern "C" void lumaroll_next_frame();

namespace VornE {

SDL_Window::SDL_Window()
    : clearColour(1.0f, 1.0f, 1.0f, 1.0f)
{
}

unsigned int SDL_Window::videoFlags(bool fullscreen)
{
    return fullscreen ? (SDL_OPENGL | SDL_FULLSCREEN) : SDL_OPENGL;
}

// Full screen is the page's button (the browser asks for a gesture): the
// canvas keeps its drawing size either way.
bool SDL_Window::open(const std::string& caption, const Resolution& size, bool)
{
    if (size.width > 0x7FFFFFFFu || size.height > 0x7FFFFFFFu) {
        SDL_SetError("window size %u x %u is too large", size.width, size.height);
        return false;
    }
    screen = SDL_SetVideoMode(static_cast<int>(size.width), static_cast<int>(size.height), 32, SDL_OPENGL);
    if (screen == nullptr)
        return false;
    SDL_WM_SetCaption(caption.c_str(), nullptr);
    return true;
}

void SDL_Window::clear() { }

void SDL_Window::swap()
{
    lumaroll_next_frame();
}

void SDL_Window::setClearColour(const Colour& colour)
{
    clearColour = colour;
}

Resolution SDL_Window::getSize()
{
    return Resolution { static_cast<std::uint32_t>(screen->w), static_cast<std::uint32_t>(screen->h) };
}

bool GL_Window::open(const std::string& caption, const Resolution& size, bool fullscreen)
{
    if (!SDL_Window::open(caption, size, fullscreen))
        return false;
    WindowFramebuffer::adoptBound();
    return true;
}

void GL_Window::clear()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GL_Window::swap()
{
    lumaroll_next_frame();
}

void GL_Window::setClearColour(const Colour& colour)
{
    glClearColor(static_cast<float>(colour.red / 255.0), static_cast<float>(colour.green / 255.0),
        static_cast<float>(colour.blue / 255.0), static_cast<float>(colour.alpha / 255.0));
}

} // namespace VornE
