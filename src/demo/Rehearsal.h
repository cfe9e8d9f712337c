#pragma once

#include "course/PassStepper.h"
#include "course/SceneSequence.h"
#include "scenes/DrawnScene.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FramePainter;
class InputList;
class Music;
class Pacing;
class PlaybackClock;
class SDL_Keyboard;
class ShaderWatch;
class TimeSource;

// What a rehearsal borrows from the run; all must outlive it.
struct RehearsalStage {
    FramePainter& painter;
    PlaybackClock& clock; // the pacing's
    Pacing& pacing;
    TimeSource& wall;
    InputList& inputs;
    SDL_Keyboard& keyboard;
    Music* music; // null when muted
    ShaderWatch& shaders;
};

// The live run as the demo's makers watch it: it plays as the demo does,
// and keys act at once, on the pictures and the music together. Space pauses
// and resumes; Left and Right go back and on by shortSeek passes, Page Up
// and Page Down by longSeek, Home to the start, and '.' steps one pass while
// paused. A seek plays the scenes from the start again to the pass sought,
// update-only, so that the frame shown is the one a capture makes for that
// time. The run holds at its last frame until Escape or a stop signal. Each
// change prints one line: the run time, the scene, the pass, paused or playing;
// a burst of seeks that came in together, one.
class Rehearsal : private PassHost {
public:
    // A fresh set of the run's scenes, as a run begins: the random generator
    // seeded again, the shared cube world emptied.
    using SceneMaker = std::function<std::vector<std::unique_ptr<DrawnScene>>()>;
    static constexpr std::int64_t shortSeek = 63; // 1.008 s
    static constexpr std::int64_t longSeek = 625; // 10 s

    Rehearsal(const RehearsalStage& stage, SceneMaker makeScenes);

    // Plays from pass `first`, where the music has started, until Escape or
    // a stop signal.
    void run(std::uint32_t first);

private:
    void actOn(const std::vector<int>& keys);
    // Where `key` seeks to from pass `from`; nothing for a key that does not seek.
    std::optional<std::int64_t> seekFor(int key, std::int64_t from) const;
    void playPass();
    // Replays to `pass` and shows its frame, held there; how long the replay
    // took, in ms.
    double hold(std::uint32_t pass);
    SceneSequence& freshScenes();
    bool wants(std::uint32_t pass) override;
    bool show(std::uint32_t pass, Scene* scene) override;
    void seek(std::int64_t pass);
    void setPaused(bool pause);
    void report(const std::string& after = "");

    RehearsalStage stage;
    SceneMaker makeScenes;
    std::vector<std::unique_ptr<DrawnScene>> drawings;
    std::optional<SceneSequence> scenes;
    std::optional<PassStepper> loop; // over `scenes`, which it makes afresh for each replay
    std::uint32_t shown = 0; // the pass whose frame is on screen
    std::size_t shownScene = 0; // and its scene's index
    bool paused = false;
    std::uint32_t shadersLookedAt = 0; // wall time
    std::int64_t finalPass; // the run's last frame
};
