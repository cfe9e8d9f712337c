#include "demo/CubeWorld.h"
#include "engine/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "mesh/AMeshLoader.h"
#include "render/Renderer.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

// The world draws through the renderer's world-cube pass, one draw per cube of
// its tree, with every name the grid program offers.
TEST(CubeWorld, DrawsOneWorldCubePerCellAndPointThroughTheRenderer)
{
    LogCapture capture;
    RessourceManager resources;
    AMeshLoader meshes;
    VornE::TextureLoader textures;
    ASSERT_TRUE(resources.load(meshes, "./data/meshes/cube2.obj"));
    ASSERT_TRUE(resources.load(textures, "./data/textures/wall.png"));
    Renderer renderer;
    renderer.init();
    CubeWorld world(resources, GLTestEnvironment::size());
    renderer.addMesh(MeshInstance(world.cubeMesh));
    std::vector<std::unique_ptr<InfluencePoint>> points;
    points.push_back(std::make_unique<StaticInfluencePoint>(glm::vec3(25.0f), glm::vec4(1), 7.0f));
    const glm::mat4 identity(1.0f);
    world.draw(renderer, identity, identity, identity, 0.0f);
    EXPECT_EQ(renderer.drawCounts().worldCube, 0u) << "nothing before the first update";
    world.update(points);
    world.draw(renderer, identity, identity, identity, 0.0f);
    EXPECT_EQ(renderer.drawCounts().worldCube, 2282u);
    EXPECT_EQ(renderer.drawCounts().total(), 2282u);
    EXPECT_EQ(capture.out().find("not found"), std::string::npos);
    EXPECT_EQ(capture.err(), "");
    renderer.release();
    EXPECT_NO_GL_ERROR();
}
