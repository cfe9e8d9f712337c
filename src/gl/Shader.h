#pragma once

#include "gl/GL.h"
#include "gl/GLName.h"

#include <string>
#include <vector>

enum class ShaderKind { Vertex, Fragment };

// One shader object compiled from a source file. A file that cannot be read or
// a source that does not compile is logged, not thrown: the program it goes
// into fails to link instead.
class Shader {
public:
    // `defines`: the variant's macros, each defined to 1 (GLDialect.h).
    Shader(ShaderKind kind, const std::string& path, const std::vector<std::string>& defines = {});
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Logs the info log at Warning and returns false when `shader` did not compile.
    static bool checkCompileStatus(GLuint shader);

    // 0 when the GL made no shader: it then has an error pending, which the
    // program this shader goes into throws at its next check.
    const GLName id;
    // Exactly as the caller passed it.
    const std::string path;
};
