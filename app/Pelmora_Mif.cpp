#include <algorithm>
#include <cctype>
#include <cstring>

#include "Pelmora.h"
#include "WinCompat.h"

namespace {

constexpr size_t BufSize = 1 << 20;

String Quoted(const String& S) { return L"\"" + S + L"\""; }

String LastErrorText() {
  wchar_t* Msg = nullptr;
  DWORD Code = GetLastError();
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, Code, 0, reinterpret_cast<LPWSTR>(&Msg), 0, nullptr);
  String S = Msg ? String(Msg) : String();
  if (Msg) LocalFree(Msg);
  while (!S.empty() && (S.back() == L'\n' || S.back() == L'\r' || S.back() == L' ')) S.pop_back();
  return S;
}

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

std::string_view Trim(std::string_view S) {
  while (!S.empty() && IsBlank(S.front())) S.remove_prefix(1);
  while (!S.empty() && IsBlank(S.back())) S.remove_suffix(1);
  return S;
}

bool Contains(std::string_view S, std::string_view Sub) { return S.find(Sub) != S.npos; }

// Text after the first occurrence of AKey (which S contains).
std::string_view After(std::string_view S, std::string_view AKey) {
  return S.substr(S.find(AKey) + AKey.size());
}

// Splits at the first blank: the head, and the trimmed rest. A text without a
// blank has an empty head, so that its conversion fails.
std::string_view SplitAtBlank(std::string_view S, std::string_view& ARest) {
  size_t B = S.find(' ');
  if (B == S.npos) {
    ARest = S;
    return std::string_view();
  }
  ARest = Trim(S.substr(B + 1));
  return S.substr(0, B);
}

Integer CountToInt(std::string_view AText, UINT ACodePage) {
  std::string_view S = Trim(AText);
  Integer V = 0;
  bool Ok = !S.empty();
  for (char C : S) {
    if (C < '0' || C > '9' || V > 100000000) {
      Ok = false;
      break;
    }
    V = V * 10 + (C - '0');
  }
  if (!Ok)
    throw EConvertError(Quoted(TableTextToString(AText, ACodePage)) +
                        L" не является числом элементов.");
  return V;
}

std::string RemoveAll(std::string_view S, std::string_view Sub) {
  std::string R;
  R.reserve(S.size());
  for (size_t P = 0;;) {
    size_t F = S.find(Sub, P);
    if (F == S.npos) {
      R.append(S.substr(P));
      return R;
    }
    R.append(S.substr(P, F - P));
    P = F + Sub.size();
  }
}

void PutPoint(TMifWriter& AOut, const TCoordTransform& T, Integer AStyle, Double AEast,
              Double ANorth) {
  Double E, N;
  T.recalcCoord(AStyle, AEast, ANorth, E, N);
  char* P = AOut.Reserve(2 * MifFloatBufSize + 2);
  char* Q = FormatMifFloat(P, E);
  *Q++ = ' ';
  Q = FormatMifFloat(Q, N);
  AOut.Advance(Q - P);
}

// "east north": the east value up to the first blank, the rest is north.
void PutPair(TMifWriter& AOut, const TCoordTransform& T, Integer AStyle, std::string_view S,
             UINT ACodePage) {
  std::string_view North;
  std::string_view East = SplitAtBlank(S, North);
  PutPoint(AOut, T, AStyle, MifStrToFloat(East, ACodePage), MifStrToFloat(North, ACodePage));
}

// Four numbers of two points, each up to the next blank, the last taking the
// rest.
void PutTwoPoints(TMifWriter& AOut, const TCoordTransform& T, Integer AStyle, std::string_view S,
                  UINT ACodePage) {
  Double V[4];
  std::string_view Rest = Trim(S);
  for (int I = 0; I < 3; ++I) V[I] = MifStrToFloat(SplitAtBlank(Rest, Rest), ACodePage);
  V[3] = MifStrToFloat(Rest, ACodePage);
  PutPoint(AOut, T, AStyle, V[0], V[1]);
  AOut.Write(" ");
  PutPoint(AOut, T, AStyle, V[2], V[3]);
}

