// The desktop's decoder of the soundtrack's length: libvorbisfile. The web
// page asks the browser's decoder instead (src/platform/web/demo/WebDecodableLength.cpp).

#include "demo/SoundtrackLength.h"

#include <vorbis/vorbisfile.h>

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
