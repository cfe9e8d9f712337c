#pragma once

#include "core/RgbFrame.h"
#include "course/PassLoop.h"
#include "gl/OffscreenTarget.h"

class FrameSink;
class FramePainter;
class InputList;

// A capture's side of the main loop: the sink decides which passes are
// drawn and takes each drawn frame, read back from an off-screen target of
// the capture's size; nothing waits.
class CaptureHost : public LoopHost {
public:
    // All are borrowed and must outlive the host. Sets the viewport to `size`.
    CaptureHost(FramePainter& painter, FrameSink& sink, InputList& inputs, const Resolution& size);

    bool wants(std::uint32_t pass) override;
    bool show(std::uint32_t pass, Scene* scene) override;
    bool endOfPass(std::uint32_t nextPass, bool drawn) override;

private:
    FramePainter& painter;
    FrameSink& sink;
    InputList& inputs;
    OffscreenTarget target;
    RgbFrame pixels;
};
