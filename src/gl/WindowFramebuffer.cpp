#include "gl/WindowFramebuffer.h"

namespace {

// One context, one window: the name lives as long as the window's video mode.
GLuint windowName = 0;

} // namespace

namespace WindowFramebuffer {

void adoptBound()
{
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    // An old GL that does not know the query answers GL_INVALID_ENUM: it has
    // no framebuffer objects, so the window's is the default one. The error
    // is taken off the queue so that no later check reports it as its own.
    if (glGetError() != GL_NO_ERROR || bound < 0)
        bound = 0;
    windowName = static_cast<GLuint>(bound);
}

GLuint name()
{
    return windowName;
}

} // namespace WindowFramebuffer
