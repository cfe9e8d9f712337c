#include "engine/VornEngine.h"

#include "core/Logger.h"
#include "engine/GL_Window.h"

namespace VornE {

VornEngine::VornEngine()
    : window(std::make_unique<GL_Window>())
{
    if (logger == nullptr) {
        logger = new ConsoleLogger(); // lives until the process ends
        logger->level = Error;
    }
}

VornEngine::~VornEngine() = default;

} // namespace VornE
