// Scene one drawn for real: the demo's data, programs and renderer, every
// pass rendered as the sequencer does, frames read back at chosen times.
// Set LUMAROLL_FRAMES=<folder> to keep those frames (after the post-process)
// as PPM files for looking at.
#include "demo/SceneOne.h"
#include "engine/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "gl/FrameBuffer.h"
#include "gl/RenderBuffer.h"
#include "gl/Texture2D.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/Renderer.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int width = 160;
constexpr int height = 128;

// A framebuffer with a colour texture (and depth), as main builds it.
struct Target {
    Target()
        : colour(Resolution{width, height})
    {
        depth.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        frame.attachTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colour);
        frame.attachRenderBuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth);
    }
    Texture2D colour;
    RenderBuffer depth;
    FrameBuffer frame;
};

struct Frame {
    DrawCounts counts;
    std::uint32_t elapsed;
};

class SceneOneRun : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        LogCapture quiet;
        resources = std::make_unique<RessourceManager>();
        AMeshLoader meshes;
        VornE::TextureLoader textures;
        ASSERT_TRUE(resources->load(meshes, "./data/meshes/cube2.obj"));
        for (const char* name : {"wall", "rect1", "rect2", "rect3"})
            ASSERT_TRUE(resources->load(textures, std::string("./data/textures/") + name + ".png"));
        renderer = std::make_unique<Renderer>();
        renderer->init();
        renderer->addMesh(MeshInstance(mesh()));
        bigCube = std::make_unique<ShaderProgram>("./data/shaders/bigCube.vert", "./data/shaders/bigCube.frag");
        colourCube = std::make_unique<ShaderProgram>("./data/shaders/colourCube.vert", "./data/shaders/colourCube.frag");
        postProcess = std::make_unique<ShaderProgram>("./data/shaders/postProcess.vert", "./data/shaders/postProcess.frag");
        texture2D = std::make_unique<ShaderProgram>("./data/shaders/texture2D.vert", "./data/shaders/texture2D.frag");
        offscreen = std::make_unique<Target>();
        screen = std::make_unique<Target>();
        quad = std::make_unique<ScreenQuad>();
        quad->init();
    }
    static void TearDownTestSuite()
    {
        quad.reset();
        screen.reset();
        offscreen.reset();
        texture2D.reset();
        postProcess.reset();
        colourCube.reset();
        bigCube.reset();
        renderer->release();
        renderer.reset();
        LogCapture quiet;
        resources.reset();
    }

    static Mesh* mesh() { return static_cast<Mesh*>(resources->get("./data/meshes/cube2.obj")); }
    static Texture* texture(const char* name)
    {
        return static_cast<Texture*>(resources->get(std::string("./data/textures/") + name + ".png"));
    }

    // Plays the scene pass by pass (render, then update by 16) and stops after
    // the render at `until`; the off-screen frame stays bound for reading.
    Frame playUntil(SceneOne& scene, std::uint32_t until)
    {
        const glm::mat4 projection = glm::perspective(glm::radians(45.0f), float(width) / float(height), 0.1f, 100.0f);
        glViewport(0, 0, width, height);
        Frame frame{};
        for (;;) {
            offscreen->frame.bind(GL_FRAMEBUFFER);
            renderer->resetDrawCounts();
            scene.render(*renderer, projection);
            frame = Frame{renderer->drawCounts(), scene.course().elapsed};
            if (scene.course().elapsed >= until)
                return frame;
            offscreen->frame.unbind(GL_FRAMEBUFFER);
            scene.update(16);
        }
    }

    // Shows the off-screen frame through the post-process pass and keeps it when asked to.
    void keep(const std::string& name)
    {
        offscreen->frame.unbind(GL_FRAMEBUFFER);
        screen->frame.bind(GL_FRAMEBUFFER);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        quad->draw(*postProcess, offscreen->colour, glm::vec2(width, height));
        if (const char* folder = std::getenv("LUMAROLL_FRAMES"))
            savePpm(std::string(folder) + "/" + name + ".ppm", width, height);
        screen->frame.unbind(GL_FRAMEBUFFER);
        offscreen->frame.bind(GL_FRAMEBUFFER);
    }

    SceneOne makeScene()
    {
        return SceneOne(*colourCube, *bigCube, *texture2D, mesh(), texture("wall"), texture("rect1"),
            texture("rect2"), texture("rect3"), *quad);
    }

    static std::unique_ptr<RessourceManager> resources;
    static std::unique_ptr<Renderer> renderer;
    static std::unique_ptr<ShaderProgram> bigCube, colourCube, postProcess, texture2D;
    static std::unique_ptr<Target> offscreen, screen;
    static std::unique_ptr<ScreenQuad> quad;
};

std::unique_ptr<RessourceManager> SceneOneRun::resources;
std::unique_ptr<Renderer> SceneOneRun::renderer;
std::unique_ptr<ShaderProgram> SceneOneRun::bigCube, SceneOneRun::colourCube, SceneOneRun::postProcess,
    SceneOneRun::texture2D;
std::unique_ptr<Target> SceneOneRun::offscreen, SceneOneRun::screen;
std::unique_ptr<ScreenQuad> SceneOneRun::quad;

bool isClearColour(const Pixel& p)
{
    return pixelNear(p, 178, 51, 0);
}

} // namespace

TEST_F(SceneOneRun, RoomCrossAndStripsAppearWhenTheyShouldAndTheCrossIsGoneAtTheEnd)
{
    srand(7);
    LogCapture capture;
    SceneOne scene = makeScene();

    Frame first = playUntil(scene, 0);
    EXPECT_EQ(first.counts.texturedMesh, 1u);  // the room
    EXPECT_EQ(first.counts.colouredMesh, 60u); // ten rings of six, record 60 never drawn
    EXPECT_EQ(first.counts.texturedQuad, 3u);  // the strips, still empty
    // The room fills the view: no pixel of the scene's clear colour shows.
    for (int x : {0, width / 2, width - 1})
        for (int y : {0, height / 2, height - 1})
            EXPECT_FALSE(isClearColour(readPixel(x, y))) << x << ", " << y;
    keep("scene1-0000");

    playUntil(scene, 2000);
    keep("scene1-2000");

    // The strip just shown at 9008 ms covers a tenth of the width in the left half.
    playUntil(scene, 9008 + 16);
    const glm::vec2 low = scene.course().stripLow[0];
    EXPECT_LT(low.x, 0.0f);
    const int stripX = static_cast<int>((low.x + 0.1f + 1.0f) * 0.5f * width);
    keep("scene1-9024");
    const Pixel inStrip = readPixel(stripX, height / 2);
    EXPECT_GT(scene.course().stripAlpha[0], 0.8f);
    // Something of the strip's bright pattern shows along its column.
    int brightRows = 0;
    for (int y = 0; y < height; y += 2) {
        const Pixel p = readPixel(stripX, y);
        if (p.g + p.b > 300)
            ++brightRows;
    }
    EXPECT_GT(brightRows, 3) << inStrip.r << " " << inStrip.g << " " << inStrip.b;

    playUntil(scene, 16016 + 2000);
    keep("scene1-18016");

    Frame late = playUntil(scene, 28624);
    EXPECT_EQ(late.counts.colouredMesh, 0u);
    EXPECT_EQ(scene.course().armLength, 0);
    keep("scene1-28624");
    EXPECT_NO_GL_ERROR();
    offscreen->frame.unbind(GL_FRAMEBUFFER);
    EXPECT_EQ(capture.out().find("not found"), std::string::npos);
}
