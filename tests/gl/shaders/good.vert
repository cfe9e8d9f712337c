#version 110
// A quad in clip space; its corners double as texture coordinates.
attribute vec2 position;
uniform mat4 mvpMatrix;
varying vec2 texCoord;

void main()
{
    texCoord = position * 0.5 + 0.5;
    gl_Position = mvpMatrix * vec4(position, 0.0, 1.0);
}
