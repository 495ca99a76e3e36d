#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "Classes.h"

namespace {

String Widen(const std::string& S) { return String(S.begin(), S.end()); }

bool IsHighSurrogate(wchar_t C) { return C >= 0xD800 && C <= 0xDBFF; }
bool IsLowSurrogate(wchar_t C) { return C >= 0xDC00 && C <= 0xDFFF; }

// Shortest text that reads back to the same value; always recognisable as a
// float (never as an integer).
template <class F>
String FloatText(F Value) {
  if (!std::isfinite(Value)) throw EReadError(L"Invalid floating point value");
  char Buf[64];
  auto R = std::to_chars(Buf, Buf + sizeof Buf, Value);
  std::string S(Buf, R.ptr);
  if (S.find_first_of(".e") == std::string::npos) S += ".0";
  return Widen(S);
}

String CurrencyText(Int64 Scaled) {
  bool Neg = Scaled < 0;
  UInt64 Abs = Neg ? UInt64(0) - static_cast<UInt64>(Scaled) : static_cast<UInt64>(Scaled);
  String S = IntToStr(static_cast<Int64>(Abs / 10000));
  UInt64 Frac = Abs % 10000;
  if (Frac) {
    String F = IntToStr(static_cast<Int64>(Frac));
    F.insert(0, 4 - F.size(), L'0');
    while (F.back() == L'0') F.pop_back();
    S += L"." + F;
  }
  return (Neg ? L"-" : L"") + S + L"c";
}

// One stretch of a string in the text form: printable text in quotes (quotes
// doubled), everything else as #code.
String QuoteText(const String& S, size_t From, size_t To) {
  String R;
  bool InQuote = false;
  for (size_t I = From; I < To; ++I) {
    wchar_t C = S[I];
    bool Pair = IsHighSurrogate(C) && I + 1 < To && IsLowSurrogate(S[I + 1]);
    bool Printable = (C >= 32 && C != 127 && !IsHighSurrogate(C) && !IsLowSurrogate(C)) || Pair;
    if (Printable) {
      if (!InQuote) R += L'\'';
      InQuote = true;
      R += C;
      if (C == L'\'') R += L'\'';
      if (Pair) R += S[++I];
    } else {
      if (InQuote) R += L'\'';
      InQuote = false;
      R += L"#" + IntToStr(static_cast<Integer>(C));
    }
  }
  if (InQuote) R += L'\'';
  return R.empty() ? String(L"''") : R;
}

constexpr size_t LineLength = 64;

class TBinaryToText {
 public:
  TBinaryToText(TStream* Input) : FReader(MakeOwned<TReader>(Input)) {}

  String Convert() {
    FReader->ReadSignature();
    ConvertObject(0);
    return FOut;
  }

 private:
  void Indent(int Level) { FOut.append(static_cast<size_t>(Level) * 2, L' '); }
  void NewLine() { FOut += L"\r\n"; }

  void CheckNesting(int Level) {
    if (Level > TReader::MaxNesting) throw EReadError(L"Invalid stream format");
  }

  void ConvertObject(int Level) {
    CheckNesting(Level);
    TFilerFlags Flags;
    Integer ChildPos = 0;
    FReader->ReadPrefix(Flags, ChildPos);
    String ClassName = FReader->ReadStr();
    String Name = FReader->ReadStr();
    Indent(Level);
    FOut += Flags.Contains(ffInherited) ? L"inherited "
            : Flags.Contains(ffInline)  ? L"inline "
                                        : L"object ";
    if (!Name.empty()) FOut += Name + L": ";
    FOut += ClassName;
    if (Flags.Contains(ffChildPos)) FOut += L" [" + IntToStr(ChildPos) + L"]";
    NewLine();
    while (!FReader->EndOfList()) ConvertProperty(Level + 1);
    FReader->ReadListEnd();
    while (!FReader->EndOfList()) ConvertObject(Level + 1);
    FReader->ReadListEnd();
    Indent(Level);
    FOut += L"end";
    NewLine();
  }

