#include "dxDPIAwareUtils.h"

#include "Forms.h"

namespace {
bool FrameworkFormDPI(TObject* AObject, Integer& ADPI) {
  auto* Form = AsOrNull<TCustomForm>(AObject);
  if (!Form) return false;
  // PixelsPerInch is the DPI the form was designed at; once the form has
  // been scaled to its monitor, the current DPI is the one it draws at.
  ADPI = Form->CurrentPPI() != 0 ? Form->CurrentPPI() : Form->PixelsPerInch();
  return true;
}

bool FrameworkControlParent(TObject* AObject, TObject*& AParent) {
  auto* Control = AsOrNull<TControl>(AObject);
  if (!Control) return false;
  AParent = Control->Parent();
  return true;
}

bool FrameworkControlScreenCenter(TObject* AObject, TPoint& ACenter) {
  auto* Control = AsOrNull<TControl>(AObject);
  if (!Control) return false;
  TRect R = Control->ClientRect();
  // Halves rounded towards minus infinity.
  ACenter = Control->ClientToScreen(TPoint{(R.left + R.right) >> 1, (R.top + R.bottom) >> 1});
  return true;
}

TdxDPIBinding Binding;
TdxDPIControlServices ControlServices{&FrameworkFormDPI, &FrameworkControlParent,
                                      &FrameworkControlScreenCenter, nullptr};
HMODULE ShcoreLibrary = nullptr;
bool DPIFinalized = false;
TdxScaleFactor* FDefaultScaleFactor = nullptr;
TdxSystemScaleFactor* FSystemScaleFactor = nullptr;
TdxDesktopScaleFactor* FDesktopScaleFactor = nullptr;

template <class F>
void Bind(F& AEntry, HMODULE AModule, const char* AName) {
  AEntry = AModule ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(AModule, AName)))
                   : nullptr;
}

void DPIInitialize() {
  DPIFinalized = false;
  ShcoreLibrary = LoadLibraryW(L"Shcore.dll");
  Bind(Binding.GetDpiForMonitor, ShcoreLibrary, "GetDpiForMonitor");
  Bind(Binding.GetProcessDpiAwareness, ShcoreLibrary, "GetProcessDpiAwareness");
  Bind(Binding.SetProcessDpiAwareness, ShcoreLibrary, "SetProcessDpiAwareness");
  HMODULE User32 = GetModuleHandleW(L"user32.dll");
  Bind(Binding.GetSystemMetricsForDpi, User32, "GetSystemMetricsForDpi");
  Bind(Binding.SetThreadDpiAwarenessContext, User32, "SetThreadDpiAwarenessContext");
  Bind(Binding.AdjustWindowRectExForDpi, User32, "AdjustWindowRectExForDpi");
}

void DPIFinalize() {
  DPIFinalized = true;
  Binding = TdxDPIBinding{};
  if (ShcoreLibrary) FreeLibrary(ShcoreLibrary);
  ShcoreLibrary = nullptr;
  FreeAndNil(FDesktopScaleFactor);
  FreeAndNil(FDefaultScaleFactor);
  FreeAndNil(FSystemScaleFactor);
}
}  // namespace

TdxDPIBinding& dxDPIBinding() { return Binding; }
TdxDPIControlServices& dxDPIControlServices() { return ControlServices; }

IMPLEMENT_CLASS(TdxSystemBasedScaleFactor)
IMPLEMENT_CREATABLE_CLASS(TdxSystemScaleFactor)
IMPLEMENT_CREATABLE_CLASS(TdxDesktopScaleFactor)

void TdxSystemBasedScaleFactor::AfterConstruction() {
  inherited::AfterConstruction();
  Update();
}

void TdxSystemScaleFactor::Update() { Assign(dxGetSystemDPI(), dxDefaultDPI, false); }

void TdxDesktopScaleFactor::Update() {
  Assign(dxIsProcessDPIAware() ? dxGetDesktopDPI() : dxGetSystemDPI(), dxDefaultDPI, false);
}

Integer dxCheckDPIValue(Integer AValue) {
  return std::max(dxMinimumDPI, std::min(dxMaximumDPI, AValue));
}

Integer dxGetSystemDPI() { return GetScreenDPI(); }

Integer dxGetDesktopDPI() {
  HKEY Opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", 0, KEY_READ,
                    &Opened) == ERROR_SUCCESS) {
    TRegistryKeyHandle Key(Opened);
    DWORD Value = 0, Size = sizeof(Value), Type = 0;
    LONG R = RegQueryValueExW(Key.Get(), L"AppliedDPI", nullptr, &Type,
                              reinterpret_cast<BYTE*>(&Value), &Size);
    if (R == ERROR_SUCCESS && Type == REG_DWORD) return static_cast<Integer>(Value);
  }
  return dxGetSystemDPI();
}

bool dxIsProcessDPIAware() { return IsWinVistaOrLater && IsProcessDPIAware(); }

