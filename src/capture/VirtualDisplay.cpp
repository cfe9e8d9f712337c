#include "capture/VirtualDisplay.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

VirtualDisplay::~VirtualDisplay()
{
    if (server > 0) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
}

bool VirtualDisplay::ensure()
{
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && display[0] != '\0')
        return true;
    int ends[2];
    if (pipe(ends) != 0)
        return false;
    server = fork();
    if (server == 0) {
        // Its own session, so the Ctrl-C meant for the capture leaves the
        // display to the capture's tear-down; and it goes with the capture.
        setsid();
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(ends[0]);
        const std::string fd = std::to_string(ends[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset",
            static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    if (server < 0) {
        close(ends[0]);
        std::cerr << "Cannot start Xvfb: " << std::strerror(errno) << std::endl;
        return false;
    }
    // Xvfb writes its display number once it takes connections.
    std::string number;
    char c = 0;
    while (read(ends[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ends[0]);
    if (number.empty()) {
        std::cerr << "There is no display, and no virtual one could be started (Debian: apt-get install xvfb)"
                  << std::endl;
        waitpid(server, nullptr, 0);
        server = -1;
        return false;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    std::cout << "No display found: capturing inside a virtual X server (Xvfb) on :" << number << std::endl;
    return true;
}
