#version 110
// A world cube in its point's colour, lit by its normal.
//
// The pulse: the scenes restart pulseDistance at 0 every two seconds and let
// it climb by 0.7 or 0.8 a frame, to about 90 by the next restart. Taken as a
// tenth, it is a front that sweeps out from the point to the rim of the ball
// once per restart. Cubes at the front flash white-hot with a ring of the
// point's colour ahead of it; cubes it has passed keep an afterglow that fades
// as it moves on. A pulse distance of 0 or below shows nothing.

uniform float pulseDistance;

varying vec3 worldNormal;
varying vec3 local;
varying vec3 localNormal;
varying vec4 color;
varying float distanceToPoint;

void main()
{
    vec3 n = normalize(worldNormal);
    vec3 keyLight = normalize(vec3(0.4, 0.8, -0.45));
    float diffuse = max(dot(n, keyLight), 0.0);
    float fill = 0.5 + 0.5 * n.y;
    vec3 lit = color.rgb * (0.2 + 0.7 * diffuse + 0.18 * fill);

    float front = 0.0;
    float ring = 0.0;
    float afterglow = 0.0;
    if (pulseDistance > 0.0) {
        float behind = pulseDistance * 0.1 - distanceToPoint; // > 0 once the front has passed the cube
        front = exp(-behind * behind * 3.0);
        ring = exp(-(behind + 0.9) * (behind + 0.9) * 2.0);
        if (behind > 0.0)
            afterglow = 0.6 * exp(-0.55 * behind);
    }
    vec3 hot = mix(color.rgb, vec3(1.0, 0.97, 0.9), 0.7) * 1.9;
    lit += color.rgb * (afterglow + 0.8 * ring);
    lit = mix(lit, hot, front);

    // Thin dark seams at the cube's edges keep neighbouring cubes apart. The
    // coordinate along the face's own normal is constant, so it is left out.
    vec3 edge = min(local, 1.0 - local) + step(0.9, abs(localNormal));
    float seam = smoothstep(0.0, 0.06, min(min(edge.x, edge.y), edge.z));
    lit *= 0.55 + 0.45 * seam;
    gl_FragColor = vec4(lit, color.a);
}
