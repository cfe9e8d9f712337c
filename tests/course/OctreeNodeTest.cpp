#include "course/OctreeNode.h"
#include "scenes/CubeWorld.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

namespace {

using Cell = std::tuple<int, int, int>;

// Every cube the tree would draw: its cell (the centre of its model's unit
// cube), edge and point, in drawing order.
struct Cube {
    Cell cell;
    float edge;
    const InfluencePoint* point;
};

std::vector<Cube> cubesOf(OctreeNode& root, const std::vector<InfluencePoint*>& points)
{
    root.update(points);
    std::vector<Cube> cubes;
    root.forEachCube([&](const glm::vec3& corner, float size, float, const InfluencePoint& point) {
        const glm::vec3 centre = corner + glm::vec3(size * 0.5f);
        cubes.push_back(
            { { int(std::lround(centre.x)), int(std::lround(centre.y)), int(std::lround(centre.z)) }, size, &point });
    });
    return cubes;
}

} // namespace

TEST(Octree, ReachNeedsAPositiveRadiusStrictlyBeyondTheDistanceToTheBox)
{
    OctreeNode box;
    box.build(glm::vec3(0.0f), glm::vec3(1.0f));
    struct Case {
        glm::vec3 position;
        float radius;
        bool reaches;
    };
    const Case cases[] = {
        { { 0.5f, 0.5f, 0.5f }, 0.0f, false }, // inside, radius 0
        { { 0.5f, 0.5f, 0.5f }, 0.01f, true },
        { { -2.0f, 0.5f, 0.5f }, 2.0f, false }, // distance equal to the radius
        { { 2.0f, 2.0f, 0.5f }, 1.5f, true }, // nearest point is the edge at distance 1.414
        { { 2.0f, 2.0f, 0.5f }, 1.4f, false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(box.intersects(StaticInfluencePoint(c.position, glm::vec4(1), c.radius)), c.reaches)
            << c.position.x << ", " << c.position.y << " r " << c.radius;
}

TEST(CubeWorld, CubesAreSizedByDistanceDrawnPerLeafOncePerPointInListOrderAndNeverOutsideTheWorld)
{
    // The cube world's tree, without the world's GL side.
    OctreeNode root;
    root.subdivide(CubeWorld::depth);
    root.build(glm::vec3(-CubeWorld::halfExtent), glm::vec3(CubeWorld::halfExtent));
    StaticInfluencePoint point(glm::vec3(25.0f), glm::vec4(1), 7.0f);
    const std::vector<Cube> big = cubesOf(root, { &point });
    std::map<Cell, int> draws;
    for (const Cube& cube : big)
        ++draws[cube.cell];
    EXPECT_EQ(big.size(), 2282u);
    EXPECT_EQ(draws.size(), 1365u);
    // 28 lies just below the leaf corner 28.125: each leaf around it draws it.
    EXPECT_EQ(draws[Cell(25, 25, 25)], 1);
    EXPECT_EQ(draws[Cell(28, 28, 28)], 8);

    point.radius = 1.5f;
    std::map<Cell, float> edges;
    for (const Cube& cube : cubesOf(root, { &point }))
        edges[cube.cell] = cube.edge;
    EXPECT_EQ(edges.size(), 1u + 6u + 12u); // no corner neighbour: 1.732 is outside
    EXPECT_EQ(edges[Cell(25, 25, 25)], 2.0f);
    EXPECT_FLOAT_EQ(edges[Cell(26, 25, 25)], 1.0f / 6.0f);
    EXPECT_NEAR(edges[Cell(26, 26, 25)], 0.0202f, 1e-4f);

    StaticInfluencePoint edge(glm::vec3(49.0f, 0.0f, 0.0f), glm::vec4(1), 3.0f);
    const std::vector<Cube> atEdge = cubesOf(root, { &edge });
    ASSERT_FALSE(atEdge.empty());
    for (const Cube& cube : atEdge)
        EXPECT_LT(std::get<0>(cube.cell), 50);

    StaticInfluencePoint first(glm::vec3(10.0f), glm::vec4(1, 0, 0, 1), 2.0f);
    StaticInfluencePoint second(glm::vec3(11.0f, 10.0f, 10.0f), glm::vec4(0, 1, 0, 1), 2.0f);
    const std::vector<Cube> both = cubesOf(root, { &first, &second });
    std::map<Cell, std::vector<const InfluencePoint*>> byCell;
    for (const Cube& cube : both)
        byCell[cube.cell].push_back(cube.point);
    EXPECT_EQ(byCell[Cell(10, 10, 10)], (std::vector<const InfluencePoint*> { &first, &second }));
    // x = 12 lies just below the leaf corner 12.5: two leaves draw it.
    EXPECT_EQ(byCell[Cell(12, 10, 10)], (std::vector<const InfluencePoint*> { &second, &second }));
}
