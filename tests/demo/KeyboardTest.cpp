#include "demo/InputList.h"
#include "demo/KeyMasks.h"
#include "demo/SDL_Keyboard.h"

#include <SDL_keysym.h>
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

namespace {

// A key array as SDL 1.2 reports it, with the given keys held.
struct Keys {
    std::array<std::uint8_t, SDLK_LAST> bytes{};
    Keys(std::initializer_list<int> held)
    {
        for (int key : held)
            bytes[static_cast<size_t>(key)] = 1;
    }
    KeyState state() const { return KeyState{bytes.data(), static_cast<int>(bytes.size())}; }
};

int directions(std::initializer_list<int> held)
{
    return KeyMask::directions(Keys(held).state());
}

int actions(std::initializer_list<int> held)
{
    return KeyMask::actions(Keys(held).state());
}

} // namespace

TEST(KeyMasks, DirectionsKeepOneVerticalAndOneHorizontalBit)
{
    EXPECT_EQ(directions({}), 0);
    EXPECT_EQ(directions({SDLK_UP}), 1);
    EXPECT_EQ(directions({SDLK_RIGHT}), 2);
    EXPECT_EQ(directions({SDLK_DOWN}), 4);
    EXPECT_EQ(directions({SDLK_LEFT}), 8);
    EXPECT_EQ(directions({SDLK_UP, SDLK_DOWN}), 1);
    EXPECT_EQ(directions({SDLK_LEFT, SDLK_RIGHT}), 8);
    EXPECT_EQ(directions({SDLK_UP, SDLK_LEFT, SDLK_RIGHT}), 3);
    EXPECT_EQ(directions({SDLK_UP, SDLK_LEFT}), 9);
    EXPECT_EQ(directions({SDLK_DOWN, SDLK_RIGHT}), 6);
    EXPECT_EQ(directions({SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT}), 6);
    EXPECT_EQ(directions({SDLK_DOWN, SDLK_LEFT}), 12);
}

TEST(KeyMasks, ActionsOrTheBitsOfHeldKeys)
{
    EXPECT_EQ(actions({SDLK_q, SDLK_x}), 0x081);
    EXPECT_EQ(actions({SDLK_KP_MINUS}), 0x200);
    EXPECT_EQ(actions({SDLK_q, SDLK_w, SDLK_a, SDLK_s, SDLK_z, SDLK_x, SDLK_KP_PLUS, SDLK_KP_MINUS}), 0x3CF);
    EXPECT_EQ(actions({SDLK_e, SDLK_SPACE, SDLK_UP}), 0);
}

TEST(KeyMasks, EscapeCountsOnlyAsExactlyOneAndShortArraysAreSafe)
{
    Keys keys({});
    keys.bytes[SDLK_ESCAPE] = 2;
    EXPECT_FALSE(KeyMask::escape(keys.state()));
    keys.bytes[SDLK_ESCAPE] = 1;
    EXPECT_TRUE(KeyMask::escape(keys.state()));
    // An array shorter than the arrow keys' symbols, or none at all, reads as nothing held.
    const KeyState shortState{keys.bytes.data(), 100};
    EXPECT_EQ(KeyMask::directions(shortState), 0);
    EXPECT_EQ(KeyMask::directions(KeyState{}), 0);
    EXPECT_FALSE(KeyMask::escape(KeyState{}));
}

namespace {

Keys* fakeKeys = nullptr;
int polls = 0;
KeyState pollFake()
{
    ++polls;
    return fakeKeys->state();
}

// A device that records being asked.
class ScriptedInput : public Input {
public:
    ScriptedInput(bool quit, std::vector<int>& log, int id, int& destroyed)
        : quit(quit), log(log), id(id), destroyed(destroyed) {}
    ~ScriptedInput() override { destroyed = destroyed * 10 + id; }
    int directions() override { return 0; }
    int actions() override { return 0; }
    bool quitRequested() override
    {
        log.push_back(id);
        return quit;
    }
    void update() override { log.push_back(-id); }
    bool quit;
    std::vector<int>& log;
    int id;
    int& destroyed;
};

} // namespace

TEST(SDL_Keyboard, PollsAtConstructionAndOnEveryUpdate)
{
    Keys keys({SDLK_UP, SDLK_q});
    fakeKeys = &keys;
    polls = 0;
    SDL_Keyboard keyboard(pollFake);
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(keyboard.directions(), 1);
    EXPECT_EQ(keyboard.actions(), 1);
    EXPECT_FALSE(keyboard.quitRequested());
    keys.bytes[SDLK_ESCAPE] = 1;
    keyboard.update();
    EXPECT_EQ(polls, 2);
    EXPECT_TRUE(keyboard.quitRequested());
}

TEST(InputList, AsksEveryDeviceInOrderAndDeletesThemAll)
{
    std::vector<int> log;
    int destroyed = 0;
    {
        InputList empty;
        EXPECT_FALSE(empty.anyQuit());
    }
    {
        InputList list;
        list.add(new ScriptedInput(true, log, 1, destroyed));
        list.add(new ScriptedInput(false, log, 2, destroyed));
        list.add(new ScriptedInput(false, log, 3, destroyed));
        list.updateAll();
        EXPECT_TRUE(list.anyQuit());
        EXPECT_EQ(log, (std::vector<int>{-1, -2, -3, 1, 2, 3}));
    }
    EXPECT_EQ(destroyed, 123);
}
