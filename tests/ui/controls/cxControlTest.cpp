// The base control on real windows: what construction asks of descendants,
// scale brackets, dialog codes and real Tab, the popup menu, the painting
// road (border, clip, transparency), focus on click, enter and leave, the
// wheel, the context menu, a control freed by its own mouse handler, a
// control larger than mouse messages can address, and middle-button scrolling.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ActnList.h"
#include "ControlsTestSupport.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "Themes.h"
#include "cxControls.h"
#include "cxControlsInternal.h"
#include "dxDPIAwareUtils.h"

using namespace ControlsTest;
using namespace cxControlsInternal;

namespace {

// What a descendant answers while it is being made, and what it heard.
struct TConstruction {
  bool MayFocus = true;
  bool HasDragImages = false;
  std::vector<std::string> Calls;
};
TConstruction* Constructing = nullptr;

class TTestControl : public TcxControl {
  DECLARE_CLASS_INLINE(TTestControl, TcxControl)
 public:
  using TcxControl::GetClientBounds;
  using TcxControl::GetMouseWheelScrollingKind;
  using TcxControl::IsDoubleBufferedNeeded;
  using TcxControl::IsTransparentBackground;
  using TcxControl::TcxControl;
  using TcxControl::UpdateScrollBars;

  std::vector<TcxDirection> Directions;
  std::vector<std::pair<TScrollBarKind, TScrollCode>> Scrolls;
  std::vector<std::string> ScaleCalls;
  std::function<void(TcxDirection)> OnScrollContent;
  std::function<void(TcxCanvas*)> OnPaintContent;
  TcxMouseWheelScrollingKind WheelKind = mwskVertical;
  bool RefuseFocus = false;
  TColor ContentColor = clNone;
  std::vector<TcxControlActivateType> FocusEnters;
  bool StatusHints = false;
  Integer PaintRegionCalls = 0;
  // Content larger than the client in both directions: both bars show.
  bool WithBars = false;

  void ScrollContent(TcxDirection ADirection) override {
    Directions.push_back(ADirection);
    if (OnScrollContent) OnScrollContent(ADirection);
  }

 protected:
  bool MayFocus() override {
    if (Constructing) {
      Constructing->Calls.push_back("MayFocus");
      return Constructing->MayFocus;
    }
    return true;
  }
  bool HasDragImages() override {
    if (Constructing) {
      Constructing->Calls.push_back("HasDragImages");
      return Constructing->HasDragImages;
    }
    return false;
  }
  bool AllowTouchScrollUIMode() override {
    if (Constructing) Constructing->Calls.push_back("AllowTouchScrollUIMode");
    return false;
  }
  TInteractiveGestures GetDefaultInteractiveGestures() override {
    if (Constructing) Constructing->Calls.push_back("GetDefaultInteractiveGestures");
    return inherited::GetDefaultInteractiveGestures();
  }
  TInteractiveGestureOptions GetDefaultInteractiveGestureOptions() override {
    if (Constructing) Constructing->Calls.push_back("GetDefaultInteractiveGestureOptions");
    return inherited::GetDefaultInteractiveGestureOptions();
  }
  void ScaleFactorChanging() override {
    ScaleCalls.push_back("changing");
    inherited::ScaleFactorChanging();
  }
  void ScaleFactorChanged() override {
    ScaleCalls.push_back("changed");
    inherited::ScaleFactorChanged();
  }
  TcxMouseWheelScrollingKind GetMouseWheelScrollingKind() override { return WheelKind; }
  void Scroll(TScrollBarKind AKind, TScrollCode ACode, Integer& APos) override {
    Scrolls.emplace_back(AKind, ACode);
    inherited::Scroll(AKind, ACode, APos);
  }
  void SetFocusOnMouseClick(TMouseButton AButton, Integer X, Integer Y) override {
    if (!RefuseFocus) inherited::SetFocusOnMouseClick(AButton, X, Y);
  }
  String GetStatusHint(const TPoint& P) override {
    if (!StatusHints) return inherited::GetStatusHint(P);
    return L"at " + IntToStr(static_cast<Integer>(P.x));
  }
  void InitScrollBarsParameters() override {
    if (!WithBars) return;
    const TRect R = GetClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, 999, 1, RectWidth(R), 0, true, true);
    SetScrollBarInfo(sbVertical, 0, 999, 1, RectHeight(R), 0, true, true);
  }
  void SetPaintRegion() override {
    ++PaintRegionCalls;
    inherited::SetPaintRegion();
  }
  void FocusEnter() override {
    FocusEnters.push_back(ActivateType());
    inherited::FocusEnter();
  }
  void DoPaint() override {
    inherited::DoPaint();
    if (ContentColor != clNone) Canvas()->FillRect(ClientRect(), ContentColor);
    if (OnPaintContent) OnPaintContent(Canvas());
  }
};

// A form with one test control at ABounds; freed with the form.
struct TFixture {
  TOwned<TCustomForm> Form;
  TTestControl* Control;
  explicit TFixture(const TRect& ABounds = TRect{10, 10, 110, 70}, Integer AWidth = 300,
                    Integer AHeight = 200)
      : Form(CreateForm(AWidth, AHeight)) {
    Control = Create<TTestControl>(Form.get());
    Control->SetBoundsRect(ABounds);
    Control->SetParent(Form.get());
    Form->Show();
    SetForegroundWindow(Form->Handle());
    ProcessMessages();
  }
};

// Moves the pointer as a mouse would (the platform sees a real move).
void SendMove(const TPoint& P) { SendMouse(0, POINT{P.x, P.y}); }

TColor PixelAt(TcxBitmap32* ABitmap, Integer X, Integer Y) {
  return ColorToRGB(ABitmap->Canvas()->Pixels(X, Y));
}

// ---------------------------------------------------------------------------

struct TConstructionRow {
  const char* Name;
  bool MayFocus;
  bool HasDragImages;
};

TEST(BaseControl, ConstructionReachesTheOverridesInOrder) {
  const TConstructionRow Rows[] = {{"defaults", true, false}, {"overridden", false, true}};
  for (const TConstructionRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TConstruction C;
    C.MayFocus = Row.MayFocus;
    C.HasDragImages = Row.HasDragImages;
    const Integer Listeners = dxResourceStringsRepository()->ListenerCount();
    Constructing = &C;
    TOwned<TTestControl> Control(Create<TTestControl>(nullptr));
    Constructing = nullptr;
    const std::vector<std::string> Order{"HasDragImages", "AllowTouchScrollUIMode", "MayFocus",
                                         "GetDefaultInteractiveGestures",
                                         "GetDefaultInteractiveGestureOptions"};
    EXPECT_EQ(C.Calls, Order);
    EXPECT_EQ(Control->TabStop(), Row.MayFocus);
    EXPECT_EQ(Control->ControlStyle().Contains(csDisplayDragImage), Row.HasDragImages);
    EXPECT_TRUE(Control->FocusOnClick());
    EXPECT_EQ(Control->ScrollBars(), ssBoth);
    EXPECT_EQ(Control->BorderStyle(), cxcbsNone);
    EXPECT_EQ(Control->GetScrollbarMode(), sbmClassic);
    EXPECT_EQ(Control->HybridScrollbarBaseColor(), clDefault);
    EXPECT_TRUE(Control->Touch()->InteractiveGestures().Contains(igPan));
    EXPECT_TRUE(Control->Touch()->InteractiveGestures().Contains(igPressAndTap));
    EXPECT_FALSE(Control->Touch()->InteractiveGestures().Contains(igZoom));
    EXPECT_TRUE(Control->Touch()->InteractiveGestureOptions().Contains(igoParentPassthrough));
    EXPECT_NE(Control->LookAndFeel(), nullptr);
    EXPECT_NE(Control->Canvas(), nullptr);
    EXPECT_NE(Control->GestureHelper(), nullptr);
    EXPECT_EQ(dxResourceStringsRepository()->ListenerCount(), Listeners + 1);
    Control.reset();
    EXPECT_EQ(dxResourceStringsRepository()->ListenerCount(), Listeners);
  }
}

