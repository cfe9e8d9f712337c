#pragma once

#include <string>
#include <vector>

// Where a capture may write, checked before the first frame is drawn, so
// that an output that cannot be used is found at once, not after the run,
// and never turned from something else into a regular file.
namespace OutputPath {

// For a file (a sheet, a video): a regular file is replaced; a symbolic
// link, a folder, a device, a FIFO or a socket is refused, and so is a name
// that ends in a slash. The file's folder is made if need be and must take a
// file. Returns the path to write, or "" with the reason in `why`.
std::string forFile(const std::string& named, std::string& why);

// For a folder of frames: made if need be; refused when it is something
// else, or when one of `names` in it is there already as anything but a
// regular file. "" when usable, else the reason.
std::string checkFolder(const std::string& folder, const std::vector<std::string>& names);

} // namespace OutputPath
