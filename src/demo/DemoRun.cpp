// The demo's whole life, from settings to tear-down: start-up, the main loop
// and the tear-down follow a fixed order, one step a line. The live demo and
// the capture tool both run it; the capture draws its frames off screen at its
// own size and skips the waiting, the frame limiter and the sound.

#include "demo/DemoRun.h"

#include "course/ContinueSignal.h"
#include "demo/CubeWorld.h"
#include "demo/InputList.h"
#include "demo/Music.h"
#include "demo/SdlTimeSource.h"
#include "course/Pacing.h"
#include "course/PassLoop.h"
#include "course/PlaybackClock.h"
#include "course/Projection.h"
#include "course/RunLength.h"
#include "demo/SDL_Keyboard.h"
#include "demo/SceneOne.h"
#include "course/SceneSequence.h"
#include "demo/SceneThree.h"
#include "demo/SceneTwo.h"
#include "course/Settings.h"
#include "course/StopSignals.h"
#include "core/Colour.h"
#include "core/LeakCheck.h"
#include "core/Logger.h"
#include "core/Resolution.h"
#include "core/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "engine/VornEngine.h"
#include "gl/OffscreenTarget.h"
#include "gl/ShaderProgram.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/MeshInstance.h"
#include "render/Glow.h"
#include "render/Renderer.h"
#include "render/RgbFrame.h"
#include "render/ScreenQuad.h"

#include <GL/glew.h>
#include <SDL.h>
#include <glm/glm.hpp>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
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

// Escape pressed since the window opened, held now or waiting in SDL's
// queue: a press and release while the data loaded counts too.
bool escapePressed(InputList& inputs)
{
    inputs.updateAll();
    bool pressed = inputs.anyQuit();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_EVENTMASK(SDL_KEYDOWN)) > 0)
        pressed = pressed || event.key.keysym.sym == SDLK_ESCAPE;
    return pressed;
}

// The start-up wait, in slices, so that Escape and Ctrl-C are seen at once.
// False when either came: the run goes straight to its tear-down.
bool waitForStart(std::uint32_t milliseconds, InputList& inputs)
{
    constexpr std::uint32_t slice = 20;
    for (std::uint32_t waited = 0; waited < milliseconds; waited += slice) {
        if (StopSignals::received() != 0 || escapePressed(inputs))
            return false;
        SDL_Delay(std::min(slice, milliseconds - waited));
    }
    return StopSignals::received() == 0 && !escapePressed(inputs);
}

// A developer's window into the live loop, both off unless asked for:
// LUMAROLL_SYNC_LOG=FILE writes a line for every frame drawn: its pass, the
// time it is due, the playback clock as its drawing began and once it is on
// screen, the music's position then (-1 without music) and SDL's ticks, all
// in ms;
// LUMAROLL_STOP_AT=MS stops the process (SIGSTOP) once the frame of run time
// MS is on screen, so that the window can be read as it stands.
struct LiveProbes {
    LiveProbes()
    {
        if (const char* path = std::getenv("LUMAROLL_SYNC_LOG"); path != nullptr && path[0] != '\0')
            syncLog.reset(std::fopen(path, "w"));
        if (const char* time = std::getenv("LUMAROLL_STOP_AT"); time != nullptr && time[0] != '\0')
            stopAtPass = static_cast<long>(std::strtoul(time, nullptr, 10) / frameMilliseconds);
    }
    void frameShown(std::uint32_t pass, std::uint32_t begun, std::uint32_t shown, const Music* music)
    {
        if (syncLog) {
            const std::optional<std::uint32_t> position = music != nullptr ? music->position() : std::nullopt;
            std::fprintf(syncLog.get(), "%u %u %u %u %ld %u\n", pass, pass * frameMilliseconds, begun, shown,
                position ? static_cast<long>(*position) : -1L, SDL_GetTicks());
        }
        if (static_cast<long>(pass) == stopAtPass) {
            glFinish();
            SDL_PumpEvents(); // flushes what is queued for the X server
            std::raise(SIGSTOP);
        }
    }
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> syncLog;
    long stopAtPass = -1;
};