TEST(BaseControl, ActiveCanvasIsTheScreenUntilTheWindowExists) {
  TOwned<TTestControl> Control(Create<TTestControl>(nullptr));
  EXPECT_TRUE(Control->ActiveCanvas()->Is<TcxScreenCanvas>());
  TFixture F;
  EXPECT_EQ(F.Control->ActiveCanvas(), F.Control->Canvas());
}

TEST(BaseControl, ScaleChangesAreBracketedOnce) {
  TFixture F;
  TTestControl* C = F.Control;
  C->ChangeScale(2, 1);
  EXPECT_EQ(C->ScaleFactor()->Numerator(), 2);
  EXPECT_EQ(C->ScaleFactor()->Denominator(), 1);
  EXPECT_EQ(C->ScaleCalls, (std::vector<std::string>{"changing", "changed"}));
  // Nested brackets from messages: one notification each way.
  C->ScaleCalls.clear();
  C->Perform(DXM_SCALECHANGING);
  C->Perform(DXM_SCALECHANGING);
  EXPECT_TRUE(C->IsScaleChanging());
  C->Perform(DXM_SCALECHANGED);
  C->Perform(DXM_SCALECHANGED);
  EXPECT_FALSE(C->IsScaleChanging());
  EXPECT_EQ(C->ScaleCalls, (std::vector<std::string>{"changing", "changed"}));
  // A stray end neither notifies nor wraps the count round.
  C->ScaleCalls.clear();
  C->Perform(DXM_SCALECHANGED);
  EXPECT_FALSE(C->IsScaleChanging());
  C->Perform(DXM_SCALECHANGING);
  EXPECT_TRUE(C->IsScaleChanging());
  C->Perform(DXM_SCALECHANGED);
  EXPECT_EQ(C->ScaleCalls, (std::vector<std::string>{"changing", "changed"}));
}

// ---------------------------------------------------------------------------
// Keyboard.

struct TDlgCodeRow {
  TcxKeys Keys;
  bool Ctrl;
  LRESULT Code;
};

TEST(BaseControl, DialogCodeFollowsKeysAndLeavesTabToCtrl) {
  TFixture F;
  const TDlgCodeRow Rows[] = {
      {TcxKeys{}, false, 0},
      {TcxKeys{kAll}, false, DLGC_WANTALLKEYS},
      {TcxKeys{kArrows}, false, DLGC_WANTARROWS},
      {TcxKeys{kChars}, false, DLGC_WANTCHARS},
      {TcxKeys{kTab}, false, DLGC_WANTTAB},
      {TcxKeys{kTab}, true, 0},
      {TcxKeys{kAll, kArrows, kChars, kTab}, false,
       DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB},
      {TcxKeys{kAll, kArrows, kChars, kTab}, true,
       DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS},
  };
  for (const TDlgCodeRow& Row : Rows) {
    SCOPED_TRACE(testing::Message() << "code " << Row.Code << " ctrl " << Row.Ctrl);
    F.Control->SetKeys(Row.Keys);
    if (Row.Ctrl) {
      SendKey(VK_CONTROL, false);
      ASSERT_TRUE(PumpApplicationUntil([] { return GetAsyncKeyState(VK_CONTROL) < 0; }));
    }
    EXPECT_EQ(F.Control->Perform(WM_GETDLGCODE), Row.Code);
    if (Row.Ctrl) {
      SendKey(VK_CONTROL, true);
      ASSERT_TRUE(PumpApplicationUntil([] { return GetAsyncKeyState(VK_CONTROL) >= 0; }));
    }
  }
}

struct TTabRow {
  const char* Name;
  TcxKeys Keys;
  bool KeepsFocus;
};

TEST(BaseControl, RealTabStaysWithAControlThatWantsIt) {
  const TTabRow Rows[] = {{"wants Tab", TcxKeys{kTab}, true}, {"no keys", TcxKeys{}, false}};
  for (const TTabRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TFixture F;
    TTestControl* Next = Create<TTestControl>(F.Form.get());
    Next->SetBoundsRect(TRect{150, 10, 250, 70});
    Next->SetParent(F.Form.get());
    F.Control->SetKeys(Row.Keys);
    std::vector<Word> Keys;
    struct TKeys {
      std::vector<Word>* List;
      void KeyDown(TObject*, Word& Key, TShiftState) { List->push_back(Key); }
    } Sink{&Keys};
    F.Control->OnKeyDown = MakeEvent<&TKeys::KeyDown>(&Sink);
    F.Control->SetFocus();
    ASSERT_TRUE(PumpApplicationUntil([&] { return F.Control->Focused(); }));
    SendKey(VK_TAB, false);
    SendKey(VK_TAB, true);
    PumpApplicationUntil([&] { return !Keys.empty() || Next->Focused(); });
    EXPECT_EQ(F.Control->Focused(), Row.KeepsFocus);
    EXPECT_EQ(Next->Focused(), !Row.KeepsFocus);
    EXPECT_EQ(!Keys.empty() && Keys.front() == VK_TAB, Row.KeepsFocus);
  }
}

// ---------------------------------------------------------------------------
// Popup menu and context menu.

TEST(BaseControl, PopupMenuTakesOnlyMenusAndForgetsAFreedOne) {
  TFixture F;
  TPopupMenu* Menu = Create<TPopupMenu>(F.Form.get());
  F.Control->SetPopupMenu(Menu);
  EXPECT_EQ(F.Control->PopupMenu(), Menu);
  TButton* NotAMenu = Create<TButton>(F.Form.get());
  F.Control->SetPopupMenu(NotAMenu);
  EXPECT_EQ(F.Control->PopupMenu(), nullptr);
  F.Control->SetPopupMenu(Menu);
  Menu->Free();
  EXPECT_EQ(F.Control->PopupMenu(), nullptr);
}

struct TPopupCall {
  Integer Count = 0;
  TComponent* Menu = nullptr;
  TPoint At{};
};
TPopupCall* PopupCall = nullptr;

bool RecordPopup(TcxControl*, TComponent* AMenu, const TPoint& P) {
  ++PopupCall->Count;
  PopupCall->Menu = AMenu;
  PopupCall->At = P;
  return true;
}

