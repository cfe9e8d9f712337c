#include "demo/VideoDriver.h"

// SDL's own choice on Windows (windib) draws with OpenGL.
void pickVideoDriver() { }
