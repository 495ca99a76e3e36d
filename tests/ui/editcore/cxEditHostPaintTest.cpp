// A standalone editor over a patterned parent: what of the parent shows
// through a native frame, painted at the origin or where a host moved the
// origin to (a grid's cell, a print, a WM_PRINTCLIENT), with or without the
// editor's window.
#include <gtest/gtest.h>

#include "EditPaintTestSupport.h"
#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "cxEdit.h"
#include "ui/controls/ControlsTestSupport.h"

namespace {

class THostedEdit : public TcxCustomEdit {
  DECLARE_CLASS(THostedEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::CalculateViewInfo;
  using TcxCustomEdit::TcxCustomEdit;
  TcxCustomEditViewInfo* View() { return GetEditViewInfo(); }
};
IMPLEMENT_CLASS(THostedEdit)

// A parent whose every pixel tells where it is; it prints itself through its
// own painting and counts its paints.
class TPatternPanel : public TCustomControl {
  DECLARE_CLASS(TPatternPanel, TCustomControl)
 public:
  explicit TPatternPanel(TComponent* AOwner) : TCustomControl(AOwner) {}
  int Paints = 0;
  static COLORREF ColorAt(int X, int Y) { return RGB((X * 5) % 256, (Y * 11) % 256, 0x40); }

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_ERASEBKGND) {
      Message.Result = 1;
      return;
    }
    if (Message.Msg == WM_PRINTCLIENT) {
      PaintInto(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 0;
      return;
    }
    inherited::WndProc(Message);
  }
  void Paint() override { PaintInto(Canvas()->Handle()); }

 private:
  void PaintInto(HDC DC) {
    ++Paints;
    // Column by column, row by row: a line per pixel row of each colour run
    // would be slow; a 2-pixel grid of small fills is enough to place things.
    for (int Y = 0; Y < Height(); Y += 2)
      for (int X = 0; X < Width(); X += 2) {
        RECT R{X, Y, X + 2, Y + 2};
        TBrushHandle B(CreateSolidBrush(ColorAt(X, Y)));
        FillRect(DC, &R, B.Get());
      }
  }
};
IMPLEMENT_CLASS(TPatternPanel)

constexpr int CellWidth = 121, CellHeight = 21, Columns = 3, Rows = 2;

TPoint CellOrigin(size_t I) {
  return {static_cast<int>(I % Columns) * CellWidth, static_cast<int>(I / Columns) * CellHeight};
}

class HostedEditPaint : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    Form.reset(ControlsTest::CreateForm(Columns * CellWidth + 20, Rows * CellHeight + 20));
    Panel = Create<TPatternPanel>(Form.get());
    Panel->SetBounds(3, 4, Columns * CellWidth + 10, Rows * CellHeight + 10);
    Panel->SetParent(Form.get());
    for (size_t I = 0; I < Columns * Rows; ++I) Edits.push_back(AddEdit(CellOrigin(I), true));
    ControlsTest::ProcessMessages();
  }
  THostedEdit* AddEdit(const TPoint& P, bool AVisible, bool AAutoSize = false) {
    auto* E = Create<THostedEdit>(Form.get(), false);
    E->SetAutoSize(AAutoSize);
    E->GetProperties()->GetButtons()->Add()->SetKind(bkDown);
    TcxLookAndFeel* L = E->GetStyle()->GetLookAndFeel();
    L->SetKind(lfUltraFlat);
    L->SetNativeStyle(GetParam());
    E->SetVisible(AVisible);
    // Away from the panel's edges, so that the pattern differs per editor.
    E->SetBounds(P.x + 4, P.y + 3, CellWidth, CellHeight);
    E->SetParent(Panel);
    return E;
  }
  bool Native() const { return GetParam(); }

  TOwned<TCustomForm> Form;
  TPatternPanel* Panel = nullptr;
  std::vector<THostedEdit*> Edits;
};

void Calculate(THostedEdit* AEdit) { AEdit->CalculateViewInfo(TPoint{-1, -1}, false); }

// The editor painted at the origin of a bitmap of its size.
TOwned<TcxBitmap32> PaintedAlone(THostedEdit* AEdit) {
  Calculate(AEdit);
  return Painted(CellWidth, CellHeight, [&](TcxCanvas* C) { AEdit->View()->Paint(C); });
}

