#pragma once

// Ctrl-C (SIGINT), SIGTERM, SIGHUP (a closed terminal) and SIGQUIT as a
// request to stop: while an object of this class lives, each is only
// recorded, and the demo leaves its loop and tears down as it does after
// Escape. A second signal, when the first has not been acted on, ends the
// program at once as if nothing were installed. SDL leaves handlers it finds
// in place, so this is installed before SDL's video starts; SDL would
// otherwise turn SIGINT and SIGTERM into a quit event, which the demo ignores
// along with the window's close button.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The number of the first signal received, or 0.
    static int received();
    // What a shell expects of a program a signal ended: 128 + its number.
    static int exitStatus(int signal) { return 128 + signal; }
};
