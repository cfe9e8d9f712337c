#version 110
// Exactly the colour it is given, so a test can read it back.
uniform vec4 colour;
void main()
{
    gl_FragColor = colour;
}
