#version 110
uniform vec4 colour;
uniform sampler2D image;
// Declared but never read, so the linker drops it.
uniform mat4 unused;
varying vec2 texCoord;

void main()
{
    gl_FragColor = colour * texture2D(image, texCoord);
}
