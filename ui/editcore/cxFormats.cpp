#include "cxFormats.h"

#include "Forms.h"
#include "dxCalendarUtils.h"

namespace {

TcxFormatController* FController = nullptr;
bool FFormatsFinalized = false;

Char UpperAscii(Char C) { return (C >= L'a' && C <= L'z') ? static_cast<Char>(C - 32) : C; }

bool StartsWithText(const String& S, size_t AIndex, const wchar_t* AToken) {
  for (size_t K = 0; AToken[K]; ++K)
    if (AIndex + K >= S.size() || UpperAscii(S[AIndex + K]) != AToken[K]) return false;
  return true;
}

String Repeat(Char C, size_t ACount) { return String(ACount, C); }

// Parses a date-time picture into items (see GetDateTimeFormatInfo).
class TFormatParser {
 public:
  explicit TFormatParser(TcxDateTimeFormatInfo* AInfo) : FInfo(AInfo) {}

  bool ParseFormat(const String& AFormat, Integer ALevel) {
    if (AFormat.empty() || ALevel == 2) return true;
    const Integer Level = ALevel + 1;
    Char LastLetter = L' ';
    bool HourSeen = false, AmPmSeen = false;
    size_t I = 0;
    while (I < AFormat.size()) {
      Char C = AFormat[I];
      // A character outside the basic plane is copied whole, as text.
      if (IS_HIGH_SURROGATE(C) && I + 1 < AFormat.size() && IS_LOW_SURROGATE(AFormat[I + 1])) {
        AppendChars(AFormat.substr(I, 2));
        LastLetter = L' ';
        I += 2;
        continue;
      }
      Char U = UpperAscii(C);
      if (U >= L'A' && U <= L'Z') {
        if (U == L'M' && LastLetter == L'H') U = L'N';
        LastLetter = U;
      }
      size_t Run = 1;
      while (I + Run < AFormat.size() && AFormat[I + Run] == C) ++Run;
      bool Ok = true;
      switch (U) {
        case L'"':
        case L'\'': {
          size_t J = AFormat.find(C, I + 1);
          if (J == String::npos) J = AFormat.size();
          AppendChars(AFormat.substr(I + 1, J - I - 1));
          I = J + 1;
          continue;
        }
        case L'/':
          AddFormatItem(dtikDateSeparator, String());
          break;
        case L':':
          AddFormatItem(dtikTimeSeparator, String());
          break;
        case L'A': {
          size_t Used = ParseA(AFormat, I, AmPmSeen);
          I += Used;
          continue;
        }
        case L'C':
          Ok = ParseFormat(dxFormatSettings().ShortDateFormat(), Level);
          if (Ok) {
            AppendChars(L" ");
            Ok = ParseFormat(GetLongTimeFormat(), Level);
          }
          break;
        case L'D':
          if (Run <= 4)
            AddFormatItem(dtikDay, Repeat(L'D', Run));
          else if (Run == 5)
            Ok = ParseFormat(dxFormatSettings().ShortDateFormat(), Level);
          else
            Ok = ParseFormat(dxFormatSettings().LongDateFormat(), Level);
          break;
        case L'E':
        case L'Y':
          AddFormatItem(dtikYear, Run > 2 ? L"YYYY" : L"YY");
          break;
        case L'G':
          return false;
        case L'H':
          AddFormatItem(dtikHour, Repeat(L'H', std::min<size_t>(Run, 2)));
          HourSeen = true;
          break;
        case L'M':
          AddFormatItem(dtikMonth, Repeat(L'M', std::min<size_t>(Run, 4)));
          break;
        case L'N':
          AddFormatItem(dtikMin, Repeat(L'N', std::min<size_t>(Run, 2)));
          break;
        case L'S':
          AddFormatItem(dtikSec, Repeat(L'S', std::min<size_t>(Run, 2)));
          break;
        case L'Z':
          AddFormatItem(dtikMSec, Repeat(L'Z', std::min<size_t>(Run, 3)));
          break;
        case L'T':
          Ok = ParseFormat(Run == 1 ? dxFormatSettings().ShortTimeFormat() : GetLongTimeFormat(),
                           Level);
          break;
        default:
          AppendChars(AFormat.substr(I, Run));
          break;
      }
      if (!Ok) return false;
      I += Run;
    }
    if (HourSeen) FTwelveHour = AmPmSeen;
    return true;
  }

