#pragma once

#include "gl/ShaderProgram.h"

#include <vector>

// Every shader program the demo draws with, described once: the pair of
// files under data/shaders/ it is built from, the variant it is built as,
// and who builds it and where the drawing finds it. Each owner builds its
// own from here, at its own step of start-up (the run, the cube world, the
// renderer); a rehearsal rebuilds every program built (ShaderProgram::
// alive()), all the programs of a pair of files together when either file
// changes, every variant or none; the bench builds its programs from here.
// A new program is a row here, its two files and a line in DataFiles' list
// of shader stems, built by the owner that draws with it.
struct ProgramSpec {
    const char* name; // the program's own
    const char* stem; // its files: data/shaders/STEM.vert and STEM.frag
    ShaderVariant variant;
    const char* foundAt; // who builds it, and where the drawing finds it
};

namespace ShaderPrograms {

extern const ProgramSpec bigCube;
extern const ProgramSpec colourCube;
extern const ProgramSpec postProcess;
extern const ProgramSpec postProcessPlain;
extern const ProgramSpec texture2D;
extern const ProgramSpec glowBright;
extern const ProgramSpec glowBlur;
extern const ProgramSpec overlay;
extern const ProgramSpec grid;
extern const ProgramSpec simple;
extern const ProgramSpec worldPostProcess;

// Every row, in the order start-up builds them.
const std::vector<const ProgramSpec*>& all();

// The program of `spec`, built now from its files (a GL context needed).
ShaderProgram build(const ProgramSpec& spec);

} // namespace ShaderPrograms
