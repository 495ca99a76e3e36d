// The text editor: its shareable settings, the native inner EDIT it edits in,
// the control, the view data and view info that draw its text whenever the
// inner edit is not showing it (and that every text-like editor derives
// from), the lookup list with its list box, and the filter helper.
#pragma once

#include "cxEdit.h"

class TcxCustomTextEditProperties;
class TcxTextEditPropertiesValues;
class TcxTextEditProperties;
class TcxCustomInnerTextEdit;
class TcxCustomInnerTextEditHelper;
class TcxCustomTextEditViewData;
class TcxCustomTextEditViewInfo;
class TcxCustomTextEditLookupData;
class TcxCustomEditListBox;
class TcxEditListBoxContainer;
class TcxCustomTextEdit;
class TcxTextEdit;
class TcxFilterTextEditHelper;

// ===========================================================================
// Module routines and number-text helpers
// ===========================================================================

#include "StdCtrls.h"
#include "cxDrawTextUtils.h"
#include "cxFormats.h"

// Thousand separators grouped into a number text under the process format
// settings: blanks around it and an exponent part are kept as they were.
void InsertThousandSeparator(String& S);
void RemoveThousandSeparator(String& S);
// Takes off the exponent part (from the first "E", either case) and answers it.
String RemoveExponentialPart(String& S);
// A number text with thousand separators; an empty text is 0. False (Value 0)
// for a text that is no number or lies outside the range of a double.
bool StrToFloatEx(String S, Double& Value);

// The character a password shows: APasswordChar itself, else the black circle
// where the native style is asked for on a themed system, else "*".
Char GetWindowsPasswordChar(bool ANativeStyle, Char APasswordChar);

// Rows of a text prepared for drawing, kept by the view info until it is
// calculated again. The rows point into TextRows.Text, which holds the text.
struct TcxTextOutData {
  bool ForceEndEllipsis = false;
  bool Initialized = false;
  Integer RowCount = 0;
  Integer SelStart = 0;
  Integer SelLength = 0;
  TColor SelBackgroundColor = clDefault;
  TColor SelTextColor = clDefault;
  TcxTextParams TextParams{};
  TRect TextRect{};
  TcxTextRows TextRows;
};

void CalculateTextEditViewInfo(TcxCanvas* ACanvas, TcxCustomTextEditViewData* AViewData,
                               TcxCustomTextEditViewInfo* AViewInfo, bool AIsMouseEvent);
void DrawTextEdit(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
void DrawEditText(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo,
                  bool ADrawPasswordCharAsBullet = false);
TSize GetTextEditContentSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData,
                             const String& AText, Cardinal ADrawTextFlags,
                             const TcxEditSizeProperties& AEditSizeProperties,
                             Integer ALineCount = 0, bool ACorrectWidth = true);
// Left, top, right and bottom distances of the text from the client edges.
TRect GetTextEditDrawTextOffset(TcxCustomEditViewData* AViewData);
void PrepareTextEditDrawTextFlags(TcxCanvas* ACanvas, TcxCustomTextEditViewData* AViewData,
                                  TcxCustomTextEditViewInfo* AViewInfo);
void PrepareTextRows(TcxCanvas* ACanvas, TcxTextOutData& TextOutData, const String& AText,
                     const TRect& R, Cardinal AFormat, Integer ASelStart = 0,
                     Integer ASelLength = 0, TColor ASelBackgroundColor = clDefault,
                     TColor ASelTextColor = clDefault, Integer AMaxLineCount = 0,
                     Integer ALeftIndent = 0, Integer ARightIndent = 0);
void InternalTextOut(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo, const String& AText,
                     const TRect& R, Cardinal AFormat, Integer ASelStart = 0,
                     Integer ASelLength = 0, TColor ASelBackgroundColor = clDefault,
                     TColor ASelTextColor = clDefault, Integer AMaxLineCount = 0,
                     Integer ALeftIndent = 0, Integer ARightIndent = 0);

// (end of module routines)

// ===========================================================================
// Properties
// ===========================================================================

