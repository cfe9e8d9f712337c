#pragma once

#include <string>
#include <vector>

// An RGB picture with rows bottom-up, as glReadPixels gives them.
struct RgbFrame {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// The bound framebuffer's lower-left width x height pixels.
RgbFrame readFrame(int width, int height);

// PNG files through DevIL (which must have been initialised), upright in the
// file. Saving reports failure on standard error; loading gives an empty
// frame when the file cannot be read.
bool savePng(const RgbFrame& frame, const std::string& path);
RgbFrame loadPng(const std::string& path);
