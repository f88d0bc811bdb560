#pragma once
// OpenGL with every entry point declared: the system's GL library exports them all, so the
// device links them directly instead of loading them at run time.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>
