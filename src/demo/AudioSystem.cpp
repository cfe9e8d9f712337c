#include "demo/AudioSystem.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int outputRate = 44100;
constexpr int outputChunk = 4096; // samples per channel: about 93 ms, safe from dropouts on a busy machine

} // namespace

AudioStream::AudioStream(Mix_Music* stream)
    : music(stream)
{
}

AudioStream::~AudioStream()
{
    Mix_FreeMusic(music);
}

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
    Mix_AllocateChannels(channels);
    // The device may have given another format than asked for.
    Uint16 format = 0;
    int outputChannels = 0;
    Mix_QuerySpec(&rate, &format, &outputChannels);
    bytesPerFrame = outputChannels * static_cast<int>(format & 0xFF) / 8;
    char driver[32] = "";
    silentOutput = SDL_AudioDriverName(driver, sizeof driver) != nullptr && std::strcmp(driver, "dummy") == 0;
    Mix_SetPostMix(countHanded, this);
    return true;
}

void AudioSystem::countHanded(void* system, std::uint8_t*, int bytes)
{
    auto* self = static_cast<AudioSystem*>(system);
    if (!self->counting || self->bytesPerFrame <= 0)
        return;
    self->framesBeforeLast = self->framesHanded;
    self->framesHanded += static_cast<std::uint64_t>(bytes / self->bytesPerFrame);
    self->lastHandedAt = SDL_GetTicks();
    self->handedSincePlay = true;
}

void AudioSystem::setCounting(bool on)
{
    SDL_LockAudio();
    counting = on;
    SDL_UnlockAudio();
}

std::optional<std::uint32_t> AudioSystem::playedMilliseconds() const
{
    if (!open || silentOutput || channel.owner == nullptr || rate <= 0)
        return std::nullopt;
    SDL_LockAudio();
    const bool handed = handedSincePlay;
    const std::uint64_t before = framesBeforeLast;
    const std::uint64_t all = framesHanded;
    const std::uint32_t at = lastHandedAt;
    SDL_UnlockAudio();
    if (!handed)
        return 0u; // started, its first buffer not yet handed over
    const auto perSecond = static_cast<std::uint64_t>(rate);
    // The last buffer plays from its hand-over on: count into it with the
    // wall clock, never past its end.
    const std::uint64_t intoLast
        = std::min<std::uint64_t>(static_cast<std::uint64_t>(SDL_GetTicks() - at) * perSecond / 1000u, all - before);
    return static_cast<std::uint32_t>((before + intoLast) * 1000u / perSecond);
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
    return std::make_unique<AudioStream>(music);
}

AudioChannel* AudioSystem::play(AudioStream& stream, double seconds)
{
    // The count restarts with the stream in one hold of the audio lock (SDL's
    // is recursive), so no buffer is counted to the wrong side of the start.
    SDL_LockAudio();
    framesHanded = framesBeforeLast = 0;
    handedSincePlay = false;
    // A count of 1 plays once; SDL_mixer 1.2.12 plays 2 three times.
    counting = Mix_PlayMusic(stream.music, 1) == 0 && (seconds <= 0.0 || Mix_SetMusicPosition(seconds) == 0);
    SDL_UnlockAudio();
    if (!counting) {
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
}

void AudioSystem::close()
{
    if (!open)
        return;
    channel.stop();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    open = false;
}

void AudioSystem::release()
{
    if (!started)
        return;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    started = false;
}
