#include "course/SceneThreeTimeline.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(SceneThreeTimeline, BallsMeetAtTenSecondsAndThePulseRunsFromThenUnderItsCeiling)
{
    SceneThreeTimeline scene;
    const std::vector<glm::vec3> ends { { 28, 27, 25 }, { 25, 23, 25 }, { 22, 27, 25 } };
    float highest = 0.0f;
    std::vector<std::uint32_t> wrongPulse, wrongResult;
    for (bool running = true; running;) {
        running = scene.update(16);
        const std::uint32_t t = scene.elapsed;
        if (running != (t < 25000))
            wrongResult.push_back(t);
        const float expected = t < 2032 ? -1.0f : 0.0f;
        if (t <= 10000 && scene.pulseDistance != expected)
            wrongPulse.push_back(t);
        highest = std::max(highest, scene.pulseDistance);
        for (std::size_t p = 0; p < 3; ++p)
            EXPECT_EQ(scene.points[p]->position == ends[p], t >= 10016) << t << " point " << p;
        // Faded in over the first second and out over the last three.
        if (t == 496 || t == 24992) {
            EXPECT_NEAR(scene.fade, t == 496 ? 4.96f : 10.0f * 8.0f / 3000.0f, 1e-5f) << t;
        }
    }
    EXPECT_TRUE(wrongResult.empty());
    EXPECT_TRUE(wrongPulse.empty()) << wrongPulse.front();
    EXPECT_NEAR(highest, 125 * 0.7f, 1e-3f);
    EXPECT_EQ(scene.spinAngle, 25008.0f / 16.0f);
}
