#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

class Music;

// A developer's window into the live loop, both off unless asked for:
// LUMAROLL_SYNC_LOG=FILE writes a line for every frame drawn: its pass, the
// time it is due, the playback clock as its drawing began and once it is on
// screen, the music's position then (-1 without music) and SDL's ticks just
// after and just before that clock was read, all in ms; LUMAROLL_STOP_AT=MS
// holds the process still once (HoldStill.h), when the first frame due at or
// after run time MS is on screen, so that the window can be read as it
// stands: the sync log's line for that frame is followed by a line
// "stopped", and flushed, first.
class LiveProbes {
public:
    LiveProbes();

    bool logging() const { return syncLog != nullptr; }
    // After the frame of `pass` is on screen; `readClock` gives the playback
    // clock. The ticks on both sides of that read bound the wall time it
    // stands for, however long the process was kept from running between.
    void frameShown(
        std::uint32_t pass, std::uint32_t begun, const std::function<std::uint32_t()>& readClock, const Music* music);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> syncLog;
    long stopAtPass = -1;
};
