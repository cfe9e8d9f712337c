#include "engine/RessourceManager.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible_v<RessourceManager> && !std::is_copy_assignable_v<RessourceManager>);

namespace {

// Appends its name to a shared list when it is destroyed.
class RecordedRessource : public VornE::Ressource {
public:
    RecordedRessource(std::string name, std::vector<std::string>& destroyed)
        : name(std::move(name))
        , destroyed(destroyed)
    {
    }
    ~RecordedRessource() override { destroyed.push_back(name); }

private:
    std::string name;
    std::vector<std::string>& destroyed;
};

// Counts its calls; fails every name listed in `failing`.
class CountingLoader : public VornE::RessourceLoader {
public:
    VornE::Ressource* load(const std::string& name) override
    {
        ++calls;
        if (std::find(failing.begin(), failing.end(), name) != failing.end())
            return nullptr;
        return new RecordedRessource(name, destroyed);
    }

    int calls = 0;
    std::vector<std::string> failing;
    std::vector<std::string> destroyed;
};

const std::string wall = "./data/textures/wall.png";

} // namespace

TEST(RessourceManager, SecondLoadOfSameNameDoesNotCallAnyLoaderAndKeepsTheFirstRessource)
{
    LogCapture capture;
    CountingLoader first;
    CountingLoader second;
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
        // No normalisation: another spelling of the same file is another name.
        EXPECT_TRUE(manager.load(first, "data/textures/wall.png"));
        EXPECT_EQ(first.calls, 2);
        EXPECT_NE(manager.get("data/textures/wall.png"), held);
        EXPECT_TRUE(first.destroyed.empty());
    }
    EXPECT_EQ(first.destroyed.size(), 2u);
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
    EXPECT_EQ(capture.err(), "Trying to access to a ressource not available '\n./data/meshes/cube2.obj\n'\n\n");
    EXPECT_EQ(capture.out(), "");

    loader.failing.clear();
    EXPECT_TRUE(manager.load(loader, "./data/meshes/cube2.obj"));
    EXPECT_EQ(loader.calls, 2);
    EXPECT_NE(manager.get("./data/meshes/cube2.obj"), nullptr);
}

TEST(RessourceManager, DestructionDeletesInByteWiseOrderOfNamesNotLoadOrder)
{
    CountingLoader loader;
    {
        RessourceManager manager;
        for (const char* name : { "./data/textures/wall.png", "./data/textures/test.png", "./data/textures/fade.png",
                 "./data/textures/Z.png", "./data/meshes/cube2.obj" })
            ASSERT_TRUE(manager.load(loader, name));
    }
    EXPECT_EQ(loader.destroyed,
        (std::vector<std::string> { "./data/meshes/cube2.obj", "./data/textures/Z.png", "./data/textures/fade.png",
            "./data/textures/test.png", "./data/textures/wall.png" }));
}
