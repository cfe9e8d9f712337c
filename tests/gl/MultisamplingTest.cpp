#include "gl/Multisampling.h"

#include <gtest/gtest.h>

#include <sstream>

// By default the renderer decides: none where the GL draws on the processor
// or a browser hides its name, 4 on a graphics card within what it offers.
// What was asked and cannot be given is said in one line.
TEST(Multisampling, TheRendererDecidesByDefaultAndWhatTheGLCannotGiveIsSaid)
{
    const std::string none = "";
    const std::string lacking = "lumaroll: this GL cannot draw smooth edges (it lacks GL_EXT_framebuffer_multisample "
                                "or GL_EXT_framebuffer_blit): drawing without them\n";
    const struct {
        int asked;
        const char* renderer;
        bool offered;
        int maxSamples;
        int samples;
        std::string line;
    } cases[] = {
        { -1, "llvmpipe (LLVM 15.0.6, 256 bits)", true, 4, 0, none },
        { -1, "softpipe", true, 4, 0, none },
        { -1, "ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero)), SwiftShader driver)", true, 4, 0, none },
        { -1, "", true, 8, 0, none },
        { -1, "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)", true, 8, 4, none },
        { -1, "NVIDIA GeForce GT 710/PCIe/SSE2", true, 2, 2, none },
        { -1, "Mesa Intel(R) HD Graphics 3000 (SNB GT2)", false, 0, 0, lacking },
        { 0, "AMD Radeon RX 6600", false, 0, 0, none },
        { 2, "llvmpipe (LLVM 15.0.6, 256 bits)", true, 4, 2, none },
        { 16, "llvmpipe (LLVM 15.0.6, 256 bits)", true, 4, 4,
            "lumaroll: msaa 16 is more than this GL's 4 samples a pixel: drawing with 4\n" },
        { 4, "", true, 0, 0, lacking },
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::to_string(row.asked) + " on '" + row.renderer + "'");
        std::ostringstream said;
        EXPECT_EQ(Multisampling::chosen(row.asked, row.renderer, row.offered, row.maxSamples, said), row.samples);
        EXPECT_EQ(said.str(), row.line);
    }
}
