#include "engine/VornEngine.h"

#include "core/Logger.h"
#include "engine/GL_Window.h"

namespace VornE {

VornEngine::VornEngine()
    : window(std::make_unique<GL_Window>())
{
    theLogger(); // made here unless a message came first
}

VornEngine::~VornEngine() = default;

} // namespace VornE
