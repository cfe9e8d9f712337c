#include "core/RessourceManager.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Adds its name to its loader's list when it is destroyed.
struct RecordedRessource : VornE::Ressource {
    RecordedRessource(std::string name, Names& destroyed)
        : name(std::move(name))
        , destroyed(destroyed)
    {
    }
    ~RecordedRessource() override { destroyed.push_back(name); }
    std::string name;
    Names& destroyed;
};

// Counts its calls; fails every name listed in `failing`.
struct CountingLoader : VornE::RessourceLoader {
    VornE::Ressource* load(const std::string& name) override
    {
        ++calls;
        const bool fails = std::find(failing.begin(), failing.end(), name) != failing.end();
        return fails ? nullptr : new RecordedRessource(name, destroyed);
    }
    int calls = 0;
    Names failing, destroyed;
};

} // namespace

TEST(RessourceManager, SecondLoadOfSameNameCallsNoLoaderAndDestructionDeletesInByteWiseNameOrder)
{
    const std::string wall = "./data/textures/wall.png";
    LogCapture capture;
    CountingLoader first, second;
    {
        RessourceManager manager;
        ASSERT_TRUE(manager.load(first, wall));
        VornE::Ressource* const held = manager.get(wall);
        ASSERT_NE(held, nullptr);
        EXPECT_TRUE(manager.load(first, wall));
        EXPECT_TRUE(manager.load(second, wall));
        EXPECT_EQ(first.calls, 1);
        EXPECT_EQ(second.calls, 0);
        EXPECT_EQ(manager.get(wall), held);
        for (const char* name : { "./data/textures/test.png", "./data/textures/fade.png", "./data/textures/Z.png",
                 "./data/meshes/cube2.obj" })
            ASSERT_TRUE(manager.load(first, name));
        EXPECT_TRUE(first.destroyed.empty());
    }
    EXPECT_EQ(first.destroyed,
        (Names { "./data/meshes/cube2.obj", "./data/textures/Z.png", "./data/textures/fade.png",
            "./data/textures/test.png", wall }));
    EXPECT_EQ(capture.out() + capture.err(), "");
}

TEST(RessourceManager, FailedLoadLeavesNoEntryAndIsRetriedAndGetLogsTheMissingName)
{
    LogCapture capture;
    CountingLoader loader;
    loader.failing = { "./data/meshes/cube2.obj" };
    RessourceManager manager;
    EXPECT_FALSE(manager.load(loader, "./data/meshes/cube2.obj"));
    EXPECT_EQ(capture.err(), ""); // the loader reports its own failures
    EXPECT_EQ(manager.get("./data/meshes/cube2.obj"), nullptr);
    EXPECT_EQ(capture.err(), "Trying to access to a ressource not available './data/meshes/cube2.obj'\n");
    EXPECT_EQ(capture.out(), "");

    loader.failing.clear();
    EXPECT_TRUE(manager.load(loader, "./data/meshes/cube2.obj"));
    EXPECT_EQ(loader.calls, 2);
    EXPECT_NE(manager.get("./data/meshes/cube2.obj"), nullptr);
}
