// OpenGL 1.1 and GLU; on Windows their headers need <windows.h> first.
#pragma once

#include "platform/win32.h"

#include <GL/gl.h>
#include <GL/glu.h>
