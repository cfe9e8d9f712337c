#version 110
// A world cube in its point's colour, lit by its normal. A pulse runs outward
// from the point: cubes whose distance to the point is close to the pulse
// distance flash bright, and those it has passed keep a fading afterglow.
// A pulse distance of 0 or below shows nothing.

uniform vec4 color;
uniform float pulseDistance;
uniform float objDistance;

varying vec3 worldNormal;
varying vec3 local;
varying vec3 localNormal;

void main()
{
    vec3 n = normalize(worldNormal);
    vec3 keyLight = normalize(vec3(0.4, 0.8, -0.45));
    float diffuse = max(dot(n, keyLight), 0.0);
    float fill = 0.5 + 0.5 * n.y;
    vec3 lit = color.rgb * (0.22 + 0.78 * diffuse + 0.18 * fill);

    float band = 0.0;
    float afterglow = 0.0;
    if (pulseDistance > 0.0) {
        float behind = pulseDistance - objDistance;
        band = 1.0 - smoothstep(0.0, 1.1, abs(behind));
        if (behind > 0.0)
            afterglow = 0.45 * exp(-0.18 * behind);
    }
    vec3 flash = mix(color.rgb, vec3(1.0), 0.65);
    lit = mix(lit, flash * 1.6, band) + color.rgb * afterglow;

    // Thin dark seams at the cube's edges keep neighbouring cubes apart. The
    // coordinate along the face's own normal is constant, so it is left out.
    vec3 edge = min(local, 1.0 - local) + step(0.9, abs(localNormal));
    float seam = smoothstep(0.0, 0.06, min(min(edge.x, edge.y), edge.z));
    lit *= 0.6 + 0.4 * seam;
    gl_FragColor = vec4(lit, color.a);
}
