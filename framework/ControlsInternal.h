// Small helpers the parts of the Controls module share.
#pragma once

#include "System.h"

namespace ControlsInternal {

// The signed coordinates a mouse message packs into its LParam.
inline Integer LoWordSigned(LPARAM L) { return static_cast<SHORT>(LOWORD(L)); }
inline Integer HiWordSigned(LPARAM L) { return static_cast<SHORT>(HIWORD(L)); }

}  // namespace ControlsInternal

// Frees the back buffers and the theme library binding (Controls_Finalize).
void ControlsPaint_Finalize();

class TControl;
// Ends a drag of the control, or forgets it as the drag's target, before it
// is destroyed (TControl::BeforeDestruction).
void DragControlDestroyed(TControl* AControl);
