// The label's shareable settings: depth effect, letter style, rotation,
// glyph fill and the decorative line; the label's style class; and the text
// routines its layout and painting share.
#pragma once

#include "cxEdit.h"

enum TcxLabelEffect { cxleNormal, cxleFun, cxleExtrude, cxleCool };
enum TcxLabelStyle { cxlsNormal, cxlsRaised, cxlsLowered, cxlsOutLine };
enum TcxLabelOrientation {
  cxoLeft,
  cxoRight,
  cxoTop,
  cxoBottom,
  cxoLeftTop,
  cxoLeftBottom,
  cxoRightTop,
  cxoRightBottom
};
enum TcxLabelLineAlignment { cxllaTop, cxllaCenter, cxllaBottom };

// The angle a text is drawn at: AAngle in 0..359 for a TrueType font, 0 for
// any other (which cannot be rotated).
Integer GetRealTextAngle(Integer AAngle, bool AIsTrueType);
// The canvas text flags of a label's alignment and options.
Integer PrepareTextFlag(TAlignment AHorzAlignment, TcxEditVertAlignment AVertAlignment,
                        bool AShowEndEllipsis, bool AWordWrap, bool AShowAccelChar);

// The line drawn beside the text.
class TcxLabelLineOptions : public TPersistent {
  DECLARE_CLASS(TcxLabelLineOptions, TPersistent)
 public:
  TcxLabelLineOptions() = default;
  void Assign(TPersistent* Source) override;

  TcxLabelLineAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TcxLabelLineAlignment Value);
  TColor GetInnerColor() const { return FInnerColor; }
  void SetInnerColor(TColor Value);
  TColor GetOuterColor() const { return FOuterColor; }
  void SetOuterColor(TColor Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  const TNotifyEvent& OnChanged() const { return FOnChanged; }
  void SetOnChanged(const TNotifyEvent& Value) { FOnChanged = Value; }

 protected:
  virtual void Changed();

 private:
  template <class T>
  void SetField(T& AField, const T& Value);

  TcxLabelLineAlignment FAlignment = cxllaCenter;
  TColor FInnerColor = clDefault;
  TNotifyEvent FOnChanged;
  TColor FOuterColor = clDefault;
  bool FVisible = false;
};

// A label has no border unless one is set, and no hot tracking.
class TcxLabelEditStyle : public TcxEditStyle {
  DECLARE_CLASS(TcxLabelEditStyle, TcxEditStyle)
 public:
  using TcxEditStyle::TcxEditStyle;

 protected:
  TcxContainerBorderStyle DefaultBorderStyle() override;
  bool DefaultHotTrack() override { return false; }
};

class TcxCustomLabelProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TcxCustomLabelProperties, TcxCustomEditProperties)
 public:
  explicit TcxCustomLabelProperties(TPersistent* AOwner);
  ~TcxCustomLabelProperties() override;
  void AfterConstruction() override;

  bool CanCompareEditValue() override { return true; }
  bool HasDisplayValue() override { return true; }
  TcxEditDisplayFormatOptions GetDisplayFormatOptions() override { return {}; }
  TcxEditEditValueSource GetEditValueSource(bool) override { return evsText; }
  TcxContainerStyleClass GetStyleClass() override;
  // The value as text; Null gives the empty text.
  void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                           bool AEditFocused) override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false,
                        bool AIsInplace = true) override;

  // Whether the depth copies are drawn at all.
  bool HasEffects() const { return FLabelEffect != cxleNormal && FDepth != 0; }
  // How far the depth copies reach beyond the text, at the properties' scale.
  virtual void CalculateDepthDelta(TSize& ADepthDelta);

  Integer GetAngle() const { return FAngle; }
  void SetAngle(Integer Value);
  Word GetDepth() const { return FDepth; }
  void SetDepth(Word Value);
  TdxSmartGlyph* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TdxSmartGlyph* Value);
  TcxLabelEffect GetLabelEffect() const { return FLabelEffect; }
  void SetLabelEffect(TcxLabelEffect Value);
  TcxLabelStyle GetLabelStyle() const { return FLabelStyle; }
  void SetLabelStyle(TcxLabelStyle Value);
  TcxLabelLineOptions* GetLineOptions() const { return FLineOptions.get(); }
  void SetLineOptions(TcxLabelLineOptions* Value);
  TcxLabelOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TcxLabelOrientation Value);
  Integer GetPenWidth() const { return FPenWidth; }
  void SetPenWidth(Integer Value);
  TColor GetShadowedColor() const { return FShadowedColor; }
  void SetShadowedColor(TColor Value);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  bool GetShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

 protected:
  void ChangeScale(Integer M, Integer D) override;
  void DoAssign(TcxCustomEditProperties* AProperties) override;

 private:
  Integer FAngle = 0;
  Word FDepth = 0;
  TOwned<TdxSmartGlyph> FGlyph;
  TcxLabelEffect FLabelEffect = cxleNormal;
  TcxLabelStyle FLabelStyle = cxlsNormal;
  TOwned<TcxLabelLineOptions> FLineOptions;
  TcxLabelOrientation FOrientation = cxoRightBottom;
  Integer FPenWidth = 1;
  TColor FShadowedColor = clGrayText;
  bool FShowAccelChar = true;
  bool FShowEndEllipsis = false;
  bool FWordWrap = false;
};

// The settings the label publishes.
class TcxLabelProperties : public TcxCustomLabelProperties {
  DECLARE_CLASS(TcxLabelProperties, TcxCustomLabelProperties)
 public:
  using TcxCustomLabelProperties::TcxCustomLabelProperties;
};

// Registers the published settings class with the editors' registry.
void cxLabel_Initialize();
void cxLabel_Finalize();
