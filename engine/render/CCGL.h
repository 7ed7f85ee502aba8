#pragma once

// OpenGL 2.0 entry points through GLEW.
#include <GL/glew.h>
