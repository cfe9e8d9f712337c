#pragma once

#include "core/RgbFrame.h"
#include "course/FrameSink.h"

// A capture drawn `factor` times as wide and high as its output asks, each
// frame filtered down to the output's size before the output takes it:
// edges come out smooth, the rest as the plain capture draws it (what the
// passes measure in pixels follows the frame's size). Memory and time grow
// with the factor's square.
class SupersampledSink : public FrameSink {
public:
    static constexpr unsigned largestFactor = 4;

    // `output` is borrowed and must outlive this.
    SupersampledSink(FrameSink& output, unsigned factor);

    Resolution frameSize(const Resolution& settingsSize) override;
    bool wants(std::uint32_t pass) override { return output.wants(pass); }
    bool take(std::uint32_t pass, const RgbFrame& frame) override;
    void passDone(std::uint32_t pass) override { output.passDone(pass); }
    void drawnBy(const std::string& renderer) override { output.drawnBy(renderer); }

    // Each `factor` x `factor` block of `big` averaged, rounded to nearest,
    // into one pixel of `small`; sides are those of `big` divided by `factor`.
    static void filterDown(const RgbFrame& big, unsigned factor, RgbFrame& small);

private:
    FrameSink& output;
    unsigned factor;
    RgbFrame filtered;
};