bool IsLetter(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }

bool SameAscii(std::string_view A, std::string_view B) {
  return A.size() == B.size() && CountStr(A, B) == 1;
}

// The first word of the trimmed line (letters only), or empty.
std::string_view FirstWord(std::string_view L) {
  std::string_view T = Trim(L);
  size_t N = 0;
  while (N < T.size() && IsLetter(T[N])) ++N;
  if (N < T.size() && !IsBlank(T[N])) return std::string_view();
  return T.substr(0, N);
}

// The line begins with AKey as a word of its own, in any letter case.
bool StartsWithKeyword(std::string_view L, std::string_view AKey) {
  return SameAscii(FirstWord(L), AKey);
}

// Blank-separated words of S (runs of blanks count once).
std::vector<std::string_view> Words(std::string_view S) {
  std::vector<std::string_view> R;
  S = Trim(S);
  while (!S.empty()) {
    size_t B = 0;
    while (B < S.size() && !IsBlank(S[B])) ++B;
    R.push_back(S.substr(0, B));
    S = Trim(S.substr(B));
  }
  return R;
}

// Object kinds of the format that carry coordinates: every one has a rule of
// its own, so a line of such a kind that reaches the copy rule is one the
// rules did not understand (a kind spelled in other letters, a new kind).
constexpr std::string_view CoordinateKinds[] = {"Point",   "Line",       "Pline",    "Region",
                                                "Arc",     "Text",       "Rect",     "RoundRect",
                                                "Ellipse", "Multipoint", "Rectangle"};
// Clauses and kinds without coordinates of their own that are copied.
constexpr std::string_view CopiedWords[] = {"Pen",     "Brush",   "Symbol", "Font",
                                            "Spacing", "Justify", "Angle",  "Smooth",
                                            "Center",  "Label",   "None",   "Collection"};

// The kind of an object line with coordinates and no rule: one of the
// coordinate kinds, or an unknown word followed by at least two numbers.
// Empty for any other line.
std::string_view UnruledKind(std::string_view L) {
  std::string_view W = FirstWord(L);
  if (W.empty()) return W;
  for (std::string_view K : CoordinateKinds)
    if (SameAscii(W, K)) return W;
  for (std::string_view K : CopiedWords)
    if (SameAscii(W, K)) return std::string_view();
  std::vector<std::string_view> Rest = Words(Trim(L).substr(W.size()));
  Double V;
  if (Rest.size() >= 2 && TryMifStrToFloat(Rest[0], V) && TryMifStrToFloat(Rest[1], V)) return W;
  return std::string_view();
}

// The data section: one object line at a time, with the lines its count
// lines promise.
class TDataLoop {
 public:
  TDataLoop(TMifReader& AIn, TMifWriter& AOut, const TCoordTransform& T, Integer AStyle,
            TMifDataRules ARules, UINT ACodePage)
      : FIn(AIn), FOut(AOut), FT(T), FStyle(AStyle), FRules(ARules), FCodePage(ACodePage) {}

  void Run(std::string_view AFirst, bool AHaveFirst) {
    std::string_view Line = AFirst;
    if (AHaveFirst) Checked(Line);
    while (FIn.ReadLine(Line)) Checked(Line);
  }

 private:
  String LineText(Integer ALine) const {
    return L"Файл " + Quoted(FIn.FileName()) + L", строка " + std::to_wstring(ALine) + L": ";
  }

  // Conversion errors get the file and the line they happened on.
  void Checked(std::string_view ALine) {
    try {
      Object(ALine);
    } catch (EMifError&) {
      throw;
    } catch (EConvertError& E) {
      throw EMifError(LineText(FIn.LineNo()) + E.Message(), FIn.FileName(), FIn.LineNo());
    }
  }

