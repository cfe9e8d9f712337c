#pragma once

#include <cstdint>
#include <string>

// How much of an Ogg Vorbis file decodes, in ms. A file cut short reports its
// cut length as its total and a damaged page can end the decoding early, so
// the whole file is decoded (about a tenth of a second for the soundtrack);
// holes where a page is lost are skipped over. 0 when it does not open.
std::uint32_t decodableMilliseconds(const std::string& path);

// One line for the user when the music at `path` stops before run time
// `needed` (ms): "" when it lasts.
std::string soundtrackTooShort(const std::string& path, std::uint32_t needed);
