// Lumaroll: the demo's whole life, from settings to tear-down.
//
// Start-up, the main loop and the tear-down follow a fixed order, one step a
// line; steps that later parts of the demo fill in are marked where they go.

#include "demo/FrameClock.h"
#include "demo/InputList.h"
#include "demo/SDL_Keyboard.h"
#include "demo/Settings.h"
#include "engine/Colour.h"
#include "engine/Logger.h"
#include "engine/Resolution.h"
#include "engine/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "engine/VornEngine.h"
#include "mesh/AMeshLoader.h"

#include <GL/glew.h>
#include <SDL.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cstdlib>
#include <exception>
#include <iostream>

namespace {

// Exit statuses besides the two of a normal run (0, and -1 when GLEW fails).
constexpr int windowFailedStatus = 1;
constexpr int uncaughtExceptionStatus = 2;

const char* const caption = "Lumaroll - ZEQ 2012";
const char* const cubeMeshPath = "./data/meshes/cube2.obj";
// Loaded in this order; start-up stops at the first that fails.
const char* const texturePaths[] = { "./data/textures/test.png", "./data/textures/wall.png",
    "./data/textures/rect1.png", "./data/textures/rect2.png", "./data/textures/rect3.png", "./data/textures/fade.png" };
constexpr unsigned int sceneStep = 16; // ms of scene time per pass, whatever the real time

int runDemo()
{
    // ---- Start-up -------------------------------------------------------
    Settings settings("data/settings.ini");
    const bool fullscreen = settings.get("fullscreen", 0.0f) != 0.0f;
    Resolution resolution;
    resolution.height = settings.getUnsigned("vres", 640, false);
    resolution.width = settings.getUnsigned("hres", 800, false);
    std::srand(settings.getUnsigned("seed", 0));

    VornE::VornEngine engine; // creates the window object and the logger
    InputList inputs;
    // The Renderer is built here.
    RessourceManager ressources;
    AMeshLoader meshLoader;
    VornE::TextureLoader textureLoader;
    FrameClock clock;

    // The loaders have logged why a load failed; a failed start-up still ends
    // with status 0, every object built so far destroyed in reverse order.
    if (!ressources.load(meshLoader, cubeMeshPath))
        return 0; // before any window is opened

    if (!engine.window->open(caption, resolution, fullscreen)) {
        VornE::logger->level = VornE::Error;
        *VornE::logger << "Unable to open the window: " << SDL_GetError();
        return windowFailedStatus;
    }
    resolution = engine.window->getSize();

    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK) {
        VornE::logger->level = VornE::Error;
        *VornE::logger << "Glew initialisation failed : '" << glewGetErrorString(glewStatus) << "\n";
        return -1;
    }

    inputs.add(new SDL_Keyboard());

    for (const char* path : texturePaths) {
        if (!ressources.load(textureLoader, path))
            return 0;
    }

    // The renderer's init, the music, the four shader programs, the resource
    // handles, the cube mesh's GPU copy, the cube world, the off-screen
    // framebuffer with the screen quad and the three scenes are set up here, in
    // that order.

    engine.window->swap();
    SDL_Delay(5000);
    // The music starts here.
    engine.window->setClearColour(Colour(0.0f, 0.0f, 0.0f, 1.0f));

    // ---- Main loop --------------------------------------------------------
    unsigned int state = 0; // 0..2: scene one to three playing; 3: finished
    bool running = true;
    do {
        engine.window->clear();
        // Bind the off-screen framebuffer.
        const float aspect = static_cast<float>(resolution.width) / static_cast<float>(resolution.height);
        const glm::mat4 projection = glm::perspective(glm::radians(45.0f), aspect, 0.1f, 100.0f);
        (void)projection; // given to the current scene's render
        // Render the current scene into it; unbind it; draw its colour
        // texture to the window through the post-process pass.
        engine.window->swap();

        switch (state) {
        case 0: // scene one
        case 1: // scene two
        case 2: // scene three: each moves on when its update(sceneStep) returns false
            (void)sceneStep;
            break;
        default:
            running = false; // one last pass has shown the final image
            break;
        }

        inputs.updateAll();
        // The music is serviced here.
        clock.tick();
    } while (!inputs.anyQuit() && running);

    // ---- Tear-down -----------------------------------------------------------
    // Scenes, render target, cube world and shader programs are destroyed,
    // the music stops, the renderer releases its GPU objects and the music
    // player goes, in that order. Then the final clean-up: every object built
    // above is destroyed in reverse order as this function returns.
    return 0;
}

} // namespace

// SDL 1.2's entry library does nothing on Linux, so main does what it would:
// initialise SDL before the demo and shut it down after.
int main(int, char**)
{
    if (SDL_Init(SDL_INIT_NOPARACHUTE) != 0) {
        std::cerr << "Unable to initialise SDL: " << SDL_GetError() << std::endl;
        return windowFailedStatus;
    }
    int status = 0;
    try {
        status = runDemo();
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
    SDL_Quit();
    return status;
}
