// Looks at the program's windows from outside, the way a screen reader would, for the
// acceptance scripts. Runs under the same Wine prefix and wineserver as the program.
//   winprobe state            JSON: every top-level window (with its child windows and their
//                             texts) and every process of the prefix
//   winprobe text <hwnd>      the window's full text (WM_GETTEXT), UTF-8
//   winprobe close <hwnd>     posts WM_CLOSE
//   winprobe clip [clear]     the clipboard's text, UTF-8 (what a dialog copied on Ctrl+C),
//                             or empties the clipboard
//   winprobe clip has         exit code 0 when the clipboard offers text, without asking its
//                             owner to render it
//   winprobe clip put <hex>   puts a text on the clipboard, given as the hex digits of its
//                             UTF-8 bytes (a command line in the system code page would lose
//                             letters outside it), for the scripts to paste into a field
// Texts travel as UTF-8 on standard output so that Cyrillic survives the pipe.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "WinCompat.h"
// After the platform headers, which it needs.
#include <tlhelp32.h>

namespace {

std::string Utf8(const std::wstring& W) {
  if (W.empty()) return {};
  int N = WideCharToMultiByte(CP_UTF8, 0, W.data(), static_cast<int>(W.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string S(static_cast<size_t>(N), '\0');
  WideCharToMultiByte(CP_UTF8, 0, W.data(), static_cast<int>(W.size()), S.data(), N, nullptr,
                      nullptr);
  return S;
}

std::string Json(const std::wstring& W) {
  std::string Out = "\"";
  for (unsigned char C : Utf8(W)) {
    if (C == '"' || C == '\\') {
      Out += '\\';
      Out += static_cast<char>(C);
    } else if (C < 0x20) {
      char Buf[8];
      std::snprintf(Buf, sizeof Buf, "\\u%04x", C);
      Out += Buf;
    } else {
      Out += static_cast<char>(C);
    }
  }
  return Out + "\"";
}

// A hung window must not hang the probe: texts are asked for with a time limit.
std::wstring WindowText(HWND Wnd) {
  DWORD_PTR Len = 0;
  if (!SendMessageTimeoutW(Wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &Len)) return {};
  std::wstring Text(Len + 1, L'\0');
  DWORD_PTR Got = 0;
  if (!SendMessageTimeoutW(Wnd, WM_GETTEXT, Len + 1, reinterpret_cast<LPARAM>(Text.data()),
                           SMTO_ABORTIFHUNG, 2000, &Got))
    return {};
  Text.resize(Got);
  return Text;
}

std::wstring ClassOf(HWND Wnd) {
  wchar_t Buf[256];
  int N = GetClassNameW(Wnd, Buf, 256);
  return std::wstring(Buf, N > 0 ? N : 0);
}

std::string Handle(HWND Wnd) { return std::to_string(reinterpret_cast<uintptr_t>(Wnd)); }

std::string RectJson(const RECT& R) {
  return "[" + std::to_string(R.left) + "," + std::to_string(R.top) + "," +
         std::to_string(R.right - R.left) + "," + std::to_string(R.bottom - R.top) + "]";
}

std::string WindowJson(HWND Wnd, bool TopLevel) {
  RECT R{};
  GetWindowRect(Wnd, &R);
  DWORD Pid = 0;
  GetWindowThreadProcessId(Wnd, &Pid);
  std::string S = "{\"hwnd\":" + Handle(Wnd) + ",\"pid\":" + std::to_string(Pid) +
                  ",\"class\":" + Json(ClassOf(Wnd)) + ",\"text\":" + Json(WindowText(Wnd)) +
                  ",\"rect\":" + RectJson(R) +
                  ",\"visible\":" + (IsWindowVisible(Wnd) ? "true" : "false") +
                  ",\"enabled\":" + (IsWindowEnabled(Wnd) ? "true" : "false") +
                  ",\"id\":" + std::to_string(GetDlgCtrlID(Wnd));
  if (TopLevel) {
    POINT Origin{0, 0};
    ClientToScreen(Wnd, &Origin);
    RECT C{};
    GetClientRect(Wnd, &C);
    S += ",\"client\":[" + std::to_string(Origin.x) + "," + std::to_string(Origin.y) + "," +
         std::to_string(C.right) + "," + std::to_string(C.bottom) + "]";
    S += ",\"owner\":" + Handle(GetWindow(Wnd, GW_OWNER));
  } else {
    S += ",\"parent\":" + Handle(GetParent(Wnd));
    LRESULT Check = 0;
    DWORD_PTR Res = 0;
    if (SendMessageTimeoutW(Wnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &Res))
      Check = static_cast<LRESULT>(Res);
    S += ",\"check\":" + std::to_string(Check);
  }
  return S;
}

BOOL CALLBACK CollectChild(HWND Wnd, LPARAM List) {
  reinterpret_cast<std::vector<HWND>*>(List)->push_back(Wnd);
  return TRUE;
}

std::string State() {
  std::vector<HWND> Tops;
  EnumWindows(CollectChild, reinterpret_cast<LPARAM>(&Tops));
  std::string Out = "{\"windows\":[";
  bool First = true;
  for (HWND Top : Tops) {
    if (!IsWindowVisible(Top)) continue;
    if (!First) Out += ",";
    First = false;
    Out += WindowJson(Top, true) + ",\"children\":[";
    std::vector<HWND> Kids;
    EnumChildWindows(Top, CollectChild, reinterpret_cast<LPARAM>(&Kids));
    for (size_t I = 0; I < Kids.size(); ++I)
      Out += (I ? "," : "") + WindowJson(Kids[I], false) + "}";
    Out += "]}";
  }
  Out += "],\"processes\":[";
  HANDLE Snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (Snap != INVALID_HANDLE_VALUE) {
    PROCESSENTRY32W E{};
    E.dwSize = sizeof E;
    bool FirstProc = true;
    for (BOOL Ok = Process32FirstW(Snap, &E); Ok; Ok = Process32NextW(Snap, &E)) {
      if (!FirstProc) Out += ",";
      FirstProc = false;
      Out += "{\"pid\":" + std::to_string(E.th32ProcessID) +
             ",\"exe\":" + Json(std::wstring(E.szExeFile)) + "}";
    }
    CloseHandle(Snap);
  }
  return Out + "]}\n";
}

HWND ParseHandle(const wchar_t* Text) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(Text, nullptr, 10)));
}

