// At what DPI a component draws, what DPI the system, the desktop or a
// monitor has, the three shared scale factors, and system metrics at a scale.
#pragma once

#include "Graphics.h"
#include "cxGeometry.h"

constexpr Integer dxDefaultDPI = cxDefaultDPI;
constexpr Integer dxMinimumDPI = 30;
constexpr Integer dxMaximumDPI = 480;
inline constexpr Integer dxDefaultDPIValues[] = {96, 120, 144, 168, 192, 216, 240, 288};

// Images that know the DPI and size they were drawn for.
struct IdxSourceDPI : public IUnknown {
  virtual Integer STDMETHODCALLTYPE GetSourceDPI() = 0;
};
__CRT_UUID_DECL(IdxSourceDPI, 0xF722512C, 0x50D3, 0x4266, 0xAA, 0x1C, 0x39, 0x9C, 0x33, 0x01, 0xBB,
                0x6A)
struct IdxSourceSize : public IUnknown {
  virtual TSize STDMETHODCALLTYPE GetSourceSize() = 0;
};
__CRT_UUID_DECL(IdxSourceSize, 0xF8A5DDDA, 0xFE77, 0x45F1, 0x8A, 0x75, 0x20, 0x37, 0x67, 0xED, 0x59,
                0x82)

class TdxSystemBasedScaleFactor : public TdxScaleFactor {
  DECLARE_CLASS(TdxSystemBasedScaleFactor, TdxScaleFactor)
 public:
  void AfterConstruction() override;
  virtual void Update() = 0;
};

class TdxSystemScaleFactor : public TdxSystemBasedScaleFactor {
  DECLARE_CLASS(TdxSystemScaleFactor, TdxSystemBasedScaleFactor)
 public:
  void Update() override;
};

class TdxDesktopScaleFactor : public TdxSystemBasedScaleFactor {
  DECLARE_CLASS(TdxDesktopScaleFactor, TdxSystemBasedScaleFactor)
 public:
  void Update() override;
};

Integer dxCheckDPIValue(Integer AValue);
Integer dxGetSystemDPI();
Integer dxGetDesktopDPI();
bool dxIsProcessDPIAware();
Integer dxGetMonitorDPI(HMONITOR AMonitor);
Integer dxGetMonitorDPI(const TPoint& AScreenPoint);

// What the DPI routines ask about forms and controls. The defaults answer
// through the framework's forms and controls; tests may stand in their own.
struct TdxDPIControlServices {
  // True when AObject is a form; ADPI is its current DPI.
  bool (*GetFormDPI)(TObject* AObject, Integer& ADPI) = nullptr;
  // True when AObject is a control; AParent is its parent control or nullptr.
  bool (*GetControlParent)(TObject* AObject, TObject*& AParent) = nullptr;
  // True when AObject is a control; ACenter is the centre of its client
  // area in screen coordinates.
  bool (*GetControlScreenCenter)(TObject* AObject, TPoint& ACenter) = nullptr;
  // True when AObject is a data module.
  bool (*IsDataModule)(TObject* AObject) = nullptr;
};
TdxDPIControlServices& dxDPIControlServices();

// The form's current DPI; the system DPI for anything that is not a form.
Integer dxGetFormDPI(TObject* AForm);
bool dxGetCurrentScaleFactor(TObject* AComponent, Integer& ANumerator, Integer& ADenominator);
Integer dxGetCurrentDPI(TObject* AComponent);
Integer dxGetTargetDPI(TObject* AComponent);
// The owner's factor through IdxScaleFactor, else the system factor.
TdxScaleFactor* dxGetScaleFactor(TObject* AOwner);
Integer dxGetSystemMetrics(Integer AIndex, const TdxScaleFactor* AScaleFactor);
// Copies the font, converting its height from the source factor to the target.
void dxAssignFont(TFont* ATargetFont, TFont* ASourceFont, const TdxScaleFactor* ATargetScaleFactor,
                  const TdxScaleFactor* ASourceScaleFactor);

// The shared factors, created on first request; nullptr once the module's
// shut-down began.
TdxScaleFactor* dxDefaultScaleFactor();
TdxSystemScaleFactor* dxSystemScaleFactor();
TdxDesktopScaleFactor* dxDesktopScaleFactor();

// The per-monitor entry points, bound at start-up when the platform has them.
struct TdxDPIBinding {
  HRESULT(WINAPI* GetDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
  HRESULT(WINAPI* GetProcessDpiAwareness)(HANDLE, int*) = nullptr;
  HRESULT(WINAPI* SetProcessDpiAwareness)(int) = nullptr;
  int(WINAPI* GetSystemMetricsForDpi)(int, UINT) = nullptr;
  DPI_AWARENESS_CONTEXT(WINAPI* SetThreadDpiAwarenessContext)(DPI_AWARENESS_CONTEXT) = nullptr;
  BOOL(WINAPI* AdjustWindowRectExForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
};
TdxDPIBinding& dxDPIBinding();

// Registers the module's start-up and shut-down with the units loader.
void dxDPIAwareUtils_Initialize();
void dxDPIAwareUtils_Finalize();
