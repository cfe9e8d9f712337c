#pragma once

#include "core/RgbFrame.h"

#include <string>

// PNG files, upright in the file. Saving goes through libpng, safe on any
// thread, and reports failure on standard error; loading goes through DevIL,
// initialised on first use, and gives an empty frame when the file cannot be
// read.

// Fast: zlib's quickest level and one cheap row filter, for frames written as
// fast as they are drawn. Small: the best level and libpng's own choice of
// filters, for a single picture.
enum class PngCompression { Fast, Small };

bool savePng(const RgbFrame& frame, const std::string& path, PngCompression compression = PngCompression::Fast);
// Into a file already open for writing, which it closes; `path` names it in messages.
bool savePng(
    const RgbFrame& frame, int descriptor, const std::string& path, PngCompression compression = PngCompression::Fast);
RgbFrame loadPng(const std::string& path);
