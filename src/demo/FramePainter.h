#pragma once

#include "core/Resolution.h"

class Glow;
class OffscreenTarget;
class Renderer;
class DrawnScene;
class ScreenQuad;
class PostProcess;
namespace VornE {
class Window;
}

// The drawing of one frame, the same for the window and for a capture, in
// its three passes (each a pass as gl/GL.h says): the scene into the
// off-screen frame; the glow from that frame when the fade asks for one; the
// frame through the post-process into the screen, which is the window or a
// capture's target.
class FramePainter {
public:
    // All are borrowed and must outlive the painter.
    FramePainter(VornE::Window& window, Renderer& renderer, OffscreenTarget& frame, ScreenQuad& screenQuad, Glow& glow,
        PostProcess& postProcess, const Resolution& size);

    // Paints `scene`'s frame into `screen`, or into the window when it is
    // null. A null scene (the finished run) shows the last picture again with
    // its fade.
    void paint(DrawnScene* scene, OffscreenTarget* screen = nullptr);
    // Shows in the window what was painted into it.
    void show();

private:
    VornE::Window& window;
    Renderer& renderer;
    OffscreenTarget& frame;
    ScreenQuad& screenQuad;
    Glow& glow;
    PostProcess& postProcess;
    const Resolution size;
    float fade = 0.0f; // the last scene's, as its last update left it
};
