#include "demo/KeyMasks.h"

#include <SDL.h>

namespace KeyMask {

int directions(const KeyState& s)
{
    const bool up = s.held(SDLK_UP);
    const bool down = s.held(SDLK_DOWN);
    const bool left = s.held(SDLK_LEFT);
    const bool right = s.held(SDLK_RIGHT);
    if (up)
        return right ? Up | Right : left ? Up | Left : Up;
    if (down)
        return right ? Down | Right : left ? Down | Left : Down;
    if (left)
        return Left;
    return right ? Right : 0;
}

int actions(const KeyState& s)
{
    struct Binding {
        int key;
        int bit;
    };
    static constexpr Binding bindings[] = {
        { SDLK_q, 0x001 },
        { SDLK_w, 0x002 },
        { SDLK_a, 0x004 },
        { SDLK_s, 0x008 },
        { SDLK_z, 0x040 },
        { SDLK_x, 0x080 },
        { SDLK_KP_PLUS, 0x100 },
        { SDLK_KP_MINUS, 0x200 },
    };
    int mask = 0;
    for (const Binding& binding : bindings)
        if (s.held(binding.key))
            mask |= binding.bit;
    return mask;
}

bool escape(const KeyState& s)
{
    return s.byte(SDLK_ESCAPE) == 1;
}

} // namespace KeyMask
