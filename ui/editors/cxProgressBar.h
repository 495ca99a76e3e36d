// The progress bar's shareable settings: bar style, colours, text, overload
// and peak marks, the range with its assigned flags, and the display text
// that the bar and its text share.
#pragma once

#include "cxEdit.h"

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

// Registers the published settings class with the editors' registry.
void cxProgressBar_Initialize();
void cxProgressBar_Finalize();
