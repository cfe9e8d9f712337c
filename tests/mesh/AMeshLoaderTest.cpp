#include "mesh/AMeshLoader.h"
#include "mesh/AMesh.h"
#include "support/LogCapture.h"

#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const std::string models = std::string(LUMAROLL_SOURCE_DIR) + "/tests/mesh/models/";

std::unique_ptr<VornE::Ressource> loadModel(const std::string& path)
{
    AMeshLoader loader;
    return std::unique_ptr<VornE::Ressource>(loader.load(path));
}

} // namespace

TEST(AMeshLoader, CubeLoadsTwentyFourVerticesWithAllAttributesAndLogsOneInfoLine)
{
    LogCapture capture;
    std::unique_ptr<VornE::Ressource> ressource = loadModel("./data/meshes/cube2.obj");
    ASSERT_NE(ressource, nullptr) << capture.err();
    const Mesh& mesh = static_cast<const Mesh&>(*ressource);
    EXPECT_EQ(capture.out(), "Loading of file './data/meshes/cube2.obj' succeed\n");
    EXPECT_EQ(capture.err(), "");
    EXPECT_EQ(mesh.name, "./data/meshes/cube2.obj");
    ASSERT_EQ(mesh.positions.size(), 24u); // four corners per face: per-face normals split the corners
    EXPECT_EQ(mesh.normals.size(), 24u);
    EXPECT_EQ(mesh.texCoords.size(), 24u);
    EXPECT_TRUE(mesh.colours.empty());
    EXPECT_EQ(mesh.indices.size(), 36u);
    for (unsigned int index : mesh.indices)
        EXPECT_LT(index, mesh.positions.size());
    for (const glm::vec4& position : mesh.positions) {
        EXPECT_EQ(position.w, 1.0f);
        // Copied as they are: the cube spans 0..1, not centred or scaled.
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_TRUE(position[axis] == 0.0f || position[axis] == 1.0f) << position[axis];
    }
    for (const glm::vec3& normal : mesh.normals)
        EXPECT_NEAR(glm::length(normal), 1.0f, 1e-5f);
}

TEST(AMeshLoader, ModelWithoutTexCoordsOrNormalsGetsGeneratedNormalsAndNoTexCoords)
{
    LogCapture capture;
    std::unique_ptr<VornE::Ressource> ressource = loadModel(models + "triangle_positions_only.obj");
    ASSERT_NE(ressource, nullptr) << capture.err();
    const Mesh& mesh = static_cast<const Mesh&>(*ressource);
    ASSERT_EQ(mesh.positions.size(), 3u);
    EXPECT_EQ(mesh.positions[1], glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(mesh.indices.size(), 3u);
    EXPECT_TRUE(mesh.texCoords.empty());
    // The triangle lies in z = 0, wound counter-clockwise.
    EXPECT_EQ(mesh.normals, std::vector<glm::vec3>(3, glm::vec3(0.0f, 0.0f, 1.0f)));
}

TEST(AMeshLoader, MissingFileNonModelAndModelWithoutMeshGiveNullWithTheirErrorLines)
{
    // Leave a known last error in Assimp: a call for the missing file would replace it.
    ASSERT_EQ(aiImportFile((models + "not_a_model.txt").c_str(), aiProcessPreset_TargetRealtime_Quality), nullptr);
    const std::string reason = aiGetErrorString();
    ASSERT_FALSE(reason.empty());
    const std::pair<std::string, std::string> cases[] = {
        { models + "no_such_model.obj", "Unable to find '\n" + models + "no_such_model.obj\n'\n\n" },
        { models + "not_a_model.txt",
            "Fail to load the mesh '\n" + models + "not_a_model.txt\n' : \n" + reason + "\n\n\n" },
        { models + "no_mesh.obj",
            "Fail to load the mesh '\n" + models + "no_mesh.obj\n' : \nno mesh in the file\n\n\n" },
    };
    for (const auto& [path, error] : cases) {
        LogCapture capture;
        EXPECT_EQ(loadModel(path), nullptr);
        EXPECT_EQ(capture.err(), error);
        EXPECT_EQ(capture.out(), ""); // no success line for a failure
        if (&path == &cases[0].first) {
            EXPECT_EQ(aiGetErrorString(), reason) << "Assimp was asked for a missing file";
        }
    }
}

