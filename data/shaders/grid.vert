#version 110
// The cube world's small cubes, all of a frame's in one draw: each vertex
// carries its cube's placement in the grid, colour and distance to its point.
//
// A face's light and its pulse are the same all over it (one normal per face,
// one distance per cube), so they are worked out here, at its four corners,
// rather than at each of its pixels; the fragment shader adds the seams.
//
// The pulse: the scenes restart pulseDistance at 0 every two seconds and let
// it climb by 0.7 or 0.8 a frame, to about 90 by the next restart. Taken as a
// tenth, it is a front that sweeps out from the point to the rim of the ball
// once per restart. Cubes at the front flash white-hot with a ring of the
// point's colour ahead of it; cubes it has passed keep an afterglow that fades
// as it moves on. A pulse distance of 0 or below shows nothing.

attribute vec3 position; // the unit cube's own 0..1 coordinates
attribute vec3 normal;
attribute vec4 placement; // the cube's corner in the grid (xyz) and its size (w)
attribute vec4 colour;
attribute float objDistance;

uniform mat4 viewProjection;
uniform mat4 gridMatrix; // places the grid in the world
uniform float pulseDistance;

varying vec2 across; // the two coordinates that run across the face, 0..1
varying vec4 faceColour;

void main()
{
    vec3 n = normalize((gridMatrix * vec4(normal, 0.0)).xyz);
    vec3 keyLight = normalize(vec3(0.4, 0.8, -0.45));
    float diffuse = max(dot(n, keyLight), 0.0);
    float fill = 0.5 + 0.5 * n.y;
    vec3 lit = colour.rgb * (0.2 + 0.7 * diffuse + 0.18 * fill);

    float front = 0.0;
    float ring = 0.0;
    float afterglow = 0.0;
    if (pulseDistance > 0.0) {
        float behind = pulseDistance * 0.1 - objDistance; // > 0 once the front has passed the cube
        front = exp(-behind * behind * 3.0);
        ring = exp(-(behind + 0.9) * (behind + 0.9) * 2.0);
        if (behind > 0.0)
            afterglow = 0.6 * exp(-0.55 * behind);
    }
    vec3 hot = mix(colour.rgb, vec3(1.0, 0.97, 0.9), 0.7) * 1.9;
    lit += colour.rgb * (afterglow + 0.8 * ring);
    faceColour = vec4(mix(lit, hot, front), colour.a);

    // The coordinate along the face's normal is the same all over it; the
    // seams need only the other two.
    vec3 axis = abs(normal);
    across = axis.x > 0.5 ? position.yz : (axis.y > 0.5 ? position.xz : position.xy);
    vec4 world = gridMatrix * vec4(placement.xyz + placement.w * position, 1.0);
    gl_Position = viewProjection * world;
}
