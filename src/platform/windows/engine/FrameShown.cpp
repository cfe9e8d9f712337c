// On Windows the swap hands the frame to the system once the GL has drawn
// it; what the system has queued of its own drawing goes with GdiFlush.

#include "engine/FramePresentation.h"

#include "gl/GL.h"

#include <windows.h>

namespace FramePresentation {

void waitUntilShown()
{
    glFinish();
    GdiFlush();
}

} // namespace FramePresentation
