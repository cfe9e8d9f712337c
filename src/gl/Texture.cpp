#include "gl/Texture.h"

#include "core/Logger.h"
#include "gl/GLErrorException.h"

Texture::Texture(GLenum target)
    : target(target)
    , id(generate())
{
    // A throw here deletes the name with the half-built texture's members.
    bind();
    // The base version on purpose: a derived override is not usable yet.
    Texture::setParameters();
    unbind();
}

Texture::~Texture()
{
    const GLuint name = id;
    id.reset();
    try {
        VornE::log(VornE::Info, "GL Texture with id: ", name, " deleted\n");
    } catch (...) {
        // Logging may allocate; a destructor must not let that escape.
    }
}

GLName Texture::generate()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    GLName owned(
        name, [](GLuint made) { glDeleteTextures(1, &made); }, "Texture");
    checkGLError("glGenTextures");
    VornE::log(VornE::Info, "GL Texture ID created: ", name, "\n");
    return owned;
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