TEST(BaseControl, ContextMenuFromTheKeyboardOpensAtTheClientOrigin) {
  TFixture F;
  TPopupMenu* Menu = Create<TPopupMenu>(F.Form.get());
  F.Control->SetPopupMenu(Menu);
  TPopupCall Call;
  PopupCall = &Call;
  TcxContextPopupHookFunc Saved = cxContextPopupHookFunc();
  cxContextPopupHookFunc() = &RecordPopup;
  auto Restore = Finally([&] {
    cxContextPopupHookFunc() = Saved;
    PopupCall = nullptr;
  });
  const TPoint Origin = F.Control->ClientToScreen(TPoint{0, 0});
  const TPoint Mouse = F.Control->ClientToScreen(TPoint{20, 30});
  struct TRow {
    TPoint Sent;
    TPoint Expected;
  } Rows[] = {{TPoint{-1, -1}, Origin}, {Mouse, Mouse}};
  for (const TRow& Row : Rows) {
    Call = TPopupCall{};
    const LRESULT Result = SendMessageW(
        F.Control->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(F.Control->Handle()),
        MAKELPARAM(static_cast<WORD>(Row.Sent.x), static_cast<WORD>(Row.Sent.y)));
    EXPECT_EQ(Result, 1);
    EXPECT_EQ(Call.Count, 1);
    EXPECT_EQ(Call.Menu, Menu);
    EXPECT_EQ(Call.At.x, Row.Expected.x);
    EXPECT_EQ(Call.At.y, Row.Expected.y);
  }
}

TEST(BaseControl, ContextMenuKeyOpensTheMenuAtTheClientOrigin) {
  TFixture F;
  TPopupMenu* Menu = Create<TPopupMenu>(F.Form.get());
  F.Control->SetPopupMenu(Menu);
  TPopupCall Call;
  PopupCall = &Call;
  TcxContextPopupHookFunc Saved = cxContextPopupHookFunc();
  cxContextPopupHookFunc() = &RecordPopup;
  auto Restore = Finally([&] {
    cxContextPopupHookFunc() = Saved;
    PopupCall = nullptr;
  });
  F.Control->SetFocus();
  ASSERT_TRUE(PumpApplicationUntil([&] { return F.Control->Focused(); }));
  SendKey(VK_APPS, false);
  SendKey(VK_APPS, true);
  ASSERT_TRUE(PumpApplicationUntil([&] { return Call.Count > 0; }));
  const TPoint Origin = F.Control->ClientToScreen(TPoint{0, 0});
  EXPECT_EQ(Call.Count, 1);
  EXPECT_EQ(Call.At.x, Origin.x);
  EXPECT_EQ(Call.At.y, Origin.y);
}

// ---------------------------------------------------------------------------
// Painting.

struct TBorderRow {
  const char* Name;
  TcxControlBorderStyle Style;
};

TEST(BaseControl, BorderIsPaintedAndTheContentClippedInside) {
  RootLookAndFeel()->SetKind(lfUltraFlat);
  RootLookAndFeel()->SetNativeStyle(false);
  const TBorderRow Rows[] = {{"bordered", cxcbsDefault}, {"plain", cxcbsNone}};
  for (const TBorderRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TFixture F;
    F.Control->SetBorderStyle(Row.Style);
    F.Control->ContentColor = clRed;
    TOwned<TcxBitmap32> Shot = CaptureWindow(F.Control);
    const Integer Border = F.Control->LookAndFeelPainter()->BorderSize();
    ASSERT_GT(Border, 0);
    // What the painter draws as the border on a bitmap of the same size.
    TOwned<TcxBitmap32> Expected(TcxBitmap32::CreateSize(100, 60));
    Expected->cxCanvas()->FillRect(TRect{0, 0, 100, 60}, clRed);
    if (Row.Style == cxcbsDefault)
      F.Control->LookAndFeelPainter()->DrawBorder(Expected->cxCanvas(), TRect{0, 0, 100, 60});
    Expected->MakeOpaque();
    const TPoint Probes[] = {{0, 0},  {50, 0},          {99, 30}, {50, 59},
                             {0, 30}, {Border, Border}, {50, 30}, {99 - Border, 59 - Border}};
    for (const TPoint& P : Probes) {
      SCOPED_TRACE(testing::Message() << P.x << "," << P.y);
      EXPECT_EQ(PixelAt(Shot.get(), P.x, P.y), PixelAt(Expected.get(), P.x, P.y));
    }
    EXPECT_EQ(PixelAt(Shot.get(), 50, 30), ColorToRGB(clRed));
    if (Row.Style == cxcbsDefault) EXPECT_NE(PixelAt(Shot.get(), 0, 0), ColorToRGB(clRed));
    // The client bounds the descendants paint in lie inside the border.
    const TRect Client = F.Control->GetClientBounds();
    const Integer Inset = Row.Style == cxcbsDefault ? Border : 0;
    EXPECT_EQ(Client.left, Inset);
    EXPECT_EQ(Client.top, Inset);
    EXPECT_EQ(Client.right, 100 - Inset);
    EXPECT_EQ(Client.bottom, 60 - Inset);
  }
}

TEST(BaseControl, OnlyABorderedControlClipsToItsClientBounds) {
  struct TRow {
    TcxControlBorderStyle Style;
    Integer Calls;
  } Rows[] = {{cxcbsNone, 0}, {cxcbsDefault, 1}};
  for (const TRow& Row : Rows) {
    TFixture F;
    F.Control->SetBorderStyle(Row.Style);
    ProcessMessages();
    F.Control->PaintRegionCalls = 0;
    CaptureWindow(F.Control);
    EXPECT_EQ(F.Control->PaintRegionCalls, Row.Calls);
  }
}

TEST(BaseControl, DoubleBufferedFromWindowsSevenOn) {
  TFixture F;
  const bool Saved = IsWinSevenOrLater;
  auto Restore = Finally([&] { IsWinSevenOrLater = Saved; });
  struct TRow {
    bool DoubleBuffered, Seven, Needed;
  } Rows[] = {{false, false, false}, {true, false, true}, {false, true, true}, {true, true, true}};
  for (const TRow& Row : Rows) {
    IsWinSevenOrLater = Row.Seven;
    F.Control->SetDoubleBuffered(Row.DoubleBuffered);
    EXPECT_EQ(F.Control->IsDoubleBufferedNeeded(), Row.Needed);
  }
}

bool ThemedAnswer();

