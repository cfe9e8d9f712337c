#include "capture/PartialFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Held {
    std::mutex lock;
    std::set<std::string> paths;
    bool exiting = false;
};

// Never destroyed: the exit handler may run after static destructors would.
Held& held()
{
    static Held* const instance = new Held; // NOLINT(cppcoreguidelines-owning-memory)
    return *instance;
}

extern "C" void removeHeld()
{
    Held& files = held();
    std::lock_guard<std::mutex> guard(files.lock);
    files.exiting = true;
    for (const std::string& path : files.paths)
        std::remove(path.c_str());
    files.paths.clear();
}

// The process's umask, read without changing it (umask() would, for a
// moment, for every thread).
mode_t userMask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 022;
}

} // namespace

namespace PartialFiles {

Made make(const std::string& final, const std::string& suffix, std::string& why)
{
    Made made;
    std::vector<char> name(final.begin(), final.end());
    const std::string unique = ".XXXXXX" + suffix;
    name.insert(name.end(), unique.begin(), unique.end());
    name.push_back('\0');
    Held& files = held();
    std::lock_guard<std::mutex> guard(files.lock);
    if (files.exiting) {
        why = "the capture is ending";
        return made;
    }
    // O_EXCL underneath: a name that exists, as a link or anything else, is
    // never opened; another is tried.
    made.descriptor = mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (made.descriptor < 0) {
        why = std::strerror(errno);
        return made;
    }
    static const mode_t mask = userMask();
    fchmod(made.descriptor, 0666 & ~mask);
    made.path = name.data();
    files.paths.insert(made.path);
    static const bool registered = std::atexit(removeHeld) == 0;
    (void)registered;
    return made;
}

void forget(const std::string& path)
{
    Held& files = held();
    std::lock_guard<std::mutex> guard(files.lock);
    files.paths.erase(path);
}

bool exiting()
{
    Held& files = held();
    std::lock_guard<std::mutex> guard(files.lock);
    return files.exiting;
}

} // namespace PartialFiles
