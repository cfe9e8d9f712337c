#include "capture/PngFile.h"

#include <IL/il.h>

#include <algorithm>
#include <iostream>

namespace {

void initialiseDevIL()
{
    static const bool initialised = [] {
        ilInit();
        return true;
    }();
    (void)initialised;
}

} // namespace

bool savePng(const RgbFrame& frame, const std::string& path)
{
    initialiseDevIL();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // A new DevIL image is bottom-up, as the frame is; the writer turns it upright.
    bool saved = ilTexImage(static_cast<ILuint>(frame.width), static_cast<ILuint>(frame.height), 1, 3, IL_RGB,
                     IL_UNSIGNED_BYTE, const_cast<unsigned char*>(frame.rgb.data()))
        == IL_TRUE;
    ilEnable(IL_FILE_OVERWRITE);
    saved = saved && ilSave(IL_PNG, path.c_str()) == IL_TRUE;
    ilDeleteImages(1, &image);
    if (!saved)
        std::cerr << "Could not write '" << path << "'\n";
    return saved;
}

RgbFrame loadPng(const std::string& path)
{
    initialiseDevIL();
    RgbFrame frame;
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    if (ilLoadImage(path.c_str()) == IL_TRUE && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE) == IL_TRUE) {
        frame.width = ilGetInteger(IL_IMAGE_WIDTH);
        frame.height = ilGetInteger(IL_IMAGE_HEIGHT);
        const auto row = static_cast<std::size_t>(frame.width * 3);
        const unsigned char* data = ilGetData();
        frame.rgb.assign(data, data + row * static_cast<std::size_t>(frame.height));
        if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_UPPER_LEFT)
            for (int y = 0; y < frame.height / 2; ++y)
                std::swap_ranges(frame.rgb.begin() + static_cast<long>(row) * y,
                    frame.rgb.begin() + static_cast<long>(row) * (y + 1),
                    frame.rgb.begin() + static_cast<long>(row) * (frame.height - 1 - y));
    }
    ilDeleteImages(1, &image);
    return frame;
}