// WM_ERASEBKGND: into a buffer (WParam = LParam) the background is always
// drawn; on the screen only by a control with a background of its own that
// is not buffered; the answer says whether the background was taken care of.
TEST(BaseControl, EraseBackgroundTable) {
  TThemeQueries Saved = SetThemeQueries(TThemeQueries{&ThemedAnswer, &ThemedAnswer, &ThemedAnswer});
  const bool SavedSeven = IsWinSevenOrLater;
  auto Restore = Finally([&] {
    SetThemeQueries(Saved);
    IsWinSevenOrLater = SavedSeven;
  });
  IsWinSevenOrLater = false;
  struct TRow {
    const char* Name;
    bool ToMemory, Transparent, DoubleBuffered;
    LRESULT Result;
    bool Erased;
  } Rows[] = {
      {"buffer, opaque", true, false, false, 1, true},
      {"buffer, transparent", true, true, true, 1, true},
      {"screen, opaque", false, false, false, 0, false},
      {"screen, transparent", false, true, false, 1, true},
      {"screen, transparent, buffered", false, true, true, 1, false},
  };
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TFixture F;
    F.Form->SetColor(clBlue);
    F.Control->SetColor(clYellow);
    F.Control->SetTransparent(Row.Transparent);
    F.Control->SetDoubleBuffered(Row.DoubleBuffered);
    ProcessMessages();
    TOwned<TcxBitmap32> Target(TcxBitmap32::CreateSize(100, 60, true));
    HDC DC = Target->Canvas()->Handle();
    const LRESULT Result = F.Control->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC),
                                              Row.ToMemory ? reinterpret_cast<LPARAM>(DC) : 0);
    EXPECT_EQ(Result, Row.Result);
    const TColor Expected = !Row.Erased ? clBlack : (Row.Transparent ? clBlue : clYellow);
    EXPECT_EQ(PixelAt(Target.get(), 50, 30), ColorToRGB(Expected));
  }
}

// A parent that paints two colours side by side, so that a child showing it
// shows which part lies under it.
class TTwoColourParent : public TCustomControl {
  DECLARE_CLASS_INLINE(TTwoColourParent, TCustomControl)
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    const TRect R = ClientRect();
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(TRect{R.left, R.top, R.right / 2, R.bottom});
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->FillRect(TRect{R.right / 2, R.top, R.right, R.bottom});
  }
};

bool ThemedAnswer() { return true; }

TEST(BaseControl, TransparencyShowsTheParent) {
  // The framework's visual styles count as enabled, as on a themed desktop.
  TThemeQueries Saved = SetThemeQueries(TThemeQueries{&ThemedAnswer, &ThemedAnswer, &ThemedAnswer});
  auto Restore = Finally([&] { SetThemeQueries(Saved); });
  struct TRow {
    bool Transparent;
    TColor Left, Right;
  } Rows[] = {{true, clBlue, clLime}, {false, clYellow, clYellow}};
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Transparent ? "transparent" : "opaque");
    TOwned<TCustomForm> Form(CreateForm(300, 200));
    TTwoColourParent* Parent = Create<TTwoColourParent>(Form.get());
    Parent->SetBoundsRect(TRect{0, 0, 200, 100});
    Parent->SetParent(Form.get());
    TTestControl* Control = Create<TTestControl>(Form.get());
    Control->SetColor(clYellow);
    Control->SetBoundsRect(TRect{60, 20, 140, 80});
    Control->SetParent(Parent);
    Control->SetTransparent(Row.Transparent);
    EXPECT_EQ(Control->IsTransparentBackground(), Row.Transparent);
    TOwned<TcxBitmap32> Shot = CaptureWindow(Control);
    // The control's left half lies over the parent's blue half, its right
    // half over the lime one.
    EXPECT_EQ(PixelAt(Shot.get(), 10, 30), ColorToRGB(Row.Left));
    EXPECT_EQ(PixelAt(Shot.get(), 70, 30), ColorToRGB(Row.Right));
  }
}

// A control with a frame of its own, 3 pixels on each side.
class TFramedControl : public TTestControl {
  DECLARE_CLASS_INLINE(TFramedControl, TTestControl)
 public:
  using TTestControl::TTestControl;

 protected:
  bool HasNonClientArea() override { return true; }
  TRect GetClientOffsets() override { return TRect{3, 3, 3, 3}; }
  void PaintNonClientArea(TcxCanvas* ACanvas) override {
    ACanvas->FillRect(TRect{0, 0, Width(), Height()}, clGreen);
  }
  void WMNCCalcSize(TMessage& Message) override {
    inherited::WMNCCalcSize(Message);
    auto* R = reinterpret_cast<RECT*>(Message.LParam);
    InflateRect(R, -3, -3);
  }
};

