#include "capture/OutputPath.h"

#include "core/FileKind.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Whether a file can be made in `folder`, made first if need be, tried for real.
bool writableFolder(const fs::path& folder, std::string& why)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        why = error.message();
        return false;
    }
    // A name of its own, made exclusively: nothing standing there is
    // written through or waited on.
    std::string probe = (folder / ".lumaroll-capture-probe.XXXXXX").string();
    const int file = mkostemp(probe.data(), O_CLOEXEC);
    if (file < 0) {
        why = std::string("cannot write there: ") + std::strerror(errno);
        return false;
    }
    ::close(file);
    ::unlink(probe.c_str());
    return true;
}

} // namespace

namespace OutputPath {

std::string forFile(const std::string& named, std::string& why)
{
    const fs::path path(named);
    if (!named.empty() && named.back() == '/') {
        why = "that names a folder; give the file's name too";
        return "";
    }
    // A link at the name is refused, not followed: whoever planted it in a
    // shared folder would have the capture write over what it points to.
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        why = "it is there already as a symbolic link, and the capture replaces only regular files";
        return "";
    }
    const std::string kind = nonRegularKind(path.string());
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
    if (fs::is_regular_file(folder, error))
        return "it is a file, not a folder";
    if (const std::string kind = nonRegularKind(folder); !kind.empty() && kind != "a folder")
        return "it is " + kind + ", not a folder";
    std::string why;
    if (!writableFolder(folder, why))
        return why;
    for (const std::string& name : names) {
        const fs::path file = fs::path(folder) / name;
        const std::string kind
            = fs::is_symlink(fs::symlink_status(file, error)) ? "a symbolic link" : nonRegularKind(file.string());
        if (!kind.empty())
            return "'" + file.string() + "' is there already as " + kind
                + ", and the capture replaces only regular files";
    }
    return "";
}

} // namespace OutputPath
