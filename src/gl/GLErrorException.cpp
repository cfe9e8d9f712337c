#include "gl/GLErrorException.h"

#include "gl/GLDialect.h"

#include <sstream>

namespace {

std::string describe(unsigned int code)
{
    switch (code) {
    case GL_NO_ERROR:
        return "No error occured (so why this exception has been lunched";
    case GL_INVALID_ENUM:
        return "Invalid enumerator";
    case GL_INVALID_VALUE:
        return "Invalid value";
    case GL_INVALID_OPERATION:
        return "Invalid operation";
    case GL_OUT_OF_MEMORY:
        return "Out of memory";
    case GL_INVALID_FRAMEBUFFER_OPERATION:
        return "Invalid Framebuffer operation";
    default:
        break;
    }
    std::ostringstream text;
    text << code << " ( " << std::hex << code << std::dec << " )";
    return "Unknown error " + text.str();
}

} // namespace

GLErrorException::GLErrorException(unsigned int code, const std::string& where)
    : message(describe(code) + " in '" + where + "'")
{
}

GLErrorException::~GLErrorException() = default;

const char* GLErrorException::what() const noexcept
{
    return message.c_str();
}

void checkGLErrorNow(const char* where)
{
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        throw GLErrorException(error, where);
}

void checkGLError(const char* where)
{
    if (GLDialect::errorsReadAfterEachCall)
        checkGLErrorNow(where);
}

void checkGLError(const char* call, const std::string& name)
{
    if (!GLDialect::errorsReadAfterEachCall)
        return;
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        throw GLErrorException(error, std::string(call) + "(" + name + ")");
}