  // The first hour item learns its clock; a time suffix without an hour
  // means nothing and goes.
  void ProcessHourItem() {
    if (FInfo->DefinedItems(dtikHour)) {
      for (Integer I = 0; I < FInfo->ItemCount(); ++I) {
        TcxDateTimeFormatItem* Item = FInfo->Items(I);
        if (Item->Kind == dtikHour) {
          Item->Data = (FTwelveHour ? L"12" : L"24") + Item->Data;
          return;
        }
      }
    } else if (FInfo->DefinedItems(dtikTimeSuffix)) {
      for (Integer I = 0; I < FInfo->ItemCount(); ++I) {
        if (FInfo->Items(I)->Kind == dtikTimeSuffix) {
          FInfo->RemoveItem(I);
          break;
        }
      }
      FInfo->SetDefinedItems(dtikTimeSuffix, false);
    }
  }

 private:
  // "AM/PM", "A/P", "AMPM", "AAAA", "AAA" or a plain letter; returns the
  // characters used.
  size_t ParseA(const String& AFormat, size_t AIndex, bool& AAmPmSeen) {
    if (StartsWithText(AFormat, AIndex, L"AM/PM")) {
      AddFormatItem(dtikTimeSuffix, AFormat.substr(AIndex, 5));
      AAmPmSeen = true;
      return 5;
    }
    if (StartsWithText(AFormat, AIndex, L"A/P")) {
      AddFormatItem(dtikTimeSuffix, AFormat.substr(AIndex, 3));
      AAmPmSeen = true;
      return 3;
    }
    if (StartsWithText(AFormat, AIndex, L"AMPM")) {
      AddFormatItem(dtikTimeSuffix, L"AMPM");
      AAmPmSeen = true;
      return 4;
    }
    if (StartsWithText(AFormat, AIndex, L"AAAA")) {
      AddFormatItem(dtikDay, L"DDDD");
      return 4;
    }
    if (StartsWithText(AFormat, AIndex, L"AAA")) {
      AddFormatItem(dtikDay, L"DDD");
      return 3;
    }
    AppendChars(AFormat.substr(AIndex, 1));
    return 1;
  }

  void AddFormatItem(TcxDateTimeFormatItemKind AKind, const String& AData) {
    bool Always = AKind == dtikString || AKind == dtikDateSeparator || AKind == dtikTimeSeparator;
    if (!Always) {
      if (FInfo->DefinedItems(AKind)) return;
      FInfo->SetDefinedItems(AKind, true);
    }
    FInfo->AddItem(AKind, AData);
  }

  void AppendChars(const String& AText) {
    if (AText.empty()) return;
    Integer N = FInfo->ItemCount();
    if (N > 0 && FInfo->Items(N - 1)->Kind == dtikString)
      FInfo->Items(N - 1)->Data += AText;
    else
      FInfo->AddItem(dtikString, AText);
  }

