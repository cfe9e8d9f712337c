#pragma once

#include "platform/desktop/demo/ServerOutput.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;
struct pa_mainloop_api;
struct timeval;

// Plays through a PulseAudio server, or PipeWire through its PulseAudio
// interface: one playback stream of our own, fed on libpulse's thread, whose
// timing the server is asked for several times a second. Everything libpulse
// does is asynchronous, so nothing here waits on a server that has stopped
// answering: the connection waits only as long as it is told to, and
// closing never waits for the server.
class PulseOutput : public ServerOutput {
public:
    // Starts connecting to the server that libpulse finds (PULSE_SERVER, the
    // user's session); it never starts one.
    PulseOutput();
    ~PulseOutput() override;

    State state() const override;
    std::string failure() const override;
    // The server's name as it gives it ("PulseAudio (on PipeWire 1.4.2)"),
    // or "" when it did not say within `patience`.
    std::string serverName(std::chrono::milliseconds patience);

    bool play(std::shared_ptr<SoundSource> source, std::string& error) override;
    void pause(bool paused) override;
    void stop() override;
    std::string lost() const override;

private:
    static void contextChanged(pa_context* context, void* self);
    static void streamChanged(pa_stream* stream, void* self);
    static void writable(pa_stream* stream, std::size_t bytes, void* self);
    static void timingUpdated(pa_stream* stream, void* self);
    static void askTiming(pa_mainloop_api* api, pa_time_event* event, const timeval* when, void* self);
    // With the loop's lock held.
    void dropStream();
    void fill(std::size_t bytes);

    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr; // with the lock
    pa_time_event* timer = nullptr;
    std::shared_ptr<SoundSource> source; // read with the lock, on libpulse's thread
    std::uint32_t rate = 0;
    std::atomic<bool> everReady { false };
    std::atomic<bool> contextLost { false };
    std::atomic<bool> streamFailed { false };
    std::atomic<int> errorCode { 0 };
};
