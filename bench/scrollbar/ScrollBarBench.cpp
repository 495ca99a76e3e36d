// Moves a library scroll bar through 10,000 positions, repainting it at
// each as thumb tracking does (the bar invalidated and its window updated
// at once), and a platform scroll bar of the same size the same way
// (SBM_SETSCROLLINFO with redraw, then UpdateWindow), in the same run, for
// the UltraFlat and the Native painter; prints the time per move and the
// ratio of ours to the platform's.
//   tools/run-bench.sh scrollbar
#include <algorithm>
#include <cstdio>

#include "ControlsModules.h"
#include "Forms.h"
#include "cxScrollBar.h"

namespace {

int Moves = 10000;
constexpr Integer Range = 999, Page = 100;

double Now() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<double>(C.QuadPart) / static_cast<double>(F.QuadPart);
}

// Positions back and forth over the range, so that every move moves the thumb.
Integer PositionAt(int AIndex) {
  const Integer Free = Range - Page + 1, Step = AIndex % (2 * Free);
  return Step < Free ? Step : 2 * Free - 1 - Step;
}

double TimeOurs(TcxScrollBar* ABar) {
  const double Start = Now();
  for (int I = 0; I < Moves; ++I) ABar->SetPosition(PositionAt(I + 1));
  return (Now() - Start) / Moves;
}

double TimePlatform(HWND APeer) {
  const double Start = Now();
  for (int I = 0; I < Moves; ++I) {
    SCROLLINFO SI{sizeof(SI), SIF_POS, 0, 0, 0, PositionAt(I + 1), 0};
    SendMessageW(APeer, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&SI));
    UpdateWindow(APeer);
  }
  return (Now() - Start) / Moves;
}

void Run(bool ANative) {
  TOwned<TCustomForm> Form(Create<TForm>(nullptr, true));
  Form->SetBounds(0, 0, 520, 160);
  auto* Bar = Create<TcxScrollBar>(Form.get());
  Bar->LookAndFeel()->SetNativeStyle(ANative);
  Bar->LookAndFeel()->SetKind(lfUltraFlat);
  Bar->SetParent(Form.get());
  const Integer Thick = GetSystemMetrics(SM_CYHSCROLL);
  Bar->SetBounds(10, 10, 480, Thick);
  Bar->SetScrollParams(0, Range, 0, Page);
  Form->Show();
  HWND Peer = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 60, 480,
                              Thick, Form->Handle(), nullptr, nullptr, nullptr);
  SCROLLINFO SI{sizeof(SI), SIF_ALL, 0, Range, Page, 0, 0};
  SetScrollInfo(Peer, SB_CTL, &SI, TRUE);
  Application()->ProcessMessages();
  const double Ours = TimeOurs(Bar), Platform = TimePlatform(Peer);
  DestroyWindow(Peer);
  const char* Name = ANative ? "Native" : "UltraFlat";
  std::printf("%s bar: %.1f us per move, platform scroll bar: %.1f us per move\n", Name, Ours * 1e6,
              Platform * 1e6);
  // The program's bars paint with the Native painter.
  if (ANative)
    std::printf("ratio scrollbar move: %.2f\n", Ours / Platform);
  else
    std::printf("ratio scrollbar move %s: %.2f\n", Name, Ours / Platform);
}

}  // namespace

// scrollbar_bench [moves]: 10,000 moves unless told otherwise.
int wmain(int argc, wchar_t** argv) {
  if (argc > 1) Moves = std::max(1, _wtoi(argv[1]));
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  try {
    StartControlsModules();
    dxFader()->SetState(fasDisabled);
    Run(true);
    Run(false);
    StopControlsModules();
  } catch (const Exception& E) {
    std::fprintf(stderr, "scrollbar bench: %ls\n", E.Message().c_str());
    return 1;
  }
  CoUninitialize();
  return 0;
}
