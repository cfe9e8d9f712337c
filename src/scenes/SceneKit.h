#pragma once

class CubeWorld;
class Mesh;
class ShaderProgram;
class Texture;

// What the run's scenes draw with, built once by the run and borrowed by
// every scene: the programs, the cube world, the mesh and the textures. A
// scene takes what it needs from it.
struct SceneKit {
    ShaderProgram& colourCube;
    ShaderProgram& bigCube;
    ShaderProgram& texture2D;
    CubeWorld& cubeWorld;
    Mesh* cubeMesh;
    Texture* wall;
    Texture* strips[3];
};

// The drawing of the scene whose course is `Timeline`: each scene's header
// names it next to the class (template <> struct DrawingOf<ItsTimeline>),
// and the class is built from a SceneKit&.
template <class Timeline> struct DrawingOf;
