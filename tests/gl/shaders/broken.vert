#version 110
// Does not compile: the statement lacks its semicolon.
void main()
{
    gl_Position = vec4(0.0)
}
