// Times the regular-expression engine (Reset, Next per character, IsFinal) on the format
// controller's date and date-time masks under several regional formats, a few larger patterns and
// long texts, and writes the same patterns and texts for the PCRE2 peer that run.sh times in the
// same run.
//   regexmatch_bench <folder>      writes <folder>/cases.txt and <folder>/ours.txt

#include <cstdio>
#include <string>
#include <vector>

#include "SysUtils.h"
#include "WinCompat.h"
#include "cxClasses.h"
#include "cxDateUtils.h"
#include "cxFormats.h"
#include "cxRegExpr.h"
#include "dxCore.h"
#include "dxCoreClasses.h"

namespace {

double Now() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<double>(C.QuadPart) / F.QuadPart;
}

struct TCase {
  String Name;
  String Pattern;
  std::vector<String> Texts;
  bool Long = false;  // long texts: time per character is what counts
};

String LocaleInfo(const wchar_t* ALocale, LCTYPE AType) {
  wchar_t Buf[256];
  int N = GetLocaleInfoEx(ALocale, AType, Buf, 256);
  return N > 0 ? String(Buf, static_cast<size_t>(N - 1)) : String();
}

// The format controller's date and date-time masks for a locale set in-process
// (thread locale and the process-wide format settings), smart-input words
// included.
struct TLocaleMasks {
  String Date;
  String DateTime;
};

TLocaleMasks ControllerMasks(const wchar_t* ALocale) {
  const LCID Locale = LocaleNameToLCID(ALocale, 0), OldLocale = GetThreadLocale();
  const TFormatSettings OldSettings = FormatSettings();
  SetThreadLocale(Locale);
  FormatSettings() = TFormatSettings::Create(Locale);
  TcxFormatController* C = cxFormatController();
  C->FormatChanged();
  TLocaleMasks Masks{C->RegExprDateEditMask(), C->RegExprDateTimeEditMask()};
  SetThreadLocale(OldLocale);
  FormatSettings() = OldSettings;
  C->FormatChanged();
  return Masks;
}

String FormatDate(const wchar_t* ALocale, const SYSTEMTIME& ST, const String& APicture) {
  wchar_t Buf[256];
  int N = GetDateFormatEx(ALocale, 0, &ST, APicture.c_str(), Buf, 256, nullptr);
  return N > 0 ? String(Buf, static_cast<size_t>(N - 1)) : String();
}

String FormatTime(const wchar_t* ALocale, const SYSTEMTIME& ST, const String& APicture) {
  wchar_t Buf[256];
  int N = GetTimeFormatEx(ALocale, 0, &ST, APicture.c_str(), Buf, 256);
  return N > 0 ? String(Buf, static_cast<size_t>(N - 1)) : String();
}

// Matching texts, and the same texts broken: a letter for the last digit, a day 32.
void AddLocaleCases(const wchar_t* ALocale, std::vector<TCase>& ACases) {
  const String DatePicture = LocaleInfo(ALocale, LOCALE_SSHORTDATE);
  const String TimePicture = LocaleInfo(ALocale, LOCALE_STIMEFORMAT);
  const TLocaleMasks Masks = ControllerMasks(ALocale);
  TCase Date{String(L"date ") + ALocale, Masks.Date, {}};
  TCase DateTime{String(L"datetime ") + ALocale, Masks.DateTime, {}};
  const WORD Days[] = {1, 9, 15, 28, 31, 30, 12, 7}, Months[] = {1, 3, 5, 7, 10, 12, 11, 8};
  for (int I = 0; I < 8; ++I) {
    SYSTEMTIME ST{};
    ST.wYear = static_cast<WORD>(1999 + I * 4);
    ST.wMonth = Months[I];
    ST.wDay = Days[I];
    ST.wHour = static_cast<WORD>(I * 3);
    ST.wMinute = static_cast<WORD>(I * 7);
    ST.wSecond = static_cast<WORD>(I * 5);
    String D = FormatDate(ALocale, ST, DatePicture);
    String DT = D + L" " + FormatTime(ALocale, ST, TimePicture);
    for (auto [Case, Text] : {std::pair{&Date, D}, std::pair{&DateTime, DT}}) {
      Case->Texts.push_back(Text);
      String Broken = Text;
      size_t Digit = Broken.find_last_of(L"0123456789");
      if (Digit != String::npos) Broken[Digit] = L'x';
      Case->Texts.push_back(Broken);
    }
  }
  for (const String& W : {String(L"today+12"), String(L"Wednesday"), String(L"32")}) {
    Date.Texts.push_back(W);
    DateTime.Texts.push_back(W);
  }
  ACases.push_back(Date);
  ACases.push_back(DateTime);
}