enum TcxEditEchoMode { eemNormal, eemPassword };
enum TcxTextEditViewStyle { vsNormal, vsHideCursor, vsButtonsOnly, vsButtonsAutoWidth };
enum TcxTextEditIncrementalFilteringOption { ifoHighlightSearchText, ifoUseContainsOperator };
using TcxTextEditIncrementalFilteringOptions = TSet<TcxTextEditIncrementalFilteringOption>;
// Single-byte characters an editor accepts beyond what it accepts anyway.
using TcxTextEditChars = TSet<Byte, 256>;
enum TcxEditValueBound { evbMin, evbMax };
using TcxNewLookupDisplayTextEvent = TMethodPtr<void(TObject* Sender, const String& AText)>;

constexpr TcxEditVertAlignment cxTextEditDefaultVertAlignment = taVCenter;
constexpr Integer cxEditDefaultDropDownPageRowCount = 8;

const TEnumInfo& cxEditEchoModeInfo();
const TEnumInfo& cxEditCharCaseInfo();
const TEnumInfo& cxImeModeInfo();
const TEnumInfo& cxTextEditViewStyleInfo();
const TEnumInfo& cxTextEditIncrementalFilteringOptionInfo();

// Which of display format, edit format and maximum length the properties
// hold themselves rather than take from the default values provider.
class TcxTextEditPropertiesValues : public TcxCustomEditPropertiesValues {
  DECLARE_CLASS(TcxTextEditPropertiesValues, TcxCustomEditPropertiesValues)
 public:
  using TcxCustomEditPropertiesValues::TcxCustomEditPropertiesValues;
  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;

  bool GetDisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(bool Value);
  bool GetEditFormat() const { return FEditFormat; }
  void SetEditFormat(bool Value);
  bool GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(bool Value);
  bool IsDisplayFormatStored();
  bool IsEditFormatStored();

 private:
  bool IsFormatStored(bool AFlag, const wchar_t* APropertyName);
  void ValuesChanged();

  bool FDisplayFormat = false;
  bool FEditFormat = false;
  bool FMaxLength = false;
};

