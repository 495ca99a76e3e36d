// The run: every table found, then the queued rasters, and a log that always
// says how the run ended.
#include "Pelmora.h"
#include "WinHandles.h"

namespace {

void Log(const TVectorRun& ARun, const String& AText) {
  if (ARun.OnLog) ARun.OnLog(AText, true);
}

// Where a run stands: the tables it has not finished yet, in the order it
// would have taken them.
class TRunState {
 public:
  TRunState(const std::vector<String>& AFiles, const TVectorRun& ARun)
      : FFiles(AFiles), FRun(ARun) {}

  void VectorPhase(TFeatureCounter& ACounter, TGisFactory& AGis, TRunProgress& AProgress) {
    AProgress.Open(L"Пересчет координат", static_cast<Int64>(FFiles.size()));
    auto Close = Finally([&] { AProgress.Close(); });
    for (; FNextFile < FFiles.size(); ++FNextFile) {
      AProgress.Next(FFiles[FNextFile]);
      ConvTable(FFiles[FNextFile], FRun, ACounter, AGis, FRasters);
    }
    AProgress.SetMax(0);
  }

  void RasterPhase(TGisFactory& AGis, TRunProgress& AProgress) {
    if (FRasters.empty()) {
      if (FRun.OnLog) FRun.OnLog(L"Нет растров", false);
      return;
    }
    if (FRun.OnLog) FRun.OnLog(L"Есть растры", false);
    FInRasters = true;
    TRasterRun R;
    R.InDir = FRun.InDir;
    R.OutDir = FRun.OutDir;
    R.TempPath = FRun.TempPath;
    R.OutCs = FRun.OutCs;
    R.Params = FRun.Params;
    R.Formation = FRun.Formation;
    std::unique_ptr<TGisSession> Session = AGis.miCreateMapInfo();
    AProgress.Open(L"Пересчет растровых таблиц", static_cast<Int64>(FRasters.size()));
    {
      auto Close = Finally([&] { AProgress.Close(); });
      Session->miDo(L"Set ProgressBars Off");
      for (; FNextRaster < FRasters.size(); ++FNextRaster) {
        AProgress.Next(FRasters[FNextRaster]);
        String Line;
        if (!MakeRasterTable(FRasters[FNextRaster], R, *Session, Line)) Log(FRun, Line);
      }
      AProgress.SetMax(0);
    }
    Session.reset();  // ends the instance
  }

  // The tables not finished: in the vector phase the current file and those
  // after it, and every raster queued so far; in the raster phase the
  // current raster and those after it.
  std::vector<String> NotProcessed() const {
    std::vector<String> R;
    if (!FInRasters)
      R.assign(FFiles.begin() + static_cast<std::ptrdiff_t>(FNextFile), FFiles.end());
    R.insert(R.end(), FRasters.begin() + static_cast<std::ptrdiff_t>(FNextRaster), FRasters.end());
    return R;
  }

 private:
  const std::vector<String>& FFiles;
  const TVectorRun& FRun;
  std::vector<String> FRasters;
  size_t FNextFile = 0;
  size_t FNextRaster = 0;
  bool FInRasters = false;
};

}  // namespace

String NotProcessedLine(const std::vector<String>& ATables) {
  if (ATables.empty()) return L"Все найденные таблицы обработаны.";
  String S = ATables.size() == 1 ? L"Не обработана таблица: " : L"Не обработаны таблицы: ";
  for (size_t I = 0; I < ATables.size(); ++I) S += (I ? L"; " : L"") + ATables[I];
  return S + L".";
}

void RunTables(const std::vector<String>& AFiles, const TVectorRun& ARun, TFeatureCounter& ACounter,
               TGisFactory& AGis, TRunProgress& AProgress) {
  TRunState State(AFiles, ARun);
  try {
    State.VectorPhase(ACounter, AGis, AProgress);
    State.RasterPhase(AGis, AProgress);
  } catch (EAbort&) {
    // A folder half written must not look finished.
    Log(ARun, NotProcessedLine(State.NotProcessed()));
    Log(ARun, RunCancelledLine);
    throw;
  } catch (Exception& E) {
    Log(ARun, E.Message());
    Log(ARun, NotProcessedLine(State.NotProcessed()));
    Log(ARun, RunFailedLine);
    throw;
  } catch (std::exception&) {
    Log(ARun, NotProcessedLine(State.NotProcessed()));
    Log(ARun, RunFailedLine);
    throw;
  }
  Log(ARun, RunFinishedLine);
}
