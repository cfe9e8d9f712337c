#include "course/LinearCamera.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

namespace {

const glm::vec3 up(0.0f, 1.0f, 0.0f);

// The eye runs from (0,0,0) to (30,0,0) and the target from (0,0,-10) to (0,30,-10).
LinearCamera move(unsigned int duration)
{
    return LinearCamera({ 0, 0, 0 }, { 30, 0, 0 }, { 0, 0, -10 }, { 0, 30, -10 }, up, duration);
}

} // namespace

// A zero duration jumps to the end rather than to a NaN eye.
TEST(LinearCamera, ReachesEndOnlyOnExactDurationKeepsLastEyeWhenOverAndZeroDurationJumpsToEnd)
{
    LinearCamera camera = move(3000);
    camera.update(1000);
    EXPECT_FALSE(camera.update(999)) << "a time before the start wraps to a huge elapsed";
    EXPECT_TRUE(camera.update(2500));
    EXPECT_EQ(camera.position, glm::vec3(15, 0, 0));
    EXPECT_EQ(camera.direction, glm::vec3(0, 15, -10));
    EXPECT_TRUE(camera.update(4000));
    EXPECT_FALSE(camera.update(4016));
    EXPECT_EQ(camera.getViewMatrix(), glm::lookAt(glm::vec3(30, 0, 0), glm::vec3(0, 30, -10), up));

    LinearCamera late = move(3000);
    late.update(1000);
    EXPECT_TRUE(late.update(3990));
    EXPECT_FALSE(late.update(4006));
    EXPECT_NEAR(late.position.x, 30.0f * 2990.0f / 3000.0f, 1e-4);

    LinearCamera instant = move(0);
    instant.update(500);
    EXPECT_TRUE(instant.update(500));
    EXPECT_EQ(instant.position, glm::vec3(30, 0, 0));
    EXPECT_FALSE(instant.update(516));
}
