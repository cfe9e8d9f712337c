#include "support/TrackSamples.h"

#include <vorbis/vorbisfile.h>

#include <string>

std::vector<std::int16_t> trackFrom(std::uint32_t milliseconds, std::size_t count)
{
    std::vector<std::int16_t> samples(count);
    OggVorbis_File file;
    if (ov_fopen((std::string(LUMAROLL_SOURCE_DIR) + "/data/music/vobra.ogg").c_str(), &file) != 0)
        return {};
    if (milliseconds > 0)
        ov_time_seek(&file, milliseconds / 1000.0);
    std::size_t got = 0;
    for (int section = 0; got < count;) {
        const long bytes = ov_read(&file, reinterpret_cast<char*>(samples.data() + got),
            static_cast<int>((count - got) * 2), 0, 2, 1, &section);
        if (bytes <= 0)
            break;
        got += static_cast<std::size_t>(bytes) / 2;
    }
    ov_clear(&file);
    samples.resize(got);
    return samples;
}
