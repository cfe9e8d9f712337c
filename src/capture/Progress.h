#pragma once

#include <chrono>
#include <cstdint>

// How far a capture has come: on a terminal a bar redrawn in place with the
// frames done, the frames per second and the time left; otherwise a plain
// line every tenth of the way.
class Progress {
public:
    explicit Progress(std::uint32_t totalFrames);
    void frameDone(std::uint32_t frame);
    // Ends the bar's line and says how long the whole took.
    void finish();

    double framesPerSecond() const;

private:
    void show(std::uint32_t done, bool last);

    std::uint32_t total;
    bool terminal;
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point lastShown;
    std::uint32_t done = 0;
    std::uint32_t lastTenth = 0;
};
