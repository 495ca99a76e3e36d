// The inner list box in a container: auto-complete with an injected clock,
// keys passed on to the container, and library scroll bars standing exactly
// over the native ones as items come and go.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "ControlsTestSupport.h"
#include "Menus.h"
#include "cxContainer.h"

namespace {

using ControlsTest::CreateForm;
using ControlsTest::ProcessMessages;

DWORD FakeNow = 1000;
DWORD FakeClock() { return FakeNow; }

class TKeyRecorder : public TObject {
  DECLARE_CLASS_INLINE(TKeyRecorder, TObject)
 public:
  void KeyPress(TObject*, Char& Key) { Keys += Key; }
  String Keys;
};

class InnerListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(240, 200));
    Box = Create<TcxContainer>(Form.get());
    Box->SetBounds(10, 10, 150, 120);
    Box->SetParent(Form.get());
    List = Create<TcxCustomInnerListBox>(Form.get());
    List->SetContainer(Box);
    List->SetParent(Box);
    List->SetClock(&FakeClock);
    Box->SetInnerControl(List);
    Box->SetOnKeyPress(MakeEvent<&TKeyRecorder::KeyPress>(&Recorder));
    for (const wchar_t* S : {L"apple", L"Abacus", L"banana", L"cherry", L"abc"})
      List->Items()->Add(S);
    Box->ShortRefreshContainer(false);
    ProcessMessages();
  }
  void TearDown() override { Form.reset(); }
  void Type(Char C) {
    SendMessageW(List->Handle(), WM_CHAR, C, 0);
    FakeNow += 100;
  }
  TOwned<TCustomForm> Form;
  TcxContainer* Box = nullptr;
  TcxCustomInnerListBox* List = nullptr;
  TKeyRecorder Recorder;
};

TEST_F(InnerListBox, TypedLettersSelectTheFirstItemBeginningWithThemInAnyCase) {
  Type(L'a');
  EXPECT_EQ(List->ItemIndex(), 0);
  Type(L'B');
  EXPECT_EQ(List->AutoCompleteFilter(), L"aB");
  EXPECT_EQ(List->ItemIndex(), 1);
  // After a pause longer than the delay a new search starts.
  FakeNow += 600;
  Type(L'c');
  EXPECT_EQ(List->AutoCompleteFilter(), L"c");
  EXPECT_EQ(List->ItemIndex(), 3);
  // Nothing found: the selection stays.
  Type(L'z');
  EXPECT_EQ(List->ItemIndex(), 3);
}

TEST_F(InnerListBox, BackspaceThatEmptiesTheFilterSelectsTheFirstItem) {
  Type(L'b');
  EXPECT_EQ(List->ItemIndex(), 2);
  Type(VK_BACK);
  EXPECT_TRUE(List->AutoCompleteFilter().empty());
  EXPECT_EQ(List->ItemIndex(), 0);
}

class TOpenInnerListBox : public TcxCustomInnerListBox {
  DECLARE_CLASS_INLINE(TOpenInnerListBox, TcxCustomInnerListBox)
 public:
  using TcxCustomInnerListBox::GetPopupMenu;
  using TcxCustomInnerListBox::TcxCustomInnerListBox;
};

// The list shows its container's menu as its own; without a container its
// own.
TEST(InnerListBoxMenu, IsTheContainersMenu) {
  TOwned<TCustomForm> AForm(CreateForm(120, 80));
  auto* ABox = Create<TcxContainer>(AForm.get());
  auto* AList = Create<TOpenInnerListBox>(AForm.get());
  auto* AContainerMenu = Create<TPopupMenu>(AForm.get());
  auto* AOwnMenu = Create<TPopupMenu>(AForm.get());
  ABox->SetPopupMenu(AContainerMenu);
  AList->SetPopupMenu(AOwnMenu);
  EXPECT_EQ(AList->GetPopupMenu(), AOwnMenu);
  AList->SetContainer(ABox);
  EXPECT_EQ(AList->GetPopupMenu(), AContainerMenu);
  ABox->SetPopupMenu(nullptr);
  EXPECT_EQ(AList->GetPopupMenu(), nullptr);
}

