#include "demo/AudioSystem.h"

#include "course/HeardPosition.h"
#include "demo/SoundServerLatency.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

constexpr int outputRate = 44100;
constexpr int outputChunk = 4096; // samples per channel: about 93 ms, safe from dropouts on a busy machine
// How often the sound server is asked about the output: every 100 to 200 ms,
// at no fixed period, so that the answers fall on every phase of the
// output's own cycle and the earliest of them finds its low point.
constexpr std::uint32_t askAfter = 100;
constexpr std::uint32_t askSpread = 100;

} // namespace

struct AudioStreamData {
    explicit AudioStreamData(Mix_Music* music)
        : music(music)
    {
    }
    ~AudioStreamData() { Mix_FreeMusic(music); }
    AudioStreamData(const AudioStreamData&) = delete;
    AudioStreamData& operator=(const AudioStreamData&) = delete;

    Mix_Music* const music;
};

// SDL_mixer's output, with what it has handed over counted for the heard
// position.
struct AudioOutput {
    // SDL_mixer's post-mix hook, on the audio thread, with the audio locked.
    static void countHanded(void* output, std::uint8_t* stream, int bytes);
    // The sound server's answer, on libpulse's thread.
    void serverAnswered(std::uint64_t microseconds);
    // A few times a second, the sound server is asked what it still holds.
    void askServer();

    // The output's format.
    int rate = 0;
    int bytesPerFrame = 0;
    // Written by the audio thread; read and reset under SDL_LockAudio.
    bool counting = false;
    std::unique_ptr<HeardPosition> heard;
    std::unique_ptr<SoundServerLatency> server;
    std::uint32_t lastAsked = 0; // SDL ticks
    std::uint32_t nextAsk = 0; // ms after lastAsked
    // Its own generator: the scenes draw from the C library's, and a draw
    // here would change the pictures.
    std::minstd_rand askJitter;
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
    if (pause)
        Mix_PauseMusic();
    else
        Mix_ResumeMusic();
    paused = pause;
    owner->setCounting(!pause);
}

void AudioChannel::stop()
{
    if (playing) {
        Mix_HaltMusic();
        owner->setCounting(false);
    }
    playing = false;
    paused = false;
}

AudioSystem::AudioSystem() = default;

AudioSystem::~AudioSystem()
{
    close();
    release();
}

bool AudioSystem::fail()
{
    error = Mix_GetError();
    return false;
}

bool AudioSystem::create()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return fail();
    started = true;
    return true;
}

bool AudioSystem::init(int channels)
{
    if (Mix_OpenAudio(outputRate, AUDIO_S16SYS, 2, outputChunk) != 0)
        return fail();
    open = true;
    output = std::make_unique<AudioOutput>();
    int& rate = output->rate;
    Mix_AllocateChannels(channels);
    // The device may have given another format than asked for.
    Uint16 format = 0;
    int outputChannels = 0;
    Mix_QuerySpec(&rate, &format, &outputChannels);
    output->bytesPerFrame = outputChannels * static_cast<int>(format & 0xFF) / 8;
    char driver[32] = "";
    const bool named = SDL_AudioDriverName(driver, sizeof driver) != nullptr;
    silentOutput = named && std::strcmp(driver, "dummy") == 0;
    const bool queueless = named && std::strcmp(driver, "disk") == 0;
    // sdl12-compat says who it is by its version, 1.2.50 and up: it passes
    // our buffers on to SDL2 in pieces of SDL2's own size.
    const bool behindALayer = SDL_Linked_Version()->patch >= 50;
    if (rate > 0) {
        const HeardPosition::Output kind = queueless ? HeardPosition::Output::Queueless
            : behindALayer                           ? HeardPosition::Output::QueuedBehindALayer
                                                     : HeardPosition::Output::Queued;
        output->heard = std::make_unique<HeardPosition>(kind, static_cast<std::uint32_t>(rate));
        output->heard->setExtraDelay(extraDelay);
    }
    Mix_SetPostMix(AudioOutput::countHanded, output.get());
    // Whatever SDL's driver, a sound server may be playing the stream (ALSA's
    // default device is often routed to one); where none does, nothing is
    // answered.
    if (!silentOutput && !queueless && output->heard) {
        AudioOutput* const answered = output.get();
        output->server = std::make_unique<SoundServerLatency>(
            [answered](std::uint64_t microseconds) { answered->serverAnswered(microseconds); });
    }
    return true;
}

