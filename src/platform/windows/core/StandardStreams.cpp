#include "core/StandardStreams.h"

#include <cstdio>
#include <windows.h>

void keepStandardStreamsSafe()
{
    // Started without a console (by a program that gives it none), the log
    // has nowhere to go: writes to the missing handles simply fail, as on
    // Linux after SIGPIPE is ignored. Through a pipe or into a file, the C
    // runtime would keep the log until its buffer fills (it has no line
    // buffering): each line goes as it is written, as on a console.
    const DWORD type = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE));
    if (type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK)
        std::setvbuf(stdout, nullptr, _IONBF, 0);
}
