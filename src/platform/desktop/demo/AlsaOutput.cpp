#include "platform/desktop/demo/AlsaOutput.h"

#include <alsa/asoundlib.h>

#include <vector>

namespace {

constexpr unsigned int queuedMicros = 150000; // as a sound server's queue
constexpr unsigned int periodMicros = 25000;
constexpr int patienceMs = 100; // the longest single wait on the device

// alsa-lib prints its own diagnostics; ours say what failed once, in a line of their own.
void quiet(const char*, int, const char*, int, const char*, ...) { }

} // namespace

std::unique_ptr<AlsaOutput> AlsaOutput::open(const std::string& name, std::string& error)
{
    snd_lib_error_set_handler(quiet);
    snd_pcm_t* device = nullptr;
    // Non-blocking, so that a device another program holds fails at once.
    const int result = snd_pcm_open(&device, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (result < 0) {
        error = "ALSA's '" + name + "': " + snd_strerror(result);
        return nullptr;
    }
    return std::unique_ptr<AlsaOutput>(new AlsaOutput(device, name));
}

AlsaOutput::AlsaOutput(snd_pcm_t* pcm, std::string deviceName)
    : device(pcm)
    , name(std::move(deviceName))
{
}

AlsaOutput::~AlsaOutput()
{
    std::unique_lock<std::mutex> locked(lock);
    stopWriter(locked);
    locked.unlock();
    snd_pcm_close(device);
}

void AlsaOutput::stopWriter(std::unique_lock<std::mutex>& locked)
{
    if (!writer.joinable())
        return;
    quitting = true;
    wake.notify_all();
    locked.unlock();
    writer.join();
    locked.lock();
    quitting = false;
    snd_pcm_drop(device);
}

bool AlsaOutput::play(std::shared_ptr<SoundSource> from, std::string& error)
{
    std::unique_lock<std::mutex> locked(lock);
    stopWriter(locked);
    snd_pcm_hw_params_t* hardware = nullptr;
    snd_pcm_hw_params_alloca(&hardware);
    unsigned int rate = from->rate();
    unsigned int queueTime = queuedMicros;
    unsigned int periodTime = periodMicros;
    snd_pcm_uframes_t periodFrames = 0;
    int result = snd_pcm_hw_params_any(device, hardware);
    if (result >= 0)
        result = snd_pcm_hw_params_set_access(device, hardware, SND_PCM_ACCESS_RW_INTERLEAVED);
    if (result >= 0)
        result = snd_pcm_hw_params_set_format(device, hardware, SND_PCM_FORMAT_S16);
    if (result >= 0)
        result = snd_pcm_hw_params_set_channels(device, hardware, 2);
    if (result >= 0)
        result = snd_pcm_hw_params_set_rate_resample(device, hardware, 1);
    if (result >= 0)
        result = snd_pcm_hw_params_set_rate(device, hardware, rate, 0);
    if (result >= 0)
        result = snd_pcm_hw_params_set_buffer_time_near(device, hardware, &queueTime, nullptr);
    if (result >= 0)
        result = snd_pcm_hw_params_set_period_time_near(device, hardware, &periodTime, nullptr);
    if (result >= 0)
        result = snd_pcm_hw_params(device, hardware);
    if (result >= 0)
        result = snd_pcm_hw_params_get_period_size(hardware, &periodFrames, nullptr);
    if (result >= 0)
        result = snd_pcm_prepare(device);
    if (result < 0) {
        error = "ALSA's '" + name + "' cannot play the music: " + snd_strerror(result);
        return false;
    }
    source = std::move(from);
    sourceStart = source->tell();
    streamFrames = 0;
    period = periodFrames > 0 ? periodFrames : 1024;
    paused = dropWanted = false;
    failure.clear();
    restartHeard(rate);
    writer = std::thread([this] { run(); });
    return true;
}

void AlsaOutput::run()
{
    std::vector<std::int16_t> block;
    std::unique_lock<std::mutex> locked(lock);
    while (!quitting) {
        if (dropWanted) {
            snd_pcm_drop(device);
            dropWanted = false;
        }
        if (paused) {
            wake.wait(locked, [this] { return quitting || !paused || dropWanted; });
            if (!paused && !quitting)
                snd_pcm_prepare(device);
            continue;
        }
        block.resize(2 * period);
        const std::size_t got = source->read(block.data(), period);
        std::fill(block.begin() + static_cast<std::ptrdiff_t>(2 * got), block.end(), 0);
        if (!write(block.data(), period, locked))
            return;
    }
}

bool AlsaOutput::write(const std::int16_t* samples, std::size_t frames, std::unique_lock<std::mutex>& locked)
{
    while (frames > 0 && !quitting && !paused) {
        locked.unlock();
        snd_pcm_sframes_t done = snd_pcm_writei(device, samples, frames);
        if (done == -EAGAIN) {
            snd_pcm_wait(device, patienceMs);
            done = 0;
        } else if (done < 0) {
            done = snd_pcm_recover(device, static_cast<int>(done), 1); // an underrun, a suspend
        }
        locked.lock();
        if (paused || quitting)
            return true; // a pause dropped what was just handed, and counts from where it was heard
        if (done < 0) {
            failure = "ALSA's '" + name + "' stopped playing: " + snd_strerror(static_cast<int>(done));
            return false;
        }
        const auto written = static_cast<std::size_t>(done);
        samples += 2 * written;
        frames -= written;
        streamFrames += static_cast<std::int64_t>(written);
        handed(written);
        snd_pcm_sframes_t delay = 0;
        if (written > 0 && snd_pcm_delay(device, &delay) == 0)
            answered(streamFrames - delay, monotonicMicros());
    }
    return true;
}

void AlsaOutput::pause(bool pause)
{
    const std::lock_guard<std::mutex> locked(lock);
    if (!source || pause == paused)
        return;
    if (pause) {
        const std::int64_t micros = monotonicMicros();
        holdHeard(micros);
        // What the device still holds is dropped; on resume the source goes
        // on from the frame heard when it paused.
        const std::int64_t heard = std::max<std::int64_t>(heardFrames(micros), 0);
        source->seek(sourceStart + static_cast<std::uint64_t>(heard));
        streamFrames = heard;
        dropWanted = true;
    } else {
        goHeard();
    }
    paused = pause;
    wake.notify_all();
}

void AlsaOutput::stop()
{
    std::unique_lock<std::mutex> locked(lock);
    holdHeard(monotonicMicros());
    stopWriter(locked);
    source.reset();
}

std::string AlsaOutput::lost() const
{
    const std::lock_guard<std::mutex> locked(lock);
    return failure;
}
