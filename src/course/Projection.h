#pragma once

#include "core/Resolution.h"

#include <glm/glm.hpp>

// The projection every scene is drawn with: 45 degrees of field of view, the
// frame's width over its height (each converted to float before dividing),
// near plane 0.1, far plane 100.
glm::mat4 sceneProjection(const Resolution& frame);
