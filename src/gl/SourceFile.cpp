#include "gl/SourceFile.h"

#include "core/FileKind.h"
#include "core/Logger.h"

#include <cstring>

SourceFile::SourceFile(const std::string& path)
{
    WholeFile whole = readWholeFile(path);
    if (whole.read) {
        text.str(whole.text);
        return;
    }
    // One piece: at level Error the console ends every piece with a line end.
    const std::string reason
        = whole.kind.empty() ? std::strerror(whole.error) : "it is " + whole.kind + ", not a shader source";
    VornE::log(VornE::Error, "Fail to open '" + path + "': " + reason);
}
