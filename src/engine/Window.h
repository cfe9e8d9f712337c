#pragma once

#include "core/Colour.h"
#include "core/Resolution.h"

#include <string>

namespace VornE {

// A window the demo draws into. It is created closed; open() brings it up.
class Window {
public:
    // False when the window did not open, or opened without a GL the demo
    // can use; openFailure() then says why, as one console line.
    virtual bool open(const std::string& caption, const Resolution& size, bool fullscreen) = 0;
    virtual std::string openFailure() const = 0;
    // Whether the last open() failed for the GL rather than the window.
    virtual bool glUnusable() const { return false; }
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
