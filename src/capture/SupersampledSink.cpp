#include "capture/SupersampledSink.h"

SupersampledSink::SupersampledSink(FrameSink& output, unsigned factor)
    : output(output)
    , factor(factor)
{
}

Resolution SupersampledSink::frameSize(const Resolution& settingsSize)
{
    const Resolution size = output.frameSize(settingsSize);
    // At most 8192 x 4 a side: no overflow; the run refuses what its GL cannot draw.
    return { size.width * factor, size.height * factor };
}

bool SupersampledSink::take(std::uint32_t pass, const RgbFrame& frame)
{
    filterDown(frame, factor, filtered);
    return output.take(pass, filtered);
}

void SupersampledSink::filterDown(const RgbFrame& big, unsigned factor, RgbFrame& small)
{
    const std::size_t step = factor;
    small.width = static_cast<int>(static_cast<std::size_t>(big.width) / step);
    small.height = static_cast<int>(static_cast<std::size_t>(big.height) / step);
    const std::size_t width = static_cast<std::size_t>(small.width);
    const std::size_t height = static_cast<std::size_t>(small.height);
    const std::size_t bigRow = static_cast<std::size_t>(big.width) * 3;
    const unsigned samples = factor * factor;
    small.rgb.assign(width * height * 3, 0);
    std::vector<unsigned> sums(width * 3);
    for (std::size_t y = 0; y < height; ++y) {
        sums.assign(width * 3, 0);
        for (std::size_t row = y * step; row < (y + 1) * step; ++row) {
            const unsigned char* from = big.rgb.data() + row * bigRow;
            for (std::size_t x = 0; x < width * step; ++x)
                for (std::size_t c = 0; c < 3; ++c)
                    sums[(x / step) * 3 + c] += from[x * 3 + c];
        }
        unsigned char* to = small.rgb.data() + y * width * 3;
        for (std::size_t i = 0; i < width * 3; ++i)
            to[i] = static_cast<unsigned char>((sums[i] + samples / 2) / samples);
    }
}
