// libFuzzer target: the texture loader on any bytes, written to a file named
// .png and loaded as the demo loads its textures, upload to GL included (a
// real context: run it under scripts/with-display.sh). A crash, a hang or a
// sanitizer report fails; a refused file is fine.
#include "core/Logger.h"
#include "core/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "engine/VornEngine.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::unique_ptr<VornE::VornEngine> engine;
std::unique_ptr<VornE::TextureLoader> loader;
std::string path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_VIDEODRIVER", "x11", 0);
    if (SDL_Init(SDL_INIT_NOPARACHUTE) != 0)
        std::abort();
    engine = std::make_unique<VornE::VornEngine>();
    if (!engine->window->open("texture fuzz", Resolution { 64, 64 }, false)) {
        std::fprintf(stderr, "the texture fuzzer needs a display with GL\n");
        std::abort();
    }
    loader = std::make_unique<VornE::TextureLoader>();
    path = "/tmp/lumaroll-fuzz-" + std::to_string(getpid()) + ".png";
    std::cout.setstate(std::ios::badbit);
    std::cerr.setstate(std::ios::badbit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::unique_ptr<VornE::Ressource> texture(loader->load(path));
    std::remove(path.c_str());
    return 0;
}
