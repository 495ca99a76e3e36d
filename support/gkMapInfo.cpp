#include "gkMapInfo.h"

#include "ComObj.h"
#include "gkAppControl.h"

Boolean CheckDBMS = true;
Boolean OracleDBMSType = false;
Boolean FPrintOnCommand = false;

namespace {
const wchar_t* const SProgID = L"MapInfo.Application";
const wchar_t* const SServicesMbx = L"miServices.mbx";
const wchar_t* const SNoPenFnt = L"Не найдены файлы PEN, FNT.";
const wchar_t* const SNoODBC = L"Поддержка MapInfo ODBC не установлена.";
const wchar_t* const SNoOracle = L"Поддержка MapInfo Oracle Spatial не установлена.";
const wchar_t* const SMbxNameEmpty = L"Имя приложения MapInfo пустое.";
const wchar_t* const SMapInfoNotFound = L"Приложение MapInfo не найдено.";
const wchar_t* const STooManyPensRu = L"Файл стиля линий включает слишком много типов линий.";
const wchar_t* const STooManyPensEn = L"The pen style file contains too many pens.";

TComPtr<IDispatch> DefaultCreateObject(const String& AProgID) { return CreateOleObject(AProgID); }

TmiCreateObjectProc FCreateObjectProc = &DefaultCreateObject;
// One reference of its own while connected.
IDispatch* FMapInfo = nullptr;
HWND FMapInfoWnd = nullptr;

void SetConnection(TComPtr<IDispatch> ADisp) {
  IDispatch* Old = FMapInfo;
  FMapInfo = ADisp.Detach();
  if (Old) Old->Release();
}

// MapBasic literals are locale-independent.
String FormatStatement(const String& ACommand, std::initializer_list<TVarRec> Args) {
  return Format(TFormatSettings::Invariant(), ACommand, Args);
}

HWND WndFromInt(Integer AValue) { return reinterpret_cast<HWND>(static_cast<NativeInt>(AValue)); }
}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkMapInfoCreateThread)

TgkMapInfoCreateThread::TgkMapInfoCreateThread(Boolean CreateSuspended) : TThread(CreateSuspended) {
  SetFreeOnTerminate(true);
}

Boolean TgkMapInfoCreateThread::NoPenFntFound() const {
  return InterlockedCompareExchange(const_cast<LONG*>(&FNoPenFntFound), 0, 0) != 0;
}

void TgkMapInfoCreateThread::Execute() {
  InterlockedExchange(&FNoPenFntFound, 0);
  while (!Terminated()) {
    Sleep(100);
    if (Terminated()) break;
    try {
      CloseMapInfoDialog(FindMapInfoDialog());
    } catch (...) {
    }
  }
}

HWND TgkMapInfoCreateThread::FindMapInfoDialog() {
  FFound = nullptr;
  EnumWindows(&TgkMapInfoCreateThread::EnumTopLevel, reinterpret_cast<LPARAM>(this));
  return FFound;
}

