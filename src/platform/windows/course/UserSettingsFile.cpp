// Where the user's own settings are on Windows: the roaming application
// data folder, %APPDATA%\Lumaroll\settings.ini.

#include "course/Settings.h"

#include <cstdlib>

std::string Settings::userFile()
{
    const char* data = std::getenv("APPDATA");
    if (data != nullptr && data[0] != '\0')
        return std::string(data) + "\\Lumaroll\\settings.ini";
    return "";
}
