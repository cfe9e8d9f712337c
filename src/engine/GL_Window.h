#pragma once

#include "engine/SDL_Window.h"

namespace VornE {

// The SDL window drawn through its OpenGL context: clearing, presenting and
// the clear colour go to GL. Every GL call needs the context that open() made.
class GL_Window : public SDL_Window {
public:
    // Also loads the GL's entry points through GLEW, which needs the context
    // the window makes, and takes the framebuffer the window presents
    // (WindowFramebuffer.h).
    bool open(const std::string& caption, const Resolution& size, bool fullscreen) override;
    std::string openFailure() const override;
    bool glUnusable() const override { return !glFailure.empty(); }
    void clear() override;
    void swap() override;
    // Calls glClearColor at once; the colour is not stored.
    void setClearColour(const Colour& colour) override;

private:
    std::string glFailure; // GLEW's reason, when the window opened without a usable GL
};

} // namespace VornE
