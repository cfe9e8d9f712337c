// Files read whole on a POSIX system: the descriptor is opened without
// blocking (a FIFO would wait for a writer) and checked with fstat.

#include "core/FileKind.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The words of nonRegularKind(path) for a mode as fstat gives it.
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

void failed(WholeFile& whole, int error)
{
    whole.missing = error == ENOENT || error == ENOTDIR;
    whole.reason = std::strerror(error);
}

} // namespace

WholeFile readWholeFile(const std::string& path, std::size_t limit)
{
    WholeFile whole;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        failed(whole, errno);
        return whole;
    }
    struct stat status { };
    if (fstat(descriptor, &status) != 0) {
        failed(whole, errno);
    } else if (!S_ISREG(status.st_mode)) {
        whole.kind = nonRegularKind(status.st_mode);
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
            if (got > 0 && whole.text.size() + static_cast<std::size_t>(got) > limit) {
                // One byte past the limit is enough to know: the rest is never read.
                whole.text.append(buffer, limit - whole.text.size());
                whole.cut = true;
                whole.read = true;
                break;
            }
            if (got > 0) {
                whole.text.append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0) {
                whole.read = true;
                break;
            } else if (errno != EINTR) {
                failed(whole, errno);
                break;
            }
        }
    }
    ::close(descriptor);
    if (!whole.read)
        whole.text.clear();
    return whole;
}