Integer dxGetMonitorDPI(HMONITOR AMonitor) {
  UINT X = 0, Y = 0;
  if (AMonitor && Binding.GetDpiForMonitor &&
      SUCCEEDED(Binding.GetDpiForMonitor(AMonitor, 0 /* effective DPI */, &X, &Y)))
    return static_cast<Integer>(Y);
  return dxGetSystemDPI();
}

Integer dxGetMonitorDPI(const TPoint& AScreenPoint) {
  return dxGetMonitorDPI(MonitorFromPoint(AScreenPoint, MONITOR_DEFAULTTONEAREST));
}

namespace {
TdxScaleFactor* QueryScaleFactor(TObject* AObject) {
  IdxScaleFactor* Intf = nullptr;
  if (!Supports(AObject, __uuidof(IdxScaleFactor), reinterpret_cast<void**>(&Intf)) || !Intf)
    return nullptr;
  TdxScaleFactor* Result = Intf->GetScaleFactor();
  Intf->Release();
  return Result;
}
}  // namespace

Integer dxGetFormDPI(TObject* AForm) {
  Integer DPI;
  if (AForm && ControlServices.GetFormDPI && ControlServices.GetFormDPI(AForm, DPI)) return DPI;
  return dxGetSystemDPI();
}

bool dxGetCurrentScaleFactor(TObject* AComponent, Integer& ANumerator, Integer& ADenominator) {
  if (!AComponent) return false;
  Integer DPI;
  if (ControlServices.GetFormDPI && ControlServices.GetFormDPI(AComponent, DPI)) {
    ANumerator = DPI;
    ADenominator = dxDefaultDPI;
    return true;
  }
  if (TdxScaleFactor* F = QueryScaleFactor(AComponent)) {
    ANumerator = F->Numerator();
    ADenominator = F->Denominator();
    return true;
  }
  TObject* Parent = nullptr;
  if (ControlServices.GetControlParent && ControlServices.GetControlParent(AComponent, Parent))
    return dxGetCurrentScaleFactor(Parent, ANumerator, ADenominator);
  if (ControlServices.IsDataModule && ControlServices.IsDataModule(AComponent)) {
    ANumerator = dxGetSystemDPI();
    ADenominator = dxDefaultDPI;
    return true;
  }
  return false;
}

Integer dxGetCurrentDPI(TObject* AComponent) {
  Integer M, D;
  return dxGetCurrentScaleFactor(AComponent, M, D) ? MulDiv(dxDefaultDPI, M, D) : dxDefaultDPI;
}

Integer dxGetTargetDPI(TObject* AComponent) {
  if (IsWin8OrLater && AComponent && ControlServices.GetControlScreenCenter) {
    for (TObject* O = AComponent; O;) {
      TPoint Center;
      if (ControlServices.GetControlScreenCenter(O, Center)) return dxGetMonitorDPI(Center);
      TComponent* C = AsOrNull<TComponent>(O);
      O = C ? C->Owner() : nullptr;
    }
  }
  return dxGetSystemDPI();
}

TdxScaleFactor* dxGetScaleFactor(TObject* AOwner) {
  if (TdxScaleFactor* F = QueryScaleFactor(AOwner)) return F;
  return dxSystemScaleFactor();
}

Integer dxGetSystemMetrics(Integer AIndex, const TdxScaleFactor* AScaleFactor) {
  if (!AScaleFactor) return GetSystemMetrics(AIndex);
  if (Binding.GetSystemMetricsForDpi)
    return Binding.GetSystemMetricsForDpi(AIndex, static_cast<UINT>(AScaleFactor->TargetDPI()));
  Integer Value = GetSystemMetrics(AIndex);
  if (TdxDesktopScaleFactor* Desktop = dxDesktopScaleFactor())
    return AScaleFactor->Apply(Value, Desktop->Numerator(), Desktop->Denominator());
  return Value;
}

void dxAssignFont(TFont* ATargetFont, TFont* ASourceFont, const TdxScaleFactor* ATargetScaleFactor,
                  const TdxScaleFactor* ASourceScaleFactor) {
  ATargetFont->Assign(ASourceFont);
  ATargetFont->SetHeight(ATargetScaleFactor->Apply(
      ASourceFont->Height(), ASourceScaleFactor->Numerator(), ASourceScaleFactor->Denominator()));
}

TdxScaleFactor* dxDefaultScaleFactor() {
  if (!FDefaultScaleFactor && !DPIFinalized) FDefaultScaleFactor = Create<TdxScaleFactor>();
  return FDefaultScaleFactor;
}

TdxSystemScaleFactor* dxSystemScaleFactor() {
  if (!FSystemScaleFactor && !DPIFinalized) FSystemScaleFactor = Create<TdxSystemScaleFactor>();
  return FSystemScaleFactor;
}

TdxDesktopScaleFactor* dxDesktopScaleFactor() {
  if (!FDesktopScaleFactor && !DPIFinalized) FDesktopScaleFactor = Create<TdxDesktopScaleFactor>();
  return FDesktopScaleFactor;
}

void dxDPIAwareUtils_Initialize() {
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->AddUnit(&DPIInitialize, &DPIFinalize);
}

void dxDPIAwareUtils_Finalize() {
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->RemoveUnit(&DPIFinalize);
}
