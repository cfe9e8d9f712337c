#include "RenderTarget.h"
#include "core/DataFiles.h"
#include "gl/GLTestHelpers.h"
#include "mesh/Mesh.h"
#include "render/Renderer.h"
#include "support/GLTestEnvironment.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A square of two triangles in the z = 0 plane, 0..1 in x and y.
Mesh square(bool normals, bool texCoords)
{
    Mesh mesh("square");
    mesh.positions = { { 0, 0, 0, 1 }, { 1, 0, 0, 1 }, { 1, 1, 0, 1 }, { 0, 1, 0, 1 } };
    if (normals)
        mesh.normals.assign(4, glm::vec3(0, 0, 1));
    if (texCoords)
        mesh.texCoords = { { 0, 0 }, { 1, 0 }, { 1, 1 }, { 0, 1 } };
    mesh.indices = { 0, 1, 2, 2, 3, 0 };
    return mesh;
}

// A camera 2 units in front of the square, looking at its centre.
const glm::mat4 projection = glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 100.0f);
const glm::mat4 view = glm::lookAt(glm::vec3(0.5f, 0.5f, 2.0f), glm::vec3(0.5f, 0.5f, 0.0f), glm::vec3(0, 1, 0));
const glm::mat4 identity(1.0f);

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        renderer.init();
        capture.clear();
    }
    // Every pass leaves nothing bound and no program current.
    void TearDown() override
    {
        for (GLenum binding :
            { GL_ARRAY_BUFFER_BINDING, GL_ELEMENT_ARRAY_BUFFER_BINDING, GL_CURRENT_PROGRAM, GL_TEXTURE_BINDING_2D })
            EXPECT_EQ(glInteger(binding), 0) << binding;
        renderer.release();
        EXPECT_NO_GL_ERROR();
    }
    LogCapture capture;
    Renderer renderer { DataFiles::vertexShader("texture2D"), DataFiles::fragmentShader("texture2D") };
    ShaderProgram flat { "tests/render/shaders/flat.vert", "tests/render/shaders/flat.frag" };
};

} // namespace

TEST_F(RendererTest, InconsistentMeshIsRefusedRatherThanReadPastItsArrays)
{
    Mesh shortNormals = square(false, false);
    shortNormals.normals.assign(2, glm::vec3(0, 0, 1));
    Mesh badIndex = square(false, false);
    badIndex.indices.back() = 4;
    EXPECT_FALSE(renderer.uploadMesh(&shortNormals));
    renderer.addMesh(MeshInstance(&badIndex));
    EXPECT_FALSE(renderer.hasMesh(&shortNormals));
    EXPECT_FALSE(renderer.hasMesh(&badIndex));
    const std::string line = "Mesh 'square' has inconsistent arrays, not uploaded\n";
    EXPECT_EQ(capture.err(), line + line);
}

// A mesh draws only once added, and a second add makes no second copy. A
// program without a pass's optional names warns for each and still draws.
TEST_F(RendererTest, MeshesDrawOnlyOnceAddedAndWithProgramsMissingOptionalNamesWarnForEach)
{
    RenderTarget target(32);
    Mesh mesh = square(false, false);
    renderer.drawColouredMesh(&mesh, flat, projection, view, identity, glm::vec4(1.0f));
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 0, 0, 0));
    EXPECT_EQ(renderer.drawCounts().total(), 0u);
    renderer.addMesh(MeshInstance(&mesh));
    renderer.addMesh(MeshInstance(&mesh));
    EXPECT_EQ(capture.out().find("StaticBuffer (vId: "), capture.out().rfind("StaticBuffer (vId: "));
    renderer.drawColouredMesh(&mesh, flat, projection, view, identity, glm::vec4(0.2f, 0.6f, 1.0f, 1.0f));
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 51, 153, 255));
    EXPECT_EQ(renderer.drawCounts().colouredMesh, 1u);

    ShaderProgram unlit("tests/render/shaders/unlit.vert", "tests/render/shaders/unlit.frag");
    const std::vector<unsigned char> orange { 250, 120, 10, 255, 250, 120, 10, 255, 250, 120, 10, 255, 250, 120, 10,
        255 };
    Texture2D texture(4, Resolution { 2, 2 }, GL_RGBA, orange.data());
    Mesh lit = square(true, true);
    renderer.addMesh(MeshInstance(&lit));
    capture.clear();
    renderer.drawTexturedMesh(&lit, unlit, &texture, projection, view, identity);
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 250, 120, 10));
    // Unlit, it takes none of the light's names: each is said, and it draws.
    for (const char* said :
        { "matrix 'mMatrix' not found\n", "lightPosition not found\n", "Attribute 'normal' not found\n" })
        EXPECT_NE(capture.out().find(said), std::string::npos) << said << " in\n" << capture.out();
    // The flat program has "colour" but none of the world cube's own names.
    capture.clear();
    renderer.drawWorldCube(&lit, flat, projection, view, identity, 1.0f, 2.0f, glm::vec4(1.0f));
    EXPECT_NE(capture.out().find("pulseDistance not found\n"), std::string::npos);
    EXPECT_EQ(renderer.drawCounts().worldCube, 1u);
}

// The lit textured pass (the room's) sends what a shader lighting by world
// position needs: the model matrix, the light at the origin whatever the
// program held, and the mesh's normals, with the texture at its
// coordinates; and says nothing when the program takes them all.
TEST_F(RendererTest, TheLitTexturedPassSendsTheModelMatrixTheLightAtTheOriginAndTheNormals)
{
    RenderTarget target(32);
    ShaderProgram probe("tests/render/shaders/litProbe.vert", "tests/render/shaders/litProbe.frag");
    probe.use();
    glUniform3f(probe.getUniformLocation("lightPosition"), 9.0f, 9.0f, 9.0f); // a light the pass must move
    ShaderProgram::unuse();
    const std::vector<unsigned char> white(16, 255);
    Texture2D texture(4, Resolution { 2, 2 }, GL_RGBA, white.data());
    Mesh lit = square(true, true);
    renderer.addMesh(MeshInstance(&lit));
    capture.clear();
    const glm::mat4 model = glm::translate(identity, glm::vec3(0.25f, 0.0f, 0.0f));
    renderer.drawTexturedMesh(&lit, probe, &texture, projection, view, model);
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 64, 0, 255)) << "moved 0.25 along x, light at the origin, normal z 1";
    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(renderer.drawCounts().texturedMesh, 1u);
}

// Blending is on only inside the overlay pass.
TEST_F(RendererTest, TexturedQuadBlendsOverItsRectangleAndTurnsBlendingOffAgain)
{
    RenderTarget target(32);
    const std::vector<unsigned char> white(2 * 2 * 4, 255);
    Texture2D texture(4, Resolution { 2, 2 }, GL_RGBA, white.data());
    capture.clear();
    renderer.drawTexturedQuad(glm::vec2(-1.0f, -1.0f), glm::vec2(0.0f, 1.0f), &texture, 0.5f);
    EXPECT_TRUE(pixelNear(readPixel(8, 16), 128, 128, 128));
    EXPECT_TRUE(pixelNear(readPixel(24, 16), 0, 0, 0));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}
