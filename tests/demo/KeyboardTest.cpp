#include "demo/KeyMasks.h"
#include "demo/SDL_Keyboard.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
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

// At most one vertical and one horizontal bit: up wins over down; right wins
// over left with a vertical key held, left without one. Each action key has a
// bit of its own. Escape counts only as exactly one; an array shorter than the
// arrow keys' symbols, or none at all, reads as nothing held.
TEST(KeyMasks, DirectionsKeepOneKeyOfEachAxisEachActionKeyItsOwnBitAndShortArraysAreSafe)
{
    const struct {
        std::vector<int> held;
        int directions, actions;
    } rows[] = {
        { { SDLK_UP, SDLK_DOWN }, 1, 0 },
        { { SDLK_DOWN }, 4, 0 },
        { { SDLK_UP, SDLK_LEFT, SDLK_RIGHT }, 1 | 2, 0 },
        { { SDLK_UP, SDLK_LEFT }, 1 | 8, 0 },
        { { SDLK_DOWN, SDLK_LEFT }, 4 | 8, 0 },
        { { SDLK_DOWN, SDLK_RIGHT }, 4 | 2, 0 },
        { { SDLK_LEFT, SDLK_RIGHT }, 8, 0 },
        { { SDLK_RIGHT }, 2, 0 },
        { { SDLK_q, SDLK_s }, 0, 0x001 | 0x008 },
        { { SDLK_w, SDLK_a, SDLK_KP_MINUS }, 0, 0x002 | 0x004 | 0x200 },
        { { SDLK_z, SDLK_x, SDLK_KP_PLUS, SDLK_e }, 0, 0x040 | 0x080 | 0x100 },
    };
    for (const auto& row : rows) {
        const Keys keys(row.held);
        EXPECT_EQ(KeyMask::directions(keys.state()), row.directions) << row.held.size() << " held";
        EXPECT_EQ(KeyMask::actions(keys.state()), row.actions) << row.held.size() << " held";
    }
    Keys keys({ SDLK_UP });
    keys.bytes[SDLK_ESCAPE] = 2;
    EXPECT_FALSE(KeyMask::escape(keys.state()));
    keys.bytes[SDLK_ESCAPE] = 1;
    EXPECT_TRUE(KeyMask::escape(keys.state()));
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

// SDL's own queue, on its dummy video driver: every event queued between two
// passes is read at the next one, the presses kept in order among motion and
// releases nobody wants, and an exposure noted; the pass after finds none.
TEST(SDL_Keyboard, EveryEventQueuedBetweenTwoPassesIsReadAtTheNext)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Keyboard keyboard;
    const auto push = [](Uint8 type, SDLKey key = SDLK_UNKNOWN) {
        SDL_Event event {};
        event.type = type;
        event.key.keysym.sym = key;
        return SDL_PushEvent(&event) == 0;
    };
    for (int motion = 0; motion < 40; ++motion)
        ASSERT_TRUE(push(SDL_MOUSEMOTION));
    ASSERT_TRUE(push(SDL_KEYDOWN, SDLK_LEFT));
    ASSERT_TRUE(push(SDL_KEYUP, SDLK_LEFT));
    ASSERT_TRUE(push(SDL_VIDEOEXPOSE));
    ASSERT_TRUE(push(SDL_KEYDOWN, SDLK_SPACE));
    ASSERT_TRUE(push(SDL_KEYDOWN, SDLK_ESCAPE));
    keyboard.update();
    EXPECT_EQ(keyboard.pressed(), (std::vector<int> { SDLK_LEFT, SDLK_SPACE, SDLK_ESCAPE }));
    EXPECT_TRUE(keyboard.exposed());
    EXPECT_TRUE(keyboard.quitRequested());
    keyboard.update();
    EXPECT_TRUE(keyboard.pressed().empty());
    EXPECT_FALSE(keyboard.exposed());
    EXPECT_FALSE(keyboard.quitRequested());
    SDL_Quit();
}
