#include "gl/GLErrorException.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

// The queue behaviour of checkGLError is pinned against a fake glGetError in
// GLErrorExceptionTest.cpp; these run against the real GL.

TEST(CheckGLError, ReturnsQuietlyOnAGoodContext)
{
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_NO_THROW(checkGLError("glBindTexture"));
    EXPECT_NO_GL_ERROR();
}

TEST(CheckGLError, FirstOfTwoProvokedErrorsIsTheOneThrown)
{
    glEnable(0xFFFF); // GL_INVALID_ENUM
    glLineWidth(-1.0f); // GL_INVALID_VALUE
    try {
        checkGLError("glEnable");
        FAIL() << "a pending GL error was not seen";
    } catch (const GLErrorException& error) {
        EXPECT_STREQ(error.what(), "Invalid enumerator in 'glEnable'");
    }
    // Mesa keeps one error flag and drops the second error; a GL with several
    // flags still holds it for the next check. Drain either way.
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_NO_GL_ERROR();
}
