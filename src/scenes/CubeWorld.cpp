#include "scenes/CubeWorld.h"

#include "core/DataFiles.h"
#include "core/RessourceManager.h"
#include "gl/Texture.h"
#include "mesh/Mesh.h"
#include "render/Renderer.h"
#include "render/ShaderPrograms.h"

CubeWorld::CubeWorld(RessourceManager& resources, const Resolution& size)
    : screenSize(size)
    , gridProgram(ShaderPrograms::build(ShaderPrograms::grid))
    , simpleProgram(ShaderPrograms::build(ShaderPrograms::simple))
    , postProcessProgram(ShaderPrograms::build(ShaderPrograms::worldPostProcess))
{
    wallTexture = &resources.require<Texture>(DataFiles::wall);
    cubeMesh = &resources.require<Mesh>(DataFiles::cubeMesh);
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

void CubeWorld::draw(
    Renderer& renderer, const glm::mat4& projection, const glm::mat4& view, const glm::mat4& world, float pulse)
{
    frameCubes.clear();
    root.forEachCube([this](const glm::vec3& corner, float size, float distance, const InfluencePoint& point) {
        frameCubes.push_back({ corner, size, point.colour, distance });
    });
    renderer.drawWorldCubes(cubeMesh, gridProgram, projection, view, OctreeNode::gridMatrix(world), frameCubes, pulse);
}
