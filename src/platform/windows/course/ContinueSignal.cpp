#include "course/ContinueSignal.h"

// Windows stops no process the way SIGSTOP does, and tells none it goes on:
// the count stays 0, and the clock keeps the time a debugger held it.
ContinueSignal::ContinueSignal() = default;

ContinueSignal::~ContinueSignal() = default;

unsigned int ContinueSignal::count()
{
    return 0;
}
