// A disk that is slow for one file, preloaded into the demo (LD_PRELOAD): as
// from a cold cache on a network disk, each 64 KiB piece of the file that a
// reader enters takes a while to come. The file stays what it was, a regular
// file read through stdio, as the demo reads its music.
//   SLOW_READS_FILE   the end of the file's path ("music/vobra.ogg")
//   SLOW_READS_MS     what each piece entered takes
//   SLOW_READS_WHILE  a path: the disk is slow while a file stands there, so
//                     that a test makes it slow once the run plays
//   SLOW_READS_LOG    a file that gets a line for each slow piece, so that a
//                     test knows the reads it slowed were the ones played
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

namespace {

constexpr long piece = 64 * 1024;

struct SlowFile {
    FILE* stream = nullptr;
    long entered = -1; // the piece the reader is in, paid for
};

std::mutex lock;
std::array<SlowFile, 8> slowFiles; // the demo opens its music once or twice at a time

template <typename Function> Function real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

std::string setting(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool isTheSlowFile(const char* path)
{
    const std::string end = setting("SLOW_READS_FILE");
    if (path == nullptr || end.empty())
        return false;
    const std::size_t length = std::strlen(path);
    return length >= end.size() && std::strcmp(path + length - end.size(), end.c_str()) == 0;
}

FILE* noted(FILE* stream, const char* path)
{
    if (stream == nullptr || !isTheSlowFile(path))
        return stream;
    const std::lock_guard<std::mutex> locked(lock);
    for (SlowFile& file : slowFiles)
        if (file.stream == nullptr) {
            file = { stream, -1 };
            break;
        }
    return stream;
}

// How many pieces a read of `bytes` from where `stream` stands enters anew.
long piecesEntered(FILE* stream, std::size_t bytes)
{
    const std::lock_guard<std::mutex> locked(lock);
    for (SlowFile& file : slowFiles) {
        if (file.stream != stream)
            continue;
        const long at = std::ftell(stream);
        if (at < 0 || bytes == 0)
            return 0;
        const long first = at / piece;
        const long last = (at + static_cast<long>(bytes) - 1) / piece;
        const long entered = last - first + (first == file.entered ? 0 : 1);
        file.entered = last;
        return entered;
    }
    return 0;
}

void wait(long pieces)
{
    const long ms = std::atol(setting("SLOW_READS_MS").c_str()) * pieces;
    const timespec span { ms / 1000, (ms % 1000) * 1000000 };
    nanosleep(&span, nullptr);
    const std::string log = setting("SLOW_READS_LOG");
    const int out = log.empty() ? -1 : open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (out >= 0) {
        const std::string line = std::to_string(pieces) + " piece(s) waited for\n";
        [[maybe_unused]] const ssize_t written = write(out, line.data(), line.size());
        close(out);
    }
}

} // namespace

extern "C" {

FILE* fopen(const char* path, const char* mode)
{
    static const auto open = real<FILE* (*)(const char*, const char*)>("fopen");
    return noted(open(path, mode), path);
}

FILE* fopen64(const char* path, const char* mode)
{
    static const auto open = real<FILE* (*)(const char*, const char*)>("fopen64");
    return noted(open(path, mode), path);
}

int fclose(FILE* stream)
{
    static const auto close = real<int (*)(FILE*)>("fclose");
    {
        const std::lock_guard<std::mutex> locked(lock);
        for (SlowFile& file : slowFiles)
            if (file.stream == stream)
                file = {};
    }
    return close(stream);
}

std::size_t fread(void* into, std::size_t size, std::size_t count, FILE* stream)
{
    static const auto read = real<std::size_t (*)(void*, std::size_t, std::size_t, FILE*)>("fread");
    const std::string onlyWhile = setting("SLOW_READS_WHILE");
    if (!onlyWhile.empty() && access(onlyWhile.c_str(), F_OK) == 0)
        if (const long pieces = piecesEntered(stream, size * count); pieces > 0)
            wait(pieces);
    return read(into, size, count, stream);
}
}