TEST(BaseControl, NonClientAreaIsPaintedAroundTheClient) {
  TOwned<TCustomForm> Form(CreateForm(300, 200));
  auto* Control = Create<TFramedControl>(Form.get());
  Control->ContentColor = clRed;
  Control->SetBoundsRect(TRect{10, 10, 110, 70});
  Control->SetParent(Form.get());
  ProcessMessages();
  EXPECT_EQ(Control->ClientWidth(), 94);
  TOwned<TcxBitmap32> Shot = CaptureWindow(Control);
  const TPoint Frame[] = {{0, 0}, {2, 30}, {50, 1}, {99, 59}, {97, 30}};
  for (const TPoint& P : Frame) EXPECT_EQ(PixelAt(Shot.get(), P.x, P.y), ColorToRGB(clGreen));
  const TPoint Client[] = {{3, 3}, {50, 30}, {96, 56}};
  for (const TPoint& P : Client) EXPECT_EQ(PixelAt(Shot.get(), P.x, P.y), ColorToRGB(clRed));
  // WM_PRINT with the frame paints it too.
  TOwned<TcxBitmap32> Printed(TcxBitmap32::CreateSize(100, 60, true));
  Control->Perform(WM_PRINT, reinterpret_cast<WPARAM>(Printed->Canvas()->Handle()),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(PixelAt(Printed.get(), 1, 1), ColorToRGB(clGreen));
  // A copy: the client part painted with the client's origin 3 pixels into
  // the picture, as the framework's printing does, brings its frame.
  TOwned<TcxBitmap32> Copy(TcxBitmap32::CreateSize(100, 60, true));
  HDC DC = Copy->Canvas()->Handle();
  SetViewportOrgEx(DC, 3, 3, nullptr);
  Control->SetControlState(Control->ControlState() + TControlState{csPaintCopy});
  Control->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
  Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  Control->SetControlState(Control->ControlState() - TControlState{csPaintCopy});
  SetViewportOrgEx(DC, 0, 0, nullptr);
  for (const TPoint& P : Frame) EXPECT_EQ(PixelAt(Copy.get(), P.x, P.y), ColorToRGB(clGreen));
  for (const TPoint& P : Client) EXPECT_EQ(PixelAt(Copy.get(), P.x, P.y), ColorToRGB(clRed));
}

TEST(BaseControl, TakesTheScaleOfItsNewParent) {
  TOwned<TCustomForm> Form(CreateForm(300, 200));
  Form->ScaleForPPI(144);
  Integer N = 0, D = 0;
  ASSERT_TRUE(dxGetCurrentScaleFactor(Form.get(), N, D));
  ASSERT_EQ(MulDiv(96, N, D), 144);
  auto* Control = Create<TTestControl>(Form.get());
  Control->SetBoundsRect(TRect{0, 0, 100, 40});
  Control->SetParent(Form.get());
  EXPECT_EQ(Control->ScaleFactor()->TargetDPI(), 144);
  EXPECT_EQ(Control->Width(), 150);
  // The same parent again changes nothing.
  Control->SetParent(Form.get());
  EXPECT_EQ(Control->Width(), 150);
}

// A parent whose children show it (it redraws them when it is redrawn).
class TShowingParent : public TTestControl {
  DECLARE_CLASS_INLINE(TShowingParent, TTestControl)
 public:
  using TTestControl::TTestControl;

 protected:
  bool NeedRedrawOnResize() override { return true; }
};

// A child that says itself whether its parent's redraw reaches it.
class TDecidingChild : public TCustomControl, public IcxTransparentControl {
  DECLARE_CLASS_INLINE(TDecidingChild, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  bool Transparent = false;
  bool IsTransparentRegionsPresent() override { return Transparent; }
};

bool HasUpdate(TWinControl* AControl) {
  RECT R{};
  return GetUpdateRect(AControl->Handle(), &R, FALSE) != 0;
}

TEST(BaseControl, InvalidationReachesTheChildrenThatShowTheControl) {
  TOwned<TCustomForm> Form(CreateForm(300, 200));
  auto* Parent = Create<TShowingParent>(Form.get());
  Parent->SetBoundsRect(TRect{0, 0, 280, 180});
  Parent->SetParent(Form.get());
  auto* Plain = Create<TCustomControl>(Form.get());
  auto* Opaque = Create<TCustomControl>(Form.get());
  Opaque->SetControlStyle(Opaque->ControlStyle() + TControlStyle{csOpaque});
  auto* Shows = Create<TDecidingChild>(Form.get());
  Shows->Transparent = true;
  auto* Hides = Create<TDecidingChild>(Form.get());
  Hides->Transparent = false;
  Integer Left = 5;
  for (TWinControl* C : std::vector<TWinControl*>{Plain, Opaque, Shows, Hides}) {
    C->SetBoundsRect(TRect{Left, 5, Left + 40, 45});
    C->SetParent(Parent);
    Left += 50;
  }
  ProcessMessages();
  for (TWinControl* C : std::vector<TWinControl*>{Form.get(), Parent, Plain, Opaque, Shows, Hides})
    ValidateRect(C->Handle(), nullptr);
  Parent->Invalidate();
  EXPECT_TRUE(HasUpdate(Parent));
  EXPECT_TRUE(HasUpdate(Plain));
  EXPECT_FALSE(HasUpdate(Opaque));
  EXPECT_TRUE(HasUpdate(Shows));
  EXPECT_FALSE(HasUpdate(Hides));
  // The form only hears of it: a control's redraw is not the whole form's.
  EXPECT_FALSE(HasUpdate(Form.get()));
  ProcessMessages();
}

TEST(BaseControl, HintAsAssignedStaysWhileTheShownOneFollowsTheMouse) {
  TFixture F;
  F.Control->SetHint(L"assigned");
  EXPECT_EQ(F.Control->GetHint(), L"assigned");
  EXPECT_TRUE(F.Control->IsHintStored());
  F.Control->StatusHints = true;
  F.Control->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(17, 5));
  EXPECT_EQ(F.Control->Hint(), L"at 17");
  EXPECT_EQ(F.Control->GetHint(), L"assigned");
  // An action's hint comes over, and is then not the control's to store.
  F.Control->SetHint(L"");
  TAction* Action = Create<TAction>(F.Form.get());
  Action->SetHint(L"from the action");
  F.Control->SetAction(Action);
  EXPECT_EQ(F.Control->GetHint(), L"from the action");
  EXPECT_FALSE(F.Control->IsHintStored());
}

// A form keeps the hint as assigned, not the one following the mouse, and
// reading it back makes it the assigned one again.
TEST(BaseControl, AFormResourceKeepsTheAssignedHint) {
  struct {
    const char* Name;
    const wchar_t* Assigned;
    bool MouseOver;
  } const Cases[] = {{"assigned", L"assigned", false},
                     {"assigned, status hint shown", L"assigned", true},
                     {"none", L"", true}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TFixture F;
    F.Control->SetName(L"Probe");
    F.Control->SetHint(C.Assigned);
    F.Control->StatusHints = C.MouseOver;
    if (C.MouseOver) F.Control->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(17, 5));
    auto Binary = MakeOwned<TBytesStream>();
    WriteComponentToStream(Binary.get(), F.Control);
    Binary->SetPosition(0);
    auto Text = MakeOwned<TStringStream>(String(), TEncoding::UTF8());
    ObjectBinaryToText(Binary.get(), Text.get());
    const String Written = Text->DataString();
    EXPECT_EQ(Written.find(L"at 17"), String::npos) << Written;
    EXPECT_EQ(Written.find(L"Hint = 'assigned'") != String::npos, C.Assigned[0] != 0) << Written;
    EXPECT_EQ(Written.find(L"Hint = ''"), String::npos) << Written;

    Binary->SetPosition(0);
    TFixture G;
    G.Control->SetName(L"Probe");
    ReadComponentFromStream(Binary.get(), G.Control);
    EXPECT_EQ(G.Control->GetHint(), C.Assigned);
    // The next mouse move shows the assigned hint, not an empty one.
    G.Control->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(G.Control->Hint(), C.Assigned);
  }
}

// ---------------------------------------------------------------------------
// Mouse.

struct TMouseLog {
  std::vector<std::string> Events;
  TcxControl* FreeOnDown = nullptr;
  TPoint Down{};
  void MouseDown(TObject*, TMouseButton, TShiftState Shift, Integer X, Integer Y) {
    Events.push_back(Shift.Contains(ssDouble) ? "down2" : "down");
    Down = TPoint{X, Y};
    if (FreeOnDown) {
      TcxControl* C = FreeOnDown;
      FreeOnDown = nullptr;
      C->Free();
    }
  }
  void Enter(TObject*) { Events.push_back("enter"); }
  void Leave(TObject*) { Events.push_back("leave"); }
};

struct TClickRow {
  const char* Name;
  UINT Msg;
  bool FocusOnClick;
  bool RefuseFocus;
  bool Focused;
  const char* Event;  // what OnMouseDown heard, "" for nothing
};

