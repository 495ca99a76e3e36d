// The container on real windows: border extent and colour per state, the
// painted border, shadow and background (exact under UltraFlat, against the
// theme's own colours under Native), the window region, hot tracking by real
// mouse moves, the exchange of Color and Font with the style, and the inner
// control: typed keys, Tab, the clipping region and the border cursor.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ControlsTestSupport.h"
#include "StdCtrls.h"
#include "cxContainer.h"
#include "cxDWMApi.h"
#include "dxOffice11.h"
#include "ui/graphics/GraphicsTestSupport.h"

namespace {

using ControlsTest::CaptureWindow;
using ControlsTest::CreateForm;
using ControlsTest::ProcessMessages;
using ControlsTest::PumpUntil;

std::string Text(const TRect& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) +
         "," + std::to_string(R.bottom);
}

void MoveMouse(POINT P) {
  ControlsTest::SendMouse(0, P);
  PumpUntil([&] { return ControlsTest::CursorAt(P); });
}

void MouseButton(DWORD AFlags) { ControlsTest::SendMouse(AFlags); }

void Key(WORD AKey, bool AUp = false) { ControlsTest::SendKey(AKey, AUp); }

void Press(WORD AKey) {
  Key(AKey);
  Key(AKey, true);
  ProcessMessages();
}

// A container on a form, painted by the UltraFlat painter unless asked
// otherwise.
class Container : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(200, 120));
    Form->SetColor(RGB(255, 255, 255));
    Box = Create<TcxContainer>(Form.get());
    Box->GetStyle()->GetLookAndFeel()->SetNativeStyle(false);
    Box->GetStyle()->GetLookAndFeel()->SetKind(lfUltraFlat);
    Box->SetBounds(20, 20, 60, 30);
    Box->SetParent(Form.get());
    ProcessMessages();
    Box->ShortRefreshContainer(false);
  }
  void TearDown() override {
    Form.reset();
    ProcessMessages();
  }
  TRect Extent() {
    const TcxContainerViewInfo* V = Box->ViewInfo();
    return TRect{V->BorderRect.left - V->Bounds.left, V->BorderRect.top - V->Bounds.top,
                 V->Bounds.right - V->BorderRect.right, V->Bounds.bottom - V->BorderRect.bottom};
  }
  POINT ScreenPoint(Integer X, Integer Y) {
    POINT P{X, Y};
    ClientToScreen(Box->Handle(), &P);
    return P;
  }
  TOwned<TCustomForm> Form;
  TcxContainer* Box = nullptr;
};

// Border style, shadow and transparent border against the border extent and
// the border style drawn.
TEST_F(Container, BorderExtentFollowsTheStyle) {
  struct {
    TcxContainerBorderStyle BorderStyle;
    bool TransparentBorder, Shadow;
    const char* Extent;
    TcxContainerBorderStyle Drawn;
  } const Cases[] = {
      {cbsUltraFlat, true, false, "2,2,2,2", cbsSingle},
      {cbsUltraFlat, true, true, "2,2,5,5", cbsSingle},
      {cbsUltraFlat, false, false, "1,1,1,1", cbsSingle},
      {cbs3D, false, false, "2,2,2,2", cbs3D},
      {cbs3D, false, true, "2,2,5,5", cbs3D},
      {cbsNone, false, false, "0,0,0,0", cbsNone},
  };
  for (const auto& C : Cases) {
    TcxContainerStyle* S = Box->GetStyle();
    S->BeginUpdate();
    S->SetBorderStyle(C.BorderStyle);
    S->SetTransparentBorder(C.TransparentBorder);
    S->SetShadow(C.Shadow);
    S->EndUpdate();
    Box->ShortRefreshContainer(false);
    EXPECT_EQ(Text(Extent()), C.Extent) << C.BorderStyle << C.TransparentBorder << C.Shadow;
    EXPECT_EQ(Box->ViewInfo()->BorderStyle, C.Drawn) << C.BorderStyle;
  }
  // Edges take the width off the sides without an edge.
  Box->GetStyle()->SetEdges(TcxBorders{bLeft, bBottom});
  Box->ShortRefreshContainer(false);
  EXPECT_EQ(Text(Extent()), "0,0,0,0");
  Box->GetStyle()->SetBorderStyle(cbsSingle);
  Box->ShortRefreshContainer(false);
  EXPECT_EQ(Text(Extent()), "1,0,0,1");
}

