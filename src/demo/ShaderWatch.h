#pragma once

#include <filesystem>
#include <string>
#include <vector>

class ShaderProgram;

// A rehearsal's shader programs, built again when one of their source files
// changes on disk, so that an edit shows at the next frame. The programs
// built from one pair of files (the variants of a program) are built again
// together, and take their new sources all or none: where one variant's new
// sources do not build, every one keeps what it had, and the compiler's and
// the linker's log are printed once for each change, with a line saying that
// the old program stays. So it is for new sources that build but no longer
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
    // The programs of one pair of files.
    struct Watched {
        std::string vertex, fragment;
        std::vector<ShaderProgram*> programs;
        Time vertexChanged, fragmentChanged;
    };
    static Time lastChange(const std::string& path);
    // Each program of `pair` built again, all taking their new sources or none.
    static bool rebuild(const Watched& pair);

    std::vector<Watched> pairs;
};
