// The progress bar's shareable settings: bar style, colours, text, overload
// and peak marks, the range with its assigned flags, and the display text
// that the bar and its text share.
#pragma once

#include "cxEdit.h"
#include "cxProgressBarLink.h"
#include "cxTextEdit.h"
#include "dxThemeManager.h"

class TcxCustomProgressBar;
class TcxCustomProgressBarViewInfo;

enum TcxProgressBarBarStyle {
  cxbsSolid,
  cxbsLEDs,
  cxbsGradient,
  cxbsGradientLEDs,
  cxbsBitmap,
  cxbsBitmapLEDs,
  cxbsAnimation,
  cxbsAnimationLEDs
};
enum TcxProgressBarTextStyle { cxtsPercent, cxtsPosition, cxtsText };
enum TcxProgressBarAnimationPath { cxapCycle, cxapPingPong };
enum TcxProgressBarBevelOuter { cxbvNone, cxbvLowered, cxbvRaised };
enum TcxProgressBarOrientation { cxorHorizontal, cxorVertical };
using TcxProgressBarAnimationSpeed = Byte;  // 0..20
using TcxBorderWidth = Word;
using TcxNaturalNumber = Integer;  // 1..MaxInt

constexpr TcxProgressBarAnimationSpeed cxProgressBarMaxAnimationSpeed = 20;
// The colour an animation style starts with.
constexpr TColor cxProgressBarVistaColor = 0x0000D328;

inline bool cxIsLEDStyle(TcxProgressBarBarStyle AStyle) { return AStyle % 2 == 1; }
inline bool cxIsAnimationStyle(TcxProgressBarBarStyle AStyle) {
  return AStyle == cxbsAnimation || AStyle == cxbsAnimationLEDs;
}
inline bool cxIsBitmapStyle(TcxProgressBarBarStyle AStyle) {
  return AStyle == cxbsBitmap || AStyle == cxbsBitmapLEDs;
}

// The share done, in whole percent rounded half to even: the position's
// part of Min..Max (a divisor of 1 when Max equals Min), 100 at most; with
// marquee on, Max takes the place of the position's distance from Min.
Integer cxProgressBarPercent(Double APosition, Double AMin, Double AMax, bool AMarquee);
// What the bar writes: the percentage with " %", the position as float text
// of the process settings, or AText; AText whenever marquee is on.
String cxProgressBarDrawText(Double APosition, Double AMin, Double AMax, bool AMarquee,
                             TcxProgressBarTextStyle AStyle, const String& AText);

// Whether Max and Min hold values of their own; the flags carry an assigned
// zero through a form resource, where a float property of 0 is not written.
class TcxProgressBarPropertiesValues : public TcxCustomEditPropertiesValues {
  DECLARE_CLASS(TcxProgressBarPropertiesValues, TcxCustomEditPropertiesValues)
 public:
  using TcxCustomEditPropertiesValues::TcxCustomEditPropertiesValues;
  bool IsMaxStored();
  bool IsMinStored();
};

class TcxCustomProgressBarProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TcxCustomProgressBarProperties, TcxCustomEditProperties)
 public:
  explicit TcxCustomProgressBarProperties(TPersistent* AOwner);
  ~TcxCustomProgressBarProperties() override;
  void AfterConstruction() override;
  void DefineProperties(TFiler* Filer) override;

  Double GetMaxValue() override;
  Double GetMinValue() override;
  bool CanCompareEditValue() override { return true; }
  bool HasDisplayValue() override { return true; }
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false,
                        bool AIsInplace = true) override;
  // A number of the edit value: a string read as a plain decimal with ".",
  // a number or date as it is, anything else the integer 0.
  void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                           bool AEditFocused) override;
  // APosition into Min..Max when Max > Min.
  virtual void CorrectPositionWithMaxMin(Double& APosition);
  // The peak to show for APosition; PeakValue rises with the bar.
  Double GetRealPeakValue(Double APosition);

  Double GetMax() { return GetMaxValue(); }
  void SetMax(Double Value);
  Double GetMin() { return GetMinValue(); }
  void SetMin(Double Value);
  TcxProgressBarAnimationPath GetAnimationPath() const { return FAnimationPath; }
  void SetAnimationPath(TcxProgressBarAnimationPath Value);
  Cardinal GetAnimationRestartDelay() const { return FAnimationRestartDelay; }
  void SetAnimationRestartDelay(Cardinal Value);
  TcxProgressBarAnimationSpeed GetAnimationSpeed() const { return FAnimationSpeed; }
  void SetAnimationSpeed(TcxProgressBarAnimationSpeed Value);
  TcxProgressBarBevelOuter GetBarBevelOuter() const { return FBarBevelOuter; }
  void SetBarBevelOuter(TcxProgressBarBevelOuter Value);
  TcxProgressBarBarStyle GetBarStyle() const { return FBarStyle; }
  void SetBarStyle(TcxProgressBarBarStyle Value);
  TColor GetBeginColor() const { return FBeginColor; }
  void SetBeginColor(TColor Value);
  TcxBorderWidth GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TcxBorderWidth Value);
  TColor GetEndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  TBitmap* GetForegroundImage() const { return FForegroundImage.get(); }
  void SetForegroundImage(TBitmap* Value);
  bool GetMarquee() const { return FMarquee; }
  void SetMarquee(bool Value);
  TcxProgressBarOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TcxProgressBarOrientation Value);
  TColor GetOverloadBeginColor() const { return FOverloadBeginColor; }
  void SetOverloadBeginColor(TColor Value);
  TColor GetOverloadEndColor() const { return FOverloadEndColor; }
  void SetOverloadEndColor(TColor Value);
  Double GetOverloadValue() const { return FOverloadValue; }
  void SetOverloadValue(Double Value);
  TColor GetPeakColor() const { return FPeakColor; }
  void SetPeakColor(TColor Value);
  TcxNaturalNumber GetPeakSize() const { return FPeakSize; }
  void SetPeakSize(TcxNaturalNumber Value);
  Double GetPeakValue() const { return FPeakValue; }
  void SetPeakValue(Double Value);
  bool GetShowOverload() const { return FShowOverload; }
  void SetShowOverload(bool Value);
  bool GetShowPeak() const { return FShowPeak; }
  void SetShowPeak(bool Value);
  bool GetShowText() const { return FShowText; }
  void SetShowText(bool Value);
  TcxProgressBarTextStyle GetShowTextStyle() const { return FShowTextStyle; }
  void SetShowTextStyle(TcxProgressBarTextStyle Value);
  bool GetSolidTextColor() const { return FSolidTextColor; }
  void SetSolidTextColor(bool Value);
  const String& GetText() const { return FText; }
  void SetText(const String& Value);
  TcxProgressBarOrientation GetTextOrientation() const { return FTextOrientation; }
  void SetTextOrientation(TcxProgressBarOrientation Value);
  bool GetTransparentImage() const { return FTransparentImage; }
  void SetTransparentImage(bool Value);

  // The view data's side of the change flags.
  bool IsForegroundImageChanged() const { return FIsForegroundImageChanged; }
  void ClearForegroundImageChanged() { FIsForegroundImageChanged = false; }
  bool IsPositionChanged() const { return FIsPositionChanged; }
  void SetPositionChanged(bool Value) { FIsPositionChanged = Value; }

  TcxCustomEditClass GetContainerClass() override;
  TcxCustomEditViewDataClass GetViewDataClass() override;
  TcxContainerViewInfoClass GetViewInfoClass() override;

  // Stored rules of the published properties.
  bool IsMaxStored() { return GetAssignedValues()->GetMaxValue(); }
  bool IsMinStored() { return GetAssignedValues()->GetMinValue(); }
  bool IsOverloadValueStored() const { return FOverloadValue != 80; }
  bool IsPeakValueStored() const { return FPeakValue != 0; }
  bool IsShowTextStyleStored() const { return !FMarquee && FShowTextStyle != cxtsPercent; }

 protected:
  void ChangeScale(Integer M, Integer D) override;
  void DoAssign(TcxCustomEditProperties* AProperties) override;
  TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() override;

 private:
  void ForegroundImageChanged(TObject* Sender);
  void WriteZeroOverloadValue(TWriter* Writer);
  void PostMaxValue();
  void PostMinValue();

  TcxProgressBarAnimationPath FAnimationPath = cxapCycle;
  Cardinal FAnimationRestartDelay = 0;
  TcxProgressBarAnimationSpeed FAnimationSpeed = 10;
  TColor FBeginColor = 0x00800000;
  TcxProgressBarBevelOuter FBarBevelOuter = cxbvNone;
  bool FIsForegroundImageChanged = false;
  bool FIsPositionChanged = false;
  TColor FEndColor = 0x00FFFFFF;
  TOwned<TBitmap> FForegroundImage;
  bool FMarquee = false;
  TcxProgressBarOrientation FOrientation = cxorHorizontal;
  bool FShowText = true;
  TcxProgressBarTextStyle FShowTextStyle = cxtsPercent;
  String FText;
  TcxProgressBarOrientation FTextOrientation = cxorHorizontal;
  bool FSolidTextColor = false;
  TcxProgressBarBarStyle FBarStyle = cxbsSolid;
  bool FTransparentImage = true;
  TcxBorderWidth FBorderWidth = 0;
  Double FOverloadValue = 80;
  bool FShowOverload = false;
  TColor FOverloadBeginColor = 0x008080FF;
  TColor FOverloadEndColor = 0x00FF00FF;
  Double FPeakValue = 0;
  bool FShowPeak = false;
  TColor FPeakColor = 0x000000FF;
  TcxNaturalNumber FPeakSize = 2;
};

