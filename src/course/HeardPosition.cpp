#include "course/HeardPosition.h"

#include <algorithm>

HeardPosition::HeardPosition(std::uint32_t framesPerSecond)
    : rate(framesPerSecond)
{
}

std::int64_t HeardPosition::framesIn(std::int64_t micros) const
{
    return micros * rate / 1000000;
}

void HeardPosition::restart(std::int64_t firstFrame)
{
    first = standing = firstFrame;
    handedFrames = 0;
    answers = next = 0;
    holding = false;
    answeredOnce = false;
}

void HeardPosition::answered(std::int64_t frame, std::int64_t micros)
{
    recent[next] = { first + frame, first + frame - framesIn(micros) };
    next = (next + 1) % recent.size();
    answers = std::min(answers + 1, recent.size());
    answeredOnce = true;
}

void HeardPosition::hold(std::int64_t micros)
{
    if (holding)
        return;
    standing = outputFrameAt(micros);
    holding = true;
}

void HeardPosition::go()
{
    // What was answered before the pause put the start where it was then.
    answers = next = 0;
    holding = false;
}

std::int64_t HeardPosition::outputFrameAt(std::int64_t micros) const
{
    if (holding || answers == 0)
        return standing;
    std::array<std::int64_t, std::tuple_size<decltype(recent)>::value> starts {};
    std::int64_t furthest = recent[0].frame;
    for (std::size_t i = 0; i < answers; ++i) {
        starts[i] = recent[i].start;
        furthest = std::max(furthest, recent[i].frame);
    }
    const auto middle = starts.begin() + static_cast<std::ptrdiff_t>(answers / 2);
    std::nth_element(starts.begin(), middle, starts.begin() + static_cast<std::ptrdiff_t>(answers));
    const std::int64_t ranOn = *middle + framesIn(micros);
    const std::int64_t stallsAt = furthest + framesIn(carryLimit);
    const std::int64_t handedUpTo = first + static_cast<std::int64_t>(handedFrames);
    return std::min({ ranOn, stallsAt, handedUpTo });
}

std::int64_t HeardPosition::framesAt(std::int64_t micros) const
{
    const std::int64_t delay = static_cast<std::int64_t>(extraDelay) * rate / 1000;
    // Before the output has said anything, nothing is heard: a delay that
    // moves the listener ahead has nothing yet to move ahead of.
    if (!answeredOnce)
        return standing - std::max<std::int64_t>(delay, 0);
    return outputFrameAt(micros) - delay;
}

std::uint32_t HeardPosition::millisecondsAt(std::int64_t micros) const
{
    const std::int64_t frames = framesAt(micros);
    if (frames <= 0 || rate <= 0)
        return 0;
    return static_cast<std::uint32_t>(std::min<std::int64_t>(frames * 1000 / rate, UINT32_MAX));
}
