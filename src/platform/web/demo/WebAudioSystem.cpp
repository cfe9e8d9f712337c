// The web page's audio layer: the soundtrack decoded whole by the browser
// and played by Web Audio (lumaroll_library.js), its heard position read
// from the audio context's clock. The page makes the context in its start
// button's click, as browsers allow sound only after a gesture.

#include "demo/AudioSystem.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" {
int lumaroll_audio_create();
int lumaroll_audio_decode(const char* path, const unsigned char* bytes, int length);
int lumaroll_audio_play(const char* path, double seconds);
void lumaroll_audio_pause(int pause);
void lumaroll_audio_stop();
void lumaroll_audio_set_extra_delay(int milliseconds);
int lumaroll_audio_position();
char* lumaroll_audio_error();
}

struct AudioOutput { };

struct AudioStreamData {
    std::string path; // the decoded buffer's name in the page
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
    lumaroll_audio_pause(pause ? 1 : 0);
    paused = pause;
}

void AudioChannel::stop()
{
    if (playing)
        lumaroll_audio_stop();
    playing = false;
    paused = false;
}

AudioSystem::AudioSystem() = default;

AudioSystem::~AudioSystem()
{
    close();
    release();
}

namespace {

// The page's last audio error into `error`; false.
bool takeError(std::string& error)
{
    char* text = lumaroll_audio_error();
    error = text;
    std::free(text);
    return false;
}

} // namespace

bool AudioSystem::create()
{
    started = true;
    return true;
}

// The page has one output; `mute=1` is its silence.
std::vector<std::string> AudioSystem::outputNames()
{
    return { "webaudio" };
}

bool AudioSystem::offersOutput(const std::string& name)
{
    return name == "webaudio";
}

bool AudioSystem::init(int, const std::string&)
{
    if (lumaroll_audio_create() == 0)
        return takeError(error);
    open = true;
    output = std::make_unique<AudioOutput>();
    lumaroll_audio_set_extra_delay(extraDelay);
    return true;
}

// Without a context the pictures keep the wall clock's time.
bool AudioSystem::initSilent(int)
{
    silentOutput = true;
    return true;
}

std::unique_ptr<AudioStream> AudioSystem::createStream(const std::string& path)
{
    if (!open) {
        error = "The audio output is not open";
        return nullptr;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "Cannot open '" + path + "'";
        return nullptr;
    }
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (lumaroll_audio_decode(path.c_str(), bytes.data(), static_cast<int>(bytes.size())) == 0) {
        takeError(error);
        return nullptr;
    }
    auto data = std::make_unique<AudioStreamData>();
    data->path = path;
    return std::make_unique<AudioStream>(std::move(data));
}

AudioChannel* AudioSystem::play(AudioStream& stream, double seconds)
{
    if (!open || lumaroll_audio_play(stream.data->path.c_str(), seconds) == 0) {
        error = "The music cannot be played";
        return nullptr;
    }
    channel.owner = this;
    channel.playing = true;
    channel.paused = false;
    return &channel;
}

// The buffer source goes on reporting time past its end, as the desktop's
// output does; the channel stays "playing".
void AudioSystem::update() { }

// The page says itself when its audio is missing.
std::string AudioSystem::takeNotice()
{
    return "";
}

void AudioSystem::setExtraDelay(std::int32_t milliseconds)
{
    extraDelay = milliseconds;
    lumaroll_audio_set_extra_delay(milliseconds);
}

std::optional<std::uint32_t> AudioSystem::playedMilliseconds() const
{
    if (!open || channel.owner == nullptr)
        return std::nullopt;
    const int position = lumaroll_audio_position();
    if (position < 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(position);
}

void AudioSystem::close()
{
    if (!open)
        return;
    channel.stop();
    output.reset();
    open = false;
}

void AudioSystem::release()
{
    started = false;
}
