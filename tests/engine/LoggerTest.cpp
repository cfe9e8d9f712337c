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

TEST(Logger, InfoPiecesGoToStandardOutputAsTheyAre)
{
    LogCapture capture;
    ConsoleLogger& log = LogCapture::logger();
    log.level = VornE::Info;
    log << "FPS: " << 61u << "\n";
    EXPECT_EQ(capture.out(), "FPS: 61\n");
    EXPECT_EQ(capture.err(), "");
}

TEST(Logger, UnknownLevelsWriteLikeInfo)
{
    LogCapture capture;
    ConsoleLogger& log = LogCapture::logger();
    for (int level : {0, 5, -1}) {
        log.level = level;
        log << "x";
    }
    EXPECT_EQ(capture.out(), "xxx");
    EXPECT_EQ(capture.err(), "");
}

TEST(Logger, WarningGoesToStandardOutputWithoutLineEnd)
{
    LogCapture capture;
    ConsoleLogger& log = LogCapture::logger();
    log.level = VornE::Warning;
    log << "Fail to get '" << "colour" << "'\n";
    EXPECT_EQ(capture.out(), "Fail to get 'colour'\n");
    EXPECT_EQ(capture.err(), "");
}

TEST(Logger, ErrorEndsEveryPieceWithItsOwnLine)
{
    LogCapture capture;
    ConsoleLogger& log = LogCapture::logger();
    log.level = VornE::Error;
    log << "Unable to find '" << "./data/meshes/cube2.obj";
    EXPECT_EQ(capture.err(), "Unable to find '\n./data/meshes/cube2.obj\n");
    capture.clear();
    // A last piece that holds its own line end leaves an empty line after it.
    log << "Glew initialisation failed : '" << "Missing GL version" << "\n";
    EXPECT_EQ(capture.err(), "Glew initialisation failed : '\nMissing GL version\n\n\n");
    EXPECT_EQ(capture.out(), "");
}

TEST(Logger, NumbersAndByteStringsPrintAsText)
{
    LogCapture capture;
    ConsoleLogger& log = LogCapture::logger();
    log.level = VornE::Info;
    const unsigned char glewText[] = "No GLX display";
    log << 4294967295u << ' ' << 7u << ' ' << glewText;
    EXPECT_EQ(capture.out(), "4294967295 7 No GLX display");
}

TEST(Logger, LevelPersistsUntilAssigned)
{
    LogCapture capture;
    ConsoleLogger& log = LogCapture::logger();
    log.level = VornE::Warning;
    log << "a";
    log << "b";
    EXPECT_EQ(log.level, VornE::Warning);
    EXPECT_EQ(capture.out(), "ab");
}

namespace {

// Runs a fresh logger in a child whose standard output and error are a
// terminal (or, with terminal false, a pipe) and returns all it printed.
std::string loggedInChild(bool terminal, const char* noColour)
{
    int master = -1;
    int readEnd = -1;
    pid_t child;
    if (terminal) {
        child = forkpty(&master, nullptr, nullptr, nullptr);
        readEnd = master;
    } else {
        int fds[2];
        if (pipe(fds) != 0)
            return "pipe failed";
        child = fork();
        if (child == 0) {
            dup2(fds[1], STDOUT_FILENO);
            dup2(fds[1], STDERR_FILENO);
            close(fds[0]);
        } else {
            close(fds[1]);
        }
        readEnd = fds[0];
    }
    if (child == 0) {
        if (noColour)
            setenv("NO_COLOR", noColour, 1);
        else
            unsetenv("NO_COLOR");
        ConsoleLogger log;
        log.level = VornE::Warning;
        log << "warn";
        std::cout.flush();
        log.level = VornE::Error;
        log << "fail";
        log.level = VornE::Info;
        log << "info";
        std::cout.flush();
        std::fflush(nullptr);
        _exit(0);
    }
    std::string text;
    char buffer[256];
    ssize_t got;
    while ((got = read(readEnd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(got));
    close(readEnd);
    int status = 0;
    waitpid(child, &status, 0);
    return text;
}

} // namespace

TEST(Logger, ColoursLevelsOnATerminalAndResetsAfterEachPiece)
{
    const std::string text = loggedInChild(true, nullptr);
    EXPECT_EQ(text, "\033[33mwarn\033[0m\033[1;91mfail\033[0m\r\ninfo");
}

TEST(Logger, WritesPlainTextWhenRedirectedOrNoColorIsSet)
{
    EXPECT_EQ(loggedInChild(false, nullptr), "warnfail\ninfo");
    EXPECT_EQ(loggedInChild(true, "1"), "warnfail\r\ninfo");
    // An empty NO_COLOR does not count as set.
    EXPECT_EQ(loggedInChild(true, ""), "\033[33mwarn\033[0m\033[1;91mfail\033[0m\r\ninfo");
}
