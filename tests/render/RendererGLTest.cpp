#include "mesh/Mesh.h"
#include "render/Renderer.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"
#include "RenderTarget.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible_v<Renderer>);
static_assert(!std::is_copy_constructible_v<ScreenQuad>);

namespace {

// A square of two triangles in the z = 0 plane, 0..1 in x and y.
Mesh square(bool normals, bool texCoords)
{
    Mesh mesh("square");
    mesh.positions = {{0, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}};
    if (normals)
        mesh.normals.assign(4, glm::vec3(0, 0, 1));
    if (texCoords)
        mesh.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    mesh.indices = {0, 1, 2, 2, 3, 0};
    return mesh;
}

std::vector<float> vertexBufferOf(const MeshBuffers& entry, std::size_t floats)
{
    std::vector<float> data(floats);
    glBindBuffer(GL_ARRAY_BUFFER, entry.buffer->vId);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(floats * sizeof(float)), data.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return data;
}

GLint boundInteger(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

void expectNothingBound()
{
    EXPECT_EQ(boundInteger(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(boundInteger(GL_ELEMENT_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(boundInteger(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(boundInteger(GL_TEXTURE_BINDING_2D), 0);
}

// A camera 2 units in front of the square, looking at its centre.
const glm::mat4 projection = glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 100.0f);
const glm::mat4 view = glm::lookAt(glm::vec3(0.5f, 0.5f, 2.0f), glm::vec3(0.5f, 0.5f, 0.0f), glm::vec3(0, 1, 0));
const glm::mat4 identity(1.0f);

// A 2x2 texture of one RGBA colour.
Texture2D solidTexture(unsigned char r, unsigned char g, unsigned char b, unsigned char a)
{
    const unsigned char texel[4] = {r, g, b, a};
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 4; ++i)
        pixels.insert(pixels.end(), texel, texel + 4);
    return Texture2D(4, Resolution{2, 2}, GL_RGBA, pixels.data());
}

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        renderer.init();
        capture.clear();
    }
    void TearDown() override
    {
        renderer.release();
        EXPECT_NO_GL_ERROR();
    }
    LogCapture capture;
    Renderer renderer;
};

} // namespace

TEST_F(RendererTest, UploadInterleavesAttributesWithTheMatchingStride)
{
    struct Layout {
        bool normals, texCoords;
        GLsizei stride;
        std::vector<float> firstTwoVertices;
    };
    const std::vector<Layout> layouts = {
        {false, false, 12, {0, 0, 0, 1, 0, 0}},
        {true, false, 24, {0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1}},
        {false, true, 20, {0, 0, 0, 0, 0, 1, 0, 0, 1, 0}},
        {true, true, 32, {0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0}},
    };
    // All alive at once: the cache is keyed by address, and a new mesh at a
    // freed one's address would find the old entry.
    std::vector<Mesh> meshes;
    for (const Layout& layout : layouts)
        meshes.push_back(square(layout.normals, layout.texCoords));
    for (size_t i = 0; i < layouts.size(); ++i) {
        const Layout& layout = layouts[i];
        Mesh& mesh = meshes[i];
        ASSERT_TRUE(renderer.uploadMesh(&mesh));
        const MeshBuffers* entry = renderer.meshBuffers(&mesh);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->stride(), layout.stride);
        EXPECT_EQ(entry->hasNormals, layout.normals);
        EXPECT_EQ(entry->hasTexCoords, layout.texCoords);
        if (layout.texCoords) {
            EXPECT_EQ(entry->texCoordOffset(), layout.normals ? 24u : 12u);
        }
        EXPECT_EQ(vertexBufferOf(*entry, layout.firstTwoVertices.size()), layout.firstTwoVertices);

        GLint size = 0;
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, entry->buffer->iId);
        glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        std::vector<unsigned int> indices(6);
        glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, 24, indices.data());
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        EXPECT_EQ(size, 24);
        EXPECT_EQ(indices, mesh.indices);
    }
}

TEST_F(RendererTest, SecondAddOfTheSameMeshUploadsNothing)
{
    Mesh mesh = square(true, true);
    EXPECT_TRUE(renderer.addMesh(MeshInstance(&mesh)));
    EXPECT_TRUE(renderer.addMesh(MeshInstance(&mesh)));
    EXPECT_TRUE(renderer.hasMesh(&mesh));
    // One StaticBuffer line on standard output: one buffer made.
    const std::string out = capture.out();
    EXPECT_EQ(out.find("StaticBuffer (vId: "), out.rfind("StaticBuffer (vId: "));
    EXPECT_NE(out.find("StaticBuffer (vId: "), std::string::npos);
}

TEST_F(RendererTest, InconsistentMeshIsRefusedRatherThanReadPastItsArrays)
{
    Mesh shortNormals = square(false, false);
    shortNormals.normals.assign(2, glm::vec3(0, 0, 1));
    Mesh badIndex = square(false, false);
    badIndex.indices.back() = 4;
    EXPECT_FALSE(renderer.uploadMesh(&shortNormals));
    EXPECT_FALSE(renderer.uploadMesh(&badIndex));
    EXPECT_TRUE(renderer.addMesh(MeshInstance(&badIndex))); // addMesh reports success regardless
    EXPECT_FALSE(renderer.hasMesh(&shortNormals));
    EXPECT_FALSE(renderer.hasMesh(&badIndex));
    EXPECT_NE(capture.err().find("inconsistent"), std::string::npos);
}