TEST_F(Container, UltraFlatBorderColourFollowsTheState) {
  EXPECT_EQ(Box->ViewInfo()->BorderColor, clBtnShadow);
  EXPECT_EQ(Box->ViewInfo()->HotState, chsNormal);
  Box->SetFocus();
  ProcessMessages();
  ASSERT_TRUE(Box->ViewInfo()->ContainerState.Contains(csActive));
  EXPECT_EQ(Box->ViewInfo()->BorderColor, clHighlight);
  EXPECT_EQ(Box->ViewInfo()->HotState, chsSelected);
  Box->GetStyle()->SetBorderStyle(cbsOffice11);
  Box->ShortRefreshContainer(false);
  EXPECT_EQ(Box->ViewInfo()->BorderColor, dxOffice11SelectedBorderColor);
  Box->SetEnabled(false);
  ProcessMessages();
  EXPECT_TRUE(Box->ViewInfo()->ContainerState.Contains(csDisabled));
  EXPECT_EQ(Box->ViewInfo()->BorderColor, clBtnShadow);
  // Another border style takes the style's border colour.
  Box->SetEnabled(true);
  Box->GetStyle()->SetBorderStyle(cbsSingle);
  Box->GetStyle()->SetBorderColor(RGB(1, 2, 3));
  Box->ShortRefreshContainer(false);
  EXPECT_EQ(Box->ViewInfo()->BorderColor, RGB(1, 2, 3));
}

// Exact pixels: the transparent ring outside the region, the 1-pixel border
// in the border colour, the background inside, and the shadow strips.
TEST_F(Container, UltraFlatPaintsBorderShadowAndBackgroundExactly) {
  Box->GetStyle()->SetColor(RGB(200, 220, 240));
  Box->GetStyle()->SetShadow(true);
  Box->ShortRefreshContainer(false);
  auto Shot = CaptureWindow(Box);
  const COLORREF Shadow = ColorToRGB(clBtnShadow), Border = ColorToRGB(clBtnShadow),
                 Back = RGB(200, 220, 240), Parent = RGB(255, 255, 255);
  // Width 60, height 30; extent (2, 2, 5, 5): the border runs over x 1 and
  // 55 and y 1 and 25, the shadow 3 pixels below and right of it, starting
  // 3 pixels in from the border's corners.
  struct {
    int X, Y;
    COLORREF Expected;
  } const Pixels[] = {{0, 0, Parent},   {1, 1, Border},   {55, 1, Border},  {1, 25, Border},
                      {55, 25, Border}, {2, 2, Back},     {54, 24, Back},   {30, 12, Back},
                      {4, 26, Shadow},  {56, 26, Shadow}, {58, 28, Shadow}, {56, 4, Shadow},
                      {3, 26, Parent},  {56, 3, Parent},  {59, 29, Parent}, {59, 0, Parent}};
  for (const auto& P : Pixels)
    EXPECT_EQ(PixelOf(Shot.get(), P.X, P.Y), P.Expected) << P.X << "," << P.Y;
}

TEST_F(Container, WindowRegionFollowsTheBorderAndTheShadow) {
  Box->GetStyle()->SetShadow(true);
  Box->ShortRefreshContainer(false);
  TRegionHandle R(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(Box->Handle(), R.Get()), ERROR);
  struct {
    int X, Y;
    bool Inside;
  } const Points[] = {{0, 0, false},  {1, 1, true},   {55, 25, true}, {56, 3, false}, {56, 4, true},
                      {58, 28, true}, {3, 26, false}, {4, 28, true},  {59, 29, false}};
  for (const auto& P : Points)
    EXPECT_EQ(PtInRegion(R.Get(), P.X, P.Y) != 0, P.Inside) << P.X << "," << P.Y;
  // Without transparent border and shadow there is no region.
  Box->GetStyle()->SetShadow(false);
  Box->GetStyle()->SetTransparentBorder(false);
  Box->ShortRefreshContainer(false);
  EXPECT_EQ(GetWindowRgn(Box->Handle(), R.Get()), ERROR);
}

