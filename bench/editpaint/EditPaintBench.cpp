// Editor painting's solid fills: the one-pixel lines and small fills of
// button borders, drawn with the shared brush cache, and the same fills with
// a brush created and deleted for each, in the same run; prints the time per
// fill and the ratio of ours to the per-fill brushes, then the same for the
// brushes alone. Then editors: a test editor with a drop-down button
// calculated and painted into a memory bitmap, Native and UltraFlat, against
// the platform's themed combo box painting itself as often.
//   tools/run-bench.sh editpaint
#include <algorithm>
#include <cstdio>
#include <vector>

#include "EditcoreTestSupport.h"
#include "WinHandles.h"
#include "cxEdit.h"
#include "cxEditPaintUtils.h"
#include "dxGraphicsLink.h"

namespace {

int Fills = 1000000;

double Now() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<double>(C.QuadPart) / static_cast<double>(F.QuadPart);
}

// The colours of a painted editor: system colours and a few of its own.
std::vector<TColor> Colors() {
  return {clBtnFace,
          clBtnShadow,
          clBtnHighlight,
          clWindow,
          static_cast<TColor>(RGB(0x7F, 0x9D, 0xB9)),
          static_cast<TColor>(RGB(0xC2, 0xD5, 0xF2)),
          static_cast<TColor>(RGB(0x31, 0x6A, 0xC5)),
          static_cast<TColor>(RGB(0xFF, 0xF4, 0xCC)),
          static_cast<TColor>(RGB(0xF5, 0xF5, 0xF5)),
          static_cast<TColor>(RGB(0xA0, 0xA0, 0xA0))};
}

// A one-pixel line of a button border, somewhere on a 200 x 40 surface.
RECT LineAt(int I) {
  int X = (I * 7) % 190, Y = (I * 3) % 30;
  return I % 2 ? RECT{X, Y, X + 1, Y + 10} : RECT{X, Y, X + 10, Y + 1};
}

double TimeOurs(HDC DC, const std::vector<TColor>& AColors) {
  const double Start = Now();
  for (int I = 0; I < Fills; ++I) {
    RECT R = LineAt(I);
    HBRUSH Brush = GetSolidBrush(AColors[I % AColors.size()]);
    if (DC) FillRect(DC, &R, Brush);
  }
  return (Now() - Start) / Fills;
}

double TimePerFillBrush(HDC DC, const std::vector<TColor>& AColors) {
  const double Start = Now();
  for (int I = 0; I < Fills; ++I) {
    RECT R = LineAt(I);
    TBrushHandle Brush(CreateSolidBrush(dxColorToRGB(AColors[I % AColors.size()])));
    if (DC) FillRect(DC, &R, Brush.Get());
  }
  return (Now() - Start) / Fills;
}

void Run() {
  TMemoryDC DC(CreateCompatibleDC(nullptr));
  // A bitmap compatible with the screen, as a double-buffered paint uses.
  HDC Screen = GetDC(nullptr);
  TBitmapHandle Bitmap(CreateCompatibleBitmap(Screen, 200, 40));
  ReleaseDC(nullptr, Screen);
  TSelectObjectGuard Selected(DC.Get(), Bitmap.Get());
  const std::vector<TColor> C = Colors();
  // Warm both up once, so that neither pays for first use.
  Fills /= 100;
  TimeOurs(DC.Get(), C);
  TimePerFillBrush(DC.Get(), C);
  Fills *= 100;
  const double Ours = TimeOurs(DC.Get(), C), Peer = TimePerFillBrush(DC.Get(), C);
  std::printf("solid fills: %.3f us with the brush cache, %.3f us with a brush per fill\n",
              Ours * 1e6, Peer * 1e6);
  std::printf("ratio solid brush: %.2f\n", Ours / Peer);
  // The brushes alone, without the fills that both pay alike.
  const double OursBrush = TimeOurs(nullptr, C), PeerBrush = TimePerFillBrush(nullptr, C);
  std::printf("brushes alone: %.3f us from the cache, %.3f us created and deleted\n",
              OursBrush * 1e6, PeerBrush * 1e6);
  std::printf("ratio solid brush lookup: %.2f\n", OursBrush / PeerBrush);
}

// The editor the figures are about: a drop-down button and nothing else.
class TBenchEdit : public TcxCustomEdit {
  DECLARE_CLASS(TBenchEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::TcxCustomEdit;
};
IMPLEMENT_CLASS(TBenchEdit)

constexpr int kEditors = 1000;
const TRect kEditorBounds = cxRect(0, 0, 200, 22);

double TimeEditors(bool ANative, TcxCanvas* ACanvas) {
  TOwned<TBenchEdit> Edit(Create<TBenchEdit>(nullptr));
  Edit->GetProperties()->GetButtons()->Add()->SetKind(bkDown);
  Edit->GetEditStyle()->GetLookAndFeel()->SetNativeStyle(ANative);
  Edit->GetEditStyle()->GetLookAndFeel()->SetKind(lfUltraFlat);
  bool Created = false;
  TOwned<TcxCustomEditViewData> Data(Edit->GetViewData(Created));
  TOwned<TcxCustomEditViewInfo> Info(
      static_cast<TcxCustomEditViewInfo*>(Edit->GetProperties()->GetViewInfoClass()()));
  const double Start = Now();
  for (int I = 0; I < kEditors; ++I) {
    Data->Calculate(ACanvas, kEditorBounds, TPoint{-1, -1}, cxmbNone, TShiftState(), Info.get(),
                    false);
    Info->Paint(ACanvas);
  }
  return (Now() - Start) / kEditors;
}

double TimeComboBoxes(HDC DC) {
  HWND Parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                nullptr, nullptr);
  HWND Combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0,
                               200, 22, Parent, nullptr, nullptr, nullptr);
  auto Destroy = Finally([Parent] { DestroyWindow(Parent); });
  const double Start = Now();
  for (int I = 0; I < kEditors; ++I)
    SendMessageW(Combo, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT);
  return (Now() - Start) / kEditors;
}

void RunEditors() {
  TOwned<TcxBitmap32> Bitmap(TcxBitmap32::CreateSize(200, 22));
  TcxCanvas* Canvas = Bitmap->cxCanvas();
  // Warm up once each.
  TimeEditors(true, Canvas);
  TimeComboBoxes(Canvas->Handle());
  const double Peer = TimeComboBoxes(Canvas->Handle());
  for (bool Native : {true, false}) {
    const double Ours = TimeEditors(Native, Canvas);
    const char* Look = Native ? "native" : "ultraflat";
    std::printf("editor %s: %.1f us to calculate and paint, combo box %.1f us to paint itself\n",
                Look, Ours * 1e6, Peer * 1e6);
    std::printf("ratio editor %s: %.2f\n", Look, Ours / Peer);
  }
}

}  // namespace

// editpaint_bench [fills]: a million fills each unless told otherwise.
int wmain(int argc, wchar_t** argv) {
  if (argc > 1) Fills = std::max(100, _wtoi(argv[1]));
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  try {
    EditcoreStartUp();
    Run();
    RunEditors();
    EditcoreShutDown();
  } catch (const Exception& E) {
    std::fprintf(stderr, "editpaint bench: %ls\n", E.Message().c_str());
    return 1;
  }
  CoUninitialize();
  return 0;
}
