// Scene one drawn for real: the demo's data, programs and renderer, every
// pass rendered as the sequencer does, frames read back at chosen times.
// Set LUMAROLL_FRAMES=<folder> to keep those frames (after the post-process)
// as PPM files for looking at.
#include "demo/SceneOne.h"
#include "engine/RessourceManager.h"
#include "engine/TextureLoader.h"
#include "mesh/AMeshLoader.h"
#include "mesh/Mesh.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "support/GLTestEnvironment.h"
#include "support/LogCapture.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(SceneOneRun, RoomCrossAndStripsAppearWhenTheyShouldAndTheCrossIsGoneAtTheEnd)
{
    constexpr int size = 128;
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
    RenderTarget offscreen(size);
    RenderTarget screen(size);
    std::srand(7);
    SceneOne scene(colourCube, bigCube, texture2D, cube, texture("wall"), texture("rect1"), texture("rect2"),
        texture("rect3"), quad);
    const glm::mat4 projection = glm::perspective(glm::radians(45.0f), 1.0f, 0.1f, 100.0f);

    // Plays the scene pass by pass (render, then update by 16) and stops after
    // the render at `until`; the off-screen frame stays bound for reading.
    auto playUntil = [&](std::uint32_t until) {
        for (;;) {
            offscreen.frame.bind(GL_FRAMEBUFFER);
            renderer.resetDrawCounts();
            scene.render(renderer, projection);
            if (scene.course().elapsed >= until)
                return renderer.drawCounts();
            offscreen.frame.unbind(GL_FRAMEBUFFER);
            scene.update(16);
        }
    };
    // Shows the off-screen frame through the post-process pass and keeps it when asked to.
    auto keep = [&](const std::string& name) {
        screen.frame.bind(GL_FRAMEBUFFER);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        quad.draw(postProcess, offscreen.colour, glm::vec2(size, size));
        if (const char* folder = std::getenv("LUMAROLL_FRAMES"))
            savePpm(std::string(folder) + "/" + name + ".ppm", size, size);
        offscreen.frame.bind(GL_FRAMEBUFFER);
    };

    const DrawCounts first = playUntil(0);
    EXPECT_EQ(first.texturedMesh, 1u); // the room
    EXPECT_EQ(first.colouredMesh, 60u); // ten rings of six, record 60 never drawn
    EXPECT_EQ(first.texturedQuad, 3u); // the strips, still empty
    // The room fills the view: no pixel of the scene's clear colour shows.
    for (int x : { 0, size / 2, size - 1 })
        for (int y : { 0, size / 2, size - 1 })
            EXPECT_FALSE(pixelNear(readPixel(x, y), 178, 51, 0)) << x << ", " << y;
    keep("scene1-0000");
    playUntil(2000);
    keep("scene1-2000");

    // The strip just shown at 9008 ms covers a tenth of the width in the left
    // half, and something of its bright pattern shows along its column.
    playUntil(9008 + 16);
    keep("scene1-9024");
    const float low = scene.course().stripLow[0].x;
    EXPECT_LT(low, 0.0f);
    EXPECT_GT(scene.course().stripAlpha[0], 0.8f);
    const int stripX = static_cast<int>((low + 0.1f + 1.0f) * 0.5f * size);
    int brightRows = 0;
    for (int y = 0; y < size; y += 2) {
        const Pixel p = readPixel(stripX, y);
        brightRows += p.g + p.b > 300 ? 1 : 0;
    }
    EXPECT_GT(brightRows, 3);

    playUntil(16016 + 2000);
    keep("scene1-18016");
    EXPECT_EQ(playUntil(28624).colouredMesh, 0u);
    EXPECT_EQ(scene.course().armLength, 0);
    keep("scene1-28624");
    EXPECT_EQ(capture.out().find("not found"), std::string::npos);
    renderer.release();
    EXPECT_NO_GL_ERROR();
}
