#include "gl/ShaderProgram.h"

#include "core/Exception.h"
#include "core/Logger.h"
#include "gl/GLDialect.h"
#include "gl/GLErrorException.h"
#include "gl/ShaderLoadingException.h"

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <new>
#include <utility>

ShaderProgram::ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath, ShaderVariant variant)
    : vertexShader(std::make_unique<Shader>(ShaderKind::Vertex, vertexPath, variant.defines))
    , fragmentShader(std::make_unique<Shader>(ShaderKind::Fragment, fragmentPath, variant.defines))
    , programId(createProgram())
    , builtAs(std::move(variant))
{
    link();
    living().push_back(this);
}

std::vector<ShaderProgram*>& ShaderProgram::living()
{
    static std::vector<ShaderProgram*> programs;
    return programs;
}

const std::vector<ShaderProgram*>& ShaderProgram::alive()
{
    return living();
}

// Member destruction then deletes the program, then the fragment shader, then
// the vertex one: detached already, neither is left merely flagged.
ShaderProgram::~ShaderProgram()
{
    std::vector<ShaderProgram*>& programs = living();
    programs.erase(std::remove(programs.begin(), programs.end(), this), programs.end());
    glUseProgram(0);
    glDetachShader(programId, fragmentShader->id);
    glDetachShader(programId, vertexShader->id);
}

std::unique_ptr<ShaderProgram> ShaderProgram::rebuilt(std::vector<std::string>& lacking) const
{
    lacking.clear();
    std::unique_ptr<ShaderProgram> fresh;
    try {
        fresh = std::make_unique<ShaderProgram>(vertexShader->path, fragmentShader->path, builtAs);
    } catch (const ShaderLoadingException&) {
        return nullptr;
    }
    // The GL drops what a program does not use: a shader that no longer
    // reads an input would leave the drawing feeding a location of -1.
    for (const std::string& name : fedAttributes)
        if (glGetAttribLocation(fresh->programId, GLDialect::variableName(name).c_str()) == -1)
            lacking.push_back(name);
    for (const std::string& name : fedUniforms)
        if (glGetUniformLocation(fresh->programId, GLDialect::variableName(name).c_str()) == -1)
            lacking.push_back(name);
    checkGLError("glGetAttribLocation/glGetUniformLocation");
    if (!lacking.empty())
        return nullptr;
    return fresh;
}

void ShaderProgram::takeOver(ShaderProgram& fresh)
{
    // The old names go with `fresh`, which deletes them as it goes.
    std::swap(vertexShader, fresh.vertexShader);
    std::swap(fragmentShader, fresh.fragmentShader);
    std::swap(programId, fresh.programId);
}

bool ShaderProgram::rebuild(std::vector<std::string>& lacking)
{
    std::unique_ptr<ShaderProgram> fresh = rebuilt(lacking);
    if (!fresh)
        return false;
    takeOver(*fresh);
    return true;
}

GLName ShaderProgram::createProgram()
{
    const GLuint name = glCreateProgram();
    GLName program;
    // A 0 is kept, not refused as GLName would: the GL made no program, and
    // the error it has pending is what the checks throw, here or at the link.
    if (name != 0)
        program = GLName(
            name, [](GLuint made) { glDeleteProgram(made); }, "ShaderProgram");
    checkGLError("glCreateProgram()");
    return program;
}

void ShaderProgram::link()
{
    glAttachShader(programId, vertexShader->id);
    glAttachShader(programId, fragmentShader->id);
    checkGLError("glAttachShader()");
    glLinkProgram(programId);
    checkGLError("glLinkProgram()");

    GLint status = GL_FALSE;
    glGetProgramiv(programId, GL_LINK_STATUS, &status);
    if (status == GL_TRUE)
        return;

    GLint length = 0;
    glGetProgramiv(programId, GL_INFO_LOG_LENGTH, &length);
    std::string log;
    try {
        log.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    } catch (const std::bad_alloc&) {
        VornE::log(VornE::Error, "Erreur d'allocation de mémoire pour le log de la compilation du programme\n");
        throw VornE::Exception("Fail to allocate memory for linker log");
    }
    GLsizei written = 0;
    if (length > 0)
        glGetProgramInfoLog(programId, length, &written, log.data());
    // The reported length counts the terminator; keep only the text.
    log.resize(written > 0 ? std::min(static_cast<std::size_t>(written), log.size()) : 0);

    VornE::log(VornE::Warning, "Erreur lors du liage du shader:\n", log);
    throw ShaderLoadingException(vertexShader->path + " " + fragmentShader->path + " Linking");
}

void ShaderProgram::use()
{
    glUseProgram(programId);
}

void ShaderProgram::unuse()
{
    glUseProgram(0);
}

GLint ShaderProgram::getAttribLocation(const std::string& name)
{
    const bool compiledOut = builtAs.compiledOut.count(name) != 0;
    if (!compiledOut)
        fedAttributes.insert(name);
    const GLint location = glGetAttribLocation(programId, GLDialect::variableName(name).c_str());
    if (location == -1 && !compiledOut) {
        VornE::log(VornE::Warning, "Fail to get '", name, "'\n");
    }
    checkGLError("glGetAttribLocation", name);
    return location;
}

GLint ShaderProgram::getUniformLocation(const std::string& name)
{
    const bool compiledOut = builtAs.compiledOut.count(name) != 0;
    if (!compiledOut)
        fedUniforms.insert(name);
    const GLint location = glGetUniformLocation(programId, GLDialect::variableName(name).c_str());
    if (location == -1 && !compiledOut) {
        VornE::log(VornE::Warning, "Fail to get '", name, "'\n");
    }
    checkGLError("glGetUniformLocation", name);
    return location;
}

bool ShaderProgram::setVector4(const std::string& name, const glm::vec4& value)
{
    const GLint location = getUniformLocation(name);
    if (location == -1) {
        if (builtAs.compiledOut.count(name) == 0)
            VornE::log(VornE::Warning, "vector(4) '", name, "' not found\n");
        return false;
    }
    glUniform4fv(location, 1, glm::value_ptr(value));
    return true;
}

bool ShaderProgram::setMatrix(const std::string& name, const glm::mat4& value)
{
    const GLint location = getUniformLocation(name);
    if (location == -1) {
        if (builtAs.compiledOut.count(name) == 0)
            VornE::log(VornE::Warning, "matrix '", name, "' not found\n");
        return false;
    }
    glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
    return true;
}

bool ShaderProgram::setTexture2D(const std::string& name, Texture& texture, int unit)
{
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    texture.bind();
    const GLint location = getUniformLocation(name);
    if (location == -1) {
        if (builtAs.compiledOut.count(name) == 0)
            VornE::log(VornE::Warning, "texture 2D '", name, "' not found\n");
        return false;
    }
    glUniform1i(location, unit);
    return true;
}

void ShaderProgram::unsetTexture2D(Texture& texture, int unit)
{
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    texture.unbind();
}
