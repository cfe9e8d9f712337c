#version 110
// The cube world's small cubes, all of a frame's in one draw: each vertex
// carries its cube's placement in the grid, colour and distance to its point.

attribute vec3 position; // the unit cube's own 0..1 coordinates
attribute vec3 normal;
attribute vec4 placement; // the cube's corner in the grid (xyz) and its size (w)
attribute vec4 colour;
attribute float objDistance;

uniform mat4 viewProjection;
uniform mat4 gridMatrix; // places the grid in the world

varying vec3 worldNormal;
varying vec3 local;
varying vec3 localNormal;
varying vec4 color;
varying float distanceToPoint;

void main()
{
    vec4 world = gridMatrix * vec4(placement.xyz + placement.w * position, 1.0);
    worldNormal = (gridMatrix * vec4(normal, 0.0)).xyz;
    local = position;
    localNormal = normal;
    color = colour;
    distanceToPoint = objDistance;
    gl_Position = viewProjection * world;
}
