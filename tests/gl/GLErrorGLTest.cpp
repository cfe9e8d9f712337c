#include "gl/GLErrorException.h"
#include "gl/GLTestHelpers.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

// Against the real GL; the one-error-per-check queue behaviour is pinned with a
// fake glGetError in GLErrorExceptionTest.cpp.
TEST(CheckGLError, ThrowsTheFirstOfTwoProvokedErrorsAndNothingOnACleanState)
{
    EXPECT_NO_THROW(checkGLError("glBindTexture"));
    glEnable(0xFFFF); // GL_INVALID_ENUM
    glLineWidth(-1.0f); // GL_INVALID_VALUE, dropped by Mesa's single error flag
    EXPECT_EQ(thrownBy([] { checkGLError("glEnable"); }), "Invalid enumerator in 'glEnable'");
    while (glGetError() != GL_NO_ERROR) { }
    EXPECT_NO_GL_ERROR();
}
