#include "demo/AudioSystem.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>

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
}

void AudioChannel::stop()
{
    if (playing)
        Mix_HaltMusic();
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
    return true;
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

AudioChannel* AudioSystem::play(AudioStream& stream)
{
    // A count of 1 plays once; SDL_mixer 1.2.12 plays 2 three times.
    if (Mix_PlayMusic(stream.music, 1) != 0) {
        fail();
        return nullptr;
    }
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