  void ConvertProperty(int Level) {
    Indent(Level);
    FOut += FReader->ReadStr() + L" =";
    ConvertValue(Level, false);
    NewLine();
  }

  // Level is that of the line the value starts on; InList values start at
  // the line's indentation, property values after " = ".
  void ConvertValue(int Level, bool InList) {
    CheckNesting(Level);
    if (!InList && FReader->NextValue() != vaString && FReader->NextValue() != vaLString &&
        FReader->NextValue() != vaWString && FReader->NextValue() != vaUTF8String)
      FOut += L' ';
    switch (FReader->NextValue()) {
      case vaList:
        FReader->ReadValue();
        FOut += L'(';
        while (!FReader->EndOfList()) {
          NewLine();
          Indent(Level + 1);
          ConvertValue(Level + 1, true);
        }
        FReader->ReadListEnd();
        FOut += L')';
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        FOut += IntToStr(FReader->ReadInt64());
        break;
      case vaExtended:
        FOut += FloatText(FReader->ReadFloat()) + L"x";
        break;
      case vaDouble:
        FOut += FloatText(FReader->ReadDouble());
        break;
      case vaSingle:
        FOut += FloatText(FReader->ReadSingle()) + L"s";
        break;
      case vaDate:
        FOut += FloatText(FReader->ReadDate()) + L"d";
        break;
      case vaCurrency:
        FOut += CurrencyText(FReader->ReadCurrency());
        break;
      case vaString:
      case vaLString:
      case vaWString:
      case vaUTF8String:
        ConvertString(FReader->ReadString(), Level, InList);
        break;
      case vaIdent:
      case vaFalse:
      case vaTrue:
      case vaNil:
      case vaNull:
        FOut += FReader->ReadIdent();
        break;
      case vaBinary:
        ConvertBinary(FReader->ReadBinary(), Level);
        break;
      case vaSet:
        ConvertSet();
        break;
      case vaCollection:
        ConvertCollection(Level);
        break;
    }
  }

  void ConvertString(const String& S, int Level, bool InList) {
    if (S.size() <= LineLength) {
      if (!InList) FOut += L' ';
      FOut += QuoteText(S, 0, S.size());
      return;
    }
    // Long strings go in chunks joined with '+', one per line.
    int ChunkLevel = InList ? Level : Level + 1;
    bool First = true;
    for (size_t From = 0; From < S.size();) {
      size_t To = std::min(S.size(), From + LineLength);
      if (To < S.size() && IsHighSurrogate(S[To - 1]) && IsLowSurrogate(S[To])) ++To;
      if (!First) FOut += L" +";
      if (!First || !InList) {
        NewLine();
        Indent(ChunkLevel);
      }
      FOut += QuoteText(S, From, To);
      First = false;
      From = To;
    }
  }

  void ConvertBinary(const TBytes& Data, int Level) {
    static const wchar_t Hex[] = L"0123456789ABCDEF";
    FOut += L'{';
    for (size_t I = 0; I < Data.size(); ++I) {
      if (I % (LineLength / 2) == 0) {
        NewLine();
        Indent(Level + 1);
      }
      FOut += Hex[Data[I] >> 4];
      FOut += Hex[Data[I] & 15];
    }
    FOut += L'}';
  }

  void ConvertSet() {
    FReader->ReadValue();
    FOut += L'[';
    bool First = true;
    for (String Name; !(Name = FReader->ReadStr()).empty(); First = false) {
      if (!First) FOut += L", ";
      FOut += Name;
    }
    FOut += L']';
  }

  void ConvertCollection(int Level) {
    FReader->ReadValue();
    FOut += L'<';
    while (!FReader->EndOfList()) {
      NewLine();
      Indent(Level + 1);
      FOut += L"item";
      TValueType V = FReader->NextValue();
      if (V == vaInt8 || V == vaInt16 || V == vaInt32)
        FOut += L" [" + IntToStr(FReader->ReadInteger()) + L"]";
      NewLine();
      FReader->ReadListBegin();
      while (!FReader->EndOfList()) ConvertProperty(Level + 2);
      FReader->ReadListEnd();
      Indent(Level + 1);
      FOut += L"end";
    }
    FReader->ReadListEnd();
    FOut += L'>';
  }

