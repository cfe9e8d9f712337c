#pragma once

#include "platform/native/demo/SoundOutput.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

// A source decoded on a thread of its own, up to `ahead` before what is read,
// so that an output's real-time thread only copies: read() never blocks,
// allocates, nor touches a file, whatever the disk and the machine are doing.
//
// Where the decoder is behind, read() hands on silence for the frames not yet
// decoded and the music's place moves on by as many; the decoder drops them
// when it gets there. What plays so keeps its place in the music, and the
// pictures, which follow the frames handed on, stay in step with it.
class DecodedAhead : public SoundSource {
public:
    static constexpr std::chrono::milliseconds defaultAhead { 1500 };

    // Decodes `source` from where it stands.
    explicit DecodedAhead(const std::shared_ptr<SoundSource>& source, std::chrono::milliseconds ahead = defaultAhead);
    // Waits a second at most for the decoder: one stuck in a read of a slow
    // disk is left to end on its own, and the source with it.
    ~DecodedAhead() override;
    DecodedAhead(const DecodedAhead&) = delete;
    DecodedAhead& operator=(const DecodedAhead&) = delete;

    std::uint32_t rate() const override { return framesPerSecond; }
    // The output's thread: what is decoded, then silence for what is not;
    // fewer than `frames` only at the music's end, 0 past it.
    std::size_t read(std::int16_t* into, std::size_t frames) override;
    std::uint64_t tell() const override;
    // While no output reads: moves the decoder, then waits until the buffer
    // is full again or holds the music's end, two seconds at most, since the
    // outputs take their first queue at once. Past the end: at the end, once
    // the decoder has found it within that time.
    void seek(std::uint64_t frame) override;

    // Whether the reader has taken the music's last frame: the end is played
    // when the output has it, not when the decoder reached it. From any thread.
    bool ended() const;
    // How many frames a read could take now without silence; from any thread.
    std::uint64_t buffered() const;

private:
    struct Decoding; // what the decoder's thread shares with the object

    std::shared_ptr<Decoding> decoding; // the decoder's thread holds it too, and may outlive the object
    std::uint32_t framesPerSecond;
    std::thread decoder; // last: it starts once the rest is there
};
