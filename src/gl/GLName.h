#pragma once

#include "gl/GL.h"

#include <ostream>

// One GL name and how it is deleted: the owner that every wrapper in this
// folder keeps its names in. It is moved, never copied; a moved-from owner
// holds 0 and deletes nothing. Reads as the name it holds.
class GLName {
public:
    using Delete = void (*)(GLuint name);

    GLName() = default;
    // Takes `name`, just made by the caller's glGen call. A name of 0 (the GL
    // made none) throws VornE::Exception("<what> id is 0") and deletes nothing.
    GLName(GLuint name, Delete erase, const char* what);
    GLName(GLName&& other) noexcept;
    GLName& operator=(GLName&& other) noexcept;
    GLName(const GLName&) = delete;
    GLName& operator=(const GLName&) = delete;
    ~GLName() { reset(); }

    operator GLuint() const { return id; }
    // Deletes the name now, if there is one.
    void reset();

private:
    GLuint id = 0;
    Delete erase = nullptr;
};

inline std::ostream& operator<<(std::ostream& out, const GLName& name)
{
    return out << static_cast<GLuint>(name);
}
