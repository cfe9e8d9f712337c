#pragma once

#include "core/Resolution.h"

#include <cstdint>
#include <string>

class FrameSink;
class Settings;

// Exit statuses besides the two of a normal run (0, and -1 when GLEW fails).
constexpr int windowFailedStatus = 1;
constexpr int uncaughtExceptionStatus = 2;
constexpr int captureFailedStatus = 3;
constexpr int dataFailedStatus = 4; // a data file missing or broken
constexpr int frameTooLargeStatus = 5; // a capture's frames larger than its GL draws

// What a front end asks of a run. The defaults are the live demo.
struct RunOptions {
    // The settings, their layers resolved; null: the data folder's file alone.
    const Settings* settings = nullptr;
    bool waitAtStart = true; // present once, then wait 5 s before the first frame
    bool playMusic = true;
    // The sound output, as --audio names it; "" for LUMAROLL_AUDIO's, else
    // the first of the platform's that opens.
    std::string audioOutput;
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
    // The window shows the frame of startAt alone, drawn whatever it costs,
    // and the run ends: a picture to compare, in a window (the web page's
    // frame on demand).
    bool firstFrameOnly = false;
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
