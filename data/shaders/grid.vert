#version 110
// One cube of the cube world.

attribute vec3 position;
attribute vec3 normal;

uniform mat4 mvpMatrix;
uniform mat4 mMatrix;

varying vec3 worldNormal;
varying vec3 local;
varying vec3 localNormal;

void main()
{
    worldNormal = (mMatrix * vec4(normal, 0.0)).xyz;
    local = position;
    localNormal = normal;
    gl_Position = mvpMatrix * vec4(position, 1.0);
}