// The settings with everything published.
class TcxProgressBarProperties : public TcxCustomProgressBarProperties {
  DECLARE_CLASS(TcxProgressBarProperties, TcxCustomProgressBarProperties)
 public:
  using TcxCustomProgressBarProperties::TcxCustomProgressBarProperties;
};

// ---------------------------------------------------------------------------
// The bar's picture: geometry from the view data, painting and animation.

// The bar's layout stands on the editor's own view data (its text is not an
// editor text: no text settings take part); its picture on the text view
// info, whose text rectangle and text drawing it shares.
using TcxProgressBarViewDataBase = TcxCustomEditViewData;
using TcxProgressBarViewInfoBase = TcxCustomTextEditViewInfo;

// A length along the bar: Trunc(AValue x AExtent / ADiff) with a divisor of 1
// for ADiff 0, kept within a few extents of the bar so that a value far
// outside the range neither overflows the conversion nor the rectangles.
Integer cxProgressBarLength(Double AValue, Double ADiff, Integer AExtent);

class TcxCustomProgressBarViewInfo : public TcxProgressBarViewInfoBase {
  DECLARE_CLASS(TcxCustomProgressBarViewInfo, TcxProgressBarViewInfoBase)
  friend class TcxCustomProgressBarViewData;

 public:
  TcxCustomProgressBarViewInfo();
  ~TcxCustomProgressBarViewInfo() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Offset(Integer DX, Integer DY) override;
  // Only what moved needs painting: nothing when no rectangle changed and no
  // text is shown.
  bool Repaint(TWinControl* AControl, const TRect& AInnerEditRect,
               TcxCustomEditViewInfo* AViewInfo) override;
  bool NeedShowHint(TcxCanvas*, const TPoint&, const TRect&, String&, bool&, TRect&,
                    Integer = 0) override {
    return false;
  }

  virtual Integer GetAnimationBarDimension();
  virtual void PaintProgressBar(TcxCanvas* ACanvas);
  void PaintProgressBarByPainter(TcxCanvas* ACanvas);
  // The bar's text over the bar, split in colour at the chunk's edge.
  void DrawText(TcxCanvas* ACanvas) override;
  String GetDrawText();
  Integer GetPercentDone();
  Double GetRelativePosition() const { return FMarquee ? FMax : FPosition - FMin; }
  Double GetRelativeOverloadValue() const { return FOverloadValue - FMin; }
  Double GetRelativePeakValue() const { return FPeakValue - FMin; }
  Double GetMaxMinDiff() const { return FMax - FMin == 0 ? 1 : FMax - FMin; }
  bool NeedsPainting();

