#pragma once

#include <glm/glm.hpp>

class Mesh;
class Renderer;
class ShaderProgram;
class Texture;

// What every scene starts its frame with: the bound framebuffer cleared to
// the scenes' orange and the room, the cube mesh scaled to 50 units on a side
// around the origin with the wall texture on the inside.
void clearAndDrawRoom(Renderer& renderer, ShaderProgram& program, Mesh* cube, Texture* wall,
    const glm::mat4& projection, const glm::mat4& view);
