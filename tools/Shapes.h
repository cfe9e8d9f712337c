#pragma once

#include <algorithm>
#include <cmath>

// Signed-distance helpers: negative inside, positive outside, in pixels. The
// painters turn distances into coverage so every edge is anti-aliased without
// supersampling.

inline float clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

inline float smoothstep(float edge0, float edge1, float x)
{
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

// Coverage of a pixel by a shape whose boundary is `distance` away (one-pixel ramp).
inline float coverage(float distance)
{
    return clamp01(0.5f - distance);
}

// Box centred on (cx, cy) with half extents hx, hy and corner radius r.
inline float roundedBoxDistance(float px, float py, float cx, float cy, float hx, float hy, float r)
{
    const float qx = std::fabs(px - cx) - hx + r;
    const float qy = std::fabs(py - cy) - hy + r;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

inline float circleDistance(float px, float py, float cx, float cy, float radius)
{
    return std::hypot(px - cx, py - cy) - radius;
}

// Capsule around the segment a-b with the given radius.
inline float capsuleDistance(float px, float py, float ax, float ay, float bx, float by, float radius)
{
    const float abx = bx - ax;
    const float aby = by - ay;
    const float lengthSquared = abx * abx + aby * aby;
    const float t = lengthSquared > 0.0f ? clamp01(((px - ax) * abx + (py - ay) * aby) / lengthSquared) : 0.0f;
    return std::hypot(px - ax - abx * t, py - ay - aby * t) - radius;
}
