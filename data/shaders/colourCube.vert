#version 110
// The cross's cubes in one flat colour each.

attribute vec3 position;

uniform mat4 mvpMatrix;

varying vec3 local;

void main()
{
    local = position; // the unit cube's own 0..1 coordinates
    gl_Position = mvpMatrix * vec4(position, 1.0);
}
