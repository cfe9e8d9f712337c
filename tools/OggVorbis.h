#pragma once

#include <string>
#include <vector>

// Encodes interleaved stereo floats at 44.1 kHz to an Ogg Vorbis file at a
// VBR quality (0.5 is about 160 kbit/s). The stream's serial number is fixed,
// so the same samples give the same bytes. False, with a message on standard
// error, when the file cannot be written.
bool writeOggVorbis(const std::string& path, const std::vector<float>& interleaved, float quality);
