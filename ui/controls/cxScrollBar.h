// The library's self-painted scroll bar: a windowless core that lives in a
// rectangle of an owner window (parameters, layout, mouse behaviour and
// painting through the owner's look-and-feel painter), and the stand-alone
// scroll-bar control built on it.
#pragma once

#include "Controls.h"
#include "StdCtrls.h"
#include "cxClasses.h"
#include "cxGraphics.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"
#include "dxCoreClasses.h"
#include "dxFading.h"
#include "dxThemeManager.h"
#include "dxTouch.h"

class TcxScrollBarHelper;
class TcxScrollBarViewInfo;

// ---------------------------------------------------------------------------
// Vocabulary

// What the owner window of a core answers; every owner implements it.
struct IcxScrollBarOwner : public IUnknown {
  virtual TWinControl* STDMETHODCALLTYPE GetControl() = 0;
  virtual TcxLookAndFeel* STDMETHODCALLTYPE GetLookAndFeel() = 0;
  virtual TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() = 0;
};
__CRT_UUID_DECL(IcxScrollBarOwner, 0x56771164, 0xC253, 0x40FF, 0xB6, 0xD4, 0x2A, 0x29, 0xD0, 0xC9,
                0x02, 0x36)

// Device pixels at 96 DPI: how far beyond the ends of a bar and to either side
// of it a dragged thumb still follows the mouse.
constexpr Integer cxScrollMinDistance = 34;
constexpr Integer cxScrollMaxDistance = 136;
// Thickness of touch-mode bars and of expanded and collapsed hybrid bars.
inline constexpr TSize cxTouchScrollbarSize{16, 16};
inline constexpr TSize cxHybridScrollbarMaxSize{16, 16};
inline constexpr TSize cxHybridScrollbarMinSize{6, 6};

// The state of the hot part while some part is pressed: pressed when it is
// the pressed part, normal otherwise.
constexpr TcxButtonState PartPressedStateMap(bool AIsPressedPart) {
  return AIsPressedPart ? cxbsPressed : cxbsNormal;
}
// The part shown in a visual slot of a horizontal bar (left arrow, right
// arrow, left page, right page); right-to-left bars swap the two sides.
constexpr TcxScrollBarPart HorizontalScrollbarPartToScrollbarPart(bool ARightToLeft,
                                                                  Integer AIndex) {
  constexpr TcxScrollBarPart LeftToRight[] = {sbpLineUp, sbpLineDown, sbpPageUp, sbpPageDown};
  constexpr TcxScrollBarPart RightToLeft[] = {sbpLineDown, sbpLineUp, sbpPageDown, sbpPageUp};
  return ARightToLeft ? RightToLeft[AIndex] : LeftToRight[AIndex];
}

// Sizes of bars: cx is the thickness of a vertical bar, cy that of a
// horizontal one.
TSize GetScaledScrollBarSize(const TdxScaleFactor* AScaleFactor);
// Moves a control and its scale factor to the DPI of its new parent (the
// factor is taken over as it is while the control is being loaded).
void cxUpdateScaleFactorOnParentChange(TWinControl* AControl, TdxScaleFactor* AScaleFactor);
// Scales AControl, whose factor is AScaleFactor, to ANumerator / ADenominator;
// while it is read the factor is only taken over.
void cxChangeScaleFactor(TControl* AControl, TdxScaleFactor* AScaleFactor, Integer ANumerator,
                         Integer ADenominator);
TSize GetScrollBarSize();
// A nil factor means the system's.
TSize GetTouchScrollBarSize(const TdxScaleFactor* AScaleFactor);
TSize HybridScrollbarSize(bool AMax);
TSize GetHybridScrollBarSize(const TdxScaleFactor* AScaleFactor, bool AMax);

// What the core asks of the control framework above this module: whether the
// owner control scrolls its content while the left button drags over a bar.
// The base control's module fills it at its start-up.
struct TcxScrollBarOwnerLink {
  bool (*AllowScrollContentOnDrag)(TWinControl* AOwner) = nullptr;
};
TcxScrollBarOwnerLink& cxScrollBarOwnerLink();

// ---------------------------------------------------------------------------
// Layout

class TcxScrollBarPartViewInfo;

