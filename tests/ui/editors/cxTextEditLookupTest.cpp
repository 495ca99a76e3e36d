// The lookup list of the text editors: the list box of the popup window on
// a real form (rows drawn against the platform's own text drawing, the
// wheel, hot tracking and clicks by the real mouse), and the lookup data's
// locating, filtering and moving tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "cxLookAndFeels.h"
#include "cxTextEdit.h"

namespace {

using ControlsTest::CreateForm;
using ControlsTest::ProcessMessages;
using ControlsTest::PumpUntil;
using ControlsTest::SendMouse;

class TSelectCounter : public TObject {
  DECLARE_CLASS_INLINE(TSelectCounter, TObject)
 public:
  void SelectItem(TObject*) { ++Count; }
  int Count = 0;
};

// A list box whose rows come from a generator, as a descendant's rows come
// from its lookup data.
class TGeneratedListBox : public TcxCustomEditListBox {
  DECLARE_CLASS_INLINE(TGeneratedListBox, TcxCustomEditListBox)
 public:
  using TcxCustomEditListBox::TcxCustomEditListBox;
  String GetItem(Integer Index) override { return L"row " + std::to_wstring(Index); }
};

class EditListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(260, 200));
    Box = Create<TcxEditListBoxContainer>(Form.get());
    Box->SetBounds(10, 10, 150, 120);
    List = Create<TcxCustomEditListBox>(Box);
    List->SetContainer(Box);
    Box->SetInnerControl(List);
    List->SetParent(Box);
    Box->SetParent(Form.get());
    for (const wchar_t* S : {L"Alpha", L"Beta", L"Gamma", L"Delta", L"Epsilon"})
      List->Items()->Add(S);
    List->SetOnSelectItem(MakeEvent<&TSelectCounter::SelectItem>(&Selects));
    Box->ShortRefreshContainer(false);
    ProcessMessages();
  }
  void TearDown() override { Form.reset(); }
  POINT ScreenPointOfRow(Integer ARow) {
    TRect R = List->ItemRect(ARow);
    POINT P{R.left + 20, (R.top + R.bottom) / 2};
    ClientToScreen(List->Handle(), &P);
    return P;
  }
  void MoveMouse(POINT P) {
    SendMouse(0, P);
    PumpUntil([&] { return ControlsTest::CursorAt(P); });
    ProcessMessages();
  }
  TOwned<TCustomForm> Form;
  TcxEditListBoxContainer* Box = nullptr;
  TcxCustomEditListBox* List = nullptr;
  TSelectCounter Selects;
};