TEST(BaseControl, ClickFocusDoubleClickAndRefusedFocus) {
  const TClickRow Rows[] = {
      {"click focuses", WM_LBUTTONDOWN, true, false, true, "down"},
      {"no focus on click", WM_LBUTTONDOWN, false, false, false, "down"},
      {"double click keeps the focus where it is", WM_LBUTTONDBLCLK, true, false, false, "down2"},
      {"refused focus skips the handler", WM_LBUTTONDOWN, true, true, false, ""},
  };
  for (const TClickRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TFixture F;
    TTestControl* Other = Create<TTestControl>(F.Form.get());
    Other->SetBoundsRect(TRect{150, 10, 250, 70});
    Other->SetParent(F.Form.get());
    Other->SetFocus();
    ASSERT_TRUE(PumpApplicationUntil([&] { return Other->Focused(); }));
    TMouseLog Log;
    F.Control->OnMouseDown = MakeEvent<&TMouseLog::MouseDown>(&Log);
    F.Control->SetFocusOnClick(Row.FocusOnClick);
    F.Control->RefuseFocus = Row.RefuseFocus;
    F.Control->Perform(Row.Msg, MK_LBUTTON, MAKELPARAM(20, 20));
    ProcessMessages();
    EXPECT_EQ(F.Control->Focused(), Row.Focused);
    EXPECT_EQ(Log.Events.empty() ? std::string() : Log.Events.front(), Row.Event);
    // The focus came by the mouse while it came; afterwards the control
    // counts as activated otherwise again.
    if (Row.Focused)
      EXPECT_EQ(F.Control->FocusEnters, std::vector<TcxControlActivateType>{atByMouse});
    else
      EXPECT_TRUE(F.Control->FocusEnters.empty());
    EXPECT_EQ(F.Control->ActivateType(),
              Row.Focused ? atOther : (Row.RefuseFocus ? atByMouse : atOther));
    if (Row.RefuseFocus) EXPECT_NE(GetCapture(), F.Control->Handle());
    F.Control->Perform(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_FALSE(F.Control->MouseButtonPressed());
  }
}

TEST(BaseControl, EnterAndLeaveAreToldOnce) {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  TFixture F;
  TMouseLog Log;
  F.Control->OnMouseEnter = MakeEvent<&TMouseLog::Enter>(&Log);
  F.Control->OnMouseLeave = MakeEvent<&TMouseLog::Leave>(&Log);
  TTestControl* Child = Create<TTestControl>(F.Form.get());
  Child->SetBoundsRect(TRect{5, 5, 20, 20});
  Child->SetParent(F.Control);
  const LPARAM OfChild = reinterpret_cast<LPARAM>(Child);
  F.Control->Perform(CM_MOUSEENTER);
  F.Control->Perform(CM_MOUSEENTER);
  F.Control->Perform(CM_MOUSEENTER, 0, OfChild);
  F.Control->Perform(CM_MOUSELEAVE, 0, OfChild);
  F.Control->Perform(CM_MOUSELEAVE);
  F.Control->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"enter", "leave"}));
}

TEST(BaseControl, ControlFreedInItsMouseDownHandler) {
  TFixture F;
  TMouseLog Log;
  F.Control->OnMouseDown = MakeEvent<&TMouseLog::MouseDown>(&Log);
  Log.FreeOnDown = F.Control;
  TcxObjectLink* Link = cxAddObjectLink(F.Control);
  auto Remove = Finally([&] { cxRemoveObjectLink(Link); });
  const HWND Wnd = F.Control->Handle();
  PostMessageW(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(Wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  ProcessMessages();
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"down"}));
  EXPECT_EQ(Link->Ref, nullptr);
  EXPECT_FALSE(IsWindow(Wnd));
}

TEST(BaseControl, ClicksOnAControlTallerThanMessagesReachAreTakenFromTheCursor) {
  TFixture F(TRect{10, -34000, 110, 6000});
  ASSERT_EQ(F.Control->Height(), 40000);
  TMouseLog Log;
  F.Control->OnMouseDown = MakeEvent<&TMouseLog::MouseDown>(&Log);
  F.Control->SetFocusOnClick(false);
  // A point 34050 pixels down the control, on the screen: past what a
  // signed 16-bit word holds.
  const TPoint Screen = F.Control->ClientToScreen(TPoint{40, 34050});
  SetCursorPos(Screen.x, Screen.y);
  ASSERT_TRUE(PumpApplicationUntil([&] { return GetMouseCursorPos().y == Screen.y; }));
  // The message can carry only the low 16 bits.
  F.Control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, static_cast<WORD>(34050)));
  F.Control->Perform(WM_LBUTTONUP, 0, MAKELPARAM(40, static_cast<WORD>(34050)));
  ASSERT_EQ(Log.Events.size(), 1u);
  EXPECT_EQ(Log.Down.x, 40);
  EXPECT_EQ(Log.Down.y, 34050);
}

struct TWheelRow {
  const char* Name;
  TcxMouseWheelScrollingKind Kind;
  UINT Lines;
  std::vector<Integer> Deltas;
  std::vector<TcxDirection> Directions;
  std::vector<std::pair<TScrollBarKind, TScrollCode>> Scrolls;
  bool Handled;
};

TEST(BaseControl, WheelTable) {
  UINT SavedLines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &SavedLines, 0);
  auto Restore =
      Finally([&] { SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, SavedLines, nullptr, 0); });
  const TWheelRow Rows[] = {
      {"vertical up", mwskVertical, 3, {120}, {dirUp, dirUp, dirUp}, {}, true},
      {"vertical down", mwskVertical, 3, {-120}, {dirDown, dirDown, dirDown}, {}, true},
      {"horizontal positive", mwskHorizontal, 1, {120}, {dirLeft}, {}, true},
      {"horizontal negative", mwskHorizontal, 1, {-120}, {dirRight}, {}, true},
      {"third notch of 40", mwskVertical, 1, {40, 40, 40}, {dirUp}, {}, true},
      {"two notches of 40", mwskVertical, 1, {40, 40}, {}, {}, true},
      {"the other sign starts again", mwskVertical, 1, {80, -40, -40, -40}, {dirDown}, {}, true},
      {"clamped to one notch", mwskVertical, 1, {480}, {dirUp}, {}, true},
      {"pages vertically",
       mwskHorizontal,
       WHEEL_PAGESCROLL,
       {-120},
       {},
       {{sbVertical, scPageDown}},
       true},
      {"no scrolling kind", mwskNone, 1, {120}, {}, {}, false},
  };
  for (const TWheelRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TFixture F;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, Row.Lines, nullptr, 0));
    F.Control->WheelKind = Row.Kind;
    bool Handled = false;
    for (Integer Delta : Row.Deltas) {
      const TPoint P = F.Control->ClientToScreen(TPoint{10, 10});
      Handled = F.Control->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(Delta)),
                                   MAKELPARAM(P.x, P.y)) != 0;
    }
    EXPECT_EQ(Handled, Row.Handled);
    EXPECT_EQ(F.Control->Directions, Row.Directions);
    EXPECT_EQ(F.Control->Scrolls, Row.Scrolls);
  }
}

// An object that holds the control's mouse and hears when it lost it.
struct TCaptureHolder : public TObject, public IcxMouseCaptureObject {
  Integer Lost = 0;
  void DoCancelMode() override { ++Lost; }
};

TEST(BaseControl, CaptureObjectHoldsTheMouseAndHearsOfItsLoss) {
  TFixture F;
  TCaptureHolder First, Second;
  F.Control->SetMouseCaptureObject(&First);
  EXPECT_EQ(GetCapture(), F.Control->Handle());
  F.Control->SetMouseCaptureObject(&First);
  EXPECT_EQ(First.Lost, 0);
  F.Control->SetMouseCaptureObject(&Second);
  EXPECT_EQ(First.Lost, 1);
  EXPECT_EQ(GetCapture(), F.Control->Handle());
  // Cancel mode takes it away from the holder and releases the mouse.
  F.Control->Perform(WM_CANCELMODE);
  EXPECT_EQ(Second.Lost, 1);
  EXPECT_EQ(F.Control->MouseCaptureObject(), nullptr);
  EXPECT_NE(GetCapture(), F.Control->Handle());
  EXPECT_FALSE(F.Control->MouseButtonPressed());
}