TEST_F(RendererTest, ColouredPassDrawsItsColourAndLeavesNothingBound)
{
    RenderTarget target(32);
    ShaderProgram flat("tests/render/shaders/flat.vert", "tests/render/shaders/flat.frag");
    Mesh mesh = square(false, false);
    renderer.addMesh(MeshInstance(&mesh));
    renderer.resetDrawCounts();
    renderer.drawColouredMesh(&mesh, flat, projection, view, identity, glm::vec4(0.2f, 0.6f, 1.0f, 1.0f));
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 51, 153, 255));
    EXPECT_TRUE(pixelNear(readPixel(0, 0), 0, 0, 0)); // the square does not fill the view
    EXPECT_EQ(renderer.drawCounts().colouredMesh, 1u);
    EXPECT_EQ(renderer.drawCounts().total(), 1u);
    expectNothingBound();
    EXPECT_EQ(capture.out().find("not found"), std::string::npos) << capture.out();
}

TEST_F(RendererTest, UnregisteredMeshDrawsNothingAndSaysNothing)
{
    RenderTarget target(16);
    ShaderProgram flat("tests/render/shaders/flat.vert", "tests/render/shaders/flat.frag");
    Mesh mesh = square(false, false);
    capture.clear();
    renderer.drawColouredMesh(&mesh, flat, projection, view, identity, glm::vec4(1.0f));
    EXPECT_TRUE(pixelNear(readPixel(8, 8), 0, 0, 0));
    EXPECT_EQ(capture.out() + capture.err(), "");
    EXPECT_EQ(renderer.drawCounts().total(), 0u);
}

TEST_F(RendererTest, TexturedPassWithoutLightUniformWarnsAndStillDraws)
{
    RenderTarget target(32);
    ShaderProgram unlit("tests/render/shaders/unlit.vert", "tests/render/shaders/unlit.frag");
    Texture2D texture = solidTexture(250, 120, 10, 255);
    Mesh mesh = square(true, true);
    renderer.addMesh(MeshInstance(&mesh));
    capture.clear();
    renderer.drawTexturedMesh(&mesh, unlit, &texture, projection, view, identity);
    EXPECT_TRUE(pixelNear(readPixel(16, 16), 250, 120, 10));
    EXPECT_EQ(capture.out(), "Fail to get 'lightPosition'\nlightPosition not found\n");
    EXPECT_EQ(renderer.drawCounts().texturedMesh, 1u);
    expectNothingBound();
}

TEST_F(RendererTest, WorldCubePassWithAProgramMissingItsExtrasWarnsForEach)
{
    RenderTarget target(32);
    // The flat program has "colour" but none of "mMatrix", "color", "pulseDistance", "objDistance", "normal".
    ShaderProgram flat("tests/render/shaders/flat.vert", "tests/render/shaders/flat.frag");
    Mesh mesh = square(true, false);
    renderer.addMesh(MeshInstance(&mesh));
    capture.clear();
    renderer.drawWorldCube(&mesh, flat, projection, view, identity, 1.0f, 2.0f, glm::vec4(1.0f));
    const std::string out = capture.out();
    for (const char* line : {"matrix 'mMatrix' not found\n", "vector(4) 'color' not found\n",
             "pulseDistance not found\n", "objDistance not found\n", "Attribute 'normal' not found\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line;
    EXPECT_EQ(renderer.drawCounts().worldCube, 1u);
    expectNothingBound();
}

TEST_F(RendererTest, TexturedQuadBlendsOverItsRectangleAndRestoresState)
{
    RenderTarget target(32);
    Texture2D texture = solidTexture(255, 255, 255, 255);
    renderer.drawTexturedQuad(glm::vec2(-1.0f, -1.0f), glm::vec2(0.0f, 1.0f), &texture, 0.5f);
    EXPECT_TRUE(pixelNear(readPixel(8, 16), 128, 128, 128)); // left half: white at half opacity over black
    EXPECT_TRUE(pixelNear(readPixel(24, 16), 0, 0, 0));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(boundInteger(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    expectNothingBound();

    renderer.drawTexturedQuad(glm::vec2(-1.0f, -1.0f), glm::vec2(1.0f, 1.0f), &texture, 0.0f);
    const float initial[16] = {1, 1, 1, 1, -1, 1, 0, 1, -1, -1, 0, 0, 1, -1, 1, 0};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Renderer::quadVertices[i], initial[i]) << i;
    EXPECT_EQ(renderer.drawCounts().texturedQuad, 2u);
}

TEST_F(RendererTest, InitTurnsOnLessOrEqualDepthTesting)
{
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(boundInteger(GL_DEPTH_FUNC), GL_LEQUAL);
}
