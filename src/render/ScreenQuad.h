#pragma once

#include "gl/ShaderProgram.h"
#include "gl/StaticBuffer.h"
#include "gl/Texture.h"

#include <glm/glm.hpp>

// Two triangles over the whole window, (-1, -1) to (1, 1), that show the
// off-screen frame through the post-process program. The scenes write `fade`;
// the next draw sends it to the shader.
class ScreenQuad {
public:
    ScreenQuad();
    ScreenQuad(const ScreenQuad&) = delete;
    ScreenQuad& operator=(const ScreenQuad&) = delete;

    // Uploads the quad's 64 bytes of vertices (x, y, u, v) and 24 of indices.
    void init();

    // Draws `texture` to whatever framebuffer is bound, read through unit 0,
    // with the uniforms "resolution", "fade" and "texScreen"; and `glow`, when
    // given, through unit 1 as "texGlow". A program missing one of them draws
    // nothing that frame (after a warning) and leaves its state bound until
    // the next pass binds its own; a variant that compiles one out draws
    // without it, and says nothing.
    void draw(ShaderProgram& program, Texture& texture, const glm::vec2& resolution, Texture* glow = nullptr)
    {
        drawWithFade(program, texture, resolution, fade, glow);
    }
    // The same with a fade of the caller's instead of `fade`, which it leaves
    // as it is: for a pass of ours that is not the frame's post-process.
    void drawWithFade(ShaderProgram& program, Texture& texture, const glm::vec2& resolution, float fadeValue,
        Texture* glow = nullptr);

    static const float vertices[16];
    static const unsigned int indices[6];

    StaticBuffer buffer;
    float fade = 0.0f;

private:
    void drawQuad(
        ShaderProgram& program, Texture& texture, const glm::vec2& resolution, float fadeValue, Texture* glow);
};
