#pragma once

#include "core/RgbFrame.h"

// The bound framebuffer's lower-left width x height pixels, into `frame`
// (whose storage is reused from one frame to the next).
void readFrame(int width, int height, RgbFrame& frame);
