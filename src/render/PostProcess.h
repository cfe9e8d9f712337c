#pragma once

#include <glm/glm.hpp>

class ScreenQuad;
class ShaderProgram;
class Texture;

// The frame's last pass, in one of two variants of one program
// (postProcess.vert and .frag). While the fade over-exposes the picture
// (above Glow::threshold), the full one adds the glow, the colour drift and
// the exposure's shoulder; otherwise the plain one, built with PLAIN
// defined, shows the frame with its vignette and fade, the same picture
// without those five texture reads, which a software GL pays for in a branch
// that is not taken.
class PostProcess {
public:
    // Both are borrowed and must outlive this.
    PostProcess(ShaderProgram& overExposed, ShaderProgram& plain);

    // Draws `frame` at `size` pixels into whatever framebuffer is bound.
    void draw(ScreenQuad& quad, Texture& frame, const glm::vec2& size, float fade, Texture& glow);

private:
    ShaderProgram& overExposed;
    ShaderProgram& plain;
};