TEST_P(HostedEditPaint, TheParentShowsExactlyWhereTheEditorLetsItThrough) {
  // Against the parent printed under the whole editor before the editor's
  // own layers: the first step of the editor's painting taken literally.
  const struct {
    const char* Name;
    bool Transparent, CanDrawBackground;
  } Cases[] = {
      {"opaque editor", false, true},
      {"transparent editor: no fill inside the frame", true, true},
      {"background left to a derived editor: only the ring is filled", false, false},
  };
  THostedEdit* E = Edits[4];
  for (const auto& K : Cases) {
    E->SetTransparent(K.Transparent);
    Calculate(E);
    TcxCustomEditViewInfo* V = E->View();
    auto Expected = Painted(CellWidth, CellHeight, [&](TcxCanvas* C) {
      if (V->IsBackgroundPartiallyTransparent())
        cxDrawTransparentControlBackground(E, C, V->Bounds);
      DrawCustomEditBackground(C, V, K.CanDrawBackground);
      V->DrawButtons(C);
    });
    Panel->Paints = 0;
    auto Actual = Painted(CellWidth, CellHeight,
                          [&](TcxCanvas* C) { V->DrawCustomEdit(C, K.CanDrawBackground, true); });
    EXPECT_EQ(Difference(Actual.get(), Expected.get()), "") << K.Name;
    // The parent is printed once at most, and not at all when nothing of it
    // can show.
    EXPECT_LE(Panel->Paints, V->IsBackgroundPartiallyTransparent() ? 1 : 0) << K.Name;
    if (!Native()) EXPECT_EQ(Panel->Paints, 0) << K.Name;
  }
}

TEST_P(HostedEditPaint, AMovedOriginMovesThePictureOnly) {
  // Half of them transparent, so that the parent shows inside their frame.
  for (size_t I = 1; I < Edits.size(); I += 2) Edits[I]->SetTransparent(true);
  std::vector<TOwned<TcxBitmap32>> Alone;
  for (THostedEdit* E : Edits) Alone.push_back(PaintedAlone(E));
  const int W = Columns * CellWidth, H = Rows * CellHeight;
  for (bool Viewport : {true, false}) {
    // A memory DC over a bitmap compatible with the screen, as a
    // double-buffered paint has.
    TMemoryDC MemDC(CreateCompatibleDC(nullptr));
    TBitmapHandle Bitmap(CreateCompatibleBitmap(TScreenDC().Get(), W, H));
    TSelectObjectGuard Selected(MemDC.Get(), Bitmap.Get());
    const HDC DC = MemDC.Get();
    TOwned<TCanvas> Canvas = MakeOwned<TCanvas>();
    Canvas->SetHandle(DC);
    TOwned<TcxCanvas> C(Create<TcxCanvas>(Canvas.get()));
    C->FillRect(cxRect(0, 0, W, H), static_cast<TColor>(kPaper));
    for (size_t I = 0; I < Edits.size(); ++I) {
      const TPoint P = CellOrigin(I);
      if (Viewport)
        SetViewportOrgEx(DC, P.x, P.y, nullptr);
      else
        SetWindowOrgEx(DC, -P.x, -P.y, nullptr);
      Calculate(Edits[I]);
      Edits[I]->View()->Paint(C.get());
    }
    SetViewportOrgEx(DC, 0, 0, nullptr);
    SetWindowOrgEx(DC, 0, 0, nullptr);
    for (size_t I = 0; I < Edits.size(); ++I) {
      auto Cell = FilledBitmap(CellWidth, CellHeight, clWhite);
      const TPoint P = CellOrigin(I);
      BitBlt(Cell->Canvas()->Handle(), 0, 0, CellWidth, CellHeight, DC, P.x, P.y, SRCCOPY);
      EXPECT_EQ(Difference(Cell.get(), Alone[I].get()), "")
          << "editor " << I << (Viewport ? ", viewport moved" : ", window origin moved");
    }
    Canvas->SetHandle(nullptr);
  }
}

TEST_P(HostedEditPaint, PaintingMakesNoWindowAndKeepsTheSize) {
  // A hidden editor has no window; a host painting it must not make one (a
  // window made in the middle of a paint lays the editor out anew, auto size
  // included, under the painting).
  if (!Native()) GTEST_SKIP() << "only a native frame asks for its parent";
  for (THostedEdit* Other : Edits) Other->SetVisible(false);
  THostedEdit* E = AddEdit(TPoint{CellWidth, 0}, false, true);
  // Transparent, so that the parent shows inside the frame.
  E->SetTransparent(true);
  ASSERT_FALSE(E->HandleAllocated());
  const TRect Before = E->BoundsRect();
  auto WithoutWindow = PaintedAlone(E);
  EXPECT_FALSE(E->HandleAllocated());
  EXPECT_EQ(E->BoundsRect(), Before);
  // The same editor with a window at the same place paints the same.
  E->SetAutoSize(false);
  E->SetBounds(Before.left, Before.top, CellWidth, CellHeight);
  E->HandleNeeded();
  EXPECT_EQ(Difference(WithoutWindow.get(), PaintedAlone(E).get()), "");
}

INSTANTIATE_TEST_SUITE_P(Looks, HostedEditPaint, ::testing::Values(true, false),
                         [](const auto& AInfo) { return AInfo.param ? "Native" : "UltraFlat"; });

}  // namespace