// Fading of one part of a bar between its normal and hot picture.
class TcxScrollBarPartFadingHelper : public TdxFadingObjectHelper {
  DECLARE_CLASS(TcxScrollBarPartFadingHelper, TdxFadingObjectHelper)
 public:
  explicit TcxScrollBarPartFadingHelper(TcxScrollBarPartViewInfo* AOwner) : FOwner(AOwner) {}

  bool STDMETHODCALLTYPE CanFade() override;
  void STDMETHODCALLTYPE DrawFadeImage() override;
  void STDMETHODCALLTYPE GetFadingImages(TcxBitmap*& AFadeOutImage,
                                         TcxBitmap*& AFadeInImage) override;
  // Starts a fade when the part's state changed since the last call.
  void UpdateState();
  TcxButtonState State() const { return FState; }

 private:
  TcxScrollBarPartViewInfo* FOwner;
  TcxButtonState FState = cxbsNormal;
};

class TcxScrollBarPartViewInfo : public TObject {
  DECLARE_CLASS(TcxScrollBarPartViewInfo, TObject)
 public:
  TcxScrollBarPartViewInfo(TcxScrollBarViewInfo* AOwner, TcxScrollBarPart APart);
  ~TcxScrollBarPartViewInfo() override;

  const TRect& Bounds() const { return FBounds; }
  void SetBounds(const TRect& AValue) { FBounds = AValue; }
  TcxScrollBarPartFadingHelper* FadingHelper() const { return FFadingHelper; }
  TcxScrollBarViewInfo* Owner() const { return FOwner; }
  TcxScrollBarPart Part() const { return FPart; }
  // The state the part shows now.
  TcxButtonState GetState() const;
  // The state of the part when it was last drawn or updated.
  TcxButtonState State() const { return FState; }
  void UpdateState();

 private:
  TcxScrollBarViewInfo* FOwner;
  TRect FBounds = cxEmptyRect;
  TcxScrollBarPartFadingHelper* FFadingHelper = nullptr;
  TcxScrollBarPart FPart;
  TcxButtonState FState = cxbsNormal;
};

class TcxScrollBarViewInfo : public TObject {
  DECLARE_CLASS(TcxScrollBarViewInfo, TObject)
 public:
  using TOwnerType = TcxScrollBarHelper;
  explicit TcxScrollBarViewInfo(TcxScrollBarHelper* AScrollBar);
  ~TcxScrollBarViewInfo() override;

  virtual void Calculate();
  void CalculateThumbnailRect();
  void AdjustPageRects();
  // Moves the thumb to start at APos along the bar's axis, keeping its size.
  void SetThumbnailPos(Integer APos);
  // The part under P (client coordinates of the owner), or sbpNone.
  TcxScrollBarPart GetPart(const TPoint& P) const;
  TcxScrollBarPartViewInfo* GetPartInfo(TcxScrollBarPart APart) const;
  TcxScrollBarPartViewInfo* GetHorizontalScrollbarPart(Integer AIndex) const;
  void UpdateFadingHelperStates();

  Integer ArrowButtonLength() const { return FArrowButtonLength; }
  TScrollBarKind Kind() const { return FKind; }
  Integer Length() const { return FLength; }
  Integer MinThumbnailSize() const { return FMinThumbnailSize; }
  TcxScrollBarPart HotPart() const { return FHotPart; }
  void SetHotPart(TcxScrollBarPart AValue) { FHotPart = AValue; }
  TcxScrollBarPart PressedPart() const { return FPressedPart; }
  void SetPressedPart(TcxScrollBarPart AValue) { FPressedPart = AValue; }
  TcxScrollBarHelper* ScrollBar() const { return FScrollBar; }
  const TRect& ThumbnailBounds() const { return GetPartInfo(sbpThumbnail)->Bounds(); }

 protected:
  virtual Integer GetArrowButtonLength();
  virtual TRect GetBounds();

 private:
  void CalculateArrowRects();
  // The left/top edge of the thumb and its length, or false when the bar
  // shows no thumb.
  bool CalculateThumbnail(Integer& AOffset, Integer& ASize);

  Integer FArrowButtonLength = 0;
  TScrollBarKind FKind = sbHorizontal;
  Integer FLength = 0;
  TcxScrollBarPart FHotPart = sbpNone;
  Integer FMinThumbnailSize = 0;
  TcxScrollBarPartViewInfo* FPartInfos[sbpPageDown + 1] = {};
  TcxScrollBarPart FPressedPart = sbpNone;
  TcxScrollBarHelper* FScrollBar;
};