  TOwned<TReader> FReader;
  String FOut;
};

// ---------------------------------------------------------------------------
enum TTokenKind { tokEOF, tokSymbol, tokIdent, tokString, tokInteger, tokFloat };

struct TToken {
  TTokenKind Kind = tokEOF;
  char Symbol = 0;
  String Text;         // identifier or string value
  Int64 Integer = 0;   // tokInteger
  std::string Number;  // tokFloat: the digits as written
  char Suffix = 0;     // tokFloat: s, c, d, x or none
  int Line = 1;
};

class TTextToBinary {
 public:
  TTextToBinary(std::string AText, TStream* Output)
      : FText(std::move(AText)), FWriter(MakeOwned<TWriter>(Output)) {
    if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3;
  }

  void Convert() {
    Next();
    FWriter->WriteSignature();
    ConvertObject();
    if (FTok.Kind != tokEOF) Error(L"End of file expected");
  }

 private:
  [[noreturn]] void Error(const String& Msg) {
    throw EParserError(Msg + L" on line " + IntToStr(FTok.Line));
  }

  bool IsWord(const wchar_t* W) const {
    return FTok.Kind == tokIdent &&
           CompareStringOrdinal(FTok.Text.c_str(), -1, W, -1, TRUE) == CSTR_EQUAL;
  }
  bool IsSymbol(char C) const { return FTok.Kind == tokSymbol && FTok.Symbol == C; }
  void ExpectSymbol(char C) {
    if (!IsSymbol(C)) Error(String(L"'") + static_cast<wchar_t>(C) + L"' expected");
    Next();
  }
  String ExpectIdent() {
    if (FTok.Kind != tokIdent) Error(L"Identifier expected");
    String S = FTok.Text;
    Next();
    return S;
  }
  Int64 ExpectInteger() {
    if (FTok.Kind != tokInteger) Error(L"Integer expected");
    Int64 V = FTok.Integer;
    Next();
    return V;
  }

  // --- tokenizer
  int Peek(size_t Ahead = 0) const {
    return FPos + Ahead < FText.size() ? static_cast<unsigned char>(FText[FPos + Ahead]) : -1;
  }
  static bool IsDigit(int C) { return C >= '0' && C <= '9'; }
  static bool IsIdentStart(int C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
  }

  void SkipBlanks() {
    for (int C; (C = Peek()) == ' ' || C == '\t' || C == '\r' || C == '\n'; ++FPos)
      if (C == '\n') ++FLine;
  }

  void Next() {
    SkipBlanks();
    FTok = TToken();
    FTok.Line = FLine;
    int C = Peek();
    if (C < 0) return;
    if (IsIdentStart(C)) {
      size_t Start = FPos;
      while (IsIdentStart(Peek()) || IsDigit(Peek()) || Peek() == '.') ++FPos;
      FTok.Kind = tokIdent;
      FTok.Text = Widen(FText.substr(Start, FPos - Start));
    } else if (C == '\'' || C == '#') {
      FTok.Kind = tokString;
      FTok.Text = ReadStringToken();
    } else if (IsDigit(C) || ((C == '-' || C == '+') && IsDigit(Peek(1)))) {
      ReadNumber();
    } else if (C == '$') {
      ++FPos;
      size_t Start = FPos;
      while (std::isxdigit(Peek())) ++FPos;
      UInt64 V = 0;
      auto R = std::from_chars(FText.data() + Start, FText.data() + FPos, V, 16);
      if (FPos == Start || R.ec != std::errc()) Error(L"Invalid integer constant");
      FTok.Kind = tokInteger;
      FTok.Integer = static_cast<Int64>(V);
    } else {
      ++FPos;
      FTok.Kind = tokSymbol;
      FTok.Symbol = static_cast<char>(C);
    }
  }

