#include "demo/FrameClock.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Sleeps = std::vector<std::uint32_t>;

// A clock whose time moves only by the work the test simulates and the sleeps
// the limiter asks for.
class FakeTime : public TimeSource {
public:
    explicit FakeTime(std::uint32_t start)
        : now(start)
    {
    }
    std::uint32_t ticks() override { return now; }
    void delay(std::uint32_t ms) override
    {
        sleeps.push_back(ms);
        now += ms;
    }
    std::uint32_t now;
    Sleeps sleeps;
};

} // namespace

TEST(FrameClock, FirstTickSleepsAFullPeriodThenPassesAreHeldToSixteenAndReportedOncePastEachSecond)
{
    struct Case {
        std::uint32_t start, work, sleep; // every pass's own work and the sleep that follows
        int fewest, most; // frames in one report
    };
    for (const Case& c : { Case { 1000, 5, 11, 62, 63 }, Case { 0, 20, 0, 50, 51 } }) {
        SCOPED_TRACE(c.work);
        LogCapture capture;
        FakeTime time(c.start);
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

TEST(FrameClock, ReportNeedsStrictlyMoreThanOneSecond)
{
    LogCapture capture;
    FpsCounter counter;
    for (std::uint32_t now : { 0u, 500u, 1000u })
        counter.frame(now);
    EXPECT_EQ(capture.out(), "");
    counter.frame(1001);
    EXPECT_EQ(capture.out(), "FPS: 3\n");
    EXPECT_EQ(counter.frameCount, 0u);
}

TEST(FrameClock, OversleepIsMadeUpByTheNextPass)
{
    FakeTime time(0);
    FrameLimiter limiter;
    limiter.wait(100, time); // schedule starts at 100, sleeps 16
    time.sleeps.clear();
    limiter.wait(116 + 3, time); // 3 ms of work: sleeps 13, schedule at 132
    limiter.wait(132 + 5, time); // the sleep ran long elsewhere, but the schedule holds
    EXPECT_EQ(time.sleeps, (Sleeps { 13u, 11u }));
}

TEST(FrameClock, CounterWrapOrTimeGoingBackNeitherSleepsNorStalls)
{
    FakeTime time(0);
    FrameLimiter limiter;
    limiter.wait(0xFFFFFFF0u, time); // first tick: schedule at 0xFFFFFFF0 + 16, which wraps to 0
    EXPECT_EQ(limiter.frameStart, 0u);
    time.sleeps.clear();
    limiter.wait(0xFFFFFFF8u, time); // before the schedule: a huge unsigned elapsed
    EXPECT_TRUE(time.sleeps.empty());
    EXPECT_EQ(limiter.frameStart, 0xFFFFFFF8u);
    limiter.wait(3u, time); // after the wrap: 11 ms since the last start, so 5 ms of sleep
    EXPECT_EQ(time.sleeps, Sleeps { 5u });
}
