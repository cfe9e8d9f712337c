#pragma once

#include <memory>
#include <string>

class Mesh;

// A Mesh as a file of its own arrays, as they stand after a model's import:
// the web page reads the cube this way, where no model importer runs, from a
// file baked at build time from the imported model (tools/bake_mesh).
// Little-endian; a header line, the five array lengths, then the arrays.
namespace MeshFile {

// False, with the reason in `error`, when the file cannot be written whole.
bool write(const Mesh& mesh, const std::string& path, std::string& error);
// The mesh named `name`, read from `path`; null, with the reason in `error`,
// for a file that is missing, not a mesh file, cut short or inconsistent.
std::unique_ptr<Mesh> read(const std::string& path, const std::string& name, std::string& error);

} // namespace MeshFile
