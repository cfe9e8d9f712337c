#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <utility>
#include <vector>

// A sound server of the test's own, on a private socket, playing into a null
// sink whose monitor is recorded: what a listener would hear. Either
// PulseAudio, or PipeWire with its PulseAudio interface (pipewire-pulse)
// and its session manager on a session bus of their own, as current
// desktops run it. Every process is stopped by its pid.
class SoundServer {
public:
    // PipeWire may run without its session manager, which links streams to
    // devices: it then takes a player's stream and plays nothing of it,
    // until startSessionManager().
    enum class Kind { PulseAudio, PipeWire, PipeWireWithoutSessionManager };

    // With `logUnderruns`, a PulseAudio server logs each time a stream ran
    // dry (its debug level), which underruns() counts.
    explicit SoundServer(Kind kind, bool logUnderruns = false);
    // A PulseAudio server whose one sink is a tunnel into `device`'s null
    // sink: a sink with a delay of its own (its buffer and the other
    // server's), which it reports to its streams, as a network device does.
    // The sound is heard, and recorded, at `device`.
    struct TunnelInto {
        const SoundServer& device;
    };
    explicit SoundServer(TunnelInto into);
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    bool running() const { return !processes.empty(); }
    // How many times so far a client's stream ran dry at the server, the
    // server playing silence in its place (a PulseAudio server made to log
    // them).
    std::size_t underruns() const;
    // Why it is not running, for the test's message.
    const std::string& failure() const { return why; }
    // PULSE_SERVER=... for the demo.
    std::string address() const { return "PULSE_SERVER=unix:" + socket; }
    // PIPEWIRE_RUNTIME_DIR=... for the demo: where PipeWire's own socket is.
    std::string pipeWireAddress() const { return "PIPEWIRE_RUNTIME_DIR=" + dir; }
    // How far ahead of the recording the pictures may be through libpulse,
    // past the 20 ms every output is held to. PipeWire's PulseAudio interface
    // counts a frame as played once it is in its stream's buffer, which the
    // graph plays a cycle later, and tells its clients nothing of that cycle
    // (21.3 ms at a desktop's 1024 frames).
    double pulseInterfaceLeadMs() const { return kind == Kind::PipeWire ? 1024 * 1000.0 / 48000 : 0.0; }
    using Clock = std::chrono::steady_clock;

    // Records what the sink plays from now on into a new recording, noting
    // when each piece of it arrives; false when the recorder did not start.
    // Returns once it has recorded a fifth of a second.
    bool record();
    // Frames (16-bit stereo at 44.1 kHz) of the recording so far.
    std::uint64_t recordedFrames() const;
    // The recording's frame that was playing at `moment`, within a
    // millisecond or so, from the pieces that arrived in the 2 s before it.
    std::uint64_t framePlayingAt(Clock::time_point moment) const;
    // The most the recording lost (ms) among the pieces that arrived from
    // `from` to `to`: a recorder whose server misses the graph's cycles, as
    // on a busy machine, never gets what played meanwhile, and the music in
    // the recording jumps ahead. Judged against the pieces that arrived after
    // each one, up to now, so ask a few hundred ms after `to`.
    double recordingLostMs(Clock::time_point from, Clock::time_point to) const;
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
    // Starts PipeWire's session manager (wireplumber), for a server made
    // without one; false when it did not start.
    bool startSessionManager();

private:
    pid_t spawn(const std::vector<std::string>& arguments);
    bool startPulseAudio(bool logUnderruns, const std::string& sink);
    // After a failed start: what did start, stopped.
    void stopAll();
    bool startPipeWire(bool withSessionManager);
    bool runPactl(const std::vector<std::string>& arguments);
    bool makeNullSink();
    void stopRecording();
    void noteArrivals();

    Kind kind = Kind::PulseAudio;
    std::string dir;
    std::string socket;
    std::string why;
    std::vector<pid_t> processes; // in the order started; the server answering the socket last
    std::vector<std::string> serverArguments; // of that last one
    pid_t recorder = -1;
    int recordings = 0;
    std::string recordingPath;
    std::thread arrivalWatch;
    std::atomic<bool> watching { false };
    mutable std::mutex arrivalsLock;
    std::vector<std::pair<Clock::time_point, std::uint64_t>> arrivals; // when, and the frames then
};
