#include "core/ProgramFolder.h"

#include <filesystem>
#include <windows.h>

std::string programFolder()
{
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "";
    return std::filesystem::path(std::string(path, length)).parent_path().string();
}
