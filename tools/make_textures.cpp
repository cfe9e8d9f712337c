// Writes the demo's six images into the directory given as the only argument.
// Everything is painted from fixed seeds, so a rerun reproduces the committed
// files byte for byte (see the tools_regenerate_identical test).

#include "Textures.h"

#include <IL/il.h>

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_textures <output directory>\n";
        return 2;
    }
    try {
        const std::filesystem::path out = argv[1];
        std::filesystem::create_directories(out);
        ilInit();
        bool ok = paintWall().savePng((out / "wall.png").string());
        for (int i = 1; i <= 3; ++i)
            ok = paintStrip(i).savePng((out / ("rect" + std::to_string(i) + ".png")).string()) && ok;
        ok = paintTestCard().savePng((out / "test.png").string()) && ok;
        ok = paintFade().savePng((out / "fade.png").string()) && ok;
        return ok ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "make_textures: " << error.what() << "\n";
        return 1;
    }
}
