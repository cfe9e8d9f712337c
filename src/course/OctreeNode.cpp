#include "course/OctreeNode.h"

void OctreeNode::subdivide(int depth)
{
    if (depth <= 0)
        return;
    for (auto& child : children) {
        child = std::make_unique<OctreeNode>();
        child->subdivide(depth - 1);
    }
}

void OctreeNode::octant(int slot, const glm::vec3& min, const glm::vec3& max, glm::vec3& low, glm::vec3& high)
{
    const glm::vec3 centre((min.x + max.x) / 2.0f, (min.y + max.y) / 2.0f, (min.z + max.z) / 2.0f);
    const bool upperX = slot == 2 || slot == 3 || slot == 6 || slot == 7;
    const bool upperY = slot % 2 == 0;
    const bool upperZ = slot >= 4;
    low = glm::vec3(upperX ? centre.x : min.x, upperY ? centre.y : min.y, upperZ ? centre.z : min.z);
    high = glm::vec3(upperX ? max.x : centre.x, upperY ? max.y : centre.y, upperZ ? max.z : centre.z);
}

void OctreeNode::build(const glm::vec3& boxMin, const glm::vec3& boxMax)
{
    min = boxMin;
    max = boxMax;
    if (isLeaf())
        return;
    for (int slot = 0; slot < 8; ++slot) {
        glm::vec3 low, high;
        octant(slot, min, max, low, high);
        children[static_cast<std::size_t>(slot)]->build(low, high);
    }
}

bool OctreeNode::intersects(const InfluencePoint& point) const
{
    glm::vec3 nearest;
    for (int axis = 0; axis < 3; ++axis) {
        const float p = point.position[axis];
        nearest[axis] = min[axis] > p ? min[axis] : (max[axis] < p ? max[axis] : p);
    }
    const glm::vec3 offset = point.position - nearest;
    return point.radius > std::sqrt(offset.x * offset.x + offset.y * offset.y + offset.z * offset.z);
}

void OctreeNode::update(const std::vector<InfluencePoint*>& list)
{
    // The children read this node's list, never their own parent's copy, so
    // passing it on by reference keeps the distribution free of allocations
    // once every list has grown to its largest.
    points.clear();
    for (InfluencePoint* point : list)
        if (intersects(*point))
            points.push_back(point);
    if (points.empty() || isLeaf())
        return;
    for (const auto& child : children)
        child->update(points);
}
