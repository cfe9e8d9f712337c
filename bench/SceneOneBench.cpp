// Frame cost of scene one against a baseline measured in the same run: the
// baseline pass is what every frame pays anyway (clear, bind and unbind the
// off-screen frame, post-process to the window); the scene pass adds scene
// one's drawing. Both are timed to glFinish, so the GPU (or llvmpipe) work is
// inside the figure. Needs a display (scripts/with-display.sh provides one).
//
//   lumaroll_bench [passes] [width height]
#include "demo/SceneOne.h"
#include "engine/Logger.h"
#include "engine/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "engine/VornEngine.h"
#include "gl/FrameBuffer.h"
#include "gl/RenderBuffer.h"
#include "gl/Texture2D.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/Renderer.h"

#include <SDL.h>
#include <glm/gtc/matrix_transform.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Keeps the demo's own log (buffer and texture creation and deletion) off the
// console while it lives, so the figures stand alone. Figures go through printf.
class QuietConsole {
public:
    QuietConsole()
        : console(std::cout.rdbuf(log.rdbuf()))
    {
    }
    ~QuietConsole() { std::cout.rdbuf(console); }

private:
    std::ostringstream log;
    std::streambuf* console;
};

int bench(unsigned passes, std::uint32_t width, std::uint32_t height)
{
    QuietConsole quiet; // declared first: restores the console after every object below is gone
    VornE::VornEngine engine;
    if (!engine.window->open("Lumaroll bench", Resolution{width, height}, false) || glewInit() != GLEW_OK) {
        std::cerr << "Cannot open a GL window: " << SDL_GetError() << std::endl;
        return 1;
    }
    const Resolution size = engine.window->getSize();

    Renderer renderer;
    RessourceManager ressources;
    AMeshLoader meshLoader;
    VornE::TextureLoader textureLoader;
    const char* textures[] = {"wall", "rect1", "rect2", "rect3"};
    bool loaded = ressources.load(meshLoader, "./data/meshes/cube2.obj");
    for (const char* name : textures)
        loaded = loaded && ressources.load(textureLoader, std::string("./data/textures/") + name + ".png");
    if (!loaded) {
        std::cerr << "Run from the repository root: the data files are missing" << std::endl;
        return 1;
    }
    auto texture = [&](const char* name) {
        return static_cast<Texture*>(ressources.get(std::string("./data/textures/") + name + ".png"));
    };
    Mesh* cube = static_cast<Mesh*>(ressources.get("./data/meshes/cube2.obj"));
    renderer.init();
    renderer.addMesh(MeshInstance(cube));

    ShaderProgram bigCube("./data/shaders/bigCube.vert", "./data/shaders/bigCube.frag");
    ShaderProgram colourCube("./data/shaders/colourCube.vert", "./data/shaders/colourCube.frag");
    ShaderProgram postProcess("./data/shaders/postProcess.vert", "./data/shaders/postProcess.frag");
    ShaderProgram texture2D("./data/shaders/texture2D.vert", "./data/shaders/texture2D.frag");
    FrameBuffer frameBuffer;
    RenderBuffer depth;
    Texture2D colour(size);
    ScreenQuad quad;
    depth.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, static_cast<GLsizei>(size.width),
        static_cast<GLsizei>(size.height));
    frameBuffer.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour);
    frameBuffer.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth);
    quad.init();
    std::srand(0);
    SceneOne scene(colourCube, bigCube, texture2D, cube, texture("wall"), texture("rect1"), texture("rect2"),
        texture("rect3"), quad);

    const glm::vec2 screen(static_cast<float>(size.width), static_cast<float>(size.height));
    const glm::mat4 projection = glm::perspective(
        glm::radians(45.0f), static_cast<float>(size.width) / static_cast<float>(size.height), 0.1f, 100.0f);
    double baseline = 0.0;
    double full = 0.0;
    unsigned long draws = 0;
    for (unsigned pass = 0; pass < passes; ++pass) {
        // Baseline and scene pass alternate so both see the same machine load.
        quad.fade = 10.0f;
        Clock::time_point start = Clock::now();
        engine.window->clear();
        frameBuffer.bind(GL_FRAMEBUFFER);
        frameBuffer.unbind(GL_FRAMEBUFFER);
        quad.draw(postProcess, colour, screen);
        glFinish();
        baseline += millisecondsSince(start);

        start = Clock::now();
        engine.window->clear();
        frameBuffer.bind(GL_FRAMEBUFFER);
        renderer.resetDrawCounts();
        scene.render(renderer, projection);
        frameBuffer.unbind(GL_FRAMEBUFFER);
        quad.draw(postProcess, colour, screen);
        glFinish();
        full += millisecondsSince(start);
        draws += renderer.drawCounts().total();
        engine.window->swap();
        if (!scene.update(16))
            break;
    }
    const double n = passes;
    std::printf("scene one at %ux%u, %u passes (one pass = 16 ms of scene time)\n", size.width, size.height, passes);
    std::printf("  baseline pass (clear, off-screen frame, post-process): %8.3f ms\n", baseline / n);
    std::printf("  scene one pass:                                        %8.3f ms  (%.2f x baseline)\n", full / n,
        full / baseline);
    std::printf("  draw calls per scene pass:                             %8.1f\n", static_cast<double>(draws) / n);
    std::printf("  frame budget used by the scene pass at 16 ms:          %8.0f %%\n", 100.0 * full / n / 16.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const unsigned passes = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 600u;
    const auto width = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[2], nullptr, 10) : 800u);
    const auto height = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 640u);
    if (passes == 0 || passes > 1812 || width == 0 || height == 0 || width > 8192 || height > 8192) {
        std::cerr << "usage: lumaroll_bench [passes 1..1812] [width height]" << std::endl;
        return 1;
    }
    if (SDL_Init(SDL_INIT_NOPARACHUTE) != 0)
        return 1;
    int status = 1;
    try {
        status = bench(passes, width, height);
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
    }
    SDL_Quit();
    return status;
}
