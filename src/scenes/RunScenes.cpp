#include "scenes/RunScenes.h"

// Every scene's header, for its DrawingOf.
#include "scenes/SceneOne.h"
#include "scenes/SceneThree.h"
#include "scenes/SceneTwo.h"

#include <utility>

namespace {

template <std::size_t... Index>
std::vector<std::unique_ptr<DrawnScene>> makeEach(SceneKit& kit, std::index_sequence<Index...>)
{
    std::vector<std::unique_ptr<DrawnScene>> scenes;
    (scenes.push_back(std::make_unique<typename DrawingOf<std::tuple_element_t<Index, RunTimelines>>::type>(kit)), ...);
    return scenes;
}

} // namespace

std::vector<std::unique_ptr<DrawnScene>> makeRunScenes(SceneKit& kit)
{
    return makeEach(kit, std::make_index_sequence<runSceneCount>());
}
