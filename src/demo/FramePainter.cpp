#include "demo/FramePainter.h"

#include "course/Projection.h"
#include "engine/Window.h"
#include "gl/GLDialect.h"
#include "gl/GLErrorException.h"
#include "gl/OffscreenTarget.h"
#include "render/Glow.h"
#include "render/PostProcess.h"
#include "render/Renderer.h"
#include "render/ScreenQuad.h"
#include "scenes/DrawnScene.h"

FramePainter::FramePainter(VornE::Window& window, Renderer& renderer, OffscreenTarget& frame, ScreenQuad& screenQuad,
    Glow& glow, PostProcess& postProcess, const Resolution& size)
    : window(window)
    , renderer(renderer)
    , frame(frame)
    , screenQuad(screenQuad)
    , glow(glow)
    , postProcess(postProcess)
    , size(size)
{
}

void FramePainter::paint(DrawnScene* scene, OffscreenTarget* screen)
{
    // The GL's initial viewport is the window's size, which is not the
    // frame's where SDL presents a full-screen window through a smaller
    // framebuffer of its own (sdl12-compat), nor in a capture.
    const auto whole
        = [this] { glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height)); };

    // 1. The scene into the off-screen frame. The last pass covers every
    // pixel of the window, so its clear is only for the GLs that want one.
    if (GLDialect::windowClearedEachFrame)
        window.clear();
    whole();
    frame.bind();
    renderer.resetDrawCounts();
    if (scene != nullptr) {
        scene->render(renderer, sceneProjection(size));
        fade = scene->fade();
    }
    frame.unbind();
    frame.resolve();
    // Where errors are read only at the swap (WebGL), this read, which waits
    // for the scene to be drawn, also keeps the glow: Chromium and Firefox,
    // given the very same calls without it, showed the glowing moments
    // without their glow.
    checkGLErrorNow("the scene's drawing");

    // 2. Its glow, when the fade over-exposes it.
    if (fade > Glow::threshold)
        glow.draw(screenQuad, frame.colour(), fade);

    // 3. The frame and its glow through the post-process into the screen,
    // with the fade the scene wrote.
    if (screen != nullptr)
        screen->bind();
    whole();
    postProcess.draw(screenQuad, frame.colour(),
        glm::vec2(static_cast<float>(size.width), static_cast<float>(size.height)), fade, glow.texture());
    if (screen != nullptr)
        screen->unbind();
}

void FramePainter::show()
{
    window.swap();
}
