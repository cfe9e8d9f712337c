#include "course/SceneSequence.h"

#include "course/Scene.h"

#include <utility>

SceneSequence::SceneSequence(std::vector<Scene*> list)
    : scenes(std::move(list))
{
}

Scene* SceneSequence::current() const
{
    return finished() ? nullptr : scenes[index];
}

void SceneSequence::update(unsigned int step)
{
    if (!finished() && !scenes[index]->update(step))
        ++index;
}

void SceneSequence::skip()
{
    if (!finished())
        scenes[index]->skip();
}
