// The library's push button: a platform BUTTON window in owner-draw style
// painted through the look-and-feel painters, with five kinds (standard,
// drop-down, split, command link, office drop-down), per-state colours, a
// glyph from a smart image or an image list, speed-button groups, repeat
// clicking and a cross-fade of the hot state.
#pragma once

#include "ActnList.h"
#include "Controls.h"
#include "ImgList.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "cxClasses.h"
#include "cxControls.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"
#include "dxFading.h"
#include "dxGDIPlusClasses.h"

class TcxCustomButton;
class TcxButtonViewInfo;
class TcxButtonPainter;

// ---------------------------------------------------------------------------
// Vocabulary

enum TcxButtonKind {
  cxbkStandard,
  cxbkDropDown,
  cxbkDropDownButton,
  cxbkCommandLink,
  cxbkOfficeDropDown
};
enum TcxButtonInternalState {
  bisDown,
  bisHot,
  bisPressed,
  bisMenuButtonPressed,
  bisMenuVisible,
  bisAccelExecute
};
using TcxButtonInternalStates = TSet<TcxButtonInternalState, 8>;
enum TcxButtonPaintStyle { bpsDefault, bpsCaption, bpsGlyph };
enum TcxButtonAssignedColor {
  cxbcDefault,
  cxbcDefaultText,
  cxbcDisabled,
  cxbcDisabledText,
  cxbcHot,
  cxbcHotText,
  cxbcNormal,
  cxbcNormalText,
  cxbcPressed,
  cxbcPressedText
};
using TcxButtonAssignedColors = TSet<TcxButtonAssignedColor, 16>;
// Where a button's glyph sits relative to its caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

const TEnumInfo& cxButtonKindInfo();
const TEnumInfo& cxButtonPaintStyleInfo();
const TEnumInfo& cxButtonAssignedColorInfo();
const TEnumInfo& ButtonLayoutInfo();
const TEnumInfo& PopupAlignmentInfo();

using TcxButtonCustomDrawEvent = TMethodPtr<void(TObject* Sender, TcxCanvas* ACanvas,
                                                 TcxButtonViewInfo* AViewInfo, bool& AHandled)>;
using TcxButtonGetDrawParamsEvent =
    TMethodPtr<void(TcxCustomButton* Sender, TcxButtonState AState, TColor& AColor, TFont* AFont)>;
using TcxButtonDropDownMenuPopupEvent =
    TMethodPtr<void(TObject* Sender, TPopupMenu*& APopupMenu, bool& AHandled)>;
using TcxButtonDropDownMenuPopupExEvent =
    TMethodPtr<void(TObject* Sender, TComponent*& APopupMenu, bool& AHandled)>;

// ---------------------------------------------------------------------------
// Companions

// Base of everything a button owns and that asks it back.
class TcxButtonCustomPersistent : public TPersistent {
  DECLARE_CLASS(TcxButtonCustomPersistent, TPersistent)
 public:
  // What a class reference creates these with.
  using TOwnerType = TcxCustomButton;
  explicit TcxButtonCustomPersistent(TcxCustomButton* AOwner) : FButton(AOwner) {}
  TcxCustomButton* Button() const { return FButton; }

 protected:
  TPersistent* GetOwner() override;
  TcxCustomButton* FButton;
};

class TcxButtonColors : public TcxButtonCustomPersistent {
  DECLARE_CLASS(TcxButtonColors, TcxButtonCustomPersistent)
 public:
  explicit TcxButtonColors(TcxCustomButton* AOwner);
  void Assign(TPersistent* Source) override;

