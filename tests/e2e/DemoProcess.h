#pragma once

#include "render/RgbFrame.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// The built lumaroll binary run in a temporary working directory holding the
// data tree it needs, with its console output captured to files.
class DemoProcess {
public:
    DemoProcess();
    ~DemoProcess();
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    // Links every file of the repository's data/ into the working directory,
    // except the given paths (relative to data/, e.g. "meshes/cube2.obj").
    void linkData(const std::vector<std::string>& except = {});
    // Writes (or replaces) a file under the working directory.
    void writeFile(const std::string& relativePath, const std::string& text);

    // Where the program's standard output and error go: files the test
    // reads (the default), nowhere (both closed), or a pipe nobody reads any
    // more (a console gone away). For the next start.
    enum class Streams { Captured, Closed, BrokenPipe };
    void standardStreams(Streams streams) { streamsMode = streams; }
    // The most address space the program may take, in bytes; for the next start.
    void limitAddressSpace(unsigned long bytes) { addressSpace = bytes; }

    // Starts the demo, or the capture tool with its arguments, in the working directory.
    void start(const std::vector<std::string>& environment = {});
    void startDemo(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {});
    void startCapture(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {});
    // Polls the X server for the demo's window; its id, or "" when none came.
    std::string waitForWindow(int seconds);
    // Polls the demo's console (standard output and error) for `text`; false
    // when the demo ended or the time ran out without it.
    bool waitForOutput(const std::string& text, int seconds);
    // Waits until the frame counts of its "FPS: " lines add up to `frames`:
    // the loop has passed at least that many frames, and fewer than a
    // second's more.
    bool waitForFrames(unsigned long frames, int seconds);
    // Taps a key in the window, by its X name ("Escape", "space", "Next").
    void pressKey(const std::string& windowId, const std::string& key);
    void pressEscape(const std::string& windowId) { pressKey(windowId, "Escape"); }
    // "WIDTHxHEIGHT" of the window as the X server reports it.
    std::string windowSize(const std::string& windowId);
    // Polls until the process stands stopped (SIGSTOP); false when it ended
    // or the time ran out first.
    bool waitUntilStopped(int seconds, std::chrono::microseconds poll = std::chrono::milliseconds(20));

    struct Result {
        int status = -1000; // the exit status, or -1000 when killed
        bool timedOut = false;
        std::string out;
        std::string err;
    };
    // Whether the running process has a file whose path holds `pathPart` mapped.
    bool hasLoaded(const std::string& pathPart);

    // Sends a signal to the demo itself (not its group), as `kill` would.
    void signal(int number);

    // Waits for the end; after timeoutSeconds the process is killed.
    Result finish(int timeoutSeconds);

    const std::string& directory() const { return dir; }

private:
    bool waitFor(const std::function<bool(const std::string&)>& seen, int seconds);
    void startProgram(const std::string& binary, const std::vector<std::string>& arguments,
        const std::vector<std::string>& environment);
    // Reaps the process if it has ended; true once it has.
    bool ended();

    std::string dir;
    Streams streamsMode = Streams::Captured;
    unsigned long addressSpace = 0; // 0: no limit
    pid_t pid = -1;
    bool reaped = false;
    int waitStatus = 0;
};

// Runs a shell command and returns its standard output.
std::string shellOutput(const std::string& command);

// What the X server shows of a window, read from the server itself; rows
// bottom-up, as the capture's frames are. Empty when it cannot be read.
RgbFrame grabWindow(const std::string& windowId);

// How many channel values of two frames of one size lie more than 2 apart
// (llvmpipe's pictures are the same run to run; a Mesa update may move them
// a little); all of them when the sizes differ.
std::size_t valuesApart(const RgbFrame& shown, const RgbFrame& expected);

// The line that the run's first framebuffer (the frame's target) logs when it
// goes: its name is 1 on most systems, but a window presented through a
// framebuffer object of SDL's own takes a name first.
std::string firstFrameBufferDeleted(const std::string& out);

// The live loop's log of drawn frames (LUMAROLL_SYNC_LOG): pass, due time,
// clock when drawing began and when shown, music position, SDL ticks.
struct LoggedFrame {
    long pass, due, begun, shown, music, wall;
};
std::vector<LoggedFrame> syncLog(const std::string& path);

// `count` 16-bit samples (interleaved stereo) of the soundtrack from
// `milliseconds` into it, decoded.
std::vector<std::int16_t> trackFrom(std::uint32_t milliseconds, std::size_t count);
