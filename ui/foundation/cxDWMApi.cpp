#include "cxDWMApi.h"

namespace {
TdxDWMBinding Binding;

template <class F>
void Bind(F& AEntry, const char* AName) {
  AEntry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Binding.Library, AName)));
}
}  // namespace

const TdxDWMBinding& dxDWMBinding() { return Binding; }

bool IsDwmPresent() { return Binding.Library != nullptr; }

bool IsCompositionEnabled() {
  BOOL Enabled = FALSE;
  if (!Binding.DwmIsCompositionEnabled || FAILED(Binding.DwmIsCompositionEnabled(&Enabled)))
    return false;
  return Enabled != FALSE;
}

void cxDWMApi_Initialize() {
  if (!IsWinVistaOrLater || Binding.Library) return;
  Binding.Library = LoadLibraryW(L"dwmapi.dll");
  if (!Binding.Library) return;
  Bind(Binding.DwmDefWindowProc, "DwmDefWindowProc");
  Bind(Binding.DwmEnableBlurBehindWindow, "DwmEnableBlurBehindWindow");
  Bind(Binding.DwmEnableComposition, "DwmEnableComposition");
  Bind(Binding.DwmEnableMMCSS, "DwmEnableMMCSS");
  Bind(Binding.DwmExtendFrameIntoClientArea, "DwmExtendFrameIntoClientArea");
  Bind(Binding.DwmGetColorizationColor, "DwmGetColorizationColor");
  Bind(Binding.DwmGetWindowAttribute, "DwmGetWindowAttribute");
  Bind(Binding.DwmIsCompositionEnabled, "DwmIsCompositionEnabled");
  Bind(Binding.DwmSetWindowAttribute, "DwmSetWindowAttribute");
  Bind(Binding.DwmSetIconicThumbnail, "DwmSetIconicThumbnail");
  Bind(Binding.DwmSetIconicLivePreviewBitmap, "DwmSetIconicLivePreviewBitmap");
  Bind(Binding.DwmInvalidateIconicBitmaps, "DwmInvalidateIconicBitmaps");
}

void cxDWMApi_Finalize() {
  if (Binding.Library) FreeLibrary(Binding.Library);
  Binding = TdxDWMBinding{};
}
