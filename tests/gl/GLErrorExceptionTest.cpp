#include "gl/GLErrorException.h"
#include "engine/Exception.h"
#include "gl/GLTestHelpers.h"
#include "gl/ShaderLoadingException.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <utility>

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

TEST(GLErrorException, EngineAndShaderExceptionsWrapTheirTextAndCopiesOutliveTheOriginal)
{
    auto gl = std::make_unique<GLErrorException>(GL_INVALID_VALUE, "glBufferData");
    auto engine = std::make_unique<VornE::Exception>("FrameBuffer id is 0");
    auto loading = std::make_unique<ShaderLoadingException>("a.vert b.frag Linking");
    const GLErrorException glCopy(*gl);
    const VornE::Exception engineCopy(*engine);
    const ShaderLoadingException loadingCopy(*loading);
    gl.reset();
    engine.reset();
    loading.reset();
    EXPECT_STREQ(glCopy.what(), "Invalid value in 'glBufferData'");
    EXPECT_STREQ(engineCopy.what(), "Exception received (FrameBuffer id is 0)");
    const VornE::Exception& asEngine = loadingCopy;
    EXPECT_STREQ(asEngine.what(), "Exception received (Fail to create the shader: a.vert b.frag Linking)");
}

TEST(CheckGLError, FetchesOneErrorPerCheckAndReturnsWhenNoneIsPending)
{
    getErrorCalls = 0;
    queuedErrors = { GL_INVALID_OPERATION, 0xABCDEF10u };
    EXPECT_EQ(thrownBy([] { checkGLError("glBindBuffer()"); }), "Invalid operation in 'glBindBuffer()'");
    EXPECT_EQ(getErrorCalls, 1);
    EXPECT_EQ(queuedErrors.size(), 1u); // the second is left for the next check
    // An unlisted code shows in decimal, then in bare lower-case hexadecimal.
    EXPECT_EQ(thrownBy([] { checkGLError("glBufferData"); }),
        "Unknown error 2882400016 ( abcdef10 ) in 'glBufferData'");
    EXPECT_NO_THROW(checkGLError("glBufferData"));
    EXPECT_EQ(getErrorCalls, 3);
}
