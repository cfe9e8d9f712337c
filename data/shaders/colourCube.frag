#version 110
// No normal reaches this pass, so each face finds its own from the screen-space
// derivatives of the cube's local position; faces get fixed shades per axis and
// a soft bevel at the edges, which lets the flat colours read as solid blocks.
// A face seen from behind is not drawn: the cross never shows one, except when
// a camera's path runs through a cube, which the camera then passes through
// instead of filling the screen with the cube's inside.

uniform vec4 colour;

varying vec3 local;

void main()
{
    vec3 faceNormal = normalize(cross(dFdx(local), dFdy(local)));
    vec3 axis = abs(faceNormal);
    float shade = dot(axis, vec3(0.78, 1.0, 0.62));

    // Distance to the nearest edge of this face: the coordinate along the
    // normal is constant (0 or 1), the other two run across the face.
    vec3 edge = min(local, 1.0 - local);
    edge += axis * 1.0; // ignore the axis the face is flat in
    float nearest = min(min(edge.x, edge.y), edge.z);
    float bevel = smoothstep(0.0, 0.09, nearest);

    vec3 lit = colour.rgb * shade * (0.7 + 0.3 * bevel);
    // Edges catch a faint rim so even the black cubes keep an outline.
    lit += vec3(0.09, 0.06, 0.05) * (1.0 - bevel);
    gl_FragColor = vec4(lit, colour.a);
}
