#include "Textures.h"

#include "Shapes.h"

#include <cmath>

namespace {

constexpr int cardSize = 256;

void fillRect(Image& image, int x0, int y0, int x1, int y1, const Rgba& colour)
{
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x)
            image.set(x, y, colour);
    }
}

} // namespace

Image paintTestCard()
{
    Image image(cardSize, cardSize, 3);
    image.fill({ 0.22f, 0.22f, 0.24f, 1.0f });

    // Grid every 32 px, offset by half a line so it sits symmetrically.
    for (int y = 0; y < cardSize; ++y) {
        for (int x = 0; x < cardSize; ++x) {
            if (x % 32 == 16 || y % 32 == 16)
                image.set(x, y, { 0.55f, 0.55f, 0.58f, 1.0f });
        }
    }

    // Colour bars at 75%, in the classic order.
    const Rgba bars[] = { { 0.75f, 0.75f, 0.75f, 1.0f }, { 0.75f, 0.75f, 0.0f, 1.0f }, { 0.0f, 0.75f, 0.75f, 1.0f },
        { 0.0f, 0.75f, 0.0f, 1.0f }, { 0.75f, 0.0f, 0.75f, 1.0f }, { 0.75f, 0.0f, 0.0f, 1.0f },
        { 0.0f, 0.0f, 0.75f, 1.0f }, { 0.0f, 0.0f, 0.0f, 1.0f } };
    for (int i = 0; i < 8; ++i)
        fillRect(image, 32 + i * 24, 56, 32 + (i + 1) * 24, 104, bars[i]);

    // Sixteen-step grey ramp.
    for (int i = 0; i < 16; ++i) {
        const float v = static_cast<float>(i) / 15.0f;
        fillRect(image, 32 + i * 12, 152, 32 + (i + 1) * 12, 184, { v, v, v, 1.0f });
    }

    // Circle and centre cross, anti-aliased.
    for (int y = 0; y < cardSize; ++y) {
        for (int x = 0; x < cardSize; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float ring = coverage(std::fabs(circleDistance(px, py, 128.0f, 128.0f, 110.0f)) - 1.2f);
            const float cross
                = std::max(coverage(std::fabs(px - 128.0f) - 0.6f) * coverage(std::fabs(py - 128.0f) - 12.0f),
                    coverage(std::fabs(py - 128.0f) - 0.6f) * coverage(std::fabs(px - 128.0f) - 12.0f));
            image.blend(x, y, { 1.0f, 1.0f, 1.0f, 1.0f }, std::max(ring, cross));
        }
    }

    // One colour per corner (red top left, green top right, white bottom right,
    // blue bottom left) tells which way up and round the card arrived.
    const Rgba corners[] = { { 0.95f, 0.1f, 0.1f, 1.0f }, { 0.1f, 0.9f, 0.1f, 1.0f }, { 1.0f, 1.0f, 1.0f, 1.0f },
        { 0.15f, 0.3f, 1.0f, 1.0f } };
    for (int y = 0; y < 28; ++y) {
        for (int x = 0; x + y < 28; ++x) {
            image.set(x, y, corners[0]);
            image.set(cardSize - 1 - x, y, corners[1]);
            image.set(cardSize - 1 - x, cardSize - 1 - y, corners[2]);
            image.set(x, cardSize - 1 - y, corners[3]);
        }
    }
    return image;
}

Image paintFade()
{
    Image image(cardSize, cardSize, 4);
    for (int y = 0; y < cardSize; ++y) {
        for (int x = 0; x < cardSize; ++x)
            image.set(x, y, { 0.0f, 0.0f, 0.0f, 1.0f - static_cast<float>(x) / static_cast<float>(cardSize - 1) });
    }
    return image;
}
