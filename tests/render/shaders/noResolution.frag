#version 110
// A post-process program without "resolution": the screen pass must draw nothing.
uniform sampler2D texScreen;
uniform float fade;
varying vec2 uv;
void main()
{
    gl_FragColor = texture2D(texScreen, uv) * fade;
}
