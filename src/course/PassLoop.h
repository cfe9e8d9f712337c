#pragma once

#include "course/PassStepper.h"

#include <cstdint>

class SceneSequence;

// What the main loop asks of the program around it, once per pass: besides
// the pass's own questions, the end of each. A frame drawn is shown at once.
class LoopHost : public PassHost {
public:
    // The end of every pass, drawn or not: input, music, frame clock. False
    // when the loop is to stop (Escape, a stop signal).
    virtual bool endOfPass(std::uint32_t nextPass, bool drawn) = 0;
};

struct LoopResult {
    enum class End { Finished, Stopped, Failed };
    End end = End::Finished;
    std::uint32_t passes = 0;
    std::uint32_t drawn = 0;
};

// The main loop of the live run and of a capture: the passes as PassStepper
// plays them, each followed by the host's end of the pass, until the final
// pass has shown its last picture or the host stops it. A loop that begins
// at `firstPass` moves the scenes on to it by update-only passes, without
// asking the host: the frame of that time is then the first one it can draw.
LoopResult runPasses(SceneSequence& scenes, LoopHost& host, unsigned int step, std::uint32_t firstPass = 0);
