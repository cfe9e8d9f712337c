#include "course/PassStepper.h"

#include "course/SceneSequence.h"

#include <utility>

PassStepper::PassStepper(SceneSequence& played, unsigned int sceneStep)
    : scenes(&played)
    , step(sceneStep)
    , holdsLastFrame(false)
{
}

PassStepper::PassStepper(FreshScenes source, unsigned int sceneStep)
    : scenes(nullptr)
    , fresh(std::move(source))
    , step(sceneStep)
    , holdsLastFrame(true)
{
    restart();
}

void PassStepper::restart()
{
    scenes = &fresh();
    at = 0;
    previousDrawn = true;
    holding = false;
    over = false;
    finalAhead = false;
}

void PassStepper::takeUpdate()
{
    scenes->update(step);
    ++at;
    if (scenes->finished())
        finalPass = at;
}

void PassStepper::moveOnTo(std::uint32_t pass)
{
    while (at < pass && !scenes->finished()) {
        scenes->skip();
        takeUpdate();
        // Nothing is drawn: a final pass reached this way has no picture
        // to show again.
        previousDrawn = false;
    }
}

PassStepper::Played PassStepper::play(PassHost& host)
{
    if (over)
        return Played::Skipped;
    if (holding) {
        holding = false;
        takeUpdate();
        previousDrawn = true;
    }
    if (scenes->finished())
        return playFinal(host);
    const bool drawn = host.wants(at);
    if (drawn) {
        if (!host.show(at, scenes->current()))
            return Played::Failed;
    } else {
        scenes->skip();
    }
    previousDrawn = drawn;
    takeUpdate();
    return drawn ? Played::Drawn : Played::Skipped;
}

PassStepper::Played PassStepper::playFinal(PassHost& host)
{
    if (holdsLastFrame)
        return hold(host) ? Played::Drawn : Played::Failed;
    over = true;
    const bool drawn = lastPictureDrawn() && host.wants(at);
    if (drawn && !host.show(at, nullptr))
        return Played::Failed;
    return drawn ? Played::Drawn : Played::Skipped;
}

void PassStepper::replayTo(std::uint32_t pass)
{
    restart();
    if (!finalPass || pass < *finalPass) {
        moveOnTo(pass);
        if (!scenes->finished() || at == 0)
            return;
        restart(); // the end found on the way: played again below
    }
    // The final frame shows the picture of the pass before it again: the
    // scenes stop there, for hold() to draw both.
    moveOnTo(*finalPass - 1); // the final pass comes after an update: never below 0
    finalAhead = true;
}

bool PassStepper::hold(PassHost& host)
{
    if (scenes->finished() && !lastPictureDrawn())
        replayTo(at);
    if (finalAhead) {
        // The last scene's last pass, whose picture the final frame shows.
        finalAhead = false;
        if (!host.show(at, scenes->current()))
            return false;
        takeUpdate();
        previousDrawn = true;
    }
    if (!host.show(at, scenes->current()))
        return false;
    holding = true;
    over = scenes->finished();
    return true;
}
