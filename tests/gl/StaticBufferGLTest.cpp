#include "gl/GLTestHelpers.h"
#include "gl/StaticBuffer.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

// Each set call unbinds its target, even one bound before. An error seen at
// destruction is logged: thrown from the destructor, it would end the process.
TEST(StaticBuffer, SetCallsLeaveNothingBoundAndAnErrorAtDestructionIsLoggedNotThrown)
{
    const float vertices[4] = {};
    LogCapture capture;
    auto buffer = std::make_unique<StaticBuffer>();
    buffer->bind();
    buffer->setVertexData(sizeof vertices, vertices);
    EXPECT_EQ(glInteger(GL_ARRAY_BUFFER_BINDING), 0);
    buffer->bind();
    buffer->setIndexData(sizeof vertices, vertices);
    EXPECT_EQ(glInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    const GLuint vId = buffer->vId;
    glEnable(0xFFFF);
    buffer.reset();
    EXPECT_FALSE(glIsBuffer(vId));
    EXPECT_EQ(capture.err(), "Invalid enumerator in 'glDeleteBuffersARB'\n");
    EXPECT_NO_GL_ERROR();
}
