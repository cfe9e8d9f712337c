#pragma once

// Under LeakSanitizer, checks for leaks now, once: call it after the program
// has torn itself down and before SDL_Quit. SDL_Quit unloads the GL driver,
// which frees its per-context memory on unload rather than before, and whose
// allocations LeakSanitizer can no longer name once it is gone, so a check at
// exit would report the driver's memory as nameless leaks. Without the
// sanitizer it does nothing.
void checkLeaksBeforeShutdown();
