#include <gtest/gtest.h>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace {

// A scroll box without a border, so that its client area is its size less
// the scroll bars, with children below and beyond its view.
struct ScrollBoxFixture : testing::Test {
  TOwned<TCustomForm> Form;
  TScrollBox* Box = nullptr;
  TShape* Shape = nullptr;   // a graphic child, painted by the box
  TEdit* Edit = nullptr;     // a windowed child
  TButton* First = nullptr;  // takes the focus when the form shows
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(80, 80, 320, 260);
    First = Create<TButton>(Form.get());
    First->SetParent(Form.get());
    First->SetBounds(220, 10, 80, 25);
    Box = Create<TScrollBox>(Form.get());
    Box->SetParent(Form.get());
    Box->SetBorderStyle(bsNone);
    Box->SetBounds(10, 10, 200, 120);
    Shape = Create<TShape>(Form.get());
    Shape->SetParent(Box);
    Shape->SetBounds(30, 200, 50, 30);
    Shape->Brush()->SetColor(clRed);
    Shape->Pen()->SetColor(clRed);
    Edit = Create<TEdit>(Form.get());
    Edit->SetParent(Box);
    Edit->SetBounds(20, 300, 100, 21);
    First->SetTabOrder(0);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Application()->ProcessMessages();
  }
  void TearDown() override { Form.reset(); }
  Integer ClientHeight() {
    RECT R;
    GetClientRect(Box->Handle(), &R);
    return R.bottom;
  }
  // Where the edit's window is inside the box's client area.
  Integer EditWindowTop() {
    RECT R;
    GetWindowRect(Edit->Handle(), &R);
    MapWindowPoints(nullptr, Box->Handle(), reinterpret_cast<POINT*>(&R), 2);
    return R.top;
  }
  TColor PixelAt(Integer X, Integer Y) {
    Box->Update();
    HDC DC = GetDC(Box->Handle());
    COLORREF C = GetPixel(DC, X, Y);
    ReleaseDC(Box->Handle(), DC);
    return static_cast<TColor>(C);
  }
};

TEST_F(ScrollBoxFixture, TheRangeFollowsTheChildrenAndShowsTheBarThatIsNeeded) {
  LONG Style = GetWindowLongW(Box->Handle(), GWL_STYLE);
  EXPECT_TRUE(Style & WS_VSCROLL);
  EXPECT_FALSE(Style & WS_HSCROLL);
  EXPECT_EQ(Box->VertScrollBar()->Range(), 321);
  EXPECT_EQ(Box->HorzScrollBar()->Range(), 120);
  EXPECT_TRUE(Box->VertScrollBar()->IsScrollBarVisible());
  EXPECT_FALSE(Box->HorzScrollBar()->IsScrollBarVisible());
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_ALL;
  GetScrollInfo(Box->Handle(), SB_VERT, &Info);
  EXPECT_EQ(Info.nMax, 320);
  EXPECT_EQ(static_cast<Integer>(Info.nPage), ClientHeight());
  // A child moved beyond the right edge brings the horizontal bar.
  Shape->SetLeft(400);
  EXPECT_EQ(Box->HorzScrollBar()->Range(), 450);
  EXPECT_TRUE(GetWindowLongW(Box->Handle(), GWL_STYLE) & WS_HSCROLL);
  // Without the far children the bars go.
  Shape->SetBounds(30, 40, 50, 30);
  Edit->SetTop(60);
  Style = GetWindowLongW(Box->Handle(), GWL_STYLE);
  EXPECT_FALSE(Style & WS_VSCROLL);
  EXPECT_FALSE(Style & WS_HSCROLL);
}