  void SetAnimationPath(TcxProgressBarAnimationPath AValue);
  void SetAnimationSpeed(Cardinal AValue);
  void SetBarStyle(TcxProgressBarBarStyle AValue);
  void SetMarquee(bool AValue);
  void SetOrientation(TcxProgressBarOrientation AValue);
  void SetPeakSize(TcxNaturalNumber AValue) { FPeakSize = AValue < 2 ? 1 : AValue; }

  // Animation: a light segment runs along the filled part (or, in marquee
  // mode, the segment is the bar).
  bool CanAnimationBarShow();
  void StartAnimationTimer();
  void StopAnimationTimer();
  void DoAnimationTimer(TObject* Sender);
  void DoAnimationRestartDelayTimer(TObject* Sender);
  void CalcAnimationCurrentPosition();
  TRect GetCorrectAnimationBarRect();
  Integer GetAnimationPathLength();
  TcxTimer* AnimationTimer() const { return FAnimationTimer.get(); }
  TcxTimer* AnimationRestartDelayTimer() const { return FAnimationRestartDelayTimer.get(); }
  Integer AnimationPosition() const { return FAnimationPosition; }
  Integer AnimationDirection() const { return FAnimationDirection; }
  // The cached themed pictures; a theme change drops them.
  TcxAlphaBitmap* NativeBitmap() const { return FNativeBitmap.get(); }
  TcxAlphaBitmap* MarqueeBitmap() const { return FVistaStyleMarqueeBitmap.get(); }
  void DropThemedBitmaps();
  Integer LEDsWidth() { return CalcLEDsWidth(); }

  TcxProgressBarAnimationPath AnimationPath() const { return FAnimationPath; }
  Cardinal AnimationSpeed() const { return FAnimationSpeed; }
  TcxProgressBarBarStyle BarStyle() const { return FBarStyle; }
  bool Marquee() const { return FMarquee; }
  TcxProgressBarOrientation Orientation() const { return FOrientation; }
  bool IsBoundsChanged() const { return FIsBoundsChanged; }
  bool RealShowOverload() const { return FRealShowOverload; }
  bool RealShowPeak() const { return FRealShowPeak; }
  TcxNaturalNumber PeakSize() const { return FPeakSize; }

  TRect BarRect{};
  TRect ProgressBarRect{};
  TRect OverloadBarRect{};
  TRect PeakBarRect{};
  TRect FocusRect{};

