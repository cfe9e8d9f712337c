#include "course/StopSignals.h"

#include <csignal>
#include <iterator>

namespace {

volatile std::sig_atomic_t firstSignal = 0;

const int stopSignals[] = { SIGINT, SIGTERM, SIGHUP, SIGQUIT };
struct sigaction previous[std::size(stopSignals)];

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
    for (std::size_t i = 0; i < std::size(stopSignals); ++i)
        sigaction(stopSignals[i], &action, &previous[i]);
}

StopSignals::~StopSignals()
{
    for (std::size_t i = 0; i < std::size(stopSignals); ++i)
        sigaction(stopSignals[i], &previous[i], nullptr);
}

int StopSignals::received()
{
    return firstSignal;
}
