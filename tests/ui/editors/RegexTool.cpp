// Runs the regular-expression engine over lines "pattern<TAB>text" (UTF-8) read from standard
// input and prints one line for each:
//   error <line>:<column> <message>    the pattern does not compile (its first error)
//   ok <final 0|1> <accepted>          accepted: how many characters Next took from a reset
//                                      automaton before the first refusal; final: IsFinal then
//   regextool -x      adds, after a TAB, NextEx of the text and, after another TAB, for each
//                     accepted prefix (0 .. accepted characters) the character the pattern forces
//                     next as four hex digits, or "-", separated by commas
//   regextool --separators   prints the date, time and decimal separators the engine uses
//   regextool --mask  reads lines "standard mask<TAB>text" instead and prints
//                     "<IsValid 0|1> <IsFullValid 0|1><TAB><text after IsValid><TAB><text after
//                     IsFullValid>" (both checks may convert the letter case)

#include <cstdio>
#include <string>

#include "SysUtils.h"
#include "WinCompat.h"
#include "cxRegExpr.h"
#include "cxStandardMask.h"

// After the platform headers it extends.
#include <fcntl.h>
#include <io.h>

namespace {

std::string ToUtf8(const String& S) { return UTF8Encode(S); }

String HexCode(Char C) {
  wchar_t Buf[8];
  swprintf(Buf, 8, L"%04x", static_cast<unsigned>(C));
  return Buf;
}

class TTool {
 public:
  String Run(const String& APattern, const String& AText, bool AExtended) {
    TcxRegExpr RegExpr;
    try {
      RegExpr.Compile(APattern);
    } catch (const EcxRegExprError& E) {
      const TcxRegExprError* First = E.Errors().Items(0);
      return L"error " + IntToStr(First->Line()) + L":" + IntToStr(First->Char()) + L" " +
             First->Message();
    }
    Integer Accepted = 0;
    for (Char C : AText) {
      Char Token = C;
      if (!RegExpr.Next(Token)) break;
      ++Accepted;
    }
    String Result = String(L"ok ") + (RegExpr.IsFinal() ? L"1 " : L"0 ") + IntToStr(Accepted);
    if (!AExtended) return Result;
    RegExpr.Reset();
    Result += L"\t" + RegExpr.NextEx(AText) + L"\t";
    RegExpr.SetOnSymbolUpdate(MakeEvent<&TTool::SymbolUpdate>(this));
    for (Integer K = 0; K <= Accepted; ++K) {
      RegExpr.SetUpdateOn(false);
      RegExpr.Reset();
      for (Integer I = 0; I < K; ++I) {
        Char Token = AText[static_cast<size_t>(I)];
        RegExpr.Next(Token);
      }
      FHasForced = false;
      RegExpr.SetUpdateOn(true);
      if (K > 0) Result += L",";
      Result += FHasForced ? HexCode(FForced) : String(L"-");
    }
    return Result;
  }

 private:
  void SymbolUpdate(Char ASymbol) {
    if (FHasForced) return;
    FHasForced = true;
    FForced = ASymbol;
  }
  bool FHasForced = false;
  Char FForced = 0;
};

String RunMask(const String& AMask, const String& AText) {
  TcxStandardMask Mask;
  Mask.Compile(AMask);
  String Valid = AText, FullValid = AText;
  bool IsValid = Mask.IsValid(Valid), IsFullValid = Mask.IsFullValid(FullValid);
  return String(IsValid ? L"1 " : L"0 ") + (IsFullValid ? L"1" : L"0") + L"\t" + Valid + L"\t" +
         FullValid;
}

void WriteLine(const String& S) {
  std::string Bytes = ToUtf8(S);
  Bytes += '\n';
  fwrite(Bytes.data(), 1, Bytes.size(), stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  bool Extended = false, StandardMask = false;
  for (int I = 1; I < argc; ++I) {
    String Arg = argv[I];
    if (Arg == L"-x") {
      Extended = true;
    } else if (Arg == L"--mask") {
      StandardMask = true;
    } else if (Arg == L"--separators") {
      const TFormatSettings& F = FormatSettings();
      WriteLine(HexCode(F.DateSeparator) + L" " + HexCode(F.TimeSeparator) + L" " +
                HexCode(F.DecimalSeparator));
      return 0;
    } else {
      fwprintf(stderr, L"usage: regextool [-x | --mask | --separators] < lines\n");
      return 2;
    }
  }
  std::string Input;
  char Buf[65536];
  size_t N;
  while ((N = fread(Buf, 1, sizeof Buf, stdin)) > 0) Input.append(Buf, N);
  TTool Tool;
  size_t Start = 0;
  while (Start < Input.size()) {
    size_t End = Input.find('\n', Start);
    if (End == std::string::npos) End = Input.size();
    std::string Line = Input.substr(Start, End - Start);
    Start = End + 1;
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    String Text = UTF8Decode(Line);
    size_t Tab = Text.find(L'\t');
    String Pattern = Text.substr(0, Tab);
    String Subject = Tab == String::npos ? String() : Text.substr(Tab + 1);
    WriteLine(StandardMask ? RunMask(Pattern, Subject) : Tool.Run(Pattern, Subject, Extended));
  }
  fflush(stdout);
  return 0;
}
