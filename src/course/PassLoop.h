#pragma once

#include <cstdint>

class Scene;
class SceneSequence;

// What the main loop asks of the program around it, once per pass.
class LoopHost {
public:
    virtual ~LoopHost() = default;
    // Whether pass `pass` is drawn. One that is not only moves the scenes on.
    virtual bool wants(std::uint32_t pass) = 0;
    // Draws `scene`'s frame and shows it; a null scene shows the last picture
    // again (the finished run's final frame). False ends the run as failed.
    virtual bool show(std::uint32_t pass, Scene* scene) = 0;
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

// The main loop: every pass draws the playing scene or skips it, as the host
// wants, then updates it by `step` ms; once the last scene has ended, one
// more pass shows its last picture and the loop ends. Each scene update is
// taken exactly once per pass, drawn or not. A loop that begins at
// `firstPass` moves the scenes on to it by update-only passes, without asking
// the host: the frame of that time is then the first one it can draw.
LoopResult runPasses(SceneSequence& scenes, LoopHost& host, unsigned int step, std::uint32_t firstPass = 0);