  Cardinal FAnimationRestartDelay = 0;
  TcxProgressBarBevelOuter FBarBevelOuter = cxbvNone;
  TColor FBeginColor = 0x00800000;
  TColor FEndColor = 0x00FFFFFF;
  Double FMax = 100;
  Double FMin = 0;
  TColor FOverloadBeginColor = 0x008080FF;
  TColor FOverloadEndColor = 0x00FF00FF;
  Double FOverloadValue = 80;
  TColor FPeakColor = 0x000000FF;
  Double FPeakValue = 0;
  Double FPosition = 0;
  bool FPropTransparent = false;
  bool FShowOverload = false;
  bool FShowPeak = false;
  bool FShowText = true;
  TcxProgressBarTextStyle FShowTextStyle = cxtsPercent;
  bool FSolidTextColor = false;
  String FText;
  TcxProgressBarOrientation FTextOrientation = cxorHorizontal;

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;
  bool IsHorizontal() const { return FOrientation == cxorHorizontal; }
  bool IsNativeAnimation() const { return NativeStyle && cxIsAnimationStyle(FBarStyle); }
  Integer CalcLEDsWidth();
  void AdjustForLEDsBarBounds(TRect& AProgress, TRect& AOverload, Integer ALEDsWidth);
  void ExcludeRects(TcxCanvas* ACanvas, const TRect& R, const TRect& ABounds);
  void ExcludeLEDRects(TcxCanvas* ACanvas, const TRect& R, Integer ALEDsWidth);
  void DrawBackground(TcxCanvas* ACanvas, TcxCanvas* ACanvasParent, const TRect& R);
  void DrawSolidBar(TcxCanvas* ACanvas, const TRect& AProgress, const TRect& AOverload);
  void DrawGradientBar(TcxCanvas* ACanvas, const TRect& ANormal, const TRect& ABar,
                       const TRect& AOverload);
  void PaintBarBevelOuter(TcxCanvas* ACanvas, const TRect& R);
  void DrawBorderLEDs(TcxCanvas* ACanvas, const TRect& R, Integer ALEDsWidth);
  void DrawBarBitmap(TcxCanvas* ACanvas, const TRect& R);
  void DrawPeak(TcxCanvas* ACanvas, const TRect& R);
  void DrawAnimationBarBackground(TcxCanvas* ACanvas, const TRect& R, bool ADrawBar, TColor AColor);
  void DrawAnimationBar(TcxCanvas* ACanvas, const TRect& A, const TRect& S);
  void LightCanvasByGradient(TcxCanvas* ACanvas, const TRect& A, const TRect& S);
  void DrawVistaStyleMarquee(TcxCanvas* ACanvas, const TRect& A);
  // The themed chunk strip of the size given; false when the theme has none.
  bool PrepareNativeBitmap(Integer AWidth, Integer AHeight);
  void DrawBarCaption(TcxCanvas* ACanvas, const TPoint& AOrigin);
  void StartAnimationRestartDelayTimer();
  void ThemeChanged();

 private:
  Integer FAnimationDirection = 1;
  TcxProgressBarAnimationPath FAnimationPath = cxapCycle;
  Integer FAnimationPosition = 0;
  TOwned<TcxTimer> FAnimationRestartDelayTimer;
  Cardinal FAnimationSpeed = 10;
  TOwned<TcxTimer> FAnimationTimer;
  TcxProgressBarBarStyle FBarStyle = cxbsSolid;
  bool FMarquee = false;
  TOwned<TcxAlphaBitmap> FNativeBitmap;
  TcxProgressBarOrientation FOrientation = cxorHorizontal;
  TOwned<TcxBitmap32> FPainterBitmap;
  TcxNaturalNumber FPeakSize = 2;
  bool FRealShowOverload = false;
  bool FRealShowPeak = false;
  TOwned<TcxBitmap32> FUsualBitmap;
  TOwned<TcxAlphaBitmap> FVistaStyleMarqueeBitmap;
  TOwned<TBitmap> FForegroundImage;
  TOwned<TdxThemeChangedNotificator> FThemeNotificator;
  bool FIsBoundsChanged = false;
  bool FIsBarRectChanged = false;
  bool FDestroying = false;
};

class TcxCustomProgressBarViewData : public TcxProgressBarViewDataBase {
  DECLARE_CLASS(TcxCustomProgressBarViewData, TcxProgressBarViewDataBase)
 public:
  using TcxProgressBarViewDataBase::TcxProgressBarViewDataBase;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                 TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  TcxCustomProgressBarProperties* GetProgressBarProperties() const {
    return static_cast<TcxCustomProgressBarProperties*>(GetProperties());
  }

 protected:
  virtual void CalculateViewInfoProperties(TcxCustomProgressBarViewInfo* AViewInfo);
  virtual Integer GetDrawTextFlags() { return 0; }
  void CalculateButtonsViewInfo(TcxCanvas*, const TRect&, const TPoint&, TcxMouseButton,
                                TShiftState, TcxCustomEditViewInfo*, bool) override {}
  TSize InternalGetEditConstantPartSize(TcxCanvas* ACanvas, bool AIsInplace,
                                        const TcxEditSizeProperties& AEditSizeProperties,
                                        TSize& MinContentSize,
                                        TcxCustomEditViewInfo* AViewInfo) override;
  TRect GetBorderExtentByPainter() override { return TRect{}; }

 private:
  void CalculateFocusRect(TcxCustomProgressBarViewInfo* AViewInfo);
  void CalculateForegroundImage(TcxCustomProgressBarViewInfo* AViewInfo);
};

