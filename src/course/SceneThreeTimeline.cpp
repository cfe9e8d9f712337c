#include "course/SceneThreeTimeline.h"

#include "course/LinearInfluencePoint.h"
#include "course/SceneFade.h"

#include <glm/gtc/matrix_transform.hpp>

SceneThreeTimeline::SceneThreeTimeline()
    : camera({ 20, -10, -5 }, { 0, 0, -20 }, glm::vec3(0.0f), glm::vec3(0.0f), { 0, 1, 0 }, 20000)
{
    const glm::vec4 red(1.0f, 0.0f, 0.0f, 1.0f);
    points.push_back(
        std::make_unique<LinearInfluencePoint>(glm::vec3(5, 5, 5), glm::vec3(28, 27, 25), 10000, red, 4.0f));
    points.push_back(
        std::make_unique<LinearInfluencePoint>(glm::vec3(25, 5, 25), glm::vec3(25, 23, 25), 10000, red, 5.0f));
    points.push_back(
        std::make_unique<LinearInfluencePoint>(glm::vec3(50, 50, 5), glm::vec3(22, 27, 25), 10000, red, 4.0f));
}

bool SceneThreeTimeline::update(unsigned int step)
{
    elapsed += step;
    fade = sceneFade(elapsed, 22000, 3000.0);
    spinAngle += 1.0f;
    for (const auto& point : points)
        point->update(step);
    if (elapsed > 10000)
        pulseDistance += 0.7f;
    // Updated before it is read: a pulse takes effect in the update it fires in.
    wavePulse.update(elapsed);
    if (wavePulse.value == 1.0f)
        pulseDistance = 0.0f;
    return elapsed < endTime;
}

glm::mat4 SceneThreeTimeline::view()
{
    camera.update(elapsed);
    return camera.getViewMatrix();
}

glm::mat4 SceneThreeTimeline::world() const
{
    return glm::rotate(glm::mat4(1.0f), glm::radians(spinAngle), glm::vec3(0.0f, 1.0f, 0.0f));
}
