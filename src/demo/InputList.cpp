#include "demo/InputList.h"

#include <utility>

void InputList::add(Input* device)
{
    // Owned before the list grows: a growth that throws deletes the device
    // instead of losing it.
    std::unique_ptr<Input> owned(device);
    devices.push_back(std::move(owned));
}

void InputList::updateAll()
{
    for (auto& device : devices)
        if (device)
            device->update();
}

bool InputList::anyQuit()
{
    bool quit = false;
    for (auto& device : devices)
        if (device && device->quitRequested())
            quit = true;
    return quit;
}
