// Forms of the library: per-monitor DPI awareness with the scaling
// notifications controls listen to, a mirrored right-to-left layout, DPI
// scaling for plain frames, and the borderless stay-on-top popup window that
// every drop-down is built on.
#pragma once

#include <vector>

#include "Forms.h"
#include "ImgList.h"
#include "cxControls.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "cxLookAndFeelPainters.h"
#include "dxCore.h"

// Forms replace image-list references by their DPI variants when their scale
// changes (Images96 -> Images144); a program may switch it off at start-up.
bool dxAutoReplaceImageListReferencesOnDPIChanges();
void dxSetAutoReplaceImageListReferencesOnDPIChanges(bool AValue);

// ---------------------------------------------------------------------------
// The form base of the library's own windows. Its scale factor is its DPI
// over 96; it rescales itself and what it owns when the DPI changes.
class TdxCustomForm : public TCustomForm, public IdxScaleFactor {
  DECLARE_CLASS(TdxCustomForm, TCustomForm)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TdxCustomForm(TComponent* AOwner);
  TdxCustomForm(TComponent* AOwner, bool ADummy);
  ~TdxCustomForm() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return FScaleFactor.get(); }
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }

  // While the form helper rescales this form (or a parent), the framework's
  // own scaling; otherwise the whole rescaling with its notifications.
  void ScaleForPPI(Integer NewPPI) override;
  // AWindowRect (may be null): the bounds the platform suggests for the new DPI.
  virtual void ScaleForPPI(Integer ATargetDPI, const TRect* AWindowRect);
  void ScaleBy(Integer M, Integer D);
  void ChangeScale(Integer M, Integer D) override;

  TdxDefaultBoolean RightToLeftLayout() const { return FRightToLeftLayout; }
  void SetRightToLeftLayout(TdxDefaultBoolean AValue);
  bool IsRightToLeftLayout();
  bool RightToLeftApplied() const { return FRightToLeftApplied; }
  TPoint ClientOrigin() override;

 protected:
  virtual void ScaleFactorChanged(Integer M, Integer D);
  virtual void UpdateImageLists();
  void ScaleForCurrentDpi();
  void RightToLeftLayoutChanged();

  void CreateParams(TCreateParams& Params) override;
  void DoShow() override;
  void WMDpiChanged(TMessage& Message) override;
  void CMBiDiModeChanged(TMessage& Message) override;

 private:
  void InitializeNewForm();
  Integer FShowingLevel = 0;
  bool FRightToLeftApplied = false;
  TdxDefaultBoolean FRightToLeftLayout = bDefault;
  TOwned<TdxScaleFactor> FScaleFactor;
};

// ---------------------------------------------------------------------------
// The rescaling of a form with its notifications and redraw locks.
class TdxFormHelper {
 public:
  static void ScaleForPPI(TCustomForm* AForm, Integer ATargetDPI, const TRect* AWindowRect);
  // AContainer or one of its parents is being rescaled now.
  static bool IsScaleChanging(TWinControl* AContainer);
  // Every component AOwner owns that can scale itself gets the new DPI.
  static void ScaleComponentsForDpi(TComponent* AOwner, Integer NewPPI);
  // The form, then its controls recursively in pre-order: the ones that hear
  // of a rescaling.
  static void PopulateControls(TWinControl* AContainer, std::vector<TControl*>& AList);
  static void SetWindowTextWithoutRedrawing(HWND AWnd, const String& AText);
  static LONG_PTR LockWindowRedrawing(HWND AWnd);
  static void UnlockWindowRedrawing(HWND AWnd, LONG_PTR APrevStyle);
  // Redraws the part of the window that became visible inside the work area
  // since APrevVisibleRegion (window coordinates), which takes the new one.
  static void RepaintVisibleWindowArea(HWND AHandle, TRegionHandle& APrevVisibleRegion);
};

class TdxFormRightToLeftLayoutHelper {
 public:
  static constexpr LONG_PTR GetBiDiModeStyles() {
    return WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
  }
  static constexpr LONG_PTR GetRightToLeftLayoutStyles() {
    return WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT;
  }
  static void AddRightToLeftFormExStyle(TCreateParams& AParams);
  static void RemoveBiDiModeStyles(TCustomForm* AForm);
};

