#include "gl/Shader.h"

#include "core/Logger.h"
#include "gl/GLDialect.h"
#include "gl/SourceFile.h"

#include <algorithm>
#include <vector>

namespace {

GLenum glKind(ShaderKind kind)
{
    return kind == ShaderKind::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER;
}

const char* compilationText(ShaderKind kind)
{
    return kind == ShaderKind::Vertex ? "Vertex shader compilation '" : "Fragment shader compilation '";
}

// Not refused like other names (GLName throws on 0): a shader the GL made no
// name for goes on to fail where its program checks for GL errors, with the
// GL's own error.
GLName owned(GLuint name)
{
    if (name == 0)
        return GLName();
    return GLName(
        name, [](GLuint made) { glDeleteShader(made); }, "Shader");
}

} // namespace

Shader::Shader(ShaderKind kind, const std::string& path, const std::vector<std::string>& defines)
    : id(owned(glCreateShader(glKind(kind))))
    , path(path)
{
    SourceFile source(path);
    const std::string text = GLDialect::shaderSource(source.stream().str(), defines);
    const GLchar* data = text.data();
    // An explicit length: the text needs no terminator.
    const GLint length = static_cast<GLint>(text.size());
    glShaderSource(id, 1, &data, &length);
    glCompileShader(id);

    VornE::log(VornE::Info, compilationText(kind), path, "'\n");
    if (!checkCompileStatus(id)) {
        VornE::log(VornE::Warning, "Failed\n");
    }
}

bool Shader::checkCompileStatus(GLuint shader)
{
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == GL_TRUE)
        return true;

    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    // One spare character so an empty log still has a buffer to point at.
    std::vector<char> buffer(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    GLsizei written = 0;
    glGetShaderInfoLog(shader, length > 0 ? length : 0, &written, buffer.data());
    const std::size_t used = written > 0 ? std::min(static_cast<std::size_t>(written), buffer.size() - 1) : 0;

    VornE::log(VornE::Warning, std::string(buffer.data(), used), "\n");
    return false;
}
