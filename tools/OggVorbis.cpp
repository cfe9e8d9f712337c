#include "OggVorbis.h"

#include "Synth.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <iostream>

namespace {

constexpr int serialNumber = 0x4c756d61; // fixed: "Luma"

bool writePages(ogg_stream_state& stream, std::FILE* file, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file)
                != static_cast<std::size_t>(page.header_len)
            || std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file)
                != static_cast<std::size_t>(page.body_len))
            return false;
    }
    return true;
}

} // namespace

bool writeOggVorbis(const std::string& path, const std::vector<float>& interleaved, float quality)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::cerr << "Cannot write '" << path << "'" << std::endl;
        return false;
    }
    vorbis_info info;
    vorbis_info_init(&info);
    bool ok = vorbis_encode_init_vbr(&info, 2, sampleRate, quality) == 0;
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Lumaroll");
    vorbis_comment_add_tag(&comment, "ENCODER", "tools/make_music");
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    if (ok) {
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, serialNumber);
        ogg_packet header, commentHeader, codeHeader;
        vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &commentHeader);
        ogg_stream_packetin(&stream, &codeHeader);
        ok = writePages(stream, file, true);

        const std::size_t frames = interleaved.size() / 2;
        constexpr std::size_t chunk = 1024;
        for (std::size_t at = 0; ok && at <= frames; at += chunk) {
            const std::size_t count = at < frames ? std::min(chunk, frames - at) : 0;
            if (count > 0) {
                float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
                for (std::size_t i = 0; i < count; ++i) {
                    buffer[0][i] = interleaved[2 * (at + i)];
                    buffer[1][i] = interleaved[2 * (at + i) + 1];
                }
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(count)); // 0 marks the end
            while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
                vorbis_analysis(&block, nullptr);
                vorbis_bitrate_addblock(&block);
                ogg_packet packet;
                while (ok && vorbis_bitrate_flushpacket(&dsp, &packet)) {
                    ogg_stream_packetin(&stream, &packet);
                    ok = writePages(stream, file, false);
                }
            }
            if (count == 0)
                break;
        }
        ok = ok && writePages(stream, file, true);
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    ok = std::fclose(file) == 0 && ok;
    if (!ok)
        std::cerr << "Could not encode '" << path << "'" << std::endl;
    return ok;
}
