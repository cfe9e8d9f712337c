#include "engine/Exception.h"
#include "gl/GLErrorException.h"
#include "gl/ShaderLoadingException.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

// checkGLError is exercised here without a GL context: this executable's own
// glGetError takes the place of the GL library's at link time and answers from
// a queue the tests fill. Mesa keeps a single error flag, so only a fake can
// hold two errors at once.
namespace {

std::deque<GLenum> queuedErrors;
int getErrorCalls = 0;

void resetFakeErrors()
{
    queuedErrors.clear();
    getErrorCalls = 0;
}

std::string messageOf(unsigned int code, const std::string& where)
{
    return GLErrorException(code, where).what();
}

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

TEST(GLErrorException, EveryListedCodeHasItsOwnDescriptionAndNamesTheCall)
{
    EXPECT_EQ(messageOf(GL_INVALID_ENUM, "glTexParameterf"), "Invalid enumerator in 'glTexParameterf'");
    EXPECT_EQ(messageOf(GL_INVALID_VALUE, "glTexImage2D"), "Invalid value in 'glTexImage2D'");
    EXPECT_EQ(messageOf(GL_INVALID_OPERATION, "glBindBuffer()"), "Invalid operation in 'glBindBuffer()'");
    EXPECT_EQ(messageOf(GL_OUT_OF_MEMORY, "glBufferData"), "Out of memory in 'glBufferData'");
    EXPECT_EQ(messageOf(GL_INVALID_FRAMEBUFFER_OPERATION, "glClear"), "Invalid Framebuffer operation in 'glClear'");
    EXPECT_EQ(messageOf(GL_NO_ERROR, "x"), "No error occured (so why this exception has been lunched in 'x'");
}

TEST(GLErrorException, UnlistedCodeShowsDecimalThenBareLowerCaseHex)
{
    EXPECT_EQ(messageOf(1283, "x"), "Unknown error 1283 ( 503 ) in 'x'");
    EXPECT_EQ(messageOf(1284, "glTexImage2D"), "Unknown error 1284 ( 504 ) in 'glTexImage2D'");
    // Above INT_MAX the code must stay unsigned, and hex digits lower-case.
    EXPECT_EQ(messageOf(0xABCDEF10u, ""), "Unknown error 2882400016 ( abcdef10 ) in ''");
}

TEST(GLErrorException, EngineAndShaderExceptionsWrapTheirText)
{
    EXPECT_STREQ(VornE::Exception("FrameBuffer id is 0").what(), "Exception received (FrameBuffer id is 0)");
    const ShaderLoadingException loading("a.vert b.frag Linking");
    EXPECT_STREQ(loading.what(), "Exception received (Fail to create the shader: a.vert b.frag Linking)");
    const VornE::Exception& asEngine = loading;
    EXPECT_STREQ(asEngine.what(), loading.what());
}

TEST(GLErrorException, CopiesKeepTheirOwnTextAfterTheOriginalIsGone)
{
    auto gl = std::make_unique<GLErrorException>(GL_INVALID_VALUE, "glBufferData");
    auto engine = std::make_unique<VornE::Exception>("RenderBuffer id is 0");
    auto loading = std::make_unique<ShaderLoadingException>("v f Linking");
    const GLErrorException glCopy(*gl);
    const VornE::Exception engineCopy(*engine);
    const ShaderLoadingException loadingCopy(*loading);
    gl.reset();
    engine.reset();
    loading.reset();
    EXPECT_STREQ(glCopy.what(), "Invalid value in 'glBufferData'");
    EXPECT_STREQ(engineCopy.what(), "Exception received (RenderBuffer id is 0)");
    EXPECT_STREQ(loadingCopy.what(), "Exception received (Fail to create the shader: v f Linking)");
}

TEST(CheckGLError, ReturnsWhenNoErrorIsPendingAfterAskingOnce)
{
    resetFakeErrors();
    EXPECT_NO_THROW(checkGLError("glBindTexture"));
    EXPECT_EQ(getErrorCalls, 1);
}

TEST(CheckGLError, TwoQueuedErrorsNeedTwoChecks)
{
    resetFakeErrors();
    queuedErrors = {GL_INVALID_OPERATION, GL_INVALID_VALUE};
    try {
        checkGLError("glBindBuffer()");
        FAIL() << "no exception for a pending error";
    } catch (const GLErrorException& error) {
        EXPECT_STREQ(error.what(), "Invalid operation in 'glBindBuffer()'");
    }
    EXPECT_EQ(getErrorCalls, 1);
    ASSERT_EQ(queuedErrors.size(), 1u);

    try {
        checkGLError("glBufferData");
        FAIL() << "the second queued error was lost";
    } catch (const GLErrorException& error) {
        EXPECT_STREQ(error.what(), "Invalid value in 'glBufferData'");
    }
    EXPECT_NO_THROW(checkGLError("glBufferData"));
    EXPECT_EQ(getErrorCalls, 3);
}
