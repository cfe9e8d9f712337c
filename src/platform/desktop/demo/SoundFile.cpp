#include "platform/native/demo/SoundFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<SoundFile> SoundFile::create(const std::string& path, std::string& error)
{
    const int descriptor
        = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
    struct stat status { };
    if (descriptor < 0 || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        error = descriptor < 0 ? std::strerror(errno) : "it is not a regular file";
        if (descriptor >= 0)
            ::close(descriptor);
        return nullptr;
    }
    return std::unique_ptr<SoundFile>(new SoundFile(descriptor));
}

SoundFile::SoundFile(std::intptr_t descriptor)
    : handle(descriptor)
{
}

SoundFile::~SoundFile()
{
    ::close(static_cast<int>(handle));
}

bool SoundFile::write(const void* bytes, std::size_t size, std::string& error)
{
    if (::write(static_cast<int>(handle), bytes, size) == static_cast<ssize_t>(size))
        return true;
    error = std::strerror(errno);
    return false;
}
