#include "course/SceneOneTimeline.h"
#include "course/RunRandom.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <cstdlib>
#include <map>
#include <vector>

namespace {

// Steps of 16 ms, as the sequencer gives them, until elapsed reaches `time`.
void advanceTo(SceneOneTimeline& scene, std::uint32_t time)
{
    while (scene.elapsed < time)
        scene.update(16);
}

// The whole course as the sequencer drives it (render's view, then update), with the times of its events.
struct Course {
    Course()
    {
        for (bool running = true; running;) {
            scene.view();
            running = scene.update(16);
            const std::uint32_t t = scene.elapsed;
            if (running != (t <= 29000))
                wrongResult.push_back(t);
            if (scene.sweepRestart.value == 1.0f)
                sweepRestarts.push_back(t);
            for (std::size_t k = 0; k < 3; ++k)
                if (scene.stripAlpha[k] == 1.0f - 0.05f)
                    stripShown[k].push_back(t);
            armLength[t] = scene.armLength;
            spin[t] = scene.spinAngle;
            alpha0[t] = scene.stripAlpha[0];
        }
    }
    SceneOneTimeline scene;
    std::vector<std::uint32_t> wrongResult, sweepRestarts, stripShown[3];
    std::map<std::uint32_t, int> armLength;
    std::map<std::uint32_t, float> spin, alpha0;
};

std::vector<std::uint32_t> every(std::uint32_t first, std::uint32_t period, std::uint32_t last)
{
    std::vector<std::uint32_t> times;
    for (std::uint32_t t = first; t <= last; t += period)
        times.push_back(t);
    return times;
}

} // namespace

TEST(SceneOneTimeline, WholeCourseFollowsTheEventTableAndTheCameraStarts)
{
    EXPECT_EQ(SceneOneTimeline().view(), glm::lookAt(glm::vec3(10, -10, -20), glm::vec3(0), glm::vec3(0, 1, 0)));
    seedRunRandom(11);
    Course course;
    // One draw per strip shown and no other, so that a seed replays the same
    // strips and anything drawing from the sequence later sees the same numbers.
    const std::int32_t next = runRandom();
    seedRunRandom(11);
    for (int shown = 0; shown < 11 + 11 + 4; ++shown)
        runRandom();
    EXPECT_EQ(runRandom(), next);
    // Each camera starts on its first render, not on an update.
    EXPECT_EQ(course.scene.cameras[0].startTime, 16u);
    EXPECT_EQ(course.scene.cameras[6].startTime, 24000u);
    EXPECT_TRUE(course.wrongResult.empty()) << "update must be false exactly from 29008";
    EXPECT_EQ(course.sweepRestarts, every(2768, 1904, 29008));
    EXPECT_EQ(course.stripShown[0], every(9008, 1904, 29008));
    EXPECT_EQ(course.stripShown[1], every(9216, 1904, 29008));
    EXPECT_EQ(course.stripShown[2], every(15312, 3808, 29008));
    EXPECT_FLOAT_EQ(course.alpha0.at(9024), 0.9f);
    EXPECT_EQ(course.alpha0.at(10896), 0.0f) << "a faded strip rests at 0, not below";
    EXPECT_EQ(course.spin.at(29008), 813.0f) << "a degree a step from 16016";
    EXPECT_EQ(course.armLength.at(24000), 10);
    EXPECT_EQ(course.armLength.at(24016), 9) << "a ring less every 512 ms";
    EXPECT_EQ(course.armLength.at(28608), 1);
    EXPECT_EQ(course.armLength.at(28624), 0);
    EXPECT_EQ(course.armLength.at(29008), 0);
    EXPECT_EQ(course.scene.drawnCubeCount(), 0u);
    course.scene.elapsed = 30000;
    EXPECT_EQ(course.scene.view(), glm::lookAt(glm::vec3(10, -10, 10), glm::vec3(0), glm::vec3(0, 1, 0)));
}

// The highlighted range starts one record before its ring, so a restarted
// sweep shows ring 2 first and a sweep at 10 lies past the drawn records.
TEST(SceneOneTimeline, RestartedSweepShowsRingTwoFirstAndSweepAtTenHighlightsNoDrawnCube)
{
    SceneOneTimeline scene;
    const std::map<std::uint32_t, int> expected { { 848, 0 }, { 864, 1 }, { 880, 1 }, { 896, 2 }, { 1152, 10 },
        { 1168, 0 }, { 2752, 0 }, { 2768, 2 }, { 2800, 3 } };
    for (const auto& [time, sweep] : expected) {
        advanceTo(scene, time);
        ASSERT_EQ(scene.sweep, sweep) << time;
        for (std::size_t i = 0; i < scene.drawnCubeCount(); ++i)
            EXPECT_EQ(scene.cubeColour(i) == glm::vec4(1.0f), i == 0 || (sweep > 0 && int(i / 6) == sweep))
                << time << ": " << i;
    }
}
