// The log's colours on a POSIX terminal: ANSI escapes.

#include "core/Logger.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace VornE {

namespace {

const char* const yellow = "\033[33m";
const char* const brightRed = "\033[1;91m";
const char* const reset = "\033[0m";

bool colourWanted(int fd)
{
    const char* noColour = std::getenv("NO_COLOR");
    if (noColour != nullptr && noColour[0] != '\0')
        return false;
    return isatty(fd) == 1;
}

} // namespace

ConsoleWriter::ConsoleWriter()
    : colourOut(colourWanted(STDOUT_FILENO))
    , colourErr(colourWanted(STDERR_FILENO))
{
}

void ConsoleWriter::write(int level, const std::string& text)
{
    switch (level) {
    case Warning:
        if (colourOut)
            std::cout << yellow << text << reset;
        else
            std::cout << text;
        break;
    case Error:
        if (colourErr)
            std::cerr << brightRed << text << reset << std::endl;
        else
            std::cerr << text << std::endl;
        break;
    default:
        std::cout << text;
        break;
    }
}

} // namespace VornE
