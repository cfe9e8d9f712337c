#include "demo/SceneOne.h"

#include "render/Renderer.h"
#include "render/ScreenQuad.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

SceneOne::SceneOne(ShaderProgram& colourCube, ShaderProgram& bigCube, ShaderProgram& texture2D, Mesh* cube,
    Texture* wall, Texture* rect1, Texture* rect2, Texture* rect3, ScreenQuad& quad)
    : colourCubeProgram(&colourCube)
    , bigCubeProgram(&bigCube)
    , texture2DProgram(&texture2D)
    , cubeMesh(cube)
    , wallTexture(wall)
    , stripTextures{rect1, rect2, rect3}
    , screenQuad(&quad)
{
}

void SceneOne::render(Renderer& renderer, const glm::mat4& projection)
{
    const glm::mat4 view = timeline.view();
    glClearColor(0.7f, 0.2f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const glm::mat4 room
        = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(-25.0f, -25.0f, -25.0f)), glm::vec3(50.0f));
    renderer.drawTexturedMesh(cubeMesh, *bigCubeProgram, wallTexture, projection, view, room);

    const glm::mat4 world = timeline.world();
    const std::size_t drawn = timeline.drawnCubeCount();
    for (std::size_t i = 0; i < drawn; ++i)
        renderer.drawColouredMesh(cubeMesh, *colourCubeProgram, projection, view, timeline.cubeModel(world, i),
            timeline.cubeColour(i));

    for (int k = 0; k < 3; ++k) {
        const auto strip = static_cast<std::size_t>(k);
        renderer.drawTexturedQuad(timeline.stripLow[strip], timeline.stripHigh[strip], stripTextures[strip],
            timeline.stripAlphaDrawn(k));
    }
}

bool SceneOne::update(unsigned int step)
{
    const bool goesOn = timeline.update(step);
    screenQuad->fade = timeline.fade;
    return goesOn;
}
