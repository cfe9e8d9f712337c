// Scene one drawn as the demo draws it (off-screen frame, then the
// post-process pass) at chosen moments and compared with committed reference
// frames. One picture catches what a pass, a shader, a camera or the timeline
// gets wrong. The moments cover every camera move and event.
//
// After an intended change to the picture, rewrite the references with
//   LUMAROLL_GOLDEN_REFRESH=1 ./test.sh -R demo_gl
// and look at them before committing. A frame that differs is written with
// its difference image under the build folder's golden-diff/.
#include "demo/Projection.h"
#include "demo/SceneOne.h"
#include "engine/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"
#include "support/PngFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr std::uint32_t width = 200;
constexpr std::uint32_t height = 160;
const std::string goldenDir = std::string(LUMAROLL_SOURCE_DIR) + "/tests/demo/golden/";
const std::string diffDir = std::string(LUMAROLL_BINARY_DIR) + "/golden-diff/";

bool refreshing()
{
    const char* refresh = std::getenv("LUMAROLL_GOLDEN_REFRESH");
    return refresh != nullptr && refresh[0] != '\0' && refresh[0] != '0';
}

std::string rendererName()
{
    return reinterpret_cast<const char*>(glGetString(GL_RENDERER));
}

// Each channel within ±2 of the reference, and at most 0.5% of the pixels
// outside that: the software renderer's rounding, not a change of picture.
::testing::AssertionResult matchesReference(const RgbFrame& frame, const std::string& name)
{
    const RgbFrame reference = loadPng(goldenDir + name + ".png");
    if (reference.width != frame.width || reference.height != frame.height)
        return ::testing::AssertionFailure() << "no reference frame " << goldenDir << name << ".png of this size";
    RgbFrame difference = frame;
    std::size_t outside = 0;
    for (std::size_t p = 0; p < frame.rgb.size(); p += 3) {
        int worst = 0;
        for (std::size_t c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(frame.rgb[p + c] - reference.rgb[p + c]));
        outside += worst > 2 ? 1 : 0;
        // Grey for small differences, red where the tolerance is passed.
        const auto shade = static_cast<unsigned char>(std::min(255, worst * 16));
        difference.rgb[p] = worst > 2 ? 255 : shade;
        difference.rgb[p + 1] = difference.rgb[p + 2] = worst > 2 ? 0 : shade;
    }
    const std::size_t pixels = frame.rgb.size() / 3;
    if (outside * 200 <= pixels)
        return ::testing::AssertionSuccess();
    std::filesystem::create_directories(diffDir);
    savePng(frame, diffDir + name + "-actual.png");
    savePng(difference, diffDir + name + "-difference.png");
    return ::testing::AssertionFailure() << name << ": " << outside << " of " << pixels
                                         << " pixels differ by more than 2; see " << diffDir << name << "-*.png";
}

} // namespace

TEST(GoldenFrames, SceneOneAtEachCameraAndEventLooksAsItsReference)
{
    const std::string rendererFile = goldenDir + "renderer.txt";
    if (refreshing()) {
        std::ofstream(rendererFile) << rendererName() << "\n";
    } else {
        std::string madeWith;
        std::getline(std::ifstream(rendererFile), madeWith);
        if (madeWith != rendererName())
            GTEST_SKIP() << "the reference frames were made with '" << madeWith << "', this is '" << rendererName()
                         << "'";
    }

    LogCapture capture;
    RessourceManager resources;
    AMeshLoader meshes;
    VornE::TextureLoader textures;
    ASSERT_TRUE(resources.load(meshes, "./data/meshes/cube2.obj"));
    for (const char* name : { "wall", "rect1", "rect2", "rect3" })
        ASSERT_TRUE(resources.load(textures, std::string("./data/textures/") + name + ".png"));
    auto texture = [&](const char* name) {
        return static_cast<Texture*>(resources.get(std::string("./data/textures/") + name + ".png"));
    };
    Mesh* const cube = static_cast<Mesh*>(resources.get("./data/meshes/cube2.obj"));
    Renderer renderer;
    renderer.init();
    renderer.addMesh(MeshInstance(cube));
    ShaderProgram bigCube("./data/shaders/bigCube.vert", "./data/shaders/bigCube.frag");
    ShaderProgram colourCube("./data/shaders/colourCube.vert", "./data/shaders/colourCube.frag");
    ShaderProgram postProcess("./data/shaders/postProcess.vert", "./data/shaders/postProcess.frag");
    ShaderProgram texture2D("./data/shaders/texture2D.vert", "./data/shaders/texture2D.frag");
    ScreenQuad quad;
    quad.init();
    RenderTarget offscreen(int { width }, int { height });
    RenderTarget screen(int { width }, int { height });
    std::srand(7);
    SceneOne scene(colourCube, bigCube, texture2D, cube, texture("wall"), texture("rect1"), texture("rect2"),
        texture("rect3"), quad);
    const glm::mat4 projection = sceneProjection(Resolution { width, height });

    // Scene times of the frames: one per camera move, the strips, the spin, the shrinking arms.
    const std::uint32_t moments[] = { 2000, 4496, 7504, 9504, 13504, 18000, 21504, 26000, 28624 };
    bool running = true;
    for (std::uint32_t moment : moments) {
        while (running && scene.course().elapsed < moment) {
            offscreen.frame.bind(GL_FRAMEBUFFER);
            scene.render(renderer, projection);
            running = scene.update(16);
        }
        ASSERT_EQ(scene.course().elapsed, moment);
        offscreen.frame.bind(GL_FRAMEBUFFER);
        scene.render(renderer, projection);
        screen.frame.bind(GL_FRAMEBUFFER);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        quad.draw(postProcess, offscreen.colour, glm::vec2(width, height));
        const RgbFrame frame = readFrame(int { width }, int { height });
        char name[32];
        std::snprintf(name, sizeof name, "scene1-%05u", moment);
        if (refreshing())
            EXPECT_TRUE(savePng(frame, goldenDir + name + ".png"));
        else
            EXPECT_TRUE(matchesReference(frame, name));
        running = scene.update(16);
    }
    EXPECT_EQ(capture.out().find("not found"), std::string::npos);
    renderer.release();
    EXPECT_NO_GL_ERROR();
}
