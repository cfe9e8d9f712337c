// The desktop's audio layer: the soundtrack decoded from disk as it plays
// (VorbisStream) through an output of our own, picked by LUMAROLL_AUDIO:
//   (unset)    the sound server: PipeWire through its own interface, PulseAudio
//              through libpulse; else ALSA's device when no server is there
//   pipewire   PipeWire's own interface only  pulse  libpulse only (PipeWire's
//              PulseAudio interface included)
//   alsa       ALSA only (AUDIODEV names the device)
//   none       nothing played, no position    file:PATH   a file at a card's pace, for tests
// A server's stream goes to the server's default sink (PULSE_SINK for libpulse).

#include "demo/AudioSystem.h"

#include "core/Quoted.h"
#include "platform/desktop/demo/AlsaOutput.h"
#include "platform/desktop/demo/FileOutput.h"
#include "platform/desktop/demo/PipeWireOutput.h"
#include "platform/desktop/demo/PulseOutput.h"
#include "platform/desktop/demo/VorbisStream.h"

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

// How long the sound server is given to answer, at start-up and when it is
// tried again after it went away.
constexpr std::chrono::milliseconds serverPatience { 2000 };
constexpr std::int64_t retryEveryMicros = 2000000;

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// How many times real time the file output takes its samples.
bool filePace(double& pace, std::string& error)
{
    const std::string text = environment("LUMAROLL_AUDIO_PACE");
    if (text.empty()) {
        pace = 1.0;
        return true;
    }
    char* end = nullptr;
    pace = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(pace >= 0.1 && pace <= 100.0)) {
        error = "LUMAROLL_AUDIO_PACE is '" + text + "': a number from 0.1 to 100";
        return false;
    }
    return true;
}

void addReason(std::string& reasons, const std::string& reason)
{
    reasons += (reasons.empty() ? "" : "; ") + reason;
}

// A server of either kind, connecting.
std::unique_ptr<ServerOutput> connectTo(bool pipeWire)
{
    if (pipeWire)
        return std::make_unique<PipeWireOutput>();
    return std::make_unique<PulseOutput>();
}

// On a PipeWire desktop, its PulseAudio interface answers libpulse too, but
// tells nothing of the graph's cycle, by which it plays later than it says:
// there PipeWire's own interface plays. Elsewhere a PipeWire daemon may run
// for video alone, so libpulse asks the server first.
std::unique_ptr<ServerOutput> soundServer(bool pipeWireOnly, bool pulseOnly, std::string& reasons, bool& hangs)
{
    if (!pipeWireOnly) {
        auto pulse = std::make_unique<PulseOutput>();
        const ServerOutput::State state = pulse->waitForServer(serverPatience);
        if (state == ServerOutput::State::Connecting) {
            hangs = true;
            addReason(reasons, "the sound server did not answer within 2 s");
            return nullptr;
        }
        if (state == ServerOutput::State::Ready
            && (pulseOnly || pulse->serverName(serverPatience).find("PipeWire") == std::string::npos))
            return pulse;
        if (state == ServerOutput::State::Failed)
            addReason(reasons, "the sound server: " + pulse->failure());
        if (pulseOnly)
            return nullptr;
        auto native = std::make_unique<PipeWireOutput>();
        const ServerOutput::State nativeState = native->waitForServer(serverPatience);
        if (nativeState == ServerOutput::State::Ready)
            return native;
        // PipeWire without its own interface for us: its PulseAudio one plays.
        if (state == ServerOutput::State::Ready)
            return pulse;
        if (nativeState == ServerOutput::State::Connecting) {
            hangs = true;
            addReason(reasons, "PipeWire did not answer within 2 s");
        }
        return nullptr;
    }
    auto native = std::make_unique<PipeWireOutput>();
    const ServerOutput::State state = native->waitForServer(serverPatience);
    if (state == ServerOutput::State::Ready)
        return native;
    hangs = state == ServerOutput::State::Connecting;
    addReason(reasons, hangs ? "PipeWire did not answer within 2 s" : "PipeWire: " + native->failure());
    return nullptr;
}

} // namespace

