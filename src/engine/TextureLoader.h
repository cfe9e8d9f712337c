#pragma once

#include "core/RessourceLoader.h"

#include <string>

namespace VornE {

// Decodes an image file with DevIL and uploads its pixels unchanged (not
// converted, resized or flipped) into a new Texture2D. Loads need the GL
// context current; the loader itself may be built before the window.
class TextureLoader : public RessourceLoader {
public:
    // Initialises DevIL, once per loader.
    TextureLoader();
    ~TextureLoader() override = default;

    // A new Texture2D owned by the caller, or null after an Error line naming
    // the path: the file is missing or undecodable, or its pixels are not 8
    // bits per channel in a layout GL takes as it is. A failed load creates
    // no GL texture. GL errors during the upload throw GLErrorException.
    Ressource* load(const std::string& name) override;
};

} // namespace VornE