  TcxDateTimeFormatInfo* FInfo;
  bool FTwelveHour = false;
};

// Text in single quotes, a quote in it doubled, as the mask syntax reads it.
String QuotedText(const String& AText) {
  String R = L"'";
  for (Char C : AText) {
    R += C;
    if (C == L'\'') R += C;
  }
  return R + L"'";
}

String MaskChar(Char C) {
  if (C == L'\0') return String();
  if (C == L' ') return L"' '";
  return String(L"\\") + C;
}

String MonthAlternatives(bool ALong) {
  String R;
  for (Integer M = 1; M <= 12; ++M) {
    if (M > 1) R += L"|";
    if (ALong) {
      String Name = dxFormatSettings().LongMonthNames(M);
      R += QuotedText(Name);
      String Genitive = GetGenitiveForm(M);
      if (CompareText(Genitive, Name) != 0) R += L"|" + QuotedText(Genitive);
    } else {
      R += QuotedText(dxFormatSettings().ShortMonthNames(M));
    }
  }
  return R;
}

String DateItemRegExpr(const TcxDateTimeFormatItem* AItem) {
  switch (AItem->Kind) {
    case dtikString:
      return QuotedText(AItem->Data);
    case dtikYear:
      return AItem->Data == L"YY" ? L"\\d\\d" : L"\\d\\d\\d\\d";
    case dtikMonth:
      return L"((0?[1-9]|1[012])|(" + MonthAlternatives(AItem->Data == L"MMMM") + L"))";
    case dtikDay:
      return L"([012]?[1-9]|[123]0|31)";
    case dtikDateSeparator:
      return MaskChar(dxFormatSettings().DateSeparator());
    default:
      return String();
  }
}

String TimeItemRegExpr(const TcxDateTimeFormatItem* AItem) {
  switch (AItem->Kind) {
    case dtikString:
      return QuotedText(AItem->Data);
    case dtikHour:
      return AItem->Data.rfind(L"12", 0) == 0 ? L"(0?[1-9]|1[012])" : L"([01]?\\d|2[0-3])";
    case dtikMin:
    case dtikSec:
      return L"[0-5]?\\d";
    case dtikTimeSuffix: {
      switch (GetTimeSuffixKind(AItem->Data)) {
        case tskAP:
          return L"(A|P)?";
        case tskAMPM:
          return L"(AM|PM)?";
        default:
          break;
      }
      String AM = dxFormatSettings().TimeAMString(), PM = dxFormatSettings().TimePMString();
      if (AM.empty() && PM.empty()) return String();
      if (!AM.empty() && !PM.empty()) return L"(" + QuotedText(AM) + L"|" + QuotedText(PM) + L")?";
      return L"(" + QuotedText(AM.empty() ? PM : AM) + L")?";
    }
    case dtikTimeSeparator:
      return MaskChar(dxFormatSettings().TimeSeparator());
    default:
      return String();
  }
}

bool IsDateKind(TcxDateTimeFormatItemKind AKind) {
  return AKind == dtikString || AKind == dtikYear || AKind == dtikMonth || AKind == dtikDay ||
         AKind == dtikDateSeparator;
}

bool IsTimeKind(TcxDateTimeFormatItemKind AKind) {
  return AKind == dtikString || AKind == dtikHour || AKind == dtikMin || AKind == dtikSec ||
         AKind == dtikMSec || AKind == dtikTimeSuffix || AKind == dtikTimeSeparator;
}

Integer LongerDesignator() {
  return std::max(Length(dxFormatSettings().TimeAMString()),
                  Length(dxFormatSettings().TimePMString()));
}

}  // namespace

// ---------------------------------------------------------------------------
const TdxFormatSettings& dxFormatSettings() {
  static const TdxFormatSettings Instance;
  return Instance;
}

IMPLEMENT_CLASS(TcxDateTimeFormatItem)
IMPLEMENT_CLASS(TcxDateTimeFormatInfo)

void TcxDateTimeFormatInfo::AddItem(TcxDateTimeFormatItemKind AKind, const String& AData) {
  FItems->Add(Create<TcxDateTimeFormatItem>(AKind, AData));
}

void TcxDateTimeFormatInfo::ClearItems() { FItems->Clear(); }

void TcxDateTimeFormatInfo::RemoveItem(Integer AIndex) { FItems->FreeAndDelete(AIndex); }

void TcxDateTimeFormatInfo::ClearFormatInfo() {
  ClearItems();
  for (bool& Defined : FDefinedItems) Defined = false;
}

// ---------------------------------------------------------------------------
// Format computations

String ConvertLocalFormatToRuntime(const String& AFormat) {
  String R;
  size_t I = 0;
  while (I < AFormat.size()) {
    Char C = AFormat[I];
    if (C == L't' || C == L'T') {
      size_t Run = 1;
      while (I + Run < AFormat.size() && AFormat[I + Run] == C) ++Run;
      R += Run == 1 ? L"A/P" : L"AMPM";
      I += Run;
    } else {
      R += C;
      ++I;
    }
  }
  return R;
}

String GetLongTimeFormat() {
  TcxFormatController* Controller = cxFormatController();
  if (Controller && Controller->UseRuntimeDateTimeFormats())
    return dxFormatSettings().LongTimeFormat();
  return ConvertLocalFormatToRuntime(cxGetLocalLongTimeFormat());
}

