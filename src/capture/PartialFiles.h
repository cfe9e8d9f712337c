#pragma once

#include <string>

// The files a capture holds under names of its own making while it writes
// them (a frame's ".partial", the video's ".partial.mp4"). Whoever finishes
// one renames or removes it and forgets it; any still held when the process
// exits are removed then, for the endings that skip the orderly one: Xlib
// ends the process with exit() when the X connection is lost.
namespace PartialFiles {

// Before the file is made. False once the process is exiting: then it must
// not be made.
bool hold(const std::string& path);
// After it was renamed or removed.
void forget(const std::string& path);
// Whether the process is exiting and has removed what it held.
bool exiting();

} // namespace PartialFiles
