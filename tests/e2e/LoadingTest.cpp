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

TEST(Loading, MissingMeshEndsWithStatusZeroBeforeAnyWindowIsOpened)
{
    DemoProcess demo;
    demo.linkData({ "meshes/cube2.obj" });
    // No X server to talk to: opening a window would end with status 1
    // ("Unable to open the window"), so status 0 shows none was attempted.
    demo.start({ "DISPLAY=:4242" });
    const DemoProcess::Result result = demo.finish(30);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "Unable to find '\n./data/meshes/cube2.obj\n'\n\n");
    EXPECT_EQ(result.out, "");
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

TEST(Loading, TextureCutShortEndsLikeAMissingOneAndSaysWhy)
{
    DemoProcess demo;
    demo.linkData({ "textures/wall.png" });
    std::ifstream wall(std::string(LUMAROLL_SOURCE_DIR) + "/data/textures/wall.png", std::ios::binary);
    std::string head(100, '\0');
    wall.read(head.data(), static_cast<std::streamsize>(head.size()));
    demo.writeFile("data/textures/wall.png", head);
    demo.start();
    const DemoProcess::Result result = demo.finish(30);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "Error while loading '\n./data/textures/wall.png\n' : \nthe file is cut short\n\n\n");
    EXPECT_NE(result.out.find("GL Texture with id: "), std::string::npos) << "test.png, loaded first, is freed";
}
