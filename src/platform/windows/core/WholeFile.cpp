// Files read whole on Windows: opened once (a folder too, so that it can be
// named), and checked on that very handle.

#include "core/FileKind.h"

#include "platform/windows/core/WindowsError.h"

#include <windows.h>

namespace {

void failed(WholeFile& whole, DWORD error)
{
    whole.missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    whole.reason = windowsErrorText(error);
}

// What the handle is when it is not a file on a disk.
std::string kindOf(HANDLE file)
{
    switch (GetFileType(file)) {
    case FILE_TYPE_DISK: {
        BY_HANDLE_FILE_INFORMATION information {};
        if (GetFileInformationByHandle(file, &information) != 0
            && (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return "a folder";
        return "";
    }
    case FILE_TYPE_PIPE:
        return "a FIFO";
    default:
        return "a device";
    }
}

} // namespace

WholeFile readWholeFile(const std::string& path, std::size_t limit)
{
    WholeFile whole;
    // Backup semantics let a folder open, so that it is named as one.
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failed(whole, GetLastError());
        return whole;
    }
    whole.kind = kindOf(file);
    if (whole.kind.empty()) {
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (ReadFile(file, buffer, sizeof buffer, &got, nullptr) == 0) {
                failed(whole, GetLastError());
                break;
            }
            if (got == 0) {
                whole.read = true;
                break;
            }
            if (whole.text.size() + got > limit) {
                // One byte past the limit is enough to know: the rest is never read.
                whole.text.append(buffer, limit - whole.text.size());
                whole.cut = true;
                whole.read = true;
                break;
            }
            whole.text.append(buffer, got);
        }
    }
    CloseHandle(file);
    if (!whole.read)
        whole.text.clear();
    return whole;
}
