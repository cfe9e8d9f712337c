#pragma once

// One timed scene of the run, as the loop drives it. The run calls, once per
// pass, either its drawing (the frame is drawn; the demo's DrawnScene) or
// skip (it is not), then update. A scene's state after n updates is the same
// whichever of the two came before each, so a frame drawn after skipped
// passes is the frame the run would have drawn there.
class Scene {
public:
    virtual ~Scene() = default;
    // What drawing changes besides the picture (a camera starting its move),
    // for a frame that is not drawn.
    virtual void skip() = 0;
    // Advances by `step` ms; false once the scene is over. A scene that has
    // said so is never rendered, skipped or updated again.
    virtual bool update(unsigned int step) = 0;
    // The fade the post-process shows the scene's next frame with, as the
    // last update left it (0 before the first).
    virtual float fade() const = 0;
};
