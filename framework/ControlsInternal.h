// What the parts of the Controls module share.
#pragma once

#include "System.h"

// Frees the back buffers and the theme library binding (Controls_Finalize).
void ControlsPaint_Finalize();

class TControl;
// Ends a drag of the control, or forgets it as the drag's target, before it
// is destroyed (TControl::BeforeDestruction).
void DragControlDestroyed(TControl* AControl);