// ---------------------------------------------------------------------------
// The control.
class TcxCustomProgressBar : public TcxCustomEdit, public IcxProgressBarLink {
  DECLARE_CLASS(TcxCustomProgressBar, TcxCustomEdit)
 public:
  TcxCustomProgressBar(TComponent* AOwner, bool AIsInplace);
  explicit TcxCustomProgressBar(TComponent* AOwner) : TcxCustomProgressBar(AOwner, false) {}
  ~TcxCustomProgressBar() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  TClass GetPropertiesClass() override;
  TcxCustomProgressBarProperties* GetProperties() const {
    return static_cast<TcxCustomProgressBarProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomProgressBarProperties* GetActiveProperties() {
    return static_cast<TcxCustomProgressBarProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomProgressBarViewInfo* ViewInfo() const {
    return static_cast<TcxCustomProgressBarViewInfo*>(GetEditViewInfo());
  }

  // The drawn position; setting it clamps into Min..Max (when Max > Min and
  // not loading) and tells the listeners.
  Double GetPosition() const;
  void SetPosition(Double Value);
  bool IsPositionStored() const { return GetPosition() != 0; }
  Integer GetPercentDone();

  void RegisterListener(TcxProgressBarListener* AValue);
  void UnRegisterListener(TcxProgressBarListener* AValue);
  void DoNotifyListeners();

  // IcxProgressBarLink
  Double STDMETHODCALLTYPE GetLinkPosition() override { return GetPosition(); }
  Double STDMETHODCALLTYPE GetLinkMin() override { return GetActiveProperties()->GetMin(); }
  Double STDMETHODCALLTYPE GetLinkMax() override { return GetActiveProperties()->GetMax(); }
  bool STDMETHODCALLTYPE GetLinkMarquee() override { return GetActiveProperties()->GetMarquee(); }
  void STDMETHODCALLTYPE SetLinkMarquee(bool AValue) override {
    GetActiveProperties()->SetMarquee(AValue);
  }
  void STDMETHODCALLTYPE SetLinkMax(Double AValue) override {
    GetActiveProperties()->SetMax(AValue);
  }
  void STDMETHODCALLTYPE SetLinkEditValue(Double AValue) override { SetEditValue(Variant(AValue)); }
  void STDMETHODCALLTYPE AddLinkListener(TcxProgressBarListener* AListener) override {
    RegisterListener(AListener);
  }
  void STDMETHODCALLTYPE RemoveLinkListener(TcxProgressBarListener* AListener) override {
    UnRegisterListener(AListener);
  }

 protected:
  TcxContainerViewInfoClass GetViewInfoClass() override;
  virtual void CheckEditorValueBounds();
  virtual void CheckEditValue();
  bool CanFocusOnClick() override;
  bool DefaultParentColor() override { return true; }
  TcxContainerStyleValues InternalGetNotPublishedStyleValues() override;
  void PopulateSizeProperties(TcxEditSizeProperties& AEditSizeProperties) override;
  void Initialize() override;
  void PropertiesChanged(TObject* Sender) override;
  void SynchronizeDisplayValue() override;

 private:
  std::vector<TcxProgressBarListener*> FListeners;
  bool FListenersGone = false;
};

class TcxProgressBar : public TcxCustomProgressBar {
  DECLARE_CLASS(TcxProgressBar, TcxCustomProgressBar)
 public:
  using TcxCustomProgressBar::TcxCustomProgressBar;
  TClass GetPropertiesClass() override;
  TcxProgressBarProperties* GetProperties() const {
    return static_cast<TcxProgressBarProperties*>(TcxCustomProgressBar::GetProperties());
  }
  void SetProperties(TcxProgressBarProperties* Value) { TcxCustomEdit::SetProperties(Value); }
  TcxProgressBarProperties* GetActiveProperties() {
    return static_cast<TcxProgressBarProperties*>(TcxCustomProgressBar::GetActiveProperties());
  }
};

// Registers the published settings class with the editors' registry.
void cxProgressBar_Initialize();
void cxProgressBar_Finalize();
