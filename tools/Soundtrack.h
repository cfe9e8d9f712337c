#pragma once

#include <vector>

// When things happen on screen, in seconds from the first frame, which is
// when the music starts. Read from the scenes' own timelines, so the music
// follows the pictures if they change.
struct DemoMoments {
    double sceneTwoStart = 0.0;
    double sceneThreeStart = 0.0;
    double lastFrame = 0.0; // the run's last picture

    // Scene one: the highlight sweep starts, then restarts once a bar.
    double firstSweep = 0.0;
    std::vector<double> sweepRestarts;
    std::vector<double> stripFlashes[3];
    double spinStart = 0.0;
    double shrinkStart = 0.0;

    // Scene two: the pulse restarts once a bar; the ball shrinks, is reset
    // and regrows green.
    std::vector<double> sceneTwoPulses;
    double sceneTwoShrink = 0.0;
    double sceneTwoReset = 0.0;
    double sceneTwoRegrown = 0.0;

    // Scene three: the pulse restarts once a bar; the balls meet; the last fade.
    std::vector<double> sceneThreePulses;
    double ballsMeet = 0.0;
    double finalFade = 0.0;
};

// The whole mix, interleaved stereo at 44.1 kHz, peaking at `peak` (linear).
std::vector<float> renderSoundtrack(const DemoMoments& moments, double seconds, float peak);
