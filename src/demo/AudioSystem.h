#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AudioSystem;

// The demo's small audio layer, shaped as the music player uses it: a system
// that is created, initialised with a channel count, serviced once per frame,
// closed and released; a stream opened from a file and decoded while it
// plays; a channel that plays a stream. Every call that can fail returns
// false and leaves the reason in errorText(). One system at a time.
//
// This is where the platforms part: on Linux and Windows, AudioSystem.cpp
// (src/platform/native/demo) plays through an output of its own
// (SoundOutputs.h: a sound server's stream, an ALSA device, a WASAPI
// endpoint, or a file for tests), which it asks what is heard; the web
// page's plays through Web Audio (src/platform/web/demo). Each defines the
// two structures below.
struct AudioOutput; // the open output and what it knows of the heard position
struct AudioStreamData; // one decoded or streaming file

// A sound file opened for playing. Freed with the object.
class AudioStream {
public:
    explicit AudioStream(std::unique_ptr<AudioStreamData> data);
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    const std::unique_ptr<AudioStreamData> data;
};

// The channel a stream plays on. The output may still say "paused" after a
// halt, so the channel keeps its own state.
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

    // Starts the platform's audio.
    bool create();
    // Opens the output named `outputName` (as --audio names it), or when
    // that is "", the one LUMAROLL_AUDIO names, else the first of the
    // platform's that opens; with `channels` mixing channels. False, with
    // the reasons, when none opens. A LUMAROLL_AUDIO that names no output
    // here is said in one line and left aside.
    bool init(int channels, const std::string& outputName = "");
    // The outputs this platform plays through, as --audio names them, in
    // the order they are tried; and whether `name` is one of them.
    static std::vector<std::string> outputNames();
    static bool offersOutput(const std::string& name);
    // Opens a silent output instead, which plays nothing and has no
    // position: for a machine without a usable one.
    bool initSilent(int channels);
    // A stream of the file at `path`; null after a failure.
    std::unique_ptr<AudioStream> createStream(const std::string& path);
    // Starts the stream `seconds` into it; the channel it plays on, which
    // stays the system's, or null after a failure. The position counts from
    // where it started.
    AudioChannel* play(AudioStream& stream, double seconds = 0.0);
    // Notices a stream that has played to its end, and an output that has
    // gone away or come back.
    void update();
    // What changed of the output since the last call, as a line for the
    // user (the sound server went away, or came back); "" when nothing did.
    std::string takeNotice();
    void close();
    void release();

    const std::string& errorText() const { return error; }

    // Whether the output is the silent one.
    bool silent() const { return silentOutput; }
    // The stream's position in ms as it is heard since the last play(),
    // pauses left out, as the output itself answers for it, moving on with
    // the wall clock in between (HeardPosition.h). Empty before the first
    // play, on a silent output, and once the output has gone away.
    std::optional<std::uint32_t> playedMilliseconds() const;
    // What no interface reports (a Bluetooth headset, an HDMI receiver), in
    // ms, positive when the sound comes later; it may be negative.
    void setExtraDelay(std::int32_t milliseconds);

private:
    friend class AudioChannel;

    bool started = false;
    bool open = false;
    bool silentOutput = false;
    AudioChannel channel;
    std::string error;
    std::int32_t extraDelay = 0;
    std::unique_ptr<AudioOutput> output; // once open
};
