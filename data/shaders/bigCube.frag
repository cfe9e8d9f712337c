#version 110
// Wall texture under a warm point light inside the room: the walls glow where
// they face the light closely and sink into the dark toward the corners.

uniform sampler2D wallTexture;

varying vec3 toLight;
varying float towardLight;
varying vec2 uv;

void main()
{
    float squared = dot(toLight, toLight); // the distance to the light, squared
    // The cosine between the face's normal and the way to the light.
    float facing = towardLight * inversesqrt(max(squared, 0.00000001));
    // Falloff tuned for a room of half-width 25: about 1 at a wall's centre, a third in the corners.
    float falloff = 1.0 / (1.0 + 0.0022 * squared);
    float light = 0.06 + 1.7 * facing * falloff;

    vec3 texel = texture2D(wallTexture, uv).rgb;
    vec3 warm = vec3(1.0, 0.86, 0.7);
    vec3 colour = texel * warm * light;
    // A little extra glow straight in front of the light.
    float sheen = facing * falloff * 1.65;
    sheen *= sheen * sheen; // the sixth power, without pow's exp and log
    colour += vec3(0.16, 0.07, 0.02) * (sheen * sheen);
    gl_FragColor = vec4(colour, 1.0);
}
