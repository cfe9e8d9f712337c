// Bakes the demo's cube model for the web page, where no model importer
// runs: imports MODEL as the desktop program does and writes the mesh it
// gets to OUTPUT (MeshFile.h).
//   bake_mesh MODEL OUTPUT

#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "mesh/MeshFile.h"

#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: bake_mesh MODEL OUTPUT" << std::endl;
        return 2;
    }
    AMeshLoader loader;
    const std::unique_ptr<VornE::Ressource> mesh(loader.load(argv[1]));
    if (!mesh)
        return 1; // the loader has said why
    std::string error;
    if (!MeshFile::write(static_cast<const Mesh&>(*mesh), argv[2], error)) {
        std::cerr << "bake_mesh: " << error << std::endl;
        return 1;
    }
    return 0;
}
