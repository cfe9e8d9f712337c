#include "WallPanels.h"

#include "Noise.h"
#include "Random.h"
#include "Shapes.h"

#include <cmath>

namespace {

constexpr int cell = 128;
constexpr float bevelWidth = 6.0f;
constexpr float pi = 3.14159265f;

const Rgba grooveColour { 0.10f, 0.10f, 0.11f, 1.0f };
const Rgba cavityColour { 0.04f, 0.04f, 0.045f, 1.0f };
const Rgba ochre { 0.58f, 0.42f, 0.12f, 1.0f };
const Rgba stripeBlack { 0.09f, 0.09f, 0.09f, 1.0f };
const Rgba copper { 0.46f, 0.30f, 0.21f, 1.0f };
const Rgba labelPaint { 0.64f, 0.62f, 0.55f, 1.0f };
const Rgba lampAmber { 0.75f, 0.42f, 0.10f, 1.0f };

enum class RivetRows { All, Corners, None };

RivetRows rivetRowsOf(PanelKind kind)
{
    switch (kind) {
    case PanelKind::Plain:
    case PanelKind::Hatch:
    case PanelKind::Ribs:
    case PanelKind::Inset:
        return RivetRows::All;
    case PanelKind::Vent:
    case PanelKind::Plate:
    case PanelKind::Stripes:
        return RivetRows::Corners;
    case PanelKind::Conduit:
        return RivetRows::None;
    }
    return RivetRows::None;
}

float dome(float px, float py, const Point& centre, float radius)
{
    const float d2 = ((px - centre.x) * (px - centre.x) + (py - centre.y) * (py - centre.y)) / (radius * radius);
    return d2 < 1.0f ? std::sqrt(1.0f - d2) : 0.0f;
}

// Recessed slots, laid out to fill whichever way the panel is long.
void ventSlots(const Panel& panel, float px, float py, Surface& s)
{
    const bool wide = panel.width > panel.height;
    const float slotW = wide ? 56.0f : 64.0f;
    const float slotH = wide ? 12.0f : 10.0f;
    const float margin = 30.0f;
    const int cols = wide ? (panel.width - 80) / 72 : 1;
    const int rows = wide ? 3 : (panel.height - 60) / 26;
    const float spanX = (static_cast<float>(panel.width) - 2.0f * margin) / static_cast<float>(cols);
    const float spanY = static_cast<float>(panel.height - 40) / static_cast<float>(rows);
    const int col = std::clamp(static_cast<int>((px - margin) / spanX), 0, cols - 1);
    const int row = std::clamp(static_cast<int>((py - 20.0f) / spanY), 0, rows - 1);
    const float cx = margin + (static_cast<float>(col) + 0.5f) * spanX;
    const float cy = 20.0f + (static_cast<float>(row) + 0.5f) * spanY;
    const float d = roundedBoxDistance(px, py, cx, cy, slotW * 0.5f, slotH * 0.5f, slotH * 0.5f);
    const float depth = smoothstep(2.0f, -2.5f, d);
    s.height -= 1.3f * depth;
    // Darker towards the slot's lower lip, where the light from above does not reach.
    const float shadow = clamp01((py - cy + slotH * 0.5f) / slotH);
    s.albedo = mix(s.albedo, scaled(cavityColour, 1.0f + 0.8f * (1.0f - shadow)), depth);
    s.face = s.face && depth <= 0.0f;
}

void hatch(const Panel& panel, float px, float py, Surface& s)
{
    const float cx = static_cast<float>(panel.width) * 0.5f;
    const float cy = static_cast<float>(panel.height) * 0.5f;
    const float r = std::hypot(px - cx, py - cy);
    const float ring = 1.0f - smoothstep(2.0f, 6.0f, std::fabs(r - 182.0f));
    const float disc = smoothstep(178.0f, 172.0f, r);
    // Turned rings on the lid catch the light like a lathe finish.
    s.height += 0.22f * disc + 0.02f * disc * std::sin(r * 1.1f) - 0.95f * ring;
    s.albedo = mix(s.albedo, scaled(s.albedo, 0.88f), disc);
    s.albedo = mix(s.albedo, grooveColour, ring);
    for (int i = 0; i < 12; ++i) {
        const float angle = static_cast<float>(i) * (pi / 6.0f) + pi / 12.0f;
        const Point bolt { cx + 150.0f * std::cos(angle), cy + 150.0f * std::sin(angle) };
        s.height += 0.7f * dome(px, py, bolt, 7.5f);
    }
    const float well = smoothstep(48.0f, 42.0f, r);
    s.height -= 0.5f * well;
    s.albedo = mix(s.albedo, scaled(s.albedo, 0.6f), well);
    const float handle = smoothstep(1.5f, -1.5f, capsuleDistance(px, py, cx - 30.0f, cy, cx + 30.0f, cy, 7.0f));
    s.height += 0.9f * handle;
    s.albedo = mix(s.albedo, ochre, handle);
    s.face = s.face && r > 190.0f;
}

void diamondPlate(const Panel& panel, float px, float py, Surface& s)
{
    const float spacing = 22.0f;
    const int i = static_cast<int>(std::floor(px / spacing));
    const int j = static_cast<int>(std::floor(py / spacing));
    const float cx = (static_cast<float>(i) + 0.5f) * spacing;
    const float cy = (static_cast<float>(j) + 0.5f) * spacing;
    // Whole lozenges only: the field is decided by each lozenge's centre.
    const float margin = 30.0f;
    if (cx < margin || cy < margin || cx > static_cast<float>(panel.width) - margin
        || cy > static_cast<float>(panel.height) - margin)
        return;
    const float sign = ((i + j) & 1) ? 1.0f : -1.0f;
    const float reach = 4.2f;
    const float d = capsuleDistance(px, py, cx - reach, cy - sign * reach, cx + reach, cy + sign * reach, 2.4f);
    s.height += 0.4f * smoothstep(1.2f, -1.8f, d);
    s.face = false;
}

void hazardStripes(const Panel& panel, float px, float py, Surface& s, float wear)
{
    const float d
        = roundedBoxDistance(px, py, static_cast<float>(panel.width) * 0.5f, static_cast<float>(panel.height) * 0.5f,
            static_cast<float>(panel.width) * 0.5f - 26.0f, static_cast<float>(panel.height) * 0.5f - 20.0f, 3.0f);
    const float inside = coverage(d);
    if (inside <= 0.0f)
        return;
    const float period = 36.0f;
    const float phase = std::fmod(px + py, period);
    // Distance to the nearer stripe edge gives an anti-aliased boundary.
    const float edge = std::min(std::fabs(phase - period * 0.5f), std::min(phase, period - phase));
    const bool yellow = phase < period * 0.5f;
    const float blendToOther = clamp01(0.5f - edge);
    Rgba paint = yellow ? mix(ochre, stripeBlack, blendToOther) : mix(stripeBlack, ochre, blendToOther);
    // Worn patches let the bare steel through.
    const float bare = smoothstep(0.67f, 0.72f, wear);
    s.albedo = mix(s.albedo, mix(paint, scaled(s.albedo, 0.75f), bare), inside);
    s.height += 0.03f * inside * (1.0f - bare);
}

void ribs(const Panel& panel, float px, float py, Surface& s)
{
    const float d
        = roundedBoxDistance(px, py, static_cast<float>(panel.width) * 0.5f, static_cast<float>(panel.height) * 0.5f,
            static_cast<float>(panel.width) * 0.5f - 26.0f, static_cast<float>(panel.height) * 0.5f - 30.0f, 6.0f);
    const float inside = smoothstep(2.0f, -4.0f, d);
    const float wave = 0.5f - 0.5f * std::cos(2.0f * pi * (px - 26.0f) / 25.5f);
    s.height += inside * (0.35f * wave - 0.25f);
    s.albedo = mix(s.albedo, scaled(s.albedo, 0.8f + 0.25f * wave), inside);
    s.face = s.face && inside <= 0.0f;
}

void inset(const Panel& panel, float px, float py, Surface& s, float wear)
{
    const float w = static_cast<float>(panel.width);
    const float h = static_cast<float>(panel.height);
    const float recess = smoothstep(
        0.0f, -5.0f, roundedBoxDistance(px, py, w * 0.5f, h * 0.5f, w * 0.5f - 36.0f, h * 0.5f - 36.0f, 10.0f));
    s.height -= 0.45f * recess;
    s.albedo = mix(s.albedo, scaled(s.albedo, 0.8f), recess);

    // Identification plate with stencilled pseudo-glyphs.
    const float plateX = 62.0f, plateY = 60.0f, plateW = 184.0f, plateH = 52.0f;
    const float plate = smoothstep(1.0f, -2.0f,
        roundedBoxDistance(px, py, plateX + plateW * 0.5f, plateY + plateH * 0.5f, plateW * 0.5f, plateH * 0.5f, 4.0f));
    s.height += 0.5f * plate;
    s.albedo = mix(s.albedo, labelPaint, plate);
    const float gx = px - (plateX + 14.0f);
    const float gy = py - (plateY + 15.0f);
    if (gx >= 0.0f && gy >= 0.0f && gy < 21.0f) {
        const int glyph = static_cast<int>(gx / 20.0f);
        const int bx = static_cast<int>(std::fmod(gx, 20.0f) / 3.0f);
        const int by = static_cast<int>(gy / 3.0f);
        if (glyph < 8 && bx < 5) {
            const bool on
                = (hash3(static_cast<std::uint32_t>(glyph), static_cast<std::uint32_t>(by * 5 + bx), 77u) & 3u) != 0u;
            if (on)
                s.albedo = mix(s.albedo, stripeBlack, 0.85f * plate);
        }
    }
    for (int k = 0; k < 4; ++k) {
        const Point screw { plateX + ((k & 1) ? plateW - 6.0f : 6.0f), plateY + ((k & 2) ? plateH - 6.0f : 6.0f) };
        s.height += 0.3f * dome(px, py, screw, 3.0f);
    }

    // Stencilled chevrons across the recess, half worn away.
    const float paintLeft = smoothstep(0.72f, 0.6f, wear);
    for (int k = 0; k < 3; ++k) {
        const float cx = 170.0f + 64.0f * static_cast<float>(k);
        const float cy = 224.0f;
        const float d = std::min(capsuleDistance(px, py, cx - 20.0f, cy - 34.0f, cx + 14.0f, cy, 8.0f),
            capsuleDistance(px, py, cx + 14.0f, cy, cx - 20.0f, cy + 34.0f, 8.0f));
        s.albedo = mix(s.albedo, ochre, 0.55f * coverage(d) * paintLeft * recess);
    }

    // A row of indicator lamps in the lower right of the recess.
    for (int k = 0; k < 3; ++k) {
        const Point lamp { w - 80.0f - 34.0f * static_cast<float>(k), h - 76.0f };
        const float bezel = 1.0f - smoothstep(0.0f, 2.5f, std::fabs(circleDistance(px, py, lamp.x, lamp.y, 12.0f)));
        s.height += 0.35f * bezel;
        const float glass = coverage(circleDistance(px, py, lamp.x, lamp.y, 9.5f));
        s.height += 0.5f * glass * dome(px, py, lamp, 9.5f);
        s.albedo = mix(s.albedo, k == 0 ? lampAmber : scaled(lampAmber, 0.35f), glass);
    }
    s.face = s.face && recess <= 0.0f;
}

void conduit(const Panel& panel, float px, float py, Surface& s)
{
    const float w = static_cast<float>(panel.width);
    for (const float yc : { 44.0f, 86.0f }) {
        // Clamp bands every 120 px swell the pipe a little.
        const float band = 1.0f - smoothstep(3.0f, 5.0f, std::fabs(std::fmod(px - 16.0f, 120.0f) - 60.0f));
        const float radius = 15.0f + 2.5f * band;
        const float t = capsuleDistance(px, py, 30.0f, yc, w - 30.0f, yc, 0.0f);
        if (t >= radius + 1.0f)
            continue;
        const float profile = std::sqrt(clamp01(1.0f - (t / radius) * (t / radius)));
        const float cover = coverage(t - radius);
        s.height = std::max(s.height, s.height + 1.2f * profile * cover);
        s.albedo = mix(s.albedo, mix(copper, scaled(s.albedo, 0.7f), band), cover);
        s.face = false;
    }
}

} // namespace

