#pragma once

#include <sys/types.h>

// A virtual X server (Xvfb) for a capture on a machine without a display,
// started only when DISPLAY is unset and stopped with the object. It never
// resets (a server that resets when its last client leaves makes SDL's
// connections fail at random) and goes if this process dies.
class VirtualDisplay {
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Makes sure there is a display; false, after a message, when none can be had.
    bool ensure();

private:
    pid_t server = -1;
};
