#include "demo/InputList.h"

void InputList::add(Input* device)
{
    devices.emplace_back(device);
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
