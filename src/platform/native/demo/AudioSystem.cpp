// The audio layer of the programs that run on the machine itself (Linux,
// Windows): the soundtrack decoded from disk (VorbisStream) on a thread of
// its own, ahead of what plays (DecodedAhead), through an output of our
// own, the first of the platform's list (SoundOutputs.h) that opens, or the
// one --audio or LUMAROLL_AUDIO names; on every platform also
//   none        nothing played, no position
//   file:PATH   a file at a sound card's pace, for tests

#include "demo/AudioSystem.h"

#include "core/Quoted.h"
#include "platform/native/demo/DecodedAhead.h"
#include "platform/native/demo/FileOutput.h"
#include "platform/native/demo/SoundOutputs.h"
#include "platform/native/demo/VorbisStream.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

constexpr std::int64_t retryEveryMicros = 2000000;
// How long a stream may play unpaused without being heard to move before
// the output counts as playing nothing.
constexpr std::int64_t notHeardWithinMicros = 2000000;

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

std::unique_ptr<SoundOutput> openFile(OutputSearch& search, bool, const std::string& path)
{
    double pace = 1.0;
    std::string why;
    std::unique_ptr<SoundOutput> output;
    if (filePace(pace, why))
        output = FileOutput::open(path, pace, why);
    if (!output)
        search.addReason(why);
    return output;
}

// The platform's outputs, then those every platform has; `none` opens nothing.
const std::vector<SoundOutputKind>& allOutputs()
{
    static const std::vector<SoundOutputKind> all = [] {
        std::vector<SoundOutputKind> kinds = platformSoundOutputs();
        kinds.push_back({ "none", "nothing: no sound, the pictures on the wall clock", false, nullptr, nullptr });
        kinds.push_back({ "file", "PATH: raw 16-bit stereo into a file at a sound card's pace (tests)", false, openFile,
            nullptr, true });
        return kinds;
    }();
    return all;
}

// The output `name` names ("file:PATH" names the file's), or null.
const SoundOutputKind* outputNamed(const std::string& name, std::string& argument)
{
    for (const SoundOutputKind& kind : allOutputs()) {
        const std::string prefix = std::string(kind.name) + ":";
        if (!kind.takesArgument && name == kind.name)
            return &kind;
        if (kind.takesArgument && name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
            argument = name.substr(prefix.size());
            return &kind;
        }
    }
    return nullptr;
}

} // namespace

std::vector<std::string> AudioSystem::outputNames()
{
    std::vector<std::string> names;
    for (const SoundOutputKind& kind : allOutputs())
        names.push_back(std::string(kind.name) + (kind.takesArgument ? ":PATH" : ""));
    return names;
}

bool AudioSystem::offersOutput(const std::string& name)
{
    std::string argument;
    return outputNamed(name, argument) != nullptr;
}

struct AudioStreamData {
    std::shared_ptr<DecodedAhead> decoder; // shared with the output that plays it
};

// The output, with what the channel plays on it and how it is found again
// after it went away.
struct AudioOutput {
    std::unique_ptr<SoundOutput> sound; // null: the silent output
    const SoundOutputKind* kind = nullptr; // what `sound` is
    std::shared_ptr<DecodedAhead> playing;
    std::uint64_t firstFrame = 0; // of `playing`, where the last play() began
    std::uint32_t heardBefore = 0; // ms heard on an output that went away
    std::uint32_t resumeAt = 0; // ms since play where a returning server takes up the stream
    bool lostSaid = false;
    // The output took the stream but plays nothing of it (a server that
    // links it to no device), and is let go.
    bool playsNothing = false;
    // Since when the stream has played unpaused without being heard to move
    // (0: it moves, or is paused).
    std::int64_t unheardSince = 0;
    std::unique_ptr<SoundOutput> comingBack;
    std::int64_t comingBackPlayedAt = 0; // when comingBack took the stream; 0 before
    std::int64_t triedAt = 0;
    std::string notice;

