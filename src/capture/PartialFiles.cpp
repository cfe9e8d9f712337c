#include "capture/PartialFiles.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

namespace {

struct Held {
    std::mutex lock;
    std::set<std::string> paths;
    bool exiting = false;
};

// Never destroyed: the exit handler may run after static destructors would.
Held& held()
{
    static Held* const instance = new Held;
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

} // namespace

namespace PartialFiles {

bool hold(const std::string& path)
{
    static const bool registered = std::atexit(removeHeld) == 0;
    (void)registered;
    Held& files = held();
    std::lock_guard<std::mutex> guard(files.lock);
    if (files.exiting)
        return false;
    files.paths.insert(path);
    return true;
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
