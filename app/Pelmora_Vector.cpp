#include "Pelmora.h"
#include "WinCompat.h"

namespace {

String Quoted(const String& S) { return L"\"" + S + L"\""; }

String TableText(const String& APath) { return L"Таблица " + Quoted(APath) + L": "; }

void Log(const TVectorRun& ARun, const String& AText, Boolean AScrolled) {
  if (ARun.OnLog) ARun.OnLog(AText, AScrolled);
}

void Diagnose(const TVectorRun& ARun, const String& AText) {
  if (ARun.Diagnostics) Log(ARun, AText, true);
}

String OpenSourceStatement(const String& APath) {
  return L"Open Table " + Quoted(APath) + L" As tab1";
}

String ExportStatement(const String& AAlias, const String& ATempPath) {
  return L"Export " + AAlias + L" Into " + Quoted(ATempPath + L"tab1.mif") +
         L" Type \"MIF\" OverWrite";
}

// A work file of an earlier table must never pass for this table's export.
void ForgetExport(const String& ATempPath) { DeleteFileW((ATempPath + L"tab1.mif").c_str()); }

void RequireExport(const String& APath, const String& ATempPath) {
  if (!FileExists(ATempPath + L"tab1.mif"))
    throw ETableError(TableText(APath) + L"MapInfo не выгрузил таблицу в " +
                      Quoted(ATempPath + L"tab1.mif") + L".");
}

// ---------------------------------------------------------------------------
// Commit passes.

class TVectorPasses {
 public:
  TVectorPasses(const String& APath, const TVectorRun& ARun, TGisSession& AGis,
                const String& AOutTable)
      : FPath(APath),
        FRun(ARun),
        FGis(AGis),
        FTemp(ARun.TempPath),
        FOut(AOutTable),
        FTransform(ARun.Params, ARun.Formation) {}

  // Whether a statement that writes the output table has been sent.
  bool OutputTouched() const { return FTouched; }

  // AExported holds the rows to recalculate: the source table, or the rows
  // the row-range search kept.
  void FirstPass(Integer AInCs, const String& AExported) {
    if (AInCs < icLocal || AInCs > icSk63) {
      String Commit = L"Commit Table " + AExported + L" As " + Quoted(FOut) + Msk89Tail();
      Log(FRun, Commit, false);
      WriteOutput(Commit);
      return;
    }
    RequireExport(FPath, FTemp);
    bool Msk89 = AInCs == icLocal || AInCs == icMsk89;
    AnsiString Clause =
        "CoordSys Earth Projection " + StringToAnsi(Msk89 ? FRun.Params.msk89 : FRun.Params.sk63);
    if (AInCs == icLocal || AInCs == icShift)
      RewriteMifFile(Work(L"tab1.mif"), Work(L"tabOut.mif"), Clause, FTransform, AInCs);
    else
      CopyMifFileWithCoordSys(Work(L"tab1.mif"), Work(L"tabOut.mif"), Clause);
    CopyMidFile(Work(L"tab1.mid"), Work(L"tabOut.mid"));
    ImportTabOut();
    if (Msk89) {
      WriteOutput(L"Commit Table tabOut As " + Quoted(FOut));
      FGis.miCloseTable(L"tabOut");
      return;
    }
    // MapInfo changes the projection only when a table is committed from
    // its SK-63 zone into the MSK-89 one.
    FGis.miCloseTable(L"tab63");
    FGis.miDo(L"Commit Table tabOut As " + Quoted(Work(L"tab63")));
    FGis.miCloseTable(L"tabOut");
    FGis.miDo(L"Open Table " + Quoted(Work(L"tab63")) + L" As tab63");
    WriteOutput(L"Commit Table tab63 As " + Quoted(FOut) + Msk89Tail());
    FGis.miCloseTable(L"tab63");
  }

  void SecondPass() {
    Log(FRun, Format(L"outCs %d", {FRun.OutCs}), false);
    if (FRun.OutCs != tcMsk89Plan && FRun.OutCs != tcOldConditional) return;
    FGis.miCloseTable(L"tab89");
    ForgetExport(FTemp);
    FGis.miDo(L"Open Table " + Quoted(FOut) + L" As tab89");
    FGis.miDo(ExportStatement(L"tab89", FTemp));
    FGis.miCloseTable(L"tab89");
    RequireExport(FPath, FTemp);
    if (FRun.OutCs == tcMsk89Plan)
      CopyMifFileWithCoordSys(Work(L"tab1.mif"), Work(L"tabOut.mif"), NonEarthMifClause);
    else
      RewriteMifFile(Work(L"tab1.mif"), Work(L"tabOut.mif"), NonEarthSignedMifClause, FTransform,
                     tsInverse);
    CopyMidFile(Work(L"tab1.mid"), Work(L"tabOut.mid"));
    ImportTabOut();
    WriteOutput(L"Commit Table tabOut As " + Quoted(FOut));
    FGis.miCloseTable(L"tabOut");
  }

