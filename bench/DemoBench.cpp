// What one pass of the demo costs in each scene, against two floors:
// - the same draws: a loop that issues the very same draws (same mesh,
//   programs and uniforms, same off-screen frame, post-process and swap) with
//   no demo logic around them, which shows what the demo's own code adds;
// - the cheapest frame at the same size: a clear, one full-screen textured
//   quad and the swap, which shows what the picture itself costs;
// - the design's own floor: the off-screen frame cleared, one full-screen
//   textured quad into it, the post-process into the window and the swap,
//   the least any pass that draws through an off-screen frame can cost.
// Then where a pass goes: the same draws once more, the GL finished around
// each part (the clears, the room, the cubes, the strips, the glow, the
// post-process, the swap), which only a benchmark may do.
// A pass is render, screen pass, swap and update, as the main loop runs it,
// without the frame limiter's sleep; each is timed to glFinish so that the
// software renderer's work is inside the figure. After them come as many
// update-only passes (skip and update, what the live loop does to catch up
// with the music), timed alone. Demo and floor passes alternate, so both see
// the same machine. Allocations are the median per pass: the GL's one-time
// work for a state it meets first (its shader variants) is not a pass's own.
// Needs a display (scripts/with-display.sh gives one) and the data tree in
// the working folder.
//
//   lumaroll_bench [passes per scene] [width height]
#include "core/DataFiles.h"
#include "core/RessourceManager.h"
#include "course/Projection.h"
#include "course/RunRandom.h"
#include "engine/TextureLoader.h"
#include "engine/VornEngine.h"
#include "gl/GLDialect.h"
#include "gl/OffscreenTarget.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/Glow.h"
#include "render/PostProcess.h"
#include "render/Renderer.h"
#include "render/ShaderPrograms.h"
#include "scenes/CubeWorld.h"
#include "scenes/SceneOne.h"
#include "scenes/SceneThree.h"
#include "scenes/SceneTwo.h"

#include <SDL.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

// Every heap allocation of the process is counted.
namespace {
std::atomic<unsigned long> allocations { 0 };
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Keeps the demo's own log off the console while it lives; figures go through printf.
class QuietConsole {
public:
    QuietConsole()
        : console(std::cout.rdbuf(log.rdbuf()))
    {
    }
    ~QuietConsole() { std::cout.rdbuf(console); }

private:
    std::ostringstream log;
    std::streambuf* console;
};

struct Spread {
    double min, median, p99;
};

Spread spread(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const auto at
        = [&](double q) { return times[static_cast<std::size_t>(q * static_cast<double>(times.size() - 1))]; };
    return { times.front(), at(0.5), at(0.99) };
}

// One draw of a frame, kept to be issued again by the floor.
struct Draw {
    enum Kind { Room, Coloured, Strip, WorldCubes } kind;
    glm::mat4 model;
    glm::vec4 colour;
    float distance = 0.0f;
    glm::vec2 low {}, high {};
    Texture* texture = nullptr;
    std::vector<WorldCube> cubes; // of WorldCubes, placed by `model`
};

// What the benchmark holds: the demo's objects, built as main builds them.
struct Bench {
    Bench(VornE::VornEngine& engine, RessourceManager& ressources, Renderer& renderer)
        : engine(engine)
        , ressources(ressources)
        , renderer(renderer)
        , size(engine.window->getSize())
        , cube(static_cast<Mesh*>(ressources.get(DataFiles::cubeMesh)))
        , wall(texture(DataFiles::wall))
        , world(ressources, size)
        , frame(size, OffscreenTarget::Depth::Depth24)
    {
        quad.init();
    }
    Texture* texture(const char* path) { return static_cast<Texture*>(ressources.get(path)); }

