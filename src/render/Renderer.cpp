#include "render/Renderer.h"

#include <utility>

#include "core/Logger.h"
#include "gl/GLErrorException.h"
#include "mesh/Mesh.h"
#include "render/PassHelpers.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <vector>

namespace {

void fail(const char* text)
{
    VornE::log(VornE::Error, text);
}

// Sets a float uniform that a shader may leave out; warns when it does.
void setOptionalFloat(ShaderProgram& program, const char* name, float value, const char* missing)
{
    const GLint location = program.getUniformLocation(name);
    if (location == -1)
        warnMissing(missing);
    else
        glUniform1f(location, value);
}

} // namespace

Renderer::Renderer(std::string vertexPath, std::string fragmentPath)
    : overlayVertexPath(std::move(vertexPath))
    , overlayFragmentPath(std::move(fragmentPath))
{
}

// In the map's order: the map's own destructor would free them last key first.
Renderer::~Renderer()
{
    for (auto& entry : meshes)
        entry.second.reset();
}

void Renderer::init()
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    textureProgram = std::make_unique<ShaderProgram>(overlayVertexPath, overlayFragmentPath);
    quad = std::make_unique<ScreenQuad>();
    quad->init();
}

void Renderer::release()
{
    quad.reset();
    textureProgram.reset();
}

bool Renderer::addMesh(const MeshInstance& instance)
{
    if (!hasMesh(instance.mesh))
        uploadMesh(instance.mesh);
    return true;
}

bool Renderer::hasMesh(Mesh* mesh) const
{
    return meshes.count(mesh) != 0;
}

MeshBuffers* Renderer::meshBuffers(Mesh* mesh) const
{
    const auto found = meshes.find(mesh);
    return found == meshes.end() ? nullptr : found->second.get();
}

bool Renderer::uploadMesh(Mesh* mesh)
{
    if (hasMesh(mesh))
        return true;
    if (mesh == nullptr)
        return false;

    const std::size_t vertexCount = mesh->positions.size();
    const bool hasNormals = !mesh->normals.empty();
    const bool hasTexCoords = !mesh->texCoords.empty();
    // The arrays are read by the same vertex index, so a short one would be
    // read past its end; an index past the vertices would make GL read past
    // the buffer. Neither is uploaded.
    bool consistent = (!hasNormals || mesh->normals.size() == vertexCount)
        && (!hasTexCoords || mesh->texCoords.size() == vertexCount);
    for (unsigned int index : mesh->indices)
        consistent = consistent && index < vertexCount;
    if (!consistent) {
        // One piece: at level Error every piece gets its own line.
        VornE::log(VornE::Error, "Mesh '" + mesh->name + "' has inconsistent arrays, not uploaded");
        return false;
    }

    auto entry = std::make_unique<MeshBuffers>();
    entry->buffer = std::make_unique<StaticBuffer>();
    entry->hasNormals = hasNormals;
    entry->hasTexCoords = hasTexCoords;
    entry->indexCount = static_cast<GLsizei>(mesh->indices.size());

    std::vector<float> vertexData;
    std::vector<unsigned int> indexData;
    try {
        vertexData.reserve(vertexCount * static_cast<std::size_t>(entry->stride()) / sizeof(float));
        indexData.assign(mesh->indices.begin(), mesh->indices.end());
    } catch (const std::bad_alloc&) {
        fail("Fail to allocate memory for the buffer");
        return false;
    }
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const glm::vec4& p = mesh->positions[i];
        vertexData.insert(vertexData.end(), { p.x, p.y, p.z });
        if (hasNormals) {
            const glm::vec3& n = mesh->normals[i];
            vertexData.insert(vertexData.end(), { n.x, n.y, n.z });
        }
        if (hasTexCoords) {
            const glm::vec2& t = mesh->texCoords[i];
            vertexData.insert(vertexData.end(), { t.x, t.y });
        }
    }
    entry->buffer->setVertexData(static_cast<GLsizeiptr>(vertexData.size() * sizeof(float)), vertexData.data());
    entry->buffer->setIndexData(static_cast<GLsizeiptr>(indexData.size() * sizeof(unsigned int)), indexData.data());
    meshes.emplace(mesh, std::move(entry));
    return true;
}

MeshBuffers* Renderer::beginMeshPass(
    Mesh* mesh, ShaderProgram& program, const glm::mat4& projection, const glm::mat4& view, const glm::mat4& model)
{
    MeshBuffers* entry = meshBuffers(mesh);
    if (entry == nullptr)
        return nullptr;
    entry->buffer->bind();
    program.use();
    program.setMatrix("mvpMatrix", (projection * view) * model);
    return entry;
}

