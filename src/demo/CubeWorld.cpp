#include "demo/CubeWorld.h"

#include "core/RessourceManager.h"
#include "gl/Texture.h"
#include "mesh/Mesh.h"
#include "render/Renderer.h"

CubeWorld::CubeWorld(RessourceManager& resources, const Resolution& size)
    : screenSize(size)
    , gridProgram("./data/shaders/grid.vert", "./data/shaders/grid.frag")
    , simpleProgram("./data/shaders/simple.vert", "./data/shaders/simple.frag")
    , postProcessProgram("./data/shaders/postProcess.vert", "./data/shaders/postProcess.frag")
{
    wallTexture = static_cast<Texture*>(resources.get("./data/textures/wall.png"));
    cubeMesh = static_cast<Mesh*>(resources.get("./data/meshes/cube2.obj"));
    root.subdivide(depth);
    root.build(glm::vec3(-halfExtent), glm::vec3(halfExtent));
}

void CubeWorld::update(const std::vector<std::unique_ptr<InfluencePoint>>& points)
{
    rootList.clear();
    for (const auto& point : points)
        rootList.push_back(point.get());
    root.update(rootList);
}

void CubeWorld::draw(Renderer& renderer, const glm::mat4& projection, const glm::mat4& view, const glm::mat4& world,
    float pulse)
{
    frameCubes.clear();
    root.forEachCube([this](const glm::vec3& corner, float size, float distance, const InfluencePoint& point) {
        frameCubes.push_back({ corner, size, point.colour, distance });
    });
    renderer.drawWorldCubes(
        cubeMesh, gridProgram, projection, view, OctreeNode::gridMatrix(world), frameCubes, pulse);
}
