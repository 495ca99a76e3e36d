// Window, painting and input routines, and mouse tracking.
#include <gtest/gtest.h>

#include "ControlsModules.h"
#include "ControlsTestSupport.h"
#include "WinHandles.h"

using namespace ControlsTest;

namespace {

using RTL = TdxRightToLeftLayoutConverter;

TEST(RightToLeft, ConverterTable) {
  const TRect Parent = cxRect(10, 0, 110, 50);
  EXPECT_EQ(RTL::ConvertRect(cxRect(20, 5, 50, 15), Parent), cxRect(70, 5, 100, 15));
  EXPECT_EQ(RTL::ConvertRect(cxNullRect, Parent), cxNullRect);  // stays empty
  EXPECT_EQ(RTL::ConvertXCoordinate(30, Parent), 90);
  EXPECT_EQ(RTL::ConvertPoint(TPoint{30, 7}, Parent), (TPoint{90, 7}));
  EXPECT_EQ(RTL::ConvertOffsets(cxRect(1, 2, 3, 4)), cxRect(3, 2, 1, 4));
  struct TBordersCase {
    TcxBorders In, Out;
  };
  for (const TBordersCase& C :
       {TBordersCase{{bLeft, bTop}, {bRight, bTop}}, TBordersCase{{bRight}, {bLeft}},
        TBordersCase{{bLeft, bRight}, {bLeft, bRight}}, TBordersCase{{}, {}},
        TBordersCase{{bBottom}, {bBottom}}})
    EXPECT_TRUE(RTL::ConvertBorders(C.In) == C.Out);
  EXPECT_TRUE(RTL::ConvertNeighbors(TcxNeighbors{nLeft, nBottom}) ==
              (TcxNeighbors{nRight, nBottom}));
  EXPECT_EQ(RTL::ConvertAlignment(taLeftJustify), taRightJustify);
  EXPECT_EQ(RTL::ConvertAlignment(taCenter), taCenter);
  EXPECT_EQ(RTL::ConvertArrowDirection(adRight), adLeft);
  EXPECT_EQ(RTL::ConvertArrowDirection(adUp), adUp);
  EXPECT_EQ(RTL::ConvertcxDrawTextAlignment(cxAlignLeft), cxAlignRight);
  EXPECT_EQ(RTL::ConvertcxDrawTextAlignment(cxAlignHCenter), cxAlignHCenter);
  EXPECT_EQ(RTL::ConvertcxTextAlignX(taRight), taLeft);
  EXPECT_EQ(RTL::ConvertcxTextAlignX(taJustifyX), taJustifyX);
  EXPECT_EQ(RTL::ConvertVirtualKeyCode(VK_LEFT), VK_RIGHT);
  EXPECT_EQ(RTL::ConvertVirtualKeyCode(VK_UP), VK_UP);
  EXPECT_EQ(RTL::ConvertPopupAlignHorz(pahLeft), pahRight);
  EXPECT_EQ(RTL::ConvertPopupAlignHorz(pahRight), pahLeft);
  EXPECT_EQ(RTL::ConvertPopupAlignHorz(pahCenter), pahCenter);
}

// Whether a control can have its window now, along its parents.
TEST(WindowRoutines, CanAllocateHandleFollowsTheParents) {
  TOwned<TCustomForm> Form(Create<TForm>(nullptr, true));  // not shown yet
  auto* Loose = Create<TWinControl>(Form.get());           // neither parent nor window to sit in
  auto* OnForm = Create<TWinControl>(Form.get());
  OnForm->SetParent(Form.get());
  auto* OnLoose = Create<TWinControl>(Form.get());
  OnLoose->SetParent(Loose);
  auto* InWindow = Create<TWinControl>(Form.get());
  InWindow->SetParentWindow(GetDesktopWindow());
  auto* Frame = Create<TFrame>(Form.get());
  auto* Freed = Create<TWinControl>(Form.get());
  struct {
    const char* Name;
    TWinControl* Control;
    bool Can;
  } const Cases[] = {
      {"nothing", nullptr, false},
      {"a form before its window", Form.get(), true},
      {"a child of that form", OnForm, true},
      {"a control without parent", Loose, false},
      {"a child of a control without parent", OnLoose, false},
      {"a control placed in a window", InWindow, true},
      {"a frame without parent", Frame, true},
  };
  ASSERT_FALSE(Form->HandleAllocated());
  for (const auto& C : Cases) EXPECT_EQ(CanAllocateHandle(C.Control), C.Can) << C.Name;
  // Once destruction began a control without a window gets none, whatever
  // its parents.
  Freed->SetParent(Form.get());
  EXPECT_TRUE(CanAllocateHandle(Freed));
  Freed->Destroying();
  EXPECT_FALSE(CanAllocateHandle(Freed));
  Freed->SetParent(nullptr);
  Form->Show();
  EXPECT_TRUE(OnForm->HandleAllocated());
  EXPECT_TRUE(CanAllocateHandle(OnForm));
}

TEST(WindowRoutines, SetWindowStyleTable) {
  HWND Wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER | WS_DISABLED, 0, 0, 10, 10,
                             nullptr, nullptr, nullptr, nullptr);
  struct TCase {
    const char* Name;
    LONG_PTR Bits;
    TdxSetOperation Op;
    LONG_PTR Set, Clear;
  };
  const TCase Cases[] = {
      {"add keeps the rest", WS_TABSTOP, soAdd, WS_TABSTOP | WS_BORDER | WS_DISABLED, 0},
      {"subtract clears only its bits", WS_BORDER, soSubtract, WS_TABSTOP | WS_DISABLED, WS_BORDER},
      {"set replaces", WS_POPUP | WS_GROUP, soSet, WS_GROUP, WS_TABSTOP | WS_DISABLED},
  };
  for (const TCase& C : Cases) {
    LONG_PTR Before = GetWindowLongPtrW(Wnd, GWL_STYLE);
    EXPECT_EQ(dxSetWindowStyle(Wnd, C.Bits, C.Op), Before) << C.Name;
    LONG_PTR After = GetWindowLongPtrW(Wnd, GWL_STYLE);
    EXPECT_EQ(After & C.Set, C.Set) << C.Name;
    EXPECT_EQ(After & C.Clear, 0) << C.Name;
  }
  dxSetWindowStyle(Wnd, WS_EX_LAYOUTRTL, soAdd, wsiExStyle);
  EXPECT_TRUE(dxWindowHasRightToLeftLayout(Wnd));
  EXPECT_TRUE(dxIsCurrentProcessWindow(Wnd));
  DestroyWindow(Wnd);
  EXPECT_EQ(cxGetWindowRect(Wnd), cxNullRect);
  EXPECT_FALSE(dxIsCurrentProcessWindow(nullptr));
}

