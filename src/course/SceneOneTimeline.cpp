#include "course/SceneOneTimeline.h"

#include "course/RunRandom.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

const glm::vec3 origin(0.0f);
const glm::vec3 yUp(0.0f, 1.0f, 0.0f);

LinearCamera shot(const glm::vec3& from, const glm::vec3& to, unsigned int duration)
{
    return LinearCamera(from, to, origin, origin, yUp, duration);
}

// A stretch of elapsed time over which fade runs from 0 to 10 (rising) or from
// 10 to 0 (falling), t growing by 1 every `length` ms from `first`.
struct Ramp {
    std::uint32_t first;
    std::uint32_t last;
    bool rising;
    double length;
};

// Outside these stretches fade is 10. The rising ramps run on past t = 1 on
// purpose: the picture brightens until the falling ramp of the same shot,
// which starts again from 10.
constexpr Ramp ramps[] = {
    { 0, 999, true, 1000 },
    { 2500, 2999, false, 500 },
    { 3000, 5499, true, 1000 },
    { 5500, 5999, false, 500 },
    { 6000, 8499, true, 1000 },
    { 8500, 8999, false, 500 },
    { 9000, 13499, true, 1000 },
    { 13500, 13999, false, 500 },
    { 14000, 18499, true, 1000 },
    { 18500, 18999, false, 500 },
    { 19000, 23499, true, 1000 },
    { 23500, 23999, false, 500 },
    { 24000, 27999, true, 1000 },
    { 28000, 28999, false, 1000 },
};

} // namespace

SceneOneTimeline::SceneOneTimeline()
    : cameras { shot({ 10, -10, -20 }, { -10, -10, -20 }, 3000), shot({ 10, 5, 20 }, { 10, 5, 5 }, 3000),
        shot({ -5, 10, 20 }, { -10, -10, 20 }, 3000), shot({ 20, 5, 15 }, { -20, -5, 20 }, 5000),
        shot({ -5, 20, 10 }, { -10, -10, 20 }, 5000), shot({ 15, 5, 5 }, { -10, -10, 20 }, 5000),
        shot({ 10, -10, 10 }, { 10, -10, 10 }, 5000) }
{
    const glm::vec3 noRotation(0.0f);
    const glm::vec3 doubleSize(2.0f);
    cubes.reserve(1 + 6 * static_cast<std::size_t>(armLength));
    cubes.push_back({ glm::vec3(-1.0f), noRotation, doubleSize, glm::vec4(1.0f) });
    for (int n = 0; n < armLength; ++n) {
        const float v = static_cast<float>(n) / 10.0f;
        const float out = static_cast<float>(-1 - n);
        const float in = static_cast<float>(n - 1);
        const glm::vec4 red(v, 0, 0, 1), green(0, v, 0, 1), blue(0, 0, v, 1);
        cubes.push_back({ { out, -1, -1 }, noRotation, doubleSize, red });
        cubes.push_back({ { in, -1, -1 }, noRotation, doubleSize, red });
        cubes.push_back({ { -1, in, -1 }, noRotation, doubleSize, green });
        cubes.push_back({ { -1, out, -1 }, noRotation, doubleSize, green });
        cubes.push_back({ { -1, -1, in }, noRotation, doubleSize, blue });
        cubes.push_back({ { -1, -1, out }, noRotation, doubleSize, blue });
    }
}

void SceneOneTimeline::updateFade()
{
    fade = 10.0f;
    for (const Ramp& ramp : ramps) {
        if (elapsed < ramp.first || elapsed > ramp.last)
            continue;
        const float t = static_cast<float>(static_cast<double>(elapsed - ramp.first) / ramp.length);
        const float from = ramp.rising ? 0.0f : 10.0f;
        const float to = ramp.rising ? 10.0f : 0.0f;
        fade = from * (1.0f - t) + to * t;
        return;
    }
}

void SceneOneTimeline::showStrip(std::size_t k)
{
    double x = static_cast<double>(runRandom()) / static_cast<double>(RunRandom::max);
    if (k == 0)
        x = -x;
    const float left = static_cast<float>(x);
    stripLow.at(k) = glm::vec2(left, -1.0f);
    stripHigh.at(k) = glm::vec2(left + 0.2f, 1.0f);
    stripAlpha.at(k) = 1.0f;
}

