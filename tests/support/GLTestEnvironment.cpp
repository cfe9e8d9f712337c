#include "support/GLTestEnvironment.h"

#include "core/LeakCheck.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

std::unique_ptr<VornE::VornEngine> GLTestEnvironment::instance;

void GLTestEnvironment::SetUp()
{
    // Only X11 offers OpenGL here; without this SDL falls back to drawing in the terminal.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    if (SDL_Init(SDL_INIT_NOPARACHUTE) == 0) {
        instance = std::make_unique<VornE::VornEngine>();
        if (instance->window->open("Lumaroll GL tests", Resolution { width, height }, false))
            return;
    }
    std::fprintf(stderr, "GL tests need a display with GL (the test command starts Xvfb): %s\n", SDL_GetError());
    std::exit(1);
}

void GLTestEnvironment::TearDown()
{
    instance.reset();
    checkLeaksBeforeShutdown();
    SDL_Quit();
}

Pixel readPixel(int x, int y)
{
    unsigned char rgba[4] = { 0, 0, 0, 0 };
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Pixel { rgba[0], rgba[1], rgba[2], rgba[3] };
}

::testing::AssertionResult pixelNear(const Pixel& p, int r, int g, int b, int a)
{
    auto near = [](int x, int y) { return x - y <= 2 && y - x <= 2; };
    if (near(p.r, r) && near(p.g, g) && near(p.b, b) && (a < 0 || near(p.a, a)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << p.r << ", " << p.g << ", " << p.b << ", " << p.a
                                         << ") is not near (" << r << ", " << g << ", " << b << ", " << a << ")";
}