const std::vector<Panel>& wallLayout()
{
    // In 128-pixel cells; together they cover the 8x8 grid exactly once.
    static const std::vector<Panel> layout = [] {
        const Panel cells[] = {
            { 0, 0, 4, 4, PanelKind::Hatch },
            { 4, 0, 4, 1, PanelKind::Vent },
            { 4, 1, 2, 3, PanelKind::Plate },
            { 6, 1, 2, 2, PanelKind::Plain },
            { 6, 3, 2, 1, PanelKind::Stripes },
            { 0, 4, 2, 4, PanelKind::Ribs },
            { 2, 4, 2, 2, PanelKind::Plain },
            { 2, 6, 1, 2, PanelKind::Vent },
            { 3, 6, 1, 2, PanelKind::Plain },
            { 4, 4, 4, 3, PanelKind::Inset },
            { 4, 7, 4, 1, PanelKind::Conduit },
        };
        std::vector<Panel> pixels;
        for (const Panel& p : cells)
            pixels.push_back({ p.x * cell, p.y * cell, p.width * cell, p.height * cell, p.kind });
        return pixels;
    }();
    return layout;
}

std::vector<Point> rivetsOf(const Panel& panel)
{
    std::vector<Point> rivets;
    const RivetRows rows = rivetRowsOf(panel.kind);
    if (rows == RivetRows::None)
        return rivets;
    const float inset = static_cast<float>(rivetInset);
    const float w = static_cast<float>(panel.width);
    const float h = static_cast<float>(panel.height);
    if (rows == RivetRows::Corners) {
        rivets = { { inset, inset }, { w - inset, inset }, { inset, h - inset }, { w - inset, h - inset } };
        return rivets;
    }
    const int across = std::max(1, static_cast<int>(std::lround((w - 2.0f * inset) / 40.0f)));
    const int down = std::max(1, static_cast<int>(std::lround((h - 2.0f * inset) / 40.0f)));
    for (int i = 0; i <= across; ++i) {
        const float x = inset + (w - 2.0f * inset) * static_cast<float>(i) / static_cast<float>(across);
        rivets.push_back({ x, inset });
        rivets.push_back({ x, h - inset });
    }
    for (int j = 1; j < down; ++j) {
        const float y = inset + (h - 2.0f * inset) * static_cast<float>(j) / static_cast<float>(down);
        rivets.push_back({ inset, y });
        rivets.push_back({ w - inset, y });
    }
    return rivets;
}

