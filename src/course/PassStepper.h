#pragma once

#include <cstdint>
#include <functional>
#include <optional>

class Scene;
class SceneSequence;

// What stepping a pass asks of the program around it.
class PassHost {
public:
    virtual ~PassHost() = default;
    // Whether pass `pass` is drawn. One that is not only moves the scenes on.
    virtual bool wants(std::uint32_t pass) = 0;
    // Draws `scene`'s frame, the frame of pass `pass`; a null scene draws the
    // last picture again (the finished run's final frame). False ends the
    // run as failed.
    virtual bool show(std::uint32_t pass, Scene* scene) = 0;
};

// The run's passes one at a time, by the rules every run keeps, live,
// captured or rehearsed. Pass n is the frame of n x step ms: drawn when the
// host wants it, or skipped (the scenes only move on). Each scene update is
// taken exactly once per pass, drawn or not, so a frame drawn after skipped
// passes is the one a run that drew them all draws. Once the last scene has
// ended, one more pass, the final one, shows its last picture again; that
// picture is in the off-screen frame only when the pass before was drawn.
class PassStepper {
public:
    enum class Played { Drawn, Skipped, Failed };
    // Fresh scenes from the run's start, as a run begins (the random
    // sequence seeded again); the sequence must live until the next call.
    using FreshScenes = std::function<SceneSequence&()>;

    // Plays `scenes` once: the final pass, drawn or not, ends the run (the
    // live run, a capture). The scenes are borrowed.
    PassStepper(SceneSequence& scenes, unsigned int step);
    // Can play the run again from its start, and holds its last frame: the
    // final pass is always drawn, after the last picture is drawn again
    // where its pass was skipped (a rehearsal). Takes the first scenes now.
    PassStepper(FreshScenes fresh, unsigned int step);

    // The pass it stands at: the next to play, the one whose frame it
    // holds, or the final one once the run has ended.
    std::uint32_t pass() const { return at; }
    // Whether the final pass is played, or its frame held.
    bool ended() const { return over; }
    // Whether the frame of pass() is drawn and its update still to come.
    bool held() const { return holding; }

    // Update-only passes up to `pass`, or to the final pass where that comes
    // first, without asking the host: the frame of that time is then the
    // first one it can draw.
    void moveOnTo(std::uint32_t pass);
    // Plays pass(): drawn or skipped as the host wants, then its update; the
    // final pass takes none. A held frame's pass only takes its update
    // first. Nothing once the run has ended.
    Played play(PassHost& host);
    // Fresh scenes moved on to the frame of `pass`, or to the final frame
    // for a pass beyond it, for hold() to draw. Needs fresh scenes.
    void replayTo(std::uint32_t pass);
    // Draws the frame of pass() whatever the host wants, and holds it there;
    // the final frame after its picture, replayed where that was skipped
    // (which needs fresh scenes). False when the host failed.
    bool hold(PassHost& host);

private:
    void restart();
    void takeUpdate();
    Played playFinal(PassHost& host);
    bool lastPictureDrawn() const { return previousDrawn; }

    SceneSequence* scenes;
    FreshScenes fresh;
    unsigned int step;
    bool holdsLastFrame;
    std::uint32_t at = 0;
    bool previousDrawn = true; // the pass before pass() was, its picture in the off-screen frame
    bool holding = false;
    bool over = false;
    bool finalAhead = false; // at the pass before the final, for hold() to draw both
    std::optional<std::uint32_t> finalPass; // once a replay or the play has reached it
};
