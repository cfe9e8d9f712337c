#pragma once

#include "core/Resolution.h"

#include <cstdint>
#include <string>

class Settings;
struct RgbFrame;

// Exit statuses besides the two of a normal run (0, and -1 when GLEW fails).
constexpr int windowFailedStatus = 1;
constexpr int uncaughtExceptionStatus = 2;
constexpr int captureFailedStatus = 3;
constexpr int dataFailedStatus = 4; // a data file missing or broken

// Where a capture's frames go: the run draws them off screen at the sink's
// size, whatever the window's, and hands over those the sink wants.
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
    // the run with captureFailedStatus, after the sink has said why.
    virtual bool take(std::uint32_t pass, const RgbFrame& frame) = 0;
    // Pass `pass` is over, drawn or not.
    virtual void passDone(std::uint32_t pass) = 0;
    // The GL renderer that draws the frames, as it names itself; once, before the first pass.
    virtual void drawnBy(const std::string& renderer) = 0;
};

// What a front end asks of a run. The defaults are the live demo.
struct RunOptions {
    // The settings, their layers resolved; null: the data folder's file alone.
    const Settings* settings = nullptr;
    bool waitAtStart = true; // present once, then wait 5 s before the first frame
    bool playMusic = true;
    // The run time to begin at, in ms: the scenes are moved on to the frame
    // of that time by update-only passes, and the music starts there.
    std::uint32_t startAt = 0;
    // The run's last frame, in ms: music that stops before it is broken.
    // 0 leaves the music's length unchecked.
    std::uint32_t lastFrameAt = 0;
    // Null: frames go to the window, following the music's clock (or every
    // one drawn, with the setting "everyframe"), with "FPS: " lines. A sink
    // takes them off screen as fast as they come.
    FrameSink* frames = nullptr;
};

// The demo's whole life, from the settings to the tear-down, in the fixed
// order of its steps. Needs SDL initialised. Returns the exit status: 0 at
// the end or after Escape; -1 when GLEW fails; windowFailedStatus;
// captureFailedStatus; dataFailedStatus. Exceptions (GL errors, shaders that
// do not link) leave it.
int runDemo(const RunOptions& options = {});

// What SDL's entry library would do around runDemo: SDL initialised before
// and shut down after, Ctrl-C and SIGTERM turned into an orderly stop (status
// 130 or 143), and an escaped exception reported as uncaughtExceptionStatus.
int runProgram(const RunOptions& options = {});
