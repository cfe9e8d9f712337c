#version 110
// A world cube's face in the colour its corners worked out (its point's
// colour, its light and the pulse), with thin dark seams at the cube's edges
// that keep neighbouring cubes apart.

varying vec2 across;
varying vec4 faceColour;

void main()
{
    vec2 edge = min(across, 1.0 - across);
    float seam = smoothstep(0.0, 0.06, min(edge.x, edge.y));
    gl_FragColor = vec4(faceColour.rgb * (0.55 + 0.45 * seam), faceColour.a);
}
