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

// The web page draws the baked cube: it must be the very mesh the desktop
// program imports, array for array (tools/bake_mesh rewrites it). Any other
// file, or that one damaged, is refused.
TEST(MeshFile, TheWebPagesBakedCubeIsTheImportedModelAndADamagedFileIsRefused)
{
    const std::string baked = std::string(LUMAROLL_SOURCE_DIR) + "/data/meshes/cube2.obj.mesh";
    AMeshLoader loader;
    const std::unique_ptr<VornE::Ressource> imported(
        loader.load(std::string(LUMAROLL_SOURCE_DIR) + "/data/meshes/cube2.obj"));
    ASSERT_NE(imported, nullptr);
    const Mesh& model = static_cast<const Mesh&>(*imported);
    std::string error;
    const std::unique_ptr<Mesh> read = MeshFile::read(baked, "./data/meshes/cube2.obj", error);
    ASSERT_NE(read, nullptr) << error;
    EXPECT_EQ(read->name, "./data/meshes/cube2.obj");
    EXPECT_EQ(read->positions, model.positions);
    EXPECT_EQ(read->normals, model.normals);
    EXPECT_EQ(read->colours, model.colours);
    EXPECT_EQ(read->texCoords, model.texCoords);
    EXPECT_EQ(read->indices, model.indices);

    std::ifstream in(baked, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = testing::TempDir() + "mesh_file_test.mesh";
    std::string badIndex = whole;
    badIndex[badIndex.size() - 1] = '\x7f'; // the last index's high byte
    for (const std::string& text :
        { std::string("v 0 0 0\n"), whole.substr(0, 40), whole.substr(0, whole.size() - 1), whole + "x", badIndex }) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        EXPECT_EQ(MeshFile::read(path, "cube", error), nullptr) << text.size() << " bytes";
        EXPECT_NE(error, "");
        error.clear();
    }
    std::remove(path.c_str());
    EXPECT_EQ(MeshFile::read(path, "cube", error), nullptr);
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}
