#include "course/LinearInfluencePoint.h"

#include <gtest/gtest.h>

// Each update places the point for the time before its step (the scene
// three timeline's test follows a whole walk): half way along at the update
// that finds half the duration. A zero duration would divide 0 by 0.
TEST(InfluencePoints, LinearPointWalksToItsEndAndAZeroDurationStandsThere)
{
    const glm::vec3 start(5, 5, 5), end(28, 27, 25);
    LinearInfluencePoint point(start, end, 10000, glm::vec4(1, 0, 0, 1), 4.0f);
    while (point.elapsed < 5008)
        point.update(16);
    point.update(16);
    const float t = 5008.0f / 10000.0f;
    EXPECT_EQ(point.position, start * (1.0f - t) + t * end);

    LinearInfluencePoint instant(start, end, 0, glm::vec4(1), 1.0f);
    for (int i = 0; i < 3; ++i) {
        instant.update(i == 0 ? 0 : 16);
        EXPECT_EQ(instant.position, end) << i;
    }
}
