#include "core/FileKind.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

// A whole regular file, of more than one read; what is not one is named, and
// what is not there gives the system's reason. That a FIFO is named without
// being waited on, the settings' own tests show.
TEST(WholeFile, ReadsARegularFileWholeAndNamesWhatElseStandsThere)
{
    char name[] = "/tmp/lumaroll-filekind-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const std::string folder = name;
    const std::string text(200000, 'x');
    std::ofstream(folder + "/big") << text << "end";
    const WholeFile big = readWholeFile(folder + "/big");
    EXPECT_TRUE(big.read);
    EXPECT_EQ(big.text, text + "end");

    const WholeFile dir = readWholeFile(folder);
    EXPECT_FALSE(dir.read);
    EXPECT_EQ(dir.kind, "a folder");
    const WholeFile missing = readWholeFile(folder + "/missing");
    EXPECT_FALSE(missing.read);
    EXPECT_EQ(missing.error, ENOENT);
    std::filesystem::remove_all(folder);
}
