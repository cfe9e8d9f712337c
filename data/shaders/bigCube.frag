#version 110
// Wall texture under a warm point light at the room's centre: the walls glow
// where they face the light closely and sink into the dark toward the corners.
//
// The room is a cube of half-width 25 around the light, and each of its faces
// maps the whole texture, so a fragment's place relative to the light follows
// from its texture coordinates: 25 along the face's normal, (uv - 0.5) * 50
// across it. Nothing else needs to reach this shader.

uniform sampler2D wallTexture;

varying vec2 uv;

void main()
{
    vec2 across = (uv - 0.5) * 50.0;
    float squared = 625.0 + dot(across, across); // the distance to the light, squared
    // The cosine between the face's normal and the way to the light.
    float facing = 25.0 * inversesqrt(squared);
    // Falloff tuned for this room: about 1 at a wall's centre, a third in the corners.
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
