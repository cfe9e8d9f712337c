#pragma once

#include <glm/glm.hpp>

class Renderer;

// One timed scene of the run. The run calls, once per pass, either render
// (the frame is drawn) or skip (it is not), then update. A scene's state after
// n updates is the same whichever of the two came before each, so a frame
// drawn after skipped passes is the frame the run would have drawn there.
class Scene {
public:
    virtual ~Scene() = default;
    // Clears the bound framebuffer and draws the frame with `projection`.
    virtual void render(Renderer& renderer, const glm::mat4& projection) = 0;
    // What render changes besides the picture (a camera starting its move),
    // for a frame that is not drawn.
    virtual void skip() = 0;
    // Advances by `step` ms; false once the scene is over. A scene that has
    // said so is never rendered, skipped or updated again.
    virtual bool update(unsigned int step) = 0;
    // The fade the post-process shows the scene's next frame with, as the
    // last update left it (0 before the first).
    virtual float fade() const = 0;
};
