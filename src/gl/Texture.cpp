#include "gl/Texture.h"

#include "core/Logger.h"
#include "gl/GLErrorException.h"

Texture::Texture(GLenum target)
    : target(target)
    , id(generate())
{
    try {
        bind();
        // The base version on purpose: a derived override is not usable yet.
        Texture::setParameters();
        unbind();
    } catch (...) {
        // The destructor will not run for a half-built texture: release the
        // name here so a failed construction does not leak it.
        glDeleteTextures(1, &id);
        throw;
    }
}

Texture::~Texture()
{
    glDeleteTextures(1, &id);
    try {
        VornE::log(VornE::Info, "GL Texture with id: ", id, " deleted\n");
    } catch (...) {
        // Logging may allocate; a destructor must not let that escape.
    }
}

GLuint Texture::generate()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    try {
        checkGLError("glGenTextures");
    } catch (...) {
        glDeleteTextures(1, &name);
        throw;
    }
    VornE::log(VornE::Info, "GL Texture ID created: ", name, "\n");
    return name;
}

void Texture::setParameters()
{
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
    checkGLError("glTexParameterf");
}

void Texture::bind() const
{
    glBindTexture(target, id);
    checkGLError("glBindTexture");
}

void Texture::unbind() const
{
    glBindTexture(target, 0);
    checkGLError("glBindTexture (0)");
}