TEST(WindowRoutines, MakeVisibleOnDesktopLeftAndTopWin) {
  TRect W = GetDesktopWorkArea(TPoint{1, 1});
  TRect Big = cxRect(W.left + 5, W.top + 5, W.right + 50, W.bottom + 60);
  MakeVisibleOnDesktop(Big, TPoint{1, 1});
  EXPECT_EQ(Big.left, W.left);
  EXPECT_EQ(Big.top, W.top);
  TRect Small = cxRect(W.right - 5, W.bottom - 5, W.right + 15, W.bottom + 5);
  MakeVisibleOnDesktop(Small, TPoint{1, 1});
  EXPECT_EQ(Small, cxRect(W.right - 20, W.bottom - 10, W.right, W.bottom));
}

TEST(InputRoutines, IsNumericCharUnderBothSeparators) {
  TFormatSettings& F = FormatSettings();
  const Char Saved = F.DecimalSeparator;
  struct TCase {
    Char C;
    bool Integer, Float, Exponent;
  };
  for (Char Separator : {L'.', L','}) {
    F.DecimalSeparator = Separator;
    const Char Other = Separator == L'.' ? L',' : L'.';
    const TCase Cases[] = {
        {L'7', true, true, true},       {L'-', true, true, true},     {L'+', true, true, true},
        {Separator, false, true, true}, {Other, false, false, false}, {L'e', false, false, true},
        {L'E', false, false, true},     {L'x', false, false, false},  {L' ', false, false, false}};
    for (const TCase& C : Cases) {
      EXPECT_EQ(IsNumericChar(C.C, ntInteger), C.Integer)
          << char(C.C) << " sep " << char(Separator);
      EXPECT_EQ(IsNumericChar(C.C, ntFloat), C.Float) << char(C.C) << " sep " << char(Separator);
      EXPECT_EQ(IsNumericChar(C.C, ntExponent), C.Exponent)
          << char(C.C) << " sep " << char(Separator);
    }
  }
  F.DecimalSeparator = Saved;
  EXPECT_TRUE(IsTextChar(L'a'));
  EXPECT_FALSE(IsTextChar(L'\t'));
}

