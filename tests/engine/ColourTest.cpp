#include "engine/Colour.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Colour, ChannelsAreTruncatedProductsOf255)
{
    const Colour colour(0.5f, 0.25f, 0.0f, 1.0f);
    EXPECT_EQ(colour.red, 127);
    EXPECT_EQ(colour.green, 63);
    EXPECT_EQ(colour.blue, 0);
    EXPECT_EQ(colour.alpha, 255);
}

TEST(Colour, OutOfRangeValuesWrapToTheLowEightBits)
{
    EXPECT_EQ(Colour::channel(1.5f), 126);    // 382 & 0xFF
    EXPECT_EQ(Colour::channel(2.0f), 254);    // 510 & 0xFF
    EXPECT_EQ(Colour::channel(-0.5f), 129);   // -127 in two's complement
    EXPECT_EQ(Colour::channel(-0.001f), 0);   // truncates toward zero
    EXPECT_EQ(Colour::channel(1e30f), Colour::channel(1e30f)); // defined, whatever it is
}

TEST(Colour, NonFiniteValuesGiveZero)
{
    EXPECT_EQ(Colour::channel(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(Colour::channel(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(Colour::channel(-std::numeric_limits<float>::infinity()), 0);
}
