#include "gl/GLErrorException.h"
#include "gl/GLTestHelpers.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

// checkGLError runs here without a GL context: this executable's own
// glGetError takes the place of the GL library's at link time and answers from
// a queue. Mesa keeps a single error flag, so only a fake can queue two.
namespace {
std::deque<GLenum> queuedErrors;
int getErrorCalls = 0;
} // namespace

extern "C" GLenum GLAPIENTRY glGetError(void)
{
    ++getErrorCalls;
    if (queuedErrors.empty())
        return GL_NO_ERROR;
    const GLenum error = queuedErrors.front();
    queuedErrors.pop_front();
    return error;
}

TEST(CheckGLError, FetchesOneErrorPerCheckAndReturnsWhenNoneIsPending)
{
    getErrorCalls = 0;
    queuedErrors = { GL_INVALID_OPERATION, 0xABCDEF10u };
    EXPECT_EQ(thrownBy([] { checkGLError("glBindBuffer()"); }), "Invalid operation in 'glBindBuffer()'");
    EXPECT_EQ(getErrorCalls, 1);
    EXPECT_EQ(queuedErrors.size(), 1u); // the second is left for the next check
    // An unlisted code shows in decimal, then in bare lower-case hexadecimal.
    EXPECT_EQ(
        thrownBy([] { checkGLError("glBufferData"); }), "Unknown error 2882400016 ( abcdef10 ) in 'glBufferData'");
    EXPECT_NO_THROW(checkGLError("glBufferData"));
    EXPECT_EQ(getErrorCalls, 3);
}
