#pragma once

#include "course/ColouredCube.h"
#include "course/LinearCamera.h"
#include "course/Pulsor.h"

#include <glm/glm.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Everything of scene one that is not drawing: its clock, the fade envelope,
// the seven camera moves, the cross's cube list and the timed events (the
// highlight sweep, the image strips, the spin and the shrinking arms). The
// scene's GL side reads it after every update and asks it for the matrices
// and colours of a frame. The course is a function of elapsed alone, apart
// from the strips' positions, which come from the run's random sequence
// (RunRandom.h).
class SceneOneTimeline {
public:
    static constexpr std::size_t cameraCount = 7;
    static constexpr std::size_t stripCount = 3;
    // Every camera's range in elapsed ms starts here and ends at the next one.
    static constexpr std::array<std::uint32_t, cameraCount> cameraStarts { 0, 3000, 6000, 9000, 14000, 19000, 24000 };
    static constexpr std::uint32_t endTime = 29000;

    SceneOneTimeline();

    // Advances the scene by step ms and moves every event on. Draws from the
    // run's random sequence once per strip shown. Returns false once elapsed has passed endTime.
    // Leaves fade for the caller to hand to the post-process pass.
    bool update(unsigned int step);

    // The view for a frame at the current elapsed: the camera whose range holds
    // elapsed is advanced to it (its move starts on first use). From endTime
    // on, which 16 ms steps never render, the last camera stays in use.
    glm::mat4 view();
    std::size_t cameraIndex() const;

    // The cross's spin about spinAxis.
    glm::mat4 world() const;
    // Cube i's model matrix under world; throws std::out_of_range past the list.
    glm::mat4 cubeModel(const glm::mat4& world, std::size_t i) const;
    // Cube i's colour, white where the highlight sweep covers it.
    glm::vec4 cubeColour(std::size_t i) const;
    // Only the first drawnCubeCount() records are drawn: whole rings, fewer as the arms shrink.
    std::size_t drawnCubeCount() const;
    // The opacity strip k is drawn with; throws std::out_of_range for k outside 0..2.
    float stripAlphaDrawn(int k) const;

    std::uint32_t elapsed = 0;
    float fade = 0.0f;
    std::array<LinearCamera, cameraCount> cameras;
    std::vector<ColouredCube> cubes;
    float spinAngle = 0.0f; // degrees
    glm::vec3 spinAxis { 1.0f, 1.0f, 0.0f };
    Pulsor sweepRestart { 1900 };
    Pulsor sweepStep { 25 };
    std::array<Pulsor, stripCount> stripPulse { Pulsor(1900), Pulsor(1900), Pulsor(3800) };
    // True: strips 0 and 1 each show their own opacity; false swaps the two.
    bool stripPairing = true;
    // Corners in normalized device coordinates; empty until the strip is first shown.
    std::array<glm::vec2, stripCount> stripLow { glm::vec2(0.0f), glm::vec2(0.0f), glm::vec2(0.0f) };
    std::array<glm::vec2, stripCount> stripHigh { glm::vec2(0.0f), glm::vec2(0.0f), glm::vec2(0.0f) };
    std::array<float, stripCount> stripAlpha { 0.0f, 0.0f, 0.0f };
    std::int32_t sweep = 0; // highlighted ring, 0 for none
    Pulsor shrinkPulse { 500 };
    std::int32_t armLength = 10; // rings drawn

    // One-shot triggers: each fires at the first update past its threshold,
    // never again. There is one scene one per program, so per object is per program.
    bool sweepStarted = false;
    std::array<bool, stripCount> stripStarted { false, false, false };
    bool shrinkStarted = false;

private:
    void updateFade();
    void showStrip(std::size_t k);
};
