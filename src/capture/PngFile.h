#pragma once

#include "render/RgbFrame.h"

#include <string>

// PNG files through DevIL, upright in the file. DevIL is initialised on first
// use. Saving reports failure on standard error; loading gives an empty frame
// when the file cannot be read.
bool savePng(const RgbFrame& frame, const std::string& path);
RgbFrame loadPng(const std::string& path);