GLint Renderer::enablePositions(ShaderProgram& program, const MeshBuffers& entry)
{
    // Not tested for -1: an invalid location surfaces as a GL error at the first check.
    const GLint position = program.getAttribLocation("position");
    glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, entry.stride(), bufferOffset(0));
    checkGLError("glVertexAttribPointer ( positions )");
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    checkGLError("glEnableVertexAttribArray ( positions )");
    return position;
}

GLint Renderer::enableNormals(ShaderProgram& program, const MeshBuffers& entry)
{
    if (!entry.hasNormals)
        return -1;
    const GLint normal = program.getAttribLocation("normal");
    if (normal == -1) {
        warnMissing("Attribute 'normal' not found\n");
        return -1;
    }
    glVertexAttribPointer(static_cast<GLuint>(normal), 3, GL_FLOAT, GL_FALSE, entry.stride(), bufferOffset(12));
    checkGLError("glVertexAttribPointer ( normals )");
    glEnableVertexAttribArray(static_cast<GLuint>(normal));
    checkGLError("glEnableVertexAttribArray ( normals )");
    return normal;
}

void Renderer::drawIndexed(const MeshBuffers& entry)
{
    // No check here: an error of the draw surfaces at the next check, under its label.
    glDrawElements(GL_TRIANGLES, entry.indexCount, GL_UNSIGNED_INT, bufferOffset(0));
}

void Renderer::endMeshPass(GLint position, GLint normal)
{
    StaticBuffer::unbind();
    glDisableVertexAttribArray(static_cast<GLuint>(position));
    checkGLError("glDisableVertexAttribArray ( positions )");
    if (normal != -1) {
        glDisableVertexAttribArray(static_cast<GLuint>(normal));
        checkGLError("glDisableVertexAttribArray ( normals )");
    }
}

void Renderer::drawTexturedMesh(Mesh* mesh, ShaderProgram& program, Texture* texture, const glm::mat4& projection,
    const glm::mat4& view, const glm::mat4& model)
{
    MeshBuffers* entry = beginMeshPass(mesh, program, projection, view, model);
    if (entry == nullptr)
        return;
    program.setMatrix("mMatrix", model);
    program.setTexture2D("wallTexture", *texture, 0);
    // The light is always at the origin, the room's centre.
    const GLint light = program.getUniformLocation("lightPosition");
    if (light == -1) {
        warnMissing("lightPosition not found\n");
    } else {
        const GLfloat origin[3] = { 0.0f, 0.0f, 0.0f };
        glUniform3fv(light, 1, origin);
    }

    const GLint position = enablePositions(program, *entry);
    const GLint normal = enableNormals(program, *entry);
    GLint texCoord = -1;
    if (entry->hasTexCoords) {
        texCoord = program.getAttribLocation("texCoord");
        if (texCoord == -1) {
            warnMissing("Attribute 'texCoord' not found\n");
        } else {
            checkGLError("attribute ( texCoord )");
            glVertexAttribPointer(static_cast<GLuint>(texCoord), 2, GL_FLOAT, GL_FALSE, entry->stride(),
                bufferOffset(entry->texCoordOffset()));
            checkGLError("glVertexAttribPointer ( texCoord )");
            glEnableVertexAttribArray(static_cast<GLuint>(texCoord));
            checkGLError("glEnableVertexAttribArray ( texCoord )");
        }
    }

    drawIndexed(*entry);
    ++counts.texturedMesh;
    endMeshPass(position, normal);
    if (texCoord != -1) {
        glDisableVertexAttribArray(static_cast<GLuint>(texCoord));
        checkGLError("glDisableVertexAttribArray ( texCoord )");
    }
    ShaderProgram::unsetTexture2D(*texture, 0);
    ShaderProgram::unuse();
}

void Renderer::drawColouredMesh(Mesh* mesh, ShaderProgram& program, const glm::mat4& projection, const glm::mat4& view,
    const glm::mat4& model, const glm::vec4& colour)
{
    MeshBuffers* entry = beginMeshPass(mesh, program, projection, view, model);
    if (entry == nullptr)
        return;
    program.setVector4("colour", colour);
    const GLint position = enablePositions(program, *entry);
    const GLint normal = enableNormals(program, *entry);
    glEnable(GL_CULL_FACE);
    drawIndexed(*entry);
    glDisable(GL_CULL_FACE);
    ++counts.colouredMesh;
    endMeshPass(position, normal);
    ShaderProgram::unuse();
}

