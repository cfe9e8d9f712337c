#include "course/HeardPosition.h"

#include <algorithm>

HeardPosition::HeardPosition(Output kind, std::uint32_t framesPerSecond)
    : output(kind)
    , rate(framesPerSecond)
{
}

std::int64_t HeardPosition::framesIn(std::uint32_t milliseconds) const
{
    return static_cast<std::int64_t>(milliseconds) * rate / 1000;
}

void HeardPosition::restart(std::uint32_t ticks)
{
    startedAt = ticks;
    handovers = handoversWhenAsked = 0;
    all = before = 0;
    lastAt = ticks;
    measuredCount = nextMeasured = 0;
}

void HeardPosition::handed(std::uint64_t frames, std::uint32_t ticks)
{
    before = all;
    all += frames;
    lastAt = ticks;
    ++handovers;
}

void HeardPosition::queued(std::uint64_t microseconds, std::uint32_t ticks)
{
    // A buffer handed over while the question was out may or may not be in
    // the answer; and an answer that took long says little about when the
    // server looked.
    const std::uint32_t roundTrip = ticks - askedAt;
    if (handovers == 0 || handovers != handoversWhenAsked || roundTrip > longestRoundTrip)
        return;
    const auto waiting = static_cast<std::int64_t>(microseconds * static_cast<std::uint64_t>(rate) / 1000000u);
    const std::int64_t heardThen = static_cast<std::int64_t>(all) - waiting;
    const std::int64_t latest = heardThen - framesIn(askedAt + roundTrip / 2 - startedAt);
    // Behind a layer, up to one of our buffers less has reached the server.
    const std::int64_t held = output == Output::QueuedBehindALayer ? static_cast<std::int64_t>(all - before) - 1 : 0;
    measured[nextMeasured] = { latest - held, latest };
    nextMeasured = (nextMeasured + 1) % measured.size();
    measuredCount = std::min(measuredCount + 1, measured.size());
}

std::int64_t HeardPosition::measuredStart() const
{
    const auto* const end = measured.begin() + static_cast<std::ptrdiff_t>(measuredCount);
    std::int64_t earliest = measured.front().latest;
    std::int64_t latestOfEarliest = measured.front().earliest;
    for (const auto* answer = measured.begin(); answer != end; ++answer) {
        earliest = std::min(earliest, answer->latest);
        latestOfEarliest = std::max(latestOfEarliest, answer->earliest);
    }
    // Each answer bounds the start from both sides; the bounds of all of
    // them together are the closest, and the middle of what they leave is
    // the best guess. Without a layer the two bounds are one.
    return std::min(earliest, latestOfEarliest + (earliest - latestOfEarliest) / 2);
}

std::uint64_t HeardPosition::framesAt(std::uint32_t ticks) const
{
    if (handovers == 0)
        return 0;
    std::int64_t heard = 0;
    if (measuredCount > 0) {
        heard = measuredStart() + framesIn(ticks - startedAt);
    } else {
        // The last buffer plays from its hand-over on, or from the end of the
        // one before it: counted into it with the wall clock, never past it.
        const auto lastBuffer = static_cast<std::int64_t>(all - before);
        const std::int64_t intoLast = std::min(framesIn(ticks - lastAt), lastBuffer);
        heard = static_cast<std::int64_t>(before) + intoLast - (output == Output::Queueless ? 0 : lastBuffer);
    }
    heard -= static_cast<std::int64_t>(extraDelay) * rate / 1000;
    return static_cast<std::uint64_t>(std::clamp<std::int64_t>(heard, 0, static_cast<std::int64_t>(all)));
}

std::uint32_t HeardPosition::millisecondsAt(std::uint32_t ticks) const
{
    if (rate <= 0)
        return 0;
    return static_cast<std::uint32_t>(framesAt(ticks) * 1000u / static_cast<std::uint64_t>(rate));
}
