#include "capture/OutputPath.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// What a path is, for a message; "" for a regular file or nothing there.
std::string kindOf(fs::file_type type)
{
    switch (type) {
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::fifo:
        return "a FIFO";
    case fs::file_type::socket:
        return "a socket";
    case fs::file_type::block:
    case fs::file_type::character:
        return "a device";
    case fs::file_type::symlink:
        return "a symbolic link";
    case fs::file_type::regular:
    case fs::file_type::not_found:
        return "";
    default:
        return "not a regular file";
    }
}

// Whether a file can be made in `folder`, made first if need be, tried for real.
bool writableFolder(const fs::path& folder, std::string& why)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        why = error.message();
        return false;
    }
    const fs::path probe = folder / ".lumaroll-capture-probe";
    std::ofstream(probe) << "";
    if (!fs::exists(probe, error)) {
        why = "cannot write there";
        return false;
    }
    fs::remove(probe, error);
    return true;
}

} // namespace

namespace OutputPath {

std::string forFile(const std::string& named, std::string& why)
{
    fs::path path(named);
    if (!named.empty() && named.back() == '/') {
        why = "that names a folder; give the file's name too";
        return "";
    }
    // Links are followed to the file they name, however many.
    std::error_code error;
    for (int links = 0; fs::is_symlink(fs::symlink_status(path, error)); ++links) {
        const fs::path target = fs::read_symlink(path, error);
        if (error || links == 40) {
            why = "its symbolic links lead nowhere";
            return "";
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    const std::string kind = kindOf(fs::status(path, error).type());
    if (!kind.empty()) {
        why = "it is " + kind + ", and the capture writes only regular files";
        return "";
    }
    const fs::path parent = path.parent_path();
    if (!writableFolder(parent.empty() ? fs::path(".") : parent, why))
        return "";
    return path.lexically_normal().string();
}

std::string checkFolder(const std::string& folder, const std::vector<std::string>& names)
{
    std::error_code error;
    const fs::file_type type = fs::status(folder, error).type();
    if (type == fs::file_type::regular)
        return "it is a file, not a folder";
    if (type != fs::file_type::directory && type != fs::file_type::not_found)
        return "it is " + kindOf(type) + ", not a folder";
    std::string why;
    if (!writableFolder(folder, why))
        return why;
    for (const std::string& name : names) {
        const fs::path file = fs::path(folder) / name;
        const std::string kind = kindOf(fs::symlink_status(file, error).type());
        if (!kind.empty())
            return "'" + file.string() + "' is there already as " + kind
                + ", and the capture replaces only regular files";
    }
    return "";
}

} // namespace OutputPath
