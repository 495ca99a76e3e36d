// The skin model's process-wide switches that code outside the skins reads.
#pragma once

#include "System.h"

// Which pictures skin elements draw with: their textures, or the alternate
// flat attributes (which the default choice takes in low-colour modes).
enum TdxSkinImageSet { imsDefault, imsOriginal, imsAlternate };

TdxSkinImageSet dxSkinsUseImageSet();
void dxSetSkinsUseImageSet(TdxSkinImageSet AValue);
