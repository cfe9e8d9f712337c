// The log's colours on a Windows console: the console's text attributes,
// 14 (yellow) for warnings, 12 (bright red) for errors, then the console's
// own attributes back. Through a pipe or into a file there is no console,
// and the text goes as it is. Each piece is flushed as it is written: the
// standard streams are buffered here (StandardStreams.cpp).

#include "core/Logger.h"

#include <cstdlib>
#include <iostream>
#include <windows.h>

namespace VornE {

namespace {

constexpr WORD yellow = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_INTENSITY; // 14
constexpr WORD brightRed = FOREGROUND_RED | FOREGROUND_INTENSITY; // 12
constexpr WORD grey = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE; // 7

bool colourWanted(DWORD which)
{
    const char* noColour = std::getenv("NO_COLOR");
    if (noColour != nullptr && noColour[0] != '\0')
        return false;
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

// The console's own attributes when the log was made, put back after each
// colour: the one logger's, as the writer is.
WORD plainAttributes = grey;

WORD attributesNow()
{
    CONSOLE_SCREEN_BUFFER_INFO information {};
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &information) != 0)
        return information.wAttributes;
    return grey;
}

// The text in `colour` on the console behind `which`: what the stream still
// holds goes first, in the colour it was written in.
void inColour(std::ostream& stream, DWORD which, WORD colour, WORD plain, const std::string& text, bool endLine)
{
    stream.flush();
    SetConsoleTextAttribute(GetStdHandle(which), colour);
    stream << text;
    if (endLine)
        stream << '\n';
    stream.flush();
    SetConsoleTextAttribute(GetStdHandle(which), plain);
}

} // namespace

ConsoleWriter::ConsoleWriter()
    : colourOut(colourWanted(STD_OUTPUT_HANDLE))
    , colourErr(colourWanted(STD_ERROR_HANDLE))
{
    if (colourOut || colourErr)
        plainAttributes = attributesNow();
}

void ConsoleWriter::write(int level, const std::string& text)
{
    switch (level) {
    case Warning:
        if (colourOut)
            inColour(std::cout, STD_OUTPUT_HANDLE, yellow, plainAttributes, text, false);
        else
            std::cout << text << std::flush;
        break;
    case Error:
        if (colourErr)
            inColour(std::cerr, STD_ERROR_HANDLE, brightRed, plainAttributes, text, true);
        else
            std::cerr << text << std::endl;
        break;
    default:
        std::cout << text << std::flush;
        break;
    }
}

} // namespace VornE
