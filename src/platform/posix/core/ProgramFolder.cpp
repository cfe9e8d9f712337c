#include "core/ProgramFolder.h"

#include <filesystem>

std::string programFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "" : program.parent_path().string();
}
