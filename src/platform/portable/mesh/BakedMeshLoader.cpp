// The web page's mesh source: no model importer runs in the browser, so the
// model's mesh is read from the file baked beside it at build time
// (tools/bake_mesh: the desktop's own import, written out). Resources keep
// the model's name, so everything that asks for the model is unchanged.

#include "mesh/AMeshLoader.h"

#include "core/Logger.h"
#include "mesh/Mesh.h"
#include "mesh/MeshFile.h"

#include <memory>

VornE::Ressource* AMeshLoader::load(const std::string& name)
{
    const std::string baked = name + ".mesh";
    std::string error;
    std::unique_ptr<Mesh> mesh = MeshFile::read(baked, name, error);
    if (!mesh) {
        VornE::log(VornE::Error, "Fail to load the mesh '" + name + "' : " + error);
        return nullptr;
    }
    VornE::log(VornE::Info, "Loading of file '", name, "' succeed\n");
    return mesh.release();
}
