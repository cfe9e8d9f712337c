#pragma once

// The one rule of every wrapper in this folder: a wrapper leaves nothing bound
// after an operation except its explicit `bind`, which callers pair with
// `unbind` ("nothing" being the window's framebuffer, WindowFramebuffer.h).
//
// Each wrapper keeps its GL names in GLName owners (two for StaticBuffer): it
// is moved, never copied. All calls need the GL context current on the
// calling thread and GLEW initialised.
//
// The rule for the GL state between the passes of a frame (the scene, the
// glow, the post-process, the bench's floor): the GL rests with the window's
// framebuffer bound, no program in use, no buffer bound, texture unit 0
// active with no texture bound, no vertex attribute array enabled, blending
// off, and depth testing on with GL_LEQUAL (set once by the renderer for the
// whole run). A pass states at its start what else it needs — its target,
// its viewport, its program and textures, blending — and leaves the rest
// state as it found it; it never saves and restores what another pass left.
#include <GL/glew.h>
