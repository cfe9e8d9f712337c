#pragma once

#include "gl/GL.h"

// The framebuffer that the window presents. On the classic SDL 1.2 it is the
// GL's default framebuffer, 0. sdl12-compat (the SDL 1.2 interface over SDL2)
// may present an OpenGL window through a framebuffer object of its own, bound
// when the video mode is set, and it maps a bind of 0 onto that object only
// for entry points handed out by its own SDL_GL_GetProcAddress. Ours come
// through GLEW, so "unbinding" to 0 would draw where nothing is shown.
namespace WindowFramebuffer {

// Takes the framebuffer bound right now as the window's. Called once the
// window's video mode is set, before anything else binds a framebuffer; a GL
// without framebuffer objects leaves the window's at 0.
void adoptBound();

// The window's framebuffer: 0 until adoptBound() found another.
GLuint name();

} // namespace WindowFramebuffer
