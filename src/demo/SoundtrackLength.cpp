#include "demo/SoundtrackLength.h"

#include "core/FileKind.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>

std::uint32_t decodableMilliseconds(const std::string& path)
{
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0)
        return 0;
    const vorbis_info* info = ov_info(&file, -1);
    const long rate = info != nullptr ? info->rate : 0;
    std::uint64_t frames = 0;
    if (rate > 0) {
        for (;;) {
            float** channels = nullptr;
            int section = 0;
            const long got = ov_read_float(&file, &channels, 4096, &section);
            if (got == OV_HOLE)
                continue;
            if (got <= 0)
                break;
            frames += static_cast<std::uint64_t>(got);
        }
    }
    ov_clear(&file);
    return rate > 0 ? static_cast<std::uint32_t>(frames * 1000u / static_cast<std::uint64_t>(rate)) : 0u;
}

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