TEST_F(Container, GivingAWindowTheRegionItHasConsumesTheNewRegion) {
  TOwned<TCustomControl> APlain(Create<TCustomControl>(nullptr));
  APlain->SetBounds(100, 20, 40, 40);
  APlain->SetParent(Form.get());
  HWND W = APlain->Handle();
  ASSERT_TRUE(SetWindowRegion(W, TRegionHandle(CreateRectRgn(0, 0, 10, 10)), false));
  HRGN ASame = CreateRectRgn(0, 0, 10, 10);
  EXPECT_FALSE(SetWindowRegion(W, TRegionHandle(ASame), false));
  // Deleted: a freed region handle is no longer a GDI object.
  EXPECT_EQ(GetObjectType(ASame), 0u);
  EXPECT_TRUE(SetWindowRegion(W, TRegionHandle(), false));
  EXPECT_FALSE(SetWindowRegion(W, TRegionHandle(), false));
}

TEST_F(Container, NativeStylePaintsTheThemeRing) {
  if (!OpenTheme(totEdit)) GTEST_SKIP() << "no visual styles";
  Box->GetStyle()->GetLookAndFeel()->SetNativeStyle(true);
  Box->GetStyle()->SetColor(RGB(200, 220, 240));
  Box->ShortRefreshContainer(false);
  ASSERT_TRUE(Box->ViewInfo()->NativeStyle);
  EXPECT_EQ(Text(Extent()), "2,2,2,2");
  bool AComposition = IsCompositionEnabled();
  COLORREF ARing = ColorToRGB(clWindowFrame);
  dxUxTheme::GetThemeColor(OpenTheme(AComposition ? totListBox : totComboBox), AComposition ? 3 : 1,
                           1, 3801, &ARing);
  RECT ABounds{0, 0, 60, 30}, AContent{};
  TScreenDC DC;
  dxUxTheme::GetThemeBackgroundContentRect(OpenTheme(totEdit), DC.Get(), 1,
                                           Box->ViewInfo()->NativeState, &ABounds, &AContent);
  auto Shot = CaptureWindow(Box);
  EXPECT_EQ(PixelOf(Shot.get(), 0, 0), ARing);
  EXPECT_EQ(PixelOf(Shot.get(), 59, 29), ARing);
  EXPECT_EQ(PixelOf(Shot.get(), AContent.left, AContent.top), RGB(200, 220, 240));
  EXPECT_EQ(PixelOf(Shot.get(), 30, 15), RGB(200, 220, 240));
  // With no border the whole bounds take the background.
  Box->GetStyle()->SetBorderStyle(cbsNone);
  Box->GetStyle()->SetTransparentBorder(false);
  Box->ShortRefreshContainer(false);
  Shot = CaptureWindow(Box);
  EXPECT_EQ(PixelOf(Shot.get(), 0, 0), RGB(200, 220, 240));
}

TEST_F(Container, DisabledNativeBackgroundIsTheThemeFillColour) {
  if (!OpenTheme(totEdit)) GTEST_SKIP() << "no visual styles";
  Box->GetStyle()->GetLookAndFeel()->SetNativeStyle(true);
  Box->SetEnabled(false);
  ProcessMessages();
  Box->ShortRefreshContainer(false);
  const TcxContainerViewInfo* V = Box->ViewInfo();
  ASSERT_EQ(V->NativeState, 4);
  COLORREF AFill;
  if (FAILED(dxUxTheme::GetThemeColor(OpenTheme(totEdit), V->NativePart, 4, 3802, &AFill)))
    EXPECT_EQ(V->BackgroundColor(), Box->StyleDisabled()->GetColor());
  else
    EXPECT_EQ(V->BackgroundColor(), static_cast<TColor>(AFill));
}

