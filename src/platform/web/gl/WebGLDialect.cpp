// WebGL 2's side of the GL dialect: shaders written for GLSL 1.10 are
// compiled as GLSL ES 3.00, WebGL 2's own, where screen-space derivatives are
// built in should a shader want them (WebGL 2 offers no extension for them in
// GLSL ES 1.00); textures take their pixel format as internal format; and the
// EXT entry points the desktop's framebuffer code calls are the core ones here.

#include "gl/GLDialect.h"

#include <regex>

namespace {

// GLSL ES 3.00 names its lookup function `texture`.
const std::string textureUniform = "texture";
const std::string textureRenamed = "lumarollTexture";

} // namespace

namespace GLDialect {

// Each read is a round trip to the GPU process that waits for all the calls
// before it: after every call it halved the page's frame rate.
const bool errorsReadAfterEachCall = false;

// The browser clears the canvas after showing it anyway; a frame that asks for
// the clear itself was drawn sooner in headless Chromium (34 frames a second
// against 31 at 800x640).
const bool windowClearedEachFrame = true;

std::string shaderSource(const std::string& source, const std::vector<std::string>& defines)
{
    static const std::regex version(R"(^\s*#version\s+110[^\n]*)");
    static const std::regex texture(R"(\btexture\b)");
    static const std::regex lookup(R"(\btexture2D\s*\()");
    static const std::regex attribute(R"(\battribute\b)");
    static const std::regex varying(R"(\bvarying\b)");
    static const std::regex fragColour(R"(\bgl_FragColor\b)");
    const bool fragment = std::regex_search(source, fragColour);
    std::string body = std::regex_replace(source, version, "", std::regex_constants::format_first_only);
    body = std::regex_replace(body, texture, textureRenamed);
    body = std::regex_replace(body, lookup, "texture(");
    if (fragment) {
        body = std::regex_replace(body, varying, "in");
        body = std::regex_replace(body, fragColour, "lumarollFragColour");
    } else {
        body = std::regex_replace(body, attribute, "in");
        body = std::regex_replace(body, varying, "out");
    }
    std::string defined;
    for (const std::string& name : defines)
        defined += "#define " + name + " 1\n";
    // GLSL ES 3.00 numbers the line after "#line N" N: the body's first line,
    // which held the version, is 1 as in the file.
    return std::string("#version 300 es\nprecision highp float;\n") + (fragment ? "out vec4 lumarollFragColour;\n" : "")
        + defined + "#line 1\n" + body;
}

std::string variableName(const std::string& name)
{
    return name == textureUniform ? textureRenamed : name;
}

// Browsers answer "WebKit WebGL" whatever draws underneath; software GLs
// are common there (SwiftShader), so multisampling stays off unless asked.
std::string rendererName()
{
    return "";
}

// Both are core in WebGL 2.
bool multisamplingOffered()
{
    return true;
}

int maxSamples()
{
    GLint samples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &samples);
    return samples;
}

GLint internalFormat(GLint, GLenum format)
{
    return static_cast<GLint>(format);
}

} // namespace GLDialect

extern "C" void glDeleteRenderbuffersEXT(GLsizei count, const GLuint* names)
{
    glDeleteRenderbuffers(count, names);
}

extern "C" void glRenderbufferStorageMultisampleEXT(
    GLenum target, GLsizei samples, GLenum internalFormat, GLsizei width, GLsizei height)
{
    glRenderbufferStorageMultisample(target, samples, internalFormat, width, height);
}

extern "C" void glBlitFramebufferEXT(GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, GLint dstY0,
    GLint dstX1, GLint dstY1, GLbitfield mask, GLenum filter)
{
    glBlitFramebuffer(srcX0, srcY0, srcX1, srcY1, dstX0, dstY0, dstX1, dstY1, mask, filter);
}
