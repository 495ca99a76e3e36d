// The check box's shareable settings: the three values that map edit
// values to states, their display texts, the glyph strip and the caption
// of old form streams; and the check box's style class.
#pragma once

#include <array>

#include "cxEdit.h"

// TcxCheckBoxState comes with the painters.
enum TcxCheckBoxNullValueShowingStyle { nssUnchecked, nssInactive, nssGrayedChecked };

// A check box draws no editor border.
class TcxCheckBoxStyle : public TcxEditStyle {
  DECLARE_CLASS(TcxCheckBoxStyle, TcxEditStyle)
 public:
  using TcxEditStyle::TcxEditStyle;
  bool HasBorder() override { return false; }
};

class TcxCustomCheckBoxProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TcxCustomCheckBoxProperties, TcxCustomEditProperties)
 public:
  explicit TcxCustomCheckBoxProperties(TPersistent* AOwner);
  ~TcxCustomCheckBoxProperties() override;
  void AfterConstruction() override;
  void DefineProperties(TFiler* Filer) override;

  bool CanValidate() override { return true; }
  bool CanCompareEditValue() override { return true; }
  bool HasDisplayValue() override { return true; }
  bool IsResetEditClass() override { return true; }
  TcxEditSpecialFeatures GetSpecialFeatures() override;
  TcxContainerStyleClass GetStyleClass() override;
  // Only the space character activates an in-place check box.
  bool IsActivationKey(wchar_t AKey) override { return AKey == L' '; }
  // Equal when they show the same state.
  bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false,
                        bool AIsInplace = true) override;
  // Only the three state values are valid edit values.
  bool IsEditValueValid(Variant& EditValue, bool AEditFocused) override;
  // The state's ordinal as an integer.
  void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                           bool AEditFocused) override;

  // Checked and unchecked by their values exactly; every other value grayed.
  TcxCheckBoxState GetState(const Variant& AEditValue);
  // True when AValue is exactly none of the three state values.
  bool CheckValue(const Variant& AValue);
  // All three at once, when pairwise different and neither checked nor
  // unchecked is Null; otherwise nothing changes.
  void SetStateValues(const Variant& AValueChecked, const Variant& AValueGrayed,
                      const Variant& AValueUnchecked);
  // Display texts by state ordinal; a text equal to the default is not held.
  String GetDisplayCheckState(Integer AIndex);
  void SetDisplayCheckState(Integer AIndex, const String& Value);
  String GetDefaultDisplayCheckState(TcxCheckBoxState AState);
  template <TcxCheckBoxState S>
  String DisplayText() {
    return GetDisplayCheckState(S);
  }
  template <TcxCheckBoxState S>
  void SetDisplayText(const String& Value) {
    SetDisplayCheckState(S, Value);
  }
  template <TcxCheckBoxState S>
  bool IsDisplayTextStored() const {
    return FIsDisplayCheckStateAssigned[S];
  }
  // The owning component is being read from a form resource.
  bool IsLoading();

  TAlignment GetHorzAlignment();
  void SetHorzAlignment(TAlignment Value);
  bool IsHorzAlignmentStored();
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value);
  // A caption read from an old form stream waits here for the control.
  bool IsCaptionAssigned() const { return FIsCaptionAssigned; }
  void ClearCaptionAssigned() { FIsCaptionAssigned = false; }
  bool GetFullFocusRect() const { return FFullFocusRect; }
  void SetFullFocusRect(bool Value);
  TdxSmartGlyph* GetGlyph() { return InternalGetGlyph(); }
  void SetGlyph(TdxSmartGlyph* Value);
  Integer GetGlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(Integer Value);
  bool GetMultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TcxCheckBoxNullValueShowingStyle GetNullStyle() const { return FNullStyle; }
  void SetNullStyle(TcxCheckBoxNullValueShowingStyle Value);
  bool GetShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool Value);
  bool GetUseAlignmentWhenInplace() const { return FUseAlignmentWhenInplace; }
  void SetUseAlignmentWhenInplace(bool Value);
  const Variant& GetValueChecked() const { return FValueChecked; }
  void SetValueChecked(const Variant& Value);
  const Variant& GetValueGrayed() const { return FValueGrayed; }
  void SetValueGrayed(const Variant& Value);
  const Variant& GetValueUnchecked() const { return FValueUnchecked; }
  void SetValueUnchecked(const Variant& Value);

 protected:
  virtual TdxSmartGlyph* InternalGetGlyph() { return FGlyph.get(); }
  virtual bool IsEmbeddedEdit() { return false; }
  void DoAssign(TcxCustomEditProperties* AProperties) override;

 private:
  // A state value other than checked and unchecked may be Null.
  void SetStateValue(Variant& AField, const Variant& Value, bool AAllowNull);
  void ReadValueChecked(TReader* Reader);
  void ReadValueGrayed(TReader* Reader);
  void ReadValueUnchecked(TReader* Reader);
  void WriteValueChecked(TWriter* Writer);
  void WriteValueGrayed(TWriter* Writer);
  void WriteValueUnchecked(TWriter* Writer);

  bool FAllowGrayed = false;
  String FCaption;
  std::array<String, 3> FDisplayCheckState;
  bool FFullFocusRect = false;
  TOwned<TdxSmartGlyph> FGlyph;
  Integer FGlyphCount = 6;
  bool FIsCaptionAssigned = false;
  std::array<bool, 3> FIsDisplayCheckStateAssigned{};
  bool FMultiLine = false;
  TcxCheckBoxNullValueShowingStyle FNullStyle = nssGrayedChecked;
  bool FShowEndEllipsis = false;
  bool FUseAlignmentWhenInplace = false;
  Variant FValueChecked;
  Variant FValueGrayed;
  Variant FValueUnchecked;
};

// The settings the check box publishes.
class TcxCheckBoxProperties : public TcxCustomCheckBoxProperties {
  DECLARE_CLASS(TcxCheckBoxProperties, TcxCustomCheckBoxProperties)
 public:
  using TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties;
};

// Registers the published settings class with the editors' registry.
void cxCheckBox_Initialize();
void cxCheckBox_Finalize();
