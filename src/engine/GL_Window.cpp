#include "engine/GL_Window.h"

#include <GL/glew.h>
#include <SDL.h>

namespace VornE {

void GL_Window::clear()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GL_Window::swap()
{
    SDL_GL_SwapBuffers();
}

void GL_Window::setClearColour(const Colour& colour)
{
    glClearColor(static_cast<float>(colour.red / 255.0), static_cast<float>(colour.green / 255.0),
        static_cast<float>(colour.blue / 255.0), static_cast<float>(colour.alpha / 255.0));
}

} // namespace VornE
