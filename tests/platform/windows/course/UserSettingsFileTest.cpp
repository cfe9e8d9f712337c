#include "course/Settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// The user's file is in the roaming application data folder; without one,
// there is none.
TEST(UserSettingsFile, IsInTheApplicationDataFolder)
{
    const char* saved = std::getenv("APPDATA");
    const std::string appData = saved != nullptr ? saved : "";
    _putenv_s("APPDATA", "C:\\Users\\ada\\AppData\\Roaming");
    EXPECT_EQ(Settings::userFile(), "C:\\Users\\ada\\AppData\\Roaming\\Lumaroll\\settings.ini");
    _putenv_s("APPDATA", "");
    EXPECT_EQ(Settings::userFile(), "");
    _putenv_s("APPDATA", appData.c_str());
}
