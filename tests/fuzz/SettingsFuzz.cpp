// libFuzzer target: the settings reader on any bytes, and every key the demo
// reads from what it kept. A crash, a hang or a sanitizer report fails.
#include "course/SettingKeys.h"

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
    volatile std::int64_t sum = 0;
    for (const SettingKey* key : SettingKeys::all)
        sum = sum + SettingKeys::value(settings, *key);
    (void)sum;
    return 0;
}
