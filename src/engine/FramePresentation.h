#pragma once

// How the window's frames reach the screen, named in one place.
// FramePresentation.cpp is the desktop's: SDL 1.2's buffer swap, in step
// with the display's refresh when asked. The web page builds
// src/platform/web/engine/PagePresentation.cpp instead, where a frame is shown when the page
// hands control back to the browser.
namespace FramePresentation {

// Before the video mode is set: frames are to wait for the display's refresh.
void requestRefreshSync();
// Shows the frame drawn since the last one.
void present();
// Returns once the frame presented last is what the window shows: the GL
// has drawn it and the display server has taken it (on X11, a round trip to
// the server), for a probe that reads the window from outside.
void waitUntilShown();

} // namespace FramePresentation
