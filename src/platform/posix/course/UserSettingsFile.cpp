// Where the user's own settings are on a POSIX desktop: the XDG base
// directories' configuration folder.

#include "course/Settings.h"

#include <cstdlib>

std::string Settings::userFile()
{
    // A relative XDG_CONFIG_HOME is not a valid one, and is ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return std::string(config) + "/lumaroll/settings.ini";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.config/lumaroll/settings.ini";
    return "";
}
