#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "WinHandles.h"
#include "cxFormats.h"

namespace {

// The process-wide settings of the run, put back after a test changed them;
// the controller recomputes on both ends.
class TSettingsScope {
 public:
  TSettingsScope() : FSaved(FormatSettings()) {}
  TSettingsScope(const TSettingsScope&) = delete;
  TSettingsScope& operator=(const TSettingsScope&) = delete;
  ~TSettingsScope() {
    FormatSettings() = FSaved;
    TcxFormatController* C = cxFormatController();
    C->SetUseRuntimeDateTimeFormats(false);
    C->SetAssignedCurrencyFormat(false);
    C->SetAssignedStandardDateEditMask(false);
    C->FormatChanged();
  }

 private:
  TFormatSettings FSaved;
};

String Items(const String& AFormat) {
  TOwned<TcxDateTimeFormatInfo> Info = MakeOwned<TcxDateTimeFormatInfo>();
  GetDateTimeFormatInfo(AFormat, Info.get());
  static const wchar_t* const Kinds[] = {L"S", L"Y", L"M", L"D", L"H", L"N",
                                         L"S", L"Z", L"T", L"/", L":"};
  String R;
  for (Integer I = 0; I < Info->ItemCount(); ++I) {
    if (I) R += L" ";
    const TcxDateTimeFormatItem* Item = Info->Items(I);
    R += Item->Kind == dtikString ? L"'" + Item->Data + L"'" : Kinds[Item->Kind] + Item->Data;
  }
  return R;
}

String MaskOf(const String& AFormat, TcxDateTimeEditMaskKind AKind, bool ARegExpr) {
  TOwned<TcxDateTimeFormatInfo> Info = MakeOwned<TcxDateTimeFormatInfo>();
  GetDateTimeFormatInfo(AFormat, Info.get());
  return ARegExpr ? InternalGetDateTimeEditRegExprMask(Info.get(), AKind)
                  : InternalGetDateTimeEditStandardMask(Info.get(), AKind);
}

// English names and separators, the runtime long time format, in the
// process-wide settings.
void UseExampleSettings(TSettingsScope&) {
  TFormatSettings& FS = FormatSettings();
  FS = TFormatSettings::Create(LocaleNameToLCID(L"en-US", 0));
  FS.TimeSeparator = L':';
  FS.TimeAMString = L"AM";
  FS.TimePMString = L"PM";
  FS.DateSeparator = L'.';
  FS.ShortDateFormat = L"dd.MM.yyyy";
  FS.LongTimeFormat = L"H:mm:ss";
  FS.ShortTimeFormat = L"H:mm";
  cxFormatController()->SetUseRuntimeDateTimeFormats(true);
  cxFormatController()->FormatChanged();
}

TEST(FormatParsing, WorkedExamples) {
  TSettingsScope Scope;
  UseExampleSettings(Scope);
  struct TCase {
    const wchar_t* Format;
    const wchar_t* Items;
  } Cases[] = {
      {L"M/d/yyyy", L"MM / DD / YYYYY"},
      {L"hh:mm", L"H24HH : NNN"},
      {L"mm/dd/yy hh:mm", L"MMM / DDD / YYY ' ' H24HH : NNN"},
      {L"dd/MM/yyyy dd", L"DDD / MMM / YYYYY ' '"},
      {L"h:mm:ss AMPM", L"H12H : NNN : SSS ' ' TAMPM"},
      {L"h:mm am/pm", L"H12H : NNN ' ' Tam/pm"},
      {L"h a/p", L"H12H ' ' Ta/p"},
      {L"dd AMPM", L"DDD ' '"},
      {L"aaaa, d", L"DDDDD ', '"},
      {L"'at' \"dd\" x", L"'at dd x'"},
      {L"dd/MM/yyyy gg", L""},
      {L"ddddd", L"DDD '.' MMM '.' YYYYY"},
      {L"", L"DDD '.' MMM '.' YYYYY ' ' H24H : NNN : SSS"},
      {L"c", L"DDD '.' MMM '.' YYYYY ' ' H24H : NNN : SSS"},
      {L"t", L"H24H : NNN"},
      {L"tt", L"H24H : NNN : SSS"},
      {L"ee/mm/yyyy zzzz", L"YYY / MMM / ' ' ZZZZ"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(Items(C.Format), C.Items) << C.Format;
  // A format that names itself nests only two levels deep and adds nothing.
  FormatSettings().ShortDateFormat = L"ddddd";
  EXPECT_EQ(Items(L"ddddd"), L"");
  FormatSettings().ShortDateFormat = L"M/d/yyyy";
  EXPECT_EQ(TcxFormatController::GetDateEditFormat(false), L"MM/dd/yyyy");
  FormatSettings().ShortDateFormat = L"d MMMMM yyyy";
  EXPECT_EQ(TcxFormatController::GetDateEditFormat(false), L"dd MMMMM yyyy");
  EXPECT_EQ(TcxFormatController::GetDateEditFormat(true), L"dd MMM yyyy");
  EXPECT_EQ(ConvertLocalFormatToRuntime(L"h:mm:ss tt"), L"h:mm:ss AMPM");
  EXPECT_EQ(ConvertLocalFormatToRuntime(L"T h"), L"A/P h");
}

TEST(FormatMasks, WorkedExamples) {
  TSettingsScope Scope;
  UseExampleSettings(Scope);
  TcxFormatController* C = cxFormatController();
  EXPECT_EQ(C->StandardDateEditMask(), L"!99\\.99\\.9999;1; ");
  EXPECT_EQ(C->DateEditMask(), L"!99\\.99\\.9999;1; ");
  const String Months = L"'Jan'|'Feb'|'Mar'|'Apr'|'May'|'Jun'|'Jul'|'Aug'|'Sep'|'Oct'|'Nov'|'Dec'";
  const String Date =
      L"([012]?[1-9]|[123]0|31)'.'((0?[1-9]|1[012])|(" + Months + L"))'.'\\d\\d\\d\\d";
  EXPECT_EQ(C->RegExprDateEditMask().substr(0, Date.size() + 4), L"(" + Date + L")|(");
  const String DateTime = L"(" + Date + L" ' '(([01]?\\d|2[0-3])\\:[0-5]?\\d\\:[0-5]?\\d)?)|(";
  EXPECT_EQ(C->RegExprDateTimeEditMask().substr(0, DateTime.size()), DateTime);
  EXPECT_EQ(C->MaskedDateEditFormat(), L"dd'.'mm'.'yyyy");
  EXPECT_EQ(C->MaskedDateTimeEditFormat(), L"dd'.'mm'.'yyyy' 'hh:nn:ss");
  EXPECT_EQ(C->StandardDateTimeEditMask(), L"!99\\.99\\.9999\\ 99:99:99;1; ");
  struct TCase {
    const wchar_t* Format;
    TcxDateTimeEditMaskKind Kind;
    bool RegExpr;
    String Mask;
  } Cases[] = {
      {L"h:mm:ss AMPM", dtmkTime, true, L"(0?[1-9]|1[012])\\:[0-5]?\\d\\:[0-5]?\\d' '('AM'|'PM')?"},
      {L"H:mm:ss", dtmkTime, true, L"([01]?\\d|2[0-3])\\:[0-5]?\\d\\:[0-5]?\\d"},
      {L"H:mm:ss", dtmkTime, false, L"00:00:00;1;0"},
      {L"H:mm:ss", dtmkDateTime, false, L"!99:99:99;1; "},
      {L"h:mm A/P", dtmkTime, true, L"(0?[1-9]|1[012])\\:[0-5]?\\d' '(A|P)?"},
      {L"h:mm AM/PM", dtmkTime, false, L"00:00\\ cc;1;0"},
      {L"h:mm AMPM", dtmkTime, false, L"00:00\\ cc;1;0"},
      {L"dd MMM yy", dtmkDate, false, L"!99\\ lll\\ 99;1; "},
      {L"dd/MM/yyyy gg", dtmkDate, false, L""},
      {L"dd/MM/yyyy gg", dtmkDate, true, L""},
      {L"dd.MM.yyyy HH:mm", dtmkDate, true,
       L"([012]?[1-9]|[123]0|31)'.'((0?[1-9]|1[012])|(" + Months + L"))'.'\\d\\d\\d\\d' '"},
      {L"\"It's\" dd", dtmkDate, true, L"'It''s '([012]?[1-9]|[123]0|31)"},
  };
  for (const TCase& T : Cases) EXPECT_EQ(MaskOf(T.Format, T.Kind, T.RegExpr), T.Mask) << T.Format;
  EXPECT_EQ(C->RegExprCustomDateEditMask(L"dd.MM HH:mm"),
            L"([012]?[1-9]|[123]0|31)'.'((0?[1-9]|1[012])|(" + Months +
                L"))' '([01]?\\d|2[0-3])\\:[0-5]?\\d");
  EXPECT_EQ(C->RegExprCustomDateEditMask(L"dd.MM yyyy").find(L"2[0-3]"), String::npos);
  // Designators that are not AM and PM.
  FormatSettings().TimeAMString = L"";
  FormatSettings().TimePMString = L"p.m.";
  EXPECT_EQ(MaskOf(L"h AMPM", dtmkTime, true), L"(0?[1-9]|1[012])' '('p.m.')?");
  EXPECT_EQ(MaskOf(L"h AMPM", dtmkTime, false), L"00\\ cccc;1;0");
  FormatSettings().TimePMString = L"";
  EXPECT_EQ(MaskOf(L"h AMPM", dtmkTime, true), L"(0?[1-9]|1[012])' '");
}

TEST(FormatMasks, ZonesOfTheStandardMask) {
  TSettingsScope Scope;
  UseExampleSettings(Scope);
  TOwned<TcxDateTimeFormatInfo> Info = MakeOwned<TcxDateTimeFormatInfo>();
  GetDateTimeFormatInfo(L"dd/MMM/yyyy hh:mm AM/PM", Info.get());
  EXPECT_EQ(GetDateTimeStandardMaskStringLength(Info.get()), 2 + 1 + 3 + 1 + 4 + 1 + 5 + 1 + 2);
  struct TCase {
    Integer Pos;
    bool Found;
    TcxDateTimeFormatItemKind Kind;
    Cardinal Start;
    Integer Length;
  } Cases[] = {{0, false},
               {1, true, dtikDay, 1, 2},
               {3, true, dtikDateSeparator, 3, 1},
               {6, true, dtikMonth, 4, 3},
               {8, true, dtikYear, 8, 4},
               {12, true, dtikString, 12, 1},
               {13, true, dtikHour, 13, 2},
               {19, true, dtikTimeSuffix, 19, 2},
               {21, false}};
  for (const TCase& C : Cases) {
    TcxDateTimeFormatItemInfo I;
    EXPECT_EQ(GetDateTimeFormatItemStandardMaskInfo(Info.get(), C.Pos, I), C.Found) << C.Pos;
    if (!C.Found) continue;
    EXPECT_EQ(I.Kind, C.Kind) << C.Pos;
    EXPECT_EQ(I.ItemZoneStart, C.Start) << C.Pos;
    EXPECT_EQ(I.ItemZoneLength, C.Length) << C.Pos;
    if (C.Kind == dtikTimeSuffix) EXPECT_EQ(I.TimeSuffixKind, tskAMPM);
  }
  EXPECT_EQ(GetTimeSuffixKind(L"a/p"), tskAP);
  EXPECT_EQ(GetTimeSuffixKind(L"Am/pM"), tskAMPM);
  EXPECT_EQ(GetTimeSuffixKind(L"AMPM"), tskAMPMString);
  TOwned<TcxDateTimeFormatInfo> Empty = MakeOwned<TcxDateTimeFormatInfo>();
  TcxDateTimeFormatItemInfo I;
  EXPECT_FALSE(GetDateTimeFormatItemStandardMaskInfo(Empty.get(), 1, I));
}

TEST(CurrencyFormat, WorkedExampleAndEveryOrderAgainstThePlatform) {
  TSettingsScope Scope;
  TFormatSettings& FS = FormatSettings();
  FS.CurrencyString = L"\u0440.";
  FS.CurrencyFormat = 3;
  FS.NegCurrFormat = 8;
  FS.CurrencyDecimals = 2;
  TcxFormatController* C = cxFormatController();
  C->FormatChanged();
  EXPECT_EQ(C->CurrencyFormat(), L",0.00 \u0440'.';-,0.00 \u0440'.'");
  struct TStyle {
    const wchar_t* Symbol;
    Char Decimal, Thousand;
    Byte Digits;
  } Styles[] = {{L"$", L'.', L',', 2}, {L"\u0440.", L',', L' ', 2}, {L"EUR", L',', L'.', 0}};
  // No negative value that rounds to zero: the platform keeps its sign, the
  // picture its positive section.
  const Double Values[] = {1234.5, -1234.5, 0.5, -987654.32, 7, -0.75};
  for (const TStyle& S : Styles) {
    FS.CurrencyString = S.Symbol;
    FS.DecimalSeparator = S.Decimal;
    FS.ThousandSeparator = S.Thousand;
    FS.CurrencyDecimals = S.Digits;
    for (Byte Positive = 0; Positive < 4; ++Positive) {
      for (Byte Negative = 0; Negative < 16; ++Negative) {
        FS.CurrencyFormat = Positive;
        FS.NegCurrFormat = Negative;
        C->FormatChanged();
        wchar_t Decimal[2] = {S.Decimal, 0}, Thousand[2] = {S.Thousand, 0};
        CURRENCYFMTW Fmt{S.Digits, 1,        3,        Decimal,
                         Thousand, Negative, Positive, const_cast<LPWSTR>(S.Symbol)};
        for (Double V : Values) {
          wchar_t Buffer[128] = {};
          String Number = FloatToStrF(V, ffFixed, 15, 2, TFormatSettings::Invariant());
          ASSERT_GT(GetCurrencyFormatEx(L"en-US", 0, Number.c_str(), &Fmt, Buffer, 128), 0);
          EXPECT_EQ(FormatFloat(C->CurrencyFormat(), V, FS), Buffer)
              << C->CurrencyFormat() << L" " << V;
        }
      }
    }
  }
  FS.CurrencyFormat = 4;
  FS.NegCurrFormat = 16;
  C->FormatChanged();
  EXPECT_EQ(C->CurrencyFormat(), L";");
  C->SetCurrencyFormat(L"#.00");
  FS.CurrencyFormat = 0;
  C->FormatChanged();
  EXPECT_EQ(C->CurrencyFormat(), L"#.00");
}

// A listener that counts and runs an action on each notification.
class TListener : public IcxFormatControllerListener, public IcxFormatControllerListener2 {
 public:
  explicit TListener(bool AWantsTime = false) : FWantsTime(AWantsTime) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IcxFormatControllerListener2)) && FWantsTime) {
      *AObj = static_cast<IcxFormatControllerListener2*>(this);
      return S_OK;
    }
    if (IsEqualIID(AIID, IID_IUnknown) || IsEqualIID(AIID, __uuidof(IcxFormatControllerListener))) {
      *AObj = static_cast<IcxFormatControllerListener*>(this);
      return S_OK;
    }
    *AObj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void STDMETHODCALLTYPE FormatChanged() override {
    ++Changes;
    if (OnChange) OnChange();
  }
  void STDMETHODCALLTYPE TimeChanged() override { ++TimeChanges; }
  IcxFormatControllerListener* AsListener() { return this; }

