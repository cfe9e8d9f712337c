#include "demo/SceneThree.h"

#include "demo/CubeWorld.h"
#include "demo/Room.h"
#include "render/ScreenQuad.h"

SceneThree::SceneThree(ShaderProgram& bigCube, CubeWorld& world, Mesh* cube, Texture* wall, ScreenQuad& quad)
    : bigCubeProgram(&bigCube)
    , cubeMesh(cube)
    , cubeWorld(&world)
    , wallTexture(wall)
    , screenQuad(&quad)
{
}

void SceneThree::render(Renderer& renderer, const glm::mat4& projection)
{
    const glm::mat4 view = timeline.view();
    clearAndDrawRoom(renderer, *bigCubeProgram, cubeMesh, wallTexture, projection, view);
    cubeWorld->draw(renderer, projection, view, timeline.world(), timeline.pulseDistance);
    screenQuad->fade = timeline.fade;
}

bool SceneThree::update(unsigned int step)
{
    cubeWorld->update(timeline.points);
    return timeline.update(step);
}
