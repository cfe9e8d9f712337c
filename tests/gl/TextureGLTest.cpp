#include "gl/GLTestHelpers.h"
#include "gl/Texture2D.h"
#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

TEST(Texture, UploadOfRowsNotMultipleOfFourBytesReadsBackUnshifted)
{
    LogCapture capture;
    // Three RGB pixels make 9-byte rows: under the GL's default alignment of 4
    // the second row would be read from byte 12, past the end of this buffer.
    const std::vector<unsigned char> rgb = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18 };
    Texture2D texture(3, Resolution { 3, 2 }, GL_RGB, rgb.data());
    std::vector<unsigned char> back(rgb.size(), 0);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(back, rgb);
    EXPECT_EQ(glInteger(GL_UNPACK_ALIGNMENT), 4); // the caller's setting is back
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_NO_GL_ERROR();
}

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
