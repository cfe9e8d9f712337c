#include "platform/desktop/demo/ServerOutput.h"

#include <thread>

ServerOutput::State ServerOutput::waitForServer(std::chrono::milliseconds patience) const
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    State now = state();
    while (now == State::Connecting && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        now = state();
    }
    return now;
}
