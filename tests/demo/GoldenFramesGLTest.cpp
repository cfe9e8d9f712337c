// The scenes drawn as the demo draws them (off-screen frame, then the
// post-process pass) at chosen moments and compared with committed reference
// frames. One picture catches what a pass, a shader, a camera or the timeline
// gets wrong. The moments cover every camera move and event.
//
// After an intended change to the picture, rewrite the references with
//   LUMAROLL_GOLDEN_REFRESH=1 ./test.sh -R demo_gl
// and look at them before committing. A frame that differs is written with
// its difference image under the build folder's golden-diff/.
#include "demo/Projection.h"
#include "demo/CubeWorld.h"
#include "demo/SceneOne.h"
#include "demo/SceneThree.h"
#include "demo/SceneTwo.h"
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

// The demo's objects as main builds them, drawn at the references' size.
class GoldenFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string rendererFile = goldenDir + "renderer.txt";
        if (refreshing()) {
            std::ofstream(rendererFile) << rendererName() << "\n";
        } else {
            std::string madeWith;
            std::getline(std::ifstream(rendererFile), madeWith);
            if (madeWith != rendererName())
                GTEST_SKIP() << "the reference frames were made with '" << madeWith << "', this is '"
                             << rendererName() << "'";
        }
        ASSERT_TRUE(resources.load(meshes, "./data/meshes/cube2.obj"));
        for (const char* name : { "wall", "rect1", "rect2", "rect3" })
            ASSERT_TRUE(resources.load(textures, std::string("./data/textures/") + name + ".png"));
        cube = static_cast<Mesh*>(resources.get("./data/meshes/cube2.obj"));
        renderer.init();
        renderer.addMesh(MeshInstance(cube));
        quad.init();
    }
    void TearDown() override
    {
        EXPECT_EQ(capture.out().find("not found"), std::string::npos);
        renderer.release();
        EXPECT_NO_GL_ERROR();
    }
    Texture* texture(const char* name)
    {
        return static_cast<Texture*>(resources.get(std::string("./data/textures/") + name + ".png"));
    }

    // Plays the scene pass by pass as the sequencer does and compares the
    // frames at the given scene times. Scenes whose course does not depend on
    // drawing are drawn only at those times and in their first two passes,
    // which start their cameras.
    template <class Scene>
    void play(Scene& scene, const char* prefix, std::initializer_list<std::uint32_t> moments, bool drawEveryPass)
    {
        const glm::mat4 projection = sceneProjection(Resolution { width, height });
        for (std::uint32_t moment : moments) {
            while (scene.course().elapsed < moment) {
                if (drawEveryPass || scene.course().elapsed < 32) {
                    offscreen.frame.bind(GL_FRAMEBUFFER);
                    scene.render(renderer, projection);
                }
                ASSERT_TRUE(scene.update(16));
            }
            ASSERT_EQ(scene.course().elapsed, moment);
            offscreen.frame.bind(GL_FRAMEBUFFER);
            scene.render(renderer, projection);
            screen.frame.bind(GL_FRAMEBUFFER);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            quad.draw(postProcess, offscreen.colour, glm::vec2(width, height));
            const RgbFrame frame = readFrame(int { width }, int { height });
            char name[32];
            std::snprintf(name, sizeof name, "%s-%05u", prefix, moment);
            if (refreshing())
                EXPECT_TRUE(savePng(frame, goldenDir + name + ".png"));
            else
                EXPECT_TRUE(matchesReference(frame, name));
            ASSERT_TRUE(scene.update(16));
        }
    }

    LogCapture capture;
    RessourceManager resources;
    AMeshLoader meshes;
    VornE::TextureLoader textures;
    Mesh* cube = nullptr;
    Renderer renderer;
    ShaderProgram bigCube { "./data/shaders/bigCube.vert", "./data/shaders/bigCube.frag" };
    ShaderProgram colourCube { "./data/shaders/colourCube.vert", "./data/shaders/colourCube.frag" };
    ShaderProgram postProcess { "./data/shaders/postProcess.vert", "./data/shaders/postProcess.frag" };
    ShaderProgram texture2D { "./data/shaders/texture2D.vert", "./data/shaders/texture2D.frag" };
    ScreenQuad quad;
    RenderTarget offscreen { int { width }, int { height } };
    RenderTarget screen { int { width }, int { height } };
};

} // namespace

// One frame per camera move, the strips, the spin and the shrinking arms.
TEST_F(GoldenFrames, SceneOneAtEachCameraAndEventLooksAsItsReference)
{
    std::srand(7);
    SceneOne scene(colourCube, bigCube, texture2D, cube, texture("wall"), texture("rect1"), texture("rect2"),
        texture("rect3"), quad);
    play(scene, "scene1", { 2000, 4496, 7504, 9504, 13504, 18000, 21504, 26000, 28624 }, true);
}

// The ball grown under the pulse, shrinking, regrowing green; the three balls
// on their way and met.
TEST_F(GoldenFrames, SceneTwoAndThreeAtTheirEventsLookAsTheirReferences)
{
    CubeWorld world(resources, Resolution { width, height });
    SceneTwo two(bigCube, world, cube, texture("wall"), quad);
    play(two, "scene2", { 4000, 9008, 12800 }, false);
    SceneThree three(bigCube, world, cube, texture("wall"), quad);
    play(three, "scene3", { 5008, 12000, 20000 }, false);
}
