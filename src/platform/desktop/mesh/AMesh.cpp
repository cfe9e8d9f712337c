#include "platform/desktop/mesh/AMesh.h"

#include <assimp/scene.h>

AMesh::AMesh(const std::string& name, const aiScene* scene)
    : Mesh(name)
{
    if (scene == nullptr || scene->mNumMeshes == 0 || scene->mMeshes == nullptr || scene->mMeshes[0] == nullptr)
        return;
    const aiMesh& mesh = *scene->mMeshes[0];
    const unsigned int count = mesh.mVertices != nullptr ? mesh.mNumVertices : 0;

    positions.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
        positions.emplace_back(mesh.mVertices[i].x, mesh.mVertices[i].y, mesh.mVertices[i].z, 1.0f);

    if (mesh.mColors[0] != nullptr) {
        colours.reserve(count);
        for (unsigned int i = 0; i < count; ++i) {
            const aiColor4D& colour = mesh.mColors[0][i];
            colours.emplace_back(colour.r, colour.g, colour.b, colour.a);
        }
    }

    if (mesh.mNormals != nullptr) {
        normals.reserve(count);
        for (unsigned int i = 0; i < count; ++i)
            normals.emplace_back(mesh.mNormals[i].x, mesh.mNormals[i].y, mesh.mNormals[i].z);
    }

    if (mesh.mTextureCoords[0] != nullptr) {
        texCoords.reserve(count);
        for (unsigned int i = 0; i < count; ++i)
            texCoords.emplace_back(mesh.mTextureCoords[0][i].x, mesh.mTextureCoords[0][i].y);
    }

    if (mesh.mFaces != nullptr) {
        indices.reserve(static_cast<std::size_t>(mesh.mNumFaces) * 3);
        for (unsigned int f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mIndices == nullptr)
                continue;
            indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
        }
    }
}