// ---------------------------------------------------------------------------
// Mouse behaviour

class TcxScrollBarController : public TObject {
  DECLARE_CLASS(TcxScrollBarController, TObject)
 public:
  using TOwnerType = TcxScrollBarHelper;
  explicit TcxScrollBarController(TcxScrollBarHelper* AScrollBar);
  ~TcxScrollBarController() override;

  virtual void DoMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void DoMouseEnter(TControl* AControl);
  virtual void DoMouseLeave(TControl* AControl);
  virtual void DoMouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void DoMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void SetThumbnailValue(Integer AValue, bool AFireEvent);

  void SetPositionValue(TScrollCode AScrollCode, Integer AValue);
  void InternalScroll(TScrollCode AScrollCode);
  void DoScroll(TcxScrollBarPart APart);
  void FinishScrolling(TcxScrollBarPart AHotPart);
  Integer GetPositionFromThumbnail();
  // The repeat timer's tick; tests call it to drive the repeat.
  void OnTimer(TObject* Sender);

  TcxTimer* Timer() const { return FTimer.get(); }
  TcxScrollBarHelper* ScrollBar() const { return FScrollBar; }

 private:
  TcxScrollBarViewInfo* ViewInfo() const;
  TcxScrollBarPart PartUnderCursor() const;
  void TrackThumbnail(const TPoint& P);
  // The tracking zone: the bar grown along and across its axis.
  TRect GetTrackingZone() const;

  TPoint FDownMousePos{};
  TPoint FLastMousePos{};
  Integer FSavePosition = 0;
  TPoint FSaveThumbnailPos{};
  TcxScrollBarHelper* FScrollBar;
  TOwned<TcxTimer> FTimer;
};

// ---------------------------------------------------------------------------
// Painting

class TcxScrollBarPainter : public TObject {
  DECLARE_CLASS(TcxScrollBarPainter, TObject)
 public:
  using TOwnerType = TcxScrollBarHelper;
  explicit TcxScrollBarPainter(TcxScrollBarHelper* AScrollBar) : FScrollBar(AScrollBar) {}

  virtual void DoDrawScrollBarPart(TcxCanvas* ACanvas, const TRect& R, TcxScrollBarPart APart,
                                   TcxButtonState AState);
  virtual void DrawScrollBarBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawScrollBarPart(TcxCanvas* ACanvas, TcxScrollBarPart APart);
  virtual bool FadingAvailable();
  virtual Integer GetMinThumbnailSize();
  virtual bool IsButtonHotTrack();
  virtual void Paint(TcxCanvas* ACanvas);

  TcxCustomLookAndFeelPainter* GetLookAndFeelPainter() const;
  TdxScaleFactor* GetScaleFactor() const;
  TcxScrollBarViewInfo* GetViewInfo() const;
  TcxScrollBarHelper* ScrollBar() const { return FScrollBar; }

 private:
  TcxScrollBarHelper* FScrollBar;
};

// ---------------------------------------------------------------------------
// The core

class TcxScrollBarHelper : public TcxIUnknownObject {
  DECLARE_CLASS(TcxScrollBarHelper, TcxIUnknownObject)
 public:
  explicit TcxScrollBarHelper(IcxScrollBarOwner* AOwner);
  ~TcxScrollBarHelper() override;
  // Creates the view info, controller and painter through their class
  // operations, which descendants override.
  void AfterConstruction() override;

  virtual void Calculate();
  virtual void CancelMode();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  // Paints on a canvas of the owner and leaves the bar out of its clip.
  virtual void Paint(TcxCanvas* ACanvas);
  // Paints on a device context of the owner's client area.
  virtual void Paint(HDC DC);
  virtual void Repaint();
  virtual void Invalidate();
  virtual void InvalidateRect(const TRect& R, bool AEraseBackground);
  virtual void DoPaint(TcxCanvas* ACanvas);

