#version 110
// Compiles, but its varying disagrees in type with mismatch.frag, so the pair
// does not link.
varying vec3 shade;

void main()
{
    shade = vec3(1.0);
    gl_Position = vec4(0.0, 0.0, 0.0, 1.0);
}