// Hears font changes, and in which order the listeners heard them.
struct TFontListener : public IcxFontListener {
  std::vector<std::string>* Log;
  std::string Name;
  void Changed(TObject*, TFont* AFont) override {
    Log->push_back(Name + ":" + std::to_string(AFont->Size()));
  }
};

TEST(BaseControl, FontListenersHearChangesInOrder) {
  TFixture F;
  std::vector<std::string> Log;
  TFontListener A{}, B{};
  A.Log = B.Log = &Log;
  A.Name = "a";
  B.Name = "b";
  F.Control->AddFontListener(&A);
  F.Control->AddFontListener(&B);
  F.Control->Font()->SetSize(14);
  F.Control->RemoveFontListener(&A);
  F.Control->Font()->SetSize(16);
  EXPECT_EQ(Log, (std::vector<std::string>{"a:14", "b:14", "b:16"}));
}

TEST(BaseControl, CursorOfTheControlIsSetOverItsWindow) {
  TFixture F;
  const TPoint P = F.Control->ClientToScreen(TPoint{20, 20});
  SetCursorPos(P.x, P.y);
  ASSERT_TRUE(PumpApplicationUntil([&] { return GetMouseCursorPos().x == P.x; }));
  struct TRow {
    TCursor Cursor;
    LRESULT Result;
  } Rows[] = {{crHandPoint, 1}, {crDefault, 0}};
  for (const TRow& Row : Rows) {
    F.Control->SetCursor(Row.Cursor);
    const LRESULT Result = SendMessageW(F.Control->Handle(), WM_SETCURSOR,
                                        reinterpret_cast<WPARAM>(F.Control->Handle()),
                                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (Row.Result) {
      EXPECT_EQ(Result, 1);
      EXPECT_EQ(GetCursor(), Screen()->Cursors(Row.Cursor));
    }
  }
}

TEST(BaseControl, PostedMouseMoveOnlyWhileNoWindowHoldsTheMouse) {
  TFixture F;
  struct TMoves {
    std::vector<TPoint> List;
    void Move(TObject*, TShiftState, Integer X, Integer Y) { List.push_back(TPoint{X, Y}); }
  } Moves;
  F.Control->OnMouseMove = MakeEvent<&TMoves::Move>(&Moves);
  ProcessMessages();
  Moves.List.clear();
  SetCapture(F.Form->Handle());
  F.Control->PostMouseMove(TPoint{7, 9});
  ProcessMessages();
  EXPECT_TRUE(Moves.List.empty());
  ReleaseCapture();
  ProcessMessages();
  Moves.List.clear();
  F.Control->PostMouseMove(TPoint{7, 9});
  MSG Msg;
  ASSERT_TRUE(PeekMessageW(&Msg, F.Control->Handle(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE));
  EXPECT_EQ(Msg.lParam, MAKELPARAM(7, 9));
}

TEST(BaseControl, RealMouseEntersAndLeavesOnce) {
  TFixture F;
  TMouseLog Log;
  F.Control->OnMouseEnter = MakeEvent<&TMouseLog::Enter>(&Log);
  F.Control->OnMouseLeave = MakeEvent<&TMouseLog::Leave>(&Log);
  const TPoint Inside1 = F.Control->ClientToScreen(TPoint{20, 20});
  const TPoint Inside2 = F.Control->ClientToScreen(TPoint{40, 30});
  const TPoint Outside = F.Form->ClientToScreen(TPoint{250, 150});
  SendMove(Outside);
  PumpApplicationUntil([&] { return GetMouseCursorPos().x == Outside.x; });
  Log.Events.clear();
  SendMove(Inside1);
  ASSERT_TRUE(PumpApplicationUntil([&] { return !Log.Events.empty(); }));
  SendMove(Inside2);
  PumpApplicationUntil([&] { return GetMouseCursorPos().x == Inside2.x; });
  SendMove(Outside);
  ASSERT_TRUE(PumpApplicationUntil([&] { return Log.Events.size() >= 2; }));
  ProcessMessages();
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"enter", "leave"}));
}

// ---------------------------------------------------------------------------
// Middle-button scrolling.

struct TAnchorRow {
  bool Hor, Ver;
  TPoint At;
  TcxDirection Direction;
  Integer Speed;
  TCursor Cursor;
};

TEST(AnchorScrolling, DirectionSpeedAndCursorTable) {
  const TPoint A{500, 400};
  const TRect Screen{0, 0, 1024, 768};
  // Anchor 28 pixels: the neutral square reaches 14 to either side.
  const TAnchorRow Rows[] = {
      {true, true, {500, 400}, dirNone, 0, crFullScroll},
      {true, true, {510, 390}, dirNone, 0, crFullScroll},
      {true, false, {500, 400}, dirNone, 0, crHorScroll},
      {false, true, {500, 400}, dirNone, 0, crVerScroll},
      {true, true, {500, 420}, dirDown, 2, crDownScroll},
      {true, true, {500, 380}, dirUp, 2, crUpScroll},
      {true, true, {530, 400}, dirRight, 4, crRightScroll},
      {true, true, {470, 400}, dirLeft, 4, crLeftScroll},
      {true, true, {530, 430}, dirDown, 4, crDownScroll},  // a tie goes vertical
      {true, true, {500, 1000}, dirDown, 12, crDownScroll},
      {false, true, {900, 400}, dirNone, 0, crVerScroll},  // sideways is neutral
      {false, true, {900, 430}, dirDown, 4, crDownScroll},
      {true, false, {500, 700}, dirNone, 0, crHorScroll},
      {true, false, {430, 700}, dirLeft, 12, crLeftScroll},
  };
  for (const TAnchorRow& Row : Rows) {
    SCOPED_TRACE(testing::Message()
                 << Row.At.x << "," << Row.At.y << " h" << Row.Hor << " v" << Row.Ver);
    const TcxAnchorScrolling S = cxAnchorScrollingAt(A, 28, Row.Hor, Row.Ver, Row.At, Screen);
    EXPECT_EQ(S.Direction, Row.Direction);
    EXPECT_EQ(S.Speed, Row.Speed);
    EXPECT_EQ(cxAnchorScrollingCursor(S.Direction, Row.Hor, Row.Ver), Row.Cursor);
  }
  EXPECT_STREQ(cxAnchorBitmapName(true, true), L"CX_FULLSCROLLBITMAP");
  EXPECT_STREQ(cxAnchorBitmapName(true, false), L"CX_HORSCROLLBITMAP");
  EXPECT_STREQ(cxAnchorBitmapName(false, true), L"CX_VERSCROLLBITMAP");
}

// The popup anchor window the loop shows over the control, or nullptr.
HWND FindAnchorWindow(HWND AOwner) {
  struct TFind {
    HWND Owner;
    HWND Found = nullptr;
  } Find{AOwner};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND Wnd, LPARAM AData) -> BOOL {
        auto* F = reinterpret_cast<TFind*>(AData);
        wchar_t Class[32] = {};
        GetClassNameW(Wnd, Class, 32);
        // A popup's owner is always a top-level window: the control's form.
        if (GetWindow(Wnd, GW_OWNER) == GetAncestor(F->Owner, GA_ROOT) &&
            lstrcmpiW(Class, L"Static") == 0 && IsWindowVisible(Wnd)) {
          F->Found = Wnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&Find));
  return Find.Found;
}