  String ReadStringToken() {
    String Result;
    for (;;) {
      if (Peek() == '\'') {
        ++FPos;
        std::string Bytes;
        for (;;) {
          int C = Peek();
          if (C < 0 || C == '\r' || C == '\n') Error(L"Unterminated string");
          ++FPos;
          if (C == '\'') {
            if (Peek() != '\'') break;
            ++FPos;
          }
          Bytes += static_cast<char>(C);
        }
        Result += DecodeUtf8(Bytes);
      } else if (Peek() == '#') {
        ++FPos;
        size_t Start = FPos;
        unsigned V = 0;
        std::from_chars_result R{};
        if (Peek() == '$') {
          Start = ++FPos;
          while (std::isxdigit(Peek())) ++FPos;
          R = std::from_chars(FText.data() + Start, FText.data() + FPos, V, 16);
        } else {
          while (IsDigit(Peek())) ++FPos;
          R = std::from_chars(FText.data() + Start, FText.data() + FPos, V);
        }
        if (FPos == Start || R.ec != std::errc() || V > 0xFFFF) Error(L"Invalid string constant");
        Result += static_cast<wchar_t>(V);
      } else {
        return Result;
      }
    }
  }

  String DecodeUtf8(const std::string& Bytes) {
    if (Bytes.empty()) return String();
    int N = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, Bytes.data(),
                                static_cast<int>(Bytes.size()), nullptr, 0);
    if (N <= 0) Error(L"Invalid string constant");
    String R(static_cast<size_t>(N), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Bytes.data(), static_cast<int>(Bytes.size()), R.data(), N);
    return R;
  }

