#pragma once

#include "course/PassLoop.h"
#include "demo/LiveProbes.h"

class FramePainter;
class InputList;
class Music;
class Pacing;
class PlaybackClock;

// The live demo's side of the main loop: the pacing decides which passes are
// drawn, each drawn frame goes to the window, and every pass ends with the
// keyboard, the music and, after a frame, the pacing's report and wait.
class WindowHost : public LoopHost {
public:
    // All are borrowed and must outlive the host; `clock` is the pacing's
    // playback clock, or null when the pacing keeps none.
    WindowHost(FramePainter& painter, Pacing& pacing, PlaybackClock* clock, InputList& inputs, Music* music);

    bool wants(std::uint32_t pass) override;
    bool show(std::uint32_t pass, Scene* scene) override;
    bool endOfPass(std::uint32_t nextPass, bool drawn) override;

    // The loop stops once the first frame is on screen.
    void endAfterFirstFrame() { firstFrameOnly = true; }

private:
    FramePainter& painter;
    Pacing& pacing;
    PlaybackClock* clock;
    InputList& inputs;
    Music* music;
    LiveProbes probes;
    std::uint32_t drawingBegan = 0;
    bool firstFrameOnly = false;
};