struct TEndRow {
  const char* Name;
  // Posted before the loop starts, in order; the loop sees them first.
  std::vector<UINT> Posted;
  bool MoveAwayFirst;
  bool EndsWithoutScrolling;
};

TEST(AnchorScrolling, WhatEndsIt) {
  const TEndRow Rows[] = {
      {"Escape", {WM_KEYDOWN}, false, true},
      {"another button", {WM_LBUTTONDOWN}, false, true},
      {"the wheel", {WM_MOUSEWHEEL}, false, true},
      {"middle release after a move", {WM_MBUTTONUP}, true, true},
      {"middle release without a move goes on", {WM_MBUTTONUP}, false, false},
  };
  for (const TEndRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TFixture F(TRect{10, 10, 210, 160});
    const HWND Wnd = F.Control->Handle();
    const TPoint Anchor = F.Control->ClientToScreen(TPoint{100, 75});
    SetCursorPos(Anchor.x, Anchor.y);
    ASSERT_TRUE(PumpApplicationUntil([&] { return GetMouseCursorPos().x == Anchor.x; }));
    if (Row.MoveAwayFirst) PostMessageW(Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 140));
    for (UINT Msg : Row.Posted)
      PostMessageW(Wnd, Msg, Msg == WM_KEYDOWN ? VK_ESCAPE : 0, MAKELPARAM(100, 75));
    bool Flag = false;
    HWND AnchorWnd = nullptr;
    TRect AnchorBounds{};
    bool FlagInside = false;
    // A loop that goes on ends on the first scroll step, by Escape.
    F.Control->OnScrollContent = [&](TcxDirection) {
      FlagInside = Flag;
      AnchorWnd = FindAnchorWindow(Wnd);
      if (AnchorWnd) GetWindowRect(AnchorWnd, &AnchorBounds);
      PostMessageW(Wnd, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    cxProcessControlScrollingOnMiddleButton(
        F.Control, true, true, MakeEvent<&TTestControl::ScrollContent>(F.Control), Flag);
    EXPECT_FALSE(Flag);
    EXPECT_NE(GetCapture(), Wnd);
    EXPECT_EQ(FindAnchorWindow(Wnd), nullptr);
    EXPECT_EQ(F.Control->Directions.empty(), Row.EndsWithoutScrolling);
    if (!Row.EndsWithoutScrolling) {
      EXPECT_TRUE(FlagInside);
      ASSERT_NE(AnchorWnd, nullptr);
      EXPECT_EQ(RectWidth(AnchorBounds), 28);
      EXPECT_EQ(AnchorBounds.left + 14, Anchor.x);
      EXPECT_EQ(AnchorBounds.top + 14, Anchor.y);
    }
    ProcessMessages();
  }
}

TEST(AnchorScrolling, ScrollsWhereTheMousePointsWithItsCursor) {
  TFixture F(TRect{10, 10, 210, 160});
  const HWND Wnd = F.Control->Handle();
  const TPoint Anchor = F.Control->ClientToScreen(TPoint{100, 75});
  SetCursorPos(Anchor.x, Anchor.y);
  ASSERT_TRUE(PumpApplicationUntil([&] { return GetMouseCursorPos().x == Anchor.x; }));
  // The first step comes in the neutral zone; then the mouse goes far to
  // the left: full speed, every tick. (A move posted before the loop would
  // be followed by the platform's own move at the anchor on taking the
  // capture.)
  HCURSOR Shown = nullptr;
  F.Control->OnScrollContent = [&](TcxDirection) {
    Shown = GetCursor();
    if (F.Control->Directions.size() == 1)
      PostMessageW(Wnd, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-200), 75));
    if (F.Control->Directions.size() == 4) PostMessageW(Wnd, WM_KEYDOWN, VK_ESCAPE, 0);
  };
  bool Flag = false;
  cxProcessControlScrollingOnMiddleButton(F.Control, true, true,
                                          MakeEvent<&TTestControl::ScrollContent>(F.Control), Flag);
  EXPECT_EQ(F.Control->Directions, (std::vector<TcxDirection>{dirNone, dirLeft, dirLeft, dirLeft}));
  EXPECT_EQ(Shown, Screen()->Cursors(crLeftScroll));
  EXPECT_NE(Shown, nullptr);
}

TEST(AnchorScrolling, MiddleButtonDownStartsItOverAControlWithBars) {
  struct TRow {
    const char* Name;
    bool WithBars;
    std::vector<TcxDirection> Directions;
  } Rows[] = {{"with bars", true, {dirNone}}, {"no bars", false, {}}};
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TFixture F(TRect{10, 10, 210, 160});
    F.Control->WithBars = Row.WithBars;
    F.Control->UpdateScrollBars();
    ASSERT_EQ(F.Control->IsScrollBarActive(sbVertical), Row.WithBars);
    const HWND Wnd = F.Control->Handle();
    bool ScrollingInside = false;
    // The first step (in the neutral zone) ends it.
    F.Control->OnScrollContent = [&](TcxDirection) {
      ScrollingInside = F.Control->IsScrollingContent();
      PostMessageW(Wnd, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    F.Control->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(50, 50));
    EXPECT_EQ(F.Control->Directions, Row.Directions);
    EXPECT_EQ(ScrollingInside, Row.WithBars);
    EXPECT_FALSE(F.Control->IsScrollingContent());
    EXPECT_NE(GetCapture(), Wnd);
    ProcessMessages();
  }
}

// The scroll procedure of a loop whose control goes away or loses the
// capture at the first step.
struct TEndingScroller {
  TcxControl* Control;
  bool FreeControl;
  Integer Steps = 0;
  void Scroll(TcxDirection) {
    ++Steps;
    if (FreeControl)
      Control->Free();
    else
      ReleaseCapture();
  }
};

TEST(AnchorScrolling, LossOfCaptureOrOfTheControlEndsIt) {
  struct TRow {
    const char* Name;
    bool FreeControl;
  } Rows[] = {{"capture released", false}, {"control freed", true}};
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Name);
    TFixture F(TRect{10, 10, 210, 160});
    const HWND Wnd = F.Control->Handle();
    TcxObjectLink* Link = cxAddObjectLink(F.Control);
    auto Remove = Finally([&] { cxRemoveObjectLink(Link); });
    TEndingScroller Scroller{F.Control, Row.FreeControl};
    // The flag lives in the control in real use; here it outlives it.
    bool Flag = false;
    cxProcessControlScrollingOnMiddleButton(F.Control, false, true,
                                            MakeEvent<&TEndingScroller::Scroll>(&Scroller), Flag);
    EXPECT_EQ(Scroller.Steps, 1);
    EXPECT_NE(GetCapture(), Wnd);
    EXPECT_EQ(FindAnchorWindow(Wnd), nullptr);
    EXPECT_EQ(Link->Ref == nullptr, Row.FreeControl);
    // Freed: the flag is the control's and is left alone.
    EXPECT_EQ(Flag, Row.FreeControl);
    ProcessMessages();
  }
}

}  // namespace
