// The format controller: the one object that turns the user's regional
// settings into what the editors need (parsed date and time formats, date
// and date-time edit masks in the standard and the regular-expression
// syntax, display formats for masked entry, a currency display format), and
// tells its listeners when the settings or the clock change.
#pragma once

#include "cxClasses.h"
#include "cxDateUtils.h"

enum TcxDateTimeFormatItemKind {
  dtikString,
  dtikYear,
  dtikMonth,
  dtikDay,
  dtikHour,
  dtikMin,
  dtikSec,
  dtikMSec,
  dtikTimeSuffix,
  dtikDateSeparator,
  dtikTimeSeparator
};
constexpr Integer cxDateTimeFormatItemKindCount = dtikTimeSeparator + 1;

// One parsed element: literal text, "YY"/"YYYY", a run of M, D, H, N, S or Z
// (hours later prefixed "12" or "24"), a time suffix as written, or nothing
// for the separators.
class TcxDateTimeFormatItem : public TObject {
  DECLARE_CLASS(TcxDateTimeFormatItem, TObject)
 public:
  TcxDateTimeFormatItem(TcxDateTimeFormatItemKind AKind, const String& AData)
      : Kind(AKind), Data(AData) {}
  TcxDateTimeFormatItemKind Kind;
  String Data;
};

class TcxDateTimeFormatInfo : public TObject {
  DECLARE_CLASS(TcxDateTimeFormatInfo, TObject)
 public:
  void AddItem(TcxDateTimeFormatItemKind AKind, const String& AData);
  void ClearItems();
  void RemoveItem(Integer AIndex);
  void ClearFormatInfo();
  Integer ItemCount() const { return FItems->Count(); }
  TcxDateTimeFormatItem* Items(Integer AIndex) const {
    return static_cast<TcxDateTimeFormatItem*>(FItems->Items(AIndex));
  }
  bool DefinedItems(TcxDateTimeFormatItemKind AKind) const { return FDefinedItems[AKind]; }
  void SetDefinedItems(TcxDateTimeFormatItemKind AKind, bool AValue) {
    FDefinedItems[AKind] = AValue;
  }

 private:
  TOwned<TcxObjectList> FItems = MakeOwned<TcxObjectList>(true);
  bool FDefinedItems[cxDateTimeFormatItemKindCount] = {};
};

enum TcxDateTimeEditMaskKind { dtmkDate, dtmkTime, dtmkDateTime };
enum TcxTimeSuffixKind { tskAP, tskAMPM, tskAMPMString };

struct TcxDateTimeFormatItemInfo {
  TcxDateTimeFormatItemKind Kind = dtikString;
  Cardinal ItemZoneStart = 0;  // 1-based
  Integer ItemZoneLength = 0;
  TcxTimeSuffixKind TimeSuffixKind = tskAP;
};

struct IcxFormatControllerListener : public IUnknown {
  virtual void STDMETHODCALLTYPE FormatChanged() = 0;
};
__CRT_UUID_DECL(IcxFormatControllerListener, 0xA7F2F6D3, 0x1A7D, 0x4295, 0xA6, 0xE6, 0x92, 0x97,
                0xBD, 0x83, 0xD0, 0xDE)

// Offered through QueryInterface by listeners that want clock changes.
struct IcxFormatControllerListener2 : public IUnknown {
  virtual void STDMETHODCALLTYPE TimeChanged() = 0;
};
__CRT_UUID_DECL(IcxFormatControllerListener2, 0x5E33A2A7, 0x0C77, 0x415F, 0xA3, 0x59, 0x11, 0x21,
                0x03, 0xE5, 0x49, 0x37)

// A read-only view of the process-wide format settings (FormatSettings()),
// read at the moment each value is asked for.
class TdxFormatSettings {
 public:
  Byte CurrencyDecimals() const { return FormatSettings().CurrencyDecimals; }
  Byte CurrencyFormat() const { return FormatSettings().CurrencyFormat; }
  String CurrencyString() const { return FormatSettings().CurrencyString; }
  Char DateSeparator() const { return FormatSettings().DateSeparator; }
  String LongDateFormat() const { return FormatSettings().LongDateFormat; }
  // 1 to 12.
  String LongMonthNames(Integer AMonth) const {
    return FormatSettings().LongMonthNames[AMonth - 1];
  }
  String LongTimeFormat() const { return FormatSettings().LongTimeFormat; }
  Byte NegCurrFormat() const { return FormatSettings().NegCurrFormat; }
  String ShortDateFormat() const { return FormatSettings().ShortDateFormat; }
  String ShortMonthNames(Integer AMonth) const {
    return FormatSettings().ShortMonthNames[AMonth - 1];
  }
  String ShortTimeFormat() const { return FormatSettings().ShortTimeFormat; }
  String TimeAMString() const { return FormatSettings().TimeAMString; }
  String TimePMString() const { return FormatSettings().TimePMString; }
  Char TimeSeparator() const { return FormatSettings().TimeSeparator; }
};
const TdxFormatSettings& dxFormatSettings();