  void Object(std::string_view L) {
    if (Contains(L, "Point")) return PointLike(L, "Point", true);
    if (FRules == TMifDataRules::mdrPointOnly) return FOut.WriteLine(L);
    if (Contains(L, "Center") && !Contains(L, "Justify")) return PointLike(L, "Center", false);
    if (Contains(L, "Region")) return Region(L);
    if (Contains(L, "Multipoint")) return Multipoint(L);
    if (Contains(L, "Pline")) return Pline(L);
    if (Contains(L, "Text")) return Text(L);
    if ((Contains(L, "Line") && !Contains(L, "Label")) || CountStr(L, "Line") >= 2)
      return TwoPoints(L, "Line");
    if (StartsWithKeyword(L, "RoundRect")) return Corners(L, "RoundRect", 1);
    if (Contains(L, "Rectangle")) return TwoPoints(L, "Rectangle");
    if (Contains(L, "Rect")) return TwoPoints(L, "Rect");
    if (Contains(L, "Ellipse")) return TwoPoints(L, "Ellipse");
    if (StartsWithKeyword(L, "Arc")) return Corners(L, "Arc", 2);
    if (Contains(L, "Label Line")) {
      LabelLine(FT, FStyle, L, "", FOut, FCodePage);
      return;
    }
    // Copied as it is, its coordinates would stay in the old system and the
    // object would land far from its neighbours without a word.
    std::string_view Kind = UnruledKind(L);
    if (!Kind.empty())
      throw EMifError(LineText(FIn.LineNo()) + L"для объектов вида \"" +
                          TableTextToString(Kind, FCodePage) +
                          L"\" нет правила пересчета координат (" +
                          Quoted(TableTextToString(Trim(L), FCodePage)) + L").",
                      FIn.FileName(), FIn.LineNo());
    FOut.WriteLine(L);
  }

  void PointLike(std::string_view L, std::string_view AKey, bool ALabelCheck) {
    if (ALabelCheck) LabelLine(FT, FStyle, L, AKey, FOut, FCodePage);
    std::string_view Rest = Trim(After(L, AKey));
    FOut.Write(AKey);
    FOut.Write(" ");
    PutPair(FOut, FT, FStyle, Rest, FCodePage);
    FOut.Write("\r\n");
  }

  // Count after the first blank of the (trimmed) object line.
  Integer CountAfterBlank(std::string_view L) const {
    std::string_view Rest;
    SplitAtBlank(Trim(L), Rest);
    return CountToInt(Rest, FCodePage);
  }

  void Region(std::string_view L) {
    LabelLine(FT, FStyle, L, "Region", FOut, FCodePage);
    FOut.WriteLine(L);
    Integer Polygons = CountAfterBlank(L);
    Integer CountLine = FIn.LineNo();
    for (Integer I = 0; I < Polygons; ++I) Section(CountLine);
  }

  void Multipoint(std::string_view L) {
    LabelLine(FT, FStyle, L, "Multipoint", FOut, FCodePage);
    FOut.WriteLine(L);
    Vertices(CountAfterBlank(L), FIn.LineNo());
  }

  void Pline(std::string_view L) {
    LabelLine(FT, FStyle, L, "Pline", FOut, FCodePage);
    FOut.WriteLine(L);
    Integer CountLine = FIn.LineNo();
    if (Contains(L, "Multiple")) {
      Integer Sections = CountToInt(After(L, "Multiple"), FCodePage);
      for (Integer I = 0; I < Sections; ++I) Section(CountLine);
    } else {
      Vertices(CountAfterBlank(L), CountLine);
    }
  }

  // A vertex count line and its vertices.
  void Section(Integer ACountLine) {
    std::string_view C = Next(ACountLine);
    FOut.WriteLine(C);
    Vertices(CountToInt(C, FCodePage), FIn.LineNo());
  }

  void Vertices(Integer ACount, Integer ACountLine) {
    for (Integer I = 0; I < ACount; ++I) {
      std::string_view V = Trim(Next(ACountLine));
      PutPair(FOut, FT, FStyle, V, FCodePage);
      FOut.Write("\r\n");
    }
  }

  void Text(std::string_view L) {
    LabelLine(FT, FStyle, L, "Text", FOut, FCodePage);
    FOut.WriteLine(L);
    Integer TextLine = FIn.LineNo();
    std::string_view S = Next(TextLine);
    if (CountStr(S, "\"") >= 2) {
      FOut.WriteLine(S);
    } else {
      std::string Joined(S);
      for (;;) {
        std::string_view More = Next(TextLine);
        Joined.append(More);
        if (Contains(More, "\"")) break;
      }
      FOut.WriteLine(Joined);
    }
    PutTwoPoints(FOut, FT, FStyle, Next(TextLine), FCodePage);
    FOut.Write("\r\n");
  }

