#pragma once

#include "core/Resolution.h"
#include "gl/FrameBuffer.h"
#include "gl/RenderBuffer.h"
#include "gl/Texture2D.h"

#include <optional>

// A framebuffer drawn into off screen: a colour texture of the target's size
// and, when asked for, a 24-bit depth renderbuffer. Built in the order
// framebuffer, renderbuffer, texture and destroyed in reverse, so the
// framebuffer goes last and outlives its attachments (the GL keeps a deleted
// attachment's storage until the framebuffer holding it goes). An incomplete
// target is logged and left usable, drawing nothing.
//
// With samples, drawing goes into multisampled colour and depth
// renderbuffers of a framebuffer of their own instead, and resolve() filters
// them down into the colour texture.
class OffscreenTarget {
public:
    enum class Depth { None, Depth24 };

    // `samples` a pixel, 0 for none: Multisampling.h says how many a GL takes.
    OffscreenTarget(const Resolution& size, Depth depth, int samples = 0);
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // For drawing into it; the caller pairs it with unbind().
    void bind() { (multisampled ? multisampled->frame : frame).bind(GL_FRAMEBUFFER); }
    void unbind() { frame.unbind(GL_FRAMEBUFFER); }
    // After drawing, before the colour texture is read: the samples filtered
    // into it. Nothing to do without samples.
    void resolve();

    Texture2D& colour() { return colourTexture; }
    const Resolution& size() const { return targetSize; }

private:
    struct Multisampled {
        FrameBuffer frame;
        RenderBuffer colour;
        RenderBuffer depth;
    };

    Resolution targetSize;
    FrameBuffer frame;
    std::optional<RenderBuffer> depth;
    Texture2D colourTexture;
    // After the texture's framebuffer, so that it goes first.
    std::optional<Multisampled> multisampled;
};