  // Frees the output table in the GIS program, so that its files can go.
  void CloseTables() {
    for (const wchar_t* A : {L"tabOut", L"tab63", L"tab89"}) FGis.miCloseTable(A);
  }

 private:
  String Work(const wchar_t* AName) const { return FTemp + AName; }
  String Msk89Tail() const { return L" CoordSys Earth Projection " + FRun.Params.msk89; }

  void ImportTabOut() {
    FGis.miCloseTable(L"tabOut");
    FGis.miDo(L"Import " + Quoted(Work(L"tabOut.mif")) + L" Type \"MIF\" Into " +
              Quoted(Work(L"tabOut")) + L" OverWrite");
  }

  void WriteOutput(const String& AStatement) {
    FTouched = true;
    FGis.miDo(AStatement);
  }

  const String& FPath;
  const TVectorRun& FRun;
  TGisSession& FGis;
  const String& FTemp;
  const String& FOut;
  TCoordTransform FTransform;
  bool FTouched = false;
};

// The files a native table is made of. Returns false when one of them could
// not be removed.
bool RemoveTableFiles(const String& ATable) {
  bool Ok = true;
  for (const wchar_t* Ext : {L".tab", L".dat", L".map", L".id", L".ind"}) {
    String F = ChangeFileExt(ATable, Ext);
    if (FileExists(F) && !DeleteFileW(F.c_str())) Ok = false;
  }
  return Ok;
}

// ---------------------------------------------------------------------------
// Row-range search.

struct Tseg {
  Integer start_ = 0;
  Integer end_ = 0;
};

class TRowRangeSearch {
 public:
  TRowRangeSearch(const String& APath, const TVectorRun& ARun, TGisFactory& AGis)
      : FPath(APath), FRun(ARun), FGis(AGis) {}

  // Returns whether every row was tried within the attempts and some range
  // exported; the exportable ranges are then those of Condition(). A search cut short
  // by the attempt limit exports nothing: rows it never tried would be
  // missing from the output without a word.
  bool Run() {
    FRows = CountRows();
    Integer lo = 1, hi = FRows;
    FGood.clear();
    bool Finished = false;
    for (Integer i = 1; i <= MaxRowRangeAttempts && !Finished; ++i) {
      std::unique_ptr<TGisSession> S = FGis.miCreateMapInfo();
      String Error;
      if (!Attempt(*S, lo, hi, Error)) {
        Diagnose(FRun, Format(L"%d от %d до %d (%s)", {i, lo, hi, Error}));
        S.reset();
        Narrow(lo, hi);
        Finished = lo > FRows;
        continue;
      }
      Diagnose(FRun, Format(L"%d от %d до %d успешно", {i, lo, hi}));
      FGood.push_back({lo, hi});
      Finished = hi >= FRows;
      if (!Finished) NextRange(lo, hi);
    }
    if (!Finished || FGood.empty()) return false;
    Diagnose(FRun,
             Format(L"Успешно завершен от %d до %d", {FGood.back().start_, FGood.back().end_}));
    Merge();
    return true;
  }

  // "(rowID>=a and rowId <=b) or ..." over the merged ranges.
  String Condition() const {
    String C;
    for (size_t K = 0; K < FGood.size(); ++K) {
      if (!C.empty()) C += L" or ";
      Diagnose(FRun, Format(L"Итого %d от %d до %d",
                            {static_cast<Integer>(K), FGood[K].start_, FGood[K].end_}));
      C += Format(L"(rowID>=%d and rowId <=%d)", {FGood[K].start_, FGood[K].end_});
    }
    return C;
  }

 private:
  Integer CountRows() {
    std::unique_ptr<TGisSession> S = FGis.miCreateMapInfo();
    S->miDo(OpenSourceStatement(FPath));
    S->miDo(L"Set ProgressBars Off");
    return S->miEvalInt(Format(L"TableInfo(tab1,%d)", {8}));
  }

  // Attempts go to the work folder: the source folder is input and stays
  // as it was.
  bool Attempt(TGisSession& S, Integer lo, Integer hi, String& AError) {
    try {
      S.miDo(OpenSourceStatement(FPath));
      S.miDo(L"Set ProgressBars Off");
      S.miDo(Format(L"Select * From tab1 Where RowId>=%d And RowId <=%d Into tab2 NoSelect",
                    {lo, hi}));
      S.miDo(ExportStatement(L"tab2", FRun.TempPath));
      return true;
    } catch (EAbort&) {
      throw;
    } catch (Exception& E) {
      AError = E.Message();
      return false;
    }
  }

