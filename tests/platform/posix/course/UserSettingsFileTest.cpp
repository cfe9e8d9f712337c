#include "course/Settings.h"
#include "support/LogCapture.h"
#include "support/TemporaryFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// The user's file is found as the XDG convention says.
TEST(UserSettingsFile, IsFoundByXdgThenHome)
{
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/srv/config", 1);
    EXPECT_EQ(Settings::userFile(), "/srv/config/lumaroll/settings.ini");
    setenv("HOME", "/home/ada", 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1); // not a valid one
    EXPECT_EQ(Settings::userFile(), "/home/ada/.config/lumaroll/settings.ini");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Settings::userFile(), "/home/ada/.config/lumaroll/settings.ini");
    setenv("HOME", home.c_str(), 1);
}

#ifndef __EMSCRIPTEN__ // whose file system under node makes no FIFO
// A FIFO would block the reading until someone wrote to it: not read, one line.
TEST(UserSettingsFile, AFifoInItsPlaceIsNamedWithoutWaitingOnIt)
{
    const TemporaryFile near("");
    const std::string fifo = near.path + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    LogCapture capture;
    EXPECT_EQ(Settings::optionalFile(fifo).get("hres", 5.0f), 5.0f);
    EXPECT_EQ(capture.err(), "Settings file '" + fifo + "' is a FIFO, not a regular file: not read\n");
    std::remove(fifo.c_str());
}
#endif
