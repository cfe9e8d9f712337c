#pragma once

// Counts SIGCONT: the process was stopped (Ctrl-Z, SIGSTOP, a suspend) and
// goes on. The clock the pictures follow uses it to leave the stopped time
// out. Installed while an object of this class lives, made on the main
// thread before any other thread starts; count() is the main thread's.
class ContinueSignal {
public:
    ContinueSignal();
    ~ContinueSignal();
    ContinueSignal(const ContinueSignal&) = delete;
    ContinueSignal& operator=(const ContinueSignal&) = delete;

    // How many times the process has been continued since the start.
    static unsigned int count();
};
