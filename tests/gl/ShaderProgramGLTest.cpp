#include "engine/Logger.h"
#include "gl/GLErrorException.h"
#include "gl/ShaderLoadingException.h"
#include "gl/ShaderProgram.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <type_traits>

static_assert(!std::is_copy_constructible_v<ShaderProgram>);
static_assert(!std::is_copy_assignable_v<ShaderProgram>);
static_assert(!std::is_copy_constructible_v<Shader>);

namespace {

const std::string goodVert = "tests/gl/shaders/good.vert";
const std::string goodFrag = "tests/gl/shaders/good.frag";
const std::string brokenVert = "tests/gl/shaders/broken.vert";
const std::string mismatchVert = "tests/gl/shaders/mismatch.vert";
const std::string mismatchFrag = "tests/gl/shaders/mismatch.frag";
const std::string missingVert = "tests/gl/shaders/missing.vert";

// Standard error into the same capture as standard output, so the order of
// Error lines against Info and Warning lines shows.
class MergedLog {
public:
    MergedLog() { std::cerr.rdbuf(std::cout.rdbuf()); }
    std::string text() const { return capture.out(); }
    void clear() { capture.clear(); }

private:
    LogCapture capture; // restores both streams when it goes
};

// Live program and shader names below a bound well above what the tests use.
int liveProgramsAndShaders()
{
    int live = 0;
    for (GLuint name = 1; name < 4096; ++name)
        live += (glIsProgram(name) ? 1 : 0) + (glIsShader(name) ? 1 : 0);
    return live;
}

GLint integer(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

// The shader is expected to fail to link; returns what() of the exception.
std::string linkFailure(const std::string& vertexPath, const std::string& fragmentPath)
{
    try {
        ShaderProgram program(vertexPath, fragmentPath);
    } catch (const ShaderLoadingException& error) {
        return error.what();
    }
    return "no ShaderLoadingException";
}

} // namespace

TEST(ShaderProgram, GoodPairLogsExactlyTheTwoCompilationLines)
{
    LogCapture capture;
    ShaderProgram program(goodVert, goodFrag);
    EXPECT_EQ(capture.out(), "Vertex shader compilation 'tests/gl/shaders/good.vert'\n"
                             "Fragment shader compilation 'tests/gl/shaders/good.frag'\n");
    EXPECT_EQ(capture.err(), "");
    EXPECT_EQ(program.vertex.path, goodVert);
    EXPECT_EQ(program.fragment.path, goodFrag);
    GLint linked = GL_FALSE;
    glGetProgramiv(program.programId, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, MissingFileIsLoggedThenTheLinkThrowsNamingBothPaths)
{
    MergedLog log;
    const std::string what = linkFailure(missingVert, goodFrag);
    EXPECT_EQ(what, "Exception received (Fail to create the shader: tests/gl/shaders/missing.vert "
                    "tests/gl/shaders/good.frag Linking)");
    const std::string expectedStart = "Fail to open '\ntests/gl/shaders/missing.vert\n'\n\n"
                                      "Vertex shader compilation 'tests/gl/shaders/missing.vert'\n";
    EXPECT_EQ(log.text().substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(log.text().find("Fragment shader compilation 'tests/gl/shaders/good.frag'\n"
                              "Erreur lors du liage du shader:\n"),
        std::string::npos)
        << log.text();
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, CompileFailureLogsInfoLogAndFailedButOnlyTheLinkThrows)
{
    MergedLog log;
    const std::string what = linkFailure(brokenVert, goodFrag);
    EXPECT_EQ(what, "Exception received (Fail to create the shader: tests/gl/shaders/broken.vert "
                    "tests/gl/shaders/good.frag Linking)");

    const std::string text = log.text();
    const std::string compileLine = "Vertex shader compilation 'tests/gl/shaders/broken.vert'\n";
    ASSERT_EQ(text.substr(0, compileLine.size()), compileLine) << text;
    // The compiler's own words sit between the compilation line and "Failed".
    const std::string afterLog = "\nFailed\nFragment shader compilation 'tests/gl/shaders/good.frag'\n"
                                 "Erreur lors du liage du shader:\n";
    const std::size_t failed = text.find(afterLog);
    ASSERT_NE(failed, std::string::npos) << text;
    const std::string infoLog = text.substr(compileLine.size(), failed - compileLine.size());
    EXPECT_NE(infoLog.find("error"), std::string::npos) << infoLog;
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, LinkFailureOfCompilingPairLogsTheLinkerInFrenchAndThrows)
{
    LogCapture capture;
    const std::string what = linkFailure(mismatchVert, mismatchFrag);
    EXPECT_EQ(what, "Exception received (Fail to create the shader: tests/gl/shaders/mismatch.vert "
                    "tests/gl/shaders/mismatch.frag Linking)");
    const std::string head = "Vertex shader compilation 'tests/gl/shaders/mismatch.vert'\n"
                             "Fragment shader compilation 'tests/gl/shaders/mismatch.frag'\n"
                             "Erreur lors du liage du shader:\n";
    ASSERT_EQ(capture.out().substr(0, head.size()), head);
    EXPECT_NE(capture.out().find("shade", head.size()), std::string::npos) << capture.out();
    EXPECT_EQ(capture.err(), "");
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, FailedLinkLeavesNoProgramOrShaderBehind)
{
    LogCapture capture;
    const int before = liveProgramsAndShaders();
    linkFailure(mismatchVert, mismatchFrag);
    linkFailure(missingVert, goodFrag);
    EXPECT_EQ(liveProgramsAndShaders(), before);
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, DestructionUnusesThenDeletesTheProgramAndBothShaders)
{
    LogCapture capture;
    auto program = std::make_unique<ShaderProgram>(goodVert, goodFrag);
    const GLuint programId = program->programId;
    const GLuint vertexId = program->vertex.id;
    const GLuint fragmentId = program->fragment.id;
    program->use();
    ASSERT_EQ(integer(GL_CURRENT_PROGRAM), static_cast<GLint>(programId));

    program.reset();
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    // A program still in use would only be flagged for deletion and stay a program.
    EXPECT_FALSE(glIsProgram(programId));
    EXPECT_FALSE(glIsShader(vertexId));
    EXPECT_FALSE(glIsShader(fragmentId));
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, UseAndStaticUnuseSwitchTheCurrentProgram)
{
    LogCapture capture;
    ShaderProgram program(goodVert, goodFrag);
    program.use();
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), static_cast<GLint>(program.programId));
    ShaderProgram::unuse();
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, LookupsFindActiveNamesAndWarnWithMinusOneForOthers)
{
    LogCapture capture;
    ShaderProgram program(goodVert, goodFrag);
    capture.clear();

    EXPECT_GE(program.getAttribLocation("position"), 0);
    EXPECT_GE(program.getUniformLocation("colour"), 0);
    EXPECT_EQ(capture.out(), "");

    EXPECT_EQ(program.getAttribLocation("normal"), -1);
    EXPECT_EQ(capture.out(), "Fail to get 'normal'\n");
    capture.clear();
    EXPECT_EQ(program.getUniformLocation("fade"), -1);
    EXPECT_EQ(capture.out(), "Fail to get 'fade'\n");
    EXPECT_EQ(capture.err(), "");
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, SettersOnMissingUniformsWarnTwiceReturnFalseAndThrowNothing)
{
    LogCapture capture;
    ShaderProgram program(goodVert, goodFrag);
    program.use();
    capture.clear();

    EXPECT_FALSE(program.setMatrix("unused", glm::mat4(1.0f))); // optimised away by the linker
    EXPECT_EQ(capture.out(), "Fail to get 'unused'\nmatrix 'unused' not found\n");
    capture.clear();
    EXPECT_FALSE(program.setVector4("tint", glm::vec4(1.0f)));
    EXPECT_EQ(capture.out(), "Fail to get 'tint'\nvector(4) 'tint' not found\n");
    EXPECT_EQ(capture.err(), "");
    ShaderProgram::unuse();
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, SettersStoreVectorColumnMajorMatrixAndSamplerUnit)
{
    LogCapture capture;
    ShaderProgram program(goodVert, goodFrag);
    Texture2D texture(Resolution{2, 2});
    program.use();

    const glm::vec4 colour(0.25f, 0.5f, 0.75f, 1.0f);
    EXPECT_TRUE(program.setVector4("colour", colour));
    const glm::mat4 mvp = glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_TRUE(program.setMatrix("mvpMatrix", mvp));
    EXPECT_TRUE(program.setTexture2D("image", texture, 0));

    GLfloat vector[4] = {};
    glGetUniformfv(program.programId, program.getUniformLocation("colour"), vector);
    EXPECT_EQ(glm::make_vec4(vector), colour);
    GLfloat matrix[16] = {};
    glGetUniformfv(program.programId, program.getUniformLocation("mvpMatrix"), matrix);
    // Column-major: the translation is in elements 12 to 14.
    EXPECT_FLOAT_EQ(matrix[12], 1.0f);
    EXPECT_FLOAT_EQ(matrix[13], 2.0f);
    EXPECT_FLOAT_EQ(matrix[14], 3.0f);
    EXPECT_EQ(glm::make_mat4(matrix), mvp);
    GLint unit = -1;
    glGetUniformiv(program.programId, program.getUniformLocation("image"), &unit);
    EXPECT_EQ(unit, 0);

    ShaderProgram::unsetTexture2D(texture, 0);
    ShaderProgram::unuse();
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(capture.out().find("Fail"), std::string::npos) << capture.out();
    EXPECT_NO_GL_ERROR();
}

TEST(ShaderProgram, SetTexture2DWithMissingUniformStillLeavesTheTextureBoundOnItsUnit)
{
    LogCapture capture;
    ShaderProgram program(goodVert, goodFrag);
    Texture2D texture(Resolution{4, 4});
    program.use();
    capture.clear();

    EXPECT_FALSE(program.setTexture2D("normalMap", texture, 1));
    EXPECT_EQ(capture.out(), "Fail to get 'normalMap'\ntexture 2D 'normalMap' not found\n");
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture.id));

    ShaderProgram::unsetTexture2D(texture, 1);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    glActiveTexture(GL_TEXTURE0);
    ShaderProgram::unuse();
    EXPECT_NO_GL_ERROR();
}
