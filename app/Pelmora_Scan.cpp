#include "Pelmora.h"
#include "WinCompat.h"

namespace {

// Full path with one trailing separator.
String FullFolder(const String& ADir) {
  return IncludeTrailingPathDelimiter(ExpandFileName(Trim(ADir)));
}

// File names compare as the file system does: ordinal, without regard to case.
bool SameFileText(const wchar_t* A, size_t ALen, const wchar_t* B, size_t BLen) {
  return CompareStringOrdinal(A, static_cast<int>(ALen), B, static_cast<int>(BLen), TRUE) ==
         CSTR_EQUAL;
}

bool StartsWithFileText(const String& S, const String& APrefix) {
  return S.size() >= APrefix.size() &&
         SameFileText(S.data(), APrefix.size(), APrefix.data(), APrefix.size());
}

// A table is a file whose extension is ".tab": a backup copy ("roads.tab.bak")
// or another kind of file ("notes.table") would end the run when opened.
bool IsTableName(const String& AName) { return SameText(ExtractFileExt(AName), L".tab"); }

struct TFindGuard {
  TSearchRec& F;
  ~TFindGuard() { FindClose(F); }
};

void ScanFolder(const String& ADir, std::vector<String>& AList) {
  TSearchRec F;
  if (FindFirst(ADir + L"*.*", faAnyFile, F) != 0) return;
  TFindGuard Guard{F};
  do {
    if (F.Name == L"." || F.Name == L"..") continue;
    if (F.Attr & faDirectory)
      ScanFolder(ADir + F.Name + L"\\", AList);
    else if (IsTableName(F.Name))
      AList.push_back(ADir + F.Name);
  } while (FindNext(F) == 0);
}

}  // namespace

String RunFolder(const String& AText) {
  String S = Trim(AText);
  return S.empty() ? S : IncludeTrailingPathDelimiter(S);
}

bool IsPathInside(const String& APath, const String& ADir) {
  return StartsWithFileText(FullFolder(APath), FullFolder(ADir));
}

TRunCheck CheckRunInputs(const String& AInPath, const String& AOutPath, Integer AOutCs) {
  if (Trim(AInPath).empty()) return TRunCheck::rcNoInPath;
  if (Trim(AOutPath).empty()) return TRunCheck::rcNoOutPath;
  // Only the three items of the target list name a target.
  if (AOutCs < tcMsk89Plan || AOutCs > tcOldConditional) return TRunCheck::rcBadTarget;
  if (!DirectoryExists(ExcludeTrailingPathDelimiter(ExpandFileName(Trim(AInPath)))))
    return TRunCheck::rcInPathMissing;
  String In = FullFolder(AInPath);
  String Out = FullFolder(AOutPath);
  if (In.size() == Out.size() && StartsWithFileText(Out, In)) return TRunCheck::rcOutIsIn;
  if (StartsWithFileText(Out, In)) return TRunCheck::rcOutInsideIn;
  return TRunCheck::rcOk;
}

String RunCheckMessage(TRunCheck ACheck) {
  switch (ACheck) {
    case TRunCheck::rcOk:
      return String();
    case TRunCheck::rcNoInPath:
      return L"Не указана входная папка.";
    case TRunCheck::rcNoOutPath:
      return L"Не указана выходная папка.";
    case TRunCheck::rcBadTarget:
      return L"Недозволенная выходная система координат.";
    case TRunCheck::rcInPathMissing:
      return L"Входная папка не найдена.";
    case TRunCheck::rcOutIsIn:
      return L"Выходная папка совпадает с входной. Пересчет записал бы результаты поверх "
             L"исходных таблиц: укажите другую выходную папку.";
    case TRunCheck::rcOutInsideIn:
      return L"Выходная папка находится внутри входной. Пересчет записал бы результаты во "
             L"входную папку: укажите выходную папку вне входной.";
  }
  return String();
}

void GetFiles(const String& dir, std::vector<String>& list) {
  if (dir.empty()) return;
  ScanFolder(IncludeTrailingPathDelimiter(dir), list);
}

String OutputFolderFor(const String& ATablePath, const String& AInDir, const String& AOutDir) {
  String Folder = ExtractFilePath(ATablePath);
  String In = RunFolder(AInDir);
  if (In.empty() || !StartsWithFileText(Folder, In))
    throw EArgumentException(L"Таблица \"" + ATablePath + L"\" лежит вне входной папки \"" + In +
                             L"\".");
  return RunFolder(AOutDir) + Folder.substr(In.size());
}

String OutputTablePath(const String& ATablePath, const String& AInDir, const String& AOutDir) {
  return OutputFolderFor(ATablePath, AInDir, AOutDir) + ExtractFileName(ATablePath);
}

String CheckOutputPaths(const std::vector<String>& AFiles, const String& AInDir,
                        const String& AOutDir) {
  for (const String& F : AFiles) {
    String Out = OutputTablePath(F, AInDir, AOutDir);
    if (IsPathInside(ExtractFilePath(Out), AInDir))
      return L"Пересчет отменен: результат таблицы \"" + F +
             L"\" был бы записан во входную папку (\"" + Out +
             L"\"). Укажите выходную папку вне входной.";
  }
  return String();
}

namespace {

// The value of a "Type" line of the .TAB, without its quotation marks; false
// for any other line.
bool TypeLineValue(std::string_view L, std::string_view& AValue) {
  auto Blank = [](char C) { return C == ' ' || C == '\t'; };
  size_t B = 0;
  while (B < L.size() && Blank(L[B])) ++B;
  if (L.size() - B < 5 || CountStr(L.substr(B, 4), "Type") != 1 || !Blank(L[B + 4])) return false;
  std::string_view V = L.substr(B + 5);
  while (!V.empty() && Blank(V.front())) V.remove_prefix(1);
  size_t End = 0;
  while (End < V.size() && !Blank(V[End])) ++End;
  V = V.substr(0, End);
  if (V.size() >= 2 && V.front() == '"' && V.back() == '"') V = V.substr(1, V.size() - 2);
  AValue = V;
  return true;
}

}  // namespace

bool IsRasterTab(const String& APath) {
  TMifReader In(APath);
  std::string_view L, Value;
  while (In.ReadLine(L))
    if (TypeLineValue(L, Value) && Value == "RASTER") return true;
  return false;
}
