// The web page's presentation: the canvas is shown when the page hands
// control back to the browser, so a frame waits for the next animation
// frame, which the display's refresh paces as a synchronised swap does on
// the desktop.

#include "engine/FramePresentation.h"

extern "C" void lumaroll_next_frame();

namespace FramePresentation {

void requestRefreshSync() { }

void present()
{
    lumaroll_next_frame();
}

// Once present() has returned, the browser has shown the canvas.
void waitUntilShown() { }

} // namespace FramePresentation
