#include "core/LeakCheck.h"

#if defined(__SANITIZE_ADDRESS__)
#define LUMAROLL_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMAROLL_LEAK_CHECK 1
#endif
#endif

#ifdef LUMAROLL_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

void checkLeaksBeforeShutdown()
{
#ifdef LUMAROLL_LEAK_CHECK
    __lsan_do_leak_check();
#endif
}
