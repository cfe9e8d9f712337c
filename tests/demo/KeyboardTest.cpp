#include "demo/InputList.h"
#include "demo/KeyMasks.h"

#include <SDL_keysym.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// A key array as SDL 1.2 reports it, with the given keys held.
struct Keys {
    std::array<std::uint8_t, SDLK_LAST> bytes {};
    explicit Keys(const std::vector<int>& held)
    {
        for (int key : held)
            bytes[static_cast<size_t>(key)] = 1;
    }
    KeyState state() const { return KeyState { bytes.data(), static_cast<int>(bytes.size()) }; }
};

} // namespace

TEST(KeyMasks, DirectionsKeepOneVerticalAndOneHorizontalBitAndActionsOrTheBitsOfHeldKeys)
{
    struct Case {
        std::vector<int> held;
        int directions, actions;
    };
    const Case cases[] = { { {}, 0, 0 }, { { SDLK_UP }, 1, 0 }, { { SDLK_RIGHT }, 2, 0 }, { { SDLK_DOWN }, 4, 0 },
        { { SDLK_LEFT }, 8, 0 }, { { SDLK_UP, SDLK_DOWN }, 1, 0 }, { { SDLK_LEFT, SDLK_RIGHT }, 8, 0 },
        { { SDLK_UP, SDLK_LEFT, SDLK_RIGHT }, 3, 0 }, { { SDLK_UP, SDLK_LEFT }, 9, 0 },
        { { SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT }, 6, 0 }, { { SDLK_DOWN, SDLK_LEFT }, 12, 0 },
        { { SDLK_q, SDLK_x }, 0, 0x081 }, { { SDLK_KP_MINUS }, 0, 0x200 },
        { { SDLK_q, SDLK_w, SDLK_a, SDLK_s, SDLK_z, SDLK_x, SDLK_KP_PLUS, SDLK_KP_MINUS }, 0, 0x3CF },
        { { SDLK_e, SDLK_SPACE, SDLK_DOWN }, 4, 0 } };
    for (const Case& c : cases) {
        const Keys keys(c.held);
        EXPECT_EQ(KeyMask::directions(keys.state()), c.directions) << testing::PrintToString(c.held);
        EXPECT_EQ(KeyMask::actions(keys.state()), c.actions) << testing::PrintToString(c.held);
    }
}

TEST(KeyMasks, EscapeCountsOnlyAsExactlyOneAndShortArraysAreSafe)
{
    Keys keys({ SDLK_UP });
    keys.bytes[SDLK_ESCAPE] = 2;
    EXPECT_FALSE(KeyMask::escape(keys.state()));
    keys.bytes[SDLK_ESCAPE] = 1;
    EXPECT_TRUE(KeyMask::escape(keys.state()));
    // An array shorter than the arrow keys' symbols, or none at all, reads as nothing held.
    EXPECT_EQ(KeyMask::directions(KeyState { keys.bytes.data(), 100 }), 0);
    EXPECT_EQ(KeyMask::directions(KeyState {}), 0);
    EXPECT_FALSE(KeyMask::escape(KeyState {}));
}

namespace {

// A device that records being asked, updated and destroyed in one shared log; device 1 asks to quit.
struct ScriptedInput : Input {
    ScriptedInput(int id, std::vector<int>& log)
        : id(id)
        , log(log)
    {
    }
    ~ScriptedInput() override { log.push_back(10 * id); }
    int directions() override { return 0; }
    int actions() override { return 0; }
    bool quitRequested() override
    {
        log.push_back(id);
        return id == 1;
    }
    void update() override { log.push_back(-id); }
    int id;
    std::vector<int>& log;
};

} // namespace

TEST(InputList, AsksEveryDeviceInOrderEvenAfterAYesAndDeletesThemAll)
{
    EXPECT_FALSE(InputList().anyQuit());
    std::vector<int> log;
    {
        InputList list;
        for (int id : { 1, 2, 3 })
            list.add(new ScriptedInput(id, log));
        list.updateAll();
        EXPECT_TRUE(list.anyQuit());
    }
    EXPECT_EQ(log, (std::vector<int> { -1, -2, -3, 1, 2, 3, 10, 20, 30 }));
}
