#pragma once

#include <cstddef>
#include <vector>

class Scene;

// The scenes of the run in their order, and which one plays. Once the last
// has reported its end the sequence is finished: the run shows one more
// frame (the last picture again) and ends.
class SceneSequence {
public:
    // The scenes are borrowed and must outlive the sequence.
    explicit SceneSequence(std::vector<Scene*> scenes);

    // The scene playing, or null once every scene has ended.
    Scene* current() const;
    bool finished() const { return index >= scenes.size(); }
    std::size_t currentIndex() const { return index; }

    // Updates the playing scene by `step` ms and moves to the next one when it
    // reports its end; the next one first plays in the next pass.
    void update(unsigned int step);
    // The playing scene's skip, for a pass that is not drawn.
    void skip();

private:
    std::vector<Scene*> scenes;
    std::size_t index = 0;
};
