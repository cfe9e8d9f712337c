#pragma once

#include "course/InfluencePoint.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

// A box of the cube world's fixed octree and the influence points whose
// spheres touched it at the last update. The tree's shape and boxes are set
// once; only the point lists change.
class OctreeNode {
public:
    OctreeNode() = default;
    OctreeNode(const OctreeNode&) = delete;
    OctreeNode& operator=(const OctreeNode&) = delete;

    // Grows `depth` levels of eight children below this node, depth first.
    void subdivide(int depth);
    // Gives this node the box [min, max] and its children the eight octants,
    // in the slot order of `octant`.
    void build(const glm::vec3& min, const glm::vec3& max);
    // The box of child `slot` of the box [min, max]: slots 0 to 3 lie below
    // the centre in z and 4 to 7 above; even slots above it in y, and slots
    // 2, 3, 6 and 7 above it in x.
    static void octant(int slot, const glm::vec3& min, const glm::vec3& max, glm::vec3& low, glm::vec3& high);

    // Whether the point's sphere touches the box: strictly nearer than its
    // radius to the box's nearest point. A distance equal to the radius does
    // not count; a point inside the box touches it for any positive radius.
    bool intersects(const InfluencePoint& point) const;

    // Keeps the points of `list` that touch this box, in list order, and hands
    // them on to the children. Below a box no point touches, the lists keep
    // their old contents: drawing never goes past an empty list. The lists
    // keep their storage from one update to the next.
    void update(const std::vector<InfluencePoint*>& list);

    // Calls visit(corner, size, distance, point) for every cube of the current
    // distribution: the unit cube scaled by `size` from `corner`, in grid
    // coordinates, at `distance` from its point. In drawing order: leaves in
    // slot order, cells with x outermost, then y, then z, and the points of
    // each cell in list order.
    template <class Visit> void forEachCube(Visit&& visit) const;

    // What places the grid in the world: its point (25, 25, 25) at the
    // origin of `world`.
    static glm::mat4 gridMatrix(const glm::mat4& world) { return glm::translate(world, glm::vec3(-25.0f)); }

    bool isLeaf() const { return children[0] == nullptr; }

    glm::vec3 min { -9999999.0f };
    glm::vec3 max { 9999999.0f };
    std::array<std::unique_ptr<OctreeNode>, 8> children;
    std::vector<InfluencePoint*> points;

private:
    template <class Visit> void forEachCubeOfLeaf(Visit& visit) const;
};

template <class Visit> void OctreeNode::forEachCube(Visit&& visit) const
{
    if (points.empty())
        return;
    if (isLeaf()) {
        forEachCubeOfLeaf(visit);
        return;
    }
    for (const auto& child : children)
        child->forEachCube(visit);
}

template <class Visit> void OctreeNode::forEachCubeOfLeaf(Visit& visit) const
{
    // Cells start at the corner truncated toward zero: a positive corner that
    // is not a whole number (3.125) makes the whole number below it (3) a cell
    // of this leaf and of its lower neighbour, so such cells are drawn twice
    // (four or eight times with two or three such coordinates), each time the
    // same. Rounding instead would draw each such cell once, and fewer cubes.
    const auto first = [](float corner) { return static_cast<std::int32_t>(corner); };
    for (std::int32_t i = first(min.x); static_cast<float>(i) < max.x; ++i) {
        for (std::int32_t j = first(min.y); static_cast<float>(j) < max.y; ++j) {
            for (std::int32_t k = first(min.z); static_cast<float>(k) < max.z; ++k) {
                const glm::vec3 cell(static_cast<float>(i), static_cast<float>(j), static_cast<float>(k));
                for (const InfluencePoint* point : points) {
                    const glm::vec3 offset = cell - point->position;
                    const float d = std::sqrt(offset.x * offset.x + offset.y * offset.y + offset.z * offset.z);
                    if (!(point->radius > d))
                        continue;
                    // Edge 0 at the sphere's rim, growing to 2 at a seventh of
                    // the radius and nearer (d = 0 gives infinity, then 2).
                    float s = (point->radius / d - 1.0f) / 3.0f;
                    if (!(s < 2.0f))
                        s = 2.0f;
                    if (!(s > 0.0f))
                        s = 0.0f;
                    visit(cell - glm::vec3(s * 0.5f), s, d, *point);
                }
            }
        }
    }
}
