#include "demo/Pulsor.h"

#include <gtest/gtest.h>

#include <vector>

using Values = std::vector<float>;

// The values after each update; the first update only starts the count, and a
// pulse fires on the first step strictly past the period.
static Values pulses(unsigned int period, const std::vector<unsigned int>& times)
{
    Pulsor pulsor(period);
    Values out;
    for (unsigned int time : times) {
        pulsor.update(time);
        out.push_back(pulsor.value);
    }
    return out;
}

TEST(Pulsor, FiresOnTheFirstStepStrictlyPastThePeriodCountingFromTheFirstUpdate)
{
    EXPECT_EQ(Pulsor(25).value, 0.0f);
    EXPECT_EQ(pulses(25, { 100000 }), Values { 0 });
    EXPECT_EQ(pulses(25, { 864, 880, 896, 912, 928 }), (Values { 0, 0, 1, 0, 1 }));
    EXPECT_EQ(pulses(500, { 1000, 1500, 1501, 2001 }), (Values { 0, 0, 1, 0 })) << "a gap equal to the period";
    EXPECT_EQ(pulses(25, { 864, 5000, 5016, 5032 }), (Values { 0, 1, 0, 1 })) << "a long gap fires once";
}
