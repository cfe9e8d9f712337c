#version 110
// The texture's colour, its alpha scaled by the fade factor of the strip.

uniform sampler2D texture;
uniform float alphaFact;

varying vec2 uv;

void main()
{
    vec4 texel = texture2D(texture, uv);
    gl_FragColor = vec4(texel.rgb, texel.a * alphaFact);
}
