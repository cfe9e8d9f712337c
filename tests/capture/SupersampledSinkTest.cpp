#include "capture/SupersampledSink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The output the supersampled sink hands its frames to.
class KeptFrames : public FrameSink {
public:
    Resolution frameSize(const Resolution&) override { return { 3, 2 }; }
    bool wants(std::uint32_t) override { return true; }
    bool take(std::uint32_t, const RgbFrame& frame) override
    {
        frames.push_back(frame);
        return true;
    }
    void passDone(std::uint32_t) override { }
    void drawnBy(const std::string&) override { }
    std::vector<RgbFrame> frames;
};

} // namespace

// A frame drawn at twice the output's size a side: each 2x2 block of it is
// one output pixel, its mean rounded to nearest, in the frame's own order
// of rows and columns.
TEST(SupersampledSink, DrawsAtTheFactorsSizeAndHandsOnEachBlocksMean)
{
    KeptFrames output;
    SupersampledSink sink(output, 2);
    const Resolution drawn = sink.frameSize({ 800, 640 });
    EXPECT_EQ(drawn.width, 6u);
    EXPECT_EQ(drawn.height, 4u);

    RgbFrame big { 6, 4, std::vector<unsigned char>(6 * 4 * 3, 0) };
    const auto set = [&big](int x, int y, unsigned char r, unsigned char g, unsigned char b) {
        unsigned char* at = &big.rgb[static_cast<std::size_t>((y * big.width + x) * 3)];
        at[0] = r;
        at[1] = g;
        at[2] = b;
    };
    // Block (0, 0): red 1, 1, 1, 0 averages 0.75, rounded up; green across a side.
    set(0, 0, 1, 255, 0);
    set(1, 0, 1, 255, 0);
    set(0, 1, 1, 0, 0);
    // Block (2, 1), the top right: blue 2 in one pixel of four rounds to 1 (0.5 up).
    set(5, 3, 0, 0, 2);
    // Block (1, 0): all 200.
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x)
            set(x, y, 200, 200, 200);
    ASSERT_TRUE(sink.take(7, big));
    ASSERT_EQ(output.frames.size(), 1u);
    const RgbFrame& small = output.frames[0];
    EXPECT_EQ(small.width, 3);
    EXPECT_EQ(small.height, 2);
    const std::vector<unsigned char> expected { 1, 128, 0, 200, 200, 200, 0, 0, 0, //
        0, 0, 0, 0, 0, 0, 0, 0, 1 };
    EXPECT_EQ(small.rgb, expected);
}
