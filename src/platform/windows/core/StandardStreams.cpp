#include "core/StandardStreams.h"

#include <cstdio>

void keepStandardStreamsSafe()
{
    // The C runtime hands an unbuffered stream to the system a character
    // at a time, which a console draws one by one: each stream gets a
    // buffer, and the log flushes it after each piece (ConsoleWriter.cpp),
    // std::cerr after each insertion, so lines still go as they are
    // written, through a pipe too. Started without a console (by a program
    // that gives it none), the log has nowhere to go: the writes simply
    // fail, as on Linux once SIGPIPE is ignored.
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 14);
    std::setvbuf(stderr, nullptr, _IOFBF, 1 << 14);
}
