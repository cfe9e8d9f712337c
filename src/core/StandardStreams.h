#pragma once

// Called first in main, before anything opens a file. Descriptors 0 to 2
// that are closed (`lumaroll >&- 2>&-`) are opened on /dev/null, so that the
// next file opened, the X server's connection say, does not become standard
// output and receive the log. A console that goes away (`lumaroll | head -1`)
// is no reason to stop: SIGPIPE is ignored, and a write to it simply fails.
void keepStandardStreamsSafe();
