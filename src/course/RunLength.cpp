#include "course/RunLength.h"

#include "course/SceneOneTimeline.h"
#include "course/SceneThreeTimeline.h"
#include "course/SceneTwoTimeline.h"

namespace {

template <class Timeline> std::uint32_t framesOf()
{
    Timeline timeline;
    std::uint32_t frames = 1;
    while (timeline.update(frameMilliseconds))
        ++frames;
    return frames;
}

} // namespace

std::uint32_t runFrameCount()
{
    return framesOf<SceneOneTimeline>() + framesOf<SceneTwoTimeline>() + framesOf<SceneThreeTimeline>() + 1;
}
