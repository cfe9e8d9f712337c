// The demo's whole life, from settings to tear-down: start-up, the main loop
// and the tear-down follow a fixed order, one step a line. The live demo and
// the capture tool both run it; the capture draws its frames off screen at its
// own size and skips the waiting, the frame limiter and the sound.

#include "demo/DemoRun.h"

#include "demo/CubeWorld.h"
#include "demo/FrameClock.h"
#include "demo/InputList.h"
#include "demo/Music.h"
#include "render/RgbFrame.h"
#include "demo/Projection.h"
#include "demo/RunLength.h"
#include "demo/SDL_Keyboard.h"
#include "demo/SceneOne.h"
#include "demo/SceneThree.h"
#include "demo/SceneTwo.h"
#include "demo/Settings.h"
#include "demo/StopSignals.h"
#include "engine/Colour.h"
#include "engine/LeakCheck.h"
#include "engine/Logger.h"
#include "engine/Resolution.h"
#include "engine/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "engine/VornEngine.h"
#include "gl/FrameBuffer.h"
#include "gl/RenderBuffer.h"
#include "gl/ShaderProgram.h"
#include "gl/Texture2D.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/MeshInstance.h"
#include "render/Renderer.h"
#include "render/ScreenQuad.h"

#include <GL/glew.h>
#include <SDL.h>
#include <glm/glm.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

namespace {

// The window a capture opens only to hold the GL context.
const Resolution captureWindowSize { 160, 120 };

const char* const caption = "Lumaroll - ZEQ 2012";
const char* const cubeMeshPath = "./data/meshes/cube2.obj";
// Loaded in this order; start-up stops at the first that fails.
const char* const texturePaths[] = { "./data/textures/test.png", "./data/textures/wall.png",
    "./data/textures/rect1.png", "./data/textures/rect2.png", "./data/textures/rect3.png", "./data/textures/fade.png" };
constexpr unsigned int sceneStep = frameMilliseconds;

// One of the demo's shader pairs under data/shaders, by its file stem.
ShaderProgram program(const std::string& stem)
{
    return ShaderProgram("./data/shaders/" + stem + ".vert", "./data/shaders/" + stem + ".frag");
}

Texture* textureHandle(RessourceManager& ressources, const char* path)
{
    return static_cast<Texture*>(ressources.get(path));
}

// SDL_Delay in slices, so that Ctrl-C during the start-up wait is not held up.
void waitUnlessStopped(std::uint32_t milliseconds)
{
    constexpr std::uint32_t slice = 20;
    for (std::uint32_t waited = 0; waited < milliseconds && StopSignals::received() == 0; waited += slice)
        SDL_Delay(std::min(slice, milliseconds - waited));
}

// The off-screen target a capture's frames are shown into, instead of the window.
struct CaptureTarget {
    explicit CaptureTarget(const Resolution& size)
        : colour(size)
    {
        frame.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour);
    }
    Texture2D colour;
    FrameBuffer frame;
    RgbFrame pixels;
};

} // namespace