TEST_F(Container, HotTrackingFollowsRealMouseMoves) {
  auto IsHot = [&] { return Box->ViewInfo()->ContainerState.Contains(csHotTrack); };
  MoveMouse(ScreenPoint(150, 90));
  MoveMouse(ScreenPoint(30, 15));
  EXPECT_TRUE(PumpUntil(IsHot));
  EXPECT_EQ(Box->ViewInfo()->BorderColor, clHighlight);
  // The outer transparent ring does not count as over the container.
  MoveMouse(ScreenPoint(150, 90));
  EXPECT_TRUE(PumpUntil([&] { return !IsHot(); }));
  // Pressed outside and moved in with the button held: not hot.
  MoveMouse(ScreenPoint(-5, 15));
  MouseButton(MOUSEEVENTF_LEFTDOWN);
  ProcessMessages();
  MoveMouse(ScreenPoint(30, 15));
  ProcessMessages();
  Box->ShortRefreshContainer(true);
  EXPECT_FALSE(IsHot());
  MouseButton(MOUSEEVENTF_LEFTUP);
  ProcessMessages();
  MoveMouse(ScreenPoint(31, 15));
  EXPECT_TRUE(PumpUntil(IsHot));
  MoveMouse(ScreenPoint(150, 90));
  PumpUntil([&] { return !IsHot(); });
}

TEST_F(Container, TheTransparentRingIsNotOverTheContainer) {
  Box->GetStyle()->SetTransparentBorder(true);
  Box->ShortRefreshContainer(false);
  TRect R = Box->GetVisibleBounds();
  EXPECT_EQ(Text(R), "1,1,59,29");
}

TEST_F(Container, ColorSetOnTheControlIsStoredInTheStyle) {
  Box->SetColor(RGB(10, 20, 30));
  EXPECT_TRUE(Box->GetStyle()->GetAssignedValues().Contains(csvColor));
  EXPECT_EQ(Box->GetStyle()->GetColor(), RGB(10, 20, 30));
  EXPECT_EQ(Box->Color(), RGB(10, 20, 30));
  Box->ShortRefreshContainer(false);
  EXPECT_EQ(Box->ViewInfo()->BackgroundColor(), RGB(10, 20, 30));
  // A font passed down from the parent is not an assigned font.
  Form->Font()->SetName(L"Courier New");
  ProcessMessages();
  EXPECT_FALSE(Box->GetStyle()->GetAssignedValues().Contains(csvFont));
  EXPECT_EQ(Box->Font()->Name(), L"Courier New");
  EXPECT_TRUE(Box->ParentFont());
}

// Rescaling: an assigned style font grows with the control and stays its
// own; a font that comes from the parent follows the parent and is never
// marked assigned. The control's font and the style's agree in points (a
// copy between fonts of different resolutions converts the height).
TEST_F(Container, AnAssignedStyleFontIsScaledWithTheControl) {
  const struct {
    bool Assigned;
    bool WholeForm;  // the form rescales, else the container alone
    Integer PPI;
    Integer Height;
  } Cases[] = {{true, false, 144, -18},
               {true, false, 192, -24},
               {true, true, 144, -18},
               {false, true, 144, -18},
               {false, true, 192, -24}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Assigned << " " << C.WholeForm << " " << C.PPI);
    TOwned<TCustomForm> AForm(CreateForm(200, 120));
    AForm->Font()->SetHeight(-12);
    auto* ABox = Create<TcxContainer>(AForm.get());
    ABox->SetBounds(100, 20, 60, 30);
    ABox->SetParent(AForm.get());
    if (C.Assigned) {
      TOwned<TFont> AFont(Create<TFont>());
      AFont->Assign(AForm->Font());
      ABox->GetStyle()->SetFont(AFont.get());
    }
    ProcessMessages();
    ASSERT_EQ(ABox->GetStyle()->IsValueAssigned(csvFont), C.Assigned);
    if (C.WholeForm)
      AForm->ScaleForPPI(C.PPI);
    else
      ABox->ScaleForPPI(C.PPI);
    ProcessMessages();
    EXPECT_EQ(ABox->GetStyle()->IsValueAssigned(csvFont), C.Assigned);
    EXPECT_EQ(ABox->ParentFont(), !C.Assigned);
    EXPECT_EQ(ABox->Font()->Height(), C.Height);
    EXPECT_EQ(ABox->GetStyle()->GetFont()->Size(), ABox->Font()->Size());
    if (C.Assigned) {
      EXPECT_EQ(ABox->GetStyle()->GetFont()->Height(), C.Height);
    }
    // The parent's font changing afterwards reaches only a container that
    // follows it.
    AForm->Font()->SetHeight(C.Height - 3);
    ProcessMessages();
    EXPECT_EQ(ABox->Font()->Height(), C.Assigned ? C.Height : C.Height - 3);
    EXPECT_EQ(ABox->GetStyle()->IsValueAssigned(csvFont), C.Assigned);
  }
}

