#version 110
// The last pass over every frame.
//
// fade runs from 0 (black) to 10 (the picture as rendered). The scenes push it
// past 10, up to about 45, while the camera moves: that range over-exposes the
// picture on purpose. Bright parts glow outward, the colour channels drift
// apart a little and highlights roll off toward white, growing with the excess.
// A light vignette shades the corners at every fade.

uniform sampler2D texScreen;
uniform vec2 resolution;
uniform float fade;

varying vec2 uv;

// The software renderer runs the glow's loop at every fade, branch or not,
// so its taps are paid on every frame: eight keep the pass as cheap as the
// plain picture's lookups allow while the glow stays smooth.
const int glowTaps = 8;
const float goldenAngle = 2.39996;

vec3 brightPart(vec2 at)
{
    vec3 c = texture2D(texScreen, at).rgb;
    return max(c - vec3(0.5), vec3(0.0));
}

// A different turn for every pixel, so the kernel's few taps blur into a fine
// grain instead of drawing ghost copies of bright edges.
float pixelTurn(vec2 fragment)
{
    return 6.2832 * fract(52.9829 * fract(dot(fragment, vec2(0.06711, 0.00584))));
}

void main()
{
    float level = clamp(fade / 10.0, 0.0, 1.0);
    float excess = clamp((fade - 10.0) / 35.0, 0.0, 1.0); // 0 at 10, 1 at 45
    vec2 pixel = 1.0 / max(resolution, vec2(1.0));

    vec3 colour;
    if (excess > 0.0) {
        // Chromatic drift: red and blue sampled a few pixels apart.
        vec2 drift = (uv - 0.5) * (0.006 * excess);
        colour.r = texture2D(texScreen, uv + drift).r;
        colour.g = texture2D(texScreen, uv).g;
        colour.b = texture2D(texScreen, uv - drift).b;

        // Glow: taps on a golden-angle spiral, denser near the pixel, each
        // weighed less the further out it lies; the spiral widens with the excess.
        float reach = (10.0 + 30.0 * excess) * pixel.y;
        float turn = pixelTurn(gl_FragCoord.xy);
        vec3 glow = vec3(0.0);
        float total = 0.0;
        for (int i = 0; i < glowTaps; ++i) {
            float t = (float(i) + 0.5) / float(glowTaps);
            float angle = turn + goldenAngle * float(i);
            vec2 offset = vec2(cos(angle), sin(angle)) * sqrt(t) * reach;
            offset.x *= resolution.y * pixel.x; // round on screen, not in texture space
            float weight = (1.0 - t) * (1.0 - t);
            glow += brightPart(uv + offset) * weight;
            total += weight;
        }
        colour += glow / total * (2.2 * excess);

        // Exposure, then a shoulder so highlights roll off toward white rather than clip flat.
        colour *= 1.0 + 1.1 * excess;
        colour = colour / (1.0 + 0.3 * excess * colour);
        colour = mix(colour, vec3(1.0), 0.08 * excess * excess);
    } else {
        colour = texture2D(texScreen, uv).rgb;
    }

    vec2 centred = uv - 0.5;
    float vignette = 1.0 - 0.22 * smoothstep(0.2, 0.7, dot(centred, centred) * 1.4);
    gl_FragColor = vec4(colour * vignette * level, 1.0);
}
