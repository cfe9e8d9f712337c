#pragma once

#include "course/HeardPosition.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>

struct _Mix_Music;
class AudioSystem;
class SoundServerLatency;

// The demo's small audio layer, over SDL_mixer, shaped as the music player
// uses it: a system that is created, initialised with a channel count,
// serviced once per frame, closed and released; a stream opened from a file
// and decoded from disk while it plays; a channel that plays a stream. Every
// call that can fail returns false and leaves SDL_mixer's reason in errorText().
// One system at a time: SDL_mixer has one music output.

// An Ogg Vorbis file opened for streaming. Freed with the object.
class AudioStream {
public:
    explicit AudioStream(_Mix_Music* music);
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    _Mix_Music* music;
};

// The channel a stream plays on. SDL_mixer still says "paused" after a halt,
// so the channel keeps its own state.
class AudioChannel {
public:
    bool isPaused() const { return playing && paused; }
    void setPaused(bool pause);
    // Streams here are opened to play once through; as with a stream opened
    // with looping off, a loop count is kept but changes nothing.
    void setLoopCount(int count) { loopCount = count; }
    void stop();
    bool isPlaying() const { return playing; }

private:
    friend class AudioSystem;
    AudioSystem* owner = nullptr;
    bool playing = false;
    bool paused = false;
    int loopCount = 0;
};

class AudioSystem {
public:
    AudioSystem();
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // Starts SDL's audio.
    bool create();
    // Opens the output (44.1 kHz, 16-bit stereo) with `channels` mixing channels.
    bool init(int channels);
    // Opens SDL's silent output instead, which consumes samples at the pace
    // of a real device: for a machine without a usable one.
    bool initSilent(int channels);
    // A stream of the file at `path`; null after a failure.
    std::unique_ptr<AudioStream> createStream(const std::string& path);
    // Starts the stream `seconds` into it; the channel it plays on, which
    // stays the system's, or null after a failure. The position counts from
    // where it started.
    AudioChannel* play(AudioStream& stream, double seconds = 0.0);
    // Notices a stream that has played to its end.
    void update();
    void close();
    void release();

    const std::string& errorText() const { return error; }

    // Whether the output is SDL's silent one, which paces itself by sleeps
    // rather than by a device.
    bool silent() const { return silentOutput; }
    // The stream's position in ms as it is heard since the last play(),
    // pauses left out: what has been handed to the output, less what still
    // waits in it (HeardPosition.h says how that is known), moving on with
    // the wall clock in between. Empty before the first play and on a silent
    // output.
    std::optional<std::uint32_t> playedMilliseconds() const;
    // What no interface reports (a Bluetooth headset, an HDMI receiver), in
    // ms, positive when the sound comes later; it may be negative.
    void setExtraDelay(std::int32_t milliseconds);

private:
    friend class AudioChannel;
    bool fail();
    // Whether what is handed to the output counts as the stream's.
    void setCounting(bool on);
    // SDL_mixer's post-mix hook, on the audio thread, with the audio locked.
    static void countHanded(void* system, std::uint8_t* stream, int bytes);
    // The sound server's answer, on libpulse's thread.
    void serverAnswered(std::uint64_t microseconds);
    // A few times a second, the sound server is asked what it still holds.
    void askServer();

    bool started = false;
    bool open = false;
    bool silentOutput = false;
    AudioChannel channel;
    std::string error;

    // The output's format, once open.
    int rate = 0;
    int bytesPerFrame = 0;
    // Written by the audio thread; read and reset under SDL_LockAudio.
    bool counting = false;
    std::unique_ptr<HeardPosition> heard; // once open
    std::int32_t extraDelay = 0;
    std::unique_ptr<SoundServerLatency> server;
    std::uint32_t lastAsked = 0; // SDL ticks
    std::uint32_t nextAsk = 0; // ms after lastAsked
    // Its own generator: the scenes draw from the C library's, and a draw
    // here would change the pictures.
    std::minstd_rand askJitter;
};
