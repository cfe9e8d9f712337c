#pragma once

#include <string>

// Windows' own words for an error code (GetLastError's), without the line
// end FormatMessage puts after them: "The system cannot find the file
// specified."
std::string windowsErrorText(unsigned long code);
