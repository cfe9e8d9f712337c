#version 110
// The last pass over every frame.
//
// fade runs from 0 (black) to 10 (the picture as rendered). The scenes push it
// past 10, up to about 45, while the camera moves: that range over-exposes the
// picture on purpose. Bright parts bloom outward, the colour channels drift
// apart a little and the image burns toward white, growing with the excess.
// A soft vignette darkens the corners at every fade.

uniform sampler2D texScreen;
uniform vec2 resolution;
uniform float fade;

varying vec2 uv;

vec3 brightPart(vec2 at)
{
    vec3 c = texture2D(texScreen, at).rgb;
    return max(c - vec3(0.45), vec3(0.0));
}

void main()
{
    float level = clamp(fade / 10.0, 0.0, 1.0);
    float excess = clamp((fade - 10.0) / 35.0, 0.0, 1.0); // 0 at 10, 1 at 45
    vec2 pixel = 1.0 / max(resolution, vec2(1.0));

    vec3 colour;
    if (excess > 0.0) {
        // Chromatic drift: red and blue sampled a few pixels apart.
        vec2 drift = (uv - 0.5) * (0.012 * excess);
        colour.r = texture2D(texScreen, uv + drift).r;
        colour.g = texture2D(texScreen, uv).g;
        colour.b = texture2D(texScreen, uv - drift).b;

        // Bloom: a cross of taps over the bright parts, reaching further as the excess grows.
        float reach = 2.0 + 10.0 * excess;
        vec3 glow = vec3(0.0);
        for (int i = 1; i <= 4; ++i) {
            float r = reach * float(i);
            glow += brightPart(uv + vec2(r, 0.0) * pixel);
            glow += brightPart(uv - vec2(r, 0.0) * pixel);
            glow += brightPart(uv + vec2(0.0, r) * pixel);
            glow += brightPart(uv - vec2(0.0, r) * pixel);
        }
        colour += glow * (0.09 * excess);

        // Exposure, then a gentle shoulder so highlights burn to white rather than clip flat.
        colour *= 1.0 + 1.8 * excess;
        colour = colour / (1.0 + excess * 0.35 * colour);
        colour = mix(colour, vec3(1.0), 0.25 * excess * excess);
    } else {
        colour = texture2D(texScreen, uv).rgb;
    }

    vec2 centred = uv - 0.5;
    float vignette = 1.0 - 0.55 * smoothstep(0.18, 0.75, dot(centred, centred) * 1.4);
    gl_FragColor = vec4(colour * vignette * level, 1.0);
}
