// The demo's whole life, from the settings to the tear-down, in three steps:
// start-up, the scenes (built, played by the main loop, destroyed) and
// tear-down, each in the fixed order of its steps, one step a line. The live
// demo and the capture tool both run it; a capture draws its frames off
// screen at its own size and skips the waiting, the pacing and the sound.

#include "demo/DemoRun.h"
#include "course/FrameSink.h"

#include "core/Colour.h"
#include "core/DataFiles.h"
#include "core/FileKind.h"
#include "core/LeakCheck.h"
#include "core/Logger.h"
#include "core/Resolution.h"
#include "core/RessourceManager.h"
#include "course/ContinueSignal.h"
#include "course/Pacing.h"
#include "course/PassLoop.h"
#include "course/PlaybackClock.h"
#include "course/RunLength.h"
#include "course/RunRandom.h"
#include "course/SceneSequence.h"
#include "course/SettingKeys.h"
#include "course/Settings.h"
#include "course/StopSignals.h"
#include "demo/CaptureHost.h"
#include "demo/FramePainter.h"
#include "demo/InputList.h"
#include "demo/Music.h"
#include "demo/Rehearsal.h"
#include "demo/SDL_Keyboard.h"
#include "demo/SdlTimeSource.h"
#include "demo/ShaderWatch.h"
#include "demo/SoundtrackLength.h"
#include "demo/VideoDriver.h"
#include "demo/WindowHost.h"
#include "engine/TextureLoader.h"
#include "engine/VornEngine.h"
#include "gl/Multisampling.h"
#include "gl/OffscreenTarget.h"
#include "gl/ShaderProgram.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/Glow.h"
#include "render/MeshInstance.h"
#include "render/PostProcess.h"
#include "render/Renderer.h"
#include "render/ScreenQuad.h"
#include "render/ShaderPrograms.h"
#include "scenes/CubeWorld.h"
#include "scenes/RunScenes.h"

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const caption = "Lumaroll - ZEQ 2012";
// The window a capture opens only to hold the GL context.
const Resolution captureWindowSize { 160, 120 };
constexpr unsigned int sceneStep = frameMilliseconds;

// What the run takes from the settings, read in the order fullscreen, vres,
// hres, seed, the random generator seeded at once.
struct RunSettings {
    bool fullscreen = false;
    Resolution size;
    bool everyFrame = false; // every pass drawn, whatever it costs, instead of following the music
    std::int32_t audioDelay = 0; // ms the sound comes later than its output reports
    std::uint32_t seed = 0; // of the run's random sequence
    bool rehearse = false; // the makers' run (Rehearsal.h), live runs only
    int msaa = Multisampling::byTheRenderer; // samples a pixel of the off-screen frame
};

RunSettings readSettings(const Settings& settings)
{
    RunSettings wanted;
    wanted.fullscreen = SettingKeys::on(settings, SettingKeys::fullscreen);
    wanted.size.height = static_cast<std::uint32_t>(SettingKeys::value(settings, SettingKeys::vres));
    wanted.size.width = static_cast<std::uint32_t>(SettingKeys::value(settings, SettingKeys::hres));
    // Any 32-bit seed, negative ones by their two's complement.
    wanted.seed = static_cast<std::uint32_t>(SettingKeys::value(settings, SettingKeys::seed));
    seedRunRandom(wanted.seed);
    wanted.everyFrame = SettingKeys::on(settings, SettingKeys::everyFrame);
    wanted.audioDelay = static_cast<std::int32_t>(SettingKeys::value(settings, SettingKeys::audioDelay));
    wanted.rehearse = SettingKeys::on(settings, SettingKeys::rehearse);
    wanted.msaa = static_cast<int>(SettingKeys::value(settings, SettingKeys::msaa));
    return wanted;
}

// Whether this GL draws frames of `size` off screen; if not, one line.
bool drawableHere(const Resolution& size)
{
    GLint texture = 0;
    GLint renderbuffer = 0;
    GLint viewport[2] = { 0, 0 };
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const GLint side = std::max(0, std::min({ texture, renderbuffer, viewport[0], viewport[1] }));
    if (size.width <= static_cast<std::uint32_t>(side) && size.height <= static_cast<std::uint32_t>(side))
        return true;
    std::cerr << "lumaroll-capture: frames of " << size.width << "x" << size.height << " are more than this GL draws ("
              << side << " a side at most): ask for a smaller --size or --supersample" << std::endl;
    return false;
}

