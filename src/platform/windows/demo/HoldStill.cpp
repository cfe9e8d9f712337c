#include "demo/HoldStill.h"

#include "course/StopSignals.h"

#include <windows.h>

// No process stops itself on Windows: this one waits until it is ended, or
// until Ctrl-C or the console closing asks it to stop, which the run then
// does as after Escape.
void holdStill()
{
    while (StopSignals::received() == 0)
        Sleep(20);
}
