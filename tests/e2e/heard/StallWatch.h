#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// Threads of the test's own at real-time priority, one on each processor,
// each asleep for a millisecond at a time and noting how late it woke. A
// real-time thread wakes within microseconds unless the machine itself stops
// running it (a virtual machine whose host takes its processor away): those
// moments are when a player's real-time thread misses the sound server's
// cycle too, whatever the player does.
class StallWatch {
public:
    using Clock = std::chrono::steady_clock;

    StallWatch();
    ~StallWatch();
    StallWatch(const StallWatch&) = delete;
    StallWatch& operator=(const StallWatch&) = delete;

    // False where the system grants no real-time priority: the watch then
    // sees ordinary scheduling, not stalls, and reports none.
    bool watching() const { return realTime; }
    // The longest a watcher woke late (ms) while asleep from `from` to `to`.
    double longestStallMs(Clock::time_point from, Clock::time_point to) const;

private:
    void watch(unsigned processor);

    std::vector<std::thread> watchers;
    std::atomic<bool> running { true };
    std::atomic<bool> realTime { true };
    mutable std::mutex lock;
    std::vector<std::pair<Clock::time_point, Clock::duration>> stalls; // when asleep from, and how late
};
