#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

class Music;

// A developer's window into the live loop, both off unless asked for:
// LUMAROLL_SYNC_LOG=FILE writes a line for every frame drawn: its pass, the
// time it is due, the playback clock as its drawing began and once it is on
// screen, the music's position then (-1 without music) and SDL's ticks, all
// in ms; LUMAROLL_STOP_AT=MS stops the process (SIGSTOP) once, when the first
// frame due at or after run time MS is on screen, so that the window can be
// read as it stands (the sync log, flushed first, names that frame).
class LiveProbes {
public:
    LiveProbes();

    bool logging() const { return syncLog != nullptr; }
    // After the frame of `pass` is on screen.
    void frameShown(std::uint32_t pass, std::uint32_t begun, std::uint32_t shown, const Music* music);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> syncLog;
    long stopAtPass = -1;
};
