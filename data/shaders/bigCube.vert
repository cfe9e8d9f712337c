#version 110
// The room: a huge textured cube seen from inside, under a point light.
//
// What the light needs that varies linearly across a face is worked out
// here, at the corners, and interpolated exactly: the way from the surface
// to the light, and its length along the face's normal (the normal is the
// same over a face). Its square length, which does not vary linearly, is
// taken per pixel.

attribute vec3 position;
attribute vec3 normal;
attribute vec2 texCoord;

uniform mat4 mvpMatrix;
uniform mat4 mMatrix;
uniform vec3 lightPosition;

varying vec3 toLight;
varying float towardLight; // the way to the light along the normal, unsigned
varying vec2 uv;

void main()
{
    vec3 world = (mMatrix * vec4(position, 1.0)).xyz;
    vec3 worldNormal = normalize((mMatrix * vec4(normal, 0.0)).xyz);
    toLight = lightPosition - world;
    // The cube's normals point outward and the light is inside: the lit
    // side is the inner one, whichever way the normal points.
    towardLight = abs(dot(worldNormal, toLight));
    uv = texCoord;
    gl_Position = mvpMatrix * vec4(position, 1.0);
}
