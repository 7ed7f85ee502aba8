#ifndef MV_ENGINE_CCGL_H
#define MV_ENGINE_CCGL_H

// OpenGL 2.0 entry points through GLEW.
#include <GL/glew.h>

#endif
