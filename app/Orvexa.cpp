// Program entry. For now the main window is a plain platform window; the
// framework form replaces it once the form classes exist.
#include "System.h"

namespace {
LRESULT CALLBACK MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR, int CmdShow) {
  WNDCLASSW Cls{};
  Cls.lpfnWndProc = MainWndProc;
  Cls.hInstance = Instance;
  Cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  Cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  Cls.lpszClassName = L"TForm1";
  RegisterClassW(&Cls);
  HWND Wnd = CreateWindowExW(0, L"TForm1", L"Пересчет таблиц в МСК-89", WS_OVERLAPPEDWINDOW,
                             CW_USEDEFAULT, CW_USEDEFAULT, 600, 400, nullptr, nullptr, Instance,
                             nullptr);
  if (!Wnd) return 1;
  ShowWindow(Wnd, CmdShow);
  UpdateWindow(Wnd);
  MSG M;
  while (GetMessageW(&M, nullptr, 0, 0) > 0) {
    TranslateMessage(&M);
    DispatchMessageW(&M);
  }
  return static_cast<int>(M.wParam);
}
