#pragma once

#include "platform/native/demo/SoundFile.h"
#include "platform/native/demo/SoundOutput.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// A sound card without a queue that writes what it plays to a file, for
// tests: 16-bit stereo, byte for byte, a block of 1024 frames each time one
// is due at the card's pace, `pace` times real time; silence while nothing
// plays. What it writes is heard as it is written.
class FileOutput : public SoundOutput {
public:
    // The file at `path`, made anew; null with the reason in `error`. Only a
    // regular file is written, never what a link points to.
    static std::unique_ptr<FileOutput> open(const std::string& path, double pace, std::string& error);
    ~FileOutput() override;

    bool play(std::shared_ptr<SoundSource> source, std::string& error) override;
    void pause(bool paused) override;
    void stop() override;
    std::string lost() const override;

private:
    FileOutput(std::unique_ptr<SoundFile> file, double pace);
    void run();

    const std::unique_ptr<SoundFile> file;
    const double pace;
    mutable std::mutex lock;
    std::condition_variable wake;
    bool quitting = false;
    std::shared_ptr<SoundSource> source;
    bool paused = false;
    std::uint32_t rate = 44100;
    std::int64_t streamFrames = 0; // handed since play
    std::string failure;
    std::thread writer; // last: it starts once the rest is there
};
