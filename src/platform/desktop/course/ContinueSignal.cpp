// SIGCONT on Linux, taken by the main thread only: the signal is blocked
// here, before the program starts any thread, so that every thread started
// later is born with it blocked, and count() takes what is pending. A
// handler would run on whichever thread the kernel picks, possibly after the
// main thread has already read the clock once the process went on, and the
// stopped time would go into the clock.

#include "course/ContinueSignal.h"

#include <csignal>
#include <ctime>
#include <pthread.h>

namespace {

unsigned int continues = 0;
sigset_t previousMask;

sigset_t continueOnly()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGCONT);
    return set;
}

} // namespace

ContinueSignal::ContinueSignal()
{
    const sigset_t set = continueOnly();
    pthread_sigmask(SIG_BLOCK, &set, &previousMask);
}

ContinueSignal::~ContinueSignal()
{
    // What is pending is counted no more.
    count();
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
}

unsigned int ContinueSignal::count()
{
    // Blocked, SIGCONT still continues a stopped process; it is only left
    // pending, once however often it came meanwhile.
    const sigset_t set = continueOnly();
    const timespec none { 0, 0 };
    while (sigtimedwait(&set, nullptr, &none) == SIGCONT)
        continues = continues + 1;
    return continues;
}