// The container has no border of its own: the list fills it.
TEST_F(EditListBox, TheListFillsItsBorderlessContainer) {
  RECT R;
  GetClientRect(Box->Handle(), &R);
  const TRect ABounds = List->BoundsRect();
  EXPECT_TRUE(EqualRect(&ABounds, &R));
  EXPECT_EQ(GetWindowLongW(List->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// Rows are as high as the list's font, the height of n rows is n rows
// (the caller applies its maximum), and the touch mode raises rows to the
// touch-friendly minimum.
TEST_F(EditListBox, RowsAreAsHighAsTheFontOrTheTouchMinimum) {
  const Integer AFontHeight = cxTextHeight(List->Font());
  EXPECT_EQ(List->GetItemHeight(), AFontHeight);
  for (Integer I = 0; I < 5; ++I) EXPECT_EQ(cxRectHeight(List->ItemRect(I)), AFontHeight) << I;
  EXPECT_EQ(List->GetHeight(5, 10), 5 * AFontHeight);
  cxSetIsTouchModeEnabled(true);
  auto AReset = Finally([] { cxSetIsTouchModeEnabled(false); });
  ASSERT_LT(AFontHeight, 27);
  EXPECT_EQ(List->GetItemHeight(), 27);
  List->RecreateWnd();
  ProcessMessages();
  EXPECT_EQ(cxRectHeight(List->ItemRect(3)), 27);
}

// Each row against the platform drawing the same text with the same font
// and colours two pixels in from the left edge; the selected row in the
// highlight colours. The edge pixels are left out: the focus rectangle is
// drawn there.
TEST_F(EditListBox, RowsAreDrawnAsThePlatformDrawsTheirText) {
  List->SetItemIndex(1);
  TOwned<TcxBitmap32> AShot = ControlsTest::CaptureWindow(List);
  HDC AShotDC = AShot->Canvas()->Handle();
  for (Integer ARow : {0, 1, 4}) {
    SCOPED_TRACE(ARow);
    const TRect R = List->ItemRect(ARow);
    const bool ASelected = ARow == 1;
    TOwned<TcxBitmap32> ARef(TcxBitmap32::CreateSize(cxRectWidth(R), cxRectHeight(R)));
    HDC ADC = ARef->Canvas()->Handle();
    TRect AFill{0, 0, cxRectWidth(R), cxRectHeight(R)};
    HBRUSH ABrush = CreateSolidBrush(ColorToRGB(ASelected ? clHighlight : List->Color()));
    FillRect(ADC, &AFill, ABrush);
    DeleteObject(ABrush);
    HGDIOBJ AOld = SelectObject(ADC, List->Font()->Handle());
    SetBkMode(ADC, TRANSPARENT);
    SetTextColor(ADC, ColorToRGB(ASelected ? clHighlightText : List->Font()->Color()));
    TRect AText{2, 0, cxRectWidth(R), cxRectHeight(R)};
    String S = List->Items()->Strings(ARow);
    DrawTextW(ADC, S.c_str(), static_cast<int>(S.size()), &AText,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(ADC, AOld);
    int ADifferent = 0;
    for (Integer Y = 1; Y < cxRectHeight(R) - 1; ++Y)
      for (Integer X = 1; X < cxRectWidth(R) - 1; ++X)
        ADifferent += GetPixel(AShotDC, R.left + X, R.top + Y) != GetPixel(ADC, X, Y);
    EXPECT_EQ(ADifferent, 0);
  }
}

// Rows appended come from GetItem, rows removed go from the end, and the
// window follows.
TEST(EditListBoxRows, ItemCountAppendsFromGetItemAndRemovesFromTheEnd) {
  TOwned<TCustomForm> AForm(CreateForm(200, 150));
  auto* ABox = Create<TcxEditListBoxContainer>(AForm.get());
  auto* AList = Create<TGeneratedListBox>(ABox);
  AList->SetContainer(ABox);
  ABox->SetInnerControl(AList);
  AList->SetParent(ABox);
  ABox->SetParent(AForm.get());
  struct {
    Integer Count;
    const wchar_t* Last;
  } const Cases[] = {{3, L"row 2"}, {7, L"row 6"}, {2, L"row 1"}, {0, nullptr}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Count);
    AList->SetItemCount(C.Count);
    ASSERT_EQ(AList->Items()->Count(), C.Count);
    EXPECT_EQ(SendMessageW(AList->Handle(), LB_GETCOUNT, 0, 0), C.Count);
    if (C.Last) EXPECT_EQ(AList->Items()->Strings(C.Count - 1), C.Last);
  }
}

// The wheel keeps parts of a notch: two half notches scroll one notch's
// lines, a half notch back cancels a half notch, a big delta counts as one
// notch. A part of a notch is not passed on to the platform's list, which
// would otherwise scroll on the next part too.
TEST_F(EditListBox, TheWheelScrollsWholeNotchesOnly) {
  for (int I = 0; I < 40; ++I) List->Items()->Add(L"more " + std::to_wstring(I));
  ProcessMessages();
  UINT ALines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &ALines, 0);
  const Integer L = static_cast<Integer>(ALines);
  struct {
    std::vector<int> Deltas;
    Integer Top;
  } const Cases[] = {
      {{-60, -60}, L},           {{-60, 60}, 0},      {{-60, -60, -60, -60}, 2 * L},
      {{-60, -60, -60}, L},      {{-240}, L},         {{-120, -120}, 2 * L},
      {{-60, 60, -60, -60}, L},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(::testing::PrintToString(C.Deltas));
    List->SetTopIndex(0);
    // A fresh start: a whole notch up at the top leaves nothing behind.
    SendMessageW(List->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(30, 30));
    ASSERT_EQ(List->TopIndex(), 0);
    for (int D : C.Deltas)
      SendMessageW(List->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(D)),
                   MAKELPARAM(30, 30));
    ProcessMessages();
    EXPECT_EQ(List->TopIndex(), C.Top);
  }
}

// The row under the mouse becomes the selected one; below the last row no
// row is selected; leaving the list forgets the position, so that coming
// back to the same point tracks again.
TEST_F(EditListBox, HotTrackingFollowsTheMouse) {
  MoveMouse(ScreenPointOfRow(2));
  EXPECT_EQ(List->ItemIndex(), 2);
  EXPECT_GE(Selects.Count, 1);
  const TRect ALast = List->ItemRect(4);
  POINT ABelow{ALast.left + 20, ALast.bottom + 5};
  ASSERT_LT(ABelow.y, List->ClientHeight());
  ClientToScreen(List->Handle(), &ABelow);
  MoveMouse(ABelow);
  EXPECT_EQ(List->ItemIndex(), -1);

  const POINT P = ScreenPointOfRow(3);
  MoveMouse(P);
  ASSERT_EQ(List->ItemIndex(), 3);
  // The same point again changes nothing that was set meanwhile.
  List->SetItemIndex(0);
  TPoint AClient = List->ScreenToClient(TPoint{P.x, P.y});
  SendMessageW(List->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(AClient.x, AClient.y));
  EXPECT_EQ(List->ItemIndex(), 0);
  // Out of the list (nothing happens there) and back to the same point.
  MoveMouse(POINT{Form->Left() + 240, Form->Top() + 180});
  EXPECT_EQ(List->ItemIndex(), 0);
  MoveMouse(P);
  EXPECT_EQ(List->ItemIndex(), 3);
}

// A click on a row selects it and reports the selection once more.
TEST_F(EditListBox, AClickSelectsTheRowAndReportsIt) {
  List->SetHotTrack(false);
  const POINT P = ScreenPointOfRow(1);
  MoveMouse(P);
  EXPECT_EQ(List->ItemIndex(), -1);
  const int ABefore = Selects.Count;
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpUntil([&] { return List->ItemIndex() == 1 && Selects.Count > ABefore; });
  ProcessMessages();
  EXPECT_EQ(List->ItemIndex(), 1);
  EXPECT_EQ(Selects.Count, ABefore + 1);
}

}  // namespace
