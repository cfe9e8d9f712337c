#pragma once

#include "gl/GL.h"
#include "gl/GLName.h"
#include "gl/Shader.h"
#include "gl/Texture.h"

#include <glm/glm.hpp>

#include <memory>
#include <set>
#include <string>
#include <vector>

// A variant of a program built from one pair of files: the macros its
// sources are built with (GLDialect::shaderSource), and the names those
// macros compile out, which the drawing may feed without a word: every
// variant takes every input of the pass that draws with it.
struct ShaderVariant {
    std::vector<std::string> defines;
    std::set<std::string> compiledOut;
};

// A GLSL program of one vertex and one fragment shader read from files,
// compiled and linked at construction. Compile problems are only logged; a
// program that does not link throws ShaderLoadingException.
//
// The setters act on the current program: use() first, unuse() after drawing.
// Locations are looked up by name at every call; a missing name logs a warning
// and makes the setter return false.
class ShaderProgram {
public:
    ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath, ShaderVariant variant = {});
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    void use();
    static void unuse();

    // -1 (after a warning) when the name is not an active attribute/uniform;
    // without one for a name the variant compiles out. Each other name asked
    // for is kept: it is what the drawing feeds.
    GLint getAttribLocation(const std::string& name);
    GLint getUniformLocation(const std::string& name);

    bool setVector4(const std::string& name, const glm::vec4& value);
    // Column-major, not transposed.
    bool setMatrix(const std::string& name, const glm::mat4& value);
    // Leaves GL_TEXTURE0 + unit active with the texture bound on it, even when
    // the uniform is missing; pair with unsetTexture2D after the draw.
    bool setTexture2D(const std::string& name, Texture& texture, int unit);
    // Activates GL_TEXTURE0 + unit and unbinds the texture there.
    static void unsetTexture2D(Texture& texture, int unit);

    // Builds the program again from its two files, as they are now, in the
    // same variant: the new program when it links and has every attribute
    // and uniform the drawing has asked this one for; otherwise null, the
    // build having logged why, or the names it lacks in `lacking`. Errors of
    // the GL itself still throw.
    std::unique_ptr<ShaderProgram> rebuilt(std::vector<std::string>& lacking) const;
    // Takes `fresh`'s shaders and GL names, so that whoever holds this
    // object draws with it from then on; `fresh` deletes this one's.
    void takeOver(ShaderProgram& fresh);
    // rebuilt(), then takeOver(): false, this program as it was, when it
    // does not build.
    bool rebuild(std::vector<std::string>& lacking);

    const ShaderVariant& variant() const { return builtAs; }

    // Every program alive now, in the order they were built: what a
    // rehearsal watches, whoever built them.
    static const std::vector<ShaderProgram*>& alive();

    const Shader& vertex() const { return *vertexShader; }
    const Shader& fragment() const { return *fragmentShader; }
    GLuint id() const { return programId; }

private:
    static GLName createProgram();
    static std::vector<ShaderProgram*>& living();
    void link();

    // Owned through pointers so that rebuild() can swap them in place.
    std::unique_ptr<Shader> vertexShader;
    std::unique_ptr<Shader> fragmentShader;
    // After the shaders, so that it is deleted before either of them, on a
    // failed construction as at destruction.
    GLName programId;
    ShaderVariant builtAs;
    std::set<std::string> fedAttributes;
    std::set<std::string> fedUniforms;
};
