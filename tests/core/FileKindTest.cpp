#include "core/FileKind.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

// A whole regular file, of more than one read; what is not one is named, and
// what is not there (a folder on the way included) is told as missing, with
// the system's reason. That a FIFO is named without being waited on, the settings'
// own tests show.
TEST(WholeFile, ReadsARegularFileWholeAndNamesWhatElseStandsThere)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path()
        / ("lumaroll-filekind-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    ASSERT_TRUE(fs::create_directory(folder));
    const std::string text(200000, 'x');
    std::ofstream((folder / "big").string(), std::ios::binary) << text << "end";
    const WholeFile big = readWholeFile((folder / "big").string());
    EXPECT_TRUE(big.read);
    EXPECT_EQ(big.text, text + "end");

    const WholeFile dir = readWholeFile(folder.string());
    EXPECT_FALSE(dir.read);
    EXPECT_EQ(dir.kind, "a folder");
    for (const char* absent : { "missing", "missing/below" }) {
        const WholeFile missing = readWholeFile((folder / absent).string());
        EXPECT_FALSE(missing.read) << absent;
        EXPECT_TRUE(missing.missing) << absent;
        EXPECT_FALSE(missing.reason.empty()) << absent;
    }
    fs::remove_all(folder);
}
