#pragma once

#include "core/Colour.h"
#include "core/Resolution.h"

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
    // For the next open(): whether swaps wait for the display's refresh, so
    // that frames do not tear. A window without such a swap ignores it.
    virtual void requestTearFreeSwap(bool) { }
    virtual ~Window() = default;
};

} // namespace VornE
