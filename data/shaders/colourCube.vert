#version 110
// The cross's cubes in one flat colour each. A face's shade is fixed by the
// axis it faces, so it is worked out here, at its corners, with the two
// coordinates that run across the face; the fragment shader adds the bevel.

attribute vec3 position; // the unit cube's own 0..1 coordinates
attribute vec3 normal;

uniform mat4 mvpMatrix;

varying vec3 faceShade; // across the face (xy, 0..1), and the face's shade (z)

void main()
{
    vec3 axis = abs(normal);
    vec2 across = axis.x > 0.5 ? position.yz : (axis.y > 0.5 ? position.xz : position.xy);
    faceShade = vec3(across, dot(axis, vec3(0.78, 1.0, 0.62)));
    gl_Position = mvpMatrix * vec4(position, 1.0);
}
