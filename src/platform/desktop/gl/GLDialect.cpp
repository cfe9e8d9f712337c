#include "gl/GLDialect.h"

namespace GLDialect {

// Mesa and the desktop drivers answer from the calling thread, at once.
const bool errorsReadAfterEachCall = true;

std::string shaderSource(const std::string& source)
{
    return source;
}

std::string variableName(const std::string& name)
{
    return name;
}

// The component count is the unsized internal format OpenGL 2.0 takes.
GLint internalFormat(GLint components, GLenum)
{
    return components;
}

} // namespace GLDialect
