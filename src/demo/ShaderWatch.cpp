#include "demo/ShaderWatch.h"

#include "core/Logger.h"
#include "gl/ShaderProgram.h"

#include <iostream>
#include <set>
#include <string>
#include <system_error>
#include <utility>

namespace {

// An editor that writes a file in place empties it first, and one that
// saves by moving a new file over it leaves none for a moment: a file empty
// or gone is being written, and is built once it is whole.
bool beingWritten(const std::string& path)
{
    std::error_code error;
    return std::filesystem::file_size(path, error) == 0 || error;
}

} // namespace

ShaderWatch::Time ShaderWatch::lastChange(const std::string& path)
{
    // A file an editor has just moved away reads as changed, not as an
    // error: it is built again once it is back.
    std::error_code error;
    const Time time = std::filesystem::last_write_time(path, error);
    return error ? Time::min() : time;
}

void ShaderWatch::watch(ShaderProgram& program)
{
    programs.push_back({ &program, lastChange(program.vertex().path), lastChange(program.fragment().path) });
}

bool ShaderWatch::rebuildChanged()
{
    bool rebuilt = false;
    // Several programs may be built from the same files: a failure is told
    // once for all of them.
    std::set<std::pair<std::string, std::string>> failed;
    for (Watched& watched : programs) {
        ShaderProgram& program = *watched.program;
        const std::pair<std::string, std::string> files { program.vertex().path, program.fragment().path };
        const Time vertex = lastChange(files.first);
        const Time fragment = lastChange(files.second);
        if (vertex == watched.vertexChanged && fragment == watched.fragmentChanged)
            continue;
        if (beingWritten(files.first) || beingWritten(files.second))
            continue; // looked at again next frame
        watched.vertexChanged = vertex;
        watched.fragmentChanged = fragment;
        if (failed.count(files) != 0)
            continue;
        std::vector<std::string> lacking;
        if (program.rebuild(lacking)) {
            VornE::log(VornE::Info, "Shader program '", files.first, "' '", files.second, "' rebuilt\n");
            rebuilt = true;
        } else if (!lacking.empty()) {
            std::string names;
            for (const std::string& name : lacking)
                names += (names.empty() ? "'" : ", '") + name + "'";
            VornE::log(VornE::Warning, "Shader program '", files.first, "' '", files.second, "' lacks ", names,
                ", which the drawing feeds: the old one stays\n");
            failed.insert(files);
        } else {
            // The linker's log ends without a line end of its own.
            VornE::log(VornE::Warning, "\nShader program '", files.first, "' '", files.second,
                "' does not build: the old one stays\n");
            failed.insert(files);
        }
    }
    // A maker reads these as they come, often through a pipe (an editor's
    // console), where nothing would show before the buffer fills.
    std::cout.flush();
    return rebuilt;
}
