// Windows' requests to stop, from the console: Ctrl-C, Ctrl-Break and the
// console window closing (or the user logging off), each taken as Linux
// takes SIGINT, SIGQUIT and SIGHUP, so that the run ends as it does after
// Escape with the same statuses: 130, 131 and 129.

#include "course/StopSignals.h"

#include "platform/windows/course/ConsoleEvents.h"

#include <atomic>
#include <windows.h>

namespace {

// Linux's numbers for the signals the events stand for.
constexpr int interrupt = 2; // SIGINT
constexpr int quit = 3; // SIGQUIT
constexpr int hangUp = 1; // SIGHUP

std::atomic<int> firstSignal { 0 };

BOOL WINAPI recordStop(DWORD event)
{
    const int signal = signalForConsoleEvent(event);
    if (signal == 0)
        return FALSE;
    int none = 0;
    // A second request, when the first has not been acted on, ends the
    // program at once: the next handler is Windows' own.
    if (!firstSignal.compare_exchange_strong(none, signal))
        return FALSE;
    if (signal == hangUp) {
        // Windows ends the process as soon as this returns: the run's
        // tear-down ends it first, by returning from main.
        for (;;)
            Sleep(INFINITE);
    }
    return TRUE;
}

} // namespace

int signalForConsoleEvent(unsigned long event)
{
    switch (event) {
    case CTRL_C_EVENT:
        return interrupt;
    case CTRL_BREAK_EVENT:
        return quit;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        return hangUp;
    default:
        return 0;
    }
}

StopSignals::StopSignals()
{
    firstSignal = 0;
    SetConsoleCtrlHandler(recordStop, TRUE);
}

StopSignals::~StopSignals()
{
    SetConsoleCtrlHandler(recordStop, FALSE);
}

int StopSignals::received()
{
    return firstSignal;
}
