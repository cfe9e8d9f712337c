#pragma once

#include <cstddef>
#include <sstream>
#include <string>

// Reads a whole text file at construction, for a shader being built. A file
// that cannot be opened, or is not a regular file (a FIFO would block the
// reading), is logged at Error with the reason and reads as empty text.
class SourceFile {
public:
    explicit SourceFile(const std::string& path);
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    std::stringstream& stream() { return text; }
    // In characters.
    std::size_t size() const { return text.str().size(); }

private:
    std::stringstream text;
};
