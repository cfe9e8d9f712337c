// Lumaroll: the demo as its users watch it, in a window with its music.
// The front end (DemoMain.h) reads the command line and the settings'
// layers; the run itself, start-up to tear-down, is in DemoRun.cpp.

#include "core/StandardStreams.h"
#include "platform/native/demo/DemoMain.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    keepStandardStreamsSafe();
    return demoMain(std::vector<std::string>(argv + 1, argv + argc));
}