// Escape pressed since the window opened, held now or waiting in SDL's
// queue: a press and release while the data loaded counts too.
bool escapePressed(InputList& inputs)
{
    inputs.updateAll();
    return inputs.anyQuit();
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

// Opens the soundtrack for `music`; false, after a line saying why, for one
// that is not a regular file (a FIFO would block the loading), does not open,
// or stops before run time `lastFrameAt` (the rest of the run would be
// silent; 0 leaves its length unchecked).
bool loadSoundtrack(Music& music, std::uint32_t lastFrameAt)
{
    if (const std::string kind = nonRegularKind(DataFiles::music); !kind.empty()) {
        VornE::log(
            VornE::Error, std::string("The music '") + DataFiles::music + "' is " + kind + ", not a sound file", "\n");
        return false;
    }
    if (!music.load(DataFiles::music))
        return false;
    const std::string tooShort = lastFrameAt > 0 ? soundtrackTooShort(DataFiles::music, lastFrameAt) : "";
    if (!tooShort.empty())
        VornE::log(VornE::Error, tooShort, "\n");
    return tooShort.empty();
}

// What a run holds from start-up to tear-down, for the scenes to borrow.
struct RunContext {
    const RunOptions& options;
    const RunSettings& settings;
    VornE::Window& window;
    InputList& inputs;
    SDL_Keyboard& keyboard; // in `inputs`
    Renderer& renderer;
    RessourceManager& ressources;
    TimeSource& wallClock;
    Music* music;
    Resolution frameSize;
};

// The pass the run begins at: a time between two frames takes the one before.
std::uint32_t firstPass(const RunContext& run)
{
    const std::uint32_t asked = run.options.startAt / frameMilliseconds;
    // The final frame shows the picture of the pass before it again: a run
    // begun there draws that pass first, or it would have nothing to show.
    const std::uint32_t finalPass = run.options.lastFrameAt / frameMilliseconds;
    return finalPass > 0 && asked >= finalPass ? finalPass - 1 : asked;
}

bool rehearsing(const RunContext& run)
{
    return run.settings.rehearse && run.options.frames == nullptr;
}

// Where the live loop's clock finds the music, as it is heard.
PlaybackClock::MusicPosition musicPosition(Music* music)
{
    return [music] { return music != nullptr ? music->position() : std::nullopt; };
}

// How the clock starts the music again where the pictures are, after a stall.
PlaybackClock::RestartMusic restartMusic(Music* music)
{
    if (music == nullptr)
        return {};
    return [music](std::uint32_t time) {
        music->stop(); // a paused stream would only resume where it stood
        music->playFrom(time);
    };
}

// The main loop, to the last scene's end, Escape or a stop signal.
int mainLoop(RunContext& run, SceneSequence& scenes, FramePainter& painter)
{
    const std::uint32_t first = firstPass(run);
    LoopResult loop;
    if (run.options.frames != nullptr) {
        CaptureHost host(painter, *run.options.frames, run.inputs, run.frameSize);
        loop = runPasses(scenes, host, sceneStep, first);
    } else if (run.settings.everyFrame || run.options.firstFrameOnly) {
        EveryFramePacing pacing(run.wallClock);
        WindowHost host(painter, pacing, nullptr, run.inputs, run.music);
        if (run.options.firstFrameOnly)
            host.endAfterFirstFrame();
        loop = runPasses(scenes, host, sceneStep, first);
    } else {
        // The pictures follow the music from its first sample on.
        PlaybackClock playback(run.wallClock, musicPosition(run.music), &ContinueSignal::count,
            first * frameMilliseconds, restartMusic(run.music));
        ClockPacing pacing(playback, run.wallClock);
        WindowHost host(painter, pacing, &playback, run.inputs, run.music);
        loop = runPasses(scenes, host, sceneStep, first);
        if (loop.drawn > 0 && loop.drawn < loop.passes - first)
            VornE::log(VornE::Info, "Frames: ", loop.drawn, " of ", loop.passes - first,
                " drawn, the others skipped to keep in step with the ",
                playback.followedMusic() ? "music\n" : "clock\n");
    }
    return loop.end == LoopResult::End::Failed ? captureFailedStatus : 0;
}

// The run for its makers, until Escape or a stop signal: a seek plays fresh
// scenes from the start, the random generator seeded again; every program
// built by now, by whichever owner, is built again when its files change.
int rehearse(RunContext& run, SceneKit& kit, FramePainter& painter)
{
    ShaderWatch shaders;
    for (ShaderProgram* program : ShaderProgram::alive())
        shaders.watch(*program);
    const std::uint32_t first = firstPass(run);
    PlaybackClock playback(run.wallClock, musicPosition(run.music), &ContinueSignal::count, first * frameMilliseconds,
        restartMusic(run.music));
    ClockPacing pacing(playback, run.wallClock);
    const std::uint32_t seed = run.settings.seed;
    Rehearsal rehearsal(
        { painter, playback, pacing, run.wallClock, run.inputs, run.keyboard, run.music, shaders }, [&kit, seed] {
            seedRunRandom(seed);
            kit.cubeWorld.update({}); // as no scene has handed it points yet
            return makeRunScenes(kit);
        });
    rehearsal.run(first);
    return 0;
}

// The programs, the cube world, the frame's objects and the scenes, built
// in this order, played, and destroyed in reverse as this returns.
int playScenes(RunContext& run)
{
    ShaderProgram bigCube = ShaderPrograms::build(ShaderPrograms::bigCube);
    ShaderProgram colourCube = ShaderPrograms::build(ShaderPrograms::colourCube);
    ShaderProgram postProcess = ShaderPrograms::build(ShaderPrograms::postProcess);
    ShaderProgram postProcessPlain = ShaderPrograms::build(ShaderPrograms::postProcessPlain);
    ShaderProgram texture2D = ShaderPrograms::build(ShaderPrograms::texture2D);

    Texture& wall = run.ressources.require<Texture>(DataFiles::wall);
    Texture& strip1 = run.ressources.require<Texture>(DataFiles::strip1);
    Texture& strip2 = run.ressources.require<Texture>(DataFiles::strip2);
    Texture& strip3 = run.ressources.require<Texture>(DataFiles::strip3);
    Mesh& cubeMesh = run.ressources.require<Mesh>(DataFiles::cubeMesh);
    run.renderer.addMesh(MeshInstance(&cubeMesh));

    CubeWorld cubeWorld(run.ressources, run.frameSize);
    // Each frame is drawn off screen at the window's size, then shown
    // through the post-process pass.
    OffscreenTarget frame(run.frameSize, OffscreenTarget::Depth::Depth24, Multisampling::forThisGL(run.settings.msaa));
    ScreenQuad screenQuad;
    screenQuad.init();
    ShaderProgram glowBright = ShaderPrograms::build(ShaderPrograms::glowBright);
    ShaderProgram glowBlur = ShaderPrograms::build(ShaderPrograms::glowBlur);
    Glow glow(run.frameSize, glowBright, glowBlur);

    SceneKit kit { colourCube, bigCube, texture2D, cubeWorld, &cubeMesh, &wall, { &strip1, &strip2, &strip3 } };
    const std::vector<std::unique_ptr<DrawnScene>> drawings = makeRunScenes(kit);
    std::vector<Scene*> inOrder;
    inOrder.reserve(drawings.size());
    for (const std::unique_ptr<DrawnScene>& scene : drawings)
        inOrder.push_back(scene.get());
    SceneSequence scenes(inOrder);
    PostProcess lastPass(postProcess, postProcessPlain);
    FramePainter painter(run.window, run.renderer, frame, screenQuad, glow, lastPass, run.frameSize);

    run.window.swap();
    if (run.options.waitAtStart && !rehearsing(run) && !waitForStart(5000, run.inputs))
        return 0; // Escape or a stop signal: no music, no frame
    if (run.music != nullptr)
        run.music->playFrom(firstPass(run) * frameMilliseconds);
    run.window.setClearColour(Colour(0.0f, 0.0f, 0.0f, 1.0f));

    if (rehearsing(run))
        return rehearse(run, kit, painter);
    return mainLoop(run, scenes, painter);
}

} // namespace