void Renderer::drawWorldCube(Mesh* mesh, ShaderProgram& program, const glm::mat4& projection, const glm::mat4& view,
    const glm::mat4& model, float objDistance, float pulseDistance, const glm::vec4& color)
{
    MeshBuffers* entry = beginMeshPass(mesh, program, projection, view, model);
    if (entry == nullptr)
        return;
    program.setMatrix("mMatrix", model);
    program.setVector4("color", color);
    setOptionalFloat(program, "pulseDistance", pulseDistance, "pulseDistance not found\n");
    setOptionalFloat(program, "objDistance", objDistance, "objDistance not found\n");
    const GLint position = enablePositions(program, *entry);
    const GLint normal = enableNormals(program, *entry);
    drawIndexed(*entry);
    ++counts.worldCube;
    endMeshPass(position, normal);
    ShaderProgram::unuse();
}

namespace {

// A batch vertex: the mesh's position and normal, the cube's placement
// (corner, size), its colour and its distance to its point.
constexpr std::size_t batchFloats = 3 + 3 + 4 + 4 + 1;
constexpr GLsizei batchStride = static_cast<GLsizei>(batchFloats * sizeof(float));

struct BatchAttribute {
    const char* name;
    GLint size;
    std::size_t offset; // in floats
    const char* label;
};
constexpr BatchAttribute batchAttributes[] = {
    { "position", 3, 0, "glVertexAttribPointer ( positions )" },
    { "normal", 3, 3, "glVertexAttribPointer ( normals )" },
    { "placement", 4, 6, "glVertexAttribPointer ( placement )" },
    { "colour", 4, 10, "glVertexAttribPointer ( colour )" },
    { "objDistance", 1, 14, "glVertexAttribPointer ( objDistance )" },
};

} // namespace

const std::vector<Renderer::BatchTriangle>& Renderer::trianglesOf(const Mesh& mesh)
{
    if (batchMesh == &mesh)
        return batchTriangles;
    batchMesh = &mesh;
    batchTriangles.clear();
    for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const unsigned int* at = &mesh.indices[t];
        if (at[0] >= mesh.positions.size() || at[1] >= mesh.positions.size() || at[2] >= mesh.positions.size())
            continue;
        const glm::vec3 a(mesh.positions[at[0]]), b(mesh.positions[at[1]]), c(mesh.positions[at[2]]);
        // Counter-clockwise seen from outside, as the mesh loader keeps them.
        batchTriangles.push_back({ { at[0], at[1], at[2] }, a, glm::cross(b - a, c - a) });
    }
    batchSlot.assign(mesh.positions.size(), -1);
    return batchTriangles;
}

void Renderer::fillBatch(const Mesh& mesh, const glm::vec3& camera, const std::vector<WorldCube>& cubes)
{
    const std::vector<BatchTriangle>& triangles = trianglesOf(mesh);
    const bool hasNormals = mesh.normals.size() == mesh.positions.size();
    batch.clear();
    batchIndices.clear();
    unsigned int written = 0; // vertices
    for (const WorldCube& cube : cubes) {
        if (!(cube.size > 0.0f))
            continue; // a cube of no size covers no pixel
        const unsigned int first = written;
        for (const BatchTriangle& triangle : triangles) {
            if (glm::dot(triangle.facing, camera - (cube.corner + cube.size * triangle.corner)) <= 0.0f)
                continue; // turned away from the camera
            // A vertex two visible triangles share is sent, and shaded, once.
            for (const unsigned int index : triangle.index) {
                int& slot = batchSlot[index];
                if (slot < 0) {
                    slot = static_cast<int>(written++ - first);
                    const glm::vec3 p(mesh.positions[index]);
                    const glm::vec3 n = hasNormals ? mesh.normals[index] : glm::normalize(triangle.facing);
                    batch.insert(batch.end(),
                        { p.x, p.y, p.z, n.x, n.y, n.z, cube.corner.x, cube.corner.y, cube.corner.z, cube.size,
                            cube.colour.r, cube.colour.g, cube.colour.b, cube.colour.a, cube.distance });
                }
                batchIndices.push_back(first + static_cast<unsigned int>(slot));
            }
        }
        for (const BatchTriangle& triangle : triangles)
            for (const unsigned int index : triangle.index)
                batchSlot[index] = -1;
    }
}

