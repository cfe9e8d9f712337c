#pragma once

#include "platform/desktop/demo/ServerOutput.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

struct pw_thread_loop;
struct pw_context;
struct pw_core;
struct pw_stream;
struct spa_hook;

// Plays through PipeWire's own interface: one playback stream, fed on
// PipeWire's real-time thread. Each cycle the stream says what it holds in
// its queue, its resampler and the graph before the device, so the frame
// heard is known to a sample, whatever length of cycle the graph runs
// (pipewire-pulse tells a PulseAudio client nothing of that cycle). The
// connection and closing wait on nothing the server must answer.
class PipeWireOutput : public ServerOutput {
public:
    // Starts connecting to the user's PipeWire (PIPEWIRE_REMOTE and
    // PIPEWIRE_RUNTIME_DIR, else XDG_RUNTIME_DIR's); it never starts one.
    PipeWireOutput();
    ~PipeWireOutput() override;

    State state() const override;
    std::string failure() const override;

    bool play(std::shared_ptr<SoundSource> source, std::string& error) override;
    void pause(bool paused) override;
    void stop() override;
    std::string lost() const override;

private:
    struct Hooks;
    static void coreDone(void* self, std::uint32_t id, int sequence);
    static void coreError(void* self, std::uint32_t id, int sequence, int result, const char* message);
    static void streamChanged(void* self, int old, int state, const char* error);
    static void process(void* self);
    // With the loop's lock held.
    void dropStream();

    pw_thread_loop* loop = nullptr;
    pw_context* context = nullptr;
    pw_core* core = nullptr;
    pw_stream* stream = nullptr; // with the lock
    std::unique_ptr<Hooks> hooks;
    std::shared_ptr<SoundSource> source; // read on the real-time thread while the stream is there
    std::uint32_t rate = 0;
    std::int64_t handedSoFar = 0; // frames, on the real-time thread once the stream is there
    std::size_t lastBufferFrames = 0; // filled in the last cycle, and played in this one
    int helloSequence = -1;
    std::atomic<bool> everReady { false };
    std::atomic<bool> serverLost { false };
    std::atomic<bool> streamFailed { false };
    std::atomic<int> errorCode { 0 };
};
