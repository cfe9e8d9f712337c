#include "course/PassLoop.h"

#include "course/SceneSequence.h"

LoopResult runPasses(SceneSequence& scenes, LoopHost& host, unsigned int step, std::uint32_t firstPass)
{
    LoopResult result;
    for (; result.passes < firstPass && !scenes.finished(); ++result.passes) {
        scenes.skip();
        scenes.update(step);
    }
    // Begun at the finished run's final pass, there is no last picture to show.
    bool previousDrawn = result.passes == 0 || !scenes.finished();
    bool running = true;
    do {
        const bool finalPass = scenes.finished();
        // The final frame shows what the last scene's last pass drew; when
        // that pass was skipped the off-screen frame holds an older picture.
        const bool drawn = host.wants(result.passes) && (!finalPass || previousDrawn);
        if (drawn) {
            if (!host.show(result.passes, scenes.current())) {
                result.end = LoopResult::End::Failed;
                return result;
            }
            ++result.drawn;
        } else {
            scenes.skip();
        }
        previousDrawn = drawn;
        ++result.passes;

        if (finalPass)
            running = false;
        else
            scenes.update(step);

        if (!host.endOfPass(result.passes, drawn)) {
            result.end = LoopResult::End::Stopped;
            return result;
        }
    } while (running);
    return result;
}
