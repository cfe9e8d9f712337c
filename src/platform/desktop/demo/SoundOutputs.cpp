// Linux's outputs, in the order tried: PipeWire through its own interface
// where the sound server is PipeWire, libpulse (PulseAudio, or PipeWire's
// PulseAudio interface where its own is not there), then ALSA's device where
// no server runs.

#include "platform/native/demo/SoundOutputs.h"

#include "platform/desktop/demo/AlsaOutput.h"
#include "platform/desktop/demo/PipeWireOutput.h"
#include "platform/desktop/demo/PulseOutput.h"

#include <chrono>
#include <cstdlib>

namespace {

// How long a sound server is given to answer.
constexpr std::chrono::milliseconds serverPatience { 2000 };

// What libpulse found, asked once before the outputs that need it: on a
// PipeWire desktop its PulseAudio interface answers libpulse too, but tells
// nothing of the graph's cycle, by which it plays later than it says, so
// there PipeWire's own interface plays. Elsewhere a PipeWire daemon may run
// for video alone, so libpulse asks the server first.
struct ServerProbe {
    std::unique_ptr<PulseOutput> pulse; // until an output takes it
    ServerOutput::State state = ServerOutput::State::Failed;
    bool pipeWire = false; // the server that answered is PipeWire's
};

ServerProbe& probeServer(OutputSearch& search)
{
    if (!search.probe) {
        auto probe = std::make_shared<ServerProbe>();
        probe->pulse = std::make_unique<PulseOutput>();
        probe->state = probe->pulse->waitForServer(serverPatience);
        if (probe->state == ServerOutput::State::Connecting) {
            // ALSA's default device may well go through that very server,
            // and trying it would hang on it too.
            search.addReason("the sound server did not answer within 2 s");
            search.giveUp = true;
        } else if (probe->state == ServerOutput::State::Failed) {
            search.addReason("the sound server: " + probe->pulse->failure());
        } else {
            probe->pipeWire = probe->pulse->serverName(serverPatience).find("PipeWire") != std::string::npos;
        }
        search.probe = probe;
    }
    return *static_cast<ServerProbe*>(search.probe.get());
}

std::unique_ptr<SoundOutput> openPipeWire(OutputSearch& search, bool named, const std::string&)
{
    bool pulseReady = false;
    if (!named) {
        const ServerProbe& probe = probeServer(search);
        pulseReady = probe.state == ServerOutput::State::Ready;
        // A PulseAudio server plays through libpulse; one that hangs, nothing.
        if (search.giveUp || (pulseReady && !probe.pipeWire))
            return nullptr;
    }
    auto native = std::make_unique<PipeWireOutput>();
    const ServerOutput::State state = native->waitForServer(serverPatience);
    if (state == ServerOutput::State::Ready)
        return native;
    // PipeWire without its own interface for us: its PulseAudio one plays.
    if (pulseReady)
        return nullptr;
    if (state == ServerOutput::State::Connecting) {
        search.addReason("PipeWire did not answer within 2 s");
        search.giveUp = true;
    } else if (named) {
        search.addReason("PipeWire: " + native->failure());
    }
    return nullptr;
}

// Named or not, the server libpulse reaches, whichever it is.
std::unique_ptr<SoundOutput> openPulse(OutputSearch& search, bool, const std::string&)
{
    ServerProbe& probe = probeServer(search);
    if (probe.state != ServerOutput::State::Ready)
        return nullptr;
    return std::move(probe.pulse);
}

std::unique_ptr<SoundOutput> openAlsa(OutputSearch& search, bool, const std::string&)
{
    const char* device = std::getenv("AUDIODEV");
    std::string why;
    std::unique_ptr<SoundOutput> output
        = AlsaOutput::open(device != nullptr && device[0] != '\0' ? device : "default", why);
    if (!output)
        search.addReason(why);
    return output;
}

std::unique_ptr<SoundOutput> againPipeWire()
{
    return std::make_unique<PipeWireOutput>();
}

std::unique_ptr<SoundOutput> againPulse()
{
    return std::make_unique<PulseOutput>();
}

} // namespace

const std::vector<SoundOutputKind>& platformSoundOutputs()
{
    static const std::vector<SoundOutputKind> outputs {
        { "pipewire", "PipeWire's own interface", true, openPipeWire, againPipeWire },
        { "pulse", "libpulse: PulseAudio, or PipeWire's PulseAudio interface", true, openPulse, againPulse },
        { "alsa", "ALSA's device (AUDIODEV, else \"default\"), without a server", true, openAlsa, nullptr },
    };
    return outputs;
}
