#pragma once

#include "gl/GL.h"

#include <exception>
#include <string>

// A GL error seen by a check: what() names the error and the call it followed,
// e.g. "Invalid operation in 'glBindBuffer()'".
class GLErrorException : public std::exception {
public:
    GLErrorException(unsigned int code, const std::string& where);
    ~GLErrorException() override;
    const char* what() const noexcept override;

private:
    std::string message;
};

// Fetches one pending GL error, and only one: further queued errors are left
// for the next check. Throws GLErrorException(error, where) when there is one.
void checkGLError(const std::string& where);