int runDemo(const RunOptions& options)
{
    // ---- Start-up -------------------------------------------------------
    std::optional<Settings> dataSettings;
    if (options.settings == nullptr)
        dataSettings.emplace(DataFiles::settings);
    const RunSettings wanted = readSettings(options.settings != nullptr ? *options.settings : *dataSettings);
    FrameSink* const capture = options.frames;
    // A capture draws at its own size; its window only holds the GL context.
    const Resolution captureSize = capture != nullptr ? capture->frameSize(wanted.size) : wanted.size;

    VornE::VornEngine engine; // creates the window object and the logger
    InputList inputs;
    Renderer renderer { DataFiles::vertexShader(ShaderPrograms::overlay.stem),
        DataFiles::fragmentShader(ShaderPrograms::overlay.stem) };
    RessourceManager ressources;
    AMeshLoader meshLoader;
    VornE::TextureLoader textureLoader;
    SdlTimeSource wallClock;

    // The loaders have logged why a load failed. A failed start-up ends with
    // dataFailedStatus, not 0: a script or a capture must not take a run that
    // never played for one that did. Every object built so far is destroyed
    // in reverse order as this returns.
    if (!ressources.load(meshLoader, DataFiles::cubeMesh))
        return dataFailedStatus; // before any window is opened

    // Frames that follow the music may wait for the display's refresh: the
    // pacing does not depend on how long a pass takes.
    engine.window->requestTearFreeSwap(capture == nullptr && !wanted.everyFrame);
    const Resolution windowSize = capture != nullptr ? captureWindowSize : wanted.size;
    if (!engine.window->open(caption, windowSize, wanted.fullscreen && capture == nullptr)) {
        // One piece: at level Error the console ends every piece with a line end.
        VornE::log(VornE::Error, engine.window->openFailure());
        return engine.window->glUnusable() ? -1 : windowFailedStatus;
    }
    const Resolution frameSize = capture != nullptr ? captureSize : engine.window->getSize();
    if (capture != nullptr && !drawableHere(frameSize))
        return frameTooLargeStatus;

    // Owned until the list takes it, so that no way out leaves it behind.
    auto owned = std::make_unique<SDL_Keyboard>();
    SDL_Keyboard& keyboard = *owned;
    inputs.add(owned.release());

    for (const char* path : DataFiles::textures)
        if (!ressources.load(textureLoader, path))
            return dataFailedStatus;

    renderer.init();

    std::optional<Music> music;
    if (options.playMusic) {
        music.emplace();
        music->init(options.audioOutput); // without a usable device it has logged why and plays silently
        music->setExtraDelay(wanted.audioDelay);
        if (!loadSoundtrack(*music, options.lastFrameAt)) {
            VornE::log(VornE::Error, "Music not found\n");
            return dataFailedStatus; // the music first, then the final clean-up
        }
    }

    // ---- The scenes: built, played by the main loop, destroyed ----------
    RunContext run { options, wanted, *engine.window, inputs, keyboard, renderer, ressources, wallClock,
        music ? &*music : nullptr, frameSize };
    const int status = playScenes(run);

    // ---- Tear-down --------------------------------------------------------
    if (music)
        music->stop();
    renderer.release();
    // As this returns: the music player, then the final clean-up, also
    // reached from every failed start-up step: the loaders, the resource
    // manager, the renderer, the input list, the engine and the settings.
    return status;
}

