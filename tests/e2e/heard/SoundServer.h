#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// A sound server of the test's own, on a private socket, playing into a null
// sink whose monitor is recorded: what a listener would hear. Either
// PulseAudio, or PipeWire with its PulseAudio interface (pipewire-pulse)
// and its session manager on a session bus of their own, as current
// desktops run it. Every process is stopped by its pid.
class SoundServer {
public:
    enum class Kind { PulseAudio, PipeWire };

    explicit SoundServer(Kind kind);
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    bool running() const { return !processes.empty(); }
    // Why it is not running, for the test's message.
    const std::string& failure() const { return why; }
    // PULSE_SERVER=... for the demo.
    std::string address() const { return "PULSE_SERVER=unix:" + socket; }
    // Records what the sink plays from now on, in fragments of `latencyMs`,
    // into a new recording; false when the recorder did not start. A short
    // fragment tells precisely when a sound was heard, but the server then
    // runs in cycles as short, which a busy machine misses now and then: a
    // recording for dropouts takes longer ones, as a desktop's players do.
    bool record(int latencyMs);
    // Frames (16-bit stereo at 44.1 kHz) of the recording so far.
    std::uint64_t recordedFrames() const;
    // Mono (left plus right) samples of the recording, [from, to) in frames.
    std::vector<float> recording(std::uint64_t from, std::uint64_t to) const;

    // Stops and continues the server itself (the PulseAudio daemon, or
    // pipewire-pulse), as a hung or suspended server would behave.
    void pause();
    void resume();
    // Ends the server, as a crash would; and starts it again on the same
    // socket (false when it did not come back).
    void kill();
    bool restart();

private:
    pid_t spawn(const std::vector<std::string>& arguments);
    bool startPulseAudio();
    bool startPipeWire();
    bool runPactl(const std::vector<std::string>& arguments);
    bool makeNullSink();

    std::string dir;
    std::string socket;
    std::string why;
    std::vector<pid_t> processes; // in the order started; the server answering the socket last
    std::vector<std::string> serverArguments; // of that last one
    pid_t recorder = -1;
    int recordings = 0;
    std::string recordingPath;
};
