#include "gl/Multisampling.h"

#include "gl/GLDialect.h"

#include <algorithm>
#include <iostream>

namespace Multisampling {

bool softwareRenderer(const std::string& renderer)
{
    for (const char* name : { "llvmpipe", "softpipe", "SwiftShader", "Software Rasterizer" })
        if (renderer.find(name) != std::string::npos)
            return true;
    return false;
}

int chosen(int asked, const std::string& renderer, bool offered, int maxSamples, std::ostream& say)
{
    const bool byDefault = asked == byTheRenderer;
    const int wanted = byDefault ? (renderer.empty() || softwareRenderer(renderer) ? 0 : onHardware) : asked;
    if (wanted <= 0)
        return 0;
    if (!offered || maxSamples < 2) {
        say << "lumaroll: this GL cannot draw smooth edges (it lacks GL_EXT_framebuffer_multisample or "
               "GL_EXT_framebuffer_blit): drawing without them"
            << std::endl;
        return 0;
    }
    if (wanted > maxSamples && !byDefault)
        say << "lumaroll: msaa " << wanted << " is more than this GL's " << maxSamples
            << " samples a pixel: drawing with " << maxSamples << std::endl;
    return std::min(wanted, maxSamples);
}

int forThisGL(int asked)
{
    if (asked == 0)
        return 0;
    return chosen(
        asked, GLDialect::rendererName(), GLDialect::multisamplingOffered(), GLDialect::maxSamples(), std::cerr);
}

} // namespace Multisampling
