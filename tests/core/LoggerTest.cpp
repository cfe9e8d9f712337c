#include "core/Logger.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>

using VornE::ConsoleLogger;

// Info, Warning and any unknown level write each piece as it is to standard
// output; Error writes to standard error with a line end after every piece.
TEST(Logger, LevelsWritePiecesToTheirStreamAndErrorEndsEachPieceWithALine)
{
    LogCapture capture;
    ConsoleLogger& log = VornE::theLogger();
    const unsigned char glewText[] = "No GLX display";
    for (int level : { int { VornE::Info }, int { VornE::Warning }, 0, 5 }) {
        log.level = level;
        log << "FPS: " << 61u << ' ' << 4294967295u << "\n";
    }
    log.level = VornE::Error;
    log << "Glew initialisation failed : '" << glewText << "\n";
    const std::string line = "FPS: 61 4294967295\n";
    EXPECT_EQ(capture.out(), line + line + line + line);
    EXPECT_EQ(capture.err(), "Glew initialisation failed : '\nNo GLX display\n\n\n");
}
