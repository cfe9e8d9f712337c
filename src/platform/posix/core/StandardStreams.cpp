#include "core/StandardStreams.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

void keepStandardStreamsSafe()
{
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor is this one.
        const int opened = open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        if (opened > 2)
            close(opened);
    }
    std::signal(SIGPIPE, SIG_IGN);
    // A file grown to the size the system lets the process write (ulimit -f)
    // is no reason to die without a word either: the write fails with EFBIG,
    // which the program reports and cleans up after. Libraries meet the
    // limit too (libpulse sizes its shared memory with ftruncate, and falls
    // back to the socket when that fails).
    std::signal(SIGXFSZ, SIG_IGN);
}