void GetDateTimeFormatInfo(const String& AFormat, TcxDateTimeFormatInfo* AFormatInfo) {
  AFormatInfo->ClearFormatInfo();
  TFormatParser Parser(AFormatInfo);
  if (!Parser.ParseFormat(AFormat.empty() ? String(L"C") : AFormat, 0))
    AFormatInfo->ClearFormatInfo();
  else
    Parser.ProcessHourItem();
}

String GetCurrencyFormat() {
  String N = L",0.";
  N.append(dxFormatSettings().CurrencyDecimals(), L'0');
  String C;
  for (Char Ch : dxFormatSettings().CurrencyString()) {
    if (Ch == L',' || Ch == L'.')
      C += String(L"'") + Ch + L"'";
    else
      C += Ch;
  }
  String Positive;
  switch (dxFormatSettings().CurrencyFormat()) {
    case 0:
      Positive = C + N;
      break;
    case 1:
      Positive = N + C;
      break;
    case 2:
      Positive = C + L" " + N;
      break;
    case 3:
      Positive = N + L" " + C;
      break;
    default:
      break;
  }
  const String Negatives[] = {L"(" + C + N + L")",
                              L"-" + C + N,
                              C + L"-" + N,
                              C + N + L"-",
                              L"(" + N + C + L")",
                              L"-" + N + C,
                              N + L"-" + C,
                              N + C + L"-",
                              L"-" + N + L" " + C,
                              L"-" + C + L" " + N,
                              N + L" " + C + L"-",
                              C + L" " + N + L"-",
                              C + L" -" + N,
                              N + L"- " + C,
                              L"(" + C + L" " + N + L")",
                              L"(" + N + L" " + C + L")"};
  Byte Neg = dxFormatSettings().NegCurrFormat();
  return Positive + L";" + (Neg < std::size(Negatives) ? Negatives[Neg] : String());
}

String InternalGetDateTimeEditStandardMask(const TcxDateTimeFormatInfo* AFormatInfo,
                                           TcxDateTimeEditMaskKind AMaskKind) {
  if (AFormatInfo->ItemCount() == 0) return String();
  String R = AMaskKind == dtmkTime ? L"" : L"!";
  for (Integer I = 0; I < AFormatInfo->ItemCount(); ++I) {
    const TcxDateTimeFormatItem* Item = AFormatInfo->Items(I);
    switch (Item->Kind) {
      case dtikString:
        for (Char C : Item->Data) R += String(L"\\") + C;
        break;
      case dtikYear:
        R += Item->Data == L"YY" ? L"99" : L"9999";
        break;
      case dtikMonth:
      case dtikDay:
        R += Length(Item->Data) > 2 ? L"lll" : L"99";
        break;
      case dtikHour:
      case dtikMin:
      case dtikSec:
        R += AMaskKind == dtmkTime ? L"00" : L"99";
        break;
      case dtikMSec:
        break;
      case dtikTimeSuffix:
        switch (GetTimeSuffixKind(Item->Data)) {
          case tskAP:
            R += L"c";
            break;
          case tskAMPM:
            R += L"cc";
            break;
          default:
            R.append(static_cast<size_t>(LongerDesignator()), L'c');
            break;
        }
        break;
      case dtikDateSeparator:
        R += L"/";
        break;
      case dtikTimeSeparator:
        R += L":";
        break;
    }
  }
  return R + (AMaskKind == dtmkTime ? L";1;0" : L";1; ");
}

String InternalGetDateTimeEditRegExprMask(const TcxDateTimeFormatInfo* AFormatInfo,
                                          TcxDateTimeEditMaskKind AMaskKind) {
  String R;
  for (Integer I = 0; I < AFormatInfo->ItemCount(); ++I) {
    const TcxDateTimeFormatItem* Item = AFormatInfo->Items(I);
    switch (AMaskKind) {
      case dtmkDate:
        if (IsDateKind(Item->Kind)) R += DateItemRegExpr(Item);
        break;
      case dtmkTime:
        if (IsTimeKind(Item->Kind)) R += TimeItemRegExpr(Item);
        break;
      case dtmkDateTime:
        R += IsDateKind(Item->Kind) ? DateItemRegExpr(Item) : TimeItemRegExpr(Item);
        break;
    }
  }
  return R;
}

