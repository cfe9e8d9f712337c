#pragma once

#include <vector>

// An RGB picture with rows bottom-up, as glReadPixels gives them.
struct RgbFrame {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};
