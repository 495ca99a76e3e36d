#include "gkCommon.h"

#include <shlobj.h>
#include <tlhelp32.h>

namespace {
// Plain pointers: the module's values live between its start-up and
// shut-down, not as global objects.
String* FAppName = nullptr;
String* FAppVersion = nullptr;
TgkPrintEvent FOutput;

const String& EmptyText() {
  static const String Empty;
  return Empty;
}
}  // namespace

const String& AppName() { return FAppName ? *FAppName : EmptyText(); }
const String& AppVersion() { return FAppVersion ? *FAppVersion : EmptyText(); }

// ---------------------------------------------------------------------------
String GetUserFolderPath(Integer AFolderId) {
  wchar_t Buf[MAX_PATH + 1] = {};
  if (SHGetFolderPathW(nullptr, AFolderId, nullptr, SHGFP_TYPE_CURRENT, Buf) != S_OK) {
    return GetTempPath2();
  }
  return Buf;
}

String GetIniPath() {
  return Format(L"%s\\%s\\%s\\", {GetUserFolderPath(CSIDL_APPDATA), AppName(), AppVersion()});
}

String GetTempPath2() {
  wchar_t Buf[MAX_PATH + 1] = {};
  DWORD Len = GetTempPathW(MAX_PATH, Buf);
  return Len > 0 && Len <= MAX_PATH ? String(Buf, Len) : String();
}

String AddSlash(const String& AStr, Char ASlash) {
  String S = Trim(AStr);
  if (!S.empty() && S.back() != ASlash) S += ASlash;
  return S;
}

// ---------------------------------------------------------------------------
Boolean CText(const String& AStr1, const String& AStr2) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, AStr1.data(),
                        static_cast<int>(AStr1.size()), AStr2.data(),
                        static_cast<int>(AStr2.size())) == CSTR_EQUAL;
}

Boolean CText(const String& AStr, std::initializer_list<String> AArgs) {
  for (const String& S : AArgs) {
    if (CText(AStr, S)) return true;
  }
  return false;
}

Boolean FText(const String& ASubStr, const String& AStr) {
  return Pos(UCase(ASubStr), UCase(AStr)) > 0;
}

Boolean FText(std::initializer_list<String> ASubStrs, const String& AStr) {
  for (const String& S : ASubStrs) {
    if (FText(S, AStr)) return true;
  }
  return false;
}

String UCase(const String& AStr) { return AnsiUpperCase(AStr); }

String CombineStr(const String& AStr1, const String& ADelimStr, const String& AStr2) {
  if (!AStr1.empty() && !AStr2.empty()) return AStr1 + ADelimStr + AStr2;
  return AStr1.empty() ? AStr2 : AStr1;
}

Boolean StrToList(const String& AStr, TStrings* AList, const String& ADelim, Boolean ATrim,
                  Boolean ACheckQuote) {
  if (!AList) return false;
  AList->Clear();
  const String S = Trim(AStr);
  if (S.empty()) return false;
  auto AddItem = [&](Integer AStart, Integer AEnd) {
    String Item = Copy(S, AStart, AEnd - AStart);
    AList->Add(ATrim ? Trim(Item) : Item);
  };
  if (ADelim.empty()) {
    AddItem(1, Length(S) + 1);
    return true;
  }
  Integer Start = 1, From = 1;
  Boolean InQuote = false;
  for (;;) {
    Integer End = Pos(ADelim, S, From);
    if (End == 0) {
      if (Start <= Length(S)) AddItem(Start, Length(S) + 1);
      break;
    }
    if (ACheckQuote) {
      for (Integer I = From; I <= End; ++I) {
        if (S[I - 1] == L'"') InQuote = !InQuote;
      }
    }
    if (!InQuote) {
      AddItem(Start, End);
      Start = End + Length(ADelim);
    }
    From = End + Length(ADelim);
  }
  return true;
}

