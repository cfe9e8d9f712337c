#include "mesh/AMeshLoader.h"
#include "platform/desktop/mesh/AMesh.h"
#include "support/LogCapture.h"

#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

TEST(AMeshLoader, MissingFileNonModelAndModelWithoutMeshGiveNullWithTheirErrorLines)
{
    const std::string models = std::string(LUMAROLL_SOURCE_DIR) + "/tests/mesh/models/";
    // Leave a known last error in Assimp: a call for the missing file would replace it.
    ASSERT_EQ(aiImportFile((models + "not_a_model.txt").c_str(), aiProcessPreset_TargetRealtime_Quality), nullptr);
    const std::string reason = aiGetErrorString();
    ASSERT_FALSE(reason.empty());
    const std::pair<std::string, std::string> cases[] = {
        { models + "no_such_model.obj",
            "Unable to find '" + models + "no_such_model.obj': No such file or directory\n" },
        { models + "not_a_model.txt", "Fail to load the mesh '" + models + "not_a_model.txt' : " + reason + "\n" },
        { models + "no_mesh.obj", "Fail to load the mesh '" + models + "no_mesh.obj' : no mesh in the file\n" },
    };
    for (const auto& [path, error] : cases) {
        LogCapture capture;
        AMeshLoader loader;
        EXPECT_EQ(std::unique_ptr<VornE::Ressource>(loader.load(path)), nullptr);
        EXPECT_EQ(capture.err(), error);
        EXPECT_EQ(capture.out(), ""); // no success line for a failure
        if (&path == &cases[0].first) {
            EXPECT_EQ(aiGetErrorString(), reason) << "Assimp was asked for a missing file";
        }
    }
}
