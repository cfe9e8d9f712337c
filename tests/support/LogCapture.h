#pragma once

#include "core/Logger.h"

#include <iostream>
#include <sstream>
#include <string>

// Captures what the logger (and anything else) writes to std::cout and
// std::cerr while it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();

    std::string out() const { return outText.str(); }
    std::string err() const { return errText.str(); }
    void clear();

private:
    std::ostringstream outText;
    std::ostringstream errText;
    std::streambuf* savedOut;
    std::streambuf* savedErr;
};
