#include "support/LogCapture.h"

LogCapture::LogCapture()
{
    savedOut = std::cout.rdbuf(outText.rdbuf());
    savedErr = std::cerr.rdbuf(errText.rdbuf());
}

LogCapture::~LogCapture()
{
    std::cout.rdbuf(savedOut);
    std::cerr.rdbuf(savedErr);
}

void LogCapture::clear()
{
    outText.str("");
    errText.str("");
}
