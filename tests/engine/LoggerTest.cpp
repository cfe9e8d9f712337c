#include "engine/Logger.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using VornE::ConsoleLogger;

TEST(Logger, LevelsBelowErrorAndUnknownLevelsWritePiecesUnchangedToStandardOutput)
{
    LogCapture capture;
    ConsoleLogger& log = LogCapture::logger();
    const unsigned char glewText[] = "No GLX display";
    log.level = VornE::Info;
    log << "FPS: " << 61u << "\n" << 4294967295u << ' ' << glewText << "\n";
    log.level = VornE::Warning;
    log << "Fail to get '"
        << "colour"
        << "'\n";
    for (int level : { 0, 5, -1 }) {
        log.level = level;
        log << "x";
    }
    EXPECT_EQ(capture.out(), "FPS: 61\n4294967295 No GLX display\nFail to get 'colour'\nxxx");
    EXPECT_EQ(capture.err(), "");
}

TEST(Logger, ErrorEndsEveryPieceWithItsOwnLine)
{
    LogCapture capture;
    ConsoleLogger& log = LogCapture::logger();
    log.level = VornE::Error;
    // A last piece that holds its own line end leaves an empty line after it.
    log << "Glew initialisation failed : '"
        << "Missing GL version"
        << "\n";
    EXPECT_EQ(capture.err(), "Glew initialisation failed : '\nMissing GL version\n\n\n");
    EXPECT_EQ(capture.out(), "");
}

namespace {

// Runs a fresh logger in a child whose standard output and error are a
// terminal (or, with terminal false, a pipe) and returns all it printed.
std::string loggedInChild(bool terminal, const char* noColour)
{
    int readEnd = -1;
    int fds[2] = { -1, -1 };
    if (!terminal && pipe(fds) != 0)
        return "pipe failed";
    // Or the child would write out whatever the parent still holds buffered.
    std::cout.flush();
    std::fflush(nullptr);
    const pid_t child = terminal ? forkpty(&readEnd, nullptr, nullptr, nullptr) : fork();
    if (child == 0) {
        if (!terminal) {
            dup2(fds[1], STDOUT_FILENO);
            dup2(fds[1], STDERR_FILENO);
        }
        if (noColour)
            setenv("NO_COLOR", noColour, 1);
        else
            unsetenv("NO_COLOR");
        ConsoleLogger log;
        for (int level : { VornE::Warning, VornE::Error, VornE::Info }) {
            log.level = level;
            log << (level == VornE::Warning ? "warn" : level == VornE::Error ? "fail" : "info");
            std::cout.flush();
        }
        std::fflush(nullptr);
        _exit(0);
    }
    if (!terminal) {
        close(fds[1]);
        readEnd = fds[0];
    }
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(readEnd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(got));
    close(readEnd);
    waitpid(child, nullptr, 0);
    return text;
}

} // namespace

TEST(Logger, ColoursLevelsOnlyOnATerminalWithoutNoColorAndResetsAfterEachPiece)
{
    const std::string coloured = "\033[33mwarn\033[0m\033[1;91mfail\033[0m\r\ninfo";
    EXPECT_EQ(loggedInChild(true, nullptr), coloured);
    EXPECT_EQ(loggedInChild(true, ""), coloured) << "an empty NO_COLOR does not count as set";
    EXPECT_EQ(loggedInChild(true, "1"), "warnfail\r\ninfo");
    EXPECT_EQ(loggedInChild(false, nullptr), "warnfail\ninfo");
}
