#include "render/ShaderPrograms.h"

#include "core/DataFiles.h"

namespace ShaderPrograms {

const ProgramSpec bigCube { "bigCube", "bigCube", {}, "the run; SceneKit::bigCube (the room)" };
const ProgramSpec colourCube { "colourCube", "colourCube", {}, "the run; SceneKit::colourCube (scene one's cross)" };
const ProgramSpec postProcess { "postProcess", "postProcess", {}, "the run; PostProcess, while the fade over-exposes" };
// The same files without the over-exposure's branch, whose texture reads a
// software GL pays for even where the branch is not taken: the last pass
// while the fade does not over-expose.
const ProgramSpec postProcessPlain { "postProcessPlain", "postProcess", { { "PLAIN" }, { "texGlow", "resolution" } },
    "the run; PostProcess, while the fade does not over-expose" };
const ProgramSpec texture2D { "texture2D", "texture2D", {}, "the run; SceneKit::texture2D (scene one's strips)" };
const ProgramSpec glowBright { "glowBright", "glowBright", {}, "the run; Glow" };
const ProgramSpec glowBlur { "glowBlur", "glowBlur", {}, "the run; Glow" };
const ProgramSpec overlay { "overlay", "texture2D", {}, "the renderer; Renderer::overlayProgram()" };
const ProgramSpec grid { "grid", "grid", {}, "the cube world; CubeWorld::gridProgram (the world's cubes)" };
const ProgramSpec simple { "simple", "simple", {}, "the cube world; CubeWorld::simpleProgram" };
const ProgramSpec worldPostProcess { "worldPostProcess", "postProcess", {},
    "the cube world; CubeWorld::postProcessProgram" };

const std::vector<const ProgramSpec*>& all()
{
    static const std::vector<const ProgramSpec*> rows { &overlay, &bigCube, &colourCube, &postProcess,
        &postProcessPlain, &texture2D, &grid, &simple, &worldPostProcess, &glowBright, &glowBlur };
    return rows;
}

ShaderProgram build(const ProgramSpec& spec)
{
    return ShaderProgram(DataFiles::vertexShader(spec.stem), DataFiles::fragmentShader(spec.stem), spec.variant);
}

} // namespace ShaderPrograms
