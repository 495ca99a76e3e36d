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

// Directions a lookup list moves its highlighted row in.
enum TcxEditLookupDataGoDirection { egdBegin, egdEnd, egdNext, egdPrev, egdPageUp, egdPageDown };

// A text editor and its item list: the editor speaks to its lookup data
// only through this interface.
struct IcxTextEditLookupData : public IUnknown {
  virtual bool STDMETHODCALLTYPE CanResizeVisualArea(TSize& NewSize, Integer AMaxHeight = 0,
                                                     Integer AMaxWidth = 0) = 0;
  virtual void STDMETHODCALLTYPE CloseUp() = 0;
  virtual void STDMETHODCALLTYPE Deinitialize() = 0;
  virtual void STDMETHODCALLTYPE DropDown() = 0;
  virtual void STDMETHODCALLTYPE DroppedDown(const String& AFindStr) = 0;
  virtual bool STDMETHODCALLTYPE Find(const String& AText) = 0;
  virtual TWinControl* STDMETHODCALLTYPE GetActiveControl() = 0;
  virtual Variant STDMETHODCALLTYPE GetCurrentKey() = 0;
  virtual String STDMETHODCALLTYPE GetDisplayText(const Variant& AKey) = 0;
  virtual TNotifyEvent STDMETHODCALLTYPE GetOnCurrentKeyChanged() = 0;
  virtual TNotifyEvent STDMETHODCALLTYPE GetOnSelectItem() = 0;
  virtual Integer STDMETHODCALLTYPE GetSelectedItem() = 0;
  virtual TSize STDMETHODCALLTYPE GetVisualAreaPreferredSize(Integer AMaxHeight,
                                                             Integer AWidth = 0) = 0;
  virtual void STDMETHODCALLTYPE Go(TcxEditLookupDataGoDirection ADirection, bool ACircular) = 0;
  virtual void STDMETHODCALLTYPE Initialize(TWinControl* AVisualControlsParent) = 0;
  virtual bool STDMETHODCALLTYPE IsEmpty() = 0;
  // AScreenPoint lies over the list box.
  virtual bool STDMETHODCALLTYPE IsMouseOverList(const TPoint& AScreenPoint) = 0;
  // Incremental search: true when an item was found for AText; ATail is the
  // rest of the found item after the typed text.
  virtual bool STDMETHODCALLTYPE Locate(String& AText, String& ATail, bool ANext = false) = 0;
  virtual void STDMETHODCALLTYPE PositionVisualArea(const TRect& AClientRect) = 0;
  virtual void STDMETHODCALLTYPE PropertiesChanged() = 0;
  virtual void STDMETHODCALLTYPE SelectItem() = 0;
  virtual void STDMETHODCALLTYPE SetCurrentKey(const Variant& AKey) = 0;
  virtual void STDMETHODCALLTYPE SetOnCurrentKeyChanged(const TNotifyEvent& Value) = 0;
  virtual void STDMETHODCALLTYPE SetOnSelectItem(const TNotifyEvent& Value) = 0;
  virtual void STDMETHODCALLTYPE SetSelectedItem(Integer Value) = 0;
  virtual void STDMETHODCALLTYPE TextChanged() = 0;
};
__CRT_UUID_DECL(IcxTextEditLookupData, 0xF49C5F08, 0x7758, 0x4362, 0xA3, 0x60, 0x1D, 0xF0, 0x23,
                0x54, 0xE7, 0x08)

struct IcxTextEditLookupDataIncrementalFilter : public IUnknown {
  virtual void STDMETHODCALLTYPE ResetIncrementalFilter() = 0;
};
__CRT_UUID_DECL(IcxTextEditLookupDataIncrementalFilter, 0x80037B39, 0x866D, 0x45C5, 0xAB, 0x85,
                0x17, 0x6F, 0xE5, 0x76, 0xCF, 0x2A)

// The container around the list of a lookup editor's popup: its own
// library scroll bars stand over the list's, and the list handles the wheel.
class TcxEditListBoxContainer : public TcxCustomEditContainer {
  DECLARE_CLASS(TcxEditListBoxContainer, TcxCustomEditContainer)
 public:
  explicit TcxEditListBoxContainer(TComponent* AOwner);
  bool CanFocus() override;
  bool NeedsScrollBars() override { return true; }
  TRect GetBorderExtent() override;

 protected:
  bool IsMouseWheelHandleNeeded(TShiftState Shift, Integer WheelDelta,
                                const TPoint& MousePos) override;
  bool AllowTouchScrollUIMode() override;
  void DoScrollUIModeChanged() override;
  void WMWindowPosChanged(TMessage& Message) override;
};

using TcxCustomEditListBoxClass = TClass;

