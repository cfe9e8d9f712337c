#include "course/FrameClock.h"
#include "FakeTime.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <vector>

using Sleeps = std::vector<std::uint32_t>;

TEST(FrameClock, FirstTickSleepsAFullPeriodThenPassesAreHeldToSixteenAndReportedOncePastEachSecond)
{
    struct Case {
        std::uint32_t start, work, sleep; // every pass's own work and the sleep that follows
        int fewest, most; // frames in one report
    };
    for (const Case& c : { Case { 1000, 5, 11, 62, 63 }, Case { 0, 20, 0, 50, 51 } }) {
        SCOPED_TRACE(c.work);
        LogCapture capture;
        FakeTime time;
        time.now = c.start;
        FrameClock clock(time);
        clock.tick();
        EXPECT_EQ(capture.out(), "");
        EXPECT_EQ(time.sleeps, Sleeps { 16 });
        time.sleeps.clear();
        for (int pass = 0; pass < 400; ++pass) {
            time.now += c.work;
            clock.tick();
        }
        EXPECT_EQ(time.sleeps, c.sleep == 0 ? Sleeps() : Sleeps(400, c.sleep));
        std::vector<int> counts;
        const std::string out = capture.out();
        for (size_t at = out.find("FPS: "); at != std::string::npos; at = out.find("FPS: ", at + 1))
            counts.push_back(std::stoi(out.substr(at + 5)));
        ASSERT_GE(counts.size(), 5u);
        for (int count : counts) {
            EXPECT_GE(count, c.fewest);
            EXPECT_LE(count, c.most);
        }
    }
}

// Each row: the times the limiter is called at, the sleeps it asks for, and
// where its schedule stands after the last call.
TEST(FrameClock, LimiterMakesUpOversleepAndNeitherSleepsNorStallsWhenTimeWrapsOrGoesBack)
{
    struct Case {
        std::vector<std::uint32_t> calls;
        Sleeps sleeps;
        std::uint32_t frameStart;
    };
    const Case cases[] = {
        // 3 ms of work sleeps 13; a sleep that ran long elsewhere is made up next
        // pass; a pass of the whole period sleeps nothing.
        { { 100, 119, 137, 164 }, { 16, 13, 11 }, 164 },
        // The schedule wraps to 0; a time before it gives a huge elapsed: no sleep, restart there.
        { { 0xFFFFFFF0u, 0xFFFFFFF8u }, { 16 }, 0xFFFFFFF8u },
        // Across the wrap: 11 ms since the last start, so 5 ms of sleep.
        { { 0xFFFFFFF0u, 0xFFFFFFF8u, 3u }, { 16, 5 }, 0xFFFFFFF8u + 16u },
    };
    for (const Case& c : cases) {
        FakeTime time;
        FrameLimiter limiter;
        for (std::uint32_t now : c.calls)
            limiter.wait(now, time);
        EXPECT_EQ(time.sleeps, c.sleeps) << c.calls.front();
        EXPECT_EQ(limiter.frameStart, c.frameStart) << c.calls.front();
    }
}
