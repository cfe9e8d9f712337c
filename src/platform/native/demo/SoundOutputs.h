#pragma once

#include "platform/native/demo/SoundOutput.h"

#include <memory>
#include <string>
#include <vector>

// What a search for an output has found so far, shared by the entries it
// tries in turn.
struct OutputSearch {
    std::string reasons; // why each output tried did not open, "; " between them
    bool giveUp = false; // set by an entry after which none may be tried: a server that hangs
    // What an entry's probe found out, for the entries after it (on Linux:
    // which sound server libpulse reaches), the platform's own.
    std::shared_ptr<void> probe;

    void addReason(const std::string& reason) { reasons += (reasons.empty() ? "" : "; ") + reason; }
};

// One way of playing the soundtrack. Each platform lists its own in its
// folder's SoundOutputs.cpp, in the order they are tried when none is
// named; `none` and `file:PATH` follow on every platform. Choosing, the
// help, refusing a name and the order tried all come from that one list.
struct SoundOutputKind {
    const char* name; // as --audio and LUMAROLL_AUDIO name it
    const char* help; // what it plays through, for --help
    bool triedUnnamed; // tried, in the list's order, when no output is named
    // Opens it: `named` when the user named it (it is then the only one
    // tried), `argument` what follows "name:". Null, with the reason added to
    // the search, when it does not open; null without one where it leaves the
    // sound to the entries after it.
    std::unique_ptr<SoundOutput> (*open)(OutputSearch& search, bool named, const std::string& argument);
    // Starts a new try at it after it went away, without waiting for it:
    // the output once ready() (SoundOutput.h); null where it is not tried again.
    std::unique_ptr<SoundOutput> (*again)();
    // Whether it takes an argument, as file:PATH does.
    bool takesArgument = false;
};

// The platform's outputs, in the order tried; the silent one and the file
// are not among them.
const std::vector<SoundOutputKind>& platformSoundOutputs();
