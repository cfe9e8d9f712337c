#include "core/FileKind.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

std::string nonRegularKind(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    switch (fs::status(path, error).type()) {
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::fifo:
        return "a FIFO";
    case fs::file_type::socket:
        return "a socket";
    case fs::file_type::block:
    case fs::file_type::character:
        return "a device";
    default:
        return "";
    }
}

std::string nonRegularKind(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISBLK(mode) || S_ISCHR(mode))
        return "a device";
    return "";
}

WholeFile readWholeFile(const std::string& path)
{
    WholeFile whole;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        whole.error = errno;
        return whole;
    }
    struct stat status { };
    if (fstat(descriptor, &status) != 0) {
        whole.error = errno;
    } else if (!S_ISREG(status.st_mode)) {
        whole.kind = nonRegularKind(status.st_mode);
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
            if (got > 0) {
                whole.text.append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0) {
                whole.read = true;
                break;
            } else if (errno != EINTR) {
                whole.error = errno;
                break;
            }
        }
    }
    ::close(descriptor);
    if (!whole.read)
        whole.text.clear();
    return whole;
}
