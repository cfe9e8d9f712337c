#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// Each start-up failure ends with its status and one message naming the
// problem, after tearing down whatever was built; none hangs.
TEST(Loading, StartUpFailureEndsWithItsStatusAndSaysWhy)
{
    std::ifstream wall(std::string(LUMAROLL_SOURCE_DIR) + "/data/textures/wall.png", std::ios::binary);
    std::string wallHead(100, '\0');
    wall.read(wallHead.data(), static_cast<std::streamsize>(wallHead.size()));
    struct Case {
        std::string removed;
        std::string brokenFile; // written with the first 100 bytes of wall.png
        std::string environment;
        int status;
        std::string err; // how standard error starts
    };
    const Case cases[] = {
        // No X server to talk to: a window would have ended it with status 1.
        { "meshes/cube2.obj", "", "DISPLAY=:4242", 0, "Unable to find '\n./data/meshes/cube2.obj\n'\n\n" },
        { "", "", "DISPLAY=:4242", 1, "Unable to open the window: " },
        // Mesa then reports OpenGL 1.0, which GLEW refuses; -1 as an exit status.
        { "", "", "MESA_GL_VERSION_OVERRIDE=1.0", 255, "Glew initialisation failed : '\n" },
        // After the window opened, at the fourth of the six textures.
        { "textures/rect2.png", "", "", 0, "Error while loading '\n./data/textures/rect2.png\n'\n\n" },
        // The music's own reason, then the demo's line.
        { "music/vobra.ogg", "", "", 0, "Couldn't open 'data/music/vobra.ogg'\n\n\nMusic not found\n\n" },
        { "music/vobra.ogg", "data/music/vobra.ogg", "", 0,
            "Not an Ogg Vorbis audio stream\n\n\nMusic not found\n\n" },
        { "textures/wall.png", "data/textures/wall.png", "", 0,
            "Error while loading '\n./data/textures/wall.png\n' : \nthe file is cut short\n\n\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        DemoProcess demo;
        demo.linkData({ c.removed });
        if (!c.brokenFile.empty())
            demo.writeFile(c.brokenFile, wallHead);
        demo.start({ c.environment });
        const DemoProcess::Result result = demo.finish(30);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.err.substr(0, c.err.size()), c.err);
    }
}
