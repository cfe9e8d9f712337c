#pragma once

#include <string>
#include <vector>

// The front end of the programs that run on the machine itself, Linux's and
// Windows': the command line and the settings' layers into a run
// (DemoRun.h), after which the run's status is returned. The data folder is
// --data-dir's; else the current folder when it holds data/; else the
// program's own folder when that does (a shortcut that starts the program
// elsewhere); else the current folder, where the missing files are named.
int demoMain(const std::vector<std::string>& arguments);
