#include "engine/RessourceManager.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible_v<RessourceManager>);
static_assert(!std::is_copy_assignable_v<RessourceManager>);

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

    const std::string name;

private:
    std::vector<std::string>& destroyed;
};

// Counts its calls; fails every name listed in `failing`.
class CountingLoader : public VornE::RessourceLoader {
public:
    explicit CountingLoader(std::vector<std::string>& destroyed)
        : destroyed(destroyed)
    {
    }
    VornE::Ressource* load(const std::string& name) override
    {
        ++calls;
        for (const std::string& failure : failing) {
            if (failure == name)
                return nullptr;
        }
        return new RecordedRessource(name, destroyed);
    }

    int calls = 0;
    std::vector<std::string> failing;

private:
    std::vector<std::string>& destroyed;
};

} // namespace

TEST(RessourceManager, SecondLoadOfSameNameDoesNotCallAnyLoaderAndKeepsTheFirstRessource)
{
    LogCapture capture;
    std::vector<std::string> destroyed;
    CountingLoader first(destroyed);
    CountingLoader second(destroyed);
    {
        RessourceManager manager;
        ASSERT_TRUE(manager.load(first, "./data/textures/wall.png"));
        VornE::Ressource* const held = manager.get("./data/textures/wall.png");
        ASSERT_NE(held, nullptr);
        EXPECT_TRUE(manager.load(first, "./data/textures/wall.png"));
        EXPECT_TRUE(manager.load(second, "./data/textures/wall.png"));
        EXPECT_EQ(first.calls, 1);
        EXPECT_EQ(second.calls, 0);
        EXPECT_EQ(manager.get("./data/textures/wall.png"), held);
        // No normalisation: another spelling of the same file is another name.
        EXPECT_TRUE(manager.load(first, "data/textures/wall.png"));
        EXPECT_EQ(first.calls, 2);
        EXPECT_NE(manager.get("data/textures/wall.png"), held);
        EXPECT_TRUE(destroyed.empty());
    }
    EXPECT_EQ(destroyed.size(), 2u);
    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(capture.err(), "");
}

TEST(RessourceManager, FailedLoadLeavesNoEntryAndIsRetriedAndGetLogsTheMissingName)
{
    LogCapture capture;
    std::vector<std::string> destroyed;
    CountingLoader loader(destroyed);
    loader.failing = { "./data/meshes/cube2.obj" };
    RessourceManager manager;
    EXPECT_FALSE(manager.load(loader, "./data/meshes/cube2.obj"));
    EXPECT_EQ(capture.err(), ""); // the loader reports its own failures
    EXPECT_EQ(manager.get("./data/meshes/cube2.obj"), nullptr);
    EXPECT_EQ(capture.err(), "Trying to access to a ressource not available '\n./data/meshes/cube2.obj\n'\n\n");
    EXPECT_EQ(capture.out(), "");

    // A failure is not remembered: the next load asks the loader again.
    loader.failing.clear();
    EXPECT_TRUE(manager.load(loader, "./data/meshes/cube2.obj"));
    EXPECT_EQ(loader.calls, 2);
    EXPECT_NE(manager.get("./data/meshes/cube2.obj"), nullptr);
}

TEST(RessourceManager, DestructionDeletesInByteWiseOrderOfNamesNotLoadOrder)
{
    std::vector<std::string> destroyed;
    CountingLoader loader(destroyed);
    {
        RessourceManager manager;
        for (const char* name : { "./data/textures/wall.png", "./data/textures/test.png", "./data/textures/fade.png",
                 "./data/textures/Z.png", "./data/meshes/cube2.obj" })
            ASSERT_TRUE(manager.load(loader, name));
    }
    const std::vector<std::string> expected = { "./data/meshes/cube2.obj", "./data/textures/Z.png",
        "./data/textures/fade.png", "./data/textures/test.png", "./data/textures/wall.png" };
    EXPECT_EQ(destroyed, expected);
}

TEST(RessourceManager, EmptyManagerIsDestroyedSilently)
{
    LogCapture capture;
    {
        RessourceManager manager;
    }
    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(capture.err(), "");
}
