#include "course/HeardPosition.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t rate = 48000; // 48 frames a millisecond
constexpr std::int64_t ms = 1000; // microseconds

std::int64_t frames(std::int64_t milliseconds)
{
    return milliseconds * 48;
}

// A stream started with a second handed over, then answered every 40 ms
// from 1000 ms on as an output 100 ms behind its queue would: at t, frame
// (t - 1100 ms) of it is heard.
HeardPosition answeredUpTo(std::int64_t lastAnswerMs)
{
    HeardPosition heard(rate);
    heard.restart();
    heard.handed(static_cast<std::uint64_t>(frames(10000)));
    for (std::int64_t t = 1000; t <= lastAnswerMs; t += 40)
        heard.answered(frames(t - 1100), t * ms);
    return heard;
}

} // namespace

// Before the output's first answer the listener has heard nothing, whatever
// the extra delay; after it the position runs on with the clock between
// answers, never past what was handed over.
TEST(HeardPosition, RunsOnWithTheClockBetweenAnswersNeverPastWhatWasHanded)
{
    HeardPosition heard(rate);
    heard.restart();
    heard.setExtraDelay(-300);
    heard.handed(static_cast<std::uint64_t>(frames(500)));
    EXPECT_EQ(heard.framesAt(2000 * ms), 0) << "nothing is heard before the output says so";
    heard.setExtraDelay(0);
    heard.answered(frames(-40), 1000 * ms); // 40 ms of what the output played before
    EXPECT_EQ(heard.framesAt(1000 * ms), frames(-40));
    EXPECT_EQ(heard.millisecondsAt(1000 * ms), 0u);
    EXPECT_EQ(heard.millisecondsAt(1100 * ms), 60u);
    EXPECT_EQ(heard.framesAt(1700 * ms), frames(160)) << "at most the carry limit past the last answer";
    heard.answered(frames(400), 1500 * ms);
    EXPECT_EQ(heard.framesAt(1700 * ms), frames(500)) << "never past what was handed";
}

// Now and then an answer is plainly wrong: the listener goes by the middle of
// the last few. An output that stops answering, or answers the same frame
// again (a server stopped, a device that hangs), stands still past the carry
// limit; once it plays again the listener follows within a few answers.
TEST(HeardPosition, NoSingleAnswerMovesTheListenerAndAStalledOutputStandsStillUntilItPlaysAgain)
{
    HeardPosition heard = answeredUpTo(1400);
    EXPECT_EQ(heard.framesAt(1420 * ms), frames(320));
    heard.answered(frames(1440 - 1000), 1440 * ms); // nothing queued, it says: all it was handed is heard
    EXPECT_EQ(heard.framesAt(1450 * ms), frames(350));
    heard.answered(frames(1480 - 1300), 1480 * ms); // 200 ms more queued than there is
    EXPECT_EQ(heard.framesAt(1490 * ms), frames(390));

    HeardPosition silent = answeredUpTo(1400);
    EXPECT_EQ(silent.framesAt(5000 * ms), frames(300) + frames(200));
    HeardPosition stuck = answeredUpTo(1400);
    for (std::int64_t t = 1440; t <= 3000; t += 40)
        stuck.answered(frames(300), t * ms);
    EXPECT_EQ(stuck.framesAt(3100 * ms), frames(500));
    for (std::int64_t t = 3040; t <= 3240; t += 40)
        stuck.answered(frames(300 + t - 3000), t * ms);
    EXPECT_EQ(stuck.framesAt(3250 * ms), frames(550));
}

// --audio-delay: a positive delay puts the listener back, a negative one
// ahead, by its value, smoothly, and past what was handed over (the delay is
// after the output).
TEST(HeardPosition, AnExtraDelayMovesTheListenerByItsValueInEitherDirection)
{
    HeardPosition heard = answeredUpTo(1400);
    heard.setExtraDelay(100);
    EXPECT_EQ(heard.framesAt(1420 * ms), frames(220));
    heard.setExtraDelay(-1000);
    EXPECT_EQ(heard.framesAt(1420 * ms), frames(1320));
    heard.setExtraDelay(-10000);
    EXPECT_EQ(heard.millisecondsAt(1420 * ms), 10320u) << "past what was handed";
    heard.setExtraDelay(1000);
    EXPECT_EQ(heard.millisecondsAt(1420 * ms), 0u) << "not heard yet";
}

// A pause holds the listener where it was heard; the answers from before
// it no longer say where the stream started, and the ones during it are left
// out; a restart begins again from its first frame.
TEST(HeardPosition, APauseHoldsThePositionAndARestartBeginsAgain)
{
    HeardPosition heard = answeredUpTo(1400);
    heard.hold(1420 * ms);
    heard.answered(frames(320), 1800 * ms);
    EXPECT_EQ(heard.framesAt(5000 * ms), frames(320));
    heard.go();
    EXPECT_EQ(heard.framesAt(5030 * ms), frames(320)) << "until the output answers again";
    heard.answered(frames(340), 5040 * ms);
    EXPECT_EQ(heard.framesAt(5060 * ms), frames(360));

    heard.restart(frames(1000));
    EXPECT_EQ(heard.framesAt(6000 * ms), frames(1000));
    heard.handed(static_cast<std::uint64_t>(frames(200)));
    heard.answered(frames(50), 6000 * ms);
    EXPECT_EQ(heard.framesAt(6100 * ms), frames(1150));
    EXPECT_EQ(heard.framesAt(6400 * ms), frames(1200)) << "handed counts from the restart";
}
