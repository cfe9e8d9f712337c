#pragma once

#include "core/Resolution.h"
#include "gl/OffscreenTarget.h"
#include "gl/ShaderProgram.h"

class ScreenQuad;

// The glow the post-process lays over an over-exposed frame: what is bright
// in the frame, taken down to a quarter of its size a side and blurred wide
// and soft there, where it costs a sixteenth of a full-size pass. It has work
// only while the fade is above 10; below, the post-process leaves it out.
class Glow {
public:
    static constexpr float threshold = 10.0f; // the fade above which there is a glow

    // Needs the GL context. Builds its two targets for frames of `frameSize`;
    // the programs, the bright part's ("glowBright" in the data) and the
    // blur's ("glowBlur"), are borrowed and must outlive it.
    Glow(const Resolution& frameSize, ShaderProgram& brightPass, ShaderProgram& blurPass);
    Glow(const Glow&) = delete;
    Glow& operator=(const Glow&) = delete;

    // Draws the glow of `frame` at `fade` into texture(), through `quad`,
    // whose own fade it leaves alone. A pass as GL.h says: it sets its
    // targets and viewport, and leaves the window's framebuffer bound.
    void draw(ScreenQuad& quad, Texture& frame, float fade);

    Texture2D& texture() { return across.colour(); }
    const Resolution& size() const { return across.size(); }

private:
    void blur(ScreenQuad& quad, Texture& from, OffscreenTarget& into, float x, float y, float fade);

    Resolution frameSize;
    // The result ends in `across`; `down` holds the half-way blur.
    OffscreenTarget across;
    OffscreenTarget down;
    ShaderProgram& bright;
    ShaderProgram& blurPass;
};
