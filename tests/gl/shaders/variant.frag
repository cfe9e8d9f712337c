#version 110
// Built as it stands, and with PLAIN, which compiles `tint` out.
uniform vec4 colour;
#ifndef PLAIN
uniform vec4 tint;
#endif
varying vec2 texCoord;

void main()
{
#ifdef PLAIN
    gl_FragColor = colour;
#else
    gl_FragColor = colour * tint * vec4(texCoord, 1.0, 1.0);
#endif
}