TEST_F(ScrollBoxFixture, ScrollingMovesEveryChildAndThePixels) {
  Integer Max = 321 - ClientHeight();
  struct TCase {
    WORD Code;
    Integer From;
    Integer Expected;
  };
  const Integer Page = ClientHeight();
  const TCase Cases[] = {
      {SB_LINEDOWN, 0, 8},           // the increment
      {SB_LINEDOWN, Max - 3, Max},   // not past the end
      {SB_LINEUP, 5, 0},             // not before the start
      {SB_PAGEDOWN, 10, 10 + Page},  // a client height
      {SB_PAGEUP, Max, Max - Page},  //
      {SB_BOTTOM, 0, Max},           //
      {SB_TOP, Max, 0},              //
      {SB_ENDSCROLL, 40, 40},        // nothing
  };
  for (const TCase& C : Cases) {
    Box->VertScrollBar()->SetPosition(C.From);
    SendMessageW(Box->Handle(), WM_VSCROLL, C.Code, 0);
    Integer P = Box->VertScrollBar()->Position();
    EXPECT_EQ(P, C.Expected) << "code " << C.Code << " from " << C.From;
    EXPECT_EQ(GetScrollPos(Box->Handle(), SB_VERT), P);
    EXPECT_EQ(Edit->Top(), 300 - P);
    EXPECT_EQ(EditWindowTop(), 300 - P);
    EXPECT_EQ(Shape->Top(), 200 - P);
  }
  // The graphic child is painted where it went.
  Box->VertScrollBar()->SetPosition(150);
  EXPECT_EQ(PixelAt(55, 65) & 0xFFFFFF, clRed);
  EXPECT_NE(PixelAt(55, 20) & 0xFFFFFF, clRed);
  Box->VertScrollBar()->SetPosition(0);
  EXPECT_NE(PixelAt(55, 65) & 0xFFFFFF, clRed);
}

TEST_F(ScrollBoxFixture, ControlsAreBroughtIntoView) {
  Box->ScrollInView(Edit);
  EXPECT_EQ(Box->VertScrollBar()->Position(), 321 - ClientHeight());
  Box->ScrollInView(Shape);
  EXPECT_EQ(Box->VertScrollBar()->Position(), 200);
  Box->VertScrollBar()->SetPosition(0);
  // Focus moving to a control out of view scrolls to it.
  Edit->SetFocus();
  Application()->ProcessMessages();
  ASSERT_TRUE(Edit->Focused());
  EXPECT_EQ(Box->VertScrollBar()->Position(), 321 - ClientHeight());
  EXPECT_EQ(EditWindowTop() + 21, ClientHeight());
}

TEST_F(ScrollBoxFixture, ARangeSetByHandStaysAndPositionsStayInIt) {
  Box->VertScrollBar()->SetRange(1000);
  EXPECT_FALSE(Box->AutoScroll());
  Box->VertScrollBar()->SetPosition(5000);
  EXPECT_EQ(Box->VertScrollBar()->Position(), 1000 - ClientHeight());
  Edit->SetTop(Edit->Top() + 10);
  EXPECT_EQ(Box->VertScrollBar()->Range(), 1000);
  // A smaller range pulls the position back, and the children with it.
  Integer EditTop = Edit->Top();
  Integer Old = Box->VertScrollBar()->Position();
  Box->VertScrollBar()->SetRange(300);
  Integer New = Box->VertScrollBar()->Position();
  EXPECT_EQ(New, 300 - ClientHeight());
  EXPECT_EQ(Edit->Top(), EditTop + (Old - New));
  // A hidden bar scrolls nothing.
  Box->VertScrollBar()->SetVisible(false);
  EXPECT_EQ(Box->VertScrollBar()->Position(), 0);
  EXPECT_FALSE(GetWindowLongW(Box->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_THROW(Box->VertScrollBar()->SetIncrement(0), EInvalidOperation);
}

TEST_F(ScrollBoxFixture, TheWheelScrollsByTheSystemsLines) {
  UINT Lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
  POINT P{50, 50};
  ClientToScreen(Box->Handle(), &P);
  SendMessageW(Box->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
               MAKELPARAM(P.x, P.y));
  EXPECT_EQ(Box->VertScrollBar()->Position(),
            std::min<Integer>(static_cast<Integer>(Lines) * 8, 321 - ClientHeight()));
}

}  // namespace
