#version 110
// One direction of the glow's blur, at a quarter of the frame's size: a
// Gaussian of thirteen texels read with seven bilinear taps. Run across, then
// down, it spreads each bright pixel into a wide, soft halo with no ring and
// no grain.

uniform sampler2D texScreen; // the glow so far
uniform vec2 resolution; // its size in pixels
uniform float fade; // the halo widens a little with the excess over 10
uniform vec2 direction; // (1, 0) across, (0, 1) down

varying vec2 uv;

void main()
{
    float excess = clamp((fade - 10.0) / 35.0, 0.0, 1.0);
    vec2 step = direction / max(resolution, vec2(1.0)) * (1.0 + 0.5 * excess);
    vec3 sum = texture2D(texScreen, uv).rgb * 0.1964826;
    sum += (texture2D(texScreen, uv + step * 1.4117647).rgb + texture2D(texScreen, uv - step * 1.4117647).rgb) * 0.2969070;
    sum += (texture2D(texScreen, uv + step * 3.2941176).rgb + texture2D(texScreen, uv - step * 3.2941176).rgb) * 0.0944704;
    sum += (texture2D(texScreen, uv + step * 5.1764706).rgb + texture2D(texScreen, uv - step * 5.1764706).rgb) * 0.0103814;
    gl_FragColor = vec4(sum, 1.0);
}