String FormatTickCount(Int64 Value, Boolean AMSec) {
  const Word Days = static_cast<Word>(Value / 86400000);
  Int64 Rest = Value % 86400000;
  const Word Hours = static_cast<Word>(Rest / 3600000);
  Rest %= 3600000;
  const Word Minutes = static_cast<Word>(Rest / 60000);
  Rest %= 60000;
  const Word Seconds = static_cast<Word>(Rest / 1000);
  const Word MSec = static_cast<Word>(Rest % 1000);
  String R;
  if (Days) R += Format(L"%d д ", {Days});
  if (Hours) R += Format(L"%d ч ", {Hours});
  if (Minutes) R += Format(L"%d мин ", {Minutes});
  if (Seconds) R += Format(L"%d сек ", {Seconds});
  if (AMSec && MSec) R += Format(L"%d мс ", {MSec});
  return Trim(R);
}

// ---------------------------------------------------------------------------
namespace {
// The value's text. An earlier form went through the system ANSI code page,
// which turned every Cyrillic message into question marks on a system whose
// code page lacks them; the text is kept whole instead.
String ValueText(const Variant& AVal) { return VarToStr(AVal); }

size_t ArrayDataSize(const SAFEARRAY* A) {
  size_t Count = A->cDims ? 1 : 0;
  for (USHORT D = 0; D < A->cDims; ++D) Count *= A->rgsabound[D].cElements;
  return Count * A->cbElements;
}

const SAFEARRAY* ArrayOf(const Variant& V) {
  const VARIANT& R = V.Var();
  return (R.vt & VT_BYREF) ? (R.pparray ? *R.pparray : nullptr) : R.parray;
}

Integer Sign(Int64 V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); }
}  // namespace

String Str(const Variant& AVal) {
  try {
    if (VarIsEmpty(AVal)) return L"Empty";
    if (VarIsNull(AVal)) return L"Null";
    if (VarIsArray(AVal)) {
      String R;
      for (Integer I = VarArrayLowBound(AVal, 1); I <= VarArrayHighBound(AVal, 1); ++I) {
        R += IntToStr(I) + L"." + ValueText(VarArrayGet(AVal, {I})) + L",";
      }
      if (!R.empty()) R.pop_back();
      return L"[" + R + L"]";
    }
    return ValueText(AVal);
  } catch (const Exception& E) {
    return L"Ошибка в Str(): " + E.Message();
  }
}

String V2S(const Variant& AVal) {
  if (VarIsEmpty(AVal) || VarIsNull(AVal)) return String();
  return VarToStr(AVal);
}

Boolean V2B(const Variant& AVal) {
  if (VarIsEmpty(AVal) || VarIsNull(AVal) || Trim(Str(AVal)).empty()) return false;
  try {
    return AVal.AsBoolean();
  } catch (const EVariantError&) {
  }
  if (VarIsStr(AVal)) return CText(Trim(AVal.AsString()), {L"True", L"1"});
  if (VarIsNumeric(AVal)) return AVal == Variant(1);
  return AVal.AsBoolean();
}

Variant TryVarAsType(const Variant& Value, TVarType AVarType, Boolean& ATurned) {
  try {
    Variant R = VarAsType(Value, AVarType);
    ATurned = true;
    return R;
  } catch (...) {
    ATurned = false;
    return Value;
  }
}

Variant TryVarAsType(const Variant& Value, TVarType AVarType) {
  Boolean Turned;
  return TryVarAsType(Value, AVarType, Turned);
}

Integer CompareVar(const Variant& Var1, const Variant& Var2) {
  if (VarIsEmpty(Var1)) return VarIsEmpty(Var2) ? 0 : -1;
  if (VarIsNull(Var1)) return VarIsEmpty(Var2) ? 1 : (VarIsNull(Var2) ? 0 : -1);
  if (VarIsEmpty(Var2) || VarIsNull(Var2)) return 1;
  if (VarIsArray(Var1)) {
    if (!VarIsArray(Var2)) return 1;
    const SAFEARRAY* A1 = ArrayOf(Var1);
    const SAFEARRAY* A2 = ArrayOf(Var2);
    if (!A1 || !A2) return Sign(Int64(A1 != nullptr) - Int64(A2 != nullptr));
    const size_t S1 = ArrayDataSize(A1), S2 = ArrayDataSize(A2);
    if (S1 != S2) return Sign(static_cast<Int64>(S1) - static_cast<Int64>(S2));
    if (S1 == 0) return 0;
    const Byte* P1 = static_cast<const Byte*>(A1->pvData);
    const Byte* P2 = static_cast<const Byte*>(A2->pvData);
    for (size_t I = 0; I < S1; ++I) {
      if (P1[I] != P2[I]) return P1[I] < P2[I] ? -1 : 1;
    }
    return 0;
  }
  try {
    if (Var1 < Var2) return -1;
    if (Var1 == Var2) return 0;
    return 1;
  } catch (...) {
    return 1;
  }
}