// The settings of every single-line text editor and of the editors derived
// from it; it hears locale changes through the format controller.
class TcxCustomTextEditProperties : public TcxCustomEditProperties,
                                    public IcxFormatControllerListener {
  DECLARE_CLASS(TcxCustomTextEditProperties, TcxCustomEditProperties)
 public:
  explicit TcxCustomTextEditProperties(TPersistent* AOwner);
  ~TcxCustomTextEditProperties() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  // One IUnknown for both bases; the format controller does not own us.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return TcxCustomEditProperties::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TcxCustomEditProperties::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  // IcxFormatControllerListener.
  void STDMETHODCALLTYPE FormatChanged() override;

  // Answers of the base.
  bool CanValidate() override { return true; }
  bool CanCompareEditValue() override { return true; }
  bool HasDisplayValue() override { return true; }
  bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) override;
  TcxEditDisplayFormatOptions GetDisplayFormatOptions() override { return {dfoSupports}; }
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false,
                        bool AIsInplace = true) override;
  TcxEditEditValueSource GetEditValueSource(bool AEditFocused) override;
  TcxEditSupportedOperations GetSupportedOperations() override;
  bool IsEditValueValid(Variant& EditValue, bool AEditFocused) override;
  bool IsResetEditClass() override { return GetEditingStyle() != esNoEdit; }
  void PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                           bool AEditFocused) override;
  String GetValidateErrorText(TcxEditErrorKind AErrorKind) override;
  TcxEditVertAlignment GetDefaultVertAlignment() override { return cxTextEditDefaultVertAlignment; }
  TcxCustomEditClass GetContainerClass() override;
  TcxCustomEditViewDataClass GetViewDataClass() override;
  TcxContainerViewInfoClass GetViewInfoClass() override;
  void ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError,
                            TcxCustomEdit* AEdit) override;

  // What this class adds.
  virtual void CheckEditValueBounds(const Variant& AEditValue, String& AErrorText, bool& AError,
                                    TcxCustomEdit* AEdit);
  virtual void CheckDisplayValueBounds(const Variant& ADisplayValue, String& AErrorText,
                                       bool& AError, TcxCustomEdit* AEdit);
  virtual String DefaultFocusedDisplayValue() { return String(); }
  virtual void DoPrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                                     bool AEditFocused);
  virtual bool FindLookupText(const String& AText);
  virtual String GetDefaultDisplayFormat() { return String(); }
  virtual TcxTextEditIncrementalFilteringOptions GetDefaultIncrementalFilteringOptions() {
    return {ifoHighlightSearchText, ifoUseContainsOperator};
  }
  virtual Integer GetDefaultMaxLength();
  virtual Integer GetDropDownPageRowCount() { return cxEditDefaultDropDownPageRowCount; }
  virtual TcxEditEditingStyle GetEditingStyle() { return FHideCursor ? esNoEdit : esEdit; }
  // The class of the lookup data the editors make; nullptr for none.
  virtual TClass GetLookupDataClass();
  virtual bool HasDigitGrouping(bool AIsDisplayValueSynchronizing) { return false; }
  virtual String InternalGetEditFormat(bool& AIsCurrency, bool& AIsOnGetTextAssigned,
                                       TcxCustomEdit* AEdit);
  virtual void LookupDataChanged(TObject* Sender) { Changed(); }
  virtual void MaxLengthChanged() { Changed(); }
  virtual void SetCharCase(TEditCharCase Value);
  virtual void SetIncrementalFilteringOptions(TcxTextEditIncrementalFilteringOptions Value) {
    FIncrementalFilteringOptions = Value;
  }
  virtual bool UseLookupData() { return GetLookupDataClass() != nullptr; }
  virtual bool UseSearchControl();
  virtual bool IsEditValueEmpty(const Variant& AEditValue) { return VarIsNull(AEditValue); }
  virtual bool IsEditValueNumeric() { return false; }
  virtual bool IsLookupDataVisual() { return false; }
  virtual bool IsLookupEdit() { return false; }
  virtual bool IsMultiLine() { return false; }
  virtual bool IsPopupKey(Word Key, TShiftState Shift) { return false; }
  virtual bool IsValueBoundDefined(TcxEditValueBound ABound);
  virtual bool IsValueBoundsDefined();
  virtual void DisplayValueToDisplayText(String& AText);
  virtual bool IsDisplayValueValid(Variant& ADisplayValue, bool AEditFocused);

  bool CanIncrementalSearch();
  bool NeedUseNullString(const Variant& AEditValue) {
    return FUseNullString && VarIsNull(AEditValue);
  }
  Variant GetDefaultDisplayValue(const Variant& AEditValue, bool AEditFocused);
  // Password masking, then letter case, as painted text shows a value.
  void DoDisplayValueToDisplayText(String& AText, bool ANativeStyle = false);
  String GetEditFormat();
  void SetMinMaxValues(Double AMinValue, Double AMaxValue) {
    FillMinMaxValues(AMaxValue, AMinValue);
  }
  bool IsFormatChanging() const { return FFormatChanging; }

  // The settings.
  TcxTextEditPropertiesValues* GetAssignedValues() const {
    return static_cast<TcxTextEditPropertiesValues*>(TcxCustomEditProperties::GetAssignedValues());
  }
  void SetAssignedValues(TcxTextEditPropertiesValues* Value) {
    TcxCustomEditProperties::SetAssignedValues(Value);
  }
  TEditCharCase GetCharCase() const { return FCharCase; }
  String GetDisplayFormat();
  void SetDisplayFormat(String Value);
  bool IsDisplayFormatStored() { return GetAssignedValues()->GetDisplayFormat(); }
  TcxEditEchoMode GetEchoMode() const { return FEchoMode; }
  void SetEchoMode(TcxEditEchoMode Value) { SetField(FEchoMode, Value); }
  void SetEditFormat(String Value);
  bool IsEditFormatStored() { return GetAssignedValues()->GetEditFormat(); }
  bool GetFixedListSelection() const { return FFixedListSelection; }
  void SetFixedListSelection(bool Value);
  bool GetHideCursor() const { return FHideCursor; }
  void SetHideCursor(bool Value) { SetField(FHideCursor, Value); }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value) { SetField(FHideSelection, Value); }
  TImeMode GetImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode Value) { SetField(FImeMode, Value); }
  TImeName GetImeName() const { return FImeName; }
  void SetImeName(TImeName Value) { SetField(FImeName, Value); }
  bool GetImmediateUpdateText() const { return FImmediateUpdateText; }
  void SetImmediateUpdateText(bool Value) { FImmediateUpdateText = Value; }
  bool GetIncrementalFiltering() const { return FIncrementalFiltering; }
  void SetIncrementalFiltering(bool Value) { FIncrementalFiltering = Value; }
  TcxTextEditIncrementalFilteringOptions GetIncrementalFilteringOptions() const {
    return FIncrementalFilteringOptions;
  }
  bool GetIncrementalSearch() const { return FIncrementalSearch; }
  void SetIncrementalSearch(bool Value) { SetField(FIncrementalSearch, Value); }
  TStringList* GetLookupItems() const { return FLookupItems.get(); }
  void SetLookupItems(TStringList* Value);
  bool GetLookupItemsSorted() const { return FLookupItems->Sorted(); }
  void SetLookupItemsSorted(bool Value) { FLookupItems->SetSorted(Value); }
  Integer GetMaxLength();
  void SetMaxLength(Integer Value);
  bool IsMaxLengthStored() { return GetAssignedValues()->GetMaxLength(); }
  bool GetMRUMode() const { return FMRUMode; }
  void SetMRUMode(bool Value) { SetField(FMRUMode, Value); }
  String GetNullstring() const { return FNullstring; }
  void SetNullstring(String Value) { SetField(FNullstring, Value); }
  bool GetOEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value) { SetField(FOEMConvert, Value); }
  Char GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(Char Value) { SetField(FPasswordChar, Value); }
  bool GetUseDisplayFormatWhenEditing() const { return FUseDisplayFormatWhenEditing; }
  void SetUseDisplayFormatWhenEditing(bool Value) { SetField(FUseDisplayFormatWhenEditing, Value); }
  bool GetUseNullString() const { return FUseNullString; }
  void SetUseNullString(bool Value) { SetField(FUseNullString, Value); }
  const TcxTextEditChars& GetValidChars() const { return FValidChars; }
  TcxTextEditChars& ValidChars() { return FValidChars; }
  TcxTextEditViewStyle GetViewStyle();
  void SetViewStyle(TcxTextEditViewStyle Value);
  const TcxNewLookupDisplayTextEvent& OnNewLookupDisplayText() const {
    return FOnNewLookupDisplayText;
  }
  void SetOnNewLookupDisplayText(const TcxNewLookupDisplayTextEvent& V) {
    FOnNewLookupDisplayText = V;
  }

 protected:
  void DefineProperties(TFiler* Filer) override;
  void AlignmentChangedHandler(TObject* Sender) override;
  void BaseSetAlignment(TcxEditAlignment* Value) override;
  void DoAssign(TcxCustomEditProperties* AProperties) override;
  TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() override;
  void LookupItemsChanged(TObject* Sender) { Changed(); }

 private:
  void ReadIsDisplayFormatAssigned(TReader* Reader);
  bool IsNumberValueInBounds(Double AValue);
  Variant FormatNumber(const Variant& AEditValue, bool AEditFocused);

  TEditCharCase FCharCase = ecNormal;
  String FDisplayFormat;
  TcxEditEchoMode FEchoMode = eemNormal;
  String FEditFormat;
  bool FFixedListSelection = true;
  bool FFormatChanging = false;
  bool FHideCursor = false;
  bool FHideSelection = true;
  TImeMode FImeMode = imDontCare;
  TImeName FImeName;
  bool FImmediateUpdateText = false;
  bool FIncrementalFiltering = false;
  TcxTextEditIncrementalFilteringOptions FIncrementalFilteringOptions;
  bool FIncrementalSearch = true;
  TOwned<TStringList> FLookupItems;
  Integer FMaxLength = 0;
  bool FMRUMode = false;
  String FNullstring;
  bool FOEMConvert = false;
  Char FPasswordChar = 0;
  bool FUseDisplayFormatWhenEditing = false;
  bool FUseNullString = false;
  TcxTextEditChars FValidChars;
  TcxNewLookupDisplayTextEvent FOnNewLookupDisplayText;
  bool FListening = false;
};

