#pragma once

#include "core/Resolution.h"
#include "core/Ressource.h"
#include "gl/GL.h"
#include "gl/GLName.h"

// Owns one GL texture. Created with linear minification and no mipmaps, so it
// samples correctly as soon as it has an image; left unbound after every
// operation except bind().
class Texture : public VornE::Ressource {
public:
    ~Texture() override;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Needs the texture bound.
    virtual void setImage(const Resolution& size, const void* pixels) = 0;
    // Sets the minification filter of whatever is bound to GL_TEXTURE_2D.
    virtual void setParameters();

    // Binds on the active unit; the caller pairs it with unbind().
    void bind() const;
    void unbind() const;

    const GLenum target;
    GLName id;

protected:
    explicit Texture(GLenum target);

private:
    static GLName generate();
};
