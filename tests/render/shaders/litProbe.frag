#version 110
uniform sampler2D wallTexture;
varying vec3 probe;
varying vec2 uv;
void main()
{
    gl_FragColor = vec4(probe * texture2D(wallTexture, uv).a, 1.0);
}
