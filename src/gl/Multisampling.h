#pragma once

#include <ostream>
#include <string>

// How many samples a pixel of the off-screen frame gets, so that the cubes'
// edges are smooth rather than stepped.
namespace Multisampling {

// What a run asks for by default: the renderer decides.
inline constexpr int byTheRenderer = -1;
// What a run gets by default on a GL that draws on a graphics card.
inline constexpr int onHardware = 4;

// Whether GL_RENDERER names a GL that draws on the processor (Mesa's
// llvmpipe and softpipe, SwiftShader), where every sample costs its time.
bool softwareRenderer(const std::string& renderer);

// The samples to draw with: `asked` (0 for none, byTheRenderer for the
// default) within what the GL offers, `maxSamples` a pixel when `offered`.
// An empty `renderer` is one the GL does not name (a browser's), taken as
// software. Where the GL cannot give what was asked, one line on `say`.
int chosen(int asked, const std::string& renderer, bool offered, int maxSamples, std::ostream& say);

// The same for the current GL; the line goes to standard error.
int forThisGL(int asked);

} // namespace Multisampling
