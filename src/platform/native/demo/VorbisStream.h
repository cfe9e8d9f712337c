#pragma once

#include "platform/native/demo/SoundOutput.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct OggVorbis_File;

// An Ogg Vorbis file decoded as it is read, a little at a time, from disk,
// as 16-bit stereo: a mono file is heard on both sides, a file of more
// channels by its first two.
class VorbisStream : public SoundSource {
public:
    // The file at `path`, or null with the reason in `error`.
    static std::unique_ptr<VorbisStream> open(const std::string& path, std::string& error);
    ~VorbisStream() override;
    VorbisStream(const VorbisStream&) = delete;
    VorbisStream& operator=(const VorbisStream&) = delete;

    std::uint32_t rate() const override { return framesPerSecond; }
    std::size_t read(std::int16_t* into, std::size_t frames) override;
    std::uint64_t tell() const override { return position; }
    // Past the end: at the end.
    void seek(std::uint64_t frame) override;

private:
    explicit VorbisStream(std::unique_ptr<OggVorbis_File> file);

    std::unique_ptr<OggVorbis_File> file;
    std::uint32_t framesPerSecond = 0;
    int channels = 0;
    std::uint64_t position = 0;
    bool atEnd = false;
    std::vector<std::int16_t> decoded; // one read's samples, every channel
};
