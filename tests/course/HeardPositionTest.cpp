#include "course/HeardPosition.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t rate = 44100;
constexpr std::uint64_t buffer = 4096; // frames, about 93 ms

// Three buffers handed over at 1000, 1093 and 1186 ms after a start at 1000.
HeardPosition threeBuffersHanded(HeardPosition::Output output)
{
    HeardPosition heard(output, rate);
    heard.restart(1000);
    heard.handed(buffer, 1000);
    heard.handed(buffer, 1093);
    heard.handed(buffer, 1186);
    return heard;
}

// Frames the listener moves on in `milliseconds`.
std::uint64_t framesIn(std::uint32_t milliseconds)
{
    return static_cast<std::uint64_t>(milliseconds) * rate / 1000u;
}

} // namespace

// Without a word from a server, a queued output plays the buffer before the
// last one handed, the disk driver the last; both counting on, never past it.
TEST(HeardPosition, WithoutTheServerTheBufferBeforeTheLastIsHeardAndTheDiskDriverHasNoQueue)
{
    const HeardPosition queued = threeBuffersHanded(HeardPosition::Output::Queued);
    const HeardPosition queueless = threeBuffersHanded(HeardPosition::Output::Queueless);
    EXPECT_EQ(queued.framesAt(1186 + 50), 2 * buffer + 2205 - buffer);
    EXPECT_EQ(queueless.framesAt(1186 + 50), 2 * buffer + 2205);
    EXPECT_EQ(queued.framesAt(1186 + 500), 2 * buffer) << "at most one buffer on from its hand-over";
    EXPECT_EQ(queueless.millisecondsAt(1186 + 500), 278u);

    HeardPosition fresh(HeardPosition::Output::Queueless, rate);
    fresh.restart(0);
    EXPECT_EQ(fresh.framesAt(500), 0u) << "nothing handed, nothing heard";
}

// The server's answer: all handed less what it holds, when it looked (half way
// through the question), counting on, never past it; the earliest counts.
TEST(HeardPosition, TheServersAnswerRunsOnWithTheWallClockAndTheEarliestOfTheLastAnswersCounts)
{
    HeardPosition heard = threeBuffersHanded(HeardPosition::Output::Queued);
    heard.asked(1200);
    heard.queued(100000, 1202); // 100 ms = 4410 frames still waiting at 1201
    EXPECT_EQ(heard.framesAt(1201), 3 * buffer - 4410);
    EXPECT_EQ(heard.framesAt(1251), 3 * buffer - 4410 + 2205);
    EXPECT_EQ(heard.framesAt(1400), 3 * buffer) << "never past what was handed";

    // A later answer that puts the listener 20 ms further on (part of what
    // was handed had not reached the server) does not move it.
    heard.asked(1210);
    heard.queued(60000, 1210);
    EXPECT_EQ(heard.framesAt(1251), 3 * buffer - 4410 + 2205);
    // One that puts it earlier does.
    heard.asked(1220);
    heard.queued(130000, 1220);
    EXPECT_EQ(heard.framesAt(1220), 3 * buffer - 5733);

    // Forgotten on a pause: back to the buffer before the last.
    heard.forgetMeasurements();
    EXPECT_EQ(heard.framesAt(1236), 2 * buffer + 2205 - buffer);
}

TEST(HeardPosition, AnAnswerThatRacedAHandOverOrTookLongIsLeftOut)
{
    HeardPosition raced = threeBuffersHanded(HeardPosition::Output::Queued);
    raced.asked(1200);
    raced.handed(buffer, 1201);
    raced.queued(100000, 1202);
    HeardPosition slow = threeBuffersHanded(HeardPosition::Output::Queued);
    slow.asked(1200);
    slow.queued(100000, 1200 + HeardPosition::longestRoundTrip + 1);
    HeardPosition unasked(HeardPosition::Output::Queued, rate);
    unasked.restart(1000);
    unasked.queued(100000, 1001);
    // Each falls back to the buffer before the last.
    EXPECT_EQ(raced.framesAt(1211), 2 * buffer + 441);
    EXPECT_EQ(slow.framesAt(1236), 2 * buffer + 2205 - buffer);
    EXPECT_EQ(unasked.framesAt(1001), 0u);
}

// A delay no interface reports (a Bluetooth headset) moves the position within
// what was handed; a restart forgets what was handed and answered, not the delay.
TEST(HeardPosition, AnExtraDelayMovesThePositionByItsValueWithinWhatWasHanded)
{
    HeardPosition heard = threeBuffersHanded(HeardPosition::Output::Queueless);
    heard.setExtraDelay(100);
    EXPECT_EQ(heard.framesAt(1186 + 50), 2 * buffer + 2205 - 4410);
    heard.setExtraDelay(-20);
    EXPECT_EQ(heard.framesAt(1186 + 50), 2 * buffer + 2205 + 882);
    heard.setExtraDelay(-1000);
    EXPECT_EQ(heard.framesAt(1186 + 50), 3 * buffer);
    heard.setExtraDelay(1000);
    EXPECT_EQ(heard.framesAt(1186 + 50), 0u);

    heard.restart(2000);
    heard.handed(buffer, 2000);
    EXPECT_EQ(heard.framesAt(2000 + 1093), 0u) << "the delay stays";
}

// Behind a layer that passes buffers on in pieces of its own, up to a buffer
// is not in the server yet: the answers bound the position from both sides.
TEST(HeardPosition, BehindALayerTheMiddleOfWhatTheAnswersLeaveCounts)
{
    HeardPosition heard(HeardPosition::Output::QueuedBehindALayer, rate);
    heard.restart(0);
    for (int handovers = 0; handovers < 3; ++handovers)
        heard.handed(buffer, 0);
    // At 100 ms the listener is at 4410 frames; of the 12288 handed, 7878 are
    // in the server then, or fewer by what the layer still holds.
    const std::uint64_t held[] = { 0, 2048, 4000 };
    std::uint32_t at = 100;
    for (const std::uint64_t layer : held) {
        heard.asked(at);
        const std::uint64_t inServer = 3 * buffer - 4410 - framesIn(at - 100) - layer;
        heard.queued(inServer * 1000000u / rate, at);
        at += 10;
    }
    // The bounds: at most 4410 (no frame held), at least 4410 - 95 (4000 of
    // 4096 held): the middle, 47 frames early.
    EXPECT_EQ(heard.framesAt(100), 4410u - 47u);
}
