#include "StallWatch.h"

#include <algorithm>
#include <pthread.h>
#include <sched.h>

namespace {

constexpr auto nap = std::chrono::milliseconds(1);
// Lateness worth noting: well above a busy machine's ordinary wake-up.
constexpr auto noted = std::chrono::milliseconds(2);

} // namespace

StallWatch::StallWatch()
{
    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned processor = 0; processor < processors; ++processor)
        watchers.emplace_back([this, processor] { watch(processor); });
}

StallWatch::~StallWatch()
{
    running = false;
    for (std::thread& watcher : watchers)
        watcher.join();
}

void StallWatch::watch(unsigned processor)
{
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(processor, &one);
    pthread_setaffinity_np(pthread_self(), sizeof one, &one);
    const sched_param priority { sched_get_priority_max(SCHED_FIFO) };
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) != 0) {
        realTime = false;
        return;
    }
    while (running) {
        const Clock::time_point asleep = Clock::now();
        std::this_thread::sleep_for(nap);
        const Clock::duration late = Clock::now() - asleep - nap;
        if (late >= noted) {
            const std::lock_guard<std::mutex> locked(lock);
            stalls.emplace_back(asleep, late);
        }
    }
}

double StallWatch::longestStallMs(Clock::time_point from, Clock::time_point to) const
{
    if (!realTime)
        return 0;
    const std::lock_guard<std::mutex> locked(lock);
    Clock::duration longest {};
    for (const auto& [asleep, late] : stalls)
        if (asleep + late >= from && asleep <= to)
            longest = std::max(longest, late);
    return std::chrono::duration<double, std::milli>(longest).count();
}