String InternalGetMaskedDateEditFormat(const TcxDateTimeFormatInfo* AFormatInfo) {
  String R;
  for (Integer I = 0; I < AFormatInfo->ItemCount(); ++I) {
    const TcxDateTimeFormatItem* Item = AFormatInfo->Items(I);
    switch (Item->Kind) {
      case dtikString:
        R += L"'" + Item->Data + L"'";
        break;
      case dtikYear:
      case dtikTimeSuffix:
        R += LowerCase(Item->Data);
        break;
      case dtikMonth:
        R += Length(Item->Data) > 2 ? L"mmm" : L"mm";
        break;
      case dtikDay:
        R += Length(Item->Data) > 2 ? L"ddd" : L"dd";
        break;
      case dtikHour:
        R += L"hh";
        break;
      case dtikMin:
        R += L"nn";
        break;
      case dtikSec:
        R += L"ss";
        break;
      case dtikMSec:
        break;
      case dtikDateSeparator:
        R += L"/";
        break;
      case dtikTimeSeparator:
        R += L":";
        break;
    }
  }
  return R;
}

String GetGenitiveForm(Integer AMonth) {
  SYSTEMTIME T{};
  GetLocalTime(&T);
  T.wMonth = static_cast<WORD>(AMonth);
  T.wDay = 1;
  T.wDayOfWeek = 0;
  wchar_t Buffer[128] = {};
  int Len = GetDateFormatW(GetThreadLocale(), 0, &T, L"ddMMMM", Buffer, 128);
  if (Len <= 2) return dxFormatSettings().LongMonthNames(AMonth);
  return String(Buffer + 2, static_cast<size_t>(Len - 1 - 2));
}

Integer GetDateTimeFormatItemStandardMaskZoneLength(const TcxDateTimeFormatItem* AItem) {
  switch (AItem->Kind) {
    case dtikString:
      return Length(AItem->Data);
    case dtikYear:
      return AItem->Data == L"YY" ? 2 : 4;
    case dtikMonth:
    case dtikDay:
      return Length(AItem->Data) > 2 ? 3 : 2;
    case dtikHour:
    case dtikMin:
    case dtikSec:
      return 2;
    case dtikMSec:
      return 0;
    case dtikTimeSuffix:
      switch (GetTimeSuffixKind(AItem->Data)) {
        case tskAP:
          return 1;
        case tskAMPM:
          return 2;
        default:
          return LongerDesignator();
      }
    default:
      return 1;
  }
}

Integer GetDateTimeStandardMaskStringLength(const TcxDateTimeFormatInfo* AFormatInfo) {
  Integer R = 0;
  for (Integer I = 0; I < AFormatInfo->ItemCount(); ++I)
    R += GetDateTimeFormatItemStandardMaskZoneLength(AFormatInfo->Items(I));
  return R;
}

bool GetDateTimeFormatItemStandardMaskInfo(const TcxDateTimeFormatInfo* AFormatInfo, Integer APos,
                                           TcxDateTimeFormatItemInfo& AItemInfo) {
  if (APos < 1) return false;
  Integer Start = 1;
  for (Integer I = 0; I < AFormatInfo->ItemCount(); ++I) {
    const TcxDateTimeFormatItem* Item = AFormatInfo->Items(I);
    Integer Length = GetDateTimeFormatItemStandardMaskZoneLength(Item);
    if (APos >= Start && APos < Start + Length) {
      AItemInfo.Kind = Item->Kind;
      AItemInfo.ItemZoneStart = static_cast<Cardinal>(Start);
      AItemInfo.ItemZoneLength = Length;
      if (Item->Kind == dtikTimeSuffix) AItemInfo.TimeSuffixKind = GetTimeSuffixKind(Item->Data);
      return true;
    }
    Start += Length;
  }
  return false;
}

TcxTimeSuffixKind GetTimeSuffixKind(const String& S) {
  String U = UpperCase(S);
  if (U == L"A/P") return tskAP;
  if (U == L"AM/PM") return tskAMPM;
  return tskAMPMString;
}

// ---------------------------------------------------------------------------
// The controller
IMPLEMENT_CLASS(TcxFormatController)

void TcxFormatController::AfterConstruction() {
  inherited::AfterConstruction();
  GetFormats();
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository()) R->AddListener(this);
}

void TcxFormatController::BeforeDestruction() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository()) R->RemoveListener(this);
  inherited::BeforeDestruction();
}