// A controller's font reaches a rescaled container at the container's
// scale, once (not scaled again when the container copies it).
TEST_F(Container, AControllersFontFollowsTheContainersScale) {
  TOwned<TcxStyleController> AController(Create<TcxStyleController>(nullptr));
  AController->GetStyle()->GetFont()->SetHeight(-12);
  Box->GetStyle()->BaseSetStyleController(AController.get());
  ProcessMessages();
  ASSERT_EQ(Box->Font()->Height(), -12);
  Box->ScaleForPPI(144);
  ProcessMessages();
  // Still the controller's font, not one of the style's own.
  EXPECT_FALSE(Box->GetStyle()->GetAssignedValues().Contains(csvFont));
  EXPECT_EQ(Box->GetStyle()->GetFont()->Height(), -18);
  EXPECT_EQ(Box->Font()->Height(), -18);
  Box->GetStyle()->BaseSetStyleController(nullptr);
}

// Leaving the parent's font makes the present font the style's own: a
// style controller's font or a later parent font no longer replaces it.
TEST_F(Container, LeavingTheParentsFontKeepsThePresentOne) {
  Form->Font()->SetName(L"Courier New");
  Form->Font()->SetHeight(-15);
  ProcessMessages();
  ASSERT_TRUE(Box->ParentFont());
  ASSERT_EQ(Box->Font()->Name(), L"Courier New");
  Box->SetParentFont(false);
  EXPECT_TRUE(Box->GetStyle()->GetAssignedValues().Contains(csvFont));
  TOwned<TcxStyleController> AController(Create<TcxStyleController>(nullptr));
  AController->GetStyle()->GetFont()->SetName(L"Arial");
  AController->GetStyle()->GetFont()->SetHeight(-20);
  Box->GetStyle()->BaseSetStyleController(AController.get());
  Form->Font()->SetHeight(-9);
  ProcessMessages();
  EXPECT_EQ(Box->Font()->Name(), L"Courier New");
  EXPECT_EQ(Box->Font()->Height(), -15);
  EXPECT_EQ(Box->GetVisibleFont()->Name(), L"Courier New");
  Box->GetStyle()->BaseSetStyleController(nullptr);
}

// A container aligned to the right or the bottom keeps that edge when its
// window is sized from outside the framework; a size the framework sets
// itself is already placed and is left alone.
TEST_F(Container, AnAlignedContainerKeepsItsAlignedEdge) {
  enum TWay { Direct, DirectWithPosition, Framework };
  const struct {
    const char* Label;
    TAlign Align;
    TWay Way;
    // The edge that must stay: 'r' right, 'b' bottom, 'l' left.
    char Kept;
  } Cases[] = {{"right, sized alone", alRight, Direct, 'r'},
               {"right, sized at its place", alRight, DirectWithPosition, 'r'},
               {"right, by the framework", alRight, Framework, 'r'},
               {"bottom, sized alone", alBottom, Direct, 'b'},
               {"bottom, sized at its place", alBottom, DirectWithPosition, 'b'},
               {"not aligned", alNone, Direct, 'l'}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Label);
    TOwned<TCustomForm> AForm(CreateForm(200, 120));
    auto* ABox = Create<TcxContainer>(AForm.get());
    ABox->SetBounds(20, 20, 60, 30);
    ABox->SetAlign(C.Align);
    ABox->SetParent(AForm.get());
    ProcessMessages();
    auto WindowRect = [&] {
      RECT R;
      GetWindowRect(ABox->Handle(), &R);
      MapWindowPoints(nullptr, AForm->Handle(), reinterpret_cast<POINT*>(&R), 2);
      return TRect(R);
    };
    const TRect ABefore = WindowRect();
    const Integer W = RectWidth(ABefore) + 25, H = RectHeight(ABefore) + 15;
    switch (C.Way) {
      case Direct:
        SetWindowPos(ABox->Handle(), nullptr, 0, 0, W, H,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      case DirectWithPosition:
        SetWindowPos(ABox->Handle(), nullptr, ABefore.left, ABefore.top, W, H,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        break;
      case Framework:
        ABox->SetWidth(W);
        break;
    }
    ProcessMessages();
    const TRect AAfter = WindowRect();
    EXPECT_EQ(Text(AAfter), Text(ABox->BoundsRect())) << "the framework knows where it is";
    if (C.Kept == 'r') {
      EXPECT_EQ(AAfter.right, ABefore.right);
      EXPECT_EQ(RectWidth(AAfter), W);
    } else if (C.Kept == 'b') {
      EXPECT_EQ(AAfter.bottom, ABefore.bottom);
      EXPECT_EQ(RectHeight(AAfter), H);
    } else {
      EXPECT_EQ(AAfter.left, ABefore.left);
      EXPECT_EQ(AAfter.top, ABefore.top);
    }
  }
}

class TContextRecorder : public TObject {
  DECLARE_CLASS_INLINE(TContextRecorder, TObject)
 public:
  void ContextPopup(TObject*, TPoint, bool&) { ++Count; }
  int Count = 0;
};

TEST_F(Container, ALockedPopupMenuIsNotAskedFor) {
  TContextRecorder ARecorder;
  Box->SetOnContextPopup(MakeEvent<&TContextRecorder::ContextPopup>(&ARecorder));
  Box->LockPopupMenu(true);
  SendMessageW(Box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Box->Handle()),
               MAKELPARAM(-1, -1));
  EXPECT_EQ(ARecorder.Count, 0);
  Box->LockPopupMenu(false);
  // The lock never goes below 0.
  Box->LockPopupMenu(false);
  EXPECT_FALSE(Box->IsPopupMenuLocked());
  SendMessageW(Box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Box->Handle()),
               MAKELPARAM(-1, -1));
  EXPECT_EQ(ARecorder.Count, 1);
}

