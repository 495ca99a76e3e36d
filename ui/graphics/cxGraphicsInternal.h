// What the parts of the graphics module share among themselves; not for
// callers outside the module.
#pragma once

#include <utility>

#include "cxGraphics.h"

namespace cxGraphicsInternal {

// One owned GDI object, deleted when the holder goes.
template <class T>
class TGdiObject {
 public:
  explicit TGdiObject(T AHandle = nullptr) : FHandle(AHandle) {}
  ~TGdiObject() {
    if (FHandle) DeleteObject(FHandle);
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  T Handle() const { return FHandle; }
  T Release() {
    T H = FHandle;
    FHandle = nullptr;
    return H;
  }

 private:
  T FHandle;
};

// Selects an object into a DC for the lifetime of the guard.
class TSelection {
 public:
  TSelection(HDC ADC, HGDIOBJ AObject) : FDC(ADC), FOld(SelectObject(ADC, AObject)) {}
  ~TSelection() { SelectObject(FDC, FOld); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// Runs its procedure when the scope ends, on every path.
template <class F>
class TFinally {
 public:
  explicit TFinally(F AProc) : FProc(std::move(AProc)) {}
  ~TFinally() { FProc(); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

 private:
  F FProc;
};

// The module's shut-down has begun.
bool ModuleFinalized();
void FreeSharedCanvases();
void FreeScratchBitmaps();
// The paint cache of image lists and the animation controller class.
void InitializeImageListServices();
void FinalizeImageListServices();

}  // namespace cxGraphicsInternal
