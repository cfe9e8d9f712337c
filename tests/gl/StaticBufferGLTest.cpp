#include "gl/GLTestHelpers.h"
#include "gl/StaticBuffer.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>


TEST(StaticBuffer, PrintsOneLineWithBothNamesAndSetCallsLeaveNothingBound)
{
    const std::array<GLfloat, 6> vertices = { 0.0f, 1.0f, 2.0f, 3.5f, -4.0f, 5.25f };
    const std::array<GLushort, 3> indices = { 2, 0, 1 };
    LogCapture capture;
    auto buffer = std::make_unique<StaticBuffer>();
    const GLuint vId = buffer->vId;
    const GLuint iId = buffer->iId;
    EXPECT_EQ(capture.out(), "StaticBuffer (vId: " + std::to_string(vId) + " ; iId: " + std::to_string(iId) + ")\n");
    // Each set call unbinds its target, even one bound before.
    buffer->bind();
    buffer->setVertexData(sizeof(vertices), vertices.data());
    EXPECT_EQ(glInteger(GL_ARRAY_BUFFER_BINDING), 0);
    buffer->bind();
    buffer->setIndexData(sizeof(indices), indices.data());
    EXPECT_EQ(glInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);

    buffer->bind();
    EXPECT_EQ(glInteger(GL_ARRAY_BUFFER_BINDING), glName(vId));
    EXPECT_EQ(glInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING), glName(iId));
    StaticBuffer::unbind(); // needs no object
    EXPECT_EQ(glInteger(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(glInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    capture.clear();
    buffer.reset();
    EXPECT_FALSE(glIsBuffer(vId));
    EXPECT_FALSE(glIsBuffer(iId));
    EXPECT_EQ(capture.out() + capture.err(), ""); // destruction prints nothing
    EXPECT_NO_GL_ERROR();
}

// Thrown from the destructor, the error would end the process.
TEST(StaticBuffer, ErrorSeenAtDestructionIsLoggedNotThrown)
{
    LogCapture capture;
    auto buffer = std::make_unique<StaticBuffer>();
    glEnable(0xFFFF);
    buffer.reset();
    EXPECT_EQ(capture.err(), "Invalid enumerator in 'glDeleteBuffersARB'\n");
    EXPECT_NO_GL_ERROR();
}
