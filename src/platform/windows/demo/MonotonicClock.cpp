#include "platform/native/demo/SoundOutput.h"

#include <windows.h>

// The performance counter, which IAudioClock::GetPosition times its answers
// on: both speak of the same moments.
std::int64_t monotonicMicros()
{
    static const LONGLONG perSecond = [] {
        LARGE_INTEGER frequency {};
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart;
    }();
    LARGE_INTEGER now {};
    QueryPerformanceCounter(&now);
    // In two parts, so that the product cannot overflow however long the
    // machine has run.
    const LONGLONG seconds = now.QuadPart / perSecond;
    const LONGLONG rest = now.QuadPart % perSecond;
    return seconds * 1000000 + rest * 1000000 / perSecond;
}
