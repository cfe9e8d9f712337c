#version 110
// The last pass over every frame: the frame, its glow and the fade.
//
// fade runs from 0 (black) to 10 (the picture as rendered). The scenes push it
// past 10, up to about 45, while the camera moves: that range over-exposes the
// picture on purpose. The glow of the bright parts (blurred at a quarter of
// the frame's size by the glow passes) spreads over their surroundings, the
// colour channels drift apart a little and highlights roll off toward white,
// all growing with the excess. What is dark and far from anything bright
// stays dark. A light vignette shades the corners at every fade.
//
// Built twice: as it stands, and with PLAIN defined for the frames the fade
// does not over-expose, which leaves the excess out, and with it the five
// texture reads a software GL pays for even where the branch is not taken.
// An edit here shows in both.

uniform sampler2D texScreen;
#ifndef PLAIN
uniform sampler2D texGlow;
uniform vec2 resolution;
#endif
uniform float fade;

varying vec2 uv;

void main()
{
    float level = clamp(fade / 10.0, 0.0, 1.0);

    vec3 colour = texture2D(texScreen, uv).rgb;
#ifndef PLAIN
    float excess = clamp((fade - 10.0) / 35.0, 0.0, 1.0); // 0 at 10, 1 at 45
    if (excess > 0.0) {
        // Chromatic drift: red and blue read apart toward the edges, as far
        // across as down on screen (a few pixels at 640 lines).
        vec2 drift = (uv - 0.5) * (0.008 * excess) * vec2(resolution.y / max(resolution.x, 1.0), 1.0);
        colour = vec3(texture2D(texScreen, uv + drift).r, colour.g, texture2D(texScreen, uv - drift).b);
        // The glow passes run only while there is an excess; without one
        // their target holds an older frame's glow.
        colour += texture2D(texGlow, uv).rgb * 1.8;
        // Exposure with a shoulder: brighter, but highlights keep their
        // shading as they approach white instead of clipping flat.
        colour *= 1.0 + 0.45 * excess;
        colour /= 1.0 + 0.35 * excess * colour;
    }
#endif

    vec2 centred = uv - 0.5;
    float vignette = 1.0 - 0.22 * smoothstep(0.2, 0.7, dot(centred, centred) * 1.4);
    gl_FragColor = vec4(colour * vignette * level, 1.0);
}