TEST(InputRoutines, IsSysKeyTable) {
  const std::pair<Word, bool> Cases[] = {
      {VK_SPACE, false},    {VK_BACK, false},  {'A', false},          {VK_F1, true},
      {VK_TAB, true},       {VK_RETURN, true}, {VK_PRIOR, true},      {VK_HELP, true},
      {VK_LWIN, true},      {VK_SCROLL, true}, {136, true},           {VK_LSHIFT, true},
      {VK_RMENU, true},     {166, false},      {VK_PROCESSKEY, true}, {VK_ATTN, true},
      {VK_OEM_CLEAR, true}, {255, false},      {256 + VK_F1, false},  {VK_OEM_1, false}};
  for (auto [Key, Expected] : Cases) EXPECT_EQ(IsSysKey(Key), Expected) << Key;
}

TEST(InputRoutines, ShiftStatesAndKeys) {
  EXPECT_EQ(ShiftStateToKeys(TShiftState{ssShift, ssLeft, ssAlt}), MK_SHIFT | MK_LBUTTON);
  EXPECT_TRUE(cxShiftStateMoveOnly(TShiftState{}));
  EXPECT_FALSE(cxShiftStateMoveOnly(TShiftState{ssDouble}));
  EXPECT_TRUE(cxShiftStateLeftOnly(TShiftState{ssLeft}));
  EXPECT_FALSE(cxShiftStateLeftOnly(TShiftState{ssLeft, ssDouble}));
  EXPECT_TRUE(cxShiftStateLeftOnly(TShiftState{ssLeft, ssDouble}, true));
  EXPECT_FALSE(cxShiftStateLeftOnly(TShiftState{ssLeft, ssCtrl}, true));
  EXPECT_TRUE(IsPointInDragDetectArea(TPoint{10, 10}, 11, 9));
  EXPECT_FALSE(IsPointInDragDetectArea(TPoint{10, 10}, 10 + GetSystemMetrics(SM_CXDRAG), 10));
}

TEST(InputRoutines, ScrollUIChecksOfTheHook) {
  WINDOWPOS Hide{}, Move{};
  Hide.flags = SWP_HIDEWINDOW;
  Move.flags = SWP_NOSIZE;
  struct TCase {
    UINT Msg;
    WPARAM W;
    LPARAM L;
    TcxScrollUICheck Expected;
  };
  const TCase Cases[] = {
      {WM_MOVE, 0, 0, suicPosition},
      {WM_SIZE, 0, 0, suicPosition},
      {WM_EXITSIZEMOVE, 0, 0, suicPosition},
      {WM_ENABLE, 0, 0, suicVisibility},
      {WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&Hide), suicVisibility},
      {WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&Move), suicNone},
      {WM_CLOSE, 0, 0, suicVisibility},
      {WM_SYSCOMMAND, SC_MINIMIZE | 2, 0, suicVisibility},
      {WM_SYSCOMMAND, SC_MAXIMIZE, 0, suicNone},
      {WM_PAINT, 0, 0, suicNone},
  };
  for (const TCase& C : Cases) EXPECT_EQ(cxScrollUICheckFor(C.Msg, C.W, C.L), C.Expected) << C.Msg;
}

TEST(PaintRoutines, GlassTextBitmapHeaderCarriesItsRealSize) {
  BITMAPINFOHEADER H = dxGlassTextBitmapHeader(30, 12);
  EXPECT_EQ(H.biSize, 40u);
  EXPECT_EQ(H.biHeight, -12);  // top-down
  EXPECT_EQ(H.biBitCount, 32);
}

// ---------------------------------------------------------------------------
// Buffered painting: the control paints its whole client red each time; what
// reaches the screen is only the update region.

