#include "demo/FramePainter.h"

#include "course/Projection.h"
#include "course/Scene.h"
#include "engine/Window.h"
#include "gl/OffscreenTarget.h"
#include "render/Glow.h"
#include "render/Renderer.h"
#include "render/ScreenQuad.h"

FramePainter::FramePainter(VornE::Window& window, Renderer& renderer, OffscreenTarget& frame, ScreenQuad& screenQuad,
    Glow& glow, ShaderProgram& postProcess, const Resolution& size)
    : window(window)
    , renderer(renderer)
    , frame(frame)
    , screenQuad(screenQuad)
    , glow(glow)
    , postProcess(postProcess)
    , size(size)
{
}

namespace {

// Every pass here covers the whole frame. The GL's initial viewport is the
// window's size, which is not the frame's where SDL presents a full-screen
// window through a smaller framebuffer of its own (sdl12-compat), nor in a
// capture, whose window only holds the context.
void viewportOf(const Resolution& size)
{
    glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
}

} // namespace

void FramePainter::drawScene(Scene* scene)
{
    window.clear();
    viewportOf(size);
    frame.bind();
    renderer.resetDrawCounts();
    if (scene != nullptr) {
        scene->render(renderer, sceneProjection(size));
        screenQuad.fade = scene->fade();
    }
    frame.unbind();
}

void FramePainter::showFrame()
{
    if (screenQuad.fade > Glow::threshold)
        glow.draw(screenQuad, frame.colour(), screenQuad.fade);
    viewportOf(size);
    const glm::vec2 screenSize(static_cast<float>(size.width), static_cast<float>(size.height));
    screenQuad.draw(postProcess, frame.colour(), screenSize, &glow.texture());
}
