#include "mesh/AMeshLoader.h"

#include "core/FileKind.h"
#include "core/Logger.h"
#include "platform/desktop/mesh/AMesh.h"

#include <assimp/cimport.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <unistd.h>

namespace {

struct SceneRelease {
    void operator()(const aiScene* scene) const { aiReleaseImport(scene); }
};
using ScenePtr = std::unique_ptr<const aiScene, SceneRelease>;

void logLoadFailure(const std::string& name, const char* reason)
{
    // One piece: at level Error the console ends every piece with a line end.
    VornE::log(VornE::Error, "Fail to load the mesh '" + name + "' : " + reason);
}

} // namespace

VornE::Ressource* AMeshLoader::load(const std::string& name)
{
    if (const std::string kind = nonRegularKind(name); !kind.empty()) {
        logLoadFailure(name, ("it is " + kind + ", not a model file").c_str());
        return nullptr;
    }
    {
        // Only a check that it opens, so a missing file never reaches Assimp.
        const int file = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (file < 0) {
            VornE::log(VornE::Error, "Unable to find '" + name + "': " + std::strerror(errno));
            return nullptr;
        }
        ::close(file);
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