// Replaces the image lists a form's components refer to by the variants for
// a DPI, found by name in the image list's owner.
class TdxFormImageListHelper {
 public:
  static void Execute(Integer ATargetDPI, TComponent* AForm);
  explicit TdxFormImageListHelper(Integer ATargetDPI) : FTargetDPI(ATargetDPI) {}
  void UpdateImageLists(TComponent* AForm);
  TCustomImageList* GetReplacement(TCustomImageList* AImageList);

 private:
  void UpdateImageListProperties(TObject* AObject, Integer ADepth);
  TCustomImageList* TryFind(TCustomImageList* AImageList, const String& AName, Integer ADPI);
  std::vector<std::pair<TCustomImageList*, TCustomImageList*>> FReplacementCache;
  Integer FTargetDPI;
};

// ---------------------------------------------------------------------------
// DPI scaling for the platform frames of the process: a frame window that is
// created gets a controller that scales it to its parent's DPI and again
// after each rescaling of its form.
class TdxFrameController : public TObject {
  DECLARE_CLASS(TdxFrameController, TObject)
 public:
  explicit TdxFrameController(TCustomFrame* AFrame);
  ~TdxFrameController() override;
  TCustomFrame* Frame() const { return FFrame; }
  void ScaleForPPI(Integer ATargetDPI, bool AScaleFrame);
  Integer GetTargetDPI();

 private:
  void WndProc(TMessage& Message);
  TCustomFrame* FFrame;
  TcxWindowProcLinkedObject* FWindowProcObject = nullptr;
};

class TdxFrameControllerManager {
 public:
  static void Register(HWND AWnd);
  static void Unregister(HWND AWnd);
  static TdxFrameController* Find(TCustomFrame* AFrame);
  static Integer Count();
};

// ---------------------------------------------------------------------------
// The borderless stay-on-top form that shows a drop-down beside an owner
// rectangle.
// TcxPopupAlignHorz is in cxControls.h (the right-to-left converter mirrors it).
enum TcxPopupAlignVert { pavTop, pavCenter, pavBottom };
enum TcxPopupDirection { pdHorizontal, pdVertical };

class TcxPopupWindow : public TdxCustomForm {
  DECLARE_CLASS(TcxPopupWindow, TdxCustomForm)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TcxPopupWindow(TComponent* AOwner);
  ~TcxPopupWindow() override;

  virtual void Popup();
  virtual void CloseUp();
  virtual TSize CalculateSize();
  virtual TPoint CalculatePosition(const TSize& ASize);
  virtual Integer GetBorderWidth(TcxBorder ASide);
  virtual Integer GetFrameWidth(TcxBorder ASide);
  virtual TRect GetClientBounds();
  virtual TRect GetOwnerScreenBounds();
  bool IsSkinnable() const { return false; }