// Counts the buffered-paint messages a control receives and passes every
// message on.
class TBufferedPaintCounter : public TObject {
  DECLARE_CLASS_INLINE(TBufferedPaintCounter, TObject)
 public:
  explicit TBufferedPaintCounter(TControl* AControl) : FControl(AControl) {
    FSaved = AControl->WindowProc;
    AControl->WindowProc = MakeEvent<&TBufferedPaintCounter::WndProc>(this);
  }
  ~TBufferedPaintCounter() override { FControl->WindowProc = FSaved; }
  void WndProc(TMessage& Message) {
    if (Message.Msg == CM_BUFFEREDPRINTCLIENT) ++Count;
    FSaved(Message);
  }
  int Count = 0;

 private:
  TControl* FControl;
  TWndMethod FSaved;
};

struct TCompositionScope {
  explicit TCompositionScope(bool AOn) : FSaved(dxPaintOnGlassCompositionQuery()) {
    dxPaintOnGlassCompositionQuery() = AOn ? +[] { return true; } : +[] { return false; };
  }
  ~TCompositionScope() { dxPaintOnGlassCompositionQuery() = FSaved; }
  TdxCompositionQuery FSaved;
};

void PostBufferedPaint(TWinControl* AControl, int ACount) {
  for (int I = 0; I < ACount; ++I) PostMessageW(AControl->Handle(), CM_BUFFEREDPRINTCLIENT, 0, 0);
}

// Queued buffered-paint messages are dispatched at once only for a control
// that paints on glass while composition is on.
TEST_F(Container, PendingBufferedPaintMessagesAreDispatchedOnlyOnGlass) {
  const struct {
    bool Composition, Glass;
    int Dispatched;
  } Cases[] = {{true, true, 2}, {true, false, 0}, {false, true, 0}, {false, false, 0}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Composition << " " << C.Glass);
    TCompositionScope AComposition(C.Composition);
    TControlState AState = Box->ControlState();
    if (C.Glass) AState.Include(csGlassPaint);
    Box->SetControlState(AState);
    auto ARestore = Finally([&] {
      TControlState A = Box->ControlState();
      A.Exclude(csGlassPaint);
      Box->SetControlState(A);
    });
    EXPECT_EQ(dxIsPaintOnGlass(Box), C.Composition && C.Glass);
    TBufferedPaintCounter ACounter(Box);
    PostBufferedPaint(Box, 2);
    dxForceProcessBufferedPaintMessages(Box);
    EXPECT_EQ(ACounter.Count, C.Dispatched);
    ProcessMessages();
    EXPECT_EQ(ACounter.Count, 2);
  }
}

