#pragma once

#include "demo/Input.h"
#include "demo/KeyMasks.h"

// The keyboard, read from SDL 1.2's key-state array. Only Escape matters to
// the demo. SDL's event queue is pumped but never read, so window events such
// as the close button have no effect.
class SDL_Keyboard : public Input {
public:
    // Refreshes the key state: pumps events and returns the array and its size.
    using Poller = KeyState (*)();

    // Polls once at construction; the SDL poller needs the video subsystem up.
    explicit SDL_Keyboard(Poller poller = pollSdl);

    int directions() override;
    int actions() override;
    bool quitRequested() override;
    void update() override;

    static KeyState pollSdl();

private:
    Poller poller;
    KeyState state;
};