std::wstring ClipboardText() {
  std::wstring Text;
  if (!OpenClipboard(nullptr)) return Text;
  if (HANDLE Data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* P = static_cast<const wchar_t*>(GlobalLock(Data))) {
      Text = P;
      GlobalUnlock(Data);
    }
  }
  CloseClipboard();
  return Text;
}

// The hex digits of UTF-8 bytes as text; false on anything that is not such digits.
bool FromHexUtf8(const std::wstring& AHex, std::wstring& AText) {
  if (AHex.size() % 2) return false;
  std::string Bytes;
  for (size_t I = 0; I < AHex.size(); I += 2) {
    wchar_t Pair[3] = {AHex[I], AHex[I + 1], 0};
    wchar_t* End = nullptr;
    unsigned long B = std::wcstoul(Pair, &End, 16);
    if (End != Pair + 2) return false;
    Bytes += static_cast<char>(B);
  }
  AText.clear();
  if (Bytes.empty()) return true;
  int N = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, Bytes.data(),
                              static_cast<int>(Bytes.size()), nullptr, 0);
  if (N <= 0) return false;
  AText.resize(static_cast<size_t>(N));
  MultiByteToWideChar(CP_UTF8, 0, Bytes.data(), static_cast<int>(Bytes.size()), AText.data(), N);
  return true;
}

// The clipboard keeps the text after the probe has ended: its data is the system's, not the
// owner window's, once put there without delayed rendering.
bool PutClipboardText(const std::wstring& AText) {
  HWND Owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!Owner) return false;
  bool Done = false;
  if (OpenClipboard(Owner)) {
    EmptyClipboard();
    size_t Bytes = (AText.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Bytes)) {
      if (void* P = GlobalLock(Mem)) {
        std::memcpy(P, AText.c_str(), Bytes);
        GlobalUnlock(Mem);
        Done = SetClipboardData(CF_UNICODETEXT, Mem) != nullptr;
      }
      // Once set, the clipboard owns the memory.
      if (!Done) GlobalFree(Mem);
    }
    CloseClipboard();
  }
  DestroyWindow(Owner);
  return Done;
}

void Write(const std::string& S) {
  std::fwrite(S.data(), 1, S.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

int wmain(int Argc, wchar_t** Argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::wstring Cmd = Argc > 1 ? Argv[1] : L"";
  if (Cmd == L"state") {
    Write(State());
    return 0;
  }
  if (Cmd == L"text" && Argc > 2) {
    HWND Wnd = ParseHandle(Argv[2]);
    if (!IsWindow(Wnd)) return 2;
    Write(Utf8(WindowText(Wnd)));
    return 0;
  }
  if (Cmd == L"close" && Argc > 2) {
    HWND Wnd = ParseHandle(Argv[2]);
    return PostMessageW(Wnd, WM_CLOSE, 0, 0) ? 0 : 2;
  }
  if (Cmd == L"clip" && Argc > 2 && std::wstring(Argv[2]) == L"clear") {
    if (!OpenClipboard(nullptr)) return 2;
    EmptyClipboard();
    CloseClipboard();
    return 0;
  }
  if (Cmd == L"clip" && Argc > 2 && std::wstring(Argv[2]) == L"has")
    return IsClipboardFormatAvailable(CF_UNICODETEXT) ? 0 : 1;
  if (Cmd == L"clip" && Argc > 3 && std::wstring(Argv[2]) == L"put") {
    std::wstring Text;
    if (!FromHexUtf8(Argv[3], Text)) return 1;
    return PutClipboardText(Text) && ClipboardText() == Text ? 0 : 2;
  }
  if (Cmd == L"clip") {
    Write(Utf8(ClipboardText()));
    return 0;
  }
  std::fputs(
      "usage: winprobe state | text <hwnd> | close <hwnd> | clip [clear | has | put <hex>]\n",
      stderr);
  return 1;
}