std::vector<TCase> MakeCases() {
  std::vector<TCase> Cases;
  for (const wchar_t* Locale : {L"en-US", L"ru-RU", L"de-DE", L"ja-JP"})
    AddLocaleCases(Locale, Cases);
  Cases.push_back({L"phone",
                   L"'+7 '\\(\\d{3}\\)' '\\d{3}-\\d\\d-\\d\\d",
                   {L"+7 (912) 345-67-89", L"+7 (912) 345-67-8x", L"+7 (9", L"8 (912) 345-67-89"}});
  Cases.push_back({L"ipv4",
                   L"((25[0-5]|2[0-4]\\d|1?\\d?\\d)\\.){3}(25[0-5]|2[0-4]\\d|1?\\d?\\d)",
                   {L"192.168.100.254", L"10.0.0.1", L"256.1.1.1", L"1.2.3"}});
  Cases.push_back({L"email",
                   L"[\\w.\\-]+@[\\w\\-]+(\\.[\\w\\-]+)*\\.[a-z]{2,6}",
                   {L"first.last@mail.example.org", L"no-at-sign.example.org", L"a@b.c",
                    L"user_1@host-2.travel"}});
  Cases.push_back(
      {L"money", L"-?\\d{1,3}(\\d{3})*(\\p\\d\\d?)?", {L"-1234567.89", L"12", L"1234.5x", L"-"}});
  for (int Length : {1000, 10000, 100000}) {
    const String N = IntToStr(Length);
    Cases.push_back(
        {L"(a|aa)+ x" + N, L"(a|aa)+", {String(static_cast<size_t>(Length), L'a')}, true});
    Cases.push_back(
        {L"(a+)+b x" + N, L"(a+)+b", {String(static_cast<size_t>(Length), L'a')}, true});
    String Words;
    while (Words.size() < static_cast<size_t>(Length)) Words += L"word12 ";
    Words.resize(static_cast<size_t>(Length - 1));
    Words += L"x";
    Cases.push_back({L"\\w+(' '\\w+)* x" + N, L"\\w+(' '\\w+)*", {Words}, true});
  }
  return Cases;
}

// Nanoseconds per text: Reset, Next for every character until a refusal, IsFinal.
double TimeOurs(const TCase& C, Integer& AFinals) {
  TcxRegExpr R;
  R.Compile(C.Pattern);
  AFinals = 0;
  Integer Rounds = 0;
  const double Start = Now();
  double Elapsed = 0;
  do {
    for (const String& T : C.Texts) {
      R.Reset();
      bool All = true;
      for (Char Ch : T) {
        Char Token = Ch;
        if (!R.Next(Token)) {
          All = false;
          break;
        }
      }
      if (R.IsFinal() && All && Rounds == 0) ++AFinals;
    }
    ++Rounds;
    Elapsed = Now() - Start;
  } while (Elapsed < 0.2);
  return Elapsed * 1e9 / (static_cast<double>(Rounds) * C.Texts.size());
}

void WriteUtf8(FILE* F, const String& S) {
  std::string B = UTF8Encode(S);
  fwrite(B.data(), 1, B.size(), F);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: regexmatch_bench <folder>\n");
    return 2;
  }
  const String Folder = argv[1];
  // The modules the format controller stands on, in the program's order.
  dxCore_Initialize();
  dxCoreClasses_Initialize();
  cxClasses_Initialize();
  cxDateUtils_Initialize();
  cxFormats_Initialize();
  std::vector<TCase> Cases = MakeCases();
  FILE* CasesFile = _wfopen((Folder + L"\\cases.txt").c_str(), L"wb");
  FILE* OursFile = _wfopen((Folder + L"\\ours.txt").c_str(), L"wb");
  if (!CasesFile || !OursFile) return 1;
  const TFormatSettings& FS = FormatSettings();
  WriteUtf8(CasesFile, String(L"separators\t") + FS.DateSeparator + L"\t" + FS.TimeSeparator +
                           L"\t" + FS.DecimalSeparator + L"\n");
  for (const TCase& C : Cases) {
    WriteUtf8(CasesFile, L"case\t" + C.Name + L"\t" + (C.Long ? L"long" : L"mask") + L"\t" +
                             C.Pattern + L"\n");
    size_t Chars = 0;
    for (const String& T : C.Texts) {
      WriteUtf8(CasesFile, L"text\t" + T + L"\n");
      Chars += T.size();
    }
    Integer Finals = 0;
    double Ns = TimeOurs(C, Finals);
    WriteUtf8(OursFile, C.Name + L"\t" + FloatToStr(Ns, TFormatSettings::Invariant()) + L"\t" +
                            IntToStr(static_cast<Integer>(Chars)) + L"\t" + IntToStr(Finals) +
                            L"\n");
  }
  fclose(CasesFile);
  fclose(OursFile);
  cxFormats_Finalize();
  cxDateUtils_Finalize();
  cxClasses_Finalize();
  dxCoreClasses_Finalize();
  dxCore_Finalize();
  return 0;
}
