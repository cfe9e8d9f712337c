#pragma once

#include "gl/GLErrorException.h"
#include "support/LogCapture.h"

#include <GL/glew.h>

#include <iostream>
#include <string>

// what() of the exception of type E that `operation` throws.
template <class E = GLErrorException, class Operation> std::string thrownBy(Operation operation)
{
    try {
        operation();
    } catch (const E& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

// One integer of GL state, such as a binding.
inline GLint glInteger(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

inline GLint glName(GLuint name)
{
    return static_cast<GLint>(name);
}

// Standard error into the same capture as standard output, so the order of
// Error lines against Info and Warning lines shows.
class MergedLog {
public:
    MergedLog() { std::cerr.rdbuf(std::cout.rdbuf()); }
    std::string text() const { return capture.out(); }

private:
    LogCapture capture; // restores both streams when it goes
};
