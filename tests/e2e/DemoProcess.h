#pragma once

#include "core/RgbFrame.h"
#include "support/TrackSamples.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// A built binary run in a temporary working directory holding the data tree
// it needs.
class DemoProcess {
public:
    DemoProcess();
    ~DemoProcess();
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    // Links the repository's data/ files into the working directory, except the given paths under data/.
    void linkData(const std::vector<std::string>& except = {});
    // Links the repository's data/ files, with a settings file of the test's own.
    void linkDataWithSettings(const std::string& settings)
    {
        linkData({ "settings.ini" });
        writeFile("data/settings.ini", settings);
    }
    // Writes (or replaces) a file under the working directory.
    void writeFile(const std::string& relativePath, const std::string& text);

    // For the next start: standard output and error into files the test
    // reads, closed, or into a pipe nobody reads (a console gone away).
    enum class Streams { Captured, Closed, BrokenPipe };
    void standardStreams(Streams streams) { streamsMode = streams; }
    // The most address space the program may take, in bytes; for the next start.
    void limitAddressSpace(unsigned long bytes) { addressSpace = bytes; }
    // For the next start: no file it writes may grow past `bytes`, as
    // `ulimit -f` sets it (a write past it raises SIGXFSZ, which ends a
    // program that does not ignore it).
    void limitFileSize(unsigned long bytes) { fileSize = bytes; }
    // For the next start: standard output buffered as the program leaves it
    // (in blocks, into a file), rather than line by line.
    void outputAsItIs() { lineBuffered = false; }

    // Starts the demo (or another binary) with its arguments in the working directory.
    void start(const std::vector<std::string>& arguments = {}, const std::vector<std::string>& environment = {},
        const std::string& binary = LUMAROLL_BINARY);
    void startCapture(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {})
    {
        start(arguments, environment, LUMAROLL_CAPTURE_BINARY);
    }
    // Polls the X server for the demo's window; its id, or "" when none came.
    std::string waitForWindow(int seconds);
    // Polls the demo's standard output and error for `text`.
    bool waitForOutput(const std::string& text, int seconds);
    // What it has written to standard output, then to standard error, so far.
    std::string outputSoFar() const;
    // Waits until the frame counts of its "FPS: " lines add up to `frames`.
    bool waitForFrames(unsigned long frames, int seconds);
    // Taps a key in the window, by its X name ("Escape", "space", "Next").
    void pressKey(const std::string& windowId, const std::string& key);
    // Taps `keys` one after another, `apartMs` between them, as fast as a
    // held key repeats or faster.
    void pressKeys(const std::string& windowId, const std::vector<std::string>& keys, int apartMs);
    void pressEscape(const std::string& windowId) { pressKey(windowId, "Escape"); }
    // Polls until the process stands stopped (SIGSTOP).
    bool waitUntilStopped(int seconds, std::chrono::microseconds poll = std::chrono::milliseconds(20));
    // Whether the process has a file whose path holds `pathPart` mapped.
    bool hasLoaded(const std::string& pathPart);
    // Sends a signal to the demo itself (not its group), as `kill` would.
    void signal(int number);

    struct Result {
        int status = -1000; // the exit status, or -1000 when killed
        bool timedOut = false;
        std::string out;
        std::string err;
    };
    // Waits for the end; after timeoutSeconds the process is killed.
    Result finish(int timeoutSeconds);

    const std::string& directory() const { return dir; }

private:
    // Polls `done` until it holds (true), or the process ended or the time ran out (false).
    bool poll(const std::function<bool()>& done, int seconds, std::chrono::microseconds every);
    // Reaps the process if it has ended; true once it has.
    bool ended();

    std::string dir;
    Streams streamsMode = Streams::Captured;
    unsigned long addressSpace = 0; // 0: no limit
    unsigned long fileSize = 0; // 0: no limit
    bool lineBuffered = true;
    pid_t pid = -1;
    bool reaped = false;
    int waitStatus = 0;
};

// How many times `part` stands in `text`.
std::size_t occurrences(const std::string& text, const std::string& part);

// Runs a shell command and returns its standard output.
std::string shellOutput(const std::string& command);

// What the X server shows of a window, rows bottom-up as the capture's frames; empty when unreadable.
RgbFrame grabWindow(const std::string& windowId);

// How many channel values of two frames of one size lie more than 2 apart;
// all of them when the sizes differ.
std::size_t valuesApart(const RgbFrame& shown, const RgbFrame& expected);

// The line the run's first framebuffer logs when it goes: not always name 1,
// as a window presented through a framebuffer object of SDL's takes one first.
std::string firstFrameBufferDeleted(const std::string& out);

// The live loop's log of drawn frames (LUMAROLL_SYNC_LOG): pass, due time,
// clock when drawing began and when shown, music position, SDL ticks.
struct LoggedFrame {
    long pass, due, begun, shown, music, wall;
    long wallBefore; // SDL's ticks just before the clock was read, `wall` just after
};
std::vector<LoggedFrame> syncLog(const std::string& path);
