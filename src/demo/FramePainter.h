#pragma once

#include "core/Resolution.h"

#include <glm/glm.hpp>

class Glow;
class OffscreenTarget;
class Renderer;
class Scene;
class ScreenQuad;
class ShaderProgram;
namespace VornE {
class Window;
}

// The drawing of one frame, the same for the window and for a capture: the
// scene into the off-screen frame, then the frame through the post-process
// (with its glow when the fade asks for one) into whatever is bound.
class FramePainter {
public:
    // All are borrowed and must outlive the painter.
    FramePainter(VornE::Window& window, Renderer& renderer, OffscreenTarget& frame, ScreenQuad& screenQuad, Glow& glow,
        ShaderProgram& postProcess, const Resolution& size);

    // Clears the window, draws `scene` into the off-screen frame with the
    // scene projection and hands its fade to the screen quad. A null scene
    // (the finished run) keeps the last picture and its fade.
    void drawScene(Scene* scene);
    // The post-process pass of the frame into the bound framebuffer.
    void showFrame();

    VornE::Window& window;

private:
    Renderer& renderer;
    OffscreenTarget& frame;
    ScreenQuad& screenQuad;
    Glow& glow;
    ShaderProgram& postProcess;
    const Resolution size;
};
