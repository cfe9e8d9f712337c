#pragma once

#include <string>

// Every file the demo reads, relative to the folder it runs from, spelled as
// the demo opens them: the resource manager keys what it loads by these very
// strings, so a lookup must use them too.
namespace DataFiles {

inline constexpr const char* settings = "data/settings.ini";
inline constexpr const char* music = "data/music/vobra.ogg";
inline constexpr const char* cubeMesh = "./data/meshes/cube2.obj";

inline constexpr const char* testCard = "./data/textures/test.png";
inline constexpr const char* wall = "./data/textures/wall.png";
inline constexpr const char* strip1 = "./data/textures/rect1.png";
inline constexpr const char* strip2 = "./data/textures/rect2.png";
inline constexpr const char* strip3 = "./data/textures/rect3.png";
inline constexpr const char* fade = "./data/textures/fade.png";
// In the order start-up loads them; it stops at the first that fails.
inline constexpr const char* textures[] = { testCard, wall, strip1, strip2, strip3, fade };

// The stems of the shader pairs start-up builds, each a vertex and a fragment
// source below.
inline constexpr const char* shaderStems[]
    = { "bigCube", "colourCube", "postProcess", "texture2D", "grid", "simple", "glowBright", "glowBlur" };

// The vertex and fragment source of a shader pair, by its file stem.
inline std::string vertexShader(const std::string& stem)
{
    return "./data/shaders/" + stem + ".vert";
}
inline std::string fragmentShader(const std::string& stem)
{
    return "./data/shaders/" + stem + ".frag";
}

} // namespace DataFiles