  // Raises EInvalidOperation "Scrollbar property out of range" and changes
  // nothing when AMax < AMin or the page does not fit the range.
  void SetScrollParams(Integer AMin, Integer AMax, Integer APosition, Integer APageSize,
                       bool ARedraw = true);
  // The clip of the bar's visible part (owned); nullptr clears it.
  void SetVisibleRgn(HRGN ARegion);
  HRGN VisibleRgn() const { return FVisibleRgn.Get(); }

  const TRect& BoundsRect() const { return FBoundsRect; }
  void SetBoundsRect(const TRect& AValue);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  bool IsNonClient() const { return FIsNonClient; }
  void SetIsNonClient(bool AValue) { FIsNonClient = AValue; }
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind AValue) { FKind = AValue; }
  TScrollBarInc LargeChange() const { return FLargeChange; }
  void SetLargeChange(TScrollBarInc AValue) { FLargeChange = AValue; }
  Integer Max() const { return FMax; }
  void SetMax(Integer AValue);
  Integer Min() const { return FMin; }
  void SetMin(Integer AValue);
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer AValue);
  Integer Position() const { return FPosition; }
  void SetPosition(Integer AValue);
  // Writes the position without range checks or events (thumb tracking).
  void SetPositionField(Integer AValue) { FPosition = AValue; }
  TScrollBarInc SmallChange() const { return FSmallChange; }
  void SetSmallChange(TScrollBarInc AValue) { FSmallChange = AValue; }
  bool UnlimitedTracking() const { return FUnlimitedTracking; }
  void SetUnlimitedTracking(bool AValue) { FUnlimitedTracking = AValue; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue);
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& AValue) { FOnChange = AValue; }
  const TScrollEvent& OnScroll() const { return FOnScroll; }
  void SetOnScroll(const TScrollEvent& AValue) { FOnScroll = AValue; }

  TcxScrollBarController* Controller() const { return FController; }
  TcxScrollBarPainter* Painter() const { return FPainter; }
  TcxScrollBarViewInfo* ViewInfo() const { return FViewInfo; }
  IcxScrollBarOwner* Owner() const { return FOwner; }

  // What the core asks of its owner.
  TdxScaleFactor* GetScaleFactor() const;
  TcxLookAndFeel* GetLookAndFeel() const;
  TcxCustomLookAndFeelPainter* GetLookAndFeelPainter() const;
  HWND Handle() const;
  bool HandleAllocated() const;
  bool GetAllowOwnerScrollOnDrag() const;
  bool PtInVisibleRgn(const TPoint& P) const;
  // A new region of the visible part (the caller frees it).
  TcxRegion* GetTempVisibleRegion() const;
  void RefreshNCPart(const TRect& R);

  virtual void Change();
  virtual bool IsOwnerControlCapture();
  virtual bool IsRightToLeft();
  virtual TPoint ScreenToClient(const TPoint& P);
  virtual void Scroll(TScrollCode AScrollCode, Integer& AScrollPos);

 protected:
  virtual TClass GetControllerClass();
  virtual TClass GetPainterClass();
  virtual TSize GetScrollBarSize();
  virtual TClass GetViewInfoClass();
  virtual bool NeedBuffering();
  void DoBufferedPaint(HDC DC);

 private:
  friend class TcxScrollBarViewInfo;
  TRect FBoundsRect;
  TcxScrollBarController* FController = nullptr;
  bool FEnabled = true;
  bool FIsNonClient = false;
  TScrollBarKind FKind = sbHorizontal;
  TScrollBarInc FLargeChange = 1;
  Integer FMax = 100;
  Integer FMin = 0;
  IcxScrollBarOwner* FOwner;
  Integer FPageSize = 0;
  TcxScrollBarPainter* FPainter = nullptr;
  Integer FPosition = 0;
  TScrollBarInc FSmallChange = 1;
  bool FUnlimitedTracking = false;
  TcxScrollBarViewInfo* FViewInfo = nullptr;
  bool FVisible = false;
  TRegionHandle FVisibleRgn;
  TNotifyEvent FOnChange;
  TScrollEvent FOnScroll;
};

// The factory of a core class: the owner object answers IcxScrollBarOwner.
template <class T>
TObject* cxCreateScrollBarHelper(TObject* AOwner) {
  IcxScrollBarOwner* Owner = nullptr;
  if (!Supports(AOwner, __uuidof(IcxScrollBarOwner), reinterpret_cast<void**>(&Owner)))
    return nullptr;
  return Create<T>(Owner);
}

