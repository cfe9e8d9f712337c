#pragma once

#include "platform/native/demo/SoundOutput.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Plays through WASAPI in shared mode on the default render endpoint: one
// stream of our own, fed by a thread of our own each time the endpoint asks
// (event-driven), with a queue long enough to ride out a busy machine. After
// each fill the stream's clock (IAudioClock) is asked which of its frames is
// heard, and at which moment of the performance counter. Every COM call is
// made on that thread; the demo's calls hand it their work and wait for it.
class WasapiOutput : public SoundOutput {
public:
    // The default endpoint opened; null, with the reason in `error`, when
    // there is none or it cannot play.
    static std::unique_ptr<WasapiOutput> open(std::string& error);
    ~WasapiOutput() override;

    bool play(std::shared_ptr<SoundSource> source, std::string& error) override;
    void pause(bool paused) override;
    void stop() override;
    std::string lost() const override;

private:
    struct Device; // the COM objects, the thread's alone
    enum class Command { None, Play, Pause, Resume, Stop, Quit };

    WasapiOutput();
    void run();
    // On the thread, with the lock held.
    void carryOut(Device& device, Command command);
    // A fresh stream for the next source, started with its queue full.
    void play(Device& device);
    void fill(Device& device);
    void askClock(Device& device);
    void fail(long result);
    // From the demo's thread: `command` carried out by the thread.
    void ask(Command command, std::unique_lock<std::mutex>& locked);

    mutable std::mutex lock;
    std::condition_variable changed;
    bool opened = false; // the thread has tried to open the endpoint
    std::string openError;
    Command pending = Command::None;
    std::shared_ptr<SoundSource> source; // read on the thread while playing
    std::shared_ptr<SoundSource> nextSource; // play()'s, taken by the thread
    bool playing = false;
    bool paused = false;
    std::string failure;
    // The source's samples resampled to the endpoint's rate and channels
    // where the endpoint does not convert them itself.
    std::vector<std::int16_t> sourceBlock;
    double sourceStep = 1.0; // source frames per endpoint frame
    double sourceAt = 0.0; // the next endpoint frame's place between the two source frames held
    std::int16_t held[4] = {}; // those two stereo frames
    bool sourceEnded = false;
    void* wakeEvent = nullptr; // the endpoint's event: a HANDLE
    std::thread worker; // last: it starts once the rest is there
};