TEST_F(InnerListBox, TabAndEnterAreConsumedAfterTheContainerSawEnter) {
  Type(L'\t');
  Type(L'\r');
  Type(L'c');
  EXPECT_EQ(Recorder.Keys, L"\rc");
  EXPECT_EQ(List->ItemIndex(), 3);
  // Tab never moved the selection.
  SendMessageW(List->Handle(), WM_KEYUP, VK_TAB, 0);
  EXPECT_EQ(List->ItemIndex(), 3);
  EXPECT_NE(SendMessageW(List->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS, 0);
}

class TItemPainter : public TObject {
  DECLARE_CLASS_INLINE(TItemPainter, TObject)
 public:
  void DrawItem(TWinControl* AControl, Integer, TRect ARect, TOwnerDrawState) {
    TCanvas* ACanvas = static_cast<TCustomListBox*>(AControl)->Canvas();
    ACanvas->Brush()->SetColor(RGB(0, 128, 0));
    ACanvas->FillRect(ARect);
  }
};

// Items drawn by default: the selected one in the highlight colour with the
// focus rectangle on top. Items drawn by the program's handler: exactly what
// the handler drew, no focus rectangle over it.
TEST_F(InnerListBox, OwnerDrawnItemsGetTheFocusRectangleOnlyWhenDrawnByDefault) {
  TItemPainter APainter;
  List->SetStyle(lbOwnerDrawFixed);
  for (bool AHandler : {false, true}) {
    SCOPED_TRACE(AHandler ? "handler" : "default");
    List->OnDrawItem = AHandler ? MakeEvent<&TItemPainter::DrawItem>(&APainter) : TDrawItemEvent();
    List->SetItemIndex(1);
    ::SetFocus(List->Handle());
    SendMessageW(Form->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    ProcessMessages();
    ASSERT_EQ(GetFocus(), List->Handle());
    TOwned<TcxBitmap32> AShot = ControlsTest::CaptureWindow(List);
    HDC DC = AShot->Canvas()->Handle();
    const TRect R = List->ItemRect(1);
    const COLORREF AFill = AHandler ? RGB(0, 128, 0) : ColorToRGB(clHighlight);
    EXPECT_EQ(GetPixel(DC, R.left + 10, (R.top + R.bottom) / 2), AFill);
    // The dotted focus rectangle along the item's top edge.
    int ADotted = 0;
    for (Integer X = R.left; X < R.left + 6; ++X) ADotted += GetPixel(DC, X, R.top) != AFill;
    EXPECT_EQ(ADotted > 0, !AHandler);
    if (!AHandler) {
      const TRect R0 = List->ItemRect(0);
      EXPECT_EQ(GetPixel(DC, R0.left + 10, (R0.top + R0.bottom) / 2), ColorToRGB(List->Color()));
    }
  }
  List->OnDrawItem = TDrawItemEvent();
}

class TWheelHandler : public TObject {
  DECLARE_CLASS_INLINE(TWheelHandler, TObject)
 public:
  void Wheel(TObject*, TShiftState, Integer, TPoint, bool& Handled) {
    ++Calls;
    Handled = Handle;
  }
  int Calls = 0;
  bool Handle = false;
};

// The wheel over the list reaches the container first; the list scrolls
// only when the container left it alone.
TEST_F(InnerListBox, TheWheelGoesToTheContainerFirst) {
  for (int I = 0; I < 30; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  TWheelHandler AHandler;
  Box->OnMouseWheel = MakeEvent<&TWheelHandler::Wheel>(&AHandler);
  for (bool AHandle : {true, false}) {
    SCOPED_TRACE(AHandle);
    AHandler.Handle = AHandle;
    List->SetTopIndex(0);
    const int ACalls = AHandler.Calls;
    SendMessageW(List->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(30, 30));
    ProcessMessages();
    EXPECT_EQ(AHandler.Calls, ACalls + 1);
    EXPECT_EQ(List->TopIndex() == 0, AHandle);
  }
}

// A recreated list window starts without the old window's redraw lock and
// gets its region again.
TEST_F(InnerListBox, ARecreatedWindowIsFreshForBarsAndRegion) {
  SendMessageW(List->Handle(), WM_SETREDRAW, FALSE, 0);
  List->RecreateWnd();
  for (int I = 0; I < 30; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  EXPECT_TRUE(List->VScrollBar()->Visible());
  // Sticking out of the container's client rectangle: cut by a region,
  // which the next window gets too.
  List->SetBounds(0, 0, 200, 160);
  TRect R = Box->ViewInfo()->ClientRect;
  Box->AlignControls(List, R);
  TRegionHandle ARgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(List->Handle(), ARgn.Get()), ERROR);
  List->RecreateWnd();
  EXPECT_NE(GetWindowRgn(List->Handle(), ARgn.Get()), ERROR);
}

TEST_F(InnerListBox, LibraryBarStandsExactlyOverTheNativeOne) {
  auto NativeRect = [&](LONG AObject, RECT& R) {
    SCROLLBARINFO I{};
    I.cbSize = sizeof(I);
    if (!GetScrollBarInfo(List->Handle(), AObject, &I) ||
        (I.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)))
      return false;
    R = I.rcScrollBar;
    MapWindowPoints(nullptr, Box->Handle(), reinterpret_cast<POINT*>(&R), 2);
    return true;
  };
  RECT R{};
  ASSERT_FALSE(NativeRect(OBJID_VSCROLL, R));
  EXPECT_FALSE(List->VScrollBar()->Visible());
  for (int I = 0; I < 30; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  ASSERT_TRUE(NativeRect(OBJID_VSCROLL, R));
  TcxScrollBar* Bar = List->VScrollBar();
  EXPECT_TRUE(Bar->Visible());
  EXPECT_EQ(Bar->Parent(), Box);
  EXPECT_EQ(Bar->Left(), R.left);
  EXPECT_EQ(Bar->Top(), R.top);
  EXPECT_EQ(Bar->Width(), R.right - R.left);
  EXPECT_EQ(Bar->Height(), R.bottom - R.top);
  EXPECT_EQ(Bar->Max(), 34);
  // Scrolling from the library bar moves the list.
  Integer APos = 5;
  Bar->OnScroll(Bar, scPosition, APos);
  EXPECT_EQ(List->TopIndex(), 5);
  List->Items()->Clear();
  ProcessMessages();
  EXPECT_FALSE(NativeRect(OBJID_VSCROLL, R));
  EXPECT_FALSE(Bar->Visible());
}

}  // namespace

namespace {

// Without the platform's GetScrollBarInfo nothing is mirrored: the list
// keeps its native bars and the library bars stay hidden.
TEST_F(InnerListBox, WithoutTheScrollBarInfoEntryTheNativeBarsStay) {
  TcxScrollBarInfoEntry ASaved = cxScrollBarInfoEntry();
  cxScrollBarInfoEntry() = TcxScrollBarInfoEntry{true, nullptr};
  auto ARestore = Finally([&] { cxScrollBarInfoEntry() = ASaved; });
  EXPECT_FALSE(UsecxScrollBars());
  for (int I = 0; I < 30; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  SCROLLBARINFO AInfo;
  EXPECT_FALSE(cxIsNativeScrollBarVisible(List->Handle(), sbVertical, AInfo));
  EXPECT_FALSE(List->VScrollBar()->Visible());
  EXPECT_NE(GetWindowLongPtrW(List->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
  ARestore.Dismiss();
  cxScrollBarInfoEntry() = ASaved;
  EXPECT_TRUE(UsecxScrollBars());
  EXPECT_TRUE(cxIsNativeScrollBarVisible(List->Handle(), sbVertical, AInfo));
  EXPECT_FALSE(cxIsNativeScrollBarVisible(List->Handle(), sbHorizontal, AInfo));
  List->Items()->Add(L"one more");
  EXPECT_TRUE(List->VScrollBar()->Visible());
}

}  // namespace

namespace {

// A container that mirrors its inner control's native bars onto its own
// library bars, as the editors' list containers do.
class TMirroringContainer : public TcxContainer {
  DECLARE_CLASS_INLINE(TMirroringContainer, TcxContainer)
 public:
  using TcxContainer::TcxContainer;
  bool NeedsScrollBars() override { return true; }
  // Touch and hybrid bars when the look and feel asks for them.
  bool AllowTouchScrollUIMode() override { return true; }
};

class MirroredBars : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(260, 200));
    Box = Create<TMirroringContainer>(Form.get());
    Box->SetBounds(10, 10, 170, 130);
    Box->SetParent(Form.get());
    List = Create<TcxCustomInnerListBox>(Form.get());
    List->SetContainer(Box);
    List->SetParent(Box);
    Box->SetInnerControl(List);
    Box->ShortRefreshContainer(false);
    ProcessMessages();
  }
  void TearDown() override { Form.reset(); }
  // The native bar as the platform reports it (screen coordinates).
  bool Native(LONG AObject, SCROLLBARINFO& AInfo) {
    AInfo = SCROLLBARINFO{};
    AInfo.cbSize = sizeof(AInfo);
    return GetScrollBarInfo(List->Handle(), AObject, &AInfo) &&
           !(AInfo.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) &&
           AInfo.rcScrollBar.right > AInfo.rcScrollBar.left;
  }
  RECT OnScreen(IcxControlScrollBar* ABar) {
    RECT R{ABar->GetLeft(), ABar->GetTop(), ABar->GetLeft() + ABar->GetWidth(),
           ABar->GetTop() + ABar->GetHeight()};
    MapWindowPoints(Box->Handle(), nullptr, reinterpret_cast<POINT*>(&R), 2);
    return R;
  }
  TOwned<TCustomForm> Form;
  TMirroringContainer* Box = nullptr;
  TcxCustomInnerListBox* List = nullptr;
};

TEST_F(MirroredBars, TheContainersBarsStandExactlyOverTheNativeOnesWithTheirValues) {
  struct TStep {
    int Items;
    int HorizontalExtent;
    bool Horizontal, Vertical;
  };
  const TStep Steps[] = {{3, 0, false, false},
                         {40, 0, false, true},
                         {40, 600, true, true},
                         {3, 600, true, false},
                         {0, 0, false, false}};
  for (const TStep& S : Steps) {
    SCOPED_TRACE(testing::Message() << S.Items << " items, extent " << S.HorizontalExtent);
    List->Items()->Clear();
    for (int I = 0; I < S.Items; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
    SendMessageW(List->Handle(), LB_SETHORIZONTALEXTENT, S.HorizontalExtent, 0);
    ProcessMessages();
    const struct {
      LONG Object;
      int Bar;
      IcxControlScrollBar* Library;
      bool Expected;
    } Kinds[] = {{OBJID_HSCROLL, SB_HORZ, Box->GetHScrollBar(), S.Horizontal},
                 {OBJID_VSCROLL, SB_VERT, Box->GetVScrollBar(), S.Vertical}};
    for (const auto& K : Kinds) {
      ASSERT_NE(K.Library, nullptr);
      SCROLLBARINFO AInfo;
      ASSERT_EQ(Native(K.Object, AInfo), K.Expected);
      EXPECT_EQ(K.Library->GetVisible(), K.Expected);
      if (!K.Expected) continue;
      RECT R = OnScreen(K.Library);
      EXPECT_TRUE(EqualRect(&R, &AInfo.rcScrollBar));
      SCROLLINFO AScroll{sizeof(AScroll), SIF_ALL};
      ASSERT_TRUE(GetScrollInfo(List->Handle(), K.Bar, &AScroll));
      EXPECT_EQ(K.Library->GetMin(), AScroll.nMin);
      EXPECT_EQ(K.Library->GetMax(), AScroll.nMax);
      EXPECT_EQ(K.Library->GetPageSize(), std::min<int>(AScroll.nPage, AScroll.nMax));
      EXPECT_EQ(K.Library->GetPosition(), AScroll.nPos);
      EXPECT_TRUE(K.Library->GetEnabled());
    }
    // The list's own library bars stay hidden: the container mirrors.
    EXPECT_FALSE(List->HScrollBar()->Visible());
    EXPECT_FALSE(List->VScrollBar()->Visible());
    // The size grip is the corner between the native bars, in the list's
    // window coordinates.
    const bool ABoth = S.Horizontal && S.Vertical;
    EXPECT_EQ(Box->SizeGripData().Visible, ABoth);
    EXPECT_EQ(List->IsSizeGripVisible(), ABoth);
    if (ABoth) {
      SCROLLBARINFO H, V;
      ASSERT_TRUE(Native(OBJID_HSCROLL, H));
      ASSERT_TRUE(Native(OBJID_VSCROLL, V));
      RECT W;
      GetWindowRect(List->Handle(), &W);
      TRect AExpected{V.rcScrollBar.left - W.left, H.rcScrollBar.top - W.top,
                      V.rcScrollBar.right - W.left, H.rcScrollBar.bottom - W.top};
      EXPECT_EQ(Box->SizeGripData().Bounds, AExpected);
      EXPECT_EQ(List->GetSizeGripRect(), AExpected);
    }
  }
}

TEST_F(MirroredBars, ScrollingTheListMovesTheMirroredThumb) {
  for (int I = 0; I < 40; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  List->SetTopIndex(7);
  ProcessMessages();
  EXPECT_EQ(Box->GetVScrollBar()->GetPosition(), GetScrollPos(List->Handle(), SB_VERT));
  EXPECT_EQ(Box->GetVScrollBar()->GetPosition(), 7);
}

// Moving the container's bar scrolls the list, and the wheel over the list
// goes through the container, whose bar scrolls the list by lines.
TEST_F(MirroredBars, TheContainersBarAndTheWheelScrollTheList) {
  for (int I = 0; I < 40; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  auto* ABar = dynamic_cast<TcxScrollBar*>(Box->GetVScrollBar()->GetControl());
  ASSERT_NE(ABar, nullptr);
  Integer APos = 5;
  ABar->OnScroll(ABar, scPosition, APos);
  ProcessMessages();
  EXPECT_EQ(List->TopIndex(), 5);
  EXPECT_EQ(APos, 5);
  EXPECT_EQ(Box->GetVScrollBar()->GetPosition(), 5);
  SendMessageW(List->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
               MAKELPARAM(30, 30));
  ProcessMessages();
  EXPECT_GT(List->TopIndex(), 5);
  EXPECT_EQ(Box->GetVScrollBar()->GetPosition(), List->TopIndex());
}

TEST_F(MirroredBars, ADisabledContainerShowsDisabledBars) {
  for (int I = 0; I < 40; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  Box->SetEnabled(false);
  Box->SetScrollBarsParameters(false);
  EXPECT_TRUE(Box->GetVScrollBar()->GetVisible());
  EXPECT_FALSE(Box->GetVScrollBar()->GetEnabled());
  Box->SetEnabled(true);
  Box->SetScrollBarsParameters(false);
  EXPECT_TRUE(Box->GetVScrollBar()->GetEnabled());
}

TEST_F(MirroredBars, WithoutTheScrollBarInfoEntryNothingIsMirrored) {
  TcxScrollBarInfoEntry ASaved = cxScrollBarInfoEntry();
  cxScrollBarInfoEntry() = TcxScrollBarInfoEntry{true, nullptr};
  auto ARestore = Finally([&] { cxScrollBarInfoEntry() = ASaved; });
  for (int I = 0; I < 40; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  SendMessageW(List->Handle(), LB_SETHORIZONTALEXTENT, 600, 0);
  ProcessMessages();
  Box->SetScrollBarsParameters(false);
  EXPECT_FALSE(Box->GetVScrollBar()->GetVisible());
  EXPECT_FALSE(Box->GetHScrollBar()->GetVisible());
  EXPECT_FALSE(Box->SizeGripData().Visible);
  EXPECT_NE(GetWindowLongPtrW(List->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
}

// The grip is filled where the platform put it, even on a device context
// laid out right to left.
TEST_F(MirroredBars, TheGripIsFilledUnmirroredInThePaintersColour) {
  TOwned<TcxBitmap32> ABitmap(TcxBitmap32::CreateSize(40, 20, true));
  HDC DC = ABitmap->Canvas()->Handle();
  FillRectByColor(DC, TRect{0, 0, 40, 20}, clRed);
  SetLayout(DC, LAYOUT_RTL);
  cxFillSizeGrip(Box, DC, TRect{2, 3, 8, 9});
  EXPECT_EQ(GetLayout(DC), static_cast<DWORD>(LAYOUT_RTL));
  SetLayout(DC, 0);
  const COLORREF AGrip = ColorToRGB(Box->LookAndFeel()->Painter()->DefaultSizeGripAreaColor());
  const COLORREF ARed = ColorToRGB(clRed);
  const struct {
    int X, Y;
    COLORREF Expected;
  } Pixels[] = {{2, 3, AGrip}, {7, 8, AGrip}, {8, 8, ARed}, {37, 5, ARed}};
  for (const auto& P : Pixels) EXPECT_EQ(GetPixel(DC, P.X, P.Y), P.Expected) << P.X << "," << P.Y;
}

// With touch bars, what happens in the list shows the container's bars for
// a while: a selection change, a scroll message, a real move of the mouse
// (not the first after it came in, not one of a few pixels). None of them
// holds the bars: they hide at the timer's next tick.
TEST_F(MirroredBars, TheListsActivityShowsTheContainersTouchBarsForAWhile) {
  for (int I = 0; I < 40; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  Box->GetStyle()->GetLookAndFeel()->SetScrollbarMode(sbmTouch);
  ProcessMessages();
  ASSERT_EQ(Box->GetScrollbarMode(), sbmTouch);
  auto Send = [&](UINT AMsg, WPARAM W, LPARAM L) { SendMessageW(List->Handle(), AMsg, W, L); };
  const struct {
    const char* Label;
    std::function<void()> Act;
    bool Shown;
  } Cases[] = {
      {"a selection change", [&] { Send(WM_KEYDOWN, VK_DOWN, 0); }, true},
      {"a scroll message", [&] { Send(WM_VSCROLL, SB_LINEDOWN, 0); }, true},
      {"the first move after coming in",
       [&] {
         List->Perform(CM_MOUSELEAVE, 0, 0);
         Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
       },
       false},
      {"a small move", [&] { Send(WM_MOUSEMOVE, 0, MAKELPARAM(9, 9)); }, false},
      {"a real move", [&] { Send(WM_MOUSEMOVE, 0, MAKELPARAM(30, 30)); }, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Label);
    Box->HideTouchScrollUI(Box, true);
    ASSERT_TRUE(Box->IsTouchScrollUIHidden(Box));
    C.Act();
    EXPECT_EQ(!Box->IsTouchScrollUIHidden(Box), C.Shown);
    EXPECT_EQ(TdxTouchScrollUIModeManager::HidingLockCount(), 0);
  }
  TdxTouchScrollUIModeManager::HidingTimerTick();
  EXPECT_TRUE(Box->IsTouchScrollUIHidden(Box));
}

}  // namespace
