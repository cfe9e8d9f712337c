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
// Checks run after every GL call of every draw, so the label is taken as it is
// and turned into a string only for the exception.
//
// Where reading the error makes the program wait until the GL has carried
// out everything it was given (WebGL: a round trip to the browser's GPU
// process), these checks read nothing (GLDialect::errorsReadAfterEachCall),
// and checkGLErrorNow() at each frame's presentation catches what its calls
// raised.
void checkGLError(const char* where);
// The same, labelled "call(name)", for a call about a named uniform or attribute.
void checkGLError(const char* call, const std::string& name);
// Reads the pending error whatever the GL: for the checks a frame ends with.
void checkGLErrorNow(const char* where);
