#version 110
// A post-process program without "texScreen": the screen pass must draw nothing.
uniform vec2 resolution;
uniform float fade;
varying vec2 uv;
void main()
{
    gl_FragColor = vec4(uv * resolution, fade, 1.0);
}
