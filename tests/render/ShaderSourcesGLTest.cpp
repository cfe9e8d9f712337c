// The demo's own shader pairs under data/shaders, driven through the passes
// that use them: each compiles and links under Mesa, offers every name its
// pass sends (no "not found" or "Fail to get" in a normal frame) and shows
// what it is for. The room, overlay and post-process pairs are drawn by the
// renderer, screen quad and scene one tests.
#include "RenderTarget.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/Renderer.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <memory>

namespace {

const glm::mat4 projection = glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 100.0f);

class ShaderSources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(cube, nullptr);
        renderer.init();
        renderer.addMesh(MeshInstance(cube));
        capture.clear();
    }
    void TearDown() override
    {
        for (const char* failure : { "not found", "Fail to get", "Failed" })
            EXPECT_EQ(capture.out().find(failure), std::string::npos) << capture.out();
        EXPECT_EQ(capture.err(), "");
        renderer.release();
        EXPECT_NO_GL_ERROR();
    }
    LogCapture capture;
    // The demo's own cube model: 0..1 with per-face normals and texture coordinates.
    std::unique_ptr<VornE::Ressource> model { AMeshLoader().load("./data/meshes/cube2.obj") };
    Mesh* cube = static_cast<Mesh*>(model.get());
    Renderer renderer;
    RenderTarget target { 32 };
};

} // namespace

TEST_F(ShaderSources, WorldCubeTakesItsPointsColourAndFlashesWhereThePulseIs)
{
    ShaderProgram grid("./data/shaders/grid.vert", "./data/shaders/grid.frag");
    const glm::mat4 view = glm::lookAt(glm::vec3(2.0f, 2.5f, -2.0f), glm::vec3(0.5f), glm::vec3(0, 1, 0));
    const glm::vec4 green(0, 0.69f, 0.2f, 1);
    renderer.drawWorldCube(cube, grid, projection, view, glm::mat4(1.0f), 3.0f, -1.0f, green);
    const Pixel calm = readPixel(16, 16);
    EXPECT_GT(calm.g, calm.r + 20);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderer.drawWorldCube(cube, grid, projection, view, glm::mat4(1.0f), 3.0f, 3.0f, green);
    const Pixel flash = readPixel(16, 16);
    EXPECT_GT(flash.r + flash.g + flash.b, calm.r + calm.g + calm.b + 60);
}

TEST_F(ShaderSources, PassThroughPairBuildsWithItsMatrix)
{
    ShaderProgram simple("./data/shaders/simple.vert", "./data/shaders/simple.frag");
    EXPECT_NE(simple.getUniformLocation("mvpMatrix"), -1);
}
