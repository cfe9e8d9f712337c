// Writes cube2.obj, the unit cube from (0, 0, 0) to (1, 1, 1), into the directory
// given as the only argument. Each face has its own normal and maps the whole
// texture once, so the importer keeps 24 distinct vertices (4 per face).

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

struct Face {
    const char* name;
    std::array<int, 3> normal;
    // Corners counter-clockwise seen from outside, starting at the corner that
    // takes texture coordinate (0, 0): bottom left, bottom right, top right, top left.
    std::array<std::array<int, 3>, 4> corners;
};

const std::array<Face, 6> faces = { {
    { "+X", { 1, 0, 0 }, { { { 1, 0, 1 }, { 1, 0, 0 }, { 1, 1, 0 }, { 1, 1, 1 } } } },
    { "-X", { -1, 0, 0 }, { { { 0, 0, 0 }, { 0, 0, 1 }, { 0, 1, 1 }, { 0, 1, 0 } } } },
    { "+Y", { 0, 1, 0 }, { { { 0, 1, 1 }, { 1, 1, 1 }, { 1, 1, 0 }, { 0, 1, 0 } } } },
    { "-Y", { 0, -1, 0 }, { { { 0, 0, 0 }, { 1, 0, 0 }, { 1, 0, 1 }, { 0, 0, 1 } } } },
    { "+Z", { 0, 0, 1 }, { { { 0, 0, 1 }, { 1, 0, 1 }, { 1, 1, 1 }, { 0, 1, 1 } } } },
    { "-Z", { 0, 0, -1 }, { { { 1, 0, 0 }, { 0, 0, 0 }, { 0, 1, 0 }, { 1, 1, 0 } } } },
} };

// The eight corners in binary order: index = x + 2y + 4z.
int cornerIndex(const std::array<int, 3>& c)
{
    return c[0] + 2 * c[1] + 4 * c[2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_cube_model <output directory>\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const std::filesystem::path path = dir / "cube2.obj";
    std::ofstream out(path, std::ios::binary);
    if (!out) {
        std::cerr << "make_cube_model: cannot write '" << path.string() << "'\n";
        return 1;
    }
    out << "# Lumaroll unit cube: (0 0 0) to (1 1 1), one normal per face,\n"
        << "# each face mapping the whole texture, counter-clockwise from outside.\n"
        << "o cube\n";
    for (int i = 0; i < 8; ++i)
        out << "v " << (i & 1) << ".0 " << ((i >> 1) & 1) << ".0 " << ((i >> 2) & 1) << ".0\n";
    out << "vt 0.0 0.0\nvt 1.0 0.0\nvt 1.0 1.0\nvt 0.0 1.0\n";
    for (const Face& face : faces)
        out << "vn " << face.normal[0] << ".0 " << face.normal[1] << ".0 " << face.normal[2] << ".0\n";
    out << "s off\n";
    for (std::size_t f = 0; f < faces.size(); ++f) {
        out << "# " << faces[f].name << "\nf";
        for (std::size_t k = 0; k < 4; ++k)
            out << ' ' << cornerIndex(faces[f].corners[k]) + 1 << '/' << k + 1 << '/' << f + 1;
        out << '\n';
    }
    out.close();
    if (!out) {
        std::cerr << "make_cube_model: failed while writing '" << path.string() << "'\n";
        return 1;
    }
    return 0;
}
