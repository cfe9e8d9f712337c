#version 110
// The full-screen quad that shows the off-screen frame (postProcess.vert).

attribute vec2 position;
attribute vec2 texCoord;

varying vec2 uv;

void main()
{
    uv = texCoord;
    gl_Position = vec4(position, 0.0, 1.0);
}
