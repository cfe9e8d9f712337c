#pragma once

#include <string>

// The files a capture holds under names of its own making while it writes
// them (a frame's "NAME.XXXXXX.partial", the video's "NAME.XXXXXX.partial.mp4").
// Whoever finishes one renames or removes it and forgets it; any still held
// when the process exits are removed then, for the endings that skip the
// orderly one: Xlib ends the process with exit() when the X connection is lost.
namespace PartialFiles {

// A file made anew beside `final` under a name no other file has (never
// what stands there already: a link, a FIFO, another capture's file),
// open for writing, and held. Its descriptor, or -1 with the reason in
// `why` (nothing is made once the process is exiting). It takes the
// permissions a new file of the user's gets.
struct Made {
    int descriptor = -1;
    std::string path;
};
Made make(const std::string& final, const std::string& suffix, std::string& why);

// After it was renamed or removed.
void forget(const std::string& path);
// Whether the process is exiting and has removed what it held.
bool exiting();

} // namespace PartialFiles