  // "RoundRect x1 y1 x2 y2 a", "Arc x1 y1 x2 y2 a b": the corners of the
  // bounding rectangle are transformed as those of an ellipse; the rest (the
  // corner diameter, the two angles) is kept as it is, on the line or, when
  // the line ends after the corners, on the next one.
  void Corners(std::string_view L, std::string_view AKey, size_t AExtra) {
    std::string_view Rest = Trim(Trim(L).substr(AKey.size()));
    std::vector<std::string_view> W = Words(Rest);
    if (W.size() < 4)
      throw EConvertError(L"объекту \"" + TableTextToString(AKey, FCodePage) +
                          L"\" не хватает координат");
    Integer ObjectLine = FIn.LineNo();
    FOut.Write(AKey);
    FOut.Write(" ");
    PutPoint(FOut, FT, FStyle, MifStrToFloat(W[0], FCodePage), MifStrToFloat(W[1], FCodePage));
    FOut.Write(" ");
    PutPoint(FOut, FT, FStyle, MifStrToFloat(W[2], FCodePage), MifStrToFloat(W[3], FCodePage));
    std::string_view Extra = Trim(Rest.substr(W[3].data() + W[3].size() - Rest.data()));
    if (!Extra.empty()) {
      FOut.Write(" ");
      FOut.Write(Extra);
      FOut.Write("\r\n");
    } else {
      FOut.Write("\r\n");
      if (AExtra > 0) FOut.WriteLine(Next(ObjectLine));
    }
  }

  void TwoPoints(std::string_view L, std::string_view AKey) {
    LabelLine(FT, FStyle, L, AKey, FOut, FCodePage);
    std::string Rest = RemoveAll(L, AKey);
    FOut.Write(AKey);
    FOut.Write(" ");
    PutTwoPoints(FOut, FT, FStyle, Rest, FCodePage);
    FOut.Write("\r\n");
  }

  // The next line that the object (or count) on line AObjectLine needs.
  std::string_view Next(Integer AObjectLine) {
    std::string_view L;
    if (!FIn.ReadLine(L))
      throw EMifError(LineText(AObjectLine) +
                          L"объекту не хватает строк, файл кончается на строке " +
                          std::to_wstring(FIn.LineNo()) + L".",
                      FIn.FileName(), AObjectLine);
    return L;
  }

  TMifReader& FIn;
  TMifWriter& FOut;
  const TCoordTransform& FT;
  Integer FStyle;
  TMifDataRules FRules;
  UINT FCodePage;
};

// Position of "Label Line " followed by AKind in any letter case.
size_t FindLabelClause(std::string_view S, std::string_view AKind) {
  constexpr std::string_view Head = "Label Line ";
  for (size_t P = S.find(Head); P != S.npos; P = S.find(Head, P + 1))
    if (S.size() - P - Head.size() >= AKind.size() &&
        CountStr(S.substr(P + Head.size(), AKind.size()), AKind) == 1)
      return P;
  return S.npos;
}

