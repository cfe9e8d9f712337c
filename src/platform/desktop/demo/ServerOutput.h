#pragma once

#include "platform/native/demo/SoundOutput.h"

#include <chrono>
#include <string>

// An output through a sound server: it connects as it is made, without
// waiting, so that a server that has stopped answering holds nothing up.
class ServerOutput : public SoundOutput {
public:
    enum class State { Connecting, Ready, Failed };

    virtual State state() const = 0;
    bool ready() const override { return state() == State::Ready; }
    // Waits until the server has answered or refused, at most `patience`.
    State waitForServer(std::chrono::milliseconds patience) const;
    // Why connecting failed, after Failed.
    virtual std::string failure() const = 0;
};
