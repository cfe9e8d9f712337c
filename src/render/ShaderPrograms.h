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
struct ProgramEntry {
    const char* name; // the program's own
    const char* stem; // its files: data/shaders/STEM.vert and STEM.frag
    ShaderVariant variant;
    const char* foundAt; // who builds it, and where the drawing finds it
};

namespace ShaderPrograms {

extern const ProgramEntry bigCube;
extern const ProgramEntry colourCube;
extern const ProgramEntry postProcess;
extern const ProgramEntry postProcessPlain;
extern const ProgramEntry texture2D;
extern const ProgramEntry glowBright;
extern const ProgramEntry glowBlur;
extern const ProgramEntry overlay;
extern const ProgramEntry grid;
extern const ProgramEntry simple;
extern const ProgramEntry worldPostProcess;

// Every row, in the order start-up builds them.
const std::vector<const ProgramEntry*>& all();

// The program of `entry`, built now from its files (a GL context needed).
ShaderProgram build(const ProgramEntry& entry);

} // namespace ShaderPrograms
