#version 110
// The texture unchanged; no "lightPosition", so the pass must warn and still draw.
uniform sampler2D wallTexture;
varying vec2 uv;
varying float keep;
void main()
{
    gl_FragColor = vec4(texture2D(wallTexture, uv).rgb * keep, 1.0);
}