  bool AcceptAnyPosition() const { return FAcceptAnyPosition; }
  void SetAcceptAnyPosition(bool V) { FAcceptAnyPosition = V; }
  bool Adjustable() const { return FAdjustable; }
  void SetAdjustable(bool V) { FAdjustable = V; }
  TcxPopupAlignHorz AlignHorz() const { return FAlignHorz; }
  void SetAlignHorz(TcxPopupAlignHorz V) { FAlignHorz = V; }
  TcxPopupAlignVert AlignVert() const { return FAlignVert; }
  void SetAlignVert(TcxPopupAlignVert V) { FAlignVert = V; }
  Integer BorderSpace() const { return FBorderSpace; }
  void SetBorderSpace(Integer V);
  TcxPopupBorderStyle PopupBorderStyle() const { return FBorderStyle; }
  void SetPopupBorderStyle(TcxPopupBorderStyle V);
  TcxCanvas* cxCanvas() const { return FCanvas.get(); }
  TcxPopupDirection Direction() const { return FDirection; }
  void SetDirection(TcxPopupDirection V) { FDirection = V; }
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor V) { FFrameColor = V; }
  bool IsOwnerBoundsRTLDependent() const { return FIsOwnerBoundsRTLDependent; }
  void SetIsOwnerBoundsRTLDependent(bool V) { FIsOwnerBoundsRTLDependent = V; }
  const TRect& OwnerBounds() const { return FOwnerBounds; }
  void SetOwnerBounds(const TRect& V) { FOwnerBounds = V; }
  TControl* OwnerParent() const { return FOwnerParent; }
  void SetOwnerParent(TControl* V);
  HWND PrevActiveWindow() const { return FPrevActiveWindow; }

  // What the popup closing hooks ask of a shown popup. The base popup has no
  // owner control and no capture focus; the drop-down popup answers them.
  virtual TWinControl* GetOwnerControl() { return nullptr; }
  virtual bool IsCaptureFocus() { return false; }
  virtual bool IsModalPopup() { return false; }
  virtual bool IsDeactivateLocked() { return false; }
  // Held while a mouse press elsewhere closes the popup.
  virtual void LockDeactivate() {}
  virtual void UnlockDeactivate() {}
  virtual bool IsSysKeyAccepted(Word) { return false; }
  virtual bool NeedIgnoreMouseMessageAfterCloseUp(HWND, UINT, TShiftState, const TPoint&) {
    return false;
  }
  virtual void SetJustClosed() {}
  virtual bool TerminateOnDestroy() { return false; }
  // The owner control hears that the popup closed without its doing.
  virtual void OwnerFocusChanged() {}
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

  // Where the popup's work area comes from; tests inject a fixed one.
  using TWorkAreaFunc = TRect (*)(const TPoint& AOrigin);
  void SetWorkAreaFunc(TWorkAreaFunc AFunc) { FWorkAreaFunc = AFunc; }

 protected:
  virtual void InternalCalculateHorizontalDirectionPosition(TPoint& APosition, TPoint& AOrigin,
                                                            const TSize& ASize);
  virtual void InternalCalculateVerticalDirectionPosition(TPoint& APosition, TPoint& AOrigin,
                                                          const TSize& ASize);
  virtual void InternalCalculateTargetPosition(TPoint& APosition, TPoint& AOrigin,
                                               const TSize& ASize);
  virtual void CalculateCommonPosition(TPoint& APosition, TPoint& AOrigin, const TSize& ASize);
  virtual void CheckPosition(TPoint& APosition, TPoint& AOrigin, const TSize& ASize);
  virtual void CorrectPositionWithDesktopWorkArea(TPoint& APosition, TPoint& AOrigin,
                                                  const TSize& ASize);
  virtual void InitPopup();
  virtual bool UseOwnerParentToGetScreenBounds() { return true; }
  virtual void DrawFrame();
  virtual void VisibleChanged() {}
  void RestoreControlsBounds();
  TRect WorkArea(const TPoint& AOrigin) const;

  void PaintWindow(HDC DC) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMActivate(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  virtual void WMActivateApp(TMessage& Message);

 private:
  // Where the children stand inside the frame: the offset they were moved
  // by, so that a popup shown again does not move them further.
  TPoint FChildrenOffset{};
  bool FAcceptAnyPosition = false;
  bool FAdjustable = true;
  TcxPopupAlignHorz FAlignHorz = pahLeft;
  TcxPopupAlignVert FAlignVert = pavBottom;
  Integer FBorderSpace = 0;
  TcxPopupBorderStyle FBorderStyle = pbsNone;
  TOwned<TcxCanvas> FCanvas;
  TcxPopupDirection FDirection = pdVertical;
  TColor FFrameColor = clWindowText;
  bool FIsOwnerBoundsRTLDependent = false;
  TRect FOwnerBounds{};
  TControl* FOwnerParent = nullptr;
  HWND FPrevActiveWindow = nullptr;
  TWorkAreaFunc FWorkAreaFunc = nullptr;
};

// Start-up installs the frame hook; shut-down removes it and frees the
// frames' controllers.
void dxForms_Initialize();
void dxForms_Finalize();