int runDemo(const RunOptions& options)
{
    FrameSink* const capture = options.frames;
    // ---- Start-up -------------------------------------------------------
    Settings settings("data/settings.ini");
    const bool fullscreen = settings.get("fullscreen", 0.0f) != 0.0f;
    Resolution resolution;
    resolution.height = settings.getUnsigned("vres", 640, false);
    resolution.width = settings.getUnsigned("hres", 800, false);
    std::srand(static_cast<unsigned int>(settings.getInt("seed", 0)));
    // A capture draws at its own size; its window only holds the GL context.
    const Resolution frameSize = capture != nullptr ? capture->frameSize(resolution) : resolution;
    if (capture != nullptr)
        resolution = captureWindowSize;

    VornE::VornEngine engine; // creates the window object and the logger
    InputList inputs;
    Renderer renderer;
    RessourceManager ressources;
    AMeshLoader meshLoader;
    VornE::TextureLoader textureLoader;
    FrameClock clock;

    // The loaders have logged why a load failed; a failed start-up ends with
    // dataFailedStatus, every object built so far destroyed in reverse order.
    // (Not 0: a script or a capture must not take a run that never played
    // for one that did.)
    if (!ressources.load(meshLoader, cubeMeshPath))
        return dataFailedStatus; // before any window is opened

    if (!engine.window->open(caption, resolution, fullscreen && capture == nullptr)) {
        VornE::logger->level = VornE::Error;
        *VornE::logger << "Unable to open the window: " << SDL_GetError();
        return windowFailedStatus;
    }
    resolution = capture != nullptr ? frameSize : engine.window->getSize();

    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK) {
        VornE::logger->level = VornE::Error;
        *VornE::logger << "Glew initialisation failed : '" << glewGetErrorString(glewStatus) << "\n";
        return -1;
    }

    inputs.add(new SDL_Keyboard());

    for (const char* path : texturePaths) {
        if (!ressources.load(textureLoader, path))
            return dataFailedStatus;
    }

    renderer.init();

    std::optional<Music> music;
    if (options.playMusic) {
        music.emplace();
        music->init(); // without a usable device it has logged why and plays silently
        if (!music->load("data/music/vobra.ogg")) {
            VornE::logger->level = VornE::Error;
            *VornE::logger << "Music not found\n";
            return dataFailedStatus; // the music first, then the final clean-up
        }
    }

    {
        ShaderProgram bigCube = program("bigCube");
        ShaderProgram colourCube = program("colourCube");
        ShaderProgram postProcess = program("postProcess");
        ShaderProgram texture2D = program("texture2D");

        Texture* wall = textureHandle(ressources, "./data/textures/wall.png");
        Texture* rect1 = textureHandle(ressources, "./data/textures/rect1.png");
        Texture* rect2 = textureHandle(ressources, "./data/textures/rect2.png");
        Texture* rect3 = textureHandle(ressources, "./data/textures/rect3.png");
        Mesh* cubeMesh = static_cast<Mesh*>(ressources.get(cubeMeshPath));

        renderer.addMesh(MeshInstance(cubeMesh));

        CubeWorld cubeWorld(ressources, resolution);

        // Each frame is drawn off screen at the window's size, then shown
        // through the post-process pass. Destroyed in reverse: the quad, the
        // texture, the renderbuffer, and last the framebuffer, which outlives
        // its attachments; GL keeps a deleted attachment's storage until the
        // framebuffer holding it goes.
        FrameBuffer frameBuffer;
        RenderBuffer depthBuffer;
        Texture2D frameColour(resolution);
        ScreenQuad screenQuad;
        depthBuffer.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, static_cast<GLsizei>(resolution.width),
            static_cast<GLsizei>(resolution.height));
        frameBuffer.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, frameColour);
        frameBuffer.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depthBuffer);
        frameBuffer.validate(GL_FRAMEBUFFER); // an incomplete frame is logged; the demo plays on
        screenQuad.init();

        SceneOne sceneOne(colourCube, bigCube, texture2D, cubeMesh, wall, rect1, rect2, rect3, screenQuad);
        SceneTwo sceneTwo(bigCube, cubeWorld, cubeMesh, wall, screenQuad);
        SceneThree sceneThree(bigCube, cubeWorld, cubeMesh, wall, screenQuad);

        std::optional<CaptureTarget> captureTarget;
        if (capture != nullptr) {
            captureTarget.emplace(resolution);
            glViewport(0, 0, static_cast<GLsizei>(resolution.width), static_cast<GLsizei>(resolution.height));
        }

        engine.window->swap();
        if (options.waitAtStart)
            waitUnlessStopped(5000);
        if (music)
            music->play();
        engine.window->setClearColour(Colour(0.0f, 0.0f, 0.0f, 1.0f));

        // ---- Main loop ----------------------------------------------------
        const glm::vec2 screenSize(static_cast<float>(resolution.width), static_cast<float>(resolution.height));
        unsigned int state = 0; // 0..2: scene one to three playing; 3: finished
        bool running = true;
        std::uint32_t pass = 0;
        do {
            // A capture draws only the frames it wants; the others only move
            // the scenes' cameras on, as drawing them would.
            if (capture == nullptr || capture->wants(pass)) {
                engine.window->clear();
                frameBuffer.bind(GL_FRAMEBUFFER);
                const glm::mat4 projection = sceneProjection(resolution);
                renderer.resetDrawCounts();
                if (state == 0)
                    sceneOne.render(renderer, projection);
                else if (state == 1)
                    sceneTwo.render(renderer, projection);
                else if (state == 2)
                    sceneThree.render(renderer, projection);
                frameBuffer.unbind(GL_FRAMEBUFFER);
                if (captureTarget) {
                    captureTarget->frame.bind(GL_FRAMEBUFFER);
                    screenQuad.draw(postProcess, frameColour, screenSize);
                    readFrame(static_cast<int>(resolution.width), static_cast<int>(resolution.height),
                        captureTarget->pixels);
                    captureTarget->frame.unbind(GL_FRAMEBUFFER);
                    if (!capture->take(pass, captureTarget->pixels))
                        return captureFailedStatus; // the capture has said why
                } else {
                    screenQuad.draw(postProcess, frameColour, screenSize);
                    engine.window->swap();
                }
            } else if (state == 0) {
                sceneOne.skipFrame();
            } else if (state == 1) {
                sceneTwo.skipFrame();
            } else if (state == 2) {
                sceneThree.skipFrame();
            }
            ++pass;

            // A scene that has reported its end is never updated or drawn
            // again; the next one first renders in the next pass.
            switch (state) {
            case 0:
                if (!sceneOne.update(sceneStep))
                    state = 1;
                break;
            case 1:
                if (!sceneTwo.update(sceneStep))
                    state = 2;
                break;
            case 2:
                if (!sceneThree.update(sceneStep))
                    state = 3;
                break;
            default:
                running = false; // one last pass has shown the final image
                break;
            }

            inputs.updateAll();
            if (music)
                music->update();
            if (options.limitFrames)
                clock.tick();
            // Ctrl-C and SIGTERM leave like Escape, after the pass.
        } while (!inputs.anyQuit() && running && StopSignals::received() == 0);

        // ---- Tear-down ----------------------------------------------------
        // Leaving this block destroys the scenes, the screen quad, the frame's
        // colour texture, renderbuffer and framebuffer, the cube world and the
        // four programs, in that order.
    }
    if (music)
        music->stop();
    renderer.release();

    // As this function returns: the music player, then the final clean-up,
    // also reached from every failed start-up step: the loaders, the resource
    // manager, the renderer, the input list, the engine and the settings,
    // in reverse order of creation.
    return 0;
}


// SDL 1.2's entry library does nothing on Linux, so this does what it would:
// initialise SDL before the demo and shut it down after.
int runProgram(const RunOptions& options)
{
    // OpenGL comes only through SDL's X11 driver; left to itself, SDL would
    // fall back to drawing in the terminal when no X display answers. A driver
    // the user names still wins.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    if (SDL_Init(SDL_INIT_NOPARACHUTE) != 0) {
        std::cerr << "Unable to initialise SDL: " << SDL_GetError() << std::endl;
        return windowFailedStatus;
    }
    const StopSignals stopSignals; // before SDL's video, which would take the signals over
    int status = 0;
    try {
        status = runDemo(options);
    } catch (const std::exception& error) {
        // The demo's objects are already destroyed by the unwinding.
        if (VornE::logger != nullptr) {
            VornE::logger->level = VornE::Error;
            *VornE::logger << error.what();
        } else {
            std::cerr << error.what() << std::endl;
        }
        status = uncaughtExceptionStatus;
    }
    checkLeaksBeforeShutdown();
    SDL_Quit();
    if (status == 0 && StopSignals::received() != 0)
        status = StopSignals::exitStatus(StopSignals::received());
    return status;
}