void AudioOutput::countHanded(void* output, std::uint8_t*, int bytes)
{
    auto* self = static_cast<AudioOutput*>(output);
    if (!self->counting || self->bytesPerFrame <= 0 || !self->heard)
        return;
    self->heard->handed(static_cast<std::uint64_t>(bytes / self->bytesPerFrame), SDL_GetTicks());
}

void AudioOutput::serverAnswered(std::uint64_t microseconds)
{
    SDL_LockAudio();
    if (counting)
        heard->queued(microseconds, SDL_GetTicks());
    SDL_UnlockAudio();
}

void AudioOutput::askServer()
{
    const std::uint32_t now = SDL_GetTicks();
    if (!server || now - lastAsked < nextAsk)
        return;
    SDL_LockAudio();
    // Not right after a hand-over, whose buffer may still be on its way to
    // the server.
    const bool settled = counting && heard->anyHanded() && now - heard->lastHandedAt() >= 4;
    heard->asked(now);
    SDL_UnlockAudio();
    if (settled && server->ask()) {
        lastAsked = now;
        nextAsk = askAfter + static_cast<std::uint32_t>(askJitter() % askSpread);
    }
}

void AudioSystem::setCounting(bool on)
{
    if (!output)
        return;
    SDL_LockAudio();
    output->counting = on;
    if (!on && output->heard)
        output->heard->forgetMeasurements(); // the output no longer plays the stream
    SDL_UnlockAudio();
}

void AudioSystem::setExtraDelay(std::int32_t milliseconds)
{
    extraDelay = milliseconds;
    if (!output || !output->heard)
        return;
    SDL_LockAudio();
    output->heard->setExtraDelay(milliseconds);
    SDL_UnlockAudio();
}

std::optional<std::uint32_t> AudioSystem::playedMilliseconds() const
{
    if (!open || silentOutput || channel.owner == nullptr || !output->heard)
        return std::nullopt;
    SDL_LockAudio();
    const std::uint32_t position = output->heard->millisecondsAt(SDL_GetTicks());
    SDL_UnlockAudio();
    return position;
}

bool AudioSystem::initSilent(int channels)
{
    close();
    release();
    // SDL picks its driver when its audio starts; a name set now wins.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return create() && init(channels);
}

std::unique_ptr<AudioStream> AudioSystem::createStream(const std::string& path)
{
    if (!open) {
        error = "The audio output is not open";
        return nullptr;
    }
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (music == nullptr) {
        fail();
        return nullptr;
    }
    return std::make_unique<AudioStream>(std::make_unique<AudioStreamData>(music));
}

AudioChannel* AudioSystem::play(AudioStream& stream, double seconds)
{
    if (!open) {
        error = "The audio output is not open";
        return nullptr;
    }
    // The count restarts with the stream in one hold of the audio lock (SDL's
    // is recursive), so no buffer is counted to the wrong side of the start.
    SDL_LockAudio();
    if (output->heard)
        output->heard->restart(SDL_GetTicks());
    // A count of 1 plays once; SDL_mixer 1.2.12 plays 2 three times.
    output->counting
        = Mix_PlayMusic(stream.data->music, 1) == 0 && (seconds <= 0.0 || Mix_SetMusicPosition(seconds) == 0);
    SDL_UnlockAudio();
    if (!output->counting) {
        fail();
        return nullptr;
    }
    channel.owner = this;
    channel.playing = true;
    channel.paused = false;
    return &channel;
}

void AudioSystem::update()
{
    if (channel.playing && !channel.paused && Mix_PlayingMusic() == 0)
        channel.playing = false;
    if (output)
        output->askServer();
}

void AudioSystem::close()
{
    if (!open)
        return;
    channel.stop();
    output->server.reset(); // its thread calls back into the output
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    output.reset();
    open = false;
}

void AudioSystem::release()
{
    if (!started)
        return;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    started = false;
}
