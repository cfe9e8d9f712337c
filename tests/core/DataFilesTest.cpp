#include "core/DataFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace fs = std::filesystem;

// The end-to-end faults take one missing or broken file of each kind; that
// every file start-up needs is one of those kinds rests on this list, which
// must name what the data folder holds, no more and no less.
TEST(DataFiles, TheListNamesEveryTextureShaderModelAndTrackInTheDataFolderAndNothingElse)
{
    std::set<std::string> listed = { DataFiles::settings, DataFiles::music, DataFiles::cubeMesh };
    for (const char* texture : DataFiles::textures)
        listed.insert(texture);
    for (const char* stem : DataFiles::shaderStems) {
        listed.insert(DataFiles::vertexShader(stem));
        listed.insert(DataFiles::fragmentShader(stem));
    }
    const auto plain = [](std::string path) { return path.rfind("./", 0) == 0 ? path.substr(2) : path; };
    std::set<std::string> expected;
    for (const std::string& path : listed) {
        EXPECT_TRUE(fs::is_regular_file(path)) << path << " is listed and not there";
        expected.insert(plain(path));
    }

    std::set<std::string> held;
    for (const auto& entry : fs::recursive_directory_iterator("data"))
        if (entry.is_regular_file() && entry.path().extension() != ".mesh") // the page's baked model
            held.insert(entry.path().generic_string());
    EXPECT_EQ(held, expected);
}
