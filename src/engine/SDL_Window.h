#pragma once

#include "engine/Window.h"

struct SDL_Surface;

namespace VornE {

// A window on an SDL 1.2 video surface, drawn with plain surface fills.
// open() asks for an OpenGL-capable video mode so the GL window can reuse it.
class SDL_Window : public Window {
public:
    SDL_Window();

    // Returns false, leaving the window closed, when SDL cannot set the video
    // mode; SDL_GetError() then holds the reason.
    bool open(const std::string& caption, const Resolution& size, bool fullscreen) override;
    // SDL's reason and the X display asked for.
    std::string openFailure() const override;
    void clear() override;
    void swap() override;
    void setClearColour(const Colour& colour) override;
    Resolution getSize() override;

    bool isOpen() const { return screen != nullptr; }
    // Asked of the GL driver, which may not offer it.
    void requestTearFreeSwap(bool wanted) override { tearFree = wanted; }

    static unsigned int videoFlags(bool fullscreen);

protected:
    Colour clearColour;
    SDL_Surface* screen = nullptr; // owned by SDL
    bool tearFree = false;
};

} // namespace VornE
