#pragma once

#include "demo/Input.h"
#include "demo/KeyMasks.h"

#include <vector>

// What one look at the keyboard finds: the keys held now, and every key
// pressed since the last look, in order, however briefly.
struct KeyboardPoll {
    KeyState state;
    std::vector<int> pressed; // SDLK_* symbols
    bool exposed = false; // the window has lost some of its picture since
};

// The keyboard, read from SDL 1.2's key-state array and its event queue. Only
// Escape matters to the demo: held now, or pressed since the last pass, so
// that a tap between two passes is not lost. Every queued event is read
// each pass, so that mouse motion and key releases nobody wants cannot fill
// SDL's queue (128 events, new ones dropped) and push a key press out; window
// events such as the close button have no effect.
class SDL_Keyboard : public Input {
public:
    // Reads the queue and the key state; the SDL one needs the video subsystem up.
    using Poller = KeyboardPoll (*)();

    // Polls once at construction.
    explicit SDL_Keyboard(Poller poller = pollSdl);

    int directions() override;
    int actions() override;
    bool quitRequested() override;
    void update() override;

    // The keys pressed since the last update, in order.
    const std::vector<int>& pressed() const { return poll.pressed; }
    // Whether the window lost some of its picture since the last update (it
    // was covered, where nothing keeps a copy) and wants it drawn again.
    bool exposed() const { return poll.exposed; }

    // The desktop's reads the key state too (SdlKeyboardPoll.cpp); the web
    // page's, whose SDL indexes its key state otherwise, only the queue
    // (src/platform/web/demo/PageKeyboardPoll.cpp).
    static KeyboardPoll pollSdl();
    // Every event in SDL's queue read: the keys pressed, in order, and
    // whether the window was exposed; no key state.
    static KeyboardPoll queuedEvents();

private:
    Poller poller;
    KeyboardPoll poll;
};
