#pragma once

// An input device, polled once per pass of the main loop.
class Input {
public:
    virtual ~Input() = default;
    // Bit mask of held direction keys: up 1, right 2, down 4, left 8.
    virtual int directions() = 0;
    // Bit mask of held action keys.
    virtual int actions() = 0;
    virtual bool quitRequested() = 0;
    virtual void update() = 0;
};