// ---------------------------------------------------------------------------
void ReRaise(const Exception& E, const String& AMessage) {
  String Message;
  if (AMessage.empty()) {
    Message = E.Message();
  } else if (FText(E.Message(), AMessage)) {
    Message = AMessage;
  } else {
    Message = AddSlash(AMessage, L':') + L" " + E.Message();
  }
  E.RaiseNew(Message);
  __builtin_unreachable();
}

String GetLastErrorEx() { return SysErrorMessage(GetLastError()); }

// ---------------------------------------------------------------------------
String GetWindowString(HWND AWnd) {
  wchar_t Buf[301] = {};
  int Len = GetWindowTextW(AWnd, Buf, 301);
  return String(Buf, Len > 0 ? static_cast<size_t>(Len) : 0);
}

String GetClassString(HWND AWnd) {
  wchar_t Buf[301] = {};
  int Len = GetClassNameW(AWnd, Buf, 301);
  return String(Buf, Len > 0 ? static_cast<size_t>(Len) : 0);
}

Integer GetPixelsPerInch() { return GetScreenDPI(); }

// ---------------------------------------------------------------------------
void SetOutput(TgkPrintEvent AOutput) { FOutput = AOutput; }
TgkPrintEvent Output() { return FOutput; }

void gkPrintRaw(const String& AStr) {
  if (FOutput) FOutput(AStr);
}

namespace {
// The line a worker thread hands to the main thread.
struct TSyncPrint {
  String Line;
  void Print() { gkPrintRaw(Line); }
};
}  // namespace

void gkPrint(const String& AStr) {
  if (GetCurrentThreadId() == MainThreadID) {
    gkPrintRaw(AStr);
    return;
  }
  // The framework keeps no thread object for the calling thread, so the
  // thread is named by its id only.
  TSyncPrint Rec{Format(L"{%s.%d} %s", {L"TThread", GetCurrentThreadId(), AStr})};
  TThread::Synchronize(nullptr, MakeEvent<&TSyncPrint::Print>(&Rec));
}

void gkPrint(const String& AFormat, std::initializer_list<TVarRec> AArgs) {
  gkPrint(Format(AFormat, AArgs));
}

// ---------------------------------------------------------------------------
void CloseProcess(DWORD AProcessId, DWORD AThreadId) {
  HANDLE Process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, AProcessId);
  PostThreadMessageW(AThreadId, WM_QUIT, 0, 0);
  if (!Process) return;
  if (WaitForSingleObject(Process, 1000) != WAIT_OBJECT_0) TerminateProcess(Process, 0);
  CloseHandle(Process);
}

Boolean ProcessExists(DWORD AProcessId) {
  HANDLE Snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0);
  if (Snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W Entry{};
  Entry.dwSize = sizeof(Entry);
  Boolean Found = false;
  for (BOOL More = Process32FirstW(Snapshot, &Entry); More && !Found;
       More = Process32NextW(Snapshot, &Entry)) {
    Found = Entry.th32ProcessID == AProcessId;
  }
  CloseHandle(Snapshot);
  return Found;
}

// ---------------------------------------------------------------------------
String SaveWindowPosition(HWND AWnd) {
  WINDOWPLACEMENT P{};
  P.length = sizeof(P);
  if (!GetWindowPlacement(AWnd, &P)) return String();
  const RECT& R = P.rcNormalPosition;
  return Format(L"%d,%d,%d,%d,%d",
                {R.left, R.top, R.right, R.bottom, P.showCmd == SW_SHOWMAXIMIZED ? 2 : 1});
}