  Integer Changes = 0;
  Integer TimeChanges = 0;
  std::function<void()> OnChange;

 private:
  bool FWantsTime;
};

// Keeps the listener out of the controller after the test, whatever happens.
struct TSubscription {
  TListener& Listener;
  explicit TSubscription(TListener& AListener) : Listener(AListener) {
    cxFormatController()->AddListener(&AListener);
  }
  TSubscription(const TSubscription&) = delete;
  TSubscription& operator=(const TSubscription&) = delete;
  ~TSubscription() {
    if (TcxFormatController* C = cxFormatController()) C->RemoveListener(&Listener);
  }
};

TEST(FormatController, ListenersAndBatchedChanges) {
  TSettingsScope Scope;
  TcxFormatController* C = cxFormatController();
  TListener A, B;
  TSubscription SubA(A), SubB(B);
  C->AddListener(&A);
  C->FormatChanged();
  EXPECT_EQ(A.Changes, 1);
  EXPECT_EQ(B.Changes, 1);
  TListener Stranger;
  C->RemoveListener(&Stranger);
  C->BeginUpdate();
  C->EndUpdate();
  EXPECT_EQ(A.Changes, 2);
  // A change made inside the batch is computed before the listeners hear.
  String SeenMask;
  A.OnChange = [&] { SeenMask = C->DateEditMask(); };
  C->BeginUpdate();
  C->BeginUpdate();
  FormatSettings().ShortDateFormat = L"yyyy/MM/dd";
  C->FormatChanged();
  EXPECT_NE(C->DateEditMask(), L"!9999/99/99;1; ");
  C->EndUpdate();
  EXPECT_EQ(A.Changes, 2);
  C->EndUpdate();
  EXPECT_EQ(A.Changes, 3);
  EXPECT_EQ(SeenMask, L"!9999/99/99;1; ");
  EXPECT_EQ(C->DateEditMask(), L"!9999/99/99;1; ");
  C->EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(A.Changes, 3);
  A.OnChange = nullptr;
  // Assigned values survive recomputation until the flag is cleared.
  C->SetStandardDateEditMask(L"00");
  EXPECT_TRUE(C->AssignedStandardDateEditMask());
  EXPECT_EQ(A.Changes, 4);
  C->SetStandardDateEditMask(L"00");
  EXPECT_EQ(A.Changes, 4);
  C->FormatChanged();
  EXPECT_EQ(C->StandardDateEditMask(), L"00");
  C->SetAssignedStandardDateEditMask(false);
  EXPECT_EQ(C->StandardDateEditMask(), L"!9999/99/99;1; ");
  C->SetFirstWeekOfYear(fwyFirstFourDays);
  C->SetFirstWeekOfYear(fwyFirstFourDays);
  EXPECT_EQ(A.Changes, 7);
  C->SetFirstWeekOfYear(fwySystem);
  C->TranslationChanged();
  EXPECT_EQ(B.Changes, 9);
}