    // Timed from the window's clear, where the GL wants one, to glFinish
    // after the swap; `draw` fills the off-screen frame, `after` runs after
    // the swap (the scene's update).
    template <class DrawFrame, class After> double pass(DrawFrame draw, After after)
    {
        const Clock::time_point start = Clock::now();
        if (GLDialect::windowClearedEachFrame)
            engine.window->clear();
        frame.bind();
        draw();
        frame.unbind();
        if (quad.fade > Glow::threshold)
            glow.draw(quad, frame.colour(), quad.fade);
        glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
        lastPass.draw(quad, frame.colour(), screen(), quad.fade, glow.texture());
        engine.window->swap();
        after();
        glFinish();
        return millisecondsSince(start);
    }
    glm::vec2 screen() const { return { static_cast<float>(size.width), static_cast<float>(size.height) }; }

    // The cheapest frame at this size: the window cleared, one textured quad
    // over all of it, the swap.
    double cheapest()
    {
        const Clock::time_point start = Clock::now();
        engine.window->clear();
        renderer.drawTexturedQuad(glm::vec2(-1.0f), glm::vec2(1.0f), &frame.colour(), 1.0f);
        engine.window->swap();
        glFinish();
        return millisecondsSince(start);
    }

    // The design's floor: the off-screen frame cleared and covered by one
    // textured quad, then the post-process into the window, and the swap.
    double designFloor(float fade)
    {
        const Clock::time_point start = Clock::now();
        frame.bind();
        glClearColor(0.7f, 0.2f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.drawTexturedQuad(glm::vec2(-1.0f), glm::vec2(1.0f), wall, 1.0f);
        frame.unbind();
        glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
        lastPass.draw(quad, frame.colour(), screen(), fade, glow.texture());
        engine.window->swap();
        glFinish();
        return millisecondsSince(start);
    }

    // The recorded draws of one pass again, each part timed on its own from a
    // finished GL to a finished GL.
    struct Parts {
        double clears = 0, room = 0, cubes = 0, strips = 0, glow = 0, post = 0, swap = 0;
    };
    Parts parts(
        const std::vector<Draw>& draws, const glm::mat4& projection, const glm::mat4& view, float pulse, float fade)
    {
        const auto timed = [](auto work) {
            glFinish();
            const Clock::time_point start = Clock::now();
            work();
            glFinish();
            return millisecondsSince(start);
        };
        const auto only = [&](std::initializer_list<Draw::Kind> kinds) {
            std::vector<Draw> some;
            for (const Draw& d : draws)
                if (std::find(kinds.begin(), kinds.end(), d.kind) != kinds.end())
                    some.push_back(d);
            return some;
        };
        const std::vector<Draw> room = only({ Draw::Room }), cubes = only({ Draw::Coloured, Draw::WorldCubes }),
                                strips = only({ Draw::Strip });
        Parts p;
        p.clears = timed([&] {
            if (GLDialect::windowClearedEachFrame)
                engine.window->clear();
            frame.bind();
            glClearColor(0.7f, 0.2f, 0.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        });
        // In the scenes' order: the room after the cubes that hide parts of it.
        p.cubes = timed([&] { drawAll(cubes, projection, view, pulse); });
        p.room = timed([&] { drawAll(room, projection, view, pulse); });
        p.strips = timed([&] { drawAll(strips, projection, view, pulse); });
        frame.unbind();
        if (fade > Glow::threshold)
            p.glow = timed([&] { glow.draw(quad, frame.colour(), fade); });
        p.post = timed([&] {
            glViewport(0, 0, static_cast<GLsizei>(size.width), static_cast<GLsizei>(size.height));
            lastPass.draw(quad, frame.colour(), screen(), fade, glow.texture());
        });
        p.swap = timed([&] { engine.window->swap(); });
        return p;
    }

    // The floor: the recorded draws, nothing else.
    void issue(const std::vector<Draw>& draws, const glm::mat4& projection, const glm::mat4& view, float pulse)
    {
        glClearColor(0.7f, 0.2f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawAll(draws, projection, view, pulse);
    }
    void drawAll(const std::vector<Draw>& draws, const glm::mat4& projection, const glm::mat4& view, float pulse)
    {
        for (const Draw& d : draws) {
            switch (d.kind) {
            case Draw::Room:
                renderer.drawTexturedMesh(cube, bigCube, wall, projection, view, d.model);
                break;
            case Draw::Coloured:
                renderer.drawColouredMesh(cube, colourCube, projection, view, d.model, d.colour);
                break;
            case Draw::Strip:
                renderer.drawTexturedQuad(d.low, d.high, d.texture, d.distance);
                break;
            case Draw::WorldCubes:
                renderer.drawWorldCubes(cube, world.gridProgram, projection, view, d.model, d.cubes, pulse);
                break;
            }
        }
    }

    VornE::VornEngine& engine;
    RessourceManager& ressources;
    Renderer& renderer;
    Resolution size;
    Mesh* cube;
    Texture* wall;
    ShaderProgram bigCube = ShaderPrograms::build(ShaderPrograms::bigCube);
    ShaderProgram colourCube = ShaderPrograms::build(ShaderPrograms::colourCube);
    ShaderProgram postProcess = ShaderPrograms::build(ShaderPrograms::postProcess);
    ShaderProgram postProcessPlain = ShaderPrograms::build(ShaderPrograms::postProcessPlain);
    PostProcess lastPass { postProcess, postProcessPlain };
    ShaderProgram texture2D = ShaderPrograms::build(ShaderPrograms::texture2D);
    CubeWorld world;
    OffscreenTarget frame;
    ScreenQuad quad;
    ShaderProgram glowBright = ShaderPrograms::build(ShaderPrograms::glowBright);
    ShaderProgram glowBlur = ShaderPrograms::build(ShaderPrograms::glowBlur);
    Glow glow { size, glowBright, glowBlur };
};

const glm::mat4 roomModel
    = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(-25.0f, -25.0f, -25.0f)), glm::vec3(50.0f));

std::vector<Draw> worldDraws(const CubeWorld& world, const glm::mat4& spin)
{
    std::vector<Draw> draws { { Draw::WorldCubes, OctreeNode::gridMatrix(spin), {}, 0.0f, {}, {}, nullptr, {} },
        { Draw::Room, roomModel, {}, 0.0f, {}, {}, nullptr, {} } };
    world.tree().forEachCube([&](const glm::vec3& corner, float size, float distance, const InfluencePoint& point) {
        draws.front().cubes.push_back({ corner, size, point.colour, distance });
    });
    return draws;
}

struct Figures {
    const char* name;
    Spread demo, floor, cheapest, design, skipped;
    Bench::Parts parts; // medians
    double draws;
    double renderAllocations, updateAllocations;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Brings a scene to `from` ms, drawing each pass into a 1x1 corner so that its
// cameras start as in the demo, then times `passes` demo passes, each beside a
// floor pass of the same frame's draws.
template <class Scene, class Record>
Figures measure(const char* name, Bench& bench, Scene& scene, std::uint32_t from, unsigned passes, Record record)
{
    const glm::mat4 projection = sceneProjection(bench.size);
    glViewport(0, 0, 1, 1);
    while (scene.course().elapsed < from) {
        bench.frame.bind();
        scene.render(bench.renderer, projection);
        bench.frame.unbind();
        scene.update(16);
    }
    glViewport(0, 0, static_cast<GLsizei>(bench.size.width), static_cast<GLsizei>(bench.size.height));
    // One pass of each kind untimed, at full size: the GL builds its shader
    // variants for a new state on first use, which no later pass pays.
    {
        glm::mat4 view;
        float pulse = 0.0f;
        const std::vector<Draw> frameDraws = record(view, pulse);
        bench.pass([&] { bench.issue(frameDraws, projection, view, pulse); }, [] {});
    }
    // Reserved, so that the only allocations counted are the demo's own.
    std::vector<double> demo, floor, cheapest, design, renderAllocations, updateAllocations;
    std::vector<double> clears, room, cubes, strips, glow, post, swap;
    for (std::vector<double>* figures : { &demo, &floor, &cheapest, &design, &renderAllocations, &updateAllocations,
             &clears, &room, &cubes, &strips, &glow, &post, &swap })
        figures->reserve(passes);
    unsigned long draws = 0;
    for (unsigned n = 0; n < passes; ++n) {
        glm::mat4 view;
        float pulse = 0.0f;
        const std::vector<Draw> frameDraws = record(view, pulse);
        floor.push_back(bench.pass([&] { bench.issue(frameDraws, projection, view, pulse); }, [] {}));
        cheapest.push_back(bench.cheapest());
        design.push_back(bench.designFloor(scene.fade()));
        const Bench::Parts p = bench.parts(frameDraws, projection, view, pulse, scene.fade());
        clears.push_back(p.clears);
        room.push_back(p.room);
        cubes.push_back(p.cubes);
        strips.push_back(p.strips);
        glow.push_back(p.glow);
        post.push_back(p.post);
        swap.push_back(p.swap);
        bench.renderer.resetDrawCounts();
        unsigned long afterRender = 0;
        const unsigned long before = allocations;
        demo.push_back(bench.pass(
            [&] {
                scene.render(bench.renderer, projection);
                bench.quad.fade = scene.fade();
            },
            [&] {
                afterRender = allocations;
                scene.update(16);
            }));
        renderAllocations.push_back(static_cast<double>(afterRender - before));
        updateAllocations.push_back(static_cast<double>(allocations - afterRender));
        draws += bench.renderer.drawCounts().total() + 1; // and the post-process
    }
    std::vector<double> skipped;
    skipped.reserve(passes);
    for (unsigned n = 0; n < passes; ++n) {
        const Clock::time_point start = Clock::now();
        scene.skip();
        scene.update(16);
        skipped.push_back(millisecondsSince(start));
    }
    const Bench::Parts parts { median(clears), median(room), median(cubes), median(strips), median(glow), median(post),
        median(swap) };
    return { name, spread(demo), spread(floor), spread(cheapest), spread(design), spread(skipped), parts,
        static_cast<double>(draws) / static_cast<double>(passes), median(renderAllocations),
        median(updateAllocations) };
}

int run(unsigned passes, std::uint32_t width, std::uint32_t height)
{
    QuietConsole quiet; // declared first: restores the console after every object below is gone
    VornE::VornEngine engine;
    if (!engine.window->open("Lumaroll bench", Resolution { width, height }, false)) {
        std::cerr << "Cannot open a GL window: " << SDL_GetError() << std::endl;
        return 1;
    }
    Renderer renderer { DataFiles::vertexShader(ShaderPrograms::overlay.stem),
        DataFiles::fragmentShader(ShaderPrograms::overlay.stem) };
    RessourceManager ressources;
    AMeshLoader meshLoader;
    VornE::TextureLoader textureLoader;
    bool loaded = ressources.load(meshLoader, DataFiles::cubeMesh);
    for (const char* path : { DataFiles::wall, DataFiles::strip1, DataFiles::strip2, DataFiles::strip3 })
        loaded = loaded && ressources.load(textureLoader, path);
    if (!loaded) {
        std::cerr << "Run from the repository root: the data files are missing" << std::endl;
        return 1;
    }
    renderer.init();
    renderer.addMesh(MeshInstance(static_cast<Mesh*>(ressources.get(DataFiles::cubeMesh))));
    Bench bench(engine, ressources, renderer);
    seedRunRandom(0);
    Texture* strips[]
        = { bench.texture(DataFiles::strip1), bench.texture(DataFiles::strip2), bench.texture(DataFiles::strip3) };
    SceneKit kit { bench.colourCube, bench.bigCube, bench.texture2D, bench.world, bench.cube, bench.wall,
        { strips[0], strips[1], strips[2] } };
    SceneOne one(kit);
    SceneTwo two(kit);
    SceneThree three(kit);

    std::vector<Figures> figures;
    figures.push_back(measure("one at 20 s", bench, one, 20000, passes, [&](glm::mat4& view, float&) {
        SceneOneTimeline course = one.course();
        view = course.view();
        std::vector<Draw> draws;
        const glm::mat4 spin = course.world();
        for (std::size_t i = 0; i < course.drawnCubeCount(); ++i)
            draws.push_back(
                { Draw::Coloured, course.cubeModel(spin, i), course.cubeColour(i), 0.0f, {}, {}, nullptr, {} });
        draws.push_back({ Draw::Room, roomModel, {}, 0.0f, {}, {}, nullptr, {} });
        for (std::size_t k = 0; k < 3; ++k)
            draws.push_back({ Draw::Strip, {}, {}, course.stripAlphaDrawn(static_cast<int>(k)), course.stripLow[k],
                course.stripHigh[k], strips[k], {} });
        return draws;
    }));
    figures.push_back(measure("two, ball grown", bench, two, 3000, passes, [&](glm::mat4& view, float& pulse) {
        LinearCamera camera = two.course().camera;
        camera.update(two.course().elapsed);
        view = camera.getViewMatrix();
        pulse = two.course().pulseDistance;
        return worldDraws(bench.world, two.course().world());
    }));
    figures.push_back(measure("three at 15 s", bench, three, 15000, passes, [&](glm::mat4& view, float& pulse) {
        LinearCamera camera = three.course().camera;
        camera.update(three.course().elapsed);
        view = camera.getViewMatrix();
        pulse = three.course().pulseDistance;
        return worldDraws(bench.world, three.course().world());
    }));

    std::printf("%ux%u, %u passes per scene, %s\n", bench.size.width, bench.size.height, passes,
        reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("%-16s %5s | %-24s | %6s | %-16s | %-19s | %-17s | %s\n", "scene", "draws", "demo pass ms: min med p99",
        "fps", "same draws: ms x", "cheapest frame: ms x", "update-only: ms p99", "allocations: render, update");
    for (const Figures& f : figures)
        std::printf("%-16s %5.0f | %7.2f %7.2f %7.2f | %6.1f | %6.2f %8.3f | %7.2f %10.2f | %7.3f %8.3f | %.0f, %.0f\n",
            f.name, f.draws, f.demo.min, f.demo.median, f.demo.p99, 1000.0 / f.demo.median, f.floor.median,
            f.demo.median / f.floor.median, f.cheapest.median, f.demo.median / f.cheapest.median, f.skipped.median,
            f.skipped.p99, f.renderAllocations, f.updateAllocations);
    std::printf("\nwhere a pass goes, median ms (the GL finished around each part)\n");
    std::printf("%-16s | %6s %6s %6s %6s %6s %6s %6s | %6s | %6s | %-18s | %-18s | %s\n", "scene", "clears", "room",
        "cubes", "strips", "glow", "post", "swap", "parts", "pass", "design floor: ms x", "cheapest: ms x",
        "design floor / cheapest");
    for (const Figures& f : figures) {
        const Bench::Parts& p = f.parts;
        const double sum = p.clears + p.room + p.cubes + p.strips + p.glow + p.post + p.swap;
        std::printf(
            "%-16s | %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f | %6.2f | %6.2f | %7.2f %10.2f | %7.2f %10.2f | %.2f\n",
            f.name, p.clears, p.room, p.cubes, p.strips, p.glow, p.post, p.swap, sum, f.demo.median, f.design.median,
            f.demo.median / f.design.median, f.cheapest.median, f.demo.median / f.cheapest.median,
            f.design.median / f.cheapest.median);
    }
    renderer.release();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const unsigned passes = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 120u;
    const auto width = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[2], nullptr, 10) : 800u);
    const auto height = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 640u);
    if (passes == 0 || passes > 300 || width == 0 || height == 0 || width > 8192 || height > 8192) {
        std::cerr << "usage: lumaroll_bench [passes per scene, 1..300] [width height]" << std::endl;
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "x11", 0);
    if (SDL_Init(SDL_INIT_NOPARACHUTE) != 0)
        return 1;
    int status = 1;
    try {
        status = run(passes, width, height);
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
    }
    SDL_Quit();
    return status;
}
