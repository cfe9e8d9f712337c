#include "gl/GLTestHelpers.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <string>

TEST(Texture, RejectedSizeThrowsNamingTheUploadAndStillDeletesTheName)
{
    LogCapture capture;
    // Wider than GLsizei holds: it reaches the GL as a negative width.
    EXPECT_EQ(thrownBy([] { Texture2D texture(Resolution { 0x80000000u, 4 }); }), "Invalid value in 'glTexImage2D'");
    const std::string out = capture.out();
    const std::string id = out.substr(23, out.find('\n') - 23);
    EXPECT_EQ(out, "GL Texture ID created: " + id + "\nGL Texture with id: " + id + " deleted\n");
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_NO_GL_ERROR();
}