bool IsDataLine(std::string_view L) {
  std::string_view S = Trim(L);
  if (S.size() != 4) return false;
  for (int I = 0; I < 4; ++I)
    if ((S[I] | 0x20) != "data"[I]) return false;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------

TMifReader::TMifReader(const String& APath) : FFileName(APath) {
  HANDLE H = CreateFileW(APath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (H == INVALID_HANDLE_VALUE)
    throw EFOpenError(L"Не удалось открыть файл " + Quoted(APath) + L": " + LastErrorText());
  FHandle = H;
  FBuf.resize(BufSize);
}

TMifReader::TMifReader(std::string AText, const String& AName)
    : FFileName(AName), FBuf(AText.begin(), AText.end()), FEnd(AText.size()), FEof(true) {}

TMifReader::~TMifReader() {
  if (FHandle) CloseHandle(FHandle);
}

// Moves the unread rest to the front and reads more behind it; grows the
// buffer when one line fills it. False when nothing more can be read.
bool TMifReader::Fill() {
  if (FEof) return false;
  if (FPos > 0) {
    std::memmove(FBuf.data(), FBuf.data() + FPos, FEnd - FPos);
    FEnd -= FPos;
    FPos = 0;
  }
  if (FEnd == FBuf.size()) FBuf.resize(FBuf.size() * 2);
  DWORD Got = 0;
  DWORD Want = static_cast<DWORD>(std::min<size_t>(FBuf.size() - FEnd, 1u << 30));
  if (!ReadFile(FHandle, FBuf.data() + FEnd, Want, &Got, nullptr))
    throw EReadError(L"Ошибка чтения файла " + Quoted(FFileName) + L": " + LastErrorText());
  if (Got == 0) {
    FEof = true;
    return false;
  }
  FEnd += Got;
  return true;
}

bool TMifReader::ReadLine(std::string_view& ALine) {
  size_t Scan = FPos;
  for (;;) {
    const char* B = FBuf.data();
    size_t I = Scan;
    while (I < FEnd && B[I] != '\n' && B[I] != '\r') ++I;
    if (I < FEnd && (B[I] == '\n' || I + 1 < FEnd || FEof)) {
      ALine = std::string_view(B + FPos, I - FPos);
      size_t Skip = (B[I] == '\r' && I + 1 < FEnd && B[I + 1] == '\n') ? 2 : 1;
      FPos = I + Skip;
      ++FLineNo;
      return true;
    }
    // No line end yet, or a CR that may be followed by LF in the next block.
    size_t Done = I - FPos;
    if (!Fill()) {
      if (FPos == FEnd) return false;
      ALine = std::string_view(FBuf.data() + FPos, FEnd - FPos);
      if (!ALine.empty() && ALine.back() == '\r') ALine.remove_suffix(1);
      FPos = FEnd;
      ++FLineNo;
      return true;
    }
    Scan = FPos + Done;
  }
}

TMifWriter::TMifWriter(const String& APath) : FFileName(APath), FToFile(true) {
  HANDLE H = CreateFileW(APath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE)
    throw EFCreateError(L"Не удалось создать файл " + Quoted(APath) + L": " + LastErrorText());
  FHandle = H;
  FBuf.resize(BufSize);
}

TMifWriter::TMifWriter() { FBuf.resize(BufSize); }

TMifWriter::~TMifWriter() {
  if (FHandle) {
    CloseHandle(FHandle);
    DeleteFileW(FFileName.c_str());
  }
}

void TMifWriter::Flush() {
  if (FLen == 0) return;
  if (!FToFile) {
    FText.append(FBuf.data(), FLen);
  } else {
    DWORD Put = 0;
    if (!FHandle || !WriteFile(FHandle, FBuf.data(), static_cast<DWORD>(FLen), &Put, nullptr) ||
        Put != FLen)
      throw EWriteError(L"Ошибка записи файла " + Quoted(FFileName) + L": " + LastErrorText());
  }
  FLen = 0;
}

char* TMifWriter::Reserve(size_t ACount) {
  if (FBuf.size() - FLen < ACount) {
    Flush();
    if (FBuf.size() < ACount) FBuf.resize(ACount);
  }
  return FBuf.data() + FLen;
}

void TMifWriter::Write(std::string_view AText) {
  char* P = Reserve(AText.size());
  std::memcpy(P, AText.data(), AText.size());
  FLen += AText.size();
}

void TMifWriter::Commit() {
  Flush();
  if (FHandle) {
    HANDLE H = FHandle;
    FHandle = nullptr;
    if (!CloseHandle(H))
      throw EWriteError(L"Ошибка записи файла " + Quoted(FFileName) + L": " + LastErrorText());
  }
}

// ---------------------------------------------------------------------------

Integer CountStr(std::string_view AStr, std::string_view ASubStr) {
  if (ASubStr.empty() || AStr.size() < ASubStr.size()) return 0;
  auto Lower = [](char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C | 0x20) : C; };
  Integer N = 0;
  for (size_t I = 0; I + ASubStr.size() <= AStr.size(); ++I) {
    size_t J = 0;
    while (J < ASubStr.size() && Lower(AStr[I + J]) == Lower(ASubStr[J])) ++J;
    if (J == ASubStr.size()) ++N;
  }
  return N;
}

bool LabelLine(const TCoordTransform& ATransform, Integer AStyle, std::string_view AStr,
               std::string_view ANext, TMifWriter& AOut, UINT ACodePage) {
  if (!Contains(AStr, "Label Line")) return false;
  std::string_view S = AStr;
  if (!ANext.empty()) {
    std::string R = RemoveAll(AStr, "Label Line");
    size_t P = R.find(ANext);
    // The clause is looked for only in the text up to just past the keyword.
    if (P != R.npos) S = Trim(AStr.substr(0, P + 10));
  }
  // The MIF format names the kind in any letter case ("simple", "arrow"):
  // a clause that matched none would silently vanish from the output.
  std::string_view Clause = "Label Line Simple";
  size_t At = FindLabelClause(S, "Simple");
  if (At == S.npos) {
    Clause = "Label Line Arrow";
    At = FindLabelClause(S, "Arrow");
  }
  if (At == S.npos) return false;
  std::string_view North;
  std::string_view East = SplitAtBlank(Trim(S.substr(At + Clause.size())), North);
  size_t B = North.find(' ');
  if (B != North.npos) North = North.substr(0, B);
  Double E = MifStrToFloat(East, ACodePage);
  Double N = MifStrToFloat(North, ACodePage);
  AOut.Write(Clause);
  AOut.Write(" ");
  PutPoint(AOut, ATransform, AStyle, E, N);
  AOut.Write("\r\n");
  return true;
}

void RewriteMif(TMifReader& AIn, TMifWriter& AOut, std::string_view ACoordSysLine,
                const TCoordTransform& ATransform, Integer AStyle, TMifDataRules ARules) {
  std::string_view L;
  UINT CodePage = CP_ACP;
  while (AIn.ReadLine(L)) {
    if (Contains(L, "CoordSys")) {
      AOut.WriteLine(ACoordSysLine);
    } else if (IsDataLine(L)) {
      AOut.WriteLine(L);
      // The blank line that usually follows "Data" is dropped; anything else
      // there is already an object.
      bool HaveFirst = AIn.ReadLine(L);
      if (HaveFirst && Trim(L).empty()) HaveFirst = false;
      TDataLoop(AIn, AOut, ATransform, AStyle, ARules, CodePage).Run(L, HaveFirst);
      return;
    } else {
      DeclaredCodePage(L, CodePage);
      AOut.WriteLine(L);
    }
  }
}

void RewriteMifFile(const String& AInPath, const String& AOutPath, std::string_view ACoordSysLine,
                    const TCoordTransform& ATransform, Integer AStyle, TMifDataRules ARules) {
  TMifReader In(AInPath);
  TMifWriter Out(AOutPath);
  RewriteMif(In, Out, ACoordSysLine, ATransform, AStyle, ARules);
  Out.Commit();
}

void CopyMifWithCoordSys(TMifReader& AIn, TMifWriter& AOut, std::string_view ACoordSysLine) {
  std::string_view L;
  bool InData = false;
  while (AIn.ReadLine(L)) {
    if (!InData && Contains(L, "CoordSys")) {
      AOut.WriteLine(ACoordSysLine);
    } else {
      AOut.WriteLine(L);
      InData = InData || IsDataLine(L);
    }
  }
}

void CopyMifFileWithCoordSys(const String& AInPath, const String& AOutPath,
                             std::string_view ACoordSysLine) {
  TMifReader In(AInPath);
  TMifWriter Out(AOutPath);
  CopyMifWithCoordSys(In, Out, ACoordSysLine);
  Out.Commit();
}

void CopyMidFile(const String& AFrom, const String& ATo) {
  if (!CopyFileW(AFrom.c_str(), ATo.c_str(), FALSE))
    throw EOSError(L"Не удалось скопировать файл " + Quoted(AFrom) + L" в " + Quoted(ATo) + L": " +
                       LastErrorText(),
                   GetLastError());
}

// ---------------------------------------------------------------------------

UINT CharsetCodePage(std::string_view ACharset) {
  static const struct {
    std::string_view Name;
    UINT CodePage;
  } Table[] = {
      {"WindowsLatin1", 1252}, {"WindowsLatin2", 1250},     {"WindowsCyrillic", 1251},
      {"WindowsGreek", 1253},  {"WindowsTurkish", 1254},    {"WindowsHebrew", 1255},
      {"WindowsArabic", 1256}, {"WindowsBalticRim", 1257},  {"WindowsVietnamese", 1258},
      {"WindowsThai", 874},    {"WindowsJapanese", 932},    {"WindowsSimpChinese", 936},
      {"WindowsKorean", 949},  {"WindowsTradChinese", 950}, {"ISO8859_1", 28591},
      {"ISO8859_2", 28592},    {"ISO8859_3", 28593},        {"ISO8859_4", 28594},
      {"ISO8859_5", 28595},    {"ISO8859_6", 28596},        {"ISO8859_7", 28597},
      {"ISO8859_8", 28598},    {"ISO8859_9", 28599},        {"CodePage437", 437},
      {"CodePage850", 850},    {"CodePage852", 852},        {"CodePage855", 855},
      {"CodePage857", 857},    {"CodePage860", 860},        {"CodePage861", 861},
      {"CodePage863", 863},    {"CodePage864", 864},        {"CodePage865", 865},
      {"CodePage869", 869},    {"UTF-8", CP_UTF8},          {"UTF8", CP_UTF8},
  };
  std::string_view Name = Trim(ACharset);
  for (const auto& E : Table)
    if (Name.size() == E.Name.size() && CountStr(Name, E.Name) == 1) return E.CodePage;
  return CP_ACP;
}

bool DeclaredCodePage(std::string_view ALine, UINT& ACodePage) {
  std::string_view L = Trim(ALine);
  std::string_view Key = !L.empty() && L.front() == '!' ? "!charset" : "Charset";
  if (L.size() <= Key.size() || CountStr(L.substr(0, Key.size()), Key) != 1 ||
      !IsBlank(L[Key.size()]))
    return false;
  std::string_view Name = Trim(L.substr(Key.size()));
  if (Name.size() >= 2 && Name.front() == '"' && Name.back() == '"')
    Name = Name.substr(1, Name.size() - 2);
  ACodePage = CharsetCodePage(Name);
  return true;
}

String TableTextToString(std::string_view AText, UINT ACodePage) {
  if (AText.empty()) return String();
  int Len = static_cast<int>(AText.size());
  int N = MultiByteToWideChar(ACodePage, 0, AText.data(), Len, nullptr, 0);
  if (N <= 0) {
    // A code page the platform lacks: the bytes as the system reads them.
    ACodePage = CP_ACP;
    N = MultiByteToWideChar(ACodePage, 0, AText.data(), Len, nullptr, 0);
  }
  String W(static_cast<size_t>(std::max(N, 0)), L'\0');
  if (N > 0) MultiByteToWideChar(ACodePage, 0, AText.data(), Len, W.data(), N);
  return W;
}

bool StringToTableText(const String& AText, UINT ACodePage, AnsiString& AResult) {
  AResult.clear();
  if (AText.empty()) return true;
  int Len = static_cast<int>(AText.size());
  BOOL Lost = FALSE;
  // UTF-8 has every character and takes no "lost" flag.
  BOOL* LostFlag = ACodePage == CP_UTF8 ? nullptr : &Lost;
  DWORD Flags = ACodePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  int N = WideCharToMultiByte(ACodePage, Flags, AText.data(), Len, nullptr, 0, nullptr, LostFlag);
  if (N <= 0) return false;
  AResult.resize(static_cast<size_t>(N));
  WideCharToMultiByte(ACodePage, Flags, AText.data(), Len, AResult.data(), N, nullptr, LostFlag);
  return !Lost;
}