// The text editor's settings with what it publishes.
class TcxTextEditProperties : public TcxCustomTextEditProperties {
  DECLARE_CLASS(TcxTextEditProperties, TcxCustomTextEditProperties)
 public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
};

// (end of properties)

// ===========================================================================
// Inner edit
// ===========================================================================

// (end of inner edit)

// ===========================================================================
// View data and view info
// ===========================================================================

// Owner drawing of an editor's text area instead of its text.
using TcxTextEditCustomDrawHandler = TMethodPtr<void(TcxCanvas* ACanvas, const TRect& ARect)>;

// Lays out the text a text-like editor draws itself: the draw value, its
// text-output flags, its selection colours and its content size.
class TcxCustomTextEditViewData : public TcxCustomEditViewData {
  DECLARE_CLASS(TcxCustomTextEditViewData, TcxCustomEditViewData)
 public:
  using TcxCustomEditViewData::TcxCustomEditViewData;

  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                 TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  TRect GetClientExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo) override;
  void InitCacheData() override;

  virtual bool GetIsEditClass();
  virtual Integer GetMaxLineCount() { return MaxLineCount; }
  // True for editors drawn as a combo box.
  virtual bool IsComboBoxStyle() { return false; }
  virtual void PrepareDrawTextFlags(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo);
  virtual void DisplayValueToDrawValue(const Variant& ADisplayValue,
                                       TcxCustomEditViewInfo* AViewInfo);
  virtual Cardinal GetDrawTextFlags();
  virtual TRect GetDrawTextOffset();

  void PrepareSelection(TcxCustomEditViewInfo* AViewInfo);
  TcxCustomTextEditProperties* GetProperties() const {
    return static_cast<TcxCustomTextEditProperties*>(TcxCustomEditViewData::GetProperties());
  }
  bool IsValueFormatted() const { return FIsValueFormatted; }

 protected:
  void CalculateButtonNativePartInfo(HTHEME ATheme,
                                     TcxEditButtonViewInfo* AButtonViewInfo) override;
  String InternalEditValueToDisplayText(const Variant& AEditValue) override;
  TSize InternalGetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                   const TcxEditSizeProperties& AEditSizeProperties) override;

 private:
  bool FIsValueFormatted = false;
};

