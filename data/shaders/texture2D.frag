#version 110
// The texture's colour, its alpha scaled by the fade factor of the strip.

uniform sampler2D texture;
uniform float alphaFact;

varying vec2 uv;

void main()
{
    vec4 texel = texture2D(texture, uv);
    // As a strip fades, its dark parts go faster than its bright ones, so
    // that it leaves as light rather than as a dark veil over the picture.
    // At full opacity every part shows as the image has it.
    float brightness = max(max(texel.r, texel.g), texel.b);
    float fading = mix(alphaFact * alphaFact * alphaFact, alphaFact, smoothstep(0.2, 0.7, brightness));
    gl_FragColor = vec4(texel.rgb, texel.a * fading);
}