  void ReadNumber() {
    size_t Start = FPos;
    if (Peek() == '-' || Peek() == '+') ++FPos;
    bool IsFloat = false;
    while (IsDigit(Peek())) ++FPos;
    if (Peek() == '.' && IsDigit(Peek(1))) {
      IsFloat = true;
      ++FPos;
      while (IsDigit(Peek())) ++FPos;
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '-' || Peek(1) == '+') && IsDigit(Peek(2))))) {
      IsFloat = true;
      FPos += 2;
      while (IsDigit(Peek())) ++FPos;
    }
    std::string Num = FText.substr(Start, FPos - Start);
    if (Num[0] == '+') Num.erase(0, 1);
    int S = Peek();
    if (S >= 'A' && S <= 'Z') S += 'a' - 'A';
    if (S == 's' || S == 'c' || S == 'd' || S == 'x') {
      ++FPos;
      FTok.Kind = tokFloat;
      FTok.Number = Num;
      FTok.Suffix = static_cast<char>(S);
    } else if (IsFloat) {
      FTok.Kind = tokFloat;
      FTok.Number = Num;
    } else {
      FTok.Kind = tokInteger;
      auto R = std::from_chars(Num.data(), Num.data() + Num.size(), FTok.Integer);
      if (R.ec != std::errc()) Error(L"Invalid integer constant");
    }
    if (IsIdentStart(Peek()) || IsDigit(Peek())) Error(L"Invalid number");
  }

  // --- grammar
  // Depth of objects, lists and collections being converted.
  class TNesting {
   public:
    explicit TNesting(TTextToBinary& AOwner) : FOwner(AOwner) {
      if (++FOwner.FDepth > TReader::MaxNesting) FOwner.Error(L"Nesting too deep");
    }
    ~TNesting() { --FOwner.FDepth; }

   private:
    TTextToBinary& FOwner;
  };

  void ConvertObject() {
    TNesting Guard(*this);
    TFilerFlags Flags;
    if (IsWord(L"inherited"))
      Flags.Include(ffInherited);
    else if (IsWord(L"inline"))
      Flags.Include(ffInline);
    else if (!IsWord(L"object"))
      Error(L"'object' expected");
    Next();
    String Name = ExpectIdent();
    String ClassName = Name;
    if (IsSymbol(':')) {
      Next();
      ClassName = ExpectIdent();
    } else {
      Name.clear();
    }
    Integer ChildPos = 0;
    if (IsSymbol('[')) {
      Next();
      Int64 Pos = ExpectInteger();
      if (Pos < INT32_MIN || Pos > INT32_MAX) Error(L"Invalid integer constant");
      ChildPos = static_cast<Integer>(Pos);
      Flags.Include(ffChildPos);
      ExpectSymbol(']');
    }
    FWriter->WritePrefix(Flags, ChildPos);
    FWriter->WriteStr(ClassName);
    FWriter->WriteStr(Name);
    while (FTok.Kind == tokIdent && !IsObjectStart() && !IsWord(L"end")) ConvertProperty();
    FWriter->WriteListEnd();
    while (IsObjectStart()) ConvertObject();
    FWriter->WriteListEnd();
    if (!IsWord(L"end")) Error(L"'end' expected");
    Next();
  }

  bool IsObjectStart() const {
    return IsWord(L"object") || IsWord(L"inherited") || IsWord(L"inline");
  }

  void ConvertProperty() {
    FWriter->WriteStr(ExpectIdent());
    ExpectSymbol('=');
    ConvertValue();
  }

  void ConvertValue() {
    TNesting Guard(*this);
    switch (FTok.Kind) {
      case tokString: {
        String S = FTok.Text;
        Next();
        while (IsSymbol('+')) {
          Next();
          if (FTok.Kind != tokString) Error(L"String expected");
          S += FTok.Text;
          Next();
        }
        FWriter->WriteString(S);
        return;
      }
      case tokInteger:
        FWriter->WriteInteger(FTok.Integer);
        Next();
        return;
      case tokFloat:
        WriteFloat();
        Next();
        return;
      case tokIdent:
        FWriter->WriteIdent(FTok.Text);
        Next();
        return;
      case tokSymbol:
        break;
      case tokEOF:
        Error(L"Unexpected end of file");
    }
    switch (FTok.Symbol) {
      case '[':
        Next();
        FWriter->WriteValue(vaSet);
        if (!IsSymbol(']')) {
          for (;;) {
            FWriter->WriteStr(ExpectIdent());
            if (IsSymbol(']')) break;
            ExpectSymbol(',');
          }
        }
        Next();
        FWriter->WriteStr(String());
        return;
      case '(':
        Next();
        FWriter->WriteListBegin();
        while (!IsSymbol(')')) {
          if (FTok.Kind == tokEOF) Error(L"')' expected");
          ConvertValue();
        }
        Next();
        FWriter->WriteListEnd();
        return;
      case '{':
        ConvertBinary();
        return;
      case '<':
        Next();
        ConvertCollection();
        return;
      default:
        Error(L"Invalid property value");
    }
  }

  void ConvertBinary() {
    // The tokenizer stands just after '{'; hex digits run to '}'.
    TBytes Data;
    int High = -1;
    for (;;) {
      int C = Peek();
      if (C < 0) Error(L"'}' expected");
      ++FPos;
      if (C == '}') break;
      if (C == '\n') ++FLine;
      if (C == ' ' || C == '\t' || C == '\r' || C == '\n') continue;
      int V = IsDigit(C)                               ? C - '0'
              : (C | 0x20) >= 'a' && (C | 0x20) <= 'f' ? (C | 0x20) - 'a' + 10
                                                       : -1;
      if (V < 0) Error(L"Invalid binary value");
      if (High < 0) {
        High = V;
      } else {
        Data.push_back(static_cast<Byte>(High * 16 + V));
        High = -1;
      }
    }
    if (High >= 0) Error(L"Invalid binary value");
    FWriter->WriteBinary(Data.data(), static_cast<Integer>(Data.size()));
    Next();
  }

  void ConvertCollection() {
    FWriter->WriteValue(vaCollection);
    while (IsWord(L"item")) {
      Next();
      if (IsSymbol('[')) {
        Next();
        FWriter->WriteInteger(ExpectInteger());
        ExpectSymbol(']');
      }
      FWriter->WriteListBegin();
      while (FTok.Kind == tokIdent && !IsWord(L"end")) ConvertProperty();
      if (!IsWord(L"end")) Error(L"'end' expected");
      Next();
      FWriter->WriteListEnd();
    }
    ExpectSymbol('>');
    FWriter->WriteListEnd();
  }

  void WriteFloat() {
    const std::string& N = FTok.Number;
    const char* B = N.data();
    const char* E = B + N.size();
    switch (FTok.Suffix) {
      case 's': {
        float V = 0;
        if (std::from_chars(B, E, V).ec != std::errc()) Error(L"Invalid float constant");
        FWriter->WriteSingle(V);
        break;
      }
      case 'd': {
        double V = 0;
        if (std::from_chars(B, E, V).ec != std::errc()) Error(L"Invalid float constant");
        FWriter->WriteDate(V);
        break;
      }
      case 'c':
        FWriter->WriteCurrency(ParseCurrency(N));
        break;
      case 'x':
        FWriter->WriteFloat(ParseExtended(N));
        break;
      default: {
        double V = 0;
        if (std::from_chars(B, E, V).ec != std::errc()) Error(L"Invalid float constant");
        FWriter->WriteDouble(V);
      }
    }
  }

  // Exact for up to four decimals, which is all a currency value holds.
  Int64 ParseCurrency(const std::string& N) {
    size_t Dot = N.find('.');
    bool Neg = !N.empty() && N[0] == '-';
    if (N.find_first_of("eE") == std::string::npos &&
        (Dot == std::string::npos || N.size() - Dot - 1 <= 4)) {
      std::string Digits =
          N.substr(Neg ? 1 : 0, (Dot == std::string::npos ? N.size() : Dot) - (Neg ? 1 : 0));
      std::string Frac = Dot == std::string::npos ? std::string() : N.substr(Dot + 1);
      Frac.resize(4, '0');
      UInt64 Whole = 0, F = 0;
      if (std::from_chars(Digits.data(), Digits.data() + Digits.size(), Whole).ec != std::errc() ||
          std::from_chars(Frac.data(), Frac.data() + Frac.size(), F).ec != std::errc() ||
          Whole > static_cast<UInt64>(INT64_MAX / 10000))
        Error(L"Invalid float constant");
      Int64 V = static_cast<Int64>(Whole * 10000 + F);
      return Neg ? -V : V;
    }
    double V = 0;
    if (std::from_chars(N.data(), N.data() + N.size(), V).ec != std::errc() ||
        std::fabs(V) > 9.2e14)
      Error(L"Invalid float constant");
    return std::llround(V * 10000);
  }

  // The library's from_chars is not exact for the 80-bit type; the runtime's
  // strtold is, but honours the C locale's decimal point, so the text is given
  // in whatever separator that locale currently has.
  Extended ParseExtended(std::string N) {
    const char* Point = std::localeconv()->decimal_point;
    size_t Dot = N.find('.');
    if (Dot != std::string::npos && Point && std::strcmp(Point, ".") != 0) N.replace(Dot, 1, Point);
    char* End = nullptr;
    Extended V = __mingw_strtold(N.c_str(), &End);
    if (End != N.c_str() + N.size()) Error(L"Invalid float constant");
    return V;
  }

  std::string FText;
  size_t FPos = 0;
  int FLine = 1;
  int FDepth = 0;
  TToken FTok;
  TOwned<TWriter> FWriter;
};

std::string ReadAll(TStream* Input) {
  Int64 Count = Input->Size() - Input->Position();
  std::string S(static_cast<size_t>(std::max<Int64>(Count, 0)), '\0');
  if (!S.empty()) Input->ReadBuffer(S.data(), static_cast<Integer>(S.size()));
  return S;
}

}  // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output) {
  TBinaryToText Converter(Input);
  std::string Text = UTF8Encode(Converter.Convert());
  if (!Text.empty()) Output->WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

void ObjectTextToBinary(TStream* Input, TStream* Output) {
  TTextToBinary Converter(ReadAll(Input), Output);
  Converter.Convert();
}
