#pragma once

#include "Image.h"

#include <vector>

// One rectangle of the wall's panel layout, in pixels. Panels never cross the
// texture's border, and each keeps half a groove on every side, so the groove
// runs on unbroken when the texture repeats or meets itself at a cube edge.
enum class PanelKind { Plain, Hatch, Vent, Plate, Stripes, Ribs, Inset, Conduit };

struct Panel {
    int x;
    int y;
    int width;
    int height;
    PanelKind kind;
};

struct Point {
    float x;
    float y;
};

// Relief (0 in the grooves, 1 on a flat panel face) and base colour of a pixel.
struct Surface {
    float height = 0.0f;
    Rgba albedo;
    bool face = false; // on the flat face, where scratches may go
};

constexpr int grooveHalfWidth = 5;
constexpr int rivetInset = 14;

const std::vector<Panel>& wallLayout();

// Rivet centres of a panel in its own pixel coordinates.
std::vector<Point> rivetsOf(const Panel& panel);

// The panel's relief and colour at local pixel centre (px, py); `rivets` are
// rivetsOf(panel), `tint` the panel's own shade of steel.
Surface shapePanel(const Panel& panel, const std::vector<Point>& rivets, float px, float py, const Rgba& tint);