class TBufferedProbe : public TWinControl {
  DECLARE_CLASS_INLINE(TBufferedProbe, TWinControl)
 public:
  using TWinControl::TWinControl;
  TColor Fill = clRed;
  Integer Paints = 0;
  // What the last paint's DC lets through, in client coordinates.
  bool GapVisible = true, SecondVisible = false;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_ERASEBKGND) {
      Message.Result = 1;
    } else if (Message.Msg == WM_PAINT && Message.WParam == 0) {
      dxBufferedPaintControl(this);
    } else if (Message.Msg == WM_PAINT) {
      ++Paints;
      HDC DC = reinterpret_cast<HDC>(Message.WParam);
      GapVisible = PtVisible(DC, 30, 10);
      SecondVisible = PtVisible(DC, 45, 25);
      TBrushHandle Brush(CreateSolidBrush(static_cast<COLORREF>(Fill)));
      TRect R = cxRect(0, 0, Width(), Height());
      FillRect(DC, &R, Brush.Get());
    } else {
      inherited::WndProc(Message);
    }
  }
};

// On Windows 7 without desktop composition the update region is not asked
// for: the paint rectangle is painted whole (the platform's flag injected).
TEST(PaintRoutines, BufferedPaintTouchesOnlyTheUpdateRegion) {
  TOwned<TCustomForm> Form(CreateForm(80, 60));
  auto* Probe = Create<TBufferedProbe>(Form.get());
  Probe->SetParent(Form.get());
  Probe->SetBounds(0, 0, 60, 40);
  const bool SavedWinSeven = IsWinSeven;
  for (bool WinSeven : {false, true}) {
    IsWinSeven = WinSeven;
    const bool Clipped = !(WinSeven && !IsCompositionEnabled());
    Probe->Fill = clBlue;
    RedrawWindow(Probe->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Probe->Fill = clRed;
    // Two separate rectangles: a complex region, not its bounding box.
    TRegionHandle Update(CreateRectRgn(5, 5, 15, 15));
    TRegionHandle Second(CreateRectRgn(40, 20, 50, 30));
    CombineRgn(Update.Get(), Update.Get(), Second.Get(), RGN_OR);
    RedrawWindow(Probe->Handle(), nullptr, Update.Get(), RDW_INVALIDATE | RDW_UPDATENOW);
    TOwned<TcxBitmap32> Shot = CaptureWindow(Probe, false);
    EXPECT_EQ(Probe->GapVisible, !Clipped) << "Windows 7: " << WinSeven;
    EXPECT_TRUE(Probe->SecondVisible) << "Windows 7: " << WinSeven;
    // The screen shows the new picture only in the update region.
    auto At = [&](Integer X, Integer Y) {
      return GetPixel(Shot->Canvas()->Handle(), X, Y) & 0xFFFFFF;
    };
    struct TPointCase {
      Integer X, Y;
      COLORREF Colour;
    };
    const TPointCase Points[] = {{5, 5, RGB(255, 0, 0)},   {14, 14, RGB(255, 0, 0)},
                                 {45, 25, RGB(255, 0, 0)}, {15, 15, RGB(0, 0, 255)},
                                 {30, 10, RGB(0, 0, 255)}, {4, 5, RGB(0, 0, 255)},
                                 {40, 10, RGB(0, 0, 255)}, {55, 35, RGB(0, 0, 255)}};
    for (const TPointCase& P : Points)
      EXPECT_EQ(At(P.X, P.Y), P.Colour) << P.X << ", " << P.Y << " Windows 7: " << WinSeven;
  }
  IsWinSeven = SavedWinSeven;
}

// ---------------------------------------------------------------------------
// Mouse tracking, stepped by the test rather than by the 10 ms timer.

struct TTracker : IcxMouseTrackingCaller3 {
  Integer Leaves = 0;
  bool Captured = false;
  TRect Area{};
  void MouseLeave() override { ++Leaves; }
  bool PtInCaller(const TPoint& P) override { return PtInRect(&Area, P) != FALSE; }
  bool IsCaptureMouse() override { return Captured; }
};

class TLeaveCounter : public TWinControl {
  DECLARE_CLASS_INLINE(TLeaveCounter, TWinControl)
 public:
  using TWinControl::TWinControl;
  Integer Leaves = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_MOUSELEAVE && Message.LParam == reinterpret_cast<LPARAM>(this)) ++Leaves;
    inherited::WndProc(Message);
  }
};

