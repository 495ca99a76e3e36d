#include <algorithm>

#include "Pelmora.h"
#include "WinCompat.h"

namespace {

String Quoted(const String& S) { return L"\"" + S + L"\""; }

String TableText(const TRasterTab& ATab) { return L"Растровая таблица " + Quoted(ATab.FileName); }

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

std::string_view Trim(std::string_view S) {
  while (!S.empty() && IsBlank(S.front())) S.remove_prefix(1);
  while (!S.empty() && IsBlank(S.back())) S.remove_suffix(1);
  return S;
}

bool Contains(std::string_view S, std::string_view Sub) { return S.find(Sub) != S.npos; }

// "Точка " in the table's code page; empty when the code page cannot spell
// it, so that nothing matches by accident.
AnsiString PointWord(UINT ACodePage) {
  AnsiString W;
  return StringToTableText(L"Точка ", ACodePage, W) ? W : AnsiString();
}

bool IsControlPoint(std::string_view L, const AnsiString& APointWord) {
  return (!APointWord.empty() && Contains(L, APointWord)) || Contains(L, "Pt ") ||
         Contains(L, "Point ");
}

// The text between the first "(" and the first ")" of the line, split at its
// first ",".
bool ParseControlPoint(std::string_view L, Double& AEast, Double& ANorth) {
  std::string_view S = L.substr(0, L.find(')'));
  size_t Open = S.find('(');
  if (Open != S.npos) S.remove_prefix(Open + 1);
  size_t Comma = S.find(',');
  if (Comma == S.npos) return false;
  return TryMifStrToFloat(S.substr(0, Comma), AEast) &&
         TryMifStrToFloat(S.substr(Comma + 1), ANorth);
}

bool StartsWithUnits(std::string_view L) {
  std::string_view S = Trim(L);
  return S.size() >= 5 && CountStr(S.substr(0, 5), "Units") == 1 &&
         (S.size() == 5 || IsBlank(S[5]));
}

String LastErrorText() { return SysErrorMessage(GetLastError()); }

// Copies the image beside the new table; folders in the image name are
// created below the output folder.
void CopyImage(const TRasterTab& ATab, const String& AInDir, const String& AOutFolder) {
  String Name = TableTextToString(ATab.ImageName, ATab.CodePage);
  // An image named by its full path stays where it is: the new table names
  // it the same way.
  bool Absolute =
      (Name.size() >= 2 && Name[1] == DriveDelim) || (!Name.empty() && Name[0] == PathDelim);
  String Source = Absolute ? Name : ExtractFilePath(ATab.FileName) + Name;
  if (!FileExists(Source))
    throw ERasterError(TableText(ATab) + L": не найден файл изображения " + Quoted(Source) + L".");
  if (Absolute) return;
  String Dest = ExpandFileName(AOutFolder + Name);
  if (IsPathInside(Dest, AInDir))
    throw ERasterError(TableText(ATab) + L": изображение " + Quoted(Name) +
                       L" было бы записано во входную папку.");
  String DestDir = ExtractFilePath(Dest);
  if (!DirectoryExists(ExcludeTrailingPathDelimiter(DestDir)) && !ForceDirectories(DestDir))
    throw ERasterError(TableText(ATab) + L": не удалось создать папку " + Quoted(DestDir) + L".");
  if (!CopyFileW(Source.c_str(), Dest.c_str(), FALSE))
    throw ERasterError(TableText(ATab) + L": не удалось скопировать изображение " + Quoted(Source) +
                       L" в " + Quoted(Dest) + L": " + LastErrorText() + L".");
}

String TempPart(const String& ATempPath, const wchar_t* AName) { return ATempPath + AName; }

}  // namespace

