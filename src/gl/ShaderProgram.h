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

// A GLSL program of one vertex and one fragment shader read from files,
// compiled and linked at construction. Compile problems are only logged; a
// program that does not link throws ShaderLoadingException.
//
// The setters act on the current program: use() first, unuse() after drawing.
// Locations are looked up by name at every call; a missing name logs a warning
// and makes the setter return false.
class ShaderProgram {
public:
    ShaderProgram(const std::string& vertexPath, const std::string& fragmentPath);
    ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    void use();
    static void unuse();

    // -1 (after a warning) when the name is not an active attribute/uniform.
    // Each name asked for is kept: it is what the drawing feeds.
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

    // Builds the program again from its two files, as they are now. When it
    // links and has every attribute and uniform the drawing has asked this
    // one for, it takes this one's place and GL names, so that whoever holds
    // this object draws with it from then on; otherwise this program stays
    // as it was and the result is false, the build having logged why, or the
    // names it lacks in `lacking`. Errors of the GL itself still throw.
    bool rebuild(std::vector<std::string>& lacking);

    const Shader& vertex() const { return *vertexShader; }
    const Shader& fragment() const { return *fragmentShader; }
    GLuint id() const { return programId; }

private:
    static GLName createProgram();
    void link();

    // Owned through pointers so that rebuild() can swap them in place.
    std::unique_ptr<Shader> vertexShader;
    std::unique_ptr<Shader> fragmentShader;
    // After the shaders, so that it is deleted before either of them, on a
    // failed construction as at destruction.
    GLName programId;
    std::set<std::string> fedAttributes;
    std::set<std::string> fedUniforms;
};