// Destroying the container's window first dispatches what is queued for it
// and for its inner control (the platform would drop the container's).
TEST_F(Container, DestroyingTheWindowDispatchesQueuedBufferedPaintMessages) {
  TCompositionScope AComposition(true);
  TEdit* AInner = Create<TEdit>(Form.get());
  AInner->SetBounds(20, 70, 60, 20);
  AInner->SetParent(Form.get());
  Box->SetInnerControl(AInner);
  for (TWinControl* W : {static_cast<TWinControl*>(Box), static_cast<TWinControl*>(AInner)}) {
    TControlState A = W->ControlState();
    A.Include(csGlassPaint);
    W->SetControlState(A);
  }
  TBufferedPaintCounter ABoxCounter(Box);
  TBufferedPaintCounter AInnerCounter(AInner);
  PostBufferedPaint(Box, 2);
  PostBufferedPaint(AInner, 1);
  Box->RecreateWnd();
  EXPECT_EQ(ABoxCounter.Count, 2);
  EXPECT_EQ(AInnerCounter.Count, 1);
  Box->SetInnerControl(nullptr);
  ProcessMessages();
}

class ContainerWithEdit : public Container {
 protected:
  void SetUp() override {
    Container::SetUp();
    Edit = Create<TEdit>(Form.get());
    Edit->SetParent(Box);
    Box->SetInnerControl(Edit);
    Next = Create<TEdit>(Form.get());
    Next->SetBounds(20, 70, 60, 20);
    Next->SetParent(Form.get());
    Box->ShortRefreshContainer(false);
    ProcessMessages();
  }
  TEdit* Edit = nullptr;
  TEdit* Next = nullptr;
};

TEST_F(ContainerWithEdit, TheInnerControlFillsTheClientRect) {
  EXPECT_EQ(Text(Edit->BoundsRect()), Text(Box->ViewInfo()->ClientRect));
}

TEST_F(ContainerWithEdit, TypedTextReachesTheInnerControlWhileTheContainerHasFocus) {
  // Focus on the container window itself: the keys still go to the edit.
  SendMessageW(Box->Handle(), WM_CHAR, L'a', 0);
  SendMessageW(Box->Handle(), WM_CHAR, L'b', 0);
  EXPECT_EQ(Edit->Text(), L"ab");
  Box->SetFocus();
  ProcessMessages();
  EXPECT_EQ(GetFocus(), Edit->Handle());
  EXPECT_TRUE(Box->Focused());
  SendMessageW(Edit->Handle(), EM_SETSEL, 2, 2);
  Press('C');
  EXPECT_EQ(Edit->Text(), L"abc");
}

TEST_F(ContainerWithEdit, TabMovesToTheNextControl) {
  Box->SetFocus();
  ProcessMessages();
  ASSERT_EQ(GetFocus(), Edit->Handle());
  Word K = VK_TAB;
  SetFocus(Box->Handle());
  ProcessMessages();
  Box->ContainerKeyDown(K, TShiftState());
  ProcessMessages();
  EXPECT_EQ(K, 0);
  EXPECT_EQ(GetFocus(), Next->Handle());
}

TEST_F(ContainerWithEdit, AnOverhangingInnerControlIsCutByARegion) {
  Edit->SetBounds(0, 0, 80, 40);
  TRect R = Box->ViewInfo()->ClientRect;
  Box->AlignControls(Edit, R);
  ASSERT_FALSE(Box->InnerControlBounds().IsEmpty);
  EXPECT_EQ(Text(Box->InnerControlBounds().Rect), "2,2,58,28");
  TRegionHandle Rgn(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(Edit->Handle(), Rgn.Get()), ERROR);
  EXPECT_TRUE(PtInRegion(Rgn.Get(), 2, 2));
  EXPECT_FALSE(PtInRegion(Rgn.Get(), 1, 1));
  EXPECT_FALSE(PtInRegion(Rgn.Get(), 58, 10));
  // Fitting again removes the region.
  Edit->SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top);
  Box->AlignControls(Edit, R);
  EXPECT_TRUE(Box->InnerControlBounds().IsEmpty);
  EXPECT_EQ(GetWindowRgn(Edit->Handle(), Rgn.Get()), ERROR);
}

