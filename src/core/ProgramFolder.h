#pragma once

#include <string>

// The folder the running program's file is in, the platform's answer; ""
// where the platform cannot say.
std::string programFolder();
