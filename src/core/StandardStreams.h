#pragma once

// Called first in main, before anything opens a file. Descriptors 0 to 2
// that are closed (`lumaroll >&- 2>&-`) are opened on /dev/null, so that the
// next file opened, the X server's connection say, does not become standard
// output and receive the log. A console that goes away (`lumaroll | head -1`)
// is no reason to stop: SIGPIPE is ignored, and a write to it simply fails;
// nor is a file that reaches the size limit the system sets the process
// (`ulimit -f`): SIGXFSZ is ignored too, and the write fails with EFBIG.
// (Windows has neither signal; there it buffers the streams.)
void keepStandardStreamsSafe();
