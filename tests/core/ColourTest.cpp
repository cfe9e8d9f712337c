#include "core/Colour.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <utility>

TEST(Colour, ChannelsTruncateWrapToTheLowEightBitsAndNonFiniteGivesZero)
{
    const Colour colour(0.5f, 0.25f, 0.0f, 1.0f);
    EXPECT_EQ((std::array<int, 4> { colour.red, colour.green, colour.blue, colour.alpha }),
        (std::array<int, 4> { 127, 63, 0, 255 }));
    const float infinity = std::numeric_limits<float>::infinity();
    // 1.5 gives 382 & 0xFF; -0.5 gives -127 in two's complement; 1e30 * 255 is a multiple of 256.
    const std::pair<float, int> cases[] = { { 1.5f, 126 }, { 2.0f, 254 }, { -0.5f, 129 }, { -0.001f, 0 }, { 1e30f, 0 },
        { std::numeric_limits<float>::quiet_NaN(), 0 }, { infinity, 0 }, { -infinity, 0 } };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(Colour::channel(value), expected) << value;
}
