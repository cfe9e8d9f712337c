#include "render/ShaderPrograms.h"

#include "core/DataFiles.h"

namespace ShaderPrograms {

const ProgramEntry bigCube { "bigCube", "bigCube", {}, "the run; SceneKit::bigCube (the room)" };
const ProgramEntry colourCube { "colourCube", "colourCube", {}, "the run; SceneKit::colourCube (scene one's cross)" };
const ProgramEntry postProcess { "postProcess", "postProcess", {},
    "the run; PostProcess, while the fade over-exposes" };
// The same files without the over-exposure's branch, whose texture reads a
// software GL pays for even where the branch is not taken: the last pass
// while the fade does not over-expose.
const ProgramEntry postProcessPlain { "postProcessPlain", "postProcess", { { "PLAIN" }, { "texGlow", "resolution" } },
    "the run; PostProcess, while the fade does not over-expose" };
const ProgramEntry texture2D { "texture2D", "texture2D", {}, "the run; SceneKit::texture2D (scene one's strips)" };
const ProgramEntry glowBright { "glowBright", "glowBright", {}, "the run; Glow" };
const ProgramEntry glowBlur { "glowBlur", "glowBlur", {}, "the run; Glow" };
const ProgramEntry overlay { "overlay", "texture2D", {}, "the renderer; Renderer::overlayProgram()" };
const ProgramEntry grid { "grid", "grid", {}, "the cube world; CubeWorld::gridProgram (the world's cubes)" };
const ProgramEntry simple { "simple", "simple", {}, "the cube world; CubeWorld::simpleProgram" };
const ProgramEntry worldPostProcess { "worldPostProcess", "postProcess", {},
    "the cube world; CubeWorld::postProcessProgram" };

const std::vector<const ProgramEntry*>& all()
{
    static const std::vector<const ProgramEntry*> rows { &overlay, &bigCube, &colourCube, &postProcess,
        &postProcessPlain, &texture2D, &grid, &simple, &worldPostProcess, &glowBright, &glowBlur };
    return rows;
}

ShaderProgram build(const ProgramEntry& entry)
{
    return ShaderProgram(DataFiles::vertexShader(entry.stem), DataFiles::fragmentShader(entry.stem), entry.variant);
}

} // namespace ShaderPrograms
