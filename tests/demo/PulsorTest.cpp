#include "demo/Pulsor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<float> values(unsigned int period, const std::vector<unsigned int>& times)
{
    Pulsor pulsor(period);
    std::vector<float> out;
    for (unsigned int time : times) {
        pulsor.update(time);
        out.push_back(pulsor.value);
    }
    return out;
}

using Values = std::vector<float>;

} // namespace

TEST(Pulsor, FirstUpdateOnlyStartsTheCount)
{
    EXPECT_EQ(Pulsor(25).value, 0.0f);
    EXPECT_EQ(values(25, { 100000 }), Values { 0 });
}

TEST(Pulsor, FiresOnTheFirstStepStrictlyPastThePeriod)
{
    EXPECT_EQ(values(25, { 864, 880, 896, 912, 928 }), (Values { 0, 0, 1, 0, 1 }));
    EXPECT_EQ(values(500, { 1000, 1500, 1501, 2001 }), (Values { 0, 0, 1, 0 })) << "a gap equal to the period";
}

TEST(Pulsor, LongGapFiresAtOnceThenCountsFromThere)
{
    EXPECT_EQ(values(25, { 864, 5000, 5016, 5032 }), (Values { 0, 1, 0, 1 }));
}
