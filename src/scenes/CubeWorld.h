#pragma once

#include "core/Resolution.h"
#include "course/InfluencePoint.h"
#include "course/OctreeNode.h"
#include "gl/ShaderProgram.h"
#include "render/ScreenQuad.h"
#include "render/WorldCube.h"

#include <glm/glm.hpp>

#include <memory>
#include <vector>

class Mesh;
class Renderer;
class RessourceManager;
class Texture;

// An invisible integer grid of cells: a cell shows as a small cube, in a
// point's colour, while it lies strictly inside that point's sphere, and the
// nearer the point, the bigger the cube. Cells are found through a fixed
// octree over (-50, -50, -50) to (50, 50, 50), five levels deep (32768 leaves
// of 3.125 units), built once. Shared by scenes two and three.
class CubeWorld {
public:
    static constexpr int depth = 5;
    static constexpr float halfExtent = 50.0f;

    // Builds the grid, simple and post-process programs (only the grid one
    // draws), looks up the wall texture and the cube mesh by name, and builds
    // the tree. The cube mesh must be registered with the renderer for any
    // cube to show. Throws when a program does not build.
    CubeWorld(RessourceManager& resources, const Resolution& screenSize);
    CubeWorld(const CubeWorld&) = delete;
    CubeWorld& operator=(const CubeWorld&) = delete;

    // Distributes the points over the tree, as they stand now. The world
    // neither moves nor owns them; drawing reads their position, radius and
    // colour afresh, but looks for them only where they were at this update.
    void update(const std::vector<std::unique_ptr<InfluencePoint>>& points);

    // One cube per (cell, point) pair inside a sphere, with "pulseDistance" =
    // pulse and "objDistance" = the cell's distance to the point, in one
    // batched draw of the grid program. `world` places the grid, its point
    // (25, 25, 25) at world's origin.
    void draw(
        Renderer& renderer, const glm::mat4& projection, const glm::mat4& view, const glm::mat4& world, float pulse);

    const OctreeNode& tree() const { return root; }

    // Kept on purpose though never drawn with: the simple and post-process
    // programs, the wall texture's handle and a screen quad whose buffers are
    // never filled. They are part of the world's fixed build and tear-down
    // order: their shader builds and buffer names show on the console, and
    // the GL names made after them depend on them.
    Resolution screenSize;
    ShaderProgram gridProgram;
    ShaderProgram simpleProgram; // kept, never drawn with
    ShaderProgram postProcessProgram; // kept, never drawn with
    Texture* wallTexture = nullptr; // kept, never drawn with
    ScreenQuad screenQuad; // kept, never drawn
    Mesh* cubeMesh = nullptr;

private:
    OctreeNode root;
    std::vector<InfluencePoint*> rootList; // the points as the tree takes them, storage kept
    std::vector<WorldCube> frameCubes; // the cubes of the frame being drawn, storage kept
};
