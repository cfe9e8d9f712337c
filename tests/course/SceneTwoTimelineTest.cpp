#include "course/SceneTwoTimeline.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// The whole course in 16 ms steps, with the times of its events.
struct CourseTwo {
    CourseTwo()
    {
        for (bool running = true; running;) {
            const float pulseBefore = scene.pulseDistance;
            running = scene.update(16);
            const std::uint32_t t = scene.elapsed;
            if (running != (t <= 20000))
                wrongResult.push_back(t);
            if (scene.pulseDistance == 0.0f && pulseBefore != 0.0f)
                waves.push_back(t);
            if (scene.grown && !grownAt.count(scene.lastReset))
                grownAt[scene.lastReset] = t;
            radius[t] = scene.ball().radius;
            fade[t] = scene.fade;
            spin[t] = scene.spinAngle;
        }
    }
    SceneTwoTimeline scene;
    std::vector<std::uint32_t> wrongResult, waves;
    std::map<std::uint32_t, std::uint32_t> grownAt; // by the time of the last reset
    std::map<std::uint32_t, float> radius, fade, spin;
};

} // namespace

TEST(SceneTwoTimeline, BallGrowsHoldsShrinksAndRegrowsGreenUnderTheWaveAndTheFade)
{
    const CourseTwo course;
    EXPECT_TRUE(course.wrongResult.empty()) << "update must be false exactly from 20016";
    EXPECT_EQ(course.grownAt, (std::map<std::uint32_t, std::uint32_t> { { 0, 2256 }, { 10048, 12304 } }));
    // Every 2016 ms from 2048; the restarts at 10112 and 12128 find the pulse
    // at 0 already, the ball not being grown then.
    EXPECT_EQ(course.waves, (std::vector<std::uint32_t> { 2048, 4064, 6080, 8096, 14144, 16160, 18176 }));
    EXPECT_EQ(course.spin.at(2032), 0.0f);
    EXPECT_EQ(course.spin.at(2048), 2.0f);
    EXPECT_GE(course.radius.at(7984), 7.0f);
    EXPECT_LT(course.radius.at(8000), course.radius.at(7984)); // shrinking from d = 8000
    EXPECT_LT(course.radius.at(9392), 0.0f);
    EXPECT_EQ(course.radius.at(9392), course.radius.at(10032)) << "below 0 it stays";
    EXPECT_EQ(course.radius.at(10048), 0.0f);
    EXPECT_EQ(course.scene.points[0]->colour, glm::vec4(0.0f, 0.69f, 0.2f, 1.0f));
    EXPECT_EQ(course.radius.at(18032), course.radius.at(18016));
    EXPECT_LT(course.radius.at(18048), course.radius.at(18032)) << "shrinking again 8000 ms after the reset";
    const std::map<std::uint32_t, float> fades { { 16, 0.16f }, { 992, 9.92f }, { 1008, 10.0f }, { 19008, 9.92f },
        { 20000, 0.0f } };
    for (const auto& [time, fade] : fades)
        EXPECT_FLOAT_EQ(course.fade.at(time), fade) << time;
}
