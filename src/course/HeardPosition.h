#pragma once

#include <array>
#include <cstdint>

// Where the listener is in a stream handed to an audio output buffer by
// buffer. A buffer is heard after what waits before it in the output: SDL's
// own buffer, a sound server's queue, the device.
//
// Where the sound server says how much of what was handed it still holds,
// the position heard is what was handed less that, carried on with the wall
// clock from the moment of the answer. An answer that raced a hand-over
// counts a buffer as arrived that was still on its way, which only ever puts
// the listener later than it is: of the last answers, the one that puts the
// listener earliest counts. Behind a layer that passes our buffers on in
// pieces of its own size (sdl12-compat over SDL2), up to one buffer of what
// was handed has not reached the server yet, varying from answer to answer:
// each answer then bounds the position from both sides, and the middle of
// the narrowest bounds counts.
//
// Until the server says, or where none answers, the buffer playing is taken
// to be the one before the last handed. An output without a queue (SDL's
// disk driver) plays a buffer as it is handed.
//
// Times are wall-clock ticks in ms, frames are samples per channel; no
// locking: the owner holds its audio lock around every call.
class HeardPosition {
public:
    enum class Output { Queueless, Queued, QueuedBehindALayer };

    HeardPosition(Output output, std::uint32_t rate);

    // A new stream from its start: nothing handed, nothing measured.
    void restart(std::uint32_t ticks);
    // A buffer of `frames` handed over at `ticks`.
    void handed(std::uint64_t frames, std::uint32_t ticks);
    // The server is asked at `ticks`; its answer counts only if it comes
    // within longestRoundTrip and no buffer is handed over before it.
    void asked(std::uint32_t ticks)
    {
        handoversWhenAsked = handovers;
        askedAt = ticks;
    }
    static constexpr std::uint32_t longestRoundTrip = 8;
    // The server's answer: of what was handed, `microseconds` still waits.
    void queued(std::uint64_t microseconds, std::uint32_t ticks);
    // The output stops playing the stream (a pause): what the server said no
    // longer runs on with the wall clock.
    void forgetMeasurements() { measuredCount = nextMeasured = 0; }
    // Added to whatever the output reports, positive when the sound comes later.
    void setExtraDelay(std::int32_t milliseconds) { extraDelay = milliseconds; }

    bool anyHanded() const { return handovers > 0; }
    std::uint32_t lastHandedAt() const { return lastAt; }
    // The stream's frame heard at `ticks`, never below 0 nor past what was handed.
    std::uint64_t framesAt(std::uint32_t ticks) const;
    std::uint32_t millisecondsAt(std::uint32_t ticks) const;

private:
    std::int64_t framesIn(std::uint32_t milliseconds) const;
    // The frame heard at startedAt, had the stream played since without a break.
    std::int64_t measuredStart() const;

    Output output;
    std::int64_t rate; // frames a second
    std::uint32_t startedAt = 0;
    std::uint64_t handovers = 0;
    std::uint64_t handoversWhenAsked = 0;
    std::uint32_t askedAt = 0;
    std::uint64_t all = 0; // frames handed, the last buffer included
    std::uint64_t before = 0; // frames handed before the last buffer
    std::uint32_t lastAt = 0;
    // Each answer as the frame heard at startedAt, had the stream played
    // since then without a break, at the earliest and the latest it can be:
    // about two and a half seconds of answers.
    struct Answer {
        std::int64_t earliest, latest;
    };
    std::array<Answer, 16> measured {};
    std::size_t measuredCount = 0;
    std::size_t nextMeasured = 0;
    std::int32_t extraDelay = 0;
};
