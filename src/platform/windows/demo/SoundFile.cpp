#include "platform/native/demo/SoundFile.h"

#include "platform/windows/core/WindowsError.h"

#include <windows.h>

std::unique_ptr<SoundFile> SoundFile::create(const std::string& path, std::string& error)
{
    // A link at the name is opened as itself, not followed, and refused
    // below as no regular file.
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = windowsErrorText(GetLastError());
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION information {};
    const bool regular = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &information) != 0
        && (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    if (!regular || SetEndOfFile(file) == 0) {
        error = regular ? windowsErrorText(GetLastError()) : "it is not a regular file";
        CloseHandle(file);
        return nullptr;
    }
    return std::unique_ptr<SoundFile>(new SoundFile(reinterpret_cast<std::intptr_t>(file)));
}

SoundFile::SoundFile(std::intptr_t file)
    : handle(file)
{
}

SoundFile::~SoundFile()
{
    CloseHandle(reinterpret_cast<HANDLE>(handle));
}

bool SoundFile::write(const void* bytes, std::size_t size, std::string& error)
{
    DWORD written = 0;
    if (WriteFile(reinterpret_cast<HANDLE>(handle), bytes, static_cast<DWORD>(size), &written, nullptr) != 0
        && written == size)
        return true;
    error = windowsErrorText(GetLastError());
    return false;
}
