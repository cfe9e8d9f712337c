#pragma once

#include "course/Scene.h"

#include <glm/glm.hpp>

class Renderer;

// A scene of the run with its drawing. Every scene the run plays is one.
class DrawnScene : public Scene {
public:
    // Clears the bound framebuffer and draws the frame with `projection`.
    virtual void render(Renderer& renderer, const glm::mat4& projection) = 0;
};