// SDL 1.2's entry library does nothing on Linux, so this does what it would:
// initialise SDL before the demo and shut it down after.
int runProgram(const RunOptions& options)
{
    const ContinueSignal continueSignal; // before any thread starts
    pickVideoDriver();
    if (SDL_Init(SDL_INIT_NOPARACHUTE) != 0) {
        std::cerr << "Unable to initialise SDL: " << SDL_GetError() << std::endl;
        return windowFailedStatus;
    }
    const StopSignals stopSignals; // before SDL's video, which would take the signals over
    int status = 0;
    try {
        status = runDemo(options);
    } catch (const std::bad_alloc& error) {
        // The frame's size is the usual cause: frames are kept whole, and a
        // contact sheet holds all of them.
        const std::string text = std::string("Out of memory (") + error.what()
            + "): the system gives the run less memory than frames of this size need";
        VornE::log(VornE::Error, text);
        status = uncaughtExceptionStatus;
    } catch (const std::exception& error) {
        // The demo's objects are already destroyed by the unwinding.
        VornE::log(VornE::Error, error.what());
        status = uncaughtExceptionStatus;
    }
    checkLeaksBeforeShutdown();
    SDL_Quit();
    if (status == 0 && StopSignals::received() != 0)
        status = StopSignals::exitStatus(StopSignals::received());
    return status;
}