// Also when the first computation failed and the controller never came to be.
TcxFormatController::~TcxFormatController() {
  if (FController == this) FController = nullptr;
}

bool TcxFormatController::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxLocalizerListener))) {
    *AObj = static_cast<IdxLocalizerListener*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TcxFormatController::AddListener(IcxFormatControllerListener* AListener) {
  if (AListener && !FList.Contains(AListener)) FList.Add(AListener);
}

void TcxFormatController::RemoveListener(IcxFormatControllerListener* AListener) {
  FList.Remove(AListener);
}

void TcxFormatController::EndUpdate() {
  if (FLockCount == 0 || --FLockCount > 0) return;
  if (FFormatChangedWhileLocked) {
    FFormatChangedWhileLocked = false;
    GetFormats();
  }
  NotifyListeners();
}

void TcxFormatController::FormatChanged() {
  if (FLockCount > 0) {
    FFormatChangedWhileLocked = true;
    return;
  }
  GetFormats();
  NotifyListeners();
}

void TcxFormatController::NotifyListeners() {
  FList.ForEach([](IcxFormatControllerListener* L) { L->FormatChanged(); });
}

void TcxFormatController::TimeChanged() {
  FList.ForEach([](IcxFormatControllerListener* L) {
    IcxFormatControllerListener2* L2 = nullptr;
    if (SUCCEEDED(L->QueryInterface(__uuidof(IcxFormatControllerListener2),
                                    reinterpret_cast<void**>(&L2))) &&
        L2) {
      L2->TimeChanged();
      L2->Release();
    }
  });
}

String TcxFormatController::RegExprCustomDateEditMask(const String& AFormatString) const {
  TOwned<TcxDateTimeFormatInfo> Info = MakeOwned<TcxDateTimeFormatInfo>();
  GetDateTimeFormatInfo(AFormatString, Info.get());
  static const TcxDateTimeEditMaskKind AMaskKindMap[] = {dtmkDate, dtmkDateTime};
  return InternalGetDateTimeEditRegExprMask(Info.get(),
                                            AMaskKindMap[Info->DefinedItems(dtikHour) ? 1 : 0]);
}

bool TcxFormatController::AssignedStartOfWeek() const { return dxGetAssignedStartOfWeek(); }

void TcxFormatController::SetAssignedStartOfWeek(bool AValue) {
  if (AValue == dxGetAssignedStartOfWeek()) return;
  if (AValue)
    dxSetStartOfWeek(dxGetLocalStartOfWeek());
  else
    dxResetAssignedStartOfWeek();
}

TDay TcxFormatController::StartOfWeek() const { return dxGetStartOfWeek(); }

void TcxFormatController::SetStartOfWeek(TDay AValue) {
  if (AValue == dxGetStartOfWeek()) return;
  dxSetStartOfWeek(AValue);
  FormatChanged();
}

void TcxFormatController::SetFirstWeekOfYear(TcxFirstWeekOfYear AValue) {
  if (FFirstWeekOfYear == AValue) return;
  FFirstWeekOfYear = AValue;
  FormatChanged();
}

void TcxFormatController::SetFlag(bool& AField, bool AValue) {
  if (AField == AValue) return;
  AField = AValue;
  FormatChanged();
}

void TcxFormatController::SetText(String& AField, bool& AAssigned, const String& AValue) {
  AAssigned = true;
  if (AField == AValue) return;
  AField = AValue;
  FormatChanged();
}

String TcxFormatController::GetDateEditFormat(bool ACorrectForMaskEdit) {
  String S = dxFormatSettings().ShortDateFormat();
  String R;
  for (size_t I = 0; I < S.size(); ++I) {
    Char C = S[I];
    bool Lone = (C == L'd' || C == L'M') && (I == 0 || S[I - 1] != C) &&
                (I + 1 == S.size() || S[I + 1] != C);
    R += C;
    if (Lone) R += C;
  }
  if (ACorrectForMaskEdit) {
    size_t P = R.find(L'M');
    if (P != String::npos) {
      size_t End = P;
      while (End < R.size() && R[End] == L'M') ++End;
      if (End - P > 3) R.erase(P + 3, End - P - 3);
    }
  }
  return R;
}

void TcxFormatController::GetFormats() {
  // The long time format reads the controller while the first computation
  // runs.
  if (!FController && !FFormatsFinalized) FController = this;
  if (!FAssignedCurrencyFormat) FCurrencyFormat = GetCurrencyFormat();
  FDateEditFormat = GetDateEditFormat(false);
  UpdateLocalSettings();
  CalculateDateEditMasks();
}

void TcxFormatController::UpdateLocalSettings() {
  FLocalFormatSettings = cxGetLocalFormatSettings();
  FLocalIsGregorianCalendar = cxIsGregorianCalendar(nullptr);
}

void TcxFormatController::CalculateDateEditMasks() {
  const String ShortDate = dxFormatSettings().ShortDateFormat();
  const String LongTime = GetLongTimeFormat();
  GetDateTimeFormatInfo(ShortDate, FDateFormatInfo.get());
  GetDateTimeFormatInfo(LongTime, FTimeFormatInfo.get());
  GetDateTimeFormatInfo(ShortDate + L" " + LongTime, FDateTimeFormatInfo.get());
  FDateEditMask = InternalGetDateTimeEditStandardMask(FDateFormatInfo.get(), dtmkDate);
  if (!FAssignedStandardDateEditMask) FStandardDateEditMask = FDateEditMask;
  if (!FAssignedRegExprDateEditMask) {
    FRegExprDateEditMask = InternalGetDateTimeEditRegExprMask(FDateFormatInfo.get(), dtmkDate);
    AddDateRegExprMaskSmartInput(FRegExprDateEditMask, false);
  }
  if (!FAssignedRegExprDateTimeEditMask) {
    FRegExprDateTimeEditMask =
        InternalGetDateTimeEditRegExprMask(FDateFormatInfo.get(), dtmkDate) + L" ' '(" +
        InternalGetDateTimeEditRegExprMask(FTimeFormatInfo.get(), dtmkTime) + L")?";
    AddDateRegExprMaskSmartInput(FRegExprDateTimeEditMask, true);
  }
  if (!FAssignedStandardDateTimeEditMask)
    FStandardDateTimeEditMask =
        InternalGetDateTimeEditStandardMask(FDateTimeFormatInfo.get(), dtmkDateTime);
  FMaskedDateEditFormat = InternalGetMaskedDateEditFormat(FDateFormatInfo.get());
  FMaskedDateTimeEditFormat = InternalGetMaskedDateEditFormat(FDateTimeFormatInfo.get());
}

void TcxFormatController::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTINGCHANGE: {
      auto* Area = reinterpret_cast<const wchar_t*>(Message.LParam);
      if (Message.WParam == 0 && Area && String(Area) == L"intl") {
        TApplication* App = Application();
        if (App && App->UpdateFormatSettings()) {
          SetThreadLocale(LOCALE_USER_DEFAULT);
          GetFormatSettings();
          GetFormats();
          NotifyListeners();
        } else {
          UpdateLocalSettings();
        }
        Message.Result = 0;
        return;
      }
      break;
    }
    case WM_TIMECHANGE:
      TimeChanged();
      Message.Result = 0;
      return;
    default:
      break;
  }
  inherited::WndProc(Message);
}

// ---------------------------------------------------------------------------
namespace {
// The application's hidden window hears the broadcasts a message-only
// window never gets and hands them on.
bool ForwardBroadcast(void*, TMessage& Message) {
  if ((Message.Msg == WM_SETTINGCHANGE || Message.Msg == WM_TIMECHANGE) && FController)
    SendMessageW(FController->Handle(), Message.Msg, Message.WParam, Message.LParam);
  return false;
}
}  // namespace

TcxFormatController* cxFormatController() {
  if (!FController && !FFormatsFinalized) {
    Create<TcxFormatController>();  // publishes itself while computing
  }
  return FController;
}

void cxFormats_Initialize() {
  FFormatsFinalized = false;
  if (TApplication* App = Application())
    App->HookMainWindow(TWindowHook(&ForwardBroadcast, nullptr));
}

void cxFormats_Finalize() {
  FFormatsFinalized = true;
  if (TApplication* App = Application())
    App->UnhookMainWindow(TWindowHook(&ForwardBroadcast, nullptr));
  if (FController) {
    TcxFormatController* C = FController;
    FController = nullptr;
    C->Free();
  }
}
