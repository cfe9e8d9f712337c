#pragma once

#include "engine/Colour.h"
#include "engine/Resolution.h"

#include <string>

namespace VornE {

// A window the demo draws into. It is created closed; open() brings it up.
class Window {
public:
    virtual bool open(const std::string& caption, const Resolution& size, bool fullscreen) = 0;
    virtual void clear() = 0;
    virtual void swap() = 0;
    virtual void setClearColour(const Colour& colour) = 0;
    // Needs an open window.
    virtual Resolution getSize() = 0;
    virtual ~Window() = default;
};

} // namespace VornE