TRasterTab ReadRasterTab(const String& APath) {
  TRasterTab Tab;
  Tab.FileName = APath;
  try {
    TMifReader In(APath);
    std::string_view L;
    while (In.ReadLine(L)) Tab.Lines.emplace_back(L);
  } catch (Exception& E) {
    throw ERasterError(TableText(Tab) + L" не прочитана: " + E.Message());
  }
  // The header names the code page before any text that needs it.
  for (const AnsiString& L : Tab.Lines)
    if (DeclaredCodePage(L, Tab.CodePage)) break;
  const AnsiString Word = PointWord(Tab.CodePage);
  bool HaveFile = false;
  for (size_t J = 0; J < Tab.Lines.size(); ++J) {
    std::string_view L = Tab.Lines[J];
    if (IsControlPoint(L, Word)) {
      TPnt P;
      P.ind = static_cast<Integer>(J);
      if (!ParseControlPoint(L, P.x, P.y))
        throw ERasterError(TableText(Tab) + L", строка " + IntToStr(P.ind + 1) +
                           L": координаты контрольной точки не являются числами: " +
                           Quoted(TableTextToString(Trim(L), Tab.CodePage)) + L".");
      Tab.MaxX = std::max(Tab.MaxX, P.x);
      Tab.MaxY = std::max(Tab.MaxY, P.y);
      Tab.Points.push_back(P);
    } else if (Contains(L, "File")) {
      std::string_view Rest = L.substr(L.find("File") + 4);
      if (!Rest.empty()) Rest.remove_prefix(1);
      AnsiString Name;
      for (char C : Trim(Rest))
        if (C != '"') Name += C;
      Tab.ImageName = Name;
      HaveFile = true;
    } else if (Contains(L, "CoordSys")) {
      Tab.OldClause = AnsiString(Trim(L));
    }
  }
  if (Tab.OldClause.empty())
    throw ERasterError(TableText(Tab) + L": нет строки CoordSys с системой координат.");
  if (!HaveFile || Tab.ImageName.empty())
    throw ERasterError(TableText(Tab) + L": не указан файл изображения (строка File).");
  return Tab;
}

String RasterSourceClause(const TRasterTab& ATab) {
  String Clause = TableTextToString(ATab.OldClause, ATab.CodePage);
  if (Clause.find(L"NonEarth") != Clause.npos && Clause.find(L"Bounds") == Clause.npos)
    Clause += L" Bounds (0,0) (10000000,10000000)";
  return Clause;
}

Integer RasterInputClass(const TRasterTab& ATab) {
  return DetectInputClass(TableTextToString(ATab.OldClause, ATab.CodePage), ATab.MaxX, ATab.MaxY);
}

std::vector<String> RasterPointTableStatements(const TRasterTab& ATab, const String& ATempPath) {
  String Clause = RasterSourceClause(ATab);
  std::vector<String> S;
  S.push_back(L"Set " + Clause);
  S.push_back(L"Set Distance Units \"m\"");
  S.push_back(L"Create Table tab1(ind integer) File \"" + ATempPath + L"tab1\"");
  S.push_back(L"Create Map For tab1 " + Clause);
  S.push_back(L"Dim O1 As Object");
  // Full precision: degrees of a long/lat raster rounded to 0.01 would move
  // its points by up to a kilometre.
  for (const TPnt& P : ATab.Points) {
    S.push_back(L"O1=CreatePoint(" + MifFloatToWStr(P.x) + L"," + MifFloatToWStr(P.y) + L")");
    S.push_back(L"Insert Into tab1(Obj,ind) values(O1," + IntToStr(P.ind) + L")");
    S.push_back(L"Commit Table tab1");
  }
  S.push_back(L"Undim O1");
  S.push_back(L"Export tab1 Into \"" + ATempPath + L"tab1.mif\" Type \"MIF\" OverWrite");
  return S;
}

bool RasterFirstPassMif(const String& ATempPath, Integer AInCs, const TFormationParams& AParams,
                        const TCoordTransform& ATransform) {
  String From = TempPart(ATempPath, L"tab1.mif");
  String To = TempPart(ATempPath, L"tabOut.mif");
  if (AInCs < icLocal || AInCs > icSk63 || !FileExists(From)) return false;
  const String& Tail = AInCs == icLocal || AInCs == icMsk89 ? AParams.msk89 : AParams.sk63;
  AnsiString Clause = "CoordSys Earth Projection " + StringToAnsi(Tail);
  if (AInCs == icLocal || AInCs == icShift)
    RewriteMifFile(From, To, Clause, ATransform, AInCs, TMifDataRules::mdrPointOnly);
  else
    CopyMifFileWithCoordSys(From, To, Clause);
  CopyMidFile(TempPart(ATempPath, L"tab1.mid"), TempPart(ATempPath, L"tabOut.mid"));
  return true;
}

