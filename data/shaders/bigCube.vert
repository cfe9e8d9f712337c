#version 110
// The room: a huge textured cube seen from inside.

attribute vec3 position;
attribute vec3 normal;
attribute vec2 texCoord;

uniform mat4 mvpMatrix;
uniform mat4 mMatrix;

varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec2 uv;

void main()
{
    vec4 world = mMatrix * vec4(position, 1.0);
    worldPosition = world.xyz;
    worldNormal = normalize((mMatrix * vec4(normal, 0.0)).xyz);
    uv = texCoord;
    gl_Position = mvpMatrix * vec4(position, 1.0);
}
