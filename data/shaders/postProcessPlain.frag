#version 110
// The last pass over a frame the fade does not over-expose (fade 0 to 10):
// the frame as rendered, darkened by the fade, under a light vignette. It is
// postProcess.frag without an excess, and must stay the same picture.

uniform sampler2D texScreen;
uniform float fade;

varying vec2 uv;

void main()
{
    float level = clamp(fade / 10.0, 0.0, 1.0);
    vec3 colour = texture2D(texScreen, uv).rgb;

    vec2 centred = uv - 0.5;
    float vignette = 1.0 - 0.22 * smoothstep(0.2, 0.7, dot(centred, centred) * 1.4);
    gl_FragColor = vec4(colour * vignette * level, 1.0);
}