class TcxFormatController : public TcxMessageWindow, public IdxLocalizerListener {
  DECLARE_CLASS(TcxFormatController, TcxMessageWindow)
 public:
  void AfterConstruction() override;
  void BeforeDestruction() override;
  ~TcxFormatController() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TcxMessageWindow::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  void STDMETHODCALLTYPE TranslationChanged() override { FormatChanged(); }

  // Listeners are held without reference counting, each once.
  virtual void AddListener(IcxFormatControllerListener* AListener);
  virtual void RemoveListener(IcxFormatControllerListener* AListener);
  void BeginUpdate() { ++FLockCount; }
  // Back at zero: a format change made meanwhile is computed, then the
  // listeners are told (also when nothing changed).
  void EndUpdate();
  void FormatChanged();
  void NotifyListeners();
  void TimeChanged();

  String RegExprCustomDateEditMask(const String& AFormatString) const;

  bool AssignedCurrencyFormat() const { return FAssignedCurrencyFormat; }
  void SetAssignedCurrencyFormat(bool AValue) { SetFlag(FAssignedCurrencyFormat, AValue); }
  bool AssignedRegExprDateEditMask() const { return FAssignedRegExprDateEditMask; }
  void SetAssignedRegExprDateEditMask(bool AValue) {
    SetFlag(FAssignedRegExprDateEditMask, AValue);
  }
  bool AssignedRegExprDateTimeEditMask() const { return FAssignedRegExprDateTimeEditMask; }
  void SetAssignedRegExprDateTimeEditMask(bool AValue) {
    SetFlag(FAssignedRegExprDateTimeEditMask, AValue);
  }
  bool AssignedStandardDateEditMask() const { return FAssignedStandardDateEditMask; }
  void SetAssignedStandardDateEditMask(bool AValue) {
    SetFlag(FAssignedStandardDateEditMask, AValue);
  }
  bool AssignedStandardDateTimeEditMask() const { return FAssignedStandardDateTimeEditMask; }
  void SetAssignedStandardDateTimeEditMask(bool AValue) {
    SetFlag(FAssignedStandardDateTimeEditMask, AValue);
  }
  bool AssignedStartOfWeek() const;
  void SetAssignedStartOfWeek(bool AValue);
  const String& CurrencyFormat() const { return FCurrencyFormat; }
  void SetCurrencyFormat(const String& AValue) {
    SetText(FCurrencyFormat, FAssignedCurrencyFormat, AValue);
  }
  const String& DateEditFormat() const { return FDateEditFormat; }
  const String& DateEditMask() const { return FDateEditMask; }
  TcxFirstWeekOfYear FirstWeekOfYear() const { return FFirstWeekOfYear; }
  void SetFirstWeekOfYear(TcxFirstWeekOfYear AValue);
  const TFormatSettings& LocalFormatSettings() const { return FLocalFormatSettings; }
  bool LocalIsGregorianCalendar() const { return FLocalIsGregorianCalendar; }
  const String& MaskedDateEditFormat() const { return FMaskedDateEditFormat; }
  const String& MaskedDateTimeEditFormat() const { return FMaskedDateTimeEditFormat; }
  const String& RegExprDateEditMask() const { return FRegExprDateEditMask; }
  void SetRegExprDateEditMask(const String& AValue) {
    SetText(FRegExprDateEditMask, FAssignedRegExprDateEditMask, AValue);
  }
  const String& RegExprDateTimeEditMask() const { return FRegExprDateTimeEditMask; }
  void SetRegExprDateTimeEditMask(const String& AValue) {
    SetText(FRegExprDateTimeEditMask, FAssignedRegExprDateTimeEditMask, AValue);
  }
  const String& StandardDateEditMask() const { return FStandardDateEditMask; }
  void SetStandardDateEditMask(const String& AValue) {
    SetText(FStandardDateEditMask, FAssignedStandardDateEditMask, AValue);
  }
  const String& StandardDateTimeEditMask() const { return FStandardDateTimeEditMask; }
  void SetStandardDateTimeEditMask(const String& AValue) {
    SetText(FStandardDateTimeEditMask, FAssignedStandardDateTimeEditMask, AValue);
  }
  TDay StartOfWeek() const;
  void SetStartOfWeek(TDay AValue);
  bool UseRuntimeDateTimeFormats() const { return FUseRuntimeDateTimeFormats; }
  void SetUseRuntimeDateTimeFormats(bool AValue) { SetFlag(FUseRuntimeDateTimeFormats, AValue); }

