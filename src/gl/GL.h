#pragma once

// The one rule of every wrapper in this folder: a wrapper leaves nothing bound
// after an operation except its explicit `bind`, which callers pair with
// `unbind`.
//
// Each wrapper owns exactly one GL name (two for StaticBuffer) and is not
// copyable; all calls need the GL context current on the calling thread and
// GLEW initialised.
#include <GL/glew.h>
