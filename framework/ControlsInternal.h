// What the parts of the Controls module share.
#pragma once

#include "System.h"

// Frees the back buffers and the theme library binding (Controls_Finalize).
void ControlsPaint_Finalize();