// The off-screen target a capture's frames are shown into, instead of the window.
struct CaptureTarget {
    explicit CaptureTarget(const Resolution& size)
        : target(size, OffscreenTarget::Depth::None)
    {
    }
    OffscreenTarget target;
    RgbFrame pixels;
};

// What the loop asks of the run, live or captured: which passes are drawn,
// the drawing of one frame, and the end of every pass.
class RunHost : public LoopHost {
public:
    RunHost(VornE::Window& window, Renderer& renderer, OffscreenTarget& frame, ScreenQuad& screenQuad, Glow& glow,
        ShaderProgram& postProcess, const Resolution& resolution, InputList& inputs, Music* music)
        : window(window)
        , renderer(renderer)
        , frame(frame)
        , screenQuad(screenQuad)
        , glow(glow)
        , postProcess(postProcess)
        , resolution(resolution)
        , screenSize(static_cast<float>(resolution.width), static_cast<float>(resolution.height))
        , inputs(inputs)
        , music(music)
    {
    }

    // Frames to the window, paced by `pacing`, whose clock `playback` is
    // (null for the every-frame pacing).
    void showInWindow(Pacing& windowPacing, PlaybackClock* playback)
    {
        pacing = &windowPacing;
        clock = playback;
    }
    // Frames to a capture, which chooses them and takes them off screen.
    void showInCapture(FrameSink& frames)
    {
        capture = &frames;
        captureTarget.emplace(resolution);
        glViewport(0, 0, static_cast<GLsizei>(resolution.width), static_cast<GLsizei>(resolution.height));
    }

    bool wants(std::uint32_t pass) override
    {
        return capture != nullptr ? capture->wants(pass) : pacing->draws(pass);
    }

    bool show(std::uint32_t pass, Scene* scene) override
    {
        if (clock != nullptr && probes.syncLog)
            drawingBegan = clock->now();
        window.clear();
        frame.bind();
        renderer.resetDrawCounts();
        // The finished run shows the last picture again, with its fade.
        if (scene != nullptr) {
            scene->render(renderer, sceneProjection(resolution));
            screenQuad.fade = scene->fade();
        }
        frame.unbind();
        if (screenQuad.fade > Glow::threshold)
            glow.draw(screenQuad, frame.colour(), screenQuad.fade);
        if (capture == nullptr) {
            screenQuad.draw(postProcess, frame.colour(), screenSize, &glow.texture());
            window.swap();
            return true;
        }
        captureTarget->target.bind();
        screenQuad.draw(postProcess, frame.colour(), screenSize, &glow.texture());
        readFrame(static_cast<int>(resolution.width), static_cast<int>(resolution.height), captureTarget->pixels);
        captureTarget->target.unbind();
        return capture->take(pass, captureTarget->pixels); // false: the capture has said why
    }

    bool endOfPass(std::uint32_t nextPass, bool drawn) override
    {
        inputs.updateAll();
        if (music != nullptr)
            music->update();
        if (drawn && pacing != nullptr) {
            probes.frameShown(nextPass - 1, drawingBegan, clock != nullptr ? clock->now() : 0u, music);
            pacing->frameShown(nextPass);
        }
        // Ctrl-C and SIGTERM leave like Escape, after the pass.
        return !inputs.anyQuit() && StopSignals::received() == 0;
    }

private:
    VornE::Window& window;
    Renderer& renderer;
    OffscreenTarget& frame;
    ScreenQuad& screenQuad;
    Glow& glow;
    ShaderProgram& postProcess;
    const Resolution resolution;
    const glm::vec2 screenSize;
    InputList& inputs;
    Music* music;
    Pacing* pacing = nullptr;
    PlaybackClock* clock = nullptr;
    FrameSink* capture = nullptr;
    std::optional<CaptureTarget> captureTarget;
    LiveProbes probes;
    std::uint32_t drawingBegan = 0;
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
    // Every frame drawn, whatever it costs, instead of following the music.
    const bool everyFrame = settings.get("everyframe", 0.0f) != 0.0f;
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
    SdlTimeSource wallClock;