void Renderer::drawWorldCubes(Mesh* mesh, ShaderProgram& program, const glm::mat4& projection, const glm::mat4& view,
    const glm::mat4& grid, const std::vector<WorldCube>& cubes, float pulseDistance)
{
    counts.worldCube += static_cast<std::uint32_t>(cubes.size());
    if (mesh == nullptr || cubes.empty())
        return;
    // The camera in grid coordinates, where a cube's faces keep the mesh's
    // normals: the grid is only turned and moved.
    fillBatch(*mesh, glm::vec3(glm::inverse(view * grid) * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)), cubes);
    if (batchIndices.empty())
        return;

    batchBuffer.fillAndBind(static_cast<GLsizeiptr>(batch.size() * sizeof(float)), batch.data());
    batchIndexBuffer.fillAndBind(
        static_cast<GLsizeiptr>(batchIndices.size() * sizeof(unsigned int)), batchIndices.data());
    program.use();
    program.setMatrix("viewProjection", projection * view);
    program.setMatrix("gridMatrix", grid);
    setOptionalFloat(program, "pulseDistance", pulseDistance, "pulseDistance not found\n");
    GLint enabled[std::size(batchAttributes)];
    std::size_t count = 0;
    for (const BatchAttribute& attribute : batchAttributes) {
        const GLint location = program.getAttribLocation(attribute.name);
        if (location == -1)
            continue; // warned by the lookup; a shader may leave one out
        glVertexAttribPointer(static_cast<GLuint>(location), attribute.size, GL_FLOAT, GL_FALSE, batchStride,
            bufferOffset(attribute.offset * sizeof(float)));
        checkGLError(attribute.label);
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        checkGLError("glEnableVertexAttribArray ( world cubes )");
        enabled[count++] = location;
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(batchIndices.size()), GL_UNSIGNED_INT, bufferOffset(0));
    checkGLError("glDrawElements (world cubes)");
    for (std::size_t i = 0; i < count; ++i)
        glDisableVertexAttribArray(static_cast<GLuint>(enabled[i]));
    checkGLError("glDisableVertexAttribArray ( world cubes )");
    batchIndexBuffer.unbind();
    batchBuffer.unbind();
    ShaderProgram::unuse();
}

void Renderer::drawTexturedQuad(
    const glm::vec2& lowerLeft, const glm::vec2& upperRight, Texture* texture, float alphaFact)
{
    // Blended at no opacity the quad changes no pixel: counted, not drawn.
    if (!(alphaFact > 0.0f)) {
        ++counts.texturedQuad;
        return;
    }
    // The screen quad's corners and texture coordinates, its corners moved
    // to the rectangle's.
    float corners[16];
    std::copy(std::begin(ScreenQuad::vertices), std::end(ScreenQuad::vertices), corners);
    corners[0] = upperRight.x;
    corners[1] = upperRight.y;
    corners[4] = lowerLeft.x;
    corners[5] = upperRight.y;
    corners[8] = lowerLeft.x;
    corners[9] = lowerLeft.y;
    corners[12] = upperRight.x;
    corners[13] = lowerLeft.y;

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    textureProgram->use();
    textureProgram->setTexture2D("texture", *texture, 0);
    setOptionalFloat(*textureProgram, "alphaFact", alphaFact, "alphaFact not found\n");

    // Client-side arrays: this pass relies on no buffer object being bound.
    const GLint position = textureProgram->getAttribLocation("position");
    glVertexAttribPointer(static_cast<GLuint>(position), 2, GL_FLOAT, GL_FALSE, 16, &corners[0]);
    checkGLError("glVertexAttribPointer ( positions )");
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    checkGLError("glEnableVertexAttribArray ( positions )");
    const GLint texCoord = textureProgram->getAttribLocation("texCoord");
    glVertexAttribPointer(static_cast<GLuint>(texCoord), 2, GL_FLOAT, GL_FALSE, 16, &corners[2]);
    checkGLError("glVertexAttribPointer ( texCoord )");
    glEnableVertexAttribArray(static_cast<GLuint>(texCoord));
    checkGLError("glEnableVertexAttribArray ( texCoord )");

    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, ScreenQuad::indices);
    checkGLError("glDrawElements (ScreenQuad)");
    ++counts.texturedQuad;

    glDisableVertexAttribArray(static_cast<GLuint>(texCoord));
    glDisableVertexAttribArray(static_cast<GLuint>(position));
    ShaderProgram::unsetTexture2D(*texture, 0);
    ShaderProgram::unuse();
    glDisable(GL_BLEND);
}
