#include "render/FrameReadback.h"

#include <GL/glew.h>

void readFrame(int width, int height, RgbFrame& frame)
{
    frame.width = width;
    frame.height = height;
    frame.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
}
