#pragma once

#include "core/Resolution.h"
#include "core/RgbFrame.h"

#include <cstdint>
#include <string>

// Where a capture's frames go, beside the loop that makes them (PassLoop.h):
// the run draws them off screen at the sink's size, whatever the window's,
// and hands over those the sink wants.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    // The size to draw at, given the size the settings ask for.
    virtual Resolution frameSize(const Resolution& settingsSize) = 0;
    // Whether frame `pass` (shown pass x 16 ms after the first frame) is
    // drawn. One that is not is not drawn; the scenes only move on. The run's
    // final frame shows the last scene's last picture again, and is drawn
    // only when the pass before it was.
    virtual bool wants(std::uint32_t pass) = 0;
    // A drawn frame as the window would show it, rows bottom-up. False ends
    // the run as failed, after the sink has said why.
    virtual bool take(std::uint32_t pass, const RgbFrame& frame) = 0;
    // Pass `pass` is over, drawn or not.
    virtual void passDone(std::uint32_t pass) = 0;
    // The GL renderer that draws the frames, as it names itself; once, before the first pass.
    virtual void drawnBy(const std::string& renderer) = 0;
};
