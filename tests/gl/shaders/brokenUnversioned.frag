// Without a version line, and broken on its fourth line.
void main()
{
    gl_FragColor = vec4(1.0) +;
}
