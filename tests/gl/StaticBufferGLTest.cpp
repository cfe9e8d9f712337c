#include "gl/GLErrorException.h"
#include "gl/StaticBuffer.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <type_traits>

static_assert(!std::is_copy_constructible_v<StaticBuffer>);
static_assert(!std::is_copy_assignable_v<StaticBuffer>);

namespace {

GLint integer(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

const std::array<GLfloat, 6> vertices = {0.0f, 1.0f, 2.0f, 3.5f, -4.0f, 5.25f};
const std::array<GLushort, 3> indices = {2, 0, 1};

} // namespace

TEST(StaticBuffer, ConstructionPrintsOneLineWithBothNames)
{
    LogCapture capture;
    StaticBuffer buffer;
    EXPECT_NE(buffer.vId, buffer.iId);
    EXPECT_EQ(capture.out(),
        "StaticBuffer (vId: " + std::to_string(buffer.vId) + " ; iId: " + std::to_string(buffer.iId) + ")\n");
    EXPECT_EQ(capture.err(), "");
    EXPECT_NO_GL_ERROR();
}

TEST(StaticBuffer, DataReadsBackAndSetCallsLeaveBothTargetsUnbound)
{
    LogCapture capture;
    StaticBuffer buffer;
    buffer.setVertexData(sizeof(vertices), vertices.data());
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);
    buffer.setIndexData(sizeof(indices), indices.data());
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);

    buffer.bind();
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer.vId));
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer.iId));
    std::array<GLfloat, 6> vertexCopy = {};
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertexCopy), vertexCopy.data());
    std::array<GLushort, 3> indexCopy = {};
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof(indexCopy), indexCopy.data());
    GLint usage = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    StaticBuffer::unbind();

    EXPECT_EQ(vertexCopy, vertices);
    EXPECT_EQ(indexCopy, indices);
    EXPECT_EQ(usage, GL_STATIC_DRAW);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    EXPECT_NO_GL_ERROR();
}

TEST(StaticBuffer, SetCallsUnbindTheirTargetEvenWhenABindWasActive)
{
    LogCapture capture;
    StaticBuffer buffer;
    buffer.bind();
    buffer.setIndexData(sizeof(indices), indices.data());
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer.vId));

    buffer.bind();
    buffer.setVertexData(sizeof(vertices), vertices.data());
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer.iId));
    StaticBuffer::unbind();
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    EXPECT_NO_GL_ERROR();
}

TEST(StaticBuffer, RejectedSizeThrowsNamingGlBufferData)
{
    LogCapture capture;
    StaticBuffer buffer;
    try {
        buffer.setVertexData(-1, nullptr);
        FAIL() << "a negative size was accepted";
    } catch (const GLErrorException& error) {
        EXPECT_STREQ(error.what(), "Invalid value in 'glBufferData'");
    }
    StaticBuffer::unbind(); // the failed call stops before its own unbind
    EXPECT_NO_GL_ERROR();
}

TEST(StaticBuffer, DestructionDeletesBothNamesAndPrintsNothing)
{
    LogCapture capture;
    auto buffer = std::make_unique<StaticBuffer>();
    buffer->setVertexData(sizeof(vertices), vertices.data());
    buffer->setIndexData(sizeof(indices), indices.data());
    const GLuint vId = buffer->vId;
    const GLuint iId = buffer->iId;
    ASSERT_TRUE(glIsBuffer(vId));
    ASSERT_TRUE(glIsBuffer(iId));
    capture.clear();
    buffer.reset();
    EXPECT_FALSE(glIsBuffer(vId));
    EXPECT_FALSE(glIsBuffer(iId));
    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(capture.err(), "");
    EXPECT_NO_GL_ERROR();
}

// An error pending at destruction would have ended the process had the
// destructor thrown; it is reported on the error log instead.
TEST(StaticBuffer, ErrorSeenAtDestructionIsLoggedNotThrown)
{
    LogCapture capture;
    auto buffer = std::make_unique<StaticBuffer>();
    glEnable(0xFFFF);
    buffer.reset();
    EXPECT_EQ(capture.err(), "Invalid enumerator in 'glDeleteBuffersARB'\n");
    EXPECT_NO_GL_ERROR();
}
