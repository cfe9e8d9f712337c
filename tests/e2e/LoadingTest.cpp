#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

// The GL names in the order the log shows them for `pattern` (one capture).
std::vector<std::string> logged(const std::string& text, const std::string& pattern)
{
    std::vector<std::string> names;
    const std::regex expression(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), expression); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

} // namespace

// Each start-up failure ends with its status and one message naming the
// problem, after tearing down whatever was built; none hangs.
TEST(Loading, StartUpFailureEndsWithItsStatusAndSaysWhy)
{
    std::ifstream wall(std::string(LUMAROLL_SOURCE_DIR) + "/data/textures/wall.png", std::ios::binary);
    std::string wallHead(100, '\0');
    wall.read(wallHead.data(), static_cast<std::streamsize>(wallHead.size()));
    struct Case {
        std::string removed, cutFile, environment;
        int status;
        std::string err; // how standard error starts
    };
    const Case cases[] = {
        // No X server to talk to: a window would have ended it with status 1.
        { "meshes/cube2.obj", "", "DISPLAY=:4242", 0, "Unable to find '\n./data/meshes/cube2.obj\n'\n\n" },
        { "", "", "DISPLAY=:4242", 1, "Unable to open the window: " },
        // Mesa then reports OpenGL 1.0, which GLEW refuses; -1 as an exit status.
        { "", "", "MESA_GL_VERSION_OVERRIDE=1.0", 255, "Glew initialisation failed : '\n" },
        { "textures/wall.png", "data/textures/wall.png", "", 0,
            "Error while loading '\n./data/textures/wall.png\n' : \nthe file is cut short\n\n\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        DemoProcess demo;
        demo.linkData({ c.removed });
        if (!c.cutFile.empty())
            demo.writeFile(c.cutFile, wallHead);
        demo.start({ c.environment });
        const DemoProcess::Result result = demo.finish(30);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.err.substr(0, c.err.size()), c.err);
    }
}

TEST(Loading, MissingTextureEndsWithStatusZeroAfterTheWindowAndFreesLoadedOnesInPathOrder)
{
    DemoProcess demo;
    demo.linkData({ "textures/rect2.png" });
    demo.start();
    const DemoProcess::Result result = demo.finish(30);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "Error while loading '\n./data/textures/rect2.png\n'\n\n");
    EXPECT_NE(result.out.find("Loading of file './data/meshes/cube2.obj' succeed\n"), std::string::npos) << result.out;

    // Loaded before the failure: test, wall, rect1 (and nothing after it).
    // Their GL names show the window and its context were up; the window
    // lives too briefly to be caught by polling the X server. The manager
    // frees them in the byte-wise order of their paths.
    const std::vector<std::string> created = logged(result.out, "GL Texture ID created: (\\d+)\n");
    ASSERT_EQ(created.size(), 3u) << result.out;
    const std::vector<std::string> deleted = logged(result.out, "GL Texture with id: (\\d+) deleted\n");
    const std::vector<std::string> inPathOrder = { created[2], created[0], created[1] };
    EXPECT_EQ(deleted, inPathOrder) << result.out;
}
