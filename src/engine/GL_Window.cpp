#include "engine/GL_Window.h"

#include "engine/FramePresentation.h"
#include "gl/GLErrorException.h"
#include "gl/WindowFramebuffer.h"

#include <GL/glew.h>
#include <SDL.h>

namespace VornE {

bool GL_Window::open(const std::string& caption, const Resolution& size, bool fullscreen)
{
    glFailure.clear();
    if (!SDL_Window::open(caption, size, fullscreen))
        return false;
    const GLenum status = glewInit();
    if (status != GLEW_OK) {
        glFailure = std::string("Glew initialisation failed : '")
            + reinterpret_cast<const char*>(glewGetErrorString(status)) + "'";
        return false;
    }
    WindowFramebuffer::adoptBound();
    return true;
}

std::string GL_Window::openFailure() const
{
    return glUnusable() ? glFailure : SDL_Window::openFailure();
}

void GL_Window::clear()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GL_Window::swap()
{
    checkGLErrorNow("the frame's drawing");
    FramePresentation::present();
}

void GL_Window::setClearColour(const Colour& colour)
{
    glClearColor(static_cast<float>(colour.red / 255.0), static_cast<float>(colour.green / 255.0),
        static_cast<float>(colour.blue / 255.0), static_cast<float>(colour.alpha / 255.0));
}

} // namespace VornE