struct Tracking : testing::Test {
  TOwned<TCustomForm> Form;
  TLeaveCounter* Control = nullptr;
  TTracker Caller;
  void SetUp() override {
    Form.reset(CreateForm(120, 80));
    Control = Create<TLeaveCounter>(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(10, 10, 60, 40);
    Caller.Area = cxRect(0, 0, 60, 40);
    ProcessMessages();
  }
  void TearDown() override { EndMouseTracking(&Caller); }
  void MoveTo(Integer X, Integer Y) {
    TPoint P = Control->ClientToScreen(TPoint{X, Y});
    SetCursorPos(P.x, P.y);
  }
  void Step() {
    if (TMouseTrackingTimer* T = GetMouseTrackingTimer(&Caller)) T->Check();
  }
};

TEST_F(Tracking, OneLeaveWhenTheCursorMovesOut) {
  MoveTo(20, 20);
  BeginMouseTracking(Control, Caller.Area, &Caller);
  Step();
  EXPECT_EQ(Caller.Leaves, 0);
  ASSERT_TRUE(IsMouseTracking(&Caller));
  MoveTo(80, 20);  // on the form, outside the control
  Step();
  Step();
  EXPECT_EQ(Caller.Leaves, 1);
  EXPECT_EQ(Control->Leaves, 1);
  EXPECT_FALSE(IsMouseTracking(&Caller));
}

TEST_F(Tracking, NoLeaveWhileTheCallerHoldsTheCapture) {
  MoveTo(20, 20);
  BeginMouseTracking(Control, Caller.Area, &Caller);
  Caller.Captured = true;
  MoveTo(80, 20);
  Step();
  EXPECT_EQ(Caller.Leaves, 0);
  EXPECT_TRUE(IsMouseTracking(&Caller));
  Caller.Captured = false;
  Step();
  EXPECT_EQ(Caller.Leaves, 1);
}

TEST_F(Tracking, OneTimerPerCallerAndTheControlsFreeingIsSeen) {
  const Integer Before = MouseTrackingTimerList()->Count();
  BeginMouseTracking(Control, Caller.Area, &Caller);
  BeginMouseTracking(Control, Caller.Area, &Caller);
  EXPECT_EQ(MouseTrackingTimerList()->Count(), Before + 1);
  TMouseTrackingTimer* Timer = GetMouseTrackingTimer(&Caller);
  ASSERT_NE(Timer, nullptr);
  // The bounds are kept in screen coordinates.
  const TPoint Origin = Control->ClientToScreen(TPoint{0, 0});
  EXPECT_EQ(Timer->Bounds, cxRect(Origin.x, Origin.y, Origin.x + 60, Origin.y + 40));
  EXPECT_EQ(Timer->Interval(), 10u);
  Control->Free();
  Control = nullptr;
  EXPECT_EQ(Timer->Control(), nullptr);
  SetCursorPos(Origin.x + 80, Origin.y + 50);
  Step();  // no control left to tell; the caller still hears the leave
  EXPECT_EQ(Caller.Leaves, 1);
}

}  // namespace