TEST(FormatController, ListenersLeavingDuringANotification) {
  TcxFormatController* C = cxFormatController();
  TListener First, Second, Third;
  TSubscription S1(First), S2(Second), S3(Third);
  First.OnChange = [&] { C->RemoveListener(&Second); };
  Second.OnChange = [&] { ADD_FAILURE() << "called after its removal"; };
  Third.OnChange = [&] { C->RemoveListener(&Third); };
  C->NotifyListeners();
  EXPECT_EQ(First.Changes, 1);
  EXPECT_EQ(Second.Changes, 0);
  EXPECT_EQ(Third.Changes, 1);
  C->NotifyListeners();
  EXPECT_EQ(First.Changes, 2);
  EXPECT_EQ(Third.Changes, 1);
}

// Waits until the application's window has handled what was broadcast (a
// broadcast from this thread reaches its own windows at once).
void Broadcast(UINT AMessage, const wchar_t* AArea) {
  DWORD_PTR Result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, AMessage, 0, reinterpret_cast<LPARAM>(AArea),
                      SMTO_ABORTIFHUNG | SMTO_NORMAL, 5000, &Result);
}

TEST(FormatController, RealBroadcastsReachTheListeners) {
  TSettingsScope Scope;
  TListener Dates, Clocks(true);
  TSubscription S1(Dates), S2(Clocks);
  LCID OldThreadLocale = GetThreadLocale();
  {
    TUserLocaleValues Short({{LOCALE_SSHORTDATE, L"yyyy-MM-dd"}, {LOCALE_SDATE, L"-"}});
    Broadcast(WM_SETTINGCHANGE, L"intl");
    EXPECT_EQ(Dates.Changes, 1);
    EXPECT_EQ(FormatSettings().DateSeparator, L'-');
    EXPECT_EQ(cxFormatController()->DateEditMask(), L"!9999/99/99;1; ");
    EXPECT_EQ(cxFormatController()->LocalFormatSettings().ShortDateFormat, L"yyyy-MM-dd");
    Broadcast(WM_SETTINGCHANGE, L"Intl");
    Broadcast(WM_SETTINGCHANGE, L"Environment");
    EXPECT_EQ(Dates.Changes, 1);
    Application()->SetUpdateFormatSettings(false);
    Broadcast(WM_SETTINGCHANGE, L"intl");
    EXPECT_EQ(Dates.Changes, 1);
    Application()->SetUpdateFormatSettings(true);
  }
  Broadcast(WM_SETTINGCHANGE, L"intl");
  EXPECT_EQ(Dates.Changes, 2);
  Broadcast(WM_TIMECHANGE, nullptr);
  EXPECT_EQ(Clocks.TimeChanges, 1);
  EXPECT_EQ(Dates.TimeChanges, 0);
  SetThreadLocale(OldThreadLocale);
}

