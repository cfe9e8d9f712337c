#pragma once

#include "demo/AudioSystem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The soundtrack: one file streamed from disk and played once through from
// the first frame on. Failures are logged at level Error with the audio
// layer's own text.
class Music {
public:
    // Logs "Music created".
    Music();
    // Releases the stream, closes and releases the system, then logs "Music deleted".
    ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Creates and opens the audio output with ten channels: the one named
    // (AudioSystem::init says how it is chosen). When no usable device can
    // be opened, logs why and opens a silent output instead, so that the
    // pictures keep their timing; false then.
    bool init(const std::string& outputName = "");
    // Opens the file as a stream; false when it cannot be opened or decoded.
    bool load(const std::string& path);
    // Starts the stream, or resumes it when it was paused.
    void play();
    // Starts the stream `milliseconds` into it; play() at 0.
    void playFrom(std::uint32_t milliseconds);
    // Once per frame while the music plays.
    void update();
    void stop();
    // Holds the stream where it is, and goes on from there; a stream that
    // has stopped or ended stays so.
    void pause();
    void resume();

    // Where the stream is, in ms since play (pauses left out), as it is heard:
    // the output's own delay, and the extra one, taken out. It goes on past the
    // stream's end at the output's pace, and stands still after stop. Empty
    // before play and on a silent output.
    std::optional<std::uint32_t> position() const;
    // What the output adds that no interface reports, in ms, positive when
    // the sound comes later. After init().
    void setExtraDelay(std::int32_t milliseconds);

    // The channel the stream plays on, null before the first play.
    AudioChannel* playingChannel() const { return channel; }

private:
    std::unique_ptr<AudioSystem> system;
    std::unique_ptr<AudioStream> sound;
    AudioChannel* channel = nullptr;
};
