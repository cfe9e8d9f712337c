#pragma once

#include "gl/Texture.h"

// A 2D texture: an empty render target of a given size, or an image uploaded
// from memory. Complete and unbound once constructed.
class Texture2D : public Texture {
public:
    // Four-component storage of undefined content, for a framebuffer to draw into.
    explicit Texture2D(const Resolution& size);
    // `pixels` holds tightly packed rows of unsigned bytes laid out as `format`
    // says; GL copies them.
    Texture2D(GLint internalFormat, const Resolution& size, GLenum format, const void* pixels);

    // Both need the texture bound. setImage always stores RGBA bytes with the
    // unsized internal format 4; upload keeps the caller's formats and reads
    // tightly packed rows whatever GL_UNPACK_ALIGNMENT says.
    void setImage(const Resolution& size, const void* pixels) override;
    void upload(GLint internalFormat, const Resolution& size, GLenum format, const void* pixels);
};