struct AudioStreamData {
    std::shared_ptr<VorbisStream> decoder; // shared with the output that plays it
};

// The output, with what the channel plays on it and how the sound server is
// found again after it went away.
struct AudioOutput {
    std::unique_ptr<SoundOutput> sound; // null: the silent output
    bool fromServer = false; // a sound server's, which is looked for again when lost
    bool pipeWire = false; // that server through PipeWire's own interface
    std::shared_ptr<VorbisStream> playing;
    std::uint64_t firstFrame = 0; // of `playing`, where the last play() began
    std::uint32_t heardBefore = 0; // ms heard on an output that went away
    std::uint32_t resumeAt = 0; // ms since play where a returning server takes up the stream
    bool lostSaid = false;
    std::unique_ptr<ServerOutput> comingBack;
    std::int64_t triedAt = 0;
    std::string notice;

    bool playable() const { return sound && sound->lost().empty(); }
    // After the server went away: tries it again every two seconds, and
    // plays on where the music was heard once it answers.
    void lookForServer(bool paused, std::int32_t extraDelay);
};

AudioStream::AudioStream(std::unique_ptr<AudioStreamData> data)
    : data(std::move(data))
{
}

AudioStream::~AudioStream() = default;

void AudioChannel::setPaused(bool pause)
{
    if (!playing)
        return;
    if (owner->output->playable())
        owner->output->sound->pause(pause);
    paused = pause;
}

void AudioChannel::stop()
{
    if (playing && owner->output->sound)
        owner->output->sound->stop();
    playing = false;
    paused = false;
}

AudioSystem::AudioSystem() = default;

AudioSystem::~AudioSystem()
{
    close();
    release();
}

bool AudioSystem::create()
{
    started = true;
    return true;
}

bool AudioSystem::init(int)
{
    output = std::make_unique<AudioOutput>();
    const std::string choice = environment("LUMAROLL_AUDIO");
    std::string reasons;
    bool serverHangs = false;
    if (choice == "none") {
        silentOutput = true;
    } else if (choice.empty() || choice == "pulse" || choice == "pipewire") {
        // A server that hangs: ALSA's default device may well go through
        // it, and trying it would hang on it too.
        if (std::unique_ptr<ServerOutput> server
            = soundServer(choice == "pipewire", choice == "pulse", reasons, serverHangs)) {
            output->pipeWire = dynamic_cast<PipeWireOutput*>(server.get()) != nullptr;
            output->sound = std::move(server);
            output->fromServer = true;
        }
    } else if (choice.rfind("file:", 0) == 0) {
        double pace = 1.0;
        std::string why;
        if (filePace(pace, why))
            output->sound = FileOutput::open(choice.substr(5), pace, why);
        if (!output->sound)
            addReason(reasons, why);
    } else if (choice != "alsa") {
        addReason(reasons,
            "LUMAROLL_AUDIO is " + quoteForMessage(choice) + ": it names pipewire, pulse, alsa, none or file:PATH");
    }
    if (!silentOutput && !output->sound && !serverHangs && (choice.empty() || choice == "alsa")) {
        const std::string device = environment("AUDIODEV");
        std::string why;
        output->sound = AlsaOutput::open(device.empty() ? "default" : device, why);
        if (!output->sound)
            addReason(reasons, why);
    }
    if (!silentOutput && !output->sound) {
        error = "No available audio device (" + reasons + ")";
        output.reset();
        return false;
    }
    if (output->sound)
        output->sound->setExtraDelay(extraDelay);
    open = true;
    return true;
}

bool AudioSystem::initSilent(int)
{
    close();
    release();
    started = true;
    output = std::make_unique<AudioOutput>();
    silentOutput = true;
    open = true;
    return true;
}