  TColor GetColor(TcxButtonAssignedColor AIndex) const { return FColors[AIndex]; }
  void SetColor(TcxButtonAssignedColor AIndex, TColor AValue);
  bool IsColorStored(TcxButtonAssignedColor AIndex) const {
    return FAssignedColors.Contains(AIndex);
  }
  TcxButtonAssignedColors AssignedColors() const { return FAssignedColors; }
  // Acts only while designing, as the set follows the colours at run time.
  void SetAssignedColors(TcxButtonAssignedColors AValue);
  static TcxButtonAssignedColor ButtonStateToButtonAssignedColor(TcxButtonState AState,
                                                                 bool AIsText);
  // clDefault leaves the choice to the painter.
  TColor GetColorByState(TcxButtonState AState) const;
  TColor GetTextColorByState(TcxButtonState AState) const;
  bool AnyAssigned() const { return !FAssignedColors.Empty(); }

  // The published members, one per assigned-colour index.
  template <TcxButtonAssignedColor I>
  TColor Get() const {
    return FColors[I];
  }
  template <TcxButtonAssignedColor I>
  void Set(TColor AValue) {
    SetColor(I, AValue);
  }
  template <TcxButtonAssignedColor I>
  bool Stored() const {
    return IsColorStored(I);
  }

 private:
  TColor ColorByState(TcxButtonState AState, bool AIsText) const;
  TcxButtonAssignedColors FAssignedColors;
  TColor FColors[10];
};

// The glyph holder: a smart glyph or an entry of an image list.
class TcxButtonGlyph : public TcxButtonCustomPersistent {
  DECLARE_CLASS(TcxButtonGlyph, TcxButtonCustomPersistent)
 public:
  explicit TcxButtonGlyph(TcxCustomButton* AOwner);
  ~TcxButtonGlyph() override;

  TdxSmartGlyph* Glyph() const { return FGlyph; }
  void SetGlyph(TdxSmartGlyph* AValue);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer AValue);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue);
  Integer NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer AValue);
  bool IsImageAssigned() const;
  TSize GetImageSize() const;
  static TColor GetTransparentColor() { return clNone; }
  virtual void FreeNotification(TComponent* AComponent);
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  void GlyphChanged(TObject* Sender);
  void ImageListChange(TObject* Sender);
  TdxSmartGlyph* FGlyph = nullptr;
  TChangeLink* FImageChangeLink = nullptr;
  Integer FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  Integer FNumGlyphs = 1;
};

class TcxButtonImageOptions : public TcxButtonCustomPersistent {
  DECLARE_CLASS(TcxButtonImageOptions, TcxButtonCustomPersistent)
 public:
  explicit TcxButtonImageOptions(TcxCustomButton* AOwner) : TcxButtonCustomPersistent(AOwner) {}
  void Assign(TPersistent* Source) override;

  TdxSmartGlyph* Glyph() const;
  void SetGlyph(TdxSmartGlyph* AValue);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer AValue);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout AValue);
  // -1 is automatic; values below it are ignored.
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer AValue);
  Integer NumGlyphs() const;
  void SetNumGlyphs(Integer AValue);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer AValue);
  bool IsImageIndexStored() const;
  bool IsGlyphStored() const;
  virtual void FreeNotification(TComponent* AComponent);

 protected:
  virtual void Changed();

 private:
  Integer FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 4;
};

class TcxSpeedButtonOptions : public TcxButtonCustomPersistent {
  DECLARE_CLASS(TcxSpeedButtonOptions, TcxButtonCustomPersistent)
 public:
  explicit TcxSpeedButtonOptions(TcxCustomButton* AOwner) : TcxButtonCustomPersistent(AOwner) {}
  void Assign(TPersistent* Source) override;

  void BeginUpdate() { ++FLockCount; }
  void CancelUpdate() { --FLockCount; }
  void EndUpdate();
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool AValue);
  bool CanBeFocused() const { return FCanBeFocused; }
  void SetCanBeFocused(bool AValue);
  bool Down() const;
  void SetDown(bool AValue);
  bool Flat() const { return FFlat; }
  void SetFlat(bool AValue);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer AValue);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue);
  bool IsDownStored() const;
  bool IsGroupIndexStored() const;

  void InternalSetDown(bool AValue);
  void UpdateGroup();
  void UpdateGroupValues(TcxSpeedButtonOptions* ASender);
  // The speed-button way of painting: borderless or see-through.
  bool NeedDrawParts() const { return !FCanBeFocused && (FTransparent || FFlat); }
  bool GetActive() const;

 private:
  bool FAllowAllUp = false;
  bool FCanBeFocused = true;
  Integer FGroupIndex = 0;
  bool FFlat = false;
  Integer FLockCount = 0;
  bool FTransparent = false;
};

