// What the parts of the graphics module share among themselves; not for
// callers outside the module.
#pragma once

#include "cxGraphics.h"

namespace cxGraphicsInternal {

// The module's shut-down has begun.
bool ModuleFinalized();
void FreeSharedCanvases();
void FreeScratchBitmaps();
// The paint cache of image lists and the animation controller class.
void InitializeImageListServices();
void FinalizeImageListServices();

}  // namespace cxGraphicsInternal