Boolean ExtractWindowPosition(const String& AStr, RECT& ARect, Integer& AFlag) {
  if (AStr.empty()) return false;
  TOwned<TStringList> Items = MakeOwned<TStringList>();
  StrToList(AStr, Items.get(), L",", true, true);
  if (Items->Count() < 4) return false;
  ARect.left = StrToInt(Items->Get(0));
  ARect.top = StrToInt(Items->Get(1));
  ARect.right = StrToInt(Items->Get(2));
  ARect.bottom = StrToInt(Items->Get(3));
  AFlag = Items->Count() > 4 ? StrToInt(Items->Get(4)) : 1;
  return true;
}

namespace {
BOOL CALLBACK FindPrimaryMonitor(HMONITOR AMonitor, HDC, LPRECT, LPARAM AData) noexcept {
  MONITORINFO Info{};
  Info.cbSize = sizeof(Info);
  if (GetMonitorInfoW(AMonitor, &Info) && (Info.dwFlags & MONITORINFOF_PRIMARY)) {
    *reinterpret_cast<HMONITOR*>(AData) = AMonitor;
    return FALSE;
  }
  return TRUE;
}

RECT WorkAreaFor(const RECT& ARect) {
  HMONITOR Monitor = MonitorFromRect(&ARect, MONITOR_DEFAULTTONULL);
  if (!Monitor) Monitor = MonitorFromRect(&ARect, MONITOR_DEFAULTTOPRIMARY);
  if (!Monitor)
    EnumDisplayMonitors(nullptr, nullptr, &FindPrimaryMonitor, reinterpret_cast<LPARAM>(&Monitor));
  MONITORINFO Info{};
  Info.cbSize = sizeof(Info);
  if (Monitor && GetMonitorInfoW(Monitor, &Info)) return Info.rcWork;
  RECT W{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &W, 0);
  return W;
}
}  // namespace

void CheckWindowPosition(RECT& ARect, Boolean AInputWorkspaceCoords,
                         Boolean AOutputWorkspaceCoords) {
  const RECT W = WorkAreaFor(ARect);
  if (AInputWorkspaceCoords) OffsetRect(&ARect, W.left, W.top);
  if (W.right - W.left < ARect.right - ARect.left) ARect.right = ARect.left + (W.right - W.left);
  if (W.bottom - W.top < ARect.bottom - ARect.top) ARect.bottom = ARect.top + (W.bottom - W.top);
  if (ARect.left < W.left) OffsetRect(&ARect, W.left - ARect.left, 0);
  if (ARect.top < W.top) OffsetRect(&ARect, 0, W.top - ARect.top);
  if (ARect.right > W.right) OffsetRect(&ARect, W.right - ARect.right, 0);
  if (ARect.bottom > W.bottom) OffsetRect(&ARect, 0, W.bottom - ARect.bottom);
  if (AOutputWorkspaceCoords) OffsetRect(&ARect, -W.left, -W.top);
}

void LoadWindowPosition(HWND AWnd, const String& AStr, Boolean AMaximize) {
  RECT R{};
  Integer Flag = 1;
  if (!ExtractWindowPosition(AStr, R, Flag)) return;
  CheckWindowPosition(R, true, true);
  if (!AMaximize) Flag = 1;
  WINDOWPLACEMENT P{};
  P.length = sizeof(P);
  P.flags = 0;
  P.showCmd = Flag == 2 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  P.ptMinPosition = POINT{0, 0};
  P.ptMaxPosition = POINT{0, 0};
  P.rcNormalPosition = R;
  SetWindowPlacement(AWnd, &P);
}

// ---------------------------------------------------------------------------
// Fonts and cursors (gkCommon_Desktop.cpp).
void gkCommonDesktop_Initialize();
void gkCommonDesktop_Finalize();

void gkCommon_Initialize() {
  if (!FAppName) FAppName = new String(L"Vosk");
  if (!FAppVersion) FAppVersion = new String(L"5.0");
  FOutput = nullptr;
  gkCommonDesktop_Initialize();
}

void gkCommon_Finalize() {
  gkCommonDesktop_Finalize();
  FOutput = nullptr;
  delete FAppName;
  FAppName = nullptr;
  delete FAppVersion;
  FAppVersion = nullptr;
}
