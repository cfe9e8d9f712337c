#include "gl/GLName.h"

#include "core/Exception.h"

#include <string>
#include <utility>

GLName::GLName(GLuint name, Delete eraser, const char* what)
    : id(name)
    , erase(eraser)
{
    if (id == 0)
        throw VornE::Exception(std::string(what) + " id is 0");
}

GLName::GLName(GLName&& other) noexcept
    : id(std::exchange(other.id, 0))
    , erase(other.erase)
{
}

GLName& GLName::operator=(GLName&& other) noexcept
{
    if (this != &other) {
        reset();
        id = std::exchange(other.id, 0);
        erase = other.erase;
    }
    return *this;
}

void GLName::reset()
{
    if (id != 0 && erase != nullptr)
        erase(id);
    id = 0;
}
