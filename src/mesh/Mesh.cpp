#include "mesh/Mesh.h"

Mesh::Mesh(const std::string& name)
    : name(name)
{
}
