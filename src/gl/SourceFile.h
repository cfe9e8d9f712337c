#pragma once

#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>

// Reads a whole text file at construction, for a shader being built. A file
// that cannot be opened, or is not a regular file (a FIFO would block the
// reading), is logged at Error and reads as empty text; the file is closed
// when the reader goes.
class SourceFile {
public:
    explicit SourceFile(const std::string& path);
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    std::stringstream& stream() { return text; }
    // In characters.
    std::size_t size() const { return text.str().size(); }

private:
    std::string kind; // what stands there when it is not a regular file
    std::ifstream file;
    std::stringstream text;
};
