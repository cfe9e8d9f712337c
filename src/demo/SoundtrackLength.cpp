#include "demo/SoundtrackLength.h"

#include "core/FileKind.h"

#include <cstdio>

std::string soundtrackTooShort(const std::string& path, std::uint32_t needed)
{
    if (const std::string kind = nonRegularKind(path); !kind.empty())
        return "The music '" + path + "' is " + kind + ", not a sound file";
    const std::uint32_t decodable = decodableMilliseconds(path);
    if (decodable >= needed)
        return "";
    char line[256];
    std::snprintf(line, sizeof line,
        "The music '%s' plays for %.1f s and the run needs %.1f s: it is cut short or broken", path.c_str(),
        decodable / 1000.0, needed / 1000.0);
    return line;
}
