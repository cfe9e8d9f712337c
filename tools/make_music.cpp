// Composes the demo's soundtrack and writes data/music/vobra.ogg.
//   make_music OUTPUT_FOLDER
// The music follows the pictures: its bars start where the scenes' own
// timelines put the sweep restarts and the pulses.
#include "OggVorbis.h"
#include "Soundtrack.h"

#include "course/LinearInfluencePoint.h"
#include "course/RunLength.h"
#include "course/RunRandom.h"

#include <cstdlib>
#include <iostream>
#include <numeric>
#include <string>

namespace {

constexpr unsigned int step = frameMilliseconds;

double seconds(double startMs, std::uint32_t elapsedMs)
{
    return (startMs + elapsedMs) / 1000.0;
}

// Plays the three timelines as the demo's loop does and notes when their
// events first show: the state an update leaves is drawn by the next frame,
// which starts at the scene's start plus the scene's elapsed time. Where each
// scene starts and where the run ends come from the run's list of scenes.
DemoMoments readMoments()
{
    DemoMoments m;
    const std::array<std::uint32_t, runSceneCount> frames = sceneFrameCounts();
    seedRunRandom(0);
    SceneOneTimeline one;
    bool sweepStarted = false, spinning = false, shrinking = false;
    for (bool running = true; running;) {
        running = one.update(step);
        const std::uint32_t t = one.elapsed;
        if (one.sweepStarted && !sweepStarted)
            m.firstSweep = seconds(0, t);
        sweepStarted = one.sweepStarted;
        if (one.sweepRestart.value == 1.0f)
            m.sweepRestarts.push_back(seconds(0, t));
        for (std::size_t k = 0; k < 3; ++k)
            if (one.stripAlpha[k] == 1.0f - 0.05f)
                m.stripFlashes[k].push_back(seconds(0, t));
        if (one.spinAngle > 0.0f && !spinning)
            m.spinStart = seconds(0, t);
        spinning = one.spinAngle > 0.0f;
        if (one.shrinkStarted && !shrinking)
            m.shrinkStart = seconds(0, t);
        shrinking = one.shrinkStarted;
    }
    const double twoStart = frames[0] * step;
    m.sceneTwoStart = twoStart / 1000.0;

    SceneTwoTimeline two;
    bool grown = false;
    float radius = 0.0f;
    int growths = 0;
    for (bool running = true; running;) {
        const bool waveFired = two.wavePulse.value == 1.0f; // takes effect in this update
        running = two.update(step);
        const std::uint32_t t = two.elapsed;
        if (waveFired)
            m.sceneTwoPulses.push_back(seconds(twoStart, t));
        if (two.ball().radius < radius && m.sceneTwoShrink == 0.0)
            m.sceneTwoShrink = seconds(twoStart, t);
        radius = two.ball().radius;
        if (two.lastReset != 0 && m.sceneTwoReset == 0.0)
            m.sceneTwoReset = seconds(twoStart, t);
        if (two.grown && !grown && ++growths == 2)
            m.sceneTwoRegrown = seconds(twoStart, t);
        grown = two.grown;
    }
    const double threeStart = twoStart + frames[1] * step;
    m.sceneThreeStart = threeStart / 1000.0;

    SceneThreeTimeline three;
    const auto& firstBall = dynamic_cast<const LinearInfluencePoint&>(*three.points[0]);
    for (bool running = true; running;) {
        running = three.update(step);
        const std::uint32_t t = three.elapsed;
        if (three.wavePulse.value == 1.0f)
            m.sceneThreePulses.push_back(seconds(threeStart, t));
        if (firstBall.position == firstBall.end && m.ballsMeet == 0.0)
            m.ballsMeet = seconds(threeStart, t);
        if (three.fade < 10.0f && t > 1000 && m.finalFade == 0.0)
            m.finalFade = seconds(threeStart, t);
    }
    // Until the last frame has been on screen its step.
    m.lastFrame = (lastFrameTime(std::accumulate(frames.begin(), frames.end(), 1u)) + step) / 1000.0;
    return m;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_music OUTPUT_FOLDER" << std::endl;
        return 2;
    }
    const DemoMoments moments = readMoments();
    std::cout << "first sweep " << moments.firstSweep << " s, " << moments.sweepRestarts.size()
              << " sweep restarts, strips from " << moments.stripFlashes[0].front() << " s; scene two at "
              << moments.sceneTwoStart << " s (" << moments.sceneTwoPulses.size() << " pulses from "
              << moments.sceneTwoPulses.front() << " s, reset at " << moments.sceneTwoReset << " s); scene three at "
              << moments.sceneThreeStart << " s (" << moments.sceneThreePulses.size() << " pulses from "
              << moments.sceneThreePulses.front() << " s, balls meet at " << moments.ballsMeet << " s); last frame at "
              << moments.lastFrame << " s" << std::endl;
    const double length = moments.lastFrame + 1.0; // and a second of tail
    const std::vector<float> mix = renderSoundtrack(moments, length, 0.78f); // -2.2 dBFS: encoding adds some
    return writeOggVorbis(std::string(argv[1]) + "/vobra.ogg", mix, 0.5f) ? 0 : 1;
}