  // The short date format with every lone d and M doubled; for masked entry
  // the first run of M is also cut to three letters.
  static String GetDateEditFormat(bool ACorrectForMaskEdit);

 protected:
  void WndProc(TMessage& Message) override;

 private:
  void SetFlag(bool& AField, bool AValue);
  void SetText(String& AField, bool& AAssigned, const String& AValue);
  void GetFormats();
  void UpdateLocalSettings();
  void CalculateDateEditMasks();

  bool FAssignedCurrencyFormat = false;
  bool FAssignedRegExprDateEditMask = false;
  bool FAssignedRegExprDateTimeEditMask = false;
  bool FAssignedStandardDateEditMask = false;
  bool FAssignedStandardDateTimeEditMask = false;
  String FCurrencyFormat;
  String FDateEditFormat;
  String FDateEditMask;
  TcxFirstWeekOfYear FFirstWeekOfYear = fwySystem;
  TdxListenerList<IcxFormatControllerListener*> FList;
  TFormatSettings FLocalFormatSettings;
  bool FLocalIsGregorianCalendar = true;
  Integer FLockCount = 0;
  bool FFormatChangedWhileLocked = false;
  String FMaskedDateEditFormat;
  String FMaskedDateTimeEditFormat;
  String FRegExprDateEditMask;
  String FRegExprDateTimeEditMask;
  String FStandardDateEditMask;
  String FStandardDateTimeEditMask;
  bool FUseRuntimeDateTimeFormats = false;
  TOwned<TcxDateTimeFormatInfo> FDateFormatInfo = MakeOwned<TcxDateTimeFormatInfo>();
  TOwned<TcxDateTimeFormatInfo> FTimeFormatInfo = MakeOwned<TcxDateTimeFormatInfo>();
  TOwned<TcxDateTimeFormatInfo> FDateTimeFormatInfo = MakeOwned<TcxDateTimeFormatInfo>();
};

// The single controller, created on the first call; nullptr once the
// module's shut-down has begun.
TcxFormatController* cxFormatController();

// ---------------------------------------------------------------------------
// The format computations, on the process-wide settings at the moment they
// run.

// The long time format: the process-wide one when the controller uses the
// runtime formats, else the locale's with t runs made "A/P" or "AMPM".
String GetLongTimeFormat();
String ConvertLocalFormatToRuntime(const String& AFormat);
// AFormat parsed into AFormatInfo ("C" when empty); an era letter anywhere
// gives an empty info.
void GetDateTimeFormatInfo(const String& AFormat, TcxDateTimeFormatInfo* AFormatInfo);
// Positive and negative patterns of a FormatFloat picture.
String GetCurrencyFormat();
String InternalGetDateTimeEditStandardMask(const TcxDateTimeFormatInfo* AFormatInfo,
                                           TcxDateTimeEditMaskKind AMaskKind);
String InternalGetDateTimeEditRegExprMask(const TcxDateTimeFormatInfo* AFormatInfo,
                                          TcxDateTimeEditMaskKind AMaskKind);
String InternalGetMaskedDateEditFormat(const TcxDateTimeFormatInfo* AFormatInfo);
// The genitive month name of the locale ("ddMMMM" without the day).
String GetGenitiveForm(Integer AMonth);

bool GetDateTimeFormatItemStandardMaskInfo(const TcxDateTimeFormatInfo* AFormatInfo, Integer APos,
                                           TcxDateTimeFormatItemInfo& AItemInfo);
Integer GetDateTimeStandardMaskStringLength(const TcxDateTimeFormatInfo* AFormatInfo);
Integer GetDateTimeFormatItemStandardMaskZoneLength(const TcxDateTimeFormatItem* AItem);
TcxTimeSuffixKind GetTimeSuffixKind(const String& S);

void cxFormats_Initialize();
void cxFormats_Finalize();
