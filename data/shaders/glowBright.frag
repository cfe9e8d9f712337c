#version 110
// The first pass of the glow, drawn at a quarter of the frame's size a side:
// what is bright in the 4x4 pixels under each output pixel, read with four
// bilinear taps that between them weigh all sixteen alike. Only what lies
// above the threshold glows, so dark parts of the frame add nothing.

uniform sampler2D texScreen; // the frame
uniform vec2 resolution; // the frame's size in pixels
uniform float fade; // the glow grows with the excess over 10

varying vec2 uv;

const float threshold = 0.55;

vec3 brightPart(vec2 at)
{
    return max(texture2D(texScreen, at).rgb - vec3(threshold), vec3(0.0));
}

void main()
{
    vec2 pixel = 1.0 / max(resolution, vec2(1.0));
    vec3 sum = brightPart(uv + vec2(-pixel.x, -pixel.y)) + brightPart(uv + vec2(pixel.x, -pixel.y))
        + brightPart(uv + vec2(-pixel.x, pixel.y)) + brightPart(uv + vec2(pixel.x, pixel.y));
    float excess = clamp((fade - 10.0) / 35.0, 0.0, 1.0);
    gl_FragColor = vec4(sum * (0.25 * excess), 1.0);
}