class TcxButtonActionLink : public TButtonActionLink {
  DECLARE_CLASS(TcxButtonActionLink, TButtonActionLink)
 public:
  using TButtonActionLink::TButtonActionLink;
  ~TcxButtonActionLink() override;
  bool IsImageIndexLinked() override;
  void SetChecked(bool Value) override;
  void SetGroupIndex(Integer Value) override;
  void SetImageIndex(Integer Value) override;

 protected:
  TcxCustomButton* CxButton() const;
};

// ---------------------------------------------------------------------------
// Layout and painting

class TcxButtonPainter : public TcxButtonCustomPersistent {
  DECLARE_CLASS(TcxButtonPainter, TcxButtonCustomPersistent)
 public:
  using TcxButtonCustomPersistent::TcxButtonCustomPersistent;
  virtual void DrawButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor AColor,
                          TcxButtonPart APart);
  virtual void DrawDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawFocusRect(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawParentBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual Integer GetDropDownArrowSize();
  virtual Integer GetDropDownButtonSize();
  virtual void DrawText(TcxCanvas* ACanvas, const String& AText, const TRect& R, UINT AFlags);
  virtual void DrawText(TcxCanvas* ACanvas, const String& AText, const TRect& R,
                        TcxButtonState AState, UINT AFlags);
  virtual TColor GetDescriptionTextColor(TcxButtonState AState, TColor ADefault);
  virtual TPoint GetPressedTextShift();
  virtual TColor GetTextColor(TcxButtonState AState, TColor ADefault);
  virtual void DrawCommandLinkButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     TColor AColor);
  virtual TSize GetCommandLinkGlyphSize();
  virtual TRect GetCommandLinkMargins();
  virtual void DrawSpeedButton(TcxCanvas* ACanvas, TRect R, TcxButtonState AState, TColor AColor,
                               TcxButtonPart APart);

  UINT GetBiDiFlags() const;
  TcxCustomLookAndFeelPainter* GetLookAndFeelPainter() const;
  // The style the settings ask for, not always the painter that paints.
  TcxLookAndFeelStyle GetLookAndFeelStyle() const;
  TdxScaleFactor* GetScaleFactor() const;
  TcxButtonViewInfo* GetViewInfo() const;
};

class TcxButtonViewInfo : public TcxButtonCustomPersistent {
  DECLARE_CLASS(TcxButtonViewInfo, TcxButtonCustomPersistent)
 public:
  explicit TcxButtonViewInfo(TcxCustomButton* AOwner);
  ~TcxButtonViewInfo() override;
  void AfterConstruction() override;

  virtual void Calculate(const TRect& ABounds);
  virtual void Draw(TcxCanvas* ACanvas);
  virtual void DrawBackground(TcxCanvas* ACanvas);
  virtual void DrawGlyph(TcxCanvas* ACanvas);
  virtual TRect GetContentRect(TcxButtonState AState);

  TSize GetImageSize() const;
  bool CanDrawCaption() const;
  bool CanDrawGlyph() const;
  TcxButtonState GetDropDownButtonState() const;
  bool HasDropDownButton() const;
  bool NeedDrawDropDownArrow() const;
  bool NeedDrawFocusRect() const;