    bool playable() const { return sound && sound->lost().empty() && !playsNothing; }
    // Why the output stopped playing for good, or "".
    std::string lostBecause(bool paused, std::int64_t now);
    // After the output went away: tries it again every two seconds, and
    // plays on where the music was heard once a new try is heard to play.
    void lookAgain(bool paused, std::int32_t extraDelay);
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
    if (playing && owner->output->comingBack)
        owner->output->comingBack->stop();
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

bool AudioSystem::init(int, const std::string& outputName)
{
    output = std::make_unique<AudioOutput>();
    std::string choice = outputName;
    if (choice.empty()) {
        choice = environment("LUMAROLL_AUDIO");
        if (!choice.empty() && !offersOutput(choice)) {
            std::string names;
            for (const std::string& name : outputNames())
                names += (names.empty() ? "" : ", ") + name;
            std::cerr << "LUMAROLL_AUDIO is " << quoteForMessage(choice) << ", which names no sound output here ("
                      << names << "): the outputs are tried as when it is unset" << std::endl;
            choice.clear();
        }
    }
    OutputSearch search;
    std::string argument;
    if (const SoundOutputKind* named = choice.empty() ? nullptr : outputNamed(choice, argument)) {
        if (named->open == nullptr) {
            silentOutput = true;
        } else {
            output->sound = named->open(search, true, argument);
            output->kind = named;
        }
    } else {
        for (const SoundOutputKind& kind : allOutputs()) {
            if (!kind.triedUnnamed)
                continue;
            output->sound = kind.open(search, false, "");
            output->kind = &kind;
            if (output->sound || search.giveUp)
                break;
        }
    }
    if (!silentOutput && !output->sound) {
        error = "No available audio device (" + search.reasons + ")";
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
    std::unique_ptr<VorbisStream> file = VorbisStream::open(path, why);
    if (!file) {
        error = why;
        return nullptr;
    }
    auto data = std::make_unique<AudioStreamData>();
    data->decoder = std::make_shared<DecodedAhead>(std::move(file));
    return std::make_unique<AudioStream>(std::move(data));
}

AudioChannel* AudioSystem::play(AudioStream& stream, double seconds)
{
    if (!open) {
        error = "The audio output is not open";
        return nullptr;
    }
    // Whatever played before stops reading its decoder before this one
    // moves, a new try at an output that went away included.
    if (output->sound)
        output->sound->stop();
    if (output->comingBack)
        output->comingBack->stop();
    output->comingBackPlayedAt = 0;
    output->unheardSince = 0;
    const std::shared_ptr<DecodedAhead>& decoder = stream.data->decoder;
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
    const std::int64_t now = monotonicMicros();
    if (output->sound && !output->lostSaid && channel.playing) {
        if (const std::string why = output->lostBecause(channel.paused, now); !why.empty()) {
            output->notice = why + ": playing on without sound";
            output->lostSaid = true;
            output->triedAt = now;
            output->resumeAt = output->heardBefore + output->sound->heardMilliseconds(now);
        }
    }
    if (output->lostSaid && output->kind != nullptr && output->kind->again != nullptr)
        output->lookAgain(channel.paused, extraDelay);
}

std::string AudioOutput::lostBecause(bool paused, std::int64_t now)
{
    if (std::string why = sound->lost(); !why.empty())
        return why;
    if (paused || sound->heardMoving()) {
        unheardSince = 0;
        return "";
    }
    if (unheardSince == 0)
        unheardSince = now;
    if (now - unheardSince < notHeardWithinMicros)
        return "";
    // Nothing more is taken from the music: a stream linked later would
    // read it beside the next try's.
    sound->stop();
    playsNothing = true;
    return "the sound server plays nothing";
}

void AudioOutput::lookAgain(bool paused, std::int32_t extraDelay)
{
    const std::int64_t now = monotonicMicros();
    if (comingBack && comingBackPlayedAt == 0 && comingBack->ready()) {
        // The music goes on from where it was last heard; the pictures' clock
        // moves it to where they are once it is heard.
        comingBack->setExtraDelay(extraDelay);
        std::string why;
        if (playing) {
            playing->seek(firstFrame + static_cast<std::uint64_t>(resumeAt) * playing->rate() / 1000u);
            if (comingBack->play(playing, why) && paused)
                comingBack->pause(true);
        }
        comingBackPlayedAt = now;
        return;
    }
    if (comingBack && comingBackPlayedAt != 0) {
        // Back once heard to play: a server that takes the stream and plays
        // nothing of it is no better than none. Paused, there is nothing to hear.
        if (comingBack->lost().empty() && (paused || !playing || comingBack->heardMoving())) {
            heardBefore = resumeAt;
            sound = std::move(comingBack);
            if (paused)
                sound->pause(true); // paused while it was being tried
            comingBackPlayedAt = 0;
            playsNothing = false;
            unheardSince = 0;
            lostSaid = false;
            notice = "the sound is back: playing on with sound";
            return;
        }
        if (comingBack->lost().empty() && now - comingBackPlayedAt < notHeardWithinMicros)
            return;
        comingBack->stop();
        comingBack.reset();
        comingBackPlayedAt = 0;
        triedAt = now;
        return;
    }
    if (now - triedAt < retryEveryMicros)
        return;
    // A server that refused, or did not answer in time, is asked anew.
    triedAt = now;
    comingBack = kind->again();
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
