#include "core/Logger.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using VornE::ConsoleLogger;

namespace {

// Runs a fresh logger in a child whose standard output and error are a
// terminal (or, with terminal false, a pipe) and returns all it printed.
std::string loggedInChild(bool terminal, const char* noColour)
{
    int fds[2] = { -1, -1 };
    if (!terminal && pipe(fds) != 0)
        return "pipe failed";
    // Or the child would write out whatever the parent still holds buffered.
    std::cout.flush();
    std::fflush(nullptr);
    const pid_t child = terminal ? forkpty(&fds[0], nullptr, nullptr, nullptr) : fork();
    if (child == 0) {
        if (!terminal) {
            dup2(fds[1], STDOUT_FILENO);
            dup2(fds[1], STDERR_FILENO);
        }
        noColour != nullptr ? setenv("NO_COLOR", noColour, 1) : unsetenv("NO_COLOR");
        ConsoleLogger log;
        for (int level : { VornE::Warning, VornE::Error, VornE::Info }) {
            log.level = level;
            log << (level == VornE::Warning ? "warn" : level == VornE::Error ? "fail" : "info");
            std::cout.flush();
        }
        std::fflush(nullptr);
        // Linux drops what a terminal still holds when its last writer
        // closes it: the child stays until the parent has read all.
        char read = 0;
        if (terminal && ::read(STDIN_FILENO, &read, 1) != 1)
            _exit(1);
        _exit(0);
    }
    if (!terminal)
        close(fds[1]);
    std::string text;
    char buffer[256];
    pollfd ready { fds[0], POLLIN, 0 };
    while (text.find("info") == std::string::npos && poll(&ready, 1, 5000) == 1) {
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<size_t>(got));
    }
    if (terminal && write(fds[0], "\n", 1) != 1)
        text += " (the child was not let go)";
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return text;
}

} // namespace

TEST(Logger, ColoursLevelsOnlyOnATerminalWithoutNoColorAndResetsAfterEachPiece)
{
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "no terminals and no child processes under Emscripten";
#endif
    const std::string coloured = "\033[33mwarn\033[0m\033[1;91mfail\033[0m\r\ninfo";
    EXPECT_EQ(loggedInChild(true, nullptr), coloured);
    EXPECT_EQ(loggedInChild(true, ""), coloured) << "an empty NO_COLOR does not count as set";
    EXPECT_EQ(loggedInChild(true, "1"), "warnfail\r\ninfo");
    EXPECT_EQ(loggedInChild(false, nullptr), "warnfail\ninfo");
}