namespace {

TEST(PopupMenus, DropDownPlacementTable) {
  const TRect Work = cxRect(0, 0, 800, 600);
  struct TCase {
    const char* Name;
    TRect Owner;
    TPopupAlignment Alignment;
    Integer Height;
    TPoint Point;
    TPopupAlignment Result;
  };
  const TCase Cases[] = {
      {"below, left", cxRect(100, 100, 180, 120), paLeft, 50, {100, 120}, paLeft},
      {"below, right edge", cxRect(100, 100, 180, 120), paRight, 50, {180, 120}, paRight},
      {"below, centre", cxRect(100, 100, 181, 120), paCenter, 50, {140, 120}, paCenter},
      {"above with a gap", cxRect(100, 560, 180, 580), paLeft, 50, {100, 508}, paLeft},
      {"exactly fits below", cxRect(100, 530, 180, 550), paLeft, 50, {100, 550}, paLeft},
      {"at the left edge opens right", cxRect(0, 100, 80, 120), paLeft, 50, {0, 120}, paRight},
      {"past the right edge opens left",
       cxRect(700, 100, 800, 120),
       paRight,
       50,
       {800, 120},
       paLeft},
  };
  for (const TCase& C : Cases) {
    TcxPopupMenuPlacement P = cxPopupMenuPlacement(C.Owner, C.Alignment, C.Height, Work);
    EXPECT_EQ(P.Point, C.Point) << C.Name;
    EXPECT_EQ(P.Alignment, C.Result) << C.Name;
  }
}

struct TOtherMenu : TComponent, IcxPopupMenu {
  using TComponent::TComponent;
  bool IsShortCutKey(const TMessage& AMessage) override { return AMessage.WParam == VK_F5; }
  void Popup(Integer X, Integer Y) override { Shown = TPoint{X, Y}; }
  TPoint Shown{-1, -1};
};

TEST(PopupMenus, RecognisingMeasuringAndShortCuts) {
  TOwned<TPopupMenu> Menu(Create<TPopupMenu>(nullptr));
  for (const wchar_t* Caption : {L"One", L"Two", L"Hidden", L"Three"}) {
    TMenuItem* Item = Create<TMenuItem>(Menu.get());
    Item->SetCaption(Caption);
    Item->SetVisible(String(Caption) != L"Hidden");
    Menu->Items()->Add(Item);
  }
  Menu->Items()->Items(1)->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
  TOwned<TcxScreenCanvas> Canvas(Create<TcxScreenCanvas>());
  Canvas->SetFont(Screen()->MenuFont());
  EXPECT_EQ(GetPopupMenuHeight(Menu.get()), 3 * (Canvas->TextHeight(L"Qg") + 4) + 4);
  EXPECT_TRUE(IsPopupMenu(Menu.get()));
  TOwned<TOtherMenu> Other(Create<TOtherMenu>(nullptr));
  EXPECT_TRUE(IsPopupMenu(Other.get()));
  TOwned<TComponent> Plain(Create<TComponent>(nullptr));
  EXPECT_FALSE(IsPopupMenu(Plain.get()));
  EXPECT_FALSE(IsPopupMenu(nullptr));
  // Ctrl comes from the thread's keyboard state, as the framework reads it.
  TMessage PlainS{WM_KEYDOWN, 'S', 0, 0};
  EXPECT_FALSE(IsPopupMenuShortCut(Menu.get(), PlainS));
  BYTE Keys[256], Saved[256];
  GetKeyboardState(Saved);
  std::copy(std::begin(Saved), std::end(Saved), std::begin(Keys));
  Keys[VK_CONTROL] = 0x80;
  SetKeyboardState(Keys);
  EXPECT_TRUE(IsPopupMenuShortCut(Menu.get(), PlainS));
  Menu->Items()->Items(1)->SetEnabled(false);
  EXPECT_FALSE(IsPopupMenuShortCut(Menu.get(), PlainS));  // a disabled item takes no key
  SetKeyboardState(Saved);
  TMessage F5{WM_KEYDOWN, VK_F5, 0, 0};
  EXPECT_TRUE(IsPopupMenuShortCut(Other.get(), F5));
  EXPECT_FALSE(IsPopupMenuShortCut(Plain.get(), F5));
  EXPECT_TRUE(ShowPopupMenu(nullptr, Other.get(), 12, 34));
  EXPECT_EQ(Other->Shown, (TPoint{12, 34}));
  EXPECT_FALSE(ShowPopupMenu(nullptr, Plain.get(), 12, 34));
  Menu->SetAutoPopup(false);
  EXPECT_FALSE(ShowPopupMenu(nullptr, Menu.get(), 12, 34));
}

}  // namespace

namespace {

constexpr UINT kQueued = WM_APP + 30;

class TQueueProbe : public TWinControl {
  DECLARE_CLASS_INLINE(TQueueProbe, TWinControl)
 public:
  using TWinControl::TWinControl;
  std::string* Log = nullptr;
  char Name = '?';

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == kQueued) Log->push_back(Name);
    inherited::WndProc(Message);
  }
};

