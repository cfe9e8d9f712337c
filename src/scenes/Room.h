#pragma once

#include <glm/glm.hpp>

class Mesh;
class Renderer;
class ShaderProgram;
class Texture;

// What every scene starts its frame with: the bound framebuffer cleared to
// the scenes' orange.
void clearFrame();

// The room: the cube mesh scaled to 50 units on a side around the origin with
// the wall texture on the inside. Scenes draw it after what stands inside it,
// so that the depth test rejects the wall behind the cubes before it is
// shaded.
void drawRoom(Renderer& renderer, ShaderProgram& program, Mesh* cube, Texture* wall, const glm::mat4& projection,
    const glm::mat4& view);
