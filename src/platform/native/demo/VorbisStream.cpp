#include "platform/native/demo/VorbisStream.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string vorbisError(int code)
{
    switch (code) {
    case OV_ENOTVORBIS:
        return "not an Ogg Vorbis audio stream";
    case OV_EBADHEADER:
        return "not an Ogg Vorbis audio stream: its headers are broken";
    case OV_EVERSION:
        return "an Ogg Vorbis stream of a version this decoder does not know";
    case OV_EREAD:
        return "it cannot be read";
    default:
        return "it cannot be decoded (libvorbisfile error " + std::to_string(code) + ")";
    }
}

} // namespace

VorbisStream::VorbisStream(std::unique_ptr<OggVorbis_File> opened)
    : file(std::move(opened))
{
    const vorbis_info* info = ov_info(file.get(), -1);
    framesPerSecond = static_cast<std::uint32_t>(info->rate);
    channels = info->channels;
}

std::unique_ptr<VorbisStream> VorbisStream::open(const std::string& path, std::string& error)
{
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (stream == nullptr) {
        error = "Cannot open the music '" + path + "': " + std::strerror(errno);
        return nullptr;
    }
    auto file = std::make_unique<OggVorbis_File>();
    // On success the decoder owns the stream and closes it with ov_clear.
    if (const int result = ov_open_callbacks(stream, file.get(), nullptr, 0, OV_CALLBACKS_DEFAULT); result != 0) {
        std::fclose(stream);
        error = "The music '" + path + "' is " + vorbisError(result);
        return nullptr;
    }
    const vorbis_info* info = ov_info(file.get(), -1);
    if (info == nullptr || info->rate <= 0 || info->rate > 384000 || info->channels <= 0) {
        ov_clear(file.get());
        error = "The music '" + path + "' has no usable sample rate or channels";
        return nullptr;
    }
    return std::unique_ptr<VorbisStream>(new VorbisStream(std::move(file)));
}

VorbisStream::~VorbisStream()
{
    ov_clear(file.get());
}

std::size_t VorbisStream::read(std::int16_t* into, std::size_t frames)
{
    std::size_t got = 0;
    const auto width = static_cast<std::size_t>(channels);
    while (got < frames && !atEnd) {
        decoded.resize((frames - got) * width);
        int section = 0;
        const long bytes = ov_read(file.get(), reinterpret_cast<char*>(decoded.data()),
            static_cast<int>(std::min<std::size_t>(decoded.size() * 2, 1 << 20)), 0, 2, 1, &section);
        if (bytes == OV_HOLE)
            continue; // a lost page: the music goes on after it
        if (bytes <= 0) {
            atEnd = true; // the end, or damage that ends the decoding
            break;
        }
        const std::size_t count = static_cast<std::size_t>(bytes) / 2 / width;
        for (std::size_t frame = 0; frame < count; ++frame) {
            const std::int16_t* in = &decoded[frame * width];
            into[2 * (got + frame)] = in[0];
            into[2 * (got + frame) + 1] = width > 1 ? in[1] : in[0];
        }
        got += count;
    }
    position += got;
    return got;
}

void VorbisStream::seek(std::uint64_t frame)
{
    const ogg_int64_t total = ov_pcm_total(file.get(), -1);
    const auto target
        = static_cast<ogg_int64_t>(std::min<std::uint64_t>(frame, total > 0 ? static_cast<std::uint64_t>(total) : 0));
    atEnd = ov_pcm_seek(file.get(), target) != 0;
    position = atEnd ? static_cast<std::uint64_t>(std::max<ogg_int64_t>(total, 0)) : static_cast<std::uint64_t>(target);
}
