#pragma once

#include <chrono>
#include <cstdint>

// How far a capture has come: on a terminal a bar redrawn in place with the
// frames captured, the frames per second and the time left; otherwise a
// plain line every tenth of the way. The way is the run's passes, which the
// capture goes through whether it keeps their frames or not; the count is of
// the frames asked for.
class Progress {
public:
    Progress(std::uint32_t passes, std::uint32_t frames);
    // Pass `pass` is over; `kept` when its frame was one asked for.
    void passDone(std::uint32_t pass, bool kept);
    // Ends the bar's line.
    void finish();

private:
    void show(bool last);
    double secondsSinceStart() const;

    std::uint32_t passes;
    std::uint32_t frames;
    bool terminal;
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point lastShown;
    std::uint32_t passesDone = 0;
    std::uint32_t kept = 0;
    std::uint32_t lastTenth = 0;
};
