#pragma once

#include "demo/SceneTwoTimeline.h"

#include <glm/glm.hpp>

class CubeWorld;
class Mesh;
class Renderer;
class ScreenQuad;
class ShaderProgram;
class Texture;

// The two timed scene: the room and the shared cube world, drawn as its
// timeline moves them. It owns its points (in the timeline); the program, the
// cube world, mesh, texture and screen quad are borrowed and must outlive it.
class SceneTwo {
public:
    SceneTwo(ShaderProgram& bigCubeProgram, CubeWorld& cubeWorld, Mesh* cubeMesh, Texture* wallTexture,
        ScreenQuad& screenQuad);
    SceneTwo(const SceneTwo&) = delete;
    SceneTwo& operator=(const SceneTwo&) = delete;

    // Clears the bound framebuffer, draws the room and the cube world, and
    // hands the fade of the last update to the screen quad.
    void render(Renderer& renderer, const glm::mat4& projection);
    // Hands the points to the cube world, then advances by step ms. False once the scene is over.
    bool update(unsigned int step);

    const SceneTwoTimeline& course() const { return timeline; }

private:
    ShaderProgram* bigCubeProgram;
    Mesh* cubeMesh;
    CubeWorld* cubeWorld;
    Texture* wallTexture;
    ScreenQuad* screenQuad;
    SceneTwoTimeline timeline;
};
