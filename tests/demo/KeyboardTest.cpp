#include "demo/KeyMasks.h"
#include "demo/SDL_Keyboard.h"

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

// A tap between two passes is gone from the key state by the next pass; it
// is still in the queue.
TEST(SDL_Keyboard, EscapeHeldOrPressedSinceTheLastPassQuitsAndNothingElseDoes)
{
    static const Keys held({ SDLK_ESCAPE });
    EXPECT_TRUE(SDL_Keyboard([] { return KeyboardPoll { {}, { SDLK_a, SDLK_ESCAPE } }; }).quitRequested());
    EXPECT_TRUE(SDL_Keyboard([] { return KeyboardPoll { held.state(), {} }; }).quitRequested());
    EXPECT_FALSE(SDL_Keyboard([] { return KeyboardPoll {}; }).quitRequested());
}
