#include "render/ShaderPrograms.h"
#include "core/DataFiles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// The table of programs and the data folder's shader files name the same
// pairs: a row for every pair, and no row without its files. Each row's
// name is its own.
TEST(ShaderPrograms, EveryPairOfFilesHasARowAndEveryRowItsFiles)
{
    std::set<std::string> stems;
    std::set<std::string> names;
    for (const ProgramEntry* entry : ShaderPrograms::all()) {
        stems.insert(entry->stem);
        EXPECT_TRUE(names.insert(entry->name).second) << entry->name << " twice";
        EXPECT_NE(std::string(entry->foundAt), "") << entry->name;
    }
    EXPECT_EQ(stems, std::set<std::string>(std::begin(DataFiles::shaderStems), std::end(DataFiles::shaderStems)));
}
