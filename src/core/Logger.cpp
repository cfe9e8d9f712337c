#include "core/Logger.h"

namespace VornE {

ConsoleLogger* logger = nullptr;

ConsoleLogger& theLogger()
{
    if (logger == nullptr) {
        // Lives until the process ends, never deleted: exit handlers and
        // static destructors may still log.
        logger = new ConsoleLogger(); // NOLINT(cppcoreguidelines-owning-memory)
        logger->level = Error;
    }
    return *logger;
}

bool NoFilter::accept(int)
{
    return true;
}

std::string ColourFormater::format(int, const std::string& text)
{
    return text;
}

} // namespace VornE
