#pragma once

#include "scenes/CubeWorld.h"
#include "scenes/DrawnScene.h"
#include "scenes/Room.h"
#include "scenes/SceneKit.h"

#include <glm/glm.hpp>

class Mesh;
class Renderer;
class ShaderProgram;
class Texture;

// A timed scene of the shared cube world: the room and the world's cubes,
// drawn as its timeline (scene two's or three's) moves them. It owns its
// points, in the timeline; the program, the cube world, mesh and texture are
// borrowed and must outlive it.
template <class Timeline> class WorldScene : public DrawnScene {
public:
    WorldScene(ShaderProgram& bigCubeProgram, CubeWorld& cubeWorld, Mesh* cubeMesh, Texture* wallTexture)
        : bigCubeProgram(&bigCubeProgram)
        , cubeMesh(cubeMesh)
        , cubeWorld(&cubeWorld)
        , wallTexture(wallTexture)
    {
    }
    explicit WorldScene(SceneKit& kit)
        : WorldScene(kit.bigCube, kit.cubeWorld, kit.cubeMesh, kit.wall)
    {
    }
    WorldScene(const WorldScene&) = delete;
    WorldScene& operator=(const WorldScene&) = delete;

    // Clears the bound framebuffer, draws the cube world and the room around it.
    void render(Renderer& renderer, const glm::mat4& projection) override
    {
        const glm::mat4 view = timeline.view();
        clearFrame();
        cubeWorld->draw(renderer, projection, view, timeline.world(), timeline.pulseDistance);
        drawRoom(renderer, *bigCubeProgram, cubeMesh, wallTexture, projection, view);
    }

    // The camera starts its move on its first frame, drawn or not.
    void skip() override { timeline.view(); }

    // Hands the points to the cube world as the last update left them, then
    // advances by step ms. False once the scene is over.
    bool update(unsigned int step) override
    {
        cubeWorld->update(timeline.points);
        return timeline.update(step);
    }

    float fade() const override { return timeline.fade; }

    const Timeline& course() const { return timeline; }

private:
    ShaderProgram* bigCubeProgram;
    Mesh* cubeMesh;
    CubeWorld* cubeWorld;
    Texture* wallTexture;
    Timeline timeline;
};
