#pragma once

#include "engine/Window.h"

#include <memory>

namespace VornE {

// The engine object: owns the one window (a GL_Window, created closed) and
// makes sure the global logger exists, at level Error.
class VornEngine {
public:
    VornEngine();
    virtual ~VornEngine();
    VornEngine(const VornEngine&) = delete;
    VornEngine& operator=(const VornEngine&) = delete;

    std::unique_ptr<Window> window;
};

} // namespace VornE