TEST(FormatController, NotMadeAgainOnceShutDownBegan) {
  TcxFormatController* C = cxFormatController();
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(cxFormatController(), C);
  cxFormats_Finalize();
  EXPECT_EQ(cxFormatController(), nullptr);
  // What a late listener does on its way out.
  TListener Late;
  if (TcxFormatController* Gone = cxFormatController()) Gone->RemoveListener(&Late);
  Broadcast(WM_TIMECHANGE, nullptr);
  cxFormats_Initialize();
  EXPECT_NE(cxFormatController(), nullptr);
}

// ---------------------------------------------------------------------------
// The masks of several locales and the texts the platform writes with the
// locales' own pictures, written out for judge_masks.py, which reads the
// masks with Python's re.

class TDump {
 public:
  void Line(const wchar_t* AKind, const String& AName, const String& AValue) {
    FText += String(AKind) + L"\t" + AName + L"\t" + AValue + L"\n";
  }
  void Save() {
    wchar_t Path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, Path, MAX_PATH);
    String File = ExtractFilePath(Path) + L"editcore-masks.txt";
    UTF8String Bytes = UTF8Encode(FText);
    const TFileHandle H(
        CreateFileW(File.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(H.Valid());
    DWORD Written = 0;
    ASSERT_TRUE(
        WriteFile(H.Get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr));
    ASSERT_EQ(Written, Bytes.size());
  }

 private:
  String FText;
};

TEST(FormatMasks, LocaleMasksWrittenForTheJudge) {
  TDump Dump;
  for (const wchar_t* Name : MaskLocales) {
    TSettingsScope Scope;
    TLocaleScope Locale(Name);
    TcxFormatController* C = cxFormatController();
    C->FormatChanged();
    const String DateMask = String(Name) + L" date", DateTimeMask = String(Name) + L" date-time";
    const String LongDateMask = String(Name) + L" long date";
    Dump.Line(L"DATESEP", Name, String(1, FormatSettings().DateSeparator));
    Dump.Line(L"TIMESEP", Name, String(1, FormatSettings().TimeSeparator));
    Dump.Line(L"MASK", DateMask, C->RegExprDateEditMask());
    Dump.Line(L"MASK", DateTimeMask, C->RegExprDateTimeEditMask());
    EXPECT_FALSE(C->RegExprDateEditMask().empty()) << Name;
    // Month names, and their genitive forms where the locale has them.
    Dump.Line(L"MASK", LongDateMask, C->RegExprCustomDateEditMask(LongDatePicture));
    const TMaskSamples Samples = PlatformMaskSamples(Name);
    for (const String& T : Samples.Dates) Dump.Line(L"POS", DateMask, T);
    for (const String& T : Samples.LongDates) Dump.Line(L"POS", LongDateMask, T);
    for (const String& T : Samples.DateTimes) Dump.Line(L"POS", DateTimeMask, T);
    for (const wchar_t* Word : {L"today", L"eom", L"tomorrow+5", L"first-1234"})
      Dump.Line(L"POS", DateMask, Word);
    Dump.Line(L"POS", DateTimeMask, L"now+1");
    Dump.Line(L"NEG", DateMask, L"now");
    Dump.Line(L"NEG", DateMask, L"today+12345");
    for (const String& T : Samples.BadDates) Dump.Line(L"NEG", DateMask, T);
    for (const String& T : Samples.BadDateTimes) Dump.Line(L"NEG", DateTimeMask, T);
  }
  Dump.Save();
}

}  // namespace