    // The loaders have logged why a load failed; a failed start-up ends with
    // dataFailedStatus, every object built so far destroyed in reverse order.
    // (Not 0: a script or a capture must not take a run that never played
    // for one that did.)
    if (!ressources.load(meshLoader, cubeMeshPath))
        return dataFailedStatus; // before any window is opened

    // Frames that follow the music may wait for the display's refresh: the
    // pacing no longer depends on how long a pass takes.
    engine.window->requestTearFreeSwap(capture == nullptr && !everyFrame);
    if (!engine.window->open(caption, resolution, fullscreen && capture == nullptr)) {
        VornE::log(VornE::Error, "Unable to open the window: ", SDL_GetError());
        return windowFailedStatus;
    }
    resolution = capture != nullptr ? frameSize : engine.window->getSize();

    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK) {
        VornE::log(VornE::Error, "Glew initialisation failed : '", glewGetErrorString(glewStatus), "\n");
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
            VornE::log(VornE::Error, "Music not found\n");
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
        // through the post-process pass.
        OffscreenTarget frame(resolution, OffscreenTarget::Depth::Depth24);
        ScreenQuad screenQuad;
        screenQuad.init();
        Glow glow(resolution);

        SceneOne sceneOne(colourCube, bigCube, texture2D, cubeMesh, wall, rect1, rect2, rect3);
        SceneTwo sceneTwo(bigCube, cubeWorld, cubeMesh, wall);
        SceneThree sceneThree(bigCube, cubeWorld, cubeMesh, wall);
        SceneSequence scenes({ &sceneOne, &sceneTwo, &sceneThree });

        RunHost host(*engine.window, renderer, frame, screenQuad, glow, postProcess, resolution, inputs,
            music ? &*music : nullptr);
        if (capture != nullptr)
            host.showInCapture(*capture);

        engine.window->swap();
        // Escape or a stop signal during the wait: no music, no frame.
        if (!options.waitAtStart || waitForStart(5000, inputs)) {
            if (music)
                music->play();
            engine.window->setClearColour(Colour(0.0f, 0.0f, 0.0f, 1.0f));

            // ---- Main loop ------------------------------------------------
            // The live pictures follow the music's clock from its first sample.
            PlaybackClock playback(
                wallClock,
                [&music]() { return music ? music->position() : std::nullopt; },
                &ContinueSignal::count);
            std::unique_ptr<Pacing> pacing;
            if (capture == nullptr) {
                if (everyFrame)
                    pacing = std::make_unique<EveryFramePacing>(wallClock);
                else
                    pacing = std::make_unique<ClockPacing>(playback, wallClock);
                host.showInWindow(*pacing, everyFrame ? nullptr : &playback);
            }
            const LoopResult loop = runPasses(scenes, host, sceneStep);
            if (loop.end == LoopResult::End::Failed)
                return captureFailedStatus;
            if (capture == nullptr && loop.drawn < loop.passes) {
                VornE::log(VornE::Info, "Frames: ", loop.drawn, " of ", loop.passes, " drawn, the others skipped to keep in step with the music\n");
            }
        }

        // ---- Tear-down ----------------------------------------------------
        // Leaving this block destroys the host, the scenes, the screen quad,
        // the frame's colour texture, renderbuffer and framebuffer, the cube
        // world and the four programs, in that order.
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
    const ContinueSignal continueSignal;
    int status = 0;
    try {
        status = runDemo(options);
    } catch (const std::exception& error) {
        // The demo's objects are already destroyed by the unwinding.
        if (VornE::logger != nullptr) {
            VornE::log(VornE::Error, error.what());
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
