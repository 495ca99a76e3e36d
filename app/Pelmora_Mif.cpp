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

// 8-bit MIF text shown in a message: the ANSI code page it was written in.
String AnsiToString(std::string_view S) {
  if (S.empty()) return String();
  int N = MultiByteToWideChar(CP_ACP, 0, S.data(), static_cast<int>(S.size()), nullptr, 0);
  String W(N, L'\0');
  MultiByteToWideChar(CP_ACP, 0, S.data(), static_cast<int>(S.size()), W.data(), N);
  return W;
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

Integer CountToInt(std::string_view AText) {
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
  if (!Ok) throw EConvertError(Quoted(AnsiToString(AText)) + L" не является числом элементов.");
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
void PutPair(TMifWriter& AOut, const TCoordTransform& T, Integer AStyle, std::string_view S) {
  std::string_view North;
  std::string_view East = SplitAtBlank(S, North);
  PutPoint(AOut, T, AStyle, MifStrToFloat(East), MifStrToFloat(North));
}

// Four numbers of two points, each up to the next blank, the last taking the
// rest.
void PutTwoPoints(TMifWriter& AOut, const TCoordTransform& T, Integer AStyle, std::string_view S) {
  Double V[4];
  std::string_view Rest = Trim(S);
  for (int I = 0; I < 3; ++I) V[I] = MifStrToFloat(SplitAtBlank(Rest, Rest));
  V[3] = MifStrToFloat(Rest);
  PutPoint(AOut, T, AStyle, V[0], V[1]);
  AOut.Write(" ");
  PutPoint(AOut, T, AStyle, V[2], V[3]);
}

// The data section: one object line at a time, with the lines its count
// lines promise.
class TDataLoop {
 public:
  TDataLoop(TMifReader& AIn, TMifWriter& AOut, const TCoordTransform& T, Integer AStyle,
            TMifDataRules ARules)
      : FIn(AIn), FOut(AOut), FT(T), FStyle(AStyle), FRules(ARules) {}

  void Run(std::string_view AFirst, bool AHaveFirst) {
    std::string_view Line = AFirst;
    if (AHaveFirst) Checked(Line);
    while (FIn.ReadLine(Line)) Checked(Line);
  }

 private:
  // Conversion errors get the file and the line they happened on.
  void Checked(std::string_view ALine) {
    try {
      Object(ALine);
    } catch (EMifError&) {
      throw;
    } catch (EConvertError& E) {
      throw EMifError(L"Файл " + Quoted(FIn.FileName()) + L", строка " +
                          std::to_wstring(FIn.LineNo()) + L": " + E.Message(),
                      FIn.FileName(), FIn.LineNo());
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
    if (IsRoundRect(L)) return RoundRect(L);
    if (Contains(L, "Rectangle")) return TwoPoints(L, "Rectangle");
    if (Contains(L, "Rect")) return TwoPoints(L, "Rect");
    if (Contains(L, "Ellipse")) return TwoPoints(L, "Ellipse");
    if (Contains(L, "Label Line")) {
      LabelLine(FT, FStyle, L, "", FOut);
      return;
    }
    FOut.WriteLine(L);
  }

  void PointLike(std::string_view L, std::string_view AKey, bool ALabelCheck) {
    if (ALabelCheck) LabelLine(FT, FStyle, L, AKey, FOut);
    std::string_view Rest = Trim(After(L, AKey));
    FOut.Write(AKey);
    FOut.Write(" ");
    PutPair(FOut, FT, FStyle, Rest);
    FOut.Write("\r\n");
  }

  // Count after the first blank of the (trimmed) object line.
  static Integer CountAfterBlank(std::string_view L) {
    std::string_view Rest;
    SplitAtBlank(Trim(L), Rest);
    return CountToInt(Rest);
  }

  void Region(std::string_view L) {
    LabelLine(FT, FStyle, L, "Region", FOut);
    FOut.WriteLine(L);
    Integer Polygons = CountAfterBlank(L);
    Integer CountLine = FIn.LineNo();
    for (Integer I = 0; I < Polygons; ++I) Section(CountLine);
  }

  void Multipoint(std::string_view L) {
    LabelLine(FT, FStyle, L, "Multipoint", FOut);
    FOut.WriteLine(L);
    Vertices(CountAfterBlank(L), FIn.LineNo());
  }

  void Pline(std::string_view L) {
    LabelLine(FT, FStyle, L, "Pline", FOut);
    FOut.WriteLine(L);
    Integer CountLine = FIn.LineNo();
    if (Contains(L, "Multiple")) {
      Integer Sections = CountToInt(After(L, "Multiple"));
      for (Integer I = 0; I < Sections; ++I) Section(CountLine);
    } else {
      Vertices(CountAfterBlank(L), CountLine);
    }
  }

  // A vertex count line and its vertices.
  void Section(Integer ACountLine) {
    std::string_view C = Next(ACountLine);
    FOut.WriteLine(C);
    Vertices(CountToInt(C), FIn.LineNo());
  }

  void Vertices(Integer ACount, Integer ACountLine) {
    for (Integer I = 0; I < ACount; ++I) {
      std::string_view V = Trim(Next(ACountLine));
      PutPair(FOut, FT, FStyle, V);
      FOut.Write("\r\n");
    }
  }

  void Text(std::string_view L) {
    LabelLine(FT, FStyle, L, "Text", FOut);
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
    PutTwoPoints(FOut, FT, FStyle, Next(TextLine));
    FOut.Write("\r\n");
  }

  // "RoundRect x1 y1 x2 y2 a": read as a rectangle, its corners would leave
  // "Round" where a number belongs and end the run. The corners are
  // transformed; the corner diameter (on the line or on the next one) is
  // kept as it is.
  static bool IsRoundRect(std::string_view L) {
    std::string_view T = Trim(L);
    static const char Key[] = "roundrect";
    if (T.size() < sizeof(Key) - 1) return false;
    for (size_t I = 0; I + 1 < sizeof(Key); ++I)
      if (static_cast<char>(std::tolower(static_cast<unsigned char>(T[I]))) != Key[I]) return false;
    return T.size() == sizeof(Key) - 1 || T[sizeof(Key) - 1] == ' ' || T[sizeof(Key) - 1] == '\t';
  }

  void RoundRect(std::string_view L) {
    std::string_view Rest = Trim(Trim(L).substr(9));
    std::string_view Tokens[5];
    int N = 0;
    while (!Rest.empty() && N < 5) Tokens[N++] = SplitAtBlank(Rest, Rest);
    if (N < 4) throw EConvertError(L"Скруглённому прямоугольнику не хватает координат");
    Integer ObjectLine = FIn.LineNo();
    FOut.Write("RoundRect ");
    PutPoint(FOut, FT, FStyle, MifStrToFloat(Tokens[0]), MifStrToFloat(Tokens[1]));
    FOut.Write(" ");
    PutPoint(FOut, FT, FStyle, MifStrToFloat(Tokens[2]), MifStrToFloat(Tokens[3]));
    if (N == 5) {
      FOut.Write(" ");
      FOut.Write(Tokens[4]);
      FOut.Write("\r\n");
    } else {
      FOut.Write("\r\n");
      FOut.WriteLine(Next(ObjectLine));
    }
  }

  void TwoPoints(std::string_view L, std::string_view AKey) {
    LabelLine(FT, FStyle, L, AKey, FOut);
    std::string Rest = RemoveAll(L, AKey);
    FOut.Write(AKey);
    FOut.Write(" ");
    PutTwoPoints(FOut, FT, FStyle, Rest);
    FOut.Write("\r\n");
  }

  // The next line that the object (or count) on line AObjectLine needs.
  std::string_view Next(Integer AObjectLine) {
    std::string_view L;
    if (!FIn.ReadLine(L))
      throw EMifError(L"Файл " + Quoted(FIn.FileName()) + L", строка " +
                          std::to_wstring(AObjectLine) +
                          L": объекту не хватает строк, файл кончается на строке " +
                          std::to_wstring(FIn.LineNo()) + L".",
                      FIn.FileName(), AObjectLine);
    return L;
  }

  TMifReader& FIn;
  TMifWriter& FOut;
  const TCoordTransform& FT;
  Integer FStyle;
  TMifDataRules FRules;
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
               std::string_view ANext, TMifWriter& AOut) {
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
  Double E = MifStrToFloat(East);
  Double N = MifStrToFloat(North);
  AOut.Write(Clause);
  AOut.Write(" ");
  PutPoint(AOut, ATransform, AStyle, E, N);
  AOut.Write("\r\n");
  return true;
}

void RewriteMif(TMifReader& AIn, TMifWriter& AOut, std::string_view ACoordSysLine,
                const TCoordTransform& ATransform, Integer AStyle, TMifDataRules ARules) {
  std::string_view L;
  while (AIn.ReadLine(L)) {
    if (Contains(L, "CoordSys")) {
      AOut.WriteLine(ACoordSysLine);
    } else if (IsDataLine(L)) {
      AOut.WriteLine(L);
      // The blank line that usually follows "Data" is dropped; anything else
      // there is already an object.
      bool HaveFirst = AIn.ReadLine(L);
      if (HaveFirst && Trim(L).empty()) HaveFirst = false;
      TDataLoop(AIn, AOut, ATransform, AStyle, ARules).Run(L, HaveFirst);
      return;
    } else {
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