  TColor Color() const { return FColor; }
  TFont* Font() const { return FFont; }
  TFont* DescriptionFont() const { return FDescriptionFont; }
  TButtonLayout Layout() const { return FLayout; }
  TcxButtonPainter* Painter() const { return FPainter; }
  TcxButtonState State() const { return FState; }
  void SetState(TcxButtonState AValue) { FState = AValue; }
  const TRect& Bounds() const { return FBounds; }
  const TRect& ButtonRect() const { return FButtonRect; }
  const TRect& CaptionRect() const { return FCaptionRect; }
  const TRect& DescriptionRect() const { return FDescriptionRect; }
  const TRect& DropDownArrowRect() const { return FDropDownArrowRect; }
  const TRect& DropDownButtonRect() const { return FDropDownButtonRect; }
  const TPoint& GlyphPos() const { return FGlyphPos; }

 protected:
  friend class TcxButtonCustomLayoutCalculator;
  friend class TcxButtonStandardLayoutCalculator;
  friend class TcxButtonOfficeDropDownLayoutCalculator;
  friend class TcxButtonCommandLinkLayoutCalculator;

  virtual void CalculateButtonParts();
  virtual void CalculateContentLayout();
  virtual TClass CreateLayoutCalculator(TcxButtonKind AKind);
  virtual TcxButtonPainter* CreatePainter();
  virtual void CheckLayout(TButtonLayout& ALayout);
  virtual void DrawContent(TcxCanvas* ACanvas);
  virtual void InitializeFont();
  virtual UINT GetCaptionDrawTextFlags();
  virtual UINT GetDescriptionDrawTextFlags();

  TColor FColor = clDefault;
  TFont* FDescriptionFont = nullptr;
  TFont* FFont = nullptr;
  TButtonLayout FLayout = blGlyphLeft;
  TcxButtonPainter* FPainter = nullptr;
  TRect FBounds{}, FButtonRect{}, FCaptionRect{}, FDescriptionRect{}, FDropDownArrowRect{},
      FDropDownButtonRect{};
  TPoint FGlyphPos{};
  TcxButtonState FState = cxbsNormal;
};

class TcxButtonCustomLayoutCalculator : public TcxButtonCustomPersistent {
  DECLARE_CLASS(TcxButtonCustomLayoutCalculator, TcxButtonCustomPersistent)
 public:
  using TcxButtonCustomPersistent::TcxButtonCustomPersistent;
  virtual void Calculate() = 0;

 protected:
  TcxButtonImageOptions* GetOptionsImage() const;
  TcxButtonPainter* GetPainter() const;
  bool GetUseRightToLeftAlignment() const;
  TcxButtonViewInfo* GetViewInfo() const;
};

class TcxButtonStandardLayoutCalculator : public TcxButtonCustomLayoutCalculator {
  DECLARE_CLASS(TcxButtonStandardLayoutCalculator, TcxButtonCustomLayoutCalculator)
 public:
  using TcxButtonCustomLayoutCalculator::TcxButtonCustomLayoutCalculator;
  void Calculate() override;

 protected:
  virtual void CalculateDropDownArrowRect();
  virtual void CalculateGlyphPosition(const TRect& R);
  virtual void CalculateLayout(TRect R);
  virtual void CalculateMargins(const TRect& R, Integer& AMargin, Integer& ASpacing);
  virtual TRect CalculateTextAreaBounds(const TRect& R);
  virtual void CalculateTextAreaLayout(const TRect& ATextAreaBounds);
  virtual void CalculateTextAreaSize(const TRect& R);
  virtual TRect GetTextOffsets();
  // The rectangle the caption is measured in, before the layout narrows it.
  TRect TextMeasureRect(const TRect& R, const TRect& AOffsets);

  Integer FMargin = 0;
  Integer FSpacing = 0;
  TSize FTextAreaSize{};
};

class TcxButtonOfficeDropDownLayoutCalculator : public TcxButtonStandardLayoutCalculator {
  DECLARE_CLASS(TcxButtonOfficeDropDownLayoutCalculator, TcxButtonStandardLayoutCalculator)
 public:
  using TcxButtonStandardLayoutCalculator::TcxButtonStandardLayoutCalculator;

