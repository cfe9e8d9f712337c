#pragma once

#include "core/RgbFrame.h"

#include <string>
#include <vector>

// The capture tool's frames of run times `times` (ms), with `settings` as
// the data folder's; an empty frame for one it did not make.
std::vector<RgbFrame> capturedFrames(const std::string& settings, const std::vector<long>& times);
