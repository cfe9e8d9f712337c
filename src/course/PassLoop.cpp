#include "course/PassLoop.h"

LoopResult runPasses(SceneSequence& scenes, LoopHost& host, unsigned int step, std::uint32_t firstPass)
{
    PassStepper stepper(scenes, step);
    stepper.moveOnTo(firstPass);
    LoopResult result;
    result.passes = stepper.pass();
    while (!stepper.ended()) {
        const PassStepper::Played played = stepper.play(host);
        if (played == PassStepper::Played::Failed) {
            result.end = LoopResult::End::Failed;
            return result;
        }
        const bool drawn = played == PassStepper::Played::Drawn;
        ++result.passes;
        result.drawn += drawn ? 1u : 0u;
        if (!host.endOfPass(result.passes, drawn)) {
            result.end = LoopResult::End::Stopped;
            return result;
        }
    }
    return result;
}
