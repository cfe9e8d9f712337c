#pragma once

#include "platform/native/demo/SoundOutput.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// ALSA's own name for snd_pcm_t, declared here to keep its header out.
struct _snd_pcm; // NOLINT(bugprone-reserved-identifier)

// Plays on an ALSA device, for a machine without a sound server: a thread
// of our own hands the device a period at a time, and asks it after each
// how much of what it was handed it has not played yet (snd_pcm_delay).
// Nothing here waits on the device for longer than a tenth of a second at a
// time, so a device that hangs cannot hold the demo.
class AlsaOutput : public SoundOutput {
public:
    // The device `name` ("default", or what AUDIODEV names); null with the
    // reason in `error`.
    static std::unique_ptr<AlsaOutput> open(const std::string& name, std::string& error);
    ~AlsaOutput() override;

    bool play(std::shared_ptr<SoundSource> source, std::string& error) override;
    // A pause drops what the device holds and goes on from where it was heard.
    void pause(bool paused) override;
    void stop() override;
    std::string lost() const override;

private:
    AlsaOutput(_snd_pcm* device, std::string name);
    void run();
    // With the lock held: the thread stopped and joined.
    void stopWriter(std::unique_lock<std::mutex>& locked);
    // On the writer's thread: hands `frames` to the device; false when it failed.
    bool write(const std::int16_t* samples, std::size_t frames, std::unique_lock<std::mutex>& locked);

    _snd_pcm* const device;
    const std::string name;
    mutable std::mutex lock;
    std::condition_variable wake;
    bool quitting = false;
    bool paused = false;
    bool dropWanted = false; // set by pause, done by the writer
    std::shared_ptr<SoundSource> source;
    std::uint64_t sourceStart = 0; // the source's frame where the stream began
    std::int64_t streamFrames = 0; // handed since then
    std::size_t period = 0;
    std::string failure;
    std::thread writer;
};
