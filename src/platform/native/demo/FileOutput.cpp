#include "platform/native/demo/FileOutput.h"

#include <chrono>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t blockFrames = 1024;

} // namespace

std::unique_ptr<FileOutput> FileOutput::open(const std::string& path, double pace, std::string& error)
{
    std::string why;
    std::unique_ptr<SoundFile> file = SoundFile::create(path, why);
    if (!file) {
        error = "Cannot write the sound to '" + path + "': " + why;
        return nullptr;
    }
    return std::unique_ptr<FileOutput>(new FileOutput(std::move(file), pace));
}

FileOutput::FileOutput(std::unique_ptr<SoundFile> written, double cardPace)
    : file(std::move(written))
    , pace(cardPace)
    , writer([this] { run(); })
{
}

FileOutput::~FileOutput()
{
    {
        const std::lock_guard<std::mutex> locked(lock);
        quitting = true;
    }
    wake.notify_all();
    writer.join();
}

void FileOutput::run()
{
    std::vector<std::int16_t> block(2 * blockFrames);
    auto due = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> locked(lock);
    while (!wake.wait_until(locked, due, [this] { return quitting; })) {
        std::size_t got = 0;
        if (source && !paused) {
            got = source->read(block.data(), blockFrames);
            answered(streamFrames, monotonicMicros());
            handed(blockFrames);
            streamFrames += blockFrames;
        }
        std::memset(block.data() + 2 * got, 0, (blockFrames - got) * 4);
        const std::uint32_t blockRate = rate;
        locked.unlock();
        std::string why;
        const bool written = file->write(block.data(), block.size() * 2, why);
        locked.lock();
        if (!written && failure.empty())
            failure = "cannot write the sound's file: " + why;
        due += std::chrono::microseconds(static_cast<std::int64_t>(blockFrames * 1e6 / (blockRate * pace)));
    }
}

bool FileOutput::play(std::shared_ptr<SoundSource> from, std::string&)
{
    const std::lock_guard<std::mutex> locked(lock);
    source = std::move(from);
    rate = source->rate();
    paused = false;
    streamFrames = 0;
    restartHeard(rate);
    return true;
}

void FileOutput::pause(bool pause)
{
    const std::lock_guard<std::mutex> locked(lock);
    if (!source || pause == paused)
        return;
    paused = pause;
    if (pause)
        holdHeard(monotonicMicros());
    else
        goHeard();
}

void FileOutput::stop()
{
    const std::lock_guard<std::mutex> locked(lock);
    holdHeard(monotonicMicros());
    source.reset();
}

std::string FileOutput::lost() const
{
    const std::lock_guard<std::mutex> locked(lock);
    return failure;
}