TEST(WindowRoutines, PerformByQueueStopsBeforeTheForm) {
  TOwned<TCustomForm> Form(CreateForm(100, 80));
  std::string Log;
  auto Add = [&](TWinControl* AParent, char AName) {
    auto* P = Create<TQueueProbe>(Form.get());
    P->Log = &Log;
    P->Name = AName;
    P->SetParent(AParent);
    P->SetBounds(2, 2, 40, 30);
    return P;
  };
  TQueueProbe* Outer = Add(Form.get(), 'o');
  TQueueProbe* Inner = Add(Outer, 'i');
  dxPerformMessageByQueue(Inner, kQueued);
  EXPECT_EQ(Log, "io");
  Log.clear();
  dxPerformMessageByQueue(nullptr, kQueued);
  EXPECT_EQ(Log, "");
  EXPECT_EQ(cxFindVCLControl(Inner->Handle()), Inner);
  EXPECT_EQ(dxGetParentForm(Inner->Handle()), Form.get());
  EXPECT_EQ(cxFindComponent(Form.get(), TQueueProbe::StaticClass()), Outer);
  EXPECT_TRUE(IsWindowEnabledEx(Inner->Handle()));
  Outer->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabledEx(Inner->Handle()));
  EXPECT_TRUE(IsChildEx(Outer->Handle(), Inner->Handle()));
  EXPECT_TRUE(IsChildEx(Inner->Handle(), Inner->Handle()));
  EXPECT_FALSE(IsChildEx(Inner->Handle(), Outer->Handle()));
  EXPECT_FALSE(IsMDIChild(Form.get()));
}

}  // namespace

namespace {

TEST(PaintRoutines, TextOnGlassKeepsOrClearsTheBackgroundAndStaysInItsBounds) {
  struct TCase {
    bool Transparent;
    COLORREF Inside;
  };
  for (const TCase& C : {TCase{true, RGB(255, 255, 255)}, TCase{false, RGB(0, 0, 0)}}) {
    TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(60, 30));
    HDC DC = B->Canvas()->Handle();
    TBrushHandle White(CreateSolidBrush(RGB(255, 255, 255)));
    RECT All{0, 0, 60, 30};
    FillRect(DC, &All, White.Get());
    dxDrawTextOnGlass(DC, L"i", nullptr, cxRect(10, 5, 50, 25), clBlack, DT_LEFT | DT_TOP, 0,
                      C.Transparent);
    // Far from the one narrow letter: only the background decides.
    EXPECT_EQ(GetPixel(DC, 48, 23) & 0xFFFFFF, C.Inside) << "transparent " << C.Transparent;
    EXPECT_EQ(GetPixel(DC, 9, 5) & 0xFFFFFF, RGB(255, 255, 255)) << "transparent " << C.Transparent;
    EXPECT_EQ(GetPixel(DC, 50, 25) & 0xFFFFFF, RGB(255, 255, 255))
        << "transparent " << C.Transparent;
  }
}

// Counts the buffered copies that reach it.
class TGlassControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  int BufferedCopies = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_BUFFEREDPRINTCLIENT) ++BufferedCopies;
    TWinControl::WndProc(Message);
  }
};

