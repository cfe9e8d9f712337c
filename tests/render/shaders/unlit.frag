#version 110
// The texture unchanged.
uniform sampler2D wallTexture;
varying vec2 uv;
void main()
{
    gl_FragColor = vec4(texture2D(wallTexture, uv).rgb, 1.0);
}
