#include "core/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "mesh/AMeshLoader.h"
#include "scenes/CubeWorld.h"
#include "scenes/SceneTwo.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace {

// Leaves the drawing reaches: it goes down only through boxes whose lists
// hold a point.
int reachedLeaves(const OctreeNode& node)
{
    if (node.points.empty())
        return 0;
    if (node.isLeaf())
        return 1;
    int leaves = 0;
    for (const auto& child : node.children)
        leaves += reachedLeaves(*child);
    return leaves;
}

} // namespace

// A world scene hands its points to the cube world before its timeline moves
// them: while the ball grows, each frame walks the leaves of the step before.
TEST(CubeWorld, AWorldSceneHandsOnItsPointsAsTheLastUpdateLeftThem)
{
    LogCapture capture;
    RessourceManager resources;
    AMeshLoader meshes;
    VornE::TextureLoader textures;
    ASSERT_TRUE(resources.load(meshes, "./data/meshes/cube2.obj"));
    ASSERT_TRUE(resources.load(textures, "./data/textures/wall.png"));
    ShaderProgram bigCube("./data/shaders/bigCube.vert", "./data/shaders/bigCube.frag");
    CubeWorld world(resources, GLTestEnvironment::size());
    SceneTwo scene(bigCube, world, world.cubeMesh, world.wallTexture);

    SceneTwoTimeline course; // the scene's course (its one point), kept a step behind
    OctreeNode lagging, current;
    for (OctreeNode* tree : { &lagging, &current }) {
        tree->subdivide(CubeWorld::depth);
        tree->build(glm::vec3(-CubeWorld::halfExtent), glm::vec3(CubeWorld::halfExtent));
    }
    int stepsThatTell = 0;
    for (int step = 1; step <= 150; ++step) {
        scene.update(16);
        lagging.update({ &course.ball() });
        EXPECT_EQ(reachedLeaves(world.tree()), reachedLeaves(lagging)) << "after update " << step;
        course.update(16);
        current.update({ &course.ball() });
        stepsThatTell += reachedLeaves(current) != reachedLeaves(lagging) ? 1 : 0;
    }
    EXPECT_GT(stepsThatTell, 3) << "the growth must cross leaves for the order to show";
    EXPECT_NO_GL_ERROR();
}
