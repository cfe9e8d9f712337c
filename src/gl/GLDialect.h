#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

// Where the GL the demo is written for (OpenGL 2.0, GLSL 1.10) and the GL a
// platform gives differ, named in one place. GLDialect.cpp is the desktop's,
// where nothing differs; the web page builds src/platform/web/gl/WebGLDialect.cpp
// instead, for WebGL 2.
namespace GLDialect {

// A shader's source as this GL compiles it, with `defines` (each a macro's
// name) defined, to 1, after its version line: a variant of the program the
// file makes. The source's own lines keep their numbers in the compiler's
// messages.
std::string shaderSource(const std::string& source, const std::vector<std::string>& defines = {});
// The name a program's uniform or attribute has in the compiled source.
std::string variableName(const std::string& name);
// The internal format of a texture uploaded from pixels in `format`, whose
// components number `components`.
GLint internalFormat(GLint components, GLenum format);
// The renderer's name (GL_RENDERER), "" where the GL hides it.
std::string rendererName();
// Whether the GL draws into multisampled renderbuffers and resolves them
// (GL_EXT_framebuffer_multisample and GL_EXT_framebuffer_blit), and the
// most samples a pixel it takes there.
bool multisamplingOffered();
int maxSamples();
// Whether a GL error is read after each call, or once a frame: reading it
// waits until the GL has carried out every call before it.
extern const bool errorsReadAfterEachCall;
// Whether a frame starts by clearing the window, which its last pass then
// covers whole: whichever of the two draws the frame sooner on this GL.
extern const bool windowClearedEachFrame;

} // namespace GLDialect
