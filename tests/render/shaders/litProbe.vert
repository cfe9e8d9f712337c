#version 110
// What the lit textured pass sends, written into the colour: red, how far
// the model matrix moves the vertex along x; green, how far the light is
// from the origin (tenths); blue, the normal's z.
attribute vec3 position;
attribute vec3 normal;
attribute vec2 texCoord;
uniform mat4 mvpMatrix;
uniform mat4 mMatrix;
uniform vec3 lightPosition;
varying vec3 probe;
varying vec2 uv;
void main()
{
    vec3 world = (mMatrix * vec4(position, 1.0)).xyz;
    probe = vec3(world.x - position.x, length(lightPosition) / 10.0, normal.z);
    uv = texCoord;
    gl_Position = mvpMatrix * vec4(position, 1.0);
}
