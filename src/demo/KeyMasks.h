#pragma once

#include <cstdint>

// A snapshot of key states, indexed by SDL 1.2 key symbol (SDLK_*), one byte
// per key, non-zero while held. Keys past `count` read as not held.
struct KeyState {
    const std::uint8_t* keys = nullptr;
    int count = 0;

    std::uint8_t byte(int key) const { return keys != nullptr && key >= 0 && key < count ? keys[key] : 0; }
    bool held(int key) const { return byte(key) != 0; }
};

namespace KeyMask {
enum Direction : int { Up = 1, Right = 2, Down = 4, Left = 8 };

// At most one vertical and one horizontal bit: up wins over down; with a
// vertical key held right wins over left, without one left wins over right.
int directions(const KeyState& state);
// The OR of the bits of the held action keys (q, w, a, s, z, x, keypad + and -).
int actions(const KeyState& state);
// Escape counts only when its byte is exactly 1.
bool escape(const KeyState& state);
} // namespace KeyMask