  static void Narrow(Integer& lo, Integer& hi) {
    if (lo + 1 < hi) {
      hi = (lo + hi) / 2;
      if (hi == lo) {
        lo = hi + 1;
        hi = hi + 1;
      }
    } else if (lo + 1 == hi) {
      // The lower row alone first: skipping to the upper one would drop the
      // lower row from the output whenever only the upper one is broken.
      hi = lo;
    } else {
      lo = hi + 1;
      hi = hi + 1;
    }
  }

  void NextRange(Integer& lo, Integer& hi) const {
    Integer nextLo = hi + 1, nextHi = FRows;
    for (const Tseg& G : FGood) {
      if (G.start_ < G.end_) {
        if (G.start_ <= nextLo) nextLo = G.end_ + 1;
        if (nextLo > FRows) nextLo = FRows;
        if (G.start_ >= nextHi) nextHi = G.start_ - 1;
        if (nextHi < 1) nextHi = hi;
      } else if (G.start_ == G.end_) {
        nextLo = G.end_ + 1;
        nextHi = FRows;
      }
      if (nextHi < nextLo) break;
    }
    lo = nextLo;
    hi = nextHi;
  }

  void Merge() {
    for (size_t K = FGood.size(); K-- > 1;) {
      if (FGood[K].start_ == FGood[K - 1].end_ + 1) {
        FGood[K - 1].end_ = FGood[K].end_;
        FGood.erase(FGood.begin() + static_cast<std::ptrdiff_t>(K));
      }
    }
  }

  const String& FPath;
  const TVectorRun& FRun;
  TGisFactory& FGis;
  Integer FRows = 0;
  std::vector<Tseg> FGood;
};

// The table's rows, or the condition's rows, exported and recalculated in one
// instance.
void ExportAndMake(const String& APath, const TVectorRun& ARun, TGisFactory& AGis,
                   const String& ACondition) {
  std::unique_ptr<TGisSession> S = AGis.miCreateMapInfo();
  ForgetExport(ARun.TempPath);
  S->miDo(OpenSourceStatement(APath));
  S->miDo(L"Set ProgressBars Off");
  String Exported = L"tab1";
  if (!ACondition.empty()) {
    S->miDo(L"Select * From tab1 Where " + ACondition + L" Into tab2 NoSelect");
    Exported = L"tab2";
  }
  S->miDo(ExportStatement(Exported, ARun.TempPath));
  MakeVectorTable(APath, ARun, *S, Exported);
}

// The feature library and the GIS program take 8-bit file names. A folder
// the system's code page cannot spell reaches them in its short form, but a
// table's own name cannot: its companion files would be looked for under
// names nobody made.
void CheckNameFitsCodePage(const String& APath) {
  String Name = ExtractFileName(APath);
  BOOL Lost = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Name.c_str(), static_cast<int>(Name.size()),
                      nullptr, 0, nullptr, &Lost);
  if (Lost)
    throw ETableError(TableText(APath) + L"в имени файла " + Quoted(Name) +
                      L" есть буквы, которых нет в кодовой странице системы (" +
                      IntToStr(static_cast<Integer>(GetACP())) +
                      L"), поэтому MapInfo и библиотека MITAB не могут открыть таблицу. "
                      L"Переименуйте таблицу (все ее файлы) латинскими буквами или выполните "
                      L"пересчет в системе с кодовой страницей, в которой есть эти буквы.");
}

void ConvVectorTable(const String& APath, const TVectorRun& ARun, TFeatureCounter& ACounter,
                     TGisFactory& AGis) {
  CheckNameFitsCodePage(APath);
  std::vector<Integer> Broken;
  Integer Good = ACounter.GetValidRowCount(APath, Broken);
  Log(ARun, Format(L"Нормальных: %d, Битых: %d.", {Good, static_cast<Integer>(Broken.size())}),
      true);
  if (Broken.empty()) return ExportAndMake(APath, ARun, AGis, String());
  TRowRangeSearch Search(APath, ARun, AGis);
  if (!Search.Run()) {
    Log(ARun, L"Завершен с ошибками", true);
    return;
  }
  ExportAndMake(APath, ARun, AGis, Search.Condition());
}

}  // namespace