bool SceneOneTimeline::update(unsigned int step)
{
    elapsed += step;
    updateFade();

    if (elapsed > 850) {
        if (!sweepStarted) {
            sweepStarted = true;
            sweep = 1;
        }
        sweepRestart.update(elapsed);
    }
    if (elapsed > 16000)
        spinAngle += 1.0f;
    // The run's random sequence is drawn in this order, first shows before
    // re-shows, so a seed gives the same strips every run.
    const std::array<std::uint32_t, stripCount> stripFrom { 9000, 9200, 15300 };
    for (std::size_t k = 0; k < stripCount; ++k) {
        if (elapsed > stripFrom[k]) {
            if (!stripStarted[k]) {
                stripStarted[k] = true;
                showStrip(k);
            }
            stripPulse[k].update(elapsed);
        }
    }
    if (elapsed > 24000) {
        if (!shrinkStarted) {
            shrinkStarted = true;
            armLength -= 1;
        }
        shrinkPulse.update(elapsed);
    }
    if (shrinkPulse.value == 1.0f && armLength > 0)
        armLength -= 1;
    for (std::size_t k = 0; k < stripCount; ++k) {
        if (stripPulse[k].value == 1.0f)
            showStrip(k);
    }
    // A just-shown strip already loses its first 0.05 here; the last step may
    // end a little below 0, which the next update turns into 0.
    for (float& alpha : stripAlpha)
        alpha = alpha > 0.0f ? alpha - 0.05f : 0.0f;

    if (sweepRestart.value == 1.0f)
        sweep = 1;
    if (sweep >= 10)
        sweep = 0;
    // sweepStep sleeps while no sweep runs, so it fires at once when one
    // restarts and the first frame shows ring 2, not ring 1.
    if (sweep != 0) {
        sweepStep.update(elapsed);
        if (sweepStep.value == 1.0f)
            sweep += 1;
    }
    return elapsed <= endTime;
}

std::size_t SceneOneTimeline::cameraIndex() const
{
    std::size_t index = 0;
    while (index + 1 < cameraCount && elapsed >= cameraStarts[index + 1])
        ++index;
    return index;
}

glm::mat4 SceneOneTimeline::view()
{
    LinearCamera& camera = cameras[cameraIndex()];
    camera.update(elapsed);
    return camera.getViewMatrix();
}

glm::mat4 SceneOneTimeline::world() const
{
    return glm::rotate(glm::mat4(1.0f), glm::radians(spinAngle), spinAxis);
}

glm::mat4 SceneOneTimeline::cubeModel(const glm::mat4& world, std::size_t i) const
{
    const ColouredCube& c = cubes.at(i);
    glm::mat4 m = glm::scale(world, c.scale);
    m = glm::translate(m, c.position);
    m = glm::rotate(m, glm::radians(c.rotation.x), glm::vec3(1.0f, 0.0f, 0.0f));
    m = glm::rotate(m, glm::radians(c.rotation.y), glm::vec3(0.0f, 1.0f, 0.0f));
    return glm::rotate(m, glm::radians(c.rotation.z), glm::vec3(0.0f, 0.0f, 1.0f));
}

glm::vec4 SceneOneTimeline::cubeColour(std::size_t i) const
{
    const ColouredCube& c = cubes.at(i);
    if (i == 0 || sweep <= 0)
        return c.colour;
    // The highlighted range starts one record before ring `sweep`; at sweep 10
    // it lies past the drawn records, so nothing shows white.
    const std::size_t first = 6 * static_cast<std::size_t>(sweep);
    return i >= first && i < first + 6 ? glm::vec4(1.0f) : c.colour;
}

std::size_t SceneOneTimeline::drawnCubeCount() const
{
    return armLength > 0 ? 6 * static_cast<std::size_t>(armLength) : 0;
}

float SceneOneTimeline::stripAlphaDrawn(int k) const
{
    if (k < 0 || k >= static_cast<int>(stripCount))
        throw std::out_of_range("SceneOneTimeline: no strip " + std::to_string(k));
    if (k == 2 || stripPairing)
        return stripAlpha[static_cast<std::size_t>(k)];
    return stripAlpha[k == 0 ? 1 : 0];
}
