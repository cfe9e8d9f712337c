#pragma once

// The Linux signal a console event stands for, so that a run ended by one
// ends with the status it would have on Linux: Ctrl-C is SIGINT (2),
// Ctrl-Break SIGQUIT (3), the console window closing, a log-off or a
// shut-down SIGHUP (1); 0 for any other event, which is not a request to
// stop.
int signalForConsoleEvent(unsigned long event);
