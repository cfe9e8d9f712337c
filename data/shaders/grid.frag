#version 110
// A world cube's face in the colour its corners worked out (its point's
// colour, its light and the pulse), with thin dark seams at the cube's edges
// that keep neighbouring cubes apart.

varying vec3 local;
varying vec3 localNormal;
varying vec4 faceColour;

void main()
{
    // The coordinate along the face's own normal is constant, so it is left out.
    vec3 edge = min(local, 1.0 - local) + step(0.9, abs(localNormal));
    float seam = smoothstep(0.0, 0.06, min(min(edge.x, edge.y), edge.z));
    gl_FragColor = vec4(faceColour.rgb * (0.55 + 0.45 * seam), faceColour.a);
}
