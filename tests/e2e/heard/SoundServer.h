#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// A PulseAudio server of the test's own, on a private socket, playing into a
// null sink whose monitor is recorded: what a listener would hear.
class SoundServer {
public:
    SoundServer();
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    bool running() const { return server > 0 && recorder > 0; }
    // PULSE_SERVER=... for the demo.
    std::string address() const { return "PULSE_SERVER=unix:" + dir + "/socket"; }
    // Frames (16-bit stereo at 44.1 kHz) recorded so far.
    std::uint64_t recordedFrames() const;
    // Mono (left plus right) samples of the recording, [from, to) in frames.
    std::vector<float> recording(std::uint64_t from, std::uint64_t to) const;

private:
    std::string dir;
    pid_t server = -1;
    pid_t recorder = -1;
};
