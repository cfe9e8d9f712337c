#include "scenes/SceneOne.h"

#include "render/Renderer.h"
#include "scenes/Room.h"

SceneOne::SceneOne(ShaderProgram& colourCube, ShaderProgram& bigCube, ShaderProgram& texture2D, Mesh* cube,
    Texture* wall, Texture* rect1, Texture* rect2, Texture* rect3)
    : colourCubeProgram(&colourCube)
    , bigCubeProgram(&bigCube)
    , texture2DProgram(&texture2D)
    , cubeMesh(cube)
    , wallTexture(wall)
    , stripTextures { rect1, rect2, rect3 }
{
}

void SceneOne::render(Renderer& renderer, const glm::mat4& projection)
{
    const glm::mat4 view = timeline.view();
    clearFrame();

    const glm::mat4 world = timeline.world();
    const std::size_t drawn = timeline.drawnCubeCount();
    for (std::size_t i = 0; i < drawn; ++i)
        renderer.drawColouredMesh(
            cubeMesh, *colourCubeProgram, projection, view, timeline.cubeModel(world, i), timeline.cubeColour(i));
    drawRoom(renderer, *bigCubeProgram, cubeMesh, wallTexture, projection, view);

    for (int k = 0; k < 3; ++k) {
        const auto strip = static_cast<std::size_t>(k);
        renderer.drawTexturedQuad(
            timeline.stripLow[strip], timeline.stripHigh[strip], stripTextures[strip], timeline.stripAlphaDrawn(k));
    }
}
