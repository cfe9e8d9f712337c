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
class OffscreenTarget {
public:
    enum class Depth { None, Depth24 };

    OffscreenTarget(const Resolution& size, Depth depth);
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // For drawing into it; the caller pairs it with unbind().
    void bind() { frame.bind(GL_FRAMEBUFFER); }
    void unbind() { frame.unbind(GL_FRAMEBUFFER); }

    Texture2D& colour() { return colourTexture; }
    const Resolution& size() const { return targetSize; }

private:
    Resolution targetSize;
    FrameBuffer frame;
    std::optional<RenderBuffer> depth;
    Texture2D colourTexture;
};