 protected:
  void CalculateDropDownArrowRect() override;
  void CalculateLayout(TRect R) override;
  void CalculateTextAreaLayout(const TRect& ATextAreaBounds) override;
  void CalculateTextAreaSize(const TRect& R) override;
  TRect GetTextOffsets() override;

  TSize FCaptionSize{};
  TSize FDescriptionSize{};
};

class TcxButtonCommandLinkLayoutCalculator : public TcxButtonCustomLayoutCalculator {
  DECLARE_CLASS(TcxButtonCommandLinkLayoutCalculator, TcxButtonCustomLayoutCalculator)
 public:
  using TcxButtonCustomLayoutCalculator::TcxButtonCustomLayoutCalculator;
  void Calculate() override;

 protected:
  virtual void CalculateLayout(const TRect& AContentRect, Integer AMargin, Integer ASpacing);
};

// ---------------------------------------------------------------------------
// The button

class TcxCustomButton : public TCustomButton,
                        public IdxScaleFactor,
                        public IdxFadingObject,
                        public IcxLookAndFeelContainer,
                        public IdxSkinSupport,
                        public IcxMouseTrackingCaller {
  DECLARE_CLASS(TcxCustomButton, TCustomButton)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TcxCustomButton(TComponent* AOwner);
  ~TcxCustomButton() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return FScaleFactor; }
  bool STDMETHODCALLTYPE CanFade() override;
  void STDMETHODCALLTYPE DrawFadeImage() override { Invalidate(); }
  void STDMETHODCALLTYPE GetFadingImages(TcxBitmap*& AFadeOutImage,
                                         TcxBitmap*& AFadeInImage) override;
  TcxLookAndFeel* STDMETHODCALLTYPE GetLookAndFeel() override { return FLookAndFeel; }
  // IcxMouseTrackingCaller
  void MouseLeave() override { DoMouseLeave(); }

  // Derived queries.
  bool CanBeFocused() const;
  Integer GroupIndex() const;
  bool SpeedButtonMode() const { return !CanBeFocused() || GroupIndex() != 0; }
  bool Down() const { return FInternalStates.Contains(bisDown); }
  void SetDown(bool AValue) { FSpeedButtonOptions->SetDown(AValue); }
  bool Checked() const override { return Down(); }
  void SetChecked(bool V) override { SetDown(V); }
  bool CanFocus() override;
  bool CanHotTrack();
  bool UseRightToLeftAlignment() const override;
  TcxCustomLookAndFeelPainter* GetPainter();
  static TcxCustomLookAndFeelPainter* GetButtonPainter(TcxLookAndFeel* ALookAndFeel);
  TcxButtonState GetButtonState();
  TRect GetMenuButtonBounds();
  virtual TSize GetOptimalSize();
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

  void Click() override;
  void DblClick() override;
  void ChangeScale(Integer M, Integer D) override;
  void Loaded() override;
  void SetParent(TWinControl* AParent) override;
  void UpdateImageInfo();
  void SetInternalStates(TcxButtonInternalStates AValue);
  TcxButtonInternalStates InternalStates() const { return FInternalStates; }

  // Properties.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool AValue);
  TcxButtonColors* Colors() const { return FColors; }
  void SetColors(TcxButtonColors* AValue) { FColors->Assign(AValue); }
  String Description() const { return FDescription; }
  void SetDescription(const String& AValue);
  TComponent* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TComponent* AValue);
  TcxButtonGlyph* GlyphHolder() const { return FGlyph; }
  // The glyph under its older name in form resources.
  TdxSmartGlyph* OlderGlyph() const { return FGlyph->Glyph(); }
  void SetOlderGlyph(TdxSmartGlyph* AValue) { FGlyph->SetGlyph(AValue); }
  TcxButtonKind Kind() const { return FKind; }
  void SetKind(TcxButtonKind AValue);
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel; }
  void SetLookAndFeel(TcxLookAndFeel* AValue) { FLookAndFeel->Assign(AValue); }
  TcxButtonImageOptions* OptionsImage() const { return FOptionsImage; }
  void SetOptionsImage(TcxButtonImageOptions* AValue) { FOptionsImage->Assign(AValue); }
  TcxButtonPaintStyle PaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TcxButtonPaintStyle AValue);
  TPopupAlignment PopupAlignment() const { return FPopupAlignment; }
  void SetPopupAlignment(TPopupAlignment AValue) { FPopupAlignment = AValue; }
  bool RepeatClick() const { return FRepeatClick; }
  void SetRepeatClick(bool AValue) { FRepeatClick = AValue; }
  bool ShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool AValue);
  TcxSpeedButtonOptions* SpeedButtonOptions() const { return FSpeedButtonOptions; }
  void SetSpeedButtonOptions(TcxSpeedButtonOptions* AValue) { FSpeedButtonOptions->Assign(AValue); }
  bool UseSystemPaint() const { return FUseSystemPaint; }
  void SetUseSystemPaint(bool AValue) { FUseSystemPaint = AValue; }
  TcxButtonViewInfo* ViewInfo() const { return FViewInfo; }
  TcxTimer* ButtonPressTimer() const { return FButtonPressTimer; }
  bool IsFocusedLook() const { return FIsFocused; }
  bool IsPaintPressed() const { return FIsPaintPressed; }

  TcxButtonDropDownMenuPopupEvent OnDropDownMenuPopup;
  TcxButtonDropDownMenuPopupExEvent OnDropDownMenuPopupEx;
  TcxButtonGetDrawParamsEvent OnGetDrawParams;
  TcxButtonCustomDrawEvent OnCustomDraw;
  TcxButtonDropDownMenuPopupEvent GetOnDropDownMenuPopup() const { return OnDropDownMenuPopup; }
  void SetOnDropDownMenuPopup(TcxButtonDropDownMenuPopupEvent A) { OnDropDownMenuPopup = A; }
  TcxButtonDropDownMenuPopupExEvent GetOnDropDownMenuPopupEx() const {
    return OnDropDownMenuPopupEx;
  }
  void SetOnDropDownMenuPopupEx(TcxButtonDropDownMenuPopupExEvent A) { OnDropDownMenuPopupEx = A; }
  TcxButtonGetDrawParamsEvent GetOnGetDrawParams() const { return OnGetDrawParams; }
  void SetOnGetDrawParams(TcxButtonGetDrawParamsEvent A) { OnGetDrawParams = A; }
  TcxButtonCustomDrawEvent GetOnCustomDraw() const { return OnCustomDraw; }
  void SetOnCustomDraw(TcxButtonCustomDrawEvent A) { OnCustomDraw = A; }

  // The parts of the drawing the view info asks for.
  void Draw(HDC DC);
  void DoGetDrawParams(TcxButtonState AState, TColor& AColor, TFont* AFont);
  virtual bool StandardButton() { return false; }

 protected:
  virtual TcxButtonImageOptions* CreateOptionsImage();
  virtual TcxButtonViewInfo* CreateViewInfo();
  virtual bool DoDropDownMenuPopup(TComponent*& APopupMenu);
  virtual bool DoOnDropDownMenuPopup(TPopupMenu*& APopupMenu);
  virtual bool DoOnDropDownMenuPopupEx(TComponent*& APopupMenu);
  virtual bool DoShowPopupMenu(TComponent* APopupMenu, Integer X, Integer Y);
  virtual bool GetAllowSpeedButtonOptions() const;
  virtual TClass GetGlyphClass();
  virtual void ScaleFactorChanged(Integer M, Integer D);

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void InitiateAction() override;
  bool CanResize(Integer& NewWidth, Integer& NewHeight) override;
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  // The framework asks the platform for the default frame's look with
  // BM_SETSTYLE as the focus moves; an owner-drawn button keeps its type
  // and only repaints.
  virtual void SetButtonStyle(bool ADefault);
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DoContextPopup(const TPoint& MousePos, bool& Handled) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  TClass GetActionLinkClass() override;
  void DefaultHandler(TMessage& Message) override;
  void DefineProperties(TFiler* Filer) override;

  void DoMouseEnter();
  void DoMouseLeave();
  void DrawItem(const DRAWITEMSTRUCT& ADrawItem);
  void CheckPressedState(const TPoint& P);
  void CheckShowMenu(const TPoint& P);
  void CheckStartFading(TcxButtonState AOld, TcxButtonState ANew);
  void DoDropDownMenu();
  void UpdateSize();

  // Messages.
  void CNDrawItem(TMessage& Message) override;
  void CNMeasureItem(TMessage& Message) override;
  void CNCommand(TMessage& Message) override;
  void CNKeyDown(TMessage& Message) override;
  void CNSysKeyDown(TMessage& Message) override;
  void CNCtlColor(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMBiDiModeChanged(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMPaint(TMessage& Message) override;
  void WMWindowPosChanged(TMessage& Message) override;
  void WMContextMenu(TMessage& Message) override;
  virtual void CMButtonPressed(TMessage& Message);
  virtual void WMCaptureChanged(TMessage& Message);
  virtual void BCMSetNote(TMessage& Message);
  virtual void DXMDropDownPopupMenu(TMessage& Message);
  virtual void DXMCloseUpPopupMenu(TMessage& Message);

 private:
  friend class TcxSpeedButtonOptions;
  friend class TcxButtonActionLink;
  friend class TcxButtonViewInfo;
  void DoButtonPressTimer(TObject* Sender);
  void GlyphChanged(TObject* Sender);
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void ScaleFactorChangeHandler(TObject* Sender, Integer M, Integer D, bool IsLoading);
  // The older names of the image and speed-button options.
  void ReadCommandLinkHint(TReader* Reader);
  void ReadLayout(TReader* Reader);
  void ReadMargin(TReader* Reader);
  void ReadNumGlyphs(TReader* Reader);
  void ReadSpacing(TReader* Reader);
  void ReadCanBeFocused(TReader* Reader);
  void ReadGroupIndex(TReader* Reader);
  void ReadDown(TReader* Reader);
  void ReadAllowAllUp(TReader* Reader);

  bool FAutoSize = false;
  TcxTimer* FButtonPressTimer = nullptr;
  TcxCanvas* FCanvas = nullptr;
  TcxButtonColors* FColors = nullptr;
  TControlCanvas* FControlCanvas = nullptr;
  String FDescription;
  TComponent* FDropDownMenu = nullptr;
  TcxButtonGlyph* FGlyph = nullptr;
  TcxButtonInternalStates FInternalStates;
  bool FIsDropDownMenuClosing = false;
  bool FIsFocused = false;
  bool FIsPaintDefault = false;
  bool FIsPaintPressed = false;
  TcxButtonKind FKind = cxbkStandard;
  TcxLookAndFeel* FLookAndFeel = nullptr;
  TcxButtonImageOptions* FOptionsImage = nullptr;
  TcxButtonPaintStyle FPaintStyle = bpsDefault;
  TPopupAlignment FPopupAlignment = paLeft;
  bool FRepeatClick = false;
  TdxOwnedScaleFactor* FScaleFactor = nullptr;
  bool FShowFocusRect = true;
  TcxSpeedButtonOptions* FSpeedButtonOptions = nullptr;
  bool FUseSystemPaint = false;
  TcxButtonViewInfo* FViewInfo = nullptr;
};

// The button as form resources place it.
class TcxButton : public TcxCustomButton {
  DECLARE_CLASS(TcxButton, TcxCustomButton)
 public:
  using TcxCustomButton::TcxCustomButton;
};

// Registers the button's classes for form resources.
void cxButtons_Initialize();
void cxButtons_Finalize();
