#pragma once

#include "demo/CubeWorld.h"
#include "demo/Room.h"
#include "demo/Scene.h"
#include "render/ScreenQuad.h"

#include <glm/glm.hpp>

class Mesh;
class Renderer;
class ShaderProgram;
class Texture;

// A timed scene of the shared cube world: the room and the world's cubes,
// drawn as its timeline (scene two's or three's) moves them. It owns its
// points, in the timeline; the program, the cube world, mesh, texture and
// screen quad are borrowed and must outlive it.
template <class Timeline> class WorldScene : public Scene {
public:
    WorldScene(ShaderProgram& bigCubeProgram, CubeWorld& cubeWorld, Mesh* cubeMesh, Texture* wallTexture,
        ScreenQuad& screenQuad)
        : bigCubeProgram(&bigCubeProgram)
        , cubeMesh(cubeMesh)
        , cubeWorld(&cubeWorld)
        , wallTexture(wallTexture)
        , screenQuad(&screenQuad)
    {
    }
    WorldScene(const WorldScene&) = delete;
    WorldScene& operator=(const WorldScene&) = delete;

    // Clears the bound framebuffer, draws the room and the cube world, and
    // hands the fade of the last update to the screen quad.
    void render(Renderer& renderer, const glm::mat4& projection) override
    {
        const glm::mat4 view = timeline.view();
        clearAndDrawRoom(renderer, *bigCubeProgram, cubeMesh, wallTexture, projection, view);
        cubeWorld->draw(renderer, projection, view, timeline.world(), timeline.pulseDistance);
        screenQuad->fade = timeline.fade;
    }

    // The camera starts its move on its first frame, drawn or not, and the
    // fade is handed on as render hands it.
    void skip() override
    {
        timeline.view();
        screenQuad->fade = timeline.fade;
    }

    // Hands the points to the cube world as the last update left them, then
    // advances by step ms. False once the scene is over.
    bool update(unsigned int step) override
    {
        cubeWorld->update(timeline.points);
        return timeline.update(step);
    }

    const Timeline& course() const { return timeline; }

private:
    ShaderProgram* bigCubeProgram;
    Mesh* cubeMesh;
    CubeWorld* cubeWorld;
    Texture* wallTexture;
    ScreenQuad* screenQuad;
    Timeline timeline;
};
