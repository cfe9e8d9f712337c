#include "course/StopSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t firstSignal = 0;

struct sigaction previousInterrupt;
struct sigaction previousTerminate;

extern "C" void recordStop(int signal)
{
    if (firstSignal != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    firstSignal = signal;
}

} // namespace

StopSignals::StopSignals()
{
    firstSignal = 0;
    struct sigaction action { };
    action.sa_handler = recordStop;
    sigemptyset(&action.sa_mask);
    // Interrupted sleeps and reads resume: the loop looks at the flag once a pass.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
}

StopSignals::~StopSignals()
{
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
}

int StopSignals::received()
{
    return firstSignal;
}
