#include "course/Pulsor.h"

void Pulsor::update(unsigned int time)
{
    if (lastPulse == notUpdated) {
        lastPulse = time;
        return;
    }
    // Strictly greater: a gap equal to the period is not yet a pulse, which is
    // what puts the pulses on the next 16 ms step (the sweep of scene one
    // restarts every 1904 ms, not every 1900).
    if (time - lastPulse > period) {
        lastPulse = time;
        value = 1.0f;
    } else {
        value = 0.0f;
    }
}
