// Dispatches 200,000 posted messages through a form with the library's popup
// hooks installed, first with no popup shown and then with one shown, and
// with as many empty platform hooks that only pass on in their place, in the
// same run; prints messages per second and the ratio of ours to the empty
// hooks. Posted messages pass the get-message hook; the same count of sent
// messages measures the window-procedure hook.
//   tools/run-bench.sh controlhooks
#include <cstdio>

#include "ControlsModules.h"

namespace {

constexpr int Messages = 200000;
// The thread's queue holds at most 10,000 posted messages.
constexpr int Batch = 5000;
constexpr UINT BenchMessage = WM_APP + 1;

double Now() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<double>(C.QuadPart) / static_cast<double>(F.QuadPart);
}

// Seconds for posting and dispatching every message to the form.
double Dispatch(HWND AWnd) {
  const double Start = Now();
  for (int Done = 0; Done < Messages; Done += Batch) {
    for (int I = 0; I < Batch; ++I) PostMessageW(AWnd, BenchMessage, 0, 0);
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&Msg);
      DispatchMessageW(&Msg);
    }
  }
  return Now() - Start;
}

double Send(HWND AWnd) {
  const double Start = Now();
  for (int I = 0; I < Messages; ++I) SendMessageW(AWnd, BenchMessage, 0, 0);
  return Now() - Start;
}

LRESULT CALLBACK PassOn(int ACode, WPARAM wParam, LPARAM lParam) noexcept {
  return CallNextHookEx(nullptr, ACode, wParam, lParam);
}

// Three platform hooks of the kinds the library uses, each only passing on.
struct TEmptyHooks {
  HHOOK Hooks[3];
  TEmptyHooks() {
    const DWORD Thread = GetCurrentThreadId();
    Hooks[0] = SetWindowsHookExW(WH_CALLWNDPROC, &PassOn, nullptr, Thread);
    Hooks[1] = SetWindowsHookExW(WH_GETMESSAGE, &PassOn, nullptr, Thread);
    Hooks[2] = SetWindowsHookExW(WH_MOUSE, &PassOn, nullptr, Thread);
  }
  ~TEmptyHooks() {
    for (HHOOK H : Hooks)
      if (H) UnhookWindowsHookEx(H);
  }
};

void Report(const char* AWhat, double ASeconds) {
  std::printf("%-34s %12.0f messages/s\n", AWhat, Messages / ASeconds);
}

}  // namespace

int wmain() {
  StartControlsModules();
  {
    TOwned<TCustomForm> Form(Create<TForm>(nullptr, true));
    Form->SetBounds(0, 0, 200, 100);
    Form->Show();
    const HWND Wnd = Form->Handle();
    Dispatch(Wnd);  // warm-up

    const double Ours = Dispatch(Wnd);
    Report("library hooks, no popup shown", Ours);
    const double OursSent = Send(Wnd);
    Report("  sent", OursSent);

    TOwned<TcxPopupWindow> Popup(Create<TcxPopupWindow>(nullptr));
    Popup->SetBounds(300, 300, 50, 50);
    cxPopupVisibleController()->Register(Popup.get());
    ShowWindow(Popup->Handle(), SW_SHOWNOACTIVATE);
    const double OursShown = Dispatch(Wnd);
    const double OursShownSent = Send(Wnd);
    cxPopupVisibleController()->UnRegister(Popup.get());
    Report("library hooks, one popup shown", OursShown);
    Report("  sent", OursShownSent);

    RemovePopupHooks();
    double Empty, EmptySent;
    {
      TEmptyHooks Hooks;
      Empty = Dispatch(Wnd);
      EmptySent = Send(Wnd);
    }
    SetPopupHooks();
    Report("empty platform hooks", Empty);
    Report("  sent", EmptySent);
    std::printf("ratio library hooks (no popup) / empty hooks: %.2f\n", Ours / Empty);
    std::printf("ratio library hooks (one popup) / empty hooks: %.2f\n", OursShown / Empty);
    std::printf("ratio sent, library hooks (no popup) / empty hooks: %.2f\n", OursSent / EmptySent);
    std::printf("ratio sent, library hooks (one popup) / empty hooks: %.2f\n",
                OursShownSent / EmptySent);
  }
  StopControlsModules();
  return 0;
}
