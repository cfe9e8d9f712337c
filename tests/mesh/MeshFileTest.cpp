#include "mesh/MeshFile.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

const std::string source = LUMAROLL_SOURCE_DIR;

} // namespace

// The web page draws the baked cube: it must be the very mesh the desktop
// program imports, array for array (tools/bake_mesh rewrites it).
TEST(MeshFile, TheWebPagesBakedCubeIsTheImportedModel)
{
    AMeshLoader loader;
    const std::unique_ptr<VornE::Ressource> imported(loader.load(source + "/data/meshes/cube2.obj"));
    ASSERT_NE(imported, nullptr);
    const Mesh& model = static_cast<const Mesh&>(*imported);
    std::string error;
    const std::unique_ptr<Mesh> baked
        = MeshFile::read(source + "/data/meshes/cube2.obj.mesh", "./data/meshes/cube2.obj", error);
    ASSERT_NE(baked, nullptr) << error;
    EXPECT_EQ(baked->name, "./data/meshes/cube2.obj");
    EXPECT_EQ(baked->positions, model.positions);
    EXPECT_EQ(baked->normals, model.normals);
    EXPECT_EQ(baked->colours, model.colours);
    EXPECT_EQ(baked->texCoords, model.texCoords);
    EXPECT_EQ(baked->indices, model.indices);
}

TEST(MeshFile, AFileCutShortDamagedOrOfAnotherKindIsRefused)
{
    std::ifstream in(source + "/data/meshes/cube2.obj.mesh", std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = testing::TempDir() + "mesh_file_test.mesh";
    std::string badIndex = whole;
    badIndex[badIndex.size() - 1] = '\x7f'; // the last index's high byte
    for (const std::string& text : { std::string(), whole.substr(0, 10), whole.substr(0, 40),
             whole.substr(0, whole.size() - 1), whole + "x", std::string("v 0 0 0\n"), badIndex }) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        std::string error;
        EXPECT_EQ(MeshFile::read(path, "cube", error), nullptr) << text.size() << " bytes";
        EXPECT_NE(error, "");
    }
    std::remove(path.c_str());
    std::string error;
    EXPECT_EQ(MeshFile::read(path, "cube", error), nullptr);
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}
