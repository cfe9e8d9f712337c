#include "platform/desktop/demo/FileOutput.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t blockFrames = 1024;

} // namespace

std::unique_ptr<FileOutput> FileOutput::open(const std::string& path, double pace, std::string& error)
{
    const int descriptor
        = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
    struct stat status { };
    if (descriptor < 0 || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = "Cannot write the sound to '" + path
            + "': " + (descriptor < 0 ? std::strerror(errno) : "it is not a regular file");
        if (descriptor >= 0)
            ::close(descriptor);
        return nullptr;
    }
    return std::unique_ptr<FileOutput>(new FileOutput(descriptor, pace));
}

FileOutput::FileOutput(int file, double cardPace)
    : descriptor(file)
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
    ::close(descriptor);
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
        const auto bytes = static_cast<ssize_t>(block.size() * 2);
        const bool written = ::write(descriptor, block.data(), block.size() * 2) == bytes;
        locked.lock();
        if (!written && failure.empty())
            failure = std::string("cannot write the sound's file: ") + std::strerror(errno);
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
