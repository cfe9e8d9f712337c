#include "demo/FrameClock.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A clock whose time moves only by the work the test simulates and the sleeps
// the limiter asks for.
class FakeTime : public TimeSource {
public:
    explicit FakeTime(std::uint32_t start) : now(start) {}
    std::uint32_t ticks() override { return now; }
    void delay(std::uint32_t ms) override
    {
        sleeps.push_back(ms);
        now += ms;
    }
    std::uint32_t now;
    std::vector<std::uint32_t> sleeps;
};

// The "FPS: N" counts found in the captured output.
std::vector<int> reportedCounts(const std::string& out)
{
    std::vector<int> counts;
    for (size_t at = out.find("FPS: "); at != std::string::npos; at = out.find("FPS: ", at + 1))
        counts.push_back(std::stoi(out.substr(at + 5)));
    return counts;
}

} // namespace

TEST(FrameClock, FirstTickLogsNothingAndSleepsAFullPeriod)
{
    LogCapture capture;
    FakeTime time(5000);
    FrameClock clock(time);
    clock.tick();
    EXPECT_EQ(capture.out(), "");
    ASSERT_EQ(time.sleeps.size(), 1u);
    EXPECT_EQ(time.sleeps[0], 16u);
    EXPECT_EQ(clock.fps.frameCount, 0u);
}

TEST(FrameClock, ShortPassesSleepTheRestAndReportAboutSixtyTwoFrames)
{
    LogCapture capture;
    FakeTime time(1000);
    FrameClock clock(time);
    for (int pass = 0; pass < 400; ++pass) {
        time.now += 5; // the pass's own work
        clock.tick();
    }
    for (size_t i = 1; i < time.sleeps.size(); ++i)
        ASSERT_EQ(time.sleeps[i], 11u) << "pass " << i;
    const std::vector<int> counts = reportedCounts(capture.out());
    ASSERT_GE(counts.size(), 5u);
    for (int count : counts) {
        EXPECT_GE(count, 62);
        EXPECT_LE(count, 63);
    }
}

TEST(FrameClock, LongPassesNeverSleepAndReportAboutFiftyFrames)
{
    LogCapture capture;
    FakeTime time(0);
    FrameClock clock(time);
    clock.tick(); // the first tick always sleeps
    time.sleeps.clear();
    for (int pass = 0; pass < 300; ++pass) {
        time.now += 20;
        clock.tick();
    }
    EXPECT_TRUE(time.sleeps.empty());
    for (int count : reportedCounts(capture.out())) {
        EXPECT_GE(count, 50);
        EXPECT_LE(count, 51);
    }
}

TEST(FrameClock, OversleepIsMadeUpByTheNextPass)
{
    FakeTime time(0);
    FrameLimiter limiter;
    limiter.wait(100, time); // schedule starts at 100, sleeps 16
    time.sleeps.clear();
    limiter.wait(116 + 3, time); // 3 ms of work: sleeps 13, schedule at 132
    limiter.wait(132 + 5, time); // the sleep ran long elsewhere, but the schedule holds
    EXPECT_EQ(time.sleeps, (std::vector<std::uint32_t>{13u, 11u}));
    EXPECT_EQ(limiter.frameStart, 148u);
}

TEST(FrameClock, ReportNeedsStrictlyMoreThanOneSecond)
{
    LogCapture capture;
    FpsCounter counter;
    counter.frame(0);
    counter.frame(500);
    counter.frame(1000);
    EXPECT_EQ(capture.out(), "");
    counter.frame(1001);
    EXPECT_EQ(capture.out(), "FPS: 3\n");
    EXPECT_EQ(counter.lastReport, 1001u);
    EXPECT_EQ(counter.frameCount, 0u);
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
    EXPECT_EQ(time.sleeps, (std::vector<std::uint32_t>{5u}));
}
