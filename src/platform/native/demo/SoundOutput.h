#pragma once

#include "course/HeardPosition.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// What an output plays: 16-bit stereo frames, read on the output's own
// thread while it plays, and moved only while no output reads it.
class SoundSource {
public:
    virtual ~SoundSource() = default;
    virtual std::uint32_t rate() const = 0;
    // Up to `frames` frames into `into` (two samples each); fewer only at
    // the end, 0 after it.
    virtual std::size_t read(std::int16_t* into, std::size_t frames) = 0;
    // The frame the next read starts at, and a move there.
    virtual std::uint64_t tell() const = 0;
    virtual void seek(std::uint64_t frame) = 0;
};

// The microseconds of the monotonic clock every output's answers are timed
// on, the platform's: CLOCK_MONOTONIC on Linux; on Windows the performance
// counter, which WASAPI's clock reads its positions against.
std::int64_t monotonicMicros();

// What plays the soundtrack: a sound server's stream, an ALSA device, a
// WASAPI endpoint, or a file at a device's pace (SoundOutputs.h lists them).
// Each asks its own stream how late it plays, and keeps the answers here, so
// that the heard position is known from any thread.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Plays `source` from where it stands, on a fresh stream: the heard
    // position counts from 0 there. False, with the reason in `error`, when
    // the output cannot play.
    virtual bool play(std::shared_ptr<SoundSource> source, std::string& error) = 0;
    // Holds the stream where it is heard, and goes on from there.
    virtual void pause(bool paused) = 0;
    // Stops taking from the source, which may then be moved.
    virtual void stop() = 0;
    // Why the output stopped playing for good (a server gone away), or "".
    virtual std::string lost() const = 0;
    // Whether it can play now: a new try at an output that went away may
    // still be waiting for its server's answer.
    virtual bool ready() const { return true; }

    // The stream's position as it is heard at `micros`, in ms since play,
    // the extra delay taken off; 0 before it is heard.
    std::uint32_t heardMilliseconds(std::int64_t micros) const;
    // Whether the output has answered for a frame past the stream's first
    // since play: a stream the server never links to a device (PipeWire
    // without its session manager) is never heard to move.
    bool heardMoving() const;
    void setExtraDelay(std::int32_t milliseconds);

protected:
    SoundOutput() = default;

    // For the implementations, from any thread: what HeardPosition takes.
    void restartHeard(std::uint32_t rate, std::int64_t firstFrame = 0);
    void handed(std::uint64_t frames);
    void answered(std::int64_t frame, std::int64_t micros);
    void holdHeard(std::int64_t micros);
    void goHeard();
    std::int64_t heardFrames(std::int64_t micros) const; // without the extra delay

private:
    mutable std::mutex heardLock;
    HeardPosition heard { 44100 };
    std::int64_t firstHeardFrame = 0;
    bool moving = false;
    std::int32_t extraDelay = 0;
};
