#pragma once

#include "demo/Input.h"

#include <memory>
#include <vector>

// The demo's input devices, owned, in the order added.
class InputList {
public:
    // Takes ownership of the device.
    void add(Input* device);
    void updateAll();
    // Asks every device, even after one has said yes.
    bool anyQuit();

private:
    std::vector<std::unique_ptr<Input>> devices;
};
