#include "core/FileKind.h"

#include <filesystem>

std::string nonRegularKind(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    switch (fs::status(path, error).type()) {
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::fifo:
        return "a FIFO";
    case fs::file_type::socket:
        return "a socket";
    case fs::file_type::block:
    case fs::file_type::character:
        return "a device";
    default:
        return "";
    }
}
