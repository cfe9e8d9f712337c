#include "mesh/MeshFile.h"

#include "mesh/Mesh.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace {

const std::string header = "lumaroll mesh 1\n";

template <class T> void writeArray(std::ofstream& file, const std::vector<T>& values)
{
    file.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(T)));
}

template <class T> bool readArray(std::ifstream& file, std::uint32_t count, std::vector<T>& values)
{
    values.resize(count);
    return static_cast<bool>(
        file.read(reinterpret_cast<char*>(values.data()), static_cast<std::streamsize>(count * sizeof(T))));
}

} // namespace

namespace MeshFile {

bool write(const Mesh& mesh, const std::string& path, std::string& error)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::uint32_t counts[5] = { static_cast<std::uint32_t>(mesh.positions.size()),
        static_cast<std::uint32_t>(mesh.normals.size()), static_cast<std::uint32_t>(mesh.colours.size()),
        static_cast<std::uint32_t>(mesh.texCoords.size()), static_cast<std::uint32_t>(mesh.indices.size()) };
    file << header;
    file.write(reinterpret_cast<const char*>(counts), sizeof counts);
    writeArray(file, mesh.positions);
    writeArray(file, mesh.normals);
    writeArray(file, mesh.colours);
    writeArray(file, mesh.texCoords);
    writeArray(file, mesh.indices);
    file.close();
    if (file.fail())
        error = "cannot write '" + path + "'";
    return !file.fail();
}

std::unique_ptr<Mesh> read(const std::string& path, const std::string& name, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open '" + path + "'";
        return nullptr;
    }
    std::string firstLine(header.size(), '\0');
    std::uint32_t counts[5] = {};
    if (!file.read(firstLine.data(), static_cast<std::streamsize>(firstLine.size())) || firstLine != header) {
        error = "'" + path + "' is not a mesh file";
        return nullptr;
    }
    // Each array is at most what the rest of the file could hold, so that a
    // damaged count cannot ask for gigabytes.
    const auto start = file.tellg();
    file.seekg(0, std::ios::end);
    const auto left = static_cast<std::uint64_t>(file.tellg() - start);
    file.seekg(start);
    auto mesh = std::make_unique<Mesh>(name);
    const bool whole = file.read(reinterpret_cast<char*>(counts), sizeof counts)
        && std::uint64_t { counts[0] } * sizeof(glm::vec4) + std::uint64_t { counts[1] } * sizeof(glm::vec3)
                + std::uint64_t { counts[2] } * sizeof(glm::vec4) + std::uint64_t { counts[3] } * sizeof(glm::vec2)
                + std::uint64_t { counts[4] } * sizeof(std::uint32_t) + sizeof counts
            == left
        && readArray(file, counts[0], mesh->positions) && readArray(file, counts[1], mesh->normals)
        && readArray(file, counts[2], mesh->colours) && readArray(file, counts[3], mesh->texCoords)
        && readArray(file, counts[4], mesh->indices);
    if (!whole) {
        error = "'" + path + "' is cut short or damaged";
        return nullptr;
    }
    for (const unsigned int index : mesh->indices)
        if (index >= mesh->positions.size()) {
            error = "'" + path + "' refers to a vertex it does not hold";
            return nullptr;
        }
    return mesh;
}

} // namespace MeshFile
