#include "mesh/AMeshLoader.h"

#include "core/FileKind.h"
#include "core/Logger.h"
#include "mesh/AMesh.h"

#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <fstream>
#include <memory>
#include <new>

namespace {

struct SceneRelease {
    void operator()(const aiScene* scene) const { aiReleaseImport(scene); }
};
using ScenePtr = std::unique_ptr<const aiScene, SceneRelease>;

void logLoadFailure(const std::string& name, const char* reason)
{
    VornE::log(VornE::Error, "Fail to load the mesh '", name, "' : ", reason, "\n");
}

} // namespace

VornE::Ressource* AMeshLoader::load(const std::string& name)
{
    if (const std::string kind = nonRegularKind(name); !kind.empty()) {
        logLoadFailure(name, ("it is " + kind + ", not a model file").c_str());
        return nullptr;
    }
    {
        // Only an existence check, so a missing file never reaches Assimp.
        std::ifstream file(name);
        if (file.fail()) {
            VornE::log(VornE::Error, "Unable to find '", name, "'\n");
            return nullptr;
        }
    }

    const ScenePtr scene(aiImportFile(name.c_str(), aiProcessPreset_TargetRealtime_Quality));
    if (!scene) {
        logLoadFailure(name, aiGetErrorString());
        return nullptr;
    }
    // Assimp accepts some files that hold no geometry (an OBJ of normals
    // only); AMesh would then have nothing to copy, and the renderer would
    // draw an empty mesh.
    if (scene->mNumMeshes == 0 || scene->mMeshes == nullptr || scene->mMeshes[0] == nullptr
        || scene->mMeshes[0]->mNumVertices == 0) {
        logLoadFailure(name, "no mesh in the file");
        return nullptr;
    }

    VornE::log(VornE::Info, "Loading of file '", name, "' succeed\n");

    try {
        return new AMesh(name, scene.get());
    } catch (const std::bad_alloc&) {
        VornE::log(VornE::Error, "Fail to allocate memory for AMesh\n");
        return nullptr;
    }
}
