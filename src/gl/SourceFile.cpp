#include "gl/SourceFile.h"

#include "core/FileKind.h"
#include "core/Logger.h"

SourceFile::SourceFile(const std::string& path)
{
    WholeFile whole = readWholeFile(path);
    if (whole.read) {
        text.str(whole.text);
        return;
    }
    // One piece: at level Error the console ends every piece with a line end.
    const std::string reason = whole.kind.empty() ? whole.reason : "it is " + whole.kind + ", not a shader source";
    VornE::log(VornE::Error, "Fail to open '" + path + "': " + reason);
}