bool RasterTargetPassMif(const String& ATempPath, Integer AOutCs,
                         const TCoordTransform& ATransform) {
  String From = TempPart(ATempPath, L"tabPnt.mif");
  String To = TempPart(ATempPath, L"tabOut.mif");
  if ((AOutCs != tcMsk89Plan && AOutCs != tcOldConditional) || !FileExists(From)) return false;
  if (AOutCs == tcMsk89Plan)
    CopyMifFileWithCoordSys(From, To, NonEarthMifClause);
  else
    RewriteMifFile(From, To, NonEarthSignedMifClause, ATransform, tsInverse,
                   TMifDataRules::mdrPointOnly);
  CopyMidFile(TempPart(ATempPath, L"tabPnt.mid"), TempPart(ATempPath, L"tabOut.mid"));
  return true;
}

void SetControlPoint(TRasterTab& ATab, Integer ALine, Double AEast, Double ANorth) {
  AnsiString& L = ATab.Lines.at(static_cast<size_t>(ALine));
  size_t Close = L.find(')');
  AnsiString Rest = Close == L.npos ? AnsiString() : L.substr(Close);
  L = "(" + MifFloatToStr(AEast) + "," + MifFloatToStr(ANorth) + Rest;
}

String RasterTargetCoordSys(Integer AOutCs, const String& AMsk89) {
  if (AOutCs == tcMsk89Geo) return L"CoordSys Earth Projection " + AMsk89;
  return String(NonEarthSignedMifClause.begin(), NonEarthSignedMifClause.end());
}

std::string RasterTabText(const TRasterTab& ATab, const String& ACoordSysLine) {
  AnsiString CoordSys;
  if (!StringToTableText(ACoordSysLine, ATab.CodePage, CoordSys))
    throw ERasterError(TableText(ATab) + L": строку " + Quoted(ACoordSysLine) +
                       L" нельзя записать в кодировке таблицы.");
  const AnsiString Word = PointWord(ATab.CodePage);
  std::string Text;
  for (const AnsiString& L : ATab.Lines) {
    if (!IsControlPoint(L, Word) && !Contains(L, "File") && Contains(L, "CoordSys")) {
      Text += CoordSys;
    } else if (StartsWithUnits(L)) {
      // Every target is in metres; units left as "degree" would make readers
      // take the new control points for longitudes and latitudes.
      Text += L.substr(0, L.find_first_not_of(" \t"));
      Text += "Units \"m\"";
    } else {
      Text += L;
    }
    Text += "\r\n";
  }
  return Text;
}

