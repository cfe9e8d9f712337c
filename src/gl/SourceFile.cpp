#include "gl/SourceFile.h"

#include "core/FileKind.h"
#include "core/Logger.h"

SourceFile::SourceFile(const std::string& path)
    : kind(nonRegularKind(path))
{
    if (kind.empty())
        file.open(path);
    if (file.is_open()) {
        text << file.rdbuf();
        // An empty file sets failbit on the copy; the text is simply empty.
        text.clear();
        return;
    }
    VornE::log(VornE::Error, "Fail to open '", path, "'\n");
    if (!kind.empty())
        VornE::log(VornE::Error, "It is " + kind + ", not a shader source", "\n");
}
