// libFuzzer target: the settings reader on any bytes, and the four keys the
// demo reads from what it kept. A crash, a hang or a sanitizer report fails.
#include "course/Settings.h"

#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::cerr.setstate(std::ios::badbit); // the reader's complaints, millions of them, go nowhere
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    const Settings settings(text, "fuzz.ini");
    volatile float fullscreen = settings.get("fullscreen", 0.0f);
    volatile std::uint32_t width = settings.getUnsigned("hres", 800, false);
    volatile std::uint32_t height = settings.getUnsigned("vres", 640, false);
    volatile std::int32_t seed = settings.getInt("seed", 0);
    (void)fullscreen;
    (void)width;
    (void)height;
    (void)seed;
    return 0;
}
