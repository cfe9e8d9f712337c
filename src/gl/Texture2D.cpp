#include "gl/Texture2D.h"

#include "gl/GLDialect.h"
#include "gl/GLErrorException.h"

// Sizes are not validated here: one too large for GLsizei turns negative and
// the GL rejects it at the "glTexImage2D" check.
Texture2D::Texture2D(const Resolution& size)
    : Texture(GL_TEXTURE_2D)
{
    bind();
    Texture2D::setImage(size, nullptr);
    unbind();
    checkGLError("Texture creation");
}

Texture2D::Texture2D(GLint internalFormat, const Resolution& size, GLenum format, const void* pixels)
    : Texture(GL_TEXTURE_2D)
{
    bind();
    upload(internalFormat, size, format, pixels);
    unbind();
    checkGLError("Texture creation");
}

void Texture2D::setImage(const Resolution& size, const void* pixels)
{
    glTexImage2D(GL_TEXTURE_2D, 0, GLDialect::internalFormat(4, GL_RGBA), static_cast<GLsizei>(size.width),
        static_cast<GLsizei>(size.height), 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    checkGLError("glTexImage2D");
}

void Texture2D::upload(GLint internalFormat, const Resolution& size, GLenum format, const void* pixels)
{
    // Image data comes in tightly packed rows; under the default alignment of
    // 4 the GL would read padded rows, past the end of a buffer whose row
    // length is not a multiple of 4 (3 RGB pixels, say), and each row would
    // come out shifted.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height),
        0, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    checkGLError("glTexImage2D");
}