Surface shapePanel(const Panel& panel, const std::vector<Point>& rivets, float px, float py, const Rgba& tint)
{
    static const TileableNoise wearNoise(16, 16, 4242u);
    Surface s;
    const float w = static_cast<float>(panel.width);
    const float h = static_cast<float>(panel.height);
    const float edge = roundedBoxDistance(px, py, w * 0.5f, h * 0.5f, w * 0.5f - static_cast<float>(grooveHalfWidth),
        h * 0.5f - static_cast<float>(grooveHalfWidth), 6.0f);
    const float raise = smoothstep(0.0f, bevelWidth, -edge);
    s.height = raise;
    s.albedo = mix(grooveColour, tint, smoothstep(-1.0f, 2.0f, -edge));
    s.face = -edge > bevelWidth + 4.0f;

    switch (panel.kind) {
    case PanelKind::Hatch:
        hatch(panel, px, py, s);
        break;
    case PanelKind::Vent:
        ventSlots(panel, px, py, s);
        break;
    case PanelKind::Plate:
        diamondPlate(panel, px, py, s);
        break;
    case PanelKind::Stripes:
        hazardStripes(panel, px, py, s, wearNoise.fractal(px / 16.0f, py / 16.0f, 3));
        break;
    case PanelKind::Ribs:
        ribs(panel, px, py, s);
        break;
    case PanelKind::Inset:
        inset(panel, px, py, s, wearNoise.fractal(px / 16.0f, py / 16.0f, 3));
        break;
    case PanelKind::Conduit:
        conduit(panel, px, py, s);
        break;
    case PanelKind::Plain:
        break;
    }

    for (const Point& rivet : rivets) {
        if (std::fabs(px - rivet.x) > 6.0f || std::fabs(py - rivet.y) > 6.0f)
            continue;
        const float d = dome(px, py, rivet, 4.8f);
        s.height += 0.75f * d;
        if (d > 0.0f)
            s.face = false;
    }
    return s;
}