TEST_F(ContainerWithEdit, TheBorderShowsTheArrowCursor) {
  Box->SetCursor(crHandPoint);
  MoveMouse(ScreenPoint(1, 1));
  SendMessageW(Box->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Box->Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
  MoveMouse(ScreenPoint(150, 90));
}

TEST_F(ContainerWithEdit, InvalidatingAndUpdatingReachTheInnerControl) {
  ProcessMessages();
  ValidateRect(Edit->Handle(), nullptr);
  ValidateRect(Box->Handle(), nullptr);
  Box->Invalidate();
  EXPECT_TRUE(GetUpdateRect(Box->Handle(), nullptr, FALSE));
  EXPECT_TRUE(GetUpdateRect(Edit->Handle(), nullptr, FALSE));
  Box->Update();
  EXPECT_FALSE(GetUpdateRect(Box->Handle(), nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(Edit->Handle(), nullptr, FALSE));
}

TEST_F(ContainerWithEdit, FreeingTheInnerControlClearsTheLink) {
  Edit->Free();
  EXPECT_EQ(Box->InnerControl(), nullptr);
  Box->ShortRefreshContainer(false);
}

// The container's own window holds the focus while its inner control cannot
// take it; once the inner control can, the next move of the container hands
// the focus on.
TEST_F(ContainerWithEdit, AMovedContainerHandsTheFocusToItsInnerControl) {
  Edit->SetVisible(false);
  Box->SetFocus();
  ProcessMessages();
  ASSERT_EQ(GetFocus(), Box->Handle());
  Edit->SetVisible(true);
  ProcessMessages();
  ASSERT_EQ(GetFocus(), Box->Handle());
  Box->SetBounds(20, 20, 70, 30);
  ProcessMessages();
  EXPECT_EQ(GetFocus(), Edit->Handle());
  EXPECT_EQ(Form->ActiveControl(), Edit);
  EXPECT_TRUE(Box->Focused());
}

// A container read from a form: ParentFont = False read alone is no font of
// the style's own (values come in any order while reading; Loaded applies the
// style as read), and a style font stored with the form comes back as its
// own. Written back, only the assigned font is stored.
TEST(ContainerResource, TheStyleFontIsReadAndWrittenBackOnlyWhenAssigned) {
  const struct {
    const char* Label;
    const char* Lines;
    bool Assigned;
  } Cases[] = {{"parent font left alone", "    ParentFont = False\n", false},
               {"a font of the style",
                "    ParentFont = False\n"
                "    Style.Font.Height = -15\n"
                "    Style.Font.Name = 'Courier New'\n"
                "    Style.IsFontAssigned = True\n",
                true}};
  RegisterClasses({TForm::StaticClass(), TcxContainer::StaticClass()});
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Label);
    const std::string AText = std::string("object Form1: TForm\n") +
                              "  ClientWidth = 200\n  ClientHeight = 100\n"
                              "  object Box: TcxContainer\n"
                              "    Left = 10\n    Top = 10\n    Width = 80\n    Height = 30\n" +
                              C.Lines + "  end\nend\n";
    TOwned<TMemoryStream> ABinary = ControlsTest::TextToBinary(AText);
    TOwned<TComponent> ARoot(ReadComponentFromStream(ABinary.get(), nullptr));
    auto* ABox = As<TcxContainer>(ARoot->FindComponent(L"Box"));
    EXPECT_FALSE(ABox->ParentFont());
    EXPECT_EQ(ABox->GetStyle()->GetAssignedValues().Contains(csvFont), C.Assigned);
    if (C.Assigned) {
      EXPECT_EQ(ABox->Font()->Name(), L"Courier New");
      EXPECT_EQ(ABox->Font()->Height(), -15);
    }
    const std::string AWritten = ControlsTest::ComponentToText(ABox);
    EXPECT_NE(AWritten.find("ParentFont = False"), std::string::npos) << AWritten;
    EXPECT_EQ(AWritten.find("Style.IsFontAssigned = True") != std::string::npos, C.Assigned)
        << AWritten;
    EXPECT_EQ(AWritten.find("Style.Font.Name") != std::string::npos, C.Assigned) << AWritten;
  }
}

}  // namespace
