#pragma once

#include <cstddef>
#include <string>

// What stands at `path` when it is there but is not a regular file: "a
// folder", "a FIFO", "a socket" or "a device" (links followed); "" for a
// regular file or nothing at all. A loader that must hand a library a path
// asks first: opening a FIFO blocks until someone writes to it, and a folder
// opens like a file in places and fails later with a misleading reason.
std::string nonRegularKind(const std::string& path);

// A whole file read by the program itself: opened once, without waiting on
// a FIFO, and checked on that very descriptor, so that nothing swapped in
// at the name between a check and the open is ever read or waited on. At
// most `limit` bytes are read: a file that holds more is read that far, and
// `cut` says so.
struct WholeFile {
    bool read = false;
    bool cut = false; // more than the limit was there
    std::string text;
    std::string kind; // what stood there, when it was not a regular file
    bool missing = false; // nothing there, or a folder on the way that is not there
    std::string reason; // why the open or the read failed, in the system's own words
};
WholeFile readWholeFile(const std::string& path, std::size_t limit = static_cast<std::size_t>(-1));
