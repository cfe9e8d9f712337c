#include "core/FileKind.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Folder {
    std::string path;
    Folder()
    {
        char name[] = "/tmp/lumaroll-filekind-XXXXXX";
        path = mkdtemp(name);
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

} // namespace

// A whole regular file, of more than one read; what is not one is named, and
// what is not there gives the system's reason.
TEST(WholeFile, ReadsARegularFileWholeAndNamesWhatElseStandsThere)
{
    Folder folder;
    const std::string text(200000, 'x');
    std::ofstream(folder.path + "/big") << text << "end";
    const WholeFile big = readWholeFile(folder.path + "/big");
    EXPECT_TRUE(big.read);
    EXPECT_EQ(big.text, text + "end");

    const WholeFile dir = readWholeFile(folder.path);
    EXPECT_FALSE(dir.read);
    EXPECT_EQ(dir.kind, "a folder");
    const WholeFile missing = readWholeFile(folder.path + "/missing");
    EXPECT_FALSE(missing.read);
    EXPECT_EQ(missing.error, ENOENT);
}

// Whatever stood at the name when a check was made, what is opened is what
// is checked: a FIFO there at the open, with nobody to write to it, is named
// at once and never waited on.
TEST(WholeFile, AFifoAtTheOpenIsNamedWithoutWaitingOnIt)
{
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the page's file system under node makes no FIFO, and the page has no threads";
#else
    Folder folder;
    const std::string fifo = folder.path + "/settings.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&fifo] { return readWholeFile(fifo); });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Lets a reader that waits for a writer go, so that the test ends.
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        ::close(writer);
        FAIL() << "the read waited on a FIFO";
    }
    const WholeFile found = reading.get();
    EXPECT_FALSE(found.read);
    EXPECT_EQ(found.kind, "a FIFO");
#endif
}