// ---------------------------------------------------------------------------
// The stand-alone scroll-bar control

class TcxScrollBar : public TCustomControl,
                     public IdxSkinSupport,
                     public IcxScrollBarOwner,
                     public IdxScaleFactor {
  DECLARE_CLASS(TcxScrollBar, TCustomControl)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TcxScrollBar(TComponent* AOwner);
  ~TcxScrollBar() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  // IcxScrollBarOwner, IdxScaleFactor
  TWinControl* STDMETHODCALLTYPE GetControl() override { return this; }
  TcxLookAndFeel* STDMETHODCALLTYPE GetLookAndFeel() override { return FLookAndFeel; }
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return FScaleFactor; }

  void SetScrollParams(Integer AMin, Integer AMax, Integer APosition, Integer APageSize,
                       bool ARedraw = true);
  void SetParams(Integer APosition, Integer AMin, Integer AMax);
  void SetParent(TWinControl* AParent) override;
  void ChangeScale(Integer M, Integer D) override;

  TcxScrollBarHelper* Helper() const { return FHelper; }
  bool GetCtl3D() const;
  void SetCtl3D(bool AValue);
  TScrollBarKind Kind() const { return FHelper->Kind(); }
  void SetKind(TScrollBarKind AValue);
  TScrollBarInc LargeChange() const { return FHelper->LargeChange(); }
  void SetLargeChange(TScrollBarInc AValue) { FHelper->SetLargeChange(AValue); }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel; }
  void SetLookAndFeel(TcxLookAndFeel* AValue) { FLookAndFeel->Assign(AValue); }
  Integer Max() const { return FHelper->Max(); }
  void SetMax(Integer AValue);
  Integer Min() const { return FHelper->Min(); }
  void SetMin(Integer AValue);
  Integer PageSize() const { return FHelper->PageSize(); }
  void SetPageSize(Integer AValue);
  Integer Position() const { return FHelper->Position(); }
  void SetPosition(Integer AValue);
  TScrollBarInc SmallChange() const { return FHelper->SmallChange(); }
  void SetSmallChange(TScrollBarInc AValue) { FHelper->SetSmallChange(AValue); }
  bool UnlimitedTracking() const { return FHelper->UnlimitedTracking(); }
  void SetUnlimitedTracking(bool AValue) { FHelper->SetUnlimitedTracking(AValue); }

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent AValue) { OnChange = AValue; }
  TScrollEvent GetOnScroll() const { return OnScroll; }
  void SetOnScroll(TScrollEvent AValue) { OnScroll = AValue; }
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent AValue) { OnMouseEnter = AValue; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent AValue) { OnMouseLeave = AValue; }

  // The mouse entered or left the bar or, with AControl another control,
  // one of its children.
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);

 protected:
  virtual void Change();
  virtual TSize GetInitialSize();
  virtual TClass GetHelperClass();
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  virtual void DoPaint(TcxCanvas* ACanvas);
  virtual void Scroll(TScrollCode AScrollCode, Integer& AScrollPos);
  // Makes the core anew of GetHelperClass (a descendant whose core class
  // depends on what it learns after construction), keeping its parameters.
  void RecreateHelper();

  void Loaded() override;
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

  void WMEraseBkgnd(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  void CNHScroll(TMessage& Message) override;
  void CNVScroll(TMessage& Message) override;
  virtual void CNCtlColorScrollBar(TMessage& Message);
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMBiDiModeChanged(TMessage& Message) override;
  virtual void CMSysColorChange(TMessage& Message);
  virtual void CMCtl3DChanged(TMessage& Message);
  void WMGestureNotify(TMessage& Message) override;

 private:
  void DoChange(TObject* Sender);
  void DoScrollEvent(TObject* Sender, TScrollCode AScrollCode, Integer& AScrollPos);
  void ThemeChanged();

  TcxScrollBarHelper* FHelper = nullptr;
  TcxLookAndFeel* FLookAndFeel = nullptr;
  bool FRealCtl3D = true;
  TdxOwnedScaleFactor* FScaleFactor = nullptr;
  TdxThemeChangedNotificator* FThemeChangedNotificator = nullptr;
};

const TEnumInfo& ScrollBarKindInfo();
