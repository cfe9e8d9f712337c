// Imports cube2.obj the way the demo does and checks the shape the renderer and
// the room rely on: 24 vertices and 12 triangles, the unit cube from 0 to 1,
// outward per-face normals, triangles wound counter-clockwise from outside, and
// every face showing the whole texture once, not mirrored.

#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cmath>
#include <iostream>
#include <set>
#include <utility>

namespace {

int failures = 0;

void expect(bool condition, const char* what)
{
    if (!condition) {
        std::cerr << "FAILED: " << what << "\n";
        ++failures;
    }
}

aiVector3D cross(const aiVector3D& a, const aiVector3D& b)
{
    return { a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x };
}

bool isZeroOrOne(float v)
{
    return v == 0.0f || v == 1.0f;
}

void checkMesh(const aiMesh& mesh)
{
    expect(mesh.mNumVertices == 24, "24 vertices (4 per face, none shared between faces)");
    expect(mesh.mNumFaces == 12, "12 triangles");
    expect(mesh.mNormals != nullptr, "normals present");
    expect(mesh.mTextureCoords[0] != nullptr, "texture coordinates in channel 0");
    if (!mesh.mNormals || !mesh.mTextureCoords[0])
        return;

    bool corners = true;
    bool outward = true;
    std::set<std::pair<int, std::pair<float, float>>> uvPerFace;
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& p = mesh.mVertices[i];
        const aiVector3D& n = mesh.mNormals[i];
        const aiVector3D& uv = mesh.mTextureCoords[0][i];
        corners = corners && isZeroOrOne(p.x) && isZeroOrOne(p.y) && isZeroOrOne(p.z) && isZeroOrOne(uv.x)
            && isZeroOrOne(uv.y);
        // An outward normal of +axis sits on the face at 1 on that axis, -axis at 0.
        const float components[3] = { n.x, n.y, n.z };
        const float position[3] = { p.x, p.y, p.z };
        int axis = -1;
        for (int a = 0; a < 3; ++a) {
            if (std::fabs(components[a]) == 1.0f)
                axis = a;
        }
        outward = outward && axis >= 0 && std::fabs(n.Length() - 1.0f) < 1e-6f
            && position[axis] == (components[axis] > 0.0f ? 1.0f : 0.0f);
        const int faceId = axis < 0 ? -1 : axis * 2 + (components[axis] > 0.0f ? 1 : 0);
        uvPerFace.insert({ faceId, { uv.x, uv.y } });
    }
    expect(corners, "positions are cube corners in [0, 1] and texture coordinates are 0 or 1");
    expect(outward, "every normal is a unit axis vector pointing out of its face");
    expect(uvPerFace.size() == 24, "each of the six faces uses all four texture corners");

    bool triangles = true;
    bool counterClockwise = true;
    bool notMirrored = true;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3) {
            triangles = false;
            continue;
        }
        const unsigned a = face.mIndices[0], b = face.mIndices[1], c = face.mIndices[2];
        const aiVector3D e1 = mesh.mVertices[b] - mesh.mVertices[a];
        const aiVector3D e2 = mesh.mVertices[c] - mesh.mVertices[a];
        const aiVector3D& n = mesh.mNormals[a];
        counterClockwise = counterClockwise && cross(e1, e2) * n > 0.0f;
        // Solve for the surface directions of increasing u and v; seen from
        // outside, u must run to the right of v (their cross product along n).
        const aiVector3D t1 = mesh.mTextureCoords[0][b] - mesh.mTextureCoords[0][a];
        const aiVector3D t2 = mesh.mTextureCoords[0][c] - mesh.mTextureCoords[0][a];
        const float det = t1.x * t2.y - t2.x * t1.y;
        const aiVector3D dPdu = (e1 * t2.y - e2 * t1.y) / det;
        const aiVector3D dPdv = (e2 * t1.x - e1 * t2.x) / det;
        notMirrored = notMirrored && det != 0.0f && cross(dPdu, dPdv) * n > 0.0f;
    }
    expect(triangles, "every face is a triangle");
    expect(counterClockwise, "triangles wind counter-clockwise seen from outside");
    expect(notMirrored, "textures read the right way round seen from outside");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: check_cube_model <cube2.obj>\n";
        return 2;
    }
    const aiScene* scene = aiImportFile(argv[1], aiProcessPreset_TargetRealtime_Quality);
    if (!scene) {
        std::cerr << "FAILED: import of '" << argv[1] << "': " << aiGetErrorString() << "\n";
        return 1;
    }
    expect(scene->mNumMeshes == 1, "exactly one mesh");
    if (scene->mNumMeshes >= 1)
        checkMesh(*scene->mMeshes[0]);
    aiReleaseImport(scene);
    if (failures == 0)
        std::cout << "cube model imports as the textured unit cube\n";
    return failures == 0 ? 0 : 1;
}
