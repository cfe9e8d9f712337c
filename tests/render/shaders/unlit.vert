#version 110
attribute vec3 position;
attribute vec3 normal;
attribute vec2 texCoord;
uniform mat4 mvpMatrix;
uniform mat4 mMatrix;
varying vec2 uv;
varying float keep;
void main()
{
    uv = texCoord;
    // Uses the normal and model matrix without changing the result, so they stay active.
    keep = step(-1.0, dot(normal, normal)) * step(-1e30, (mMatrix * vec4(position, 1.0)).x);
    gl_Position = mvpMatrix * vec4(position, 1.0);
}
