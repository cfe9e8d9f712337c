#pragma once

#include "gl/ShaderProgram.h"
#include "gl/StreamBuffer.h"
#include "gl/Texture.h"
#include "render/DrawCounts.h"
#include "render/MeshBuffers.h"
#include "render/MeshInstance.h"
#include "render/ScreenQuad.h"
#include "render/WorldCube.h"

#include <glm/glm.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

class Mesh;

// Every mesh and overlay reaches the screen through here. The renderer keeps
// one GPU copy per mesh (keyed by the mesh's address, uploaded once) and four
// fixed passes, each tied to one shader interface. A pass binds what it needs,
// sets its uniforms and attributes by name, issues one indexed draw and
// unbinds again: after a mesh pass no buffer is bound and no program is
// current. Missing optional uniforms or attributes are warned about and the
// draw goes on; GL errors throw from the labelled checks.
class Renderer {
public:
    // The overlay program's sources, built by init(); the caller knows where
    // its data lies.
    Renderer(std::string overlayVertexPath, std::string overlayFragmentPath);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Needs the GL context: turns on depth testing (GL_LEQUAL) for the whole
    // run and builds the overlay program and the renderer's own screen quad.
    void init();
    // Deletes what init() built, while the context still exists.
    void release();
    // The textured-quad pass's own program, between init() and release().
    ShaderProgram* overlayProgram() { return textureProgram.get(); }

    // Makes sure the mesh has its GPU copy. Always true, even when the upload failed.
    bool addMesh(const MeshInstance& instance);
    bool hasMesh(Mesh* mesh) const;
    MeshBuffers* meshBuffers(Mesh* mesh) const;
    // False, with an Error line and nothing cached, for a mesh whose arrays
    // disagree in length or whose indices point past its vertices.
    bool uploadMesh(Mesh* mesh);

    // The texture over a rectangle in normalized device coordinates, alpha-blended.
    void drawTexturedQuad(const glm::vec2& lowerLeft, const glm::vec2& upperRight, Texture* texture, float alphaFact);
    // A lit, textured mesh: "mMatrix", the texture as "wallTexture" on unit
    // 0, "lightPosition" (the light is at the origin), and the mesh's
    // normals and texture coordinates; the program lights it as it will.
    void drawTexturedMesh(Mesh* mesh, ShaderProgram& program, Texture* texture, const glm::mat4& projection,
        const glm::mat4& view, const glm::mat4& model);
    // A mesh in one colour, given its normals; faces turned away are not drawn.
    void drawColouredMesh(Mesh* mesh, ShaderProgram& program, const glm::mat4& projection, const glm::mat4& view,
        const glm::mat4& model, const glm::vec4& colour);
    // One cube of the cube world, coloured by its point and told its distance and the pulse.
    void drawWorldCube(Mesh* mesh, ShaderProgram& program, const glm::mat4& projection, const glm::mat4& view,
        const glm::mat4& model, float objDistance, float pulseDistance, const glm::vec4& color);
    // A frame's cubes of the cube world in one draw, each as `mesh` (the unit
    // cube) scaled and placed in the grid, which `grid` places in the world.
    // Only the triangles that face the camera are sent: the cubes are closed,
    // so the depth test would hide the others anyway. Counts one world-cube
    // draw per cube. The program takes, per vertex, "position" and "normal"
    // (the mesh's), "placement" (corner, size), "colour" and "objDistance",
    // and the uniforms "viewProjection", "gridMatrix" and "pulseDistance".
    void drawWorldCubes(Mesh* mesh, ShaderProgram& program, const glm::mat4& projection, const glm::mat4& view,
        const glm::mat4& grid, const std::vector<WorldCube>& cubes, float pulseDistance);

    const DrawCounts& drawCounts() const { return counts; }
    void resetDrawCounts() { counts = DrawCounts(); }

private:
    std::string overlayVertexPath;
    std::string overlayFragmentPath;
    // The frame shared by the three mesh passes: binds the mesh's buffers and
    // the program and sends "mvpMatrix". Null, with nothing bound, when the
    // mesh has no GPU copy.
    MeshBuffers* beginMeshPass(
        Mesh* mesh, ShaderProgram& program, const glm::mat4& projection, const glm::mat4& view, const glm::mat4& model);
    GLint enablePositions(ShaderProgram& program, const MeshBuffers& entry);
    GLint enableNormals(ShaderProgram& program, const MeshBuffers& entry);
    static void drawIndexed(const MeshBuffers& entry);
    static void endMeshPass(GLint position, GLint normal);

    // A triangle of the batched mesh, in the mesh's coordinates, with the
    // direction it faces.
    struct BatchTriangle {
        unsigned int index[3]; // of the mesh's vertices
        glm::vec3 corner; // the first
        glm::vec3 facing;
    };
    // The triangles of the mesh the last batch drew, worked out once.
    const std::vector<BatchTriangle>& trianglesOf(const Mesh& mesh);
    // The batch's vertices and indices: the triangles of every cube that face
    // `camera` (in grid coordinates).
    void fillBatch(const Mesh& mesh, const glm::vec3& camera, const std::vector<WorldCube>& cubes);

    std::map<Mesh*, std::unique_ptr<MeshBuffers>> meshes;
    const Mesh* batchMesh = nullptr;
    std::vector<BatchTriangle> batchTriangles;
    // The world cubes' vertices and indices, rebuilt for every batch; the
    // storage is kept from frame to frame.
    std::vector<float> batch;
    std::vector<unsigned int> batchIndices;
    std::vector<int> batchSlot; // per mesh vertex: its place in the cube being written, or -1
    StreamBuffer batchBuffer { GL_ARRAY_BUFFER };
    StreamBuffer batchIndexBuffer { GL_ELEMENT_ARRAY_BUFFER };
    // Kept on purpose though never drawn: a screen quad of the renderer's own,
    // built in init() and freed in release(); its buffer names show on the
    // console, and the GL names made after it depend on it.
    std::unique_ptr<ScreenQuad> quad;
    std::unique_ptr<ShaderProgram> textureProgram;
    DrawCounts counts;
};