BOOL CALLBACK TgkMapInfoCreateThread::EnumChild(HWND AWnd, LPARAM AData) {
  try {
    if (CText(GetClassString(AWnd), L"Static") &&
        CText(GetWindowString(AWnd), {STooManyPensRu, STooManyPensEn})) {
      *reinterpret_cast<Boolean*>(AData) = true;
      return FALSE;
    }
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

BOOL CALLBACK TgkMapInfoCreateThread::EnumTopLevel(HWND AWnd, LPARAM AData) {
  auto* Self = reinterpret_cast<TgkMapInfoCreateThread*>(AData);
  try {
    const String Text = GetWindowString(AWnd);
    const String ClassName = GetClassString(AWnd);
    if (CText(Text, L"MapInfo") && CText(ClassName, {L"#32770", L"xvt320mditask100"})) {
      Boolean TooManyPens = false;
      EnumChildWindows(AWnd, &TgkMapInfoCreateThread::EnumChild,
                       reinterpret_cast<LPARAM>(&TooManyPens));
      if (!TooManyPens) return TRUE;
      Self->FFound = AWnd;
      return FALSE;
    }
    if (FText({L"MAPINFOW.FNT", L"MAPINFOW.PEN"}, Text) && CText(ClassName, L"#32770")) {
      InterlockedExchange(&Self->FNoPenFntFound, 1);
      Self->FFound = AWnd;
      return FALSE;
    }
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

Boolean TgkMapInfoCreateThread::CloseMapInfoDialog(HWND Wnd) {
  if (!Wnd) return false;
  return SendMessageW(Wnd, WM_CLOSE, 2, 0) == 0;
}

// ---------------------------------------------------------------------------
void miSetCreateObjectProc(TmiCreateObjectProc AProc) {
  FCreateObjectProc = AProc ? AProc : &DefaultCreateObject;
}

namespace {
// The watchdog is not waited for: it ends after its current sleep and frees
// itself.
void StopWatchdog(TgkMapInfoCreateThread* AWatchdog) {
  if (AWatchdog->NoPenFntFound()) gkPrint(SNoPenFnt);
  AWatchdog->Terminate();
}
}  // namespace

void miCreateMapInfo() {
  TgkMapInfoCreateThread* Watchdog = Create<TgkMapInfoCreateThread>(false);
  {
    auto Stop = Finally([&] { StopWatchdog(Watchdog); });
    SetConnection(FCreateObjectProc(SProgID));
  }
  DispatchPut(FMapInfo, L"Visible", Variant(false));
  FMapInfoWnd = WndFromInt(miEvalInt(L"SystemInfo(9)"));
  const String FullName = VarToStr(DispatchGet(FMapInfo, L"FullName"));
  if (CheckDBMS) {
    const String Library = OracleDBMSType ? L"MIDLOCI.DLL" : L"MIDLODBC.DLL";
    if (!FileExists(ExtractFilePath(FullName) + Library)) {
      throw EMapinfo(OracleDBMSType ? SNoOracle : SNoODBC);
    }
  }
}

void miCloseMapInfoServer() {
  try {
    if (FMapInfo) {
      try {
        IDispatch* NoCallback = nullptr;
        DispatchCall(FMapInfo, L"SetCallback", {Variant(NoCallback)});
      } catch (...) {
      }
      DispatchCall(FMapInfo, L"Do", {Variant(L"End MapInfo")});
    }
  } catch (...) {
  }
  if (MiAppControl()) MiAppControl()->CloseProcessByWnd(FMapInfoWnd);
  SetConnection(nullptr);
  FMapInfoWnd = nullptr;
}

Boolean miOpened() {
  if (!FMapInfo) return false;
  try {
    FMapInfoWnd = WndFromInt(miEvalInt(L"SystemInfo(9)"));
    return true;
  } catch (...) {
    FMapInfoWnd = nullptr;
    return false;
  }
}

HWND miMapInfoWnd() { return FMapInfoWnd; }

// ---------------------------------------------------------------------------
void miDo(const String& ACommand, Boolean APrintOnCommand) {
  try {
    if (FPrintOnCommand || APrintOnCommand) gkPrint(L"miDo: ACommand (%s)", {ACommand});
    if (!ACommand.empty() && ACommand[0] == L'#') {
      mbDo(ACommand, SServicesMbx);
    } else {
      DispatchCall(FMapInfo, L"Do", {Variant(ACommand)});
    }
  } catch (const Exception& E) {
    // Closing what is not open is routine; its error is not worth a trace.
    if (!FText({L"Undim", L"Close Window", L"Close Table"}, ACommand)) {
      gkPrint(L"miDo Error (%s), Command (%s)", {E.Message(), ACommand});
    }
    ReRaise(E);
  }
}

void miDo(const String& ACommand, std::initializer_list<TVarRec> Args, Boolean APrintOnCommand) {
  miDo(FormatStatement(ACommand, Args), APrintOnCommand);
}

void mbDo(const String& ACommand, const String& AMbxName) {
  const String Info = Format(L"mbDo: ACommand (%s), AMbxName (%s)", {ACommand, AMbxName});
  try {
    if (FPrintOnCommand) gkPrint(Info);
    const TComPtr<IDispatch> App = VarToDispatch(miGetMbx(AMbxName));
    if (App) DispatchCall(App.Get(), L"Do", {Variant(ACommand)});
    if (FPrintOnCommand) gkPrint(L"mbDo Done.");
  } catch (const Exception& E) {
    if (!FPrintOnCommand) gkPrint(Info);
    gkPrint(L"mbDo Error: " + E.Message());
    ReRaise(E);
  }
}

Variant miGetMbx(const String& AMbxName) {
  Variant Result;
  const String Info = Format(L"miGetMbx (AMbxName=%s)", {AMbxName});
  try {
    if (AMbxName.empty()) {
      gkPrint(SMbxNameEmpty);
      return Result;
    }
    if (!miOpened()) throw Exception(SMapInfoNotFound);
    const TComPtr<IDispatch> Apps = VarToDispatch(DispatchGet(FMapInfo, L"MBApplications"));
    Variant Item = DispatchCall(Apps.Get(), L"Item", {Variant(AMbxName)});
    if (VarToDispatch(Item)) Result = Item;
  } catch (const Exception& E) {
    gkPrint(Info);
    gkPrint(L"miGetMbx Error: " + E.Message());
    ReRaise(E);
  }
  return Result;
}

String miEval(const String& ACommand) {
  try {
    if (FPrintOnCommand) gkPrint(L"miEval: ACommand (%s)", {ACommand});
    const String Result = VarToStr(DispatchCall(FMapInfo, L"Eval", {Variant(ACommand)}));
    if (FPrintOnCommand) gkPrint(L"miEval Done. Result (%s)", {Result});
    return Result;
  } catch (const Exception& E) {
    if (!FText(L"TableInfo", ACommand)) {
      gkPrint(L"miEval Error (%s), Command (%s)", {E.Message(), ACommand});
    }
    ReRaise(E);
  }
}

String miEval(const String& ACommand, std::initializer_list<TVarRec> Args) {
  return miEval(FormatStatement(ACommand, Args));
}

Integer miEvalInt(const String& ACommand) { return StrToInt(miEval(ACommand)); }

Integer miEvalInt(const String& ACommand, std::initializer_list<TVarRec> Args) {
  return StrToInt(miEval(ACommand, Args));
}

Double miEvalDbl(const String& ACommand) {
  return static_cast<Double>(StrToFloat(miEval(ACommand)));
}

Double miEvalDbl(const String& ACommand, std::initializer_list<TVarRec> Args) {
  return static_cast<Double>(StrToFloat(miEval(ACommand, Args)));
}

void miCloseTable(const String& ATableName) {
  if (ATableName.empty()) return;
  try {
    miDo(Format(L"Close Table %s", {ATableName}));
  } catch (...) {
  }
}

// ---------------------------------------------------------------------------
void gkMapInfo_Initialize() {
  CheckDBMS = true;
  OracleDBMSType = false;
  FPrintOnCommand = false;
}

// Releases the references without ending the instance.
void gkMapInfo_Finalize() {
  SetConnection(nullptr);
  FMapInfoWnd = nullptr;
}