// The calculated text of a text-like editor; paints it and answers whether
// a hint should show the clipped text.
class TcxCustomTextEditViewInfo : public TcxCustomEditViewInfo {
  DECLARE_CLASS(TcxCustomTextEditViewInfo, TcxCustomEditViewInfo)
 public:
  TcxCustomTextEditViewInfo() = default;
  ~TcxCustomTextEditViewInfo() override;

  void Offset(Integer DX, Integer DY) override;
  TcxEditBackgroundPaintingStyle GetBackgroundPaintingStyle() override;
  bool NeedShowHint(TcxCanvas* ACanvas, const TPoint& P, const TRect& AVisibleBounds, String& AText,
                    bool& AIsMultiLine, TRect& ATextRect, Integer AMaxLineCount = 0) override;
  void PrepareCanvasFont(TcxCanvas* ACanvas) override;

  virtual void DrawText(TcxCanvas* ACanvas);
  // Where the text's baseline lies, for editors aligned on one baseline.
  virtual Integer GetTextBaseLine();
  bool NeedDrawPasswordBullets();

  bool ComboBoxStyle = false;
  TcxTextEditCustomDrawHandler CustomDrawHandler;
  bool DrawSelectionBar = false;
  Cardinal DrawTextFlags = 0;
  TcxEditEditingStyle EditingStyle = esEdit;
  bool HasPopupWindow = false;
  bool IsEditClass = false;
  bool IsOwnerDrawing = false;
  Integer MaxLineCount = 0;
  Integer SelStart = 0;
  Integer SelLength = 0;
  TColor SelTextColor = clDefault;
  TColor SelBackgroundColor = clDefault;
  String Text;
  TcxTextOutData TextOutData;
  TRect TextRect{};

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;
};

// (end of view data and view info)

// ===========================================================================
// Lookup data and edit list box
// ===========================================================================

// (end of lookup data and edit list box)

// ===========================================================================
// Editor control
// ===========================================================================

// (end of editor control)

// ===========================================================================
// Filter helper
// ===========================================================================

// (end of filter helper)

// ===========================================================================
// Module start-up
// ===========================================================================

// (end of module start-up)
