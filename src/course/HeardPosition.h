#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// Where the listener is in a stream that an audio output plays, from the
// output's own answers: "at this moment, this frame of the stream is heard"
// (a sound server's timing of our stream, a device's delay). Between answers
// the position runs on with the wall clock, so that it moves smoothly rather
// than in steps of what the output takes at once.
//
// Answers are noisy: a server that takes its input a block at a time answers
// anywhere within the block, and now and then one is plainly wrong (a delay
// of 0 while the queue is full). Each answer says where the stream started,
// had it played since without a break; the median of the last few counts, so
// that no single answer moves the listener.
//
// The position runs on at most carryLimit past the furthest frame of the
// last few answers: an output that stops answering, or answers the same
// frame again (a stopped server, a hung device), stands still, which is how a listener's
// clock notices that the music has stalled. It never passes what was handed
// to the output, nor, before the first answer, the stream's first frame.
//
// Frames are samples per channel; times are microseconds of one monotonic
// clock. No locking: the owner serialises every call.
class HeardPosition {
public:
    static constexpr std::int64_t carryLimit = 200000; // microseconds

    explicit HeardPosition(std::uint32_t framesPerSecond);

    // A new stream whose first frame is `firstFrame` of what the listener
    // counts: nothing handed, nothing answered, not held.
    void restart(std::int64_t firstFrame = 0);
    // `frames` more of the stream handed to the output.
    void handed(std::uint64_t frames) { handedFrames += frames; }
    // The output's answer: at `micros`, the stream's frame `frame` is heard
    // (negative: what the output plays before the stream comes).
    void answered(std::int64_t frame, std::int64_t micros);
    // The output stops playing (a pause): the position stands where it is at
    // `micros` until go(), after which it runs on from the next answers.
    void hold(std::int64_t micros);
    void go();
    bool held() const { return holding; }
    // Taken off every position, positive when the sound comes later than the
    // output reports; negative moves the listener ahead.
    void setExtraDelay(std::int32_t milliseconds) { extraDelay = milliseconds; }

    // The frame heard at `micros`, as the listener counts them, the extra
    // delay taken off; may be negative before the stream is heard.
    std::int64_t framesAt(std::int64_t micros) const;
    // The same in ms, 0 before the stream is heard.
    std::uint32_t millisecondsAt(std::int64_t micros) const;
    // Where the output has the listener, without the extra delay.
    std::int64_t outputFrameAt(std::int64_t micros) const;

private:
    std::int64_t framesIn(std::int64_t micros) const;

    std::int64_t rate;
    std::int64_t first = 0;
    std::uint64_t handedFrames = 0;
    // The last few answers: the frame heard, and the stream's first frame as
    // heard at micros 0, had it played since without a break.
    struct Answer {
        std::int64_t frame, start;
    };
    std::array<Answer, 9> recent {};
    std::size_t answers = 0;
    std::size_t next = 0;
    // Where the listener stands while there is no answer to go by: the
    // first frame, or where a pause held it.
    std::int64_t standing = 0;
    bool holding = false;
    bool answeredOnce = false; // since the stream started
    std::int32_t extraDelay = 0;
};
