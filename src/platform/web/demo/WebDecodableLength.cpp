// The web page's soundtrack length: what the browser decoded when the music
// was loaded (WebAudioSystem.cpp).

#include "demo/SoundtrackLength.h"

extern "C" int lumaroll_audio_duration(const char* path);

std::uint32_t decodableMilliseconds(const std::string& path)
{
    const int length = lumaroll_audio_duration(path.c_str());
    return length > 0 ? static_cast<std::uint32_t>(length) : 0u;
}
