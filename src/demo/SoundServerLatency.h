#pragma once

#include <cstdint>
#include <functional>

struct pa_context;
struct pa_sink_input_info;
struct pa_threaded_mainloop;

// Asks the sound server (PulseAudio, or PipeWire through its PulseAudio
// interface) how long the sound this process hands over waits before it is
// played: its stream's buffer in the server and the latency of the sink it
// plays on. SDL 1.2 reports no such thing, so this is a second connection of
// our own, run on libpulse's thread. Where no server answers (ALSA alone, no
// server running) it stays quiet: ask() returns false and nothing is answered.
class SoundServerLatency {
public:
    // Called on libpulse's thread, once per question that found this
    // process's playback stream, with that stream's latency in microseconds.
    using Answer = std::function<void(std::uint64_t microseconds)>;

    explicit SoundServerLatency(Answer answer);
    // Stops libpulse's thread first, so that no answer comes after.
    ~SoundServerLatency();
    SoundServerLatency(const SoundServerLatency&) = delete;
    SoundServerLatency& operator=(const SoundServerLatency&) = delete;

    // Sends one question unless one is still out; false while there is no
    // connection to a server (not yet, or not at all).
    bool ask();

private:
    static void contextChanged(pa_context* context, void* self);
    static void streamListed(pa_context* context, const pa_sink_input_info* info, int last, void* self);

    Answer answer;
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    // Only touched with the loop's lock held.
    bool ready = false;
    bool asking = false;
    bool found = false;
    std::uint64_t latency = 0;
};