std::unique_ptr<AudioStream> AudioSystem::createStream(const std::string& path)
{
    if (!open) {
        error = "The audio output is not open";
        return nullptr;
    }
    std::string why;
    std::unique_ptr<VorbisStream> decoder = VorbisStream::open(path, why);
    if (!decoder) {
        error = why;
        return nullptr;
    }
    auto data = std::make_unique<AudioStreamData>();
    data->decoder = std::move(decoder);
    return std::make_unique<AudioStream>(std::move(data));
}

AudioChannel* AudioSystem::play(AudioStream& stream, double seconds)
{
    if (!open) {
        error = "The audio output is not open";
        return nullptr;
    }
    // Whatever played before stops reading its decoder before this one moves.
    if (output->sound)
        output->sound->stop();
    const std::shared_ptr<VorbisStream>& decoder = stream.data->decoder;
    // As libvorbisfile seeks to a time: the frame before it.
    const double frame = seconds > 0.0 ? seconds * decoder->rate() : 0.0;
    decoder->seek(frame < 1e15 ? static_cast<std::uint64_t>(frame) : UINT64_MAX);
    output->playing = decoder;
    output->firstFrame = decoder->tell();
    output->heardBefore = output->resumeAt = 0;
    std::string why;
    // An output that went away takes the stream when it comes back.
    if (output->playable() && !output->sound->play(decoder, why)) {
        error = why;
        return nullptr;
    }
    channel.owner = this;
    channel.playing = true;
    channel.paused = false;
    return &channel;
}

void AudioSystem::update()
{
    if (!output)
        return;
    if (channel.playing && !channel.paused && output->playing && output->playing->ended())
        channel.playing = false;
    if (output->sound && !output->lostSaid) {
        if (const std::string why = output->sound->lost(); !why.empty()) {
            output->notice = why + ": playing on without sound";
            output->lostSaid = true;
            output->triedAt = monotonicMicros();
            output->resumeAt = output->heardBefore + output->sound->heardMilliseconds(output->triedAt);
        }
    }
    if (output->lostSaid && output->fromServer)
        output->lookForServer(channel.paused, extraDelay);
}

void AudioOutput::lookForServer(bool paused, std::int32_t extraDelay)
{
    const std::int64_t now = monotonicMicros();
    if (comingBack && comingBack->state() == ServerOutput::State::Ready) {
        // The music goes on from where it was last heard; the pictures' clock
        // moves it to where they are.
        heardBefore = resumeAt;
        sound = std::move(comingBack);
        sound->setExtraDelay(extraDelay);
        std::string why;
        if (playing) {
            playing->seek(firstFrame + static_cast<std::uint64_t>(heardBefore) * playing->rate() / 1000u);
            if (sound->play(playing, why) && paused)
                sound->pause(true);
        }
        lostSaid = false;
        notice = "the sound is back: playing on with sound";
        return;
    }
    if (now - triedAt < retryEveryMicros)
        return;
    // A server that refused, or did not answer in time, is asked anew.
    triedAt = now;
    comingBack = connectTo(pipeWire);
}

std::string AudioSystem::takeNotice()
{
    if (!output)
        return "";
    std::string line;
    line.swap(output->notice);
    return line;
}

void AudioSystem::setExtraDelay(std::int32_t milliseconds)
{
    extraDelay = milliseconds;
    if (output && output->sound)
        output->sound->setExtraDelay(milliseconds);
}

std::optional<std::uint32_t> AudioSystem::playedMilliseconds() const
{
    if (!open || silentOutput || channel.owner == nullptr || !output->playable())
        return std::nullopt;
    return output->heardBefore + output->sound->heardMilliseconds(monotonicMicros());
}

void AudioSystem::close()
{
    if (!open)
        return;
    channel.stop();
    output.reset();
    open = false;
    silentOutput = false;
}

void AudioSystem::release()
{
    started = false;
}
