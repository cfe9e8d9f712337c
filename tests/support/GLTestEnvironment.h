#pragma once

#include "core/Resolution.h"
#include "engine/VornEngine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

// One real SDL window with its GL context (Mesa under Xvfb in the test
// command) for every test of a GL test executable.
class GLTestEnvironment : public ::testing::Environment {
public:
    static constexpr std::uint32_t width = 160;
    static constexpr std::uint32_t height = 120;

    void SetUp() override;
    void TearDown() override;

    static Resolution size() { return Resolution { width, height }; }
    static VornE::Window& window() { return *instance->window; }

private:
    static std::unique_ptr<VornE::VornEngine> instance;
};

struct Pixel {
    int r, g, b, a;
};
Pixel readPixel(int x, int y);
// Within ±2 per channel of the expected colour (alpha ignored when negative).
::testing::AssertionResult pixelNear(const Pixel& actual, int r, int g, int b, int a = -1);

// A test ends with no GL error pending; call it last in every GL test.
#define EXPECT_NO_GL_ERROR() EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR))
