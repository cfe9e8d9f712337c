#pragma once

#include <filesystem>
#include <string>
#include <vector>

class ShaderProgram;

// A rehearsal's shader programs, built again when one of their source files
// changes on disk, so that an edit shows at the next frame. A program whose
// new sources do not build keeps the one it had: the compiler's and the
// linker's log are printed once for each change, with a line saying that the
// old program stays. So does it for new sources that build but no longer
// have an attribute or uniform the drawing feeds (a shader that stopped
// reading its texture), with one line naming them.
class ShaderWatch {
public:
    // The program is borrowed and must outlive the watch; its files are
    // those it was built from, taken as they stand now.
    void watch(ShaderProgram& program);
    // Looks at every watched file once; true when a program was rebuilt and
    // the picture should be drawn again.
    bool rebuildChanged();

private:
    using Time = std::filesystem::file_time_type;
    struct Watched {
        ShaderProgram* program;
        Time vertexChanged, fragmentChanged;
    };
    static Time lastChange(const std::string& path);

    std::vector<Watched> programs;
};
