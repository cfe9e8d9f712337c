#pragma once

#include <vector>

// An RGB picture with rows bottom-up, as glReadPixels gives them.
struct RgbFrame {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// The bound framebuffer's lower-left width x height pixels, into `frame`
// (whose storage is reused from one frame to the next).
void readFrame(int width, int height, RgbFrame& frame);
