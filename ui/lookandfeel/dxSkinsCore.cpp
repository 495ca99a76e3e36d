#include "dxSkinsCore.h"

namespace {
TdxSkinImageSet UseImageSet = imsDefault;
}  // namespace

TdxSkinImageSet dxSkinsUseImageSet() { return UseImageSet; }

void dxSetSkinsUseImageSet(TdxSkinImageSet AValue) { UseImageSet = AValue; }
