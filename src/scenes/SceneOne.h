#pragma once

#include "course/SceneOneTimeline.h"
#include "scenes/DrawnScene.h"
#include "scenes/SceneKit.h"

#include <glm/glm.hpp>

class Mesh;
class Renderer;
class ShaderProgram;
class Texture;

// The first scene, 29 s: a cross of coloured cubes in the textured room under
// seven camera moves, with the highlight sweep, the image strips, the spin and
// the shrinking arms. Its course lives in the timeline; this class draws it.
// It owns no GL objects: programs, mesh and textures are borrowed and must
// outlive it.
class SceneOne : public DrawnScene {
public:
    SceneOne(ShaderProgram& colourCubeProgram, ShaderProgram& bigCubeProgram, ShaderProgram& texture2DProgram,
        Mesh* cubeMesh, Texture* wallTexture, Texture* rect1, Texture* rect2, Texture* rect3);
    explicit SceneOne(SceneKit& kit)
        : SceneOne(kit.colourCube, kit.bigCube, kit.texture2D, kit.cubeMesh, kit.wall, kit.strips[0], kit.strips[1],
            kit.strips[2])
    {
    }
    SceneOne(const SceneOne&) = delete;
    SceneOne& operator=(const SceneOne&) = delete;

    // Clears the bound framebuffer and draws the room, the cross and the strips.
    void render(Renderer& renderer, const glm::mat4& projection) override;
    // The cameras start their moves on their first frame, drawn or not.
    void skip() override { timeline.view(); }
    // Advances by step ms. False once the scene is over.
    bool update(unsigned int step) override { return timeline.update(step); }
    float fade() const override { return timeline.fade; }

    const SceneOneTimeline& course() const { return timeline; }

private:
    ShaderProgram* colourCubeProgram;
    ShaderProgram* bigCubeProgram;
    // Kept on purpose though never drawn with: the strips go through the
    // renderer's own overlay program. The scene is handed the program as the
    // others are, so that every program main builds has its user.
    [[maybe_unused]] ShaderProgram* texture2DProgram;
    Mesh* cubeMesh;
    Texture* wallTexture;
    Texture* stripTextures[3];
    SceneOneTimeline timeline;
};

template <> struct DrawingOf<SceneOneTimeline> {
    using type = SceneOne;
};
