#include "capture/FrameWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

RgbFrame frameOf(unsigned char value)
{
    return RgbFrame { 1, 1, { value, value, value } };
}

} // namespace

// Frames are written in the order handed over, each as it was when handed
// over (the caller reuses its buffer), and a drain waits for the last.
TEST(FrameWriter, WritesEveryFrameInOrderAsItWasHandedOver)
{
    std::vector<int> written, handed;
    FrameWriter writer(2);
    RgbFrame reused = frameOf(0);
    for (unsigned char k = 1; k <= 20; ++k) {
        reused.rgb.assign(3, k);
        handed.push_back(k);
        EXPECT_TRUE(writer.push(reused, [&written](const RgbFrame& frame) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            written.push_back(frame.rgb[0]);
            return true;
        }));
    }
    EXPECT_TRUE(writer.drain());
    EXPECT_EQ(written, handed);
}

// A failed write stops the writer: later frames are refused, and a drain
// says it failed; cancelling drops what waits without writing it.
TEST(FrameWriter, AFailedWriteRefusesLaterFramesAndCancelDropsWhatWaits)
{
    FrameWriter failing(4);
    EXPECT_TRUE(failing.push(frameOf(1), [](const RgbFrame&) { return false; }));
    EXPECT_FALSE(failing.drain());
    EXPECT_TRUE(failing.failed());
    EXPECT_FALSE(failing.push(frameOf(2), [](const RgbFrame&) { return true; }));

    std::atomic<int> written { 0 };
    std::atomic<bool> release { false };
    FrameWriter slow(4);
    slow.push(frameOf(1), [&](const RgbFrame&) {
        while (!release)
            std::this_thread::yield();
        ++written;
        return true;
    });
    for (unsigned char k = 2; k <= 4; ++k)
        slow.push(frameOf(k), [&](const RgbFrame&) { return ++written > 0; });
    std::thread letGo([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        release = true;
    });
    slow.cancel();
    letGo.join();
    EXPECT_LE(written.load(), 1) << "only the frame being written when cancelled";
    EXPECT_TRUE(slow.drain());
}
