#include "scenes/Room.h"

#include "render/Renderer.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

void clearFrame()
{
    glClearColor(0.7f, 0.2f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawRoom(Renderer& renderer, ShaderProgram& program, Mesh* cube, Texture* wall, const glm::mat4& projection,
    const glm::mat4& view)
{
    const glm::mat4 room
        = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(-25.0f, -25.0f, -25.0f)), glm::vec3(50.0f));
    renderer.drawTexturedMesh(cube, program, wall, projection, view, room);
}