TEST(PaintRoutines, GlassPaintNeedsTheFlagAWindowAndComposition) {
  TOwned<TCustomForm> Form(CreateForm(200, 100));
  auto* Control = Create<TGlassControl>(Form.get());
  Control->SetParent(Form.get());
  EXPECT_FALSE(dxIsPaintOnGlass(nullptr));
  Control->SetControlState(Control->ControlState() + TControlState{csGlassPaint});
  EXPECT_FALSE(dxIsPaintOnGlass(Control)) << "no window yet";
  Form->Show();
  ProcessMessages();
  const bool Composition = IsCompositionEnabled();
  EXPECT_EQ(dxIsPaintOnGlass(Control), Composition);
  // Queued copies run now when the control paints on glass; otherwise they
  // stay queued for the loop.
  PostMessageW(Control->Handle(), CM_BUFFEREDPRINTCLIENT, 0, 0);
  PostMessageW(Control->Handle(), CM_BUFFEREDPRINTCLIENT, 0, 0);
  dxForceProcessBufferedPaintMessages(Control);
  EXPECT_EQ(Control->BufferedCopies, Composition ? 2 : 0);
  MSG Msg;
  EXPECT_EQ(PeekMessageW(&Msg, Control->Handle(), CM_BUFFEREDPRINTCLIENT, CM_BUFFEREDPRINTCLIENT,
                         PM_REMOVE) != FALSE,
            !Composition);
  while (PeekMessageW(&Msg, Control->Handle(), CM_BUFFEREDPRINTCLIENT, CM_BUFFEREDPRINTCLIENT,
                      PM_REMOVE)) {
  }
  // Without the flag nothing is taken from the queue.
  Control->SetControlState(Control->ControlState() - TControlState{csGlassPaint});
  EXPECT_FALSE(dxIsPaintOnGlass(Control));
  PostMessageW(Control->Handle(), CM_BUFFEREDPRINTCLIENT, 0, 0);
  dxForceProcessBufferedPaintMessages(Control);
  EXPECT_TRUE(PeekMessageW(&Msg, Control->Handle(), CM_BUFFEREDPRINTCLIENT, CM_BUFFEREDPRINTCLIENT,
                           PM_REMOVE));
}

TEST(ControlHelper, ScaleFactorsAndDPIOfControlsAndTheirComponents) {
  TOwned<TCustomForm> Form(CreateForm(200, 100));
  auto* Control = Create<TcxControl>(Form.get());
  Control->SetParent(Form.get());
  auto* Plain = Create<TWinControl>(Form.get());
  Plain->SetParent(Form.get());
  TOwned<TcxControlChildComponent> Attached(
      TcxControlChildComponent::CreateEx(TcxControlChildComponent::StaticClass(), Control, false));
  TOwned<TcxControlChildComponent> Alone(Create<TcxControlChildComponent>(nullptr));
  TOwned<TComponent> Other(Create<TComponent>(nullptr));

  EXPECT_EQ(TcxControlHelper::GetControlByObject(Control), Control);
  EXPECT_EQ(TcxControlHelper::GetControlByObject(Attached.get()), Control);
  EXPECT_EQ(TcxControlHelper::GetControlByObject(Alone.get()), nullptr);
  EXPECT_EQ(TcxControlHelper::GetControlByObject(Other.get()), nullptr);
  EXPECT_EQ(TcxControlHelper::GetCurrentDPIFromControl(Attached.get()), Control->CurrentPPI());
  EXPECT_EQ(TcxControlHelper::GetCurrentDPIFromControl(Other.get()), cxGetCurrentDPI());

  // To one and a half times the control's factor and DPI.
  const Integer PPI = Control->CurrentPPI();
  const Integer N = Control->ScaleFactor()->Numerator(), D = Control->ScaleFactor()->Denominator();
  TcxControlHelper::ChangeScaleFactor(Control, N * 3, D * 2);
  EXPECT_EQ(Control->CurrentPPI(), PPI * 3 / 2);
  EXPECT_EQ(Control->ScaleFactor()->TargetDPI(), MulDiv(cxDefaultDPI * N, 3, D * 2));
  // The same factor again changes nothing; a control without a factor of its
  // own is left alone.
  TcxControlHelper::ChangeScaleFactor(Control, Control->ScaleFactor());
  EXPECT_EQ(Control->CurrentPPI(), PPI * 3 / 2);
  const Integer PlainPPI = Plain->CurrentPPI();
  TcxControlHelper::ChangeScaleFactor(Plain, 2, 1);
  EXPECT_EQ(Plain->CurrentPPI(), PlainPPI);

  // A component attached to a control scales the control; one alone scales
  // its own factor.
  TcxControlHelper::ScaleForPPI(Attached.get(), PPI * 2);
  EXPECT_EQ(Control->CurrentPPI(), PPI * 2);
  TcxControlHelper::ScaleForPPI(Alone.get(), 144);
  EXPECT_EQ(Alone->ScaleFactor()->TargetDPI(), 144);
  TcxControlHelper::ScaleForPPI(Plain, PlainPPI * 2);
  EXPECT_EQ(Plain->CurrentPPI(), PlainPPI * 2);
}

}  // namespace