// The owner-drawn list of a lookup editor's popup window: rows drawn by the
// library (the search text of a filtered list in highlight colours), hot
// tracking, a wheel that keeps fractions of a notch, and touch panning by
// whole rows.
class TcxCustomEditListBox : public TcxCustomInnerListBox,
                             public IdxGestureOwner,
                             public IdxGestureClient {
  DECLARE_CLASS(TcxCustomEditListBox, TcxCustomInnerListBox)
 public:
  explicit TcxCustomEditListBox(TComponent* AOwner);
  ~TcxCustomEditListBox() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

  // Rows x the row height; the caller applies its own maximum.
  virtual Integer GetHeight(Integer ARowCount, Integer AMaxHeight);
  // The height of every row (AIndex -1: of any row).
  virtual Integer GetItemHeight(Integer AIndex = -1);
  virtual Integer GetItemWidth(Integer AIndex);
  virtual String GetItem(Integer Index);
  bool IsVisible();
  // Rows appended through GetItem or taken from the end, in one update.
  void SetItemCount(Integer ACount);
  void SetItemIndex(Integer V) override;
  Integer GetItemData(Integer) { return 0; }
  void SetItemData(Integer, Integer) {}
  virtual void RecreateWindow() {}
  void InternalRecreateWindow() { RecreateWnd(); }
  // The editor whose popup window holds the container; nullptr elsewhere.
  TcxCustomTextEdit* GetEdit();
  TcxCustomEdit* GetEditControl();
  TdxScaleFactor* GetEditScaleFactor();
  bool CanFocus() override;
  // Scrolls like the container's bars do (absolute positions by scPosition).
  void DoScroll(TScrollBarKind AKind, TScrollCode AScrollCode, Integer& AScrollPos);

  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool AValue) { FHotTrack = AValue; }
  const TNotifyEvent& OnSelectItem() const { return FOnSelectItem; }
  void SetOnSelectItem(const TNotifyEvent& AValue) { FOnSelectItem = AValue; }

  // IdxGestureOwner
  IdxGestureClient* STDMETHODCALLTYPE GetGestureClient(const TPoint& APoint) override;
  HWND STDMETHODCALLTYPE GetGestureClientHandle() override { return Handle(); }
  bool STDMETHODCALLTYPE IsGestureTarget(HWND AWnd) override;
  TPoint STDMETHODCALLTYPE ScreenToClient(const TPoint& APoint) override {
    return TControl::ScreenToClient(APoint);
  }
  // IdxGestureClient
  bool STDMETHODCALLTYPE AllowGesture(TInteractiveGesture AGestureId) override;
  bool STDMETHODCALLTYPE AllowPan(TScrollBarKind AScrollKind) override;
  void STDMETHODCALLTYPE BeginGestureScroll(const TPoint& APos) override;
  void STDMETHODCALLTYPE EndGestureScroll() override;
  void STDMETHODCALLTYPE GestureScroll(Integer ADeltaX, Integer ADeltaY) override;
  DWORD STDMETHODCALLTYPE GetPanOptions() override;
  bool STDMETHODCALLTYPE IsPanArea(const TPoint& APoint) override;
  bool STDMETHODCALLTYPE NeedPanningFeedback(TScrollBarKind) override { return true; }

 protected:
  virtual Cardinal GetDrawTextFlags();
  virtual bool IsHighlightSearchText();
  // True when the row was drawn elsewhere (an application's handler).
  virtual bool DoDrawItem(Integer AIndex, const TRect& ARect, TOwnerDrawState AState) {
    return false;
  }
  bool NeedDrawFocusRect() override;
  Integer GetDefaultItemHeight();
  void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;
  void DrawItemText(const String& AText, const TRect& ARect);
  void MeasureItem(Integer Index, Integer& Height) override;
  void Click() override;
  void DoSelectItem();
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseLeave(TControl* AControl) override;
  void CMShowingChanged(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) override;
  void DoGetGestureOptions(TInteractiveGestures& AGestures,
                           TInteractiveGestureOptions& AOptions) override;
  // The editor's lookup data, or nullptr outside an editor's popup.
  TcxCustomTextEditLookupData* GetLookupData();

 private:
  IcxControlScrollBar* ActiveScrollBar(TScrollBarKind AKind);

  bool FHotTrack = true;
  TPoint FPrevMousePos{-1, -1};
  Integer FMouseWheelAccumulator = 0;
  TOwned<TdxGestureHelper> FGestureHelper;
  TPoint FGestureAccumulatedDelta{};
  TNotifyEvent FOnSelectItem;
};

