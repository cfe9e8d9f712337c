#include "course/SceneTwoTimeline.h"

#include "course/SceneFade.h"

#include <glm/gtc/matrix_transform.hpp>

SceneTwoTimeline::SceneTwoTimeline()
    : camera({ 10, 10, -10 }, { 10, 10, -10 }, glm::vec3(0.0f), glm::vec3(0.0f), { 0, 1, 0 }, 30000)
{
    points.push_back(std::make_unique<StaticInfluencePoint>(glm::vec3(25.0f), glm::vec4(1.0f, 0.7f, 0.0f, 1.0f), 0.0f));
}

bool SceneTwoTimeline::update(unsigned int step)
{
    elapsed += step;
    fade = sceneFade(elapsed, 19000, 1000.0);

    InfluencePoint& point = ball();
    const std::uint32_t sinceReset = elapsed - lastReset;
    if (sinceReset < 3000) {
        if (point.radius < grownRadius)
            point.radius += 0.05f;
        else
            grown = true;
    } else if (sinceReset >= 8000 && point.radius > 0.0f) {
        // May end a little below 0, where it stays until the next reset.
        point.radius -= 0.08f;
        grown = false;
    }
    if (grown)
        pulseDistance += 0.8f;
    // The pulsors are read before they are updated: a pulse takes effect in
    // the update after the one in which it fired.
    if (wavePulse.value == 1.0f) {
        spinning = true;
        pulseDistance = 0.0f;
    }
    if (resetPulse.value == 1.0f) {
        point.radius = 0.0f;
        ++paletteIndex;
        point.colour = palette[paletteIndex % palette.size()];
        lastReset = elapsed;
    }
    resetPulse.update(elapsed);
    wavePulse.update(elapsed);
    if (spinning)
        spinAngle += 2.0f;
    return elapsed <= endTime;
}

glm::mat4 SceneTwoTimeline::view()
{
    camera.update(elapsed);
    return camera.getViewMatrix();
}

glm::mat4 SceneTwoTimeline::world() const
{
    return glm::rotate(glm::mat4(1.0f), glm::radians(spinAngle), spinAxis);
}
