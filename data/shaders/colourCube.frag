#version 110
// Each face in its shade, with a soft bevel at its edges, which lets the flat
// colours read as solid blocks.
// A face seen from behind is not drawn: the cross never shows one, except when
// a camera's path runs through a cube, which the camera then passes through
// instead of filling the screen with the cube's inside.

uniform vec4 colour;

varying vec3 faceShade;

void main()
{
    vec2 edge = min(faceShade.xy, 1.0 - faceShade.xy);
    float bevel = smoothstep(0.0, 0.09, min(edge.x, edge.y));

    vec3 lit = colour.rgb * faceShade.z * (0.7 + 0.3 * bevel);
    // Edges catch a faint rim so even the black cubes keep an outline.
    lit += vec3(0.09, 0.06, 0.05) * (1.0 - bevel);
    gl_FragColor = vec4(lit, colour.a);
}