bool CanWriteFile(const String& AFileName, String& AWhy) {
  bool Existed = GetFileAttributesW(AFileName.c_str()) != INVALID_FILE_ATTRIBUTES;
  // Opened for writing without a change: an existing file stays as it is.
  HANDLE H = CreateFileW(AFileName.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (H == INVALID_HANDLE_VALUE) {
    AWhy = SysErrorMessage(GetLastError());
    return false;
  }
  CloseHandle(H);
  if (!Existed) DeleteFileW(AFileName.c_str());
  return true;
}

void CheckOutputTableWritable(const String& ATablePath) {
  for (const wchar_t* Ext : {L".tab", L".dat", L".map", L".id", L".ind"}) {
    String F = ChangeFileExt(ATablePath, Ext), Why;
    if (!CanWriteFile(F, Why))
      throw ETableError(L"не удалось создать файл результата " + Quoted(F) + L": " + Why);
  }
}

bool MakeVectorTable(const String& APath, const TVectorRun& ARun, TGisSession& AGis,
                     const String& AExported) {
  String OutFolder = OutputFolderFor(APath, ARun.InDir, ARun.OutDir);
  if (IsPathInside(OutFolder, ARun.InDir))
    throw ETableError(TableText(APath) + L"результат был бы записан во входную папку " +
                      Quoted(OutFolder) + L".");
  if (!DirectoryExists(ExcludeTrailingPathDelimiter(OutFolder)) && !ForceDirectories(OutFolder)) {
    Log(ARun, Format(L"Не удалось создать папку (%s).", {OutFolder}), false);
    return false;
  }
  String OutTable = OutFolder + ExtractFileName(APath);
  TVectorPasses Passes(APath, ARun, AGis, OutTable);

  AGis.miDo(L"Set CoordSys Table tab1");
  AGis.miDo(L"Set Distance Units \"m\"");
  String Clause = AGis.miEval(Format(L"TableInfo(tab1,%d)", {29}));
  Log(ARun, Clause, false);
  Double Bounds[4];
  const Integer Codes[4] = {20, 22, 21, 23};  // minx, maxx, miny, maxy
  for (int I = 0; I < 4; ++I) Bounds[I] = AGis.miEvalDbl(Format(L"TableInfo(tab1,%d)", {Codes[I]}));
  Log(ARun, Format(L"%15.2f %15.2f %15.2f %15.2f", {Bounds[0], Bounds[1], Bounds[2], Bounds[3]}),
      false);
  Integer InCs = DetectInputClass(Clause, Bounds[1], Bounds[3]);
  Log(ARun, Format(L"Тип входной СК %d", {InCs}), false);
  // MapInfo would refuse to put such a table into an Earth system in words
  // of its own.
  if (InCs == icNone && Clause.find(L"NonEarth") != String::npos)
    throw ETableError(TableText(APath) + UnknownNonEarthClassMessage(Bounds[1], Bounds[3]));
  CheckOutputTableWritable(OutTable);

  try {
    Passes.FirstPass(InCs, AExported);
    Passes.SecondPass();
  } catch (Exception& E) {
    // A table left half-written would look finished.
    if (Passes.OutputTouched()) {
      Passes.CloseTables();
      if (!RemoveTableFiles(OutTable))
        E.RaiseNew(E.Message() + L" Не удалось удалить неполный результат " + Quoted(OutTable) +
                   L".");
    }
    throw;
  } catch (...) {
    if (Passes.OutputTouched()) {
      Passes.CloseTables();
      RemoveTableFiles(OutTable);
    }
    throw;
  }
  return true;
}

void ConvTable(const String& APath, const TVectorRun& ARun, TFeatureCounter& ACounter,
               TGisFactory& AGis, std::vector<String>& ARasters) {
  Log(ARun, APath, true);
  try {
    if (IsRasterTab(APath)) {
      if (ARun.OnHeader) ARun.OnHeader(L"Растровая таблица");
      Log(ARun, L"Растровая таблица", true);
      ARasters.push_back(APath);
      return;
    }
    if (ARun.OnHeader) ARun.OnHeader(L"Векторная таблица");
    Log(ARun, L"Векторная таблица", true);
    // The work files are written over and over during a run.
    if (IsPathInside(ARun.TempPath, ARun.InDir))
      throw ETableError(TableText(APath) + L"рабочая папка " + Quoted(ARun.TempPath) +
                        L" находится во входной папке.");
    ConvVectorTable(APath, ARun, ACounter, AGis);
  } catch (EAbort&) {
    throw;
  } catch (Exception& E) {
    if (E.Message().rfind(TableText(APath), 0) == 0) throw;
    E.RaiseNew(TableText(APath) + E.Message());
  }
}