// The logic of a text editor's item list: locating and incremental search,
// incremental filtering through a map from visible rows to items, the
// current key and the highlighted item; and the list box it shows in the
// editor's popup window.
class TcxCustomTextEditLookupData : public TcxInterfacedPersistent,
                                    public IcxTextEditLookupData,
                                    public IcxTextEditLookupDataIncrementalFilter {
  DECLARE_CLASS(TcxCustomTextEditLookupData, TcxInterfacedPersistent)
 public:
  explicit TcxCustomTextEditLookupData(TPersistent* AOwner);
  ~TcxCustomTextEditLookupData() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return TcxInterfacedPersistent::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TcxInterfacedPersistent::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  // IcxTextEditLookupData
  bool STDMETHODCALLTYPE CanResizeVisualArea(TSize& NewSize, Integer AMaxHeight = 0,
                                             Integer AMaxWidth = 0) override;
  void STDMETHODCALLTYPE CloseUp() override;
  void STDMETHODCALLTYPE Deinitialize() override {}
  void STDMETHODCALLTYPE DropDown() override {}
  void STDMETHODCALLTYPE DroppedDown(const String&) override {}
  bool STDMETHODCALLTYPE Find(const String& AText) override;
  TWinControl* STDMETHODCALLTYPE GetActiveControl() override;
  Variant STDMETHODCALLTYPE GetCurrentKey() override;
  String STDMETHODCALLTYPE GetDisplayText(const Variant& AKey) override;
  TNotifyEvent STDMETHODCALLTYPE GetOnCurrentKeyChanged() override { return FOnCurrentKeyChanged; }
  TNotifyEvent STDMETHODCALLTYPE GetOnSelectItem() override { return FOnSelectItem; }
  Integer STDMETHODCALLTYPE GetSelectedItem() override;
  TSize STDMETHODCALLTYPE GetVisualAreaPreferredSize(Integer AMaxHeight,
                                                     Integer AWidth = 0) override;
  void STDMETHODCALLTYPE Go(TcxEditLookupDataGoDirection ADirection, bool ACircular) override;
  void STDMETHODCALLTYPE Initialize(TWinControl* AVisualControlsParent) override;
  bool STDMETHODCALLTYPE IsEmpty() override;
  bool STDMETHODCALLTYPE IsMouseOverList(const TPoint& AScreenPoint) override;
  bool STDMETHODCALLTYPE Locate(String& AText, String& ATail, bool ANext = false) override;
  void STDMETHODCALLTYPE PositionVisualArea(const TRect& AClientRect) override;
  void STDMETHODCALLTYPE PropertiesChanged() override;
  void STDMETHODCALLTYPE SelectItem() override;
  void STDMETHODCALLTYPE SetCurrentKey(const Variant& AKey) override;
  void STDMETHODCALLTYPE SetOnCurrentKeyChanged(const TNotifyEvent& Value) override {
    FOnCurrentKeyChanged = Value;
  }
  void STDMETHODCALLTYPE SetOnSelectItem(const TNotifyEvent& Value) override {
    FOnSelectItem = Value;
  }
  void STDMETHODCALLTYPE SetSelectedItem(Integer Value) override;
  void STDMETHODCALLTYPE TextChanged() override;
  // IcxTextEditLookupDataIncrementalFilter
  void STDMETHODCALLTYPE ResetIncrementalFilter() override;

  TcxCustomTextEdit* GetEdit();
  TcxCustomEdit* GetEditControl();
  // First item equal to AText in any letter case, over all items; -1.
  Integer IndexOf(const String& AText);
  // The number of visible rows, and the map between rows and items. A row
  // outside the map (or -1) is no item: -1.
  Integer GetFilteredItemCount();
  Integer GetFilteredItemIndex(Integer ALookupIndex);
  Integer GetLookupItemIndexFromFilteredItemIndex(Integer AFilteredIndex);
  String GetFilteredItem(Integer AFilteredIndex);
  bool IsIncrementalFiltering();
  bool IsLikeTypeFiltering();
  const String& SearchText() const { return FSearchText; }
  Integer ItemIndex() const { return FItemIndex; }
  Integer CurrentKey() const { return FCurrentKey; }
  TcxCustomEditListBox* List() const { return FList; }
  TcxEditListBoxContainer* ListContainer() const { return FListContainer; }

 protected:
  TPersistent* GetOwner() override { return Owner(); }
  virtual void DoInitialize(TWinControl* AVisualControlsParent);
  virtual void DoPositionVisualArea(const TRect& AClientRect);
  virtual String GetItem(Integer AIndex);
  virtual Integer GetItemCount();
  virtual TClass GetListBoxClass() { return nullptr; }
  virtual void HandleSelectItem(TObject* Sender);
  virtual bool InternalLocate(String& AText, String& ATail, bool ANext, bool ASynchronizeWithText);
  virtual bool IsFilterActive();
  virtual void ListChanged();
  virtual bool NeedLocateItemWithFullString() { return false; }
  virtual void UpdateFilteredLookupItems(const String& AText);
  virtual bool UseSearchControl();

  void DoSelectItem();
  Integer FindItemByText(const String& AText, Integer AStartIndex, bool AFindFullText);
  void InternalSetCurrentKey(Integer Value);
  void InternalSetItemIndex(Integer AIndex);
  bool IsIncrementalFilteringText(const String& AItem, const String& AText);

 private:
  void ApplyNotFoundKeyRule(bool ASynchronizeWithText, const String& AText);
  Integer GoRow(TcxEditLookupDataGoDirection ADirection, bool ACircular, Integer AIndex,
                Integer ACount, bool ANoStartItem);

  Integer FCurrentKey = -1;
  Integer FItemIndex = -1;
  String FSearchText;
  std::vector<Integer> FFilteredLookupItems;
  bool FIsInitializing = false;
  TcxCustomEditListBox* FList = nullptr;
  TcxEditListBoxContainer* FListContainer = nullptr;
  TNotifyEvent FOnCurrentKeyChanged;
  TNotifyEvent FOnSelectItem;
};

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
