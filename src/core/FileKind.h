#pragma once

#include <string>

// What stands at `path` when it is there but is not a regular file: "a
// folder", "a FIFO", "a socket" or "a device" (links followed); "" for a
// regular file or nothing at all. A loader asks first: opening a FIFO blocks
// until someone writes to it, and a folder opens like a file in places and
// fails later with a misleading reason.
std::string nonRegularKind(const std::string& path);
