#include "demo/ShaderWatch.h"

#include "core/Logger.h"
#include "gl/ShaderProgram.h"

#include <iostream>
#include <memory>
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
    const std::string& vertex = program.vertex().path;
    const std::string& fragment = program.fragment().path;
    for (Watched& pair : pairs)
        if (pair.vertex == vertex && pair.fragment == fragment) {
            pair.programs.push_back(&program);
            return;
        }
    pairs.push_back({ vertex, fragment, { &program }, lastChange(vertex), lastChange(fragment) });
}

bool ShaderWatch::rebuild(const Watched& pair)
{
    std::vector<std::unique_ptr<ShaderProgram>> fresh;
    std::vector<std::string> lacking;
    for (const ShaderProgram* program : pair.programs) {
        fresh.push_back(program->rebuilt(lacking));
        if (!fresh.back())
            break;
    }
    if (fresh.back()) {
        for (std::size_t i = 0; i < fresh.size(); ++i)
            pair.programs[i]->takeOver(*fresh[i]);
        VornE::log(VornE::Info, "Shader program '", pair.vertex, "' '", pair.fragment, "' rebuilt\n");
        return true;
    }
    if (!lacking.empty()) {
        std::string names;
        for (const std::string& name : lacking)
            names += (names.empty() ? "'" : ", '") + name + "'";
        VornE::log(VornE::Warning, "Shader program '", pair.vertex, "' '", pair.fragment, "' lacks ", names,
            ", which the drawing feeds: the old one stays\n");
    } else {
        // The linker's log ends without a line end of its own.
        VornE::log(VornE::Warning, "\nShader program '", pair.vertex, "' '", pair.fragment,
            "' does not build: the old one stays\n");
    }
    return false;
}

bool ShaderWatch::rebuildChanged()
{
    bool rebuilt = false;
    for (Watched& pair : pairs) {
        const Time vertex = lastChange(pair.vertex);
        const Time fragment = lastChange(pair.fragment);
        if (vertex == pair.vertexChanged && fragment == pair.fragmentChanged)
            continue;
        if (beingWritten(pair.vertex) || beingWritten(pair.fragment))
            continue; // looked at again next frame
        pair.vertexChanged = vertex;
        pair.fragmentChanged = fragment;
        rebuilt = rebuild(pair) || rebuilt;
    }
    // A maker reads these as they come, often through a pipe (an editor's
    // console), where nothing would show before the buffer fills.
    std::cout.flush();
    return rebuilt;
}
