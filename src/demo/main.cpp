// Lumaroll: the demo as its users watch it, in a window with its music.
// The run itself, start-up to tear-down, is in DemoRun.cpp.

#include "demo/DemoRun.h"

int main(int, char**)
{
    return runProgram();
}