void WriteRasterTable(const TRasterTab& ATab, const String& AInDir, const String& AOutFolder,
                      const String& ACoordSysLine) {
  String Dest = IncludeTrailingPathDelimiter(AOutFolder) + ExtractFileName(ATab.FileName);
  if (IsPathInside(Dest, AInDir))
    throw ERasterError(TableText(ATab) + L": результат " + Quoted(Dest) +
                       L" был бы записан во входную папку.");
  std::string Text = RasterTabText(ATab, ACoordSysLine);
  CopyImage(ATab, AInDir, IncludeTrailingPathDelimiter(AOutFolder));
  // The text goes to a work file first: a table that could not be written
  // completely never appears under its own name. The work file's name holds
  // no ".tab", so that no later scan takes it for a table.
  wchar_t Temp[MAX_PATH + 1];
  String Folder = ExtractFilePath(Dest);
  if (!GetTempFileNameW(Folder.c_str(), L"pel", 0, Temp))
    throw ERasterError(TableText(ATab) + L": не удалось записать файл в папку " + Quoted(Folder) +
                       L": " + LastErrorText() + L".");
  try {
    TMifWriter Out(Temp);
    Out.Write(Text);
    Out.Commit();
  } catch (Exception& E) {
    DeleteFileW(Temp);
    throw ERasterError(TableText(ATab) + L" не записана: " + E.Message());
  }
  if (!MoveFileExW(Temp, Dest.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    String Why = LastErrorText();
    DeleteFileW(Temp);
    throw ERasterError(TableText(ATab) + L" не записана в " + Quoted(Dest) + L": " + Why + L".");
  }
}

namespace {

// The work tables of the point road. Every raster closes them before it uses
// them again: an alias still open from the raster before would refuse the
// next "Open Table" or "Import", and a table committed over one still open
// would be written under it.
constexpr const wchar_t* PointTables[] = {L"tab1", L"tabOut", L"tab63", L"tabPnt"};

void ImportTabOut(TGisSession& AGis, const String& ATemp) {
  AGis.miCloseTable(L"tabOut");
  AGis.miDo(L"Import " + Quoted(ATemp + L"tabOut.mif") + L" Type \"MIF\" Into " +
            Quoted(ATemp + L"tabOut") + L" OverWrite");
}

// tabOut (imported from "tabOut.mif") committed as tabPnt in the formation's
// MSK-89 zone: directly for the classes 1 and 3, through tab63 and the SK-63
// zone for 2 and 4, so that MapInfo changes the projection.
void CommitTabOutAsPoints(TGisSession& AGis, const String& T, Integer AInCs, const String& AMsk89) {
  ImportTabOut(AGis, T);
  if (AInCs == icLocal || AInCs == icMsk89) {
    AGis.miDo(L"Commit Table tabOut As " + Quoted(T + L"tabPnt"));
    AGis.miCloseTable(L"tabOut");
    return;
  }
  AGis.miCloseTable(L"tab63");
  AGis.miDo(L"Commit Table tabOut As " + Quoted(T + L"tab63"));
  AGis.miCloseTable(L"tabOut");
  AGis.miDo(L"Open Table " + Quoted(T + L"tab63") + L" As tab63");
  AGis.miDo(L"Commit Table tab63 As " + Quoted(T + L"tabPnt") + AMsk89);
  AGis.miCloseTable(L"tab63");
}

// The point table tab1 in the raster's own system, committed as tabPnt in
// the formation's MSK-89 zone and exported to "tabPnt.mif".
void CommitPointsInMsk89(const TRasterTab& ATab, Integer AInCs, const TRasterRun& ARun,
                         const TCoordTransform& ATransform, TGisSession& AGis) {
  const String& T = ARun.TempPath;
  const String Msk89 = L" CoordSys Earth Projection " + ARun.Params.msk89;
  // Work files of an earlier table must not pass for this one's.
  DeleteFileW((T + L"tab1.mif").c_str());
  DeleteFileW((T + L"tabPnt.mif").c_str());
  for (const wchar_t* Alias : PointTables) AGis.miCloseTable(Alias);
  for (const String& S : RasterPointTableStatements(ATab, T)) AGis.miDo(S);
  if (AInCs >= icLocal && AInCs <= icSk63) {
    AGis.miCloseTable(L"tab1");
    // Without the export the commit below would take the points of the
    // raster before this one from the work tables.
    if (!RasterFirstPassMif(T, AInCs, ARun.Params, ATransform))
      throw ERasterError(TableText(ATab) + L": MapInfo не выгрузил контрольные точки в " +
                         Quoted(T + L"tab1.mif") + L".");
    CommitTabOutAsPoints(AGis, T, AInCs, Msk89);
  } else {
    AGis.miDo(L"Commit Table tab1 As " + Quoted(T + L"tabPnt") + Msk89);
    AGis.miCloseTable(L"tab1");
  }
  AGis.miCloseTable(L"tabPnt");
  AGis.miDo(L"Open Table " + Quoted(T + L"tabPnt") + L" As tabPnt");
  AGis.miDo(L"Export tabPnt Into " + Quoted(T + L"tabPnt.mif") + L" Type \"MIF\" OverWrite");
  AGis.miCloseTable(L"tabPnt");
}

// tabOut: the points in the target system.
void OpenPointsInTarget(const TRasterTab& ATab, const TRasterRun& ARun,
                        const TCoordTransform& ATransform, TGisSession& AGis) {
  const String& T = ARun.TempPath;
  if (ARun.OutCs == tcMsk89Geo) {
    AGis.miDo(L"Open Table " + Quoted(T + L"tabPnt") + L" As tabPnt");
    AGis.miCloseTable(L"tabOut");
    AGis.miDo(L"Commit Table tabPnt As " + Quoted(T + L"tabOut"));
    AGis.miCloseTable(L"tabPnt");
    AGis.miDo(L"Open Table " + Quoted(T + L"tabOut") + L" As tabOut");
    return;
  }
  if (!RasterTargetPassMif(T, ARun.OutCs, ATransform))
    throw ERasterError(TableText(ATab) + L": MapInfo не выгрузил пересчитанные точки в " +
                       Quoted(T + L"tabPnt.mif") + L".");
  ImportTabOut(AGis, T);
}

void ReadPointsBack(TRasterTab& ATab, TGisSession& AGis) {
  AGis.miDo(L"Dim O1 As Object");
  AGis.miDo(L"Dim R1 As Integer");
  AGis.miDo(L"Set CoordSys Table tabOut");
  AGis.miDo(L"Set Distance Units \"m\"");
  std::vector<bool> Seen(ATab.Lines.size());
  for (size_t K = 1; K <= ATab.Points.size(); ++K) {
    AGis.miDo(L"Fetch Rec " + IntToStr(static_cast<Integer>(K)) + L" From tabOut");
    AGis.miDo(L"O1 = tabOut.Obj");
    AGis.miDo(L"R1 = tabOut.ind");
    Integer Line = AGis.miEvalInt(L"R1");
    Double East = AGis.miEvalDbl(L"ObjectGeography(O1,1)");
    Double North = AGis.miEvalDbl(L"ObjectGeography(O1,2)");
    // A row that names no control point of this table would overwrite
    // another line of it.
    bool IsPoint = false;
    for (const TPnt& P : ATab.Points) IsPoint = IsPoint || P.ind == Line;
    if (!IsPoint || Seen[static_cast<size_t>(Line)])
      throw ERasterError(TableText(ATab) + L": точка " + IntToStr(static_cast<Integer>(K)) +
                         L" из MapInfo не соответствует контрольной точке таблицы (строка " +
                         IntToStr(Line + 1) + L").");
    Seen[static_cast<size_t>(Line)] = true;
    SetControlPoint(ATab, Line, East, North);
  }
  AGis.miDo(L"UnDim O1");
  AGis.miDo(L"UnDim R1");
}

}  // namespace

bool MakeRasterTable(const String& APath, const TRasterRun& ARun, TGisSession& AGis,
                     String& ALogLine) {
  ALogLine.clear();
  TCoordTransform Transform(ARun.Params, ARun.Formation);
  String OutFolder = OutputFolderFor(APath, ARun.InDir, ARun.OutDir);
  if (IsPathInside(OutFolder, ARun.InDir))
    throw ERasterError(L"Растровая таблица " + Quoted(APath) + L": результат был бы записан во " +
                       L"входную папку " + Quoted(OutFolder) + L".");
  if (!DirectoryExists(ExcludeTrailingPathDelimiter(OutFolder)) && !ForceDirectories(OutFolder)) {
    ALogLine = L"Не удалось создать папку (" + OutFolder + L").";
    return false;
  }
  TRasterTab Tab = ReadRasterTab(APath);
  Integer InCs = RasterInputClass(Tab);
  // MapInfo would refuse to turn such a table's points into an Earth system
  // in words of its own.
  if (InCs == icNone &&
      TableTextToString(Tab.OldClause, Tab.CodePage).find(L"NonEarth") != String::npos)
    throw ERasterError(TableText(Tab) + L": " + UnknownNonEarthClassMessage(Tab.MaxX, Tab.MaxY));
  CommitPointsInMsk89(Tab, InCs, ARun, Transform, AGis);
  OpenPointsInTarget(Tab, ARun, Transform, AGis);
  ReadPointsBack(Tab, AGis);
  WriteRasterTable(Tab, ARun.InDir, OutFolder, RasterTargetCoordSys(ARun.OutCs, ARun.Params.msk89));
  return true;
}
