#include "course/RunLength.h"

#include <utility>

namespace {

template <class Timeline> std::uint32_t framesOf()
{
    Timeline timeline;
    std::uint32_t frames = 1;
    while (timeline.update(frameMilliseconds))
        ++frames;
    return frames;
}

template <std::size_t... Scene> std::array<std::uint32_t, runSceneCount> framesOfEach(std::index_sequence<Scene...>)
{
    // In the run's order: each timeline draws from the run's random sequence as it plays.
    std::array<std::uint32_t, runSceneCount> frames {};
    ((frames[Scene] = framesOf<std::tuple_element_t<Scene, RunTimelines>>()), ...);
    return frames;
}

} // namespace

std::array<std::uint32_t, runSceneCount> sceneFrameCounts()
{
    return framesOfEach(std::make_index_sequence<runSceneCount>());
}

std::uint32_t runFrameCount()
{
    std::uint32_t frames = 1; // the last picture, shown once more
    for (const std::uint32_t scene : sceneFrameCounts())
        frames += scene;
    return frames;
}
