// Repaints a form of 200 owner-drawn controls, each painting a fill, a
// frame, a few lines and its number, double-buffered (the back buffer) and
// unbuffered (straight onto the window), and prints frames per second.
//
//   tools/run-bench.sh paint
#include <algorithm>
#include <cstdio>

#include "Forms.h"

namespace {

constexpr int Columns = 20, Rows = 10, Frames = 60;

Double Now() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<Double>(C.QuadPart) / static_cast<Double>(F.QuadPart);
}

class TCell : public TCustomControl {
  DECLARE_CLASS_INLINE(TCell, TCustomControl)
 public:
  explicit TCell(TComponent* AOwner) : TCustomControl(AOwner) { FControlStyle.Include(csOpaque); }
  Integer Number = 0;

 protected:
  void Paint() override {
    TCanvas* C = Canvas();
    TRect R = ClientRect();
    C->Brush()->SetColor(Number % 2 ? clWindow : clBtnFace);
    C->FillRect(R);
    C->Pen()->SetColor(clBtnShadow);
    C->Rectangle(R.left, R.top, R.right, R.bottom);
    C->Pen()->SetColor(clHighlight);
    for (Integer Y = 4; Y < R.bottom - 4; Y += 6) {
      C->MoveTo(3, Y);
      C->LineTo(R.right / 3, Y);
    }
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->TextOut(R.right / 3 + 2, 4, IntToStr(Number));
  }
};

struct TForm200 {
  TOwned<TCustomForm> Form;
  TForm200(bool ABuffered) {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(0, 0, 40 * Columns + 40, 30 * Rows + 60);
    for (int I = 0; I < Columns * Rows; ++I) {
      TCell* Cell = Create<TCell>(Form.get());
      Cell->Number = I;
      Cell->SetParent(Form.get());
      Cell->SetBounds(4 + (I % Columns) * 40, 4 + (I / Columns) * 30, 38, 28);
      Cell->SetDoubleBuffered(ABuffered);
    }
    Form->Show();
    Application()->ProcessMessages();
  }
  // Seconds for Frames repaints of the whole form, the best of three runs.
  Double Time() {
    Double Best = 1e9;
    for (int Run = 0; Run < 3; ++Run) {
      Double T0 = Now();
      for (int F = 0; F < Frames; ++F) {
        RedrawWindow(Form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
      }
      Best = std::min(Best, Now() - T0);
    }
    return Best;
  }
};

}  // namespace

int wmain() {
  Forms_Initialize();
  Application()->Initialize();
  Double Unbuffered, Buffered;
  {
    TForm200 F(false);
    Unbuffered = F.Time();
  }
  {
    TForm200 F(true);
    Buffered = F.Time();
  }
  std::printf("%d controls, %d frames, best of 3\n", Columns * Rows, Frames);
  std::printf("%-12s %10s %12s\n", "", "fps", "ms/frame");
  std::printf("%-12s %10.1f %12.3f\n", "unbuffered", Frames / Unbuffered,
              Unbuffered * 1e3 / Frames);
  std::printf("%-12s %10.1f %12.3f\n", "buffered", Frames / Buffered, Buffered * 1e3 / Frames);
  std::printf("ratio buffered/unbuffered: %.2f\n", Buffered / Unbuffered);
  Forms_Finalize();
  return 0;
}
