// Lumaroll on Windows: a console program entered through SDL's entry
// library (SDLmain), which initialises SDL, reads the command line and calls
// this main; the front end (DemoMain.h) and the run are the same as on
// Linux.

#include "core/StandardStreams.h"
#include "platform/native/demo/DemoMain.h"

// SDL.h renames main for SDLmain, which must see this file's main under
// that name.
#include <SDL.h>

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    keepStandardStreamsSafe();
    return demoMain(std::vector<std::string>(argv + 1, argv + argc));
}
