#version 110
// A post-process program without "fade": the screen pass must draw nothing.
uniform sampler2D texScreen;
uniform vec2 resolution;
varying vec2 uv;
void main()
{
    gl_FragColor = texture2D(texScreen, uv) * step(0.0, resolution.x);
}
