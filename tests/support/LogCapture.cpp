#include "support/LogCapture.h"

LogCapture::LogCapture()
{
    logger();
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

VornE::ConsoleLogger& LogCapture::logger()
{
    if (VornE::logger == nullptr) {
        VornE::logger = new VornE::ConsoleLogger();
        VornE::logger->level = VornE::Error;
    }
    return *VornE::logger;
}
