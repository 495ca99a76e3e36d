// The input method a windowed control asks for while it has the focus.
#include <vector>

#include "Controls.h"
#include "SysUtils.h"
// After the platform headers that Controls.h brings: imm.h relies on them.
#include <imm.h>

namespace {

// The conversion mode of each mode past imDontCare.
struct TImeConversion {
  TImeMode Mode;
  DWORD Conversion;
};
constexpr TImeConversion ImeConversions[] = {
    {imSAlpha, IME_CMODE_ALPHANUMERIC},
    {imAlpha, IME_CMODE_ALPHANUMERIC | IME_CMODE_FULLSHAPE},
    {imHira, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE},
    {imSKata, IME_CMODE_NATIVE | IME_CMODE_KATAKANA},
    {imKata, IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE},
    {imChinese, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE},
    {imSHanguel, IME_CMODE_NATIVE},
    {imHanguel, IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE},
};

// The installed keyboard layout whose input method the name describes.
HKL FindImeLayout(const String& AName) {
  int Count = GetKeyboardLayoutList(0, nullptr);
  std::vector<HKL> Layouts(static_cast<size_t>(std::max(Count, 0)));
  Count = GetKeyboardLayoutList(Count, Layouts.data());
  for (int I = 0; I < Count; ++I) {
    wchar_t Description[256] = {};
    if (ImmIsIME(Layouts[I]) && ImmGetDescriptionW(Layouts[I], Description, 255) > 0 &&
        SameText(Description, AName))
      return Layouts[I];
  }
  return nullptr;
}

}  // namespace

void TWinControl::SetImeMode(TImeMode V) {
  if (V == FImeMode) return;
  TImeMode Old = FImeMode;
  FImeMode = V;
  if (!FHandle || GetFocus() != FHandle) return;
  // The input method comes back before a focused control takes other wishes.
  if (Old == imDisable) ImmAssociateContextEx(FHandle, nullptr, IACE_DEFAULT);
  SetIme();
}

void TWinControl::SetImeName(const TImeName& V) {
  if (V == FImeName) return;
  FImeName = V;
  if (FHandle && GetFocus() == FHandle) SetIme();
}

void TWinControl::SetIme() {
  if (!FHandle || (FImeMode == imDontCare && FImeName.empty())) return;
  if (!FImeName.empty())
    if (HKL Layout = FindImeLayout(FImeName); Layout && Layout != GetKeyboardLayout(0)) {
      if (!FImeSavedLayout) FImeSavedLayout = GetKeyboardLayout(0);
      ActivateKeyboardLayout(Layout, 0);
    }
  if (FImeMode == imDisable) {
    ImmAssociateContext(FHandle, nullptr);
    return;
  }
  if (FImeMode == imDontCare) return;
  HIMC Context = ImmGetContext(FHandle);
  if (!Context) return;
  ImmSetOpenStatus(Context, FImeMode != imClose);
  for (const TImeConversion& C : ImeConversions)
    if (C.Mode == FImeMode) {
      DWORD Conversion = 0, Sentence = 0;
      ImmGetConversionStatus(Context, &Conversion, &Sentence);
      ImmSetConversionStatus(Context, C.Conversion, Sentence);
    }
  ImmReleaseContext(FHandle, Context);
}

void TWinControl::ResetIme() {
  if (!FHandle) return;
  if (FImeMode == imDisable) ImmAssociateContextEx(FHandle, nullptr, IACE_DEFAULT);
  if (HKL Saved = std::exchange(FImeSavedLayout, nullptr)) ActivateKeyboardLayout(Saved, 0);
}
