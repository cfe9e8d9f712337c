#include "core/RessourceManager.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

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

// A failed load leaves no entry, so the next load of the name tries again;
// a name held is never loaded again, by any loader.
TEST(RessourceManager, LoadsANameOnceRetriesAFailureAndDeletesInByteWiseNameOrder)
{
    const std::string wall = "./data/textures/wall.png", cube = "./data/meshes/cube2.obj";
    LogCapture capture;
    CountingLoader first, second;
    first.failing = { cube };
    {
        RessourceManager manager;
        EXPECT_FALSE(manager.load(first, cube));
        EXPECT_EQ(capture.err(), ""); // the loader reports its own failures
        EXPECT_EQ(manager.get(cube), nullptr);
        EXPECT_EQ(capture.err(), "Trying to access to a ressource not available '" + cube + "'\n");
        capture.clear();
        first.failing.clear();
        for (const char* name : { "./data/meshes/cube2.obj", "./data/textures/wall.png", "./data/textures/Z.png",
                 "./data/textures/fade.png", "./data/textures/wall.png" })
            ASSERT_TRUE(manager.load(first, name));
        EXPECT_TRUE(manager.load(second, wall));
        EXPECT_EQ(first.calls, 5);
        EXPECT_EQ(second.calls, 0);
        EXPECT_NE(manager.get(cube), nullptr);
        EXPECT_TRUE(first.destroyed.empty());
    }
    EXPECT_EQ(first.destroyed, (Names { cube, "./data/textures/Z.png", "./data/textures/fade.png", wall }));
    EXPECT_EQ(capture.out() + capture.err(), "");
}
