// The drop-down editor and its popup window on real forms: dropping down by
// key, button and request, closing with its reasons, placement at the work
// area's edges and right to left, resizing by the frame, and the frame's
// pixels.
#include <gtest/gtest.h>

#include <vector>

#include "ControlsTestSupport.h"
#include "cxDropDownEdit.h"
#include "ui/graphics/GraphicsTestSupport.h"

using namespace ControlsTest;

namespace {

// A drop-down editor whose popup content has a fixed preferred size.
class TTestDropDownEdit : public TcxCustomDropDownEdit {
  DECLARE_CLASS(TTestDropDownEdit, TcxCustomDropDownEdit)
 public:
  using TcxCustomDropDownEdit::TcxCustomDropDownEdit;
  TSize GetPopupWindowClientPreferredSize() override { return PreferredSize; }
  bool CanDropDown() override { return true; }
  void Closed(TObject*, TcxEditCloseUpReason AReason) { Reasons.push_back(AReason); }
  void Finalized(TObject*) { ++Finalizations; }
  void Initialized(TObject*) { ++Initializations; }
  TSize PreferredSize{120, 60};
  std::vector<TcxEditCloseUpReason> Reasons;
  Integer Finalizations = 0;
  Integer Initializations = 0;
};
IMPLEMENT_CLASS(TTestDropDownEdit)

TRect GWorkArea{};
TRect InjectedWorkArea(const TPoint&) { return GWorkArea; }

TRect ScreenBounds(TWinControl* AControl) {
  TRect R;
  GetWindowRect(AControl->Handle(), &R);
  return R;
}

POINT Center(const TRect& R) { return POINT{(R.left + R.right) / 2, (R.top + R.bottom) / 2}; }

class DropDownEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(400, 300));
    Edit = Create<TTestDropDownEdit>(Form.get());
    Edit->SetBounds(20, 20, 160, 22);
    Edit->SetParent(Form.get());
    Edit->Properties()->SetOnClosePopup(MakeEvent<&TTestDropDownEdit::Closed>(Edit));
    Edit->Properties()->OnFinalizePopup = MakeEvent<&TTestDropDownEdit::Finalized>(Edit);
    Edit->Properties()->OnInitPopup = MakeEvent<&TTestDropDownEdit::Initialized>(Edit);
    Edit->Properties()->SetPopupAutoSize(false);
    Edit->Properties()->SetPopupHeight(80);
    ProcessMessages();
    Edit->SetFocus();
    ProcessMessages();
  }
  void TearDown() override {
    Form.reset();
    ProcessMessages();
  }
  TcxCustomEditPopupWindow* Popup() { return Edit->PopupWindow(); }
  void Open() {
    Edit->SetDroppedDown(true);
    ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); }));
  }
  TOwned<TCustomForm> Form;
  TTestDropDownEdit* Edit = nullptr;
};

// ---------------------------------------------------------------------------
// The show request

TEST_F(DropDownEdit, ShowsThroughOnePendingRequest) {
  Edit->SetDroppedDown(true);
  Edit->SetDroppedDown(true);
  // Nothing shows before the request is handled.
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_TRUE(Edit->IsPopupWindowShowing());
  MSG M;
  Integer ARequests = 0;
  while (PeekMessageW(&M, Popup()->Handle(), DXM_SHOWPOPUPWINDOW, DXM_SHOWPOPUPWINDOW, PM_REMOVE))
    ++ARequests;
  EXPECT_EQ(ARequests, 1);
  EXPECT_EQ(Edit->Initializations, 1);
}

TEST_F(DropDownEdit, TakesBackAPendingRequestWhenClosedFirst) {
  Edit->SetDroppedDown(true);
  ASSERT_TRUE(Edit->IsPopupWindowShowing());
  Edit->CloseUp(crUnknown);
  EXPECT_FALSE(Edit->IsPopupWindowShowing());
  ProcessMessages();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_FALSE(Popup()->IsVisible());
  // The popup was initialised for the request and finalised with it.
  EXPECT_EQ(Edit->Finalizations, 1);
}

TEST_F(DropDownEdit, APendingRequestDiesWithTheEditor) {
  Edit->SetDroppedDown(true);
  ASSERT_TRUE(Edit->IsPopupWindowShowing());
  HWND APopupWnd = Popup()->Handle();
  Edit->Free();
  Edit = nullptr;
  ProcessMessages();
  EXPECT_FALSE(IsWindow(APopupWnd));
}

TEST_F(DropDownEdit, AHiddenEditorNeverDropsDown) {
  Edit->SetVisible(false);
  ProcessMessages();
  Edit->SetDroppedDown(true);
  ProcessMessages();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_FALSE(Edit->IsPopupWindowShowing());
}

TEST_F(DropDownEdit, AnEditorHiddenWhileTheRequestWaitsFinalizesInsteadOfShowing) {
  Edit->SetDroppedDown(true);
  Edit->SetVisible(false);
  ProcessMessages();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(Edit->Finalizations, 1);
}

// ---------------------------------------------------------------------------
// Keys, the button and clicks

TEST_F(DropDownEdit, OpensAndClosesByKeysWithTheirReasons) {
  struct TCase {
    const char* Name;
    std::vector<Word> Keys;  // held in order, released in reverse
    bool StaysOpen;
    TcxEditCloseUpReason Reason;
  } Cases[] = {
      {"F4", {VK_F4}, false, crClose},
      {"Enter", {VK_RETURN}, false, crEnter},
      {"Esc", {VK_ESCAPE}, false, crCancel},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Edit->Reasons.clear();
    SendKey(VK_F4, true);
    SendKey(VK_F4, false);
    ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); }));
    for (Word K : C.Keys) SendKey(K, true);
    for (auto I = C.Keys.rbegin(); I != C.Keys.rend(); ++I) SendKey(*I, false);
    ASSERT_TRUE(PumpUntil([&] { return !Edit->DroppedDown(); }));
    ProcessMessages();
    ASSERT_EQ(Edit->Reasons.size(), 1u);
    EXPECT_EQ(Edit->Reasons[0], C.Reason);
  }
}

TEST_F(DropDownEdit, KeepsTheFirstReasonOfACloseUp) {
  Open();
  Edit->Reasons.clear();
  // A second request while the first runs (as a focus change would make)
  // does not change the reason reported.
  Edit->Properties()->OnCloseUp = MakeEvent<&TTestDropDownEdit::Finalized>(Edit);
  Edit->CloseUp(crTab);
  Edit->CloseUp(crCancel);
  ProcessMessages();
  ASSERT_EQ(Edit->Reasons.size(), 1u);
  EXPECT_EQ(Edit->Reasons[0], crTab);
}

TEST_F(DropDownEdit, TheDropDownButtonOpensAndAClickOutsideCloses) {
  TcxCustomEditViewInfo* V = Edit->GetEditViewInfo();
  ASSERT_GT(V->ButtonsInfo.size(), 0u);
  TRect AButton = V->ButtonsInfo[0]->Bounds;
  const TPoint AOrigin = Edit->ClientToScreen(TPoint{0, 0});
  AButton = cxRectOffset(AButton, AOrigin.x, AOrigin.y);
  SendMouse(MOUSEEVENTF_LEFTDOWN, Center(AButton));
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); }));
  // Outside the editor and its popup, on the form.
  const TPoint AOutside = Form->ClientToScreen(TPoint{380, 280});
  SendMouse(MOUSEEVENTF_LEFTDOWN, POINT{AOutside.x, AOutside.y});
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !Edit->DroppedDown(); }));
  ProcessMessages();
  ASSERT_EQ(Edit->Reasons.size(), 1u);
  EXPECT_EQ(Edit->Reasons[0], crUnknown);
}

// ---------------------------------------------------------------------------
// Placement

TEST_F(DropDownEdit, PlacesThePopupByTheWorkAreaAndTheReadingOrder) {
  // Room on every side of the editor.
  Form->SetBounds(300, 300, Form->Width(), Form->Height());
  ProcessMessages();
  const TRect E = ScreenBounds(Edit);
  struct TCase {
    const char* Name;
    TRect WorkArea;
    bool RightToLeft;
    Integer Width;
    // The expected left and top relative to the editor's screen bounds.
    LONG Left, Top;
    TdxCorner Corner;
  } Cases[] = {
      {"below", {0, 0, 1000, 1000}, false, 200, E.left, E.bottom, coBottomRight},
      {"above near the bottom",
       {0, 0, 1000, E.bottom + 30},
       false,
       200,
       E.left,
       E.top - 80,
       coTopRight},
      {"right to left", {0, 0, 1000, 1000}, true, 200, E.right - 200, E.bottom, coBottomLeft},
      {"pushed left by the work area's right edge",
       {0, 0, E.left + 150, 1000},
       false,
       200,
       E.left + 150 - 200,
       E.bottom,
       coBottomLeft},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    GWorkArea = C.WorkArea;
    Popup()->SetWorkAreaFunc(&InjectedWorkArea);
    Edit->SetBiDiMode(C.RightToLeft ? bdRightToLeft : bdLeftToRight);
    Edit->Properties()->SetPopupWidth(C.Width);
    ProcessMessages();
    Open();
    const TRect P = ScreenBounds(Popup());
    EXPECT_EQ(P.left, C.Left);
    EXPECT_EQ(P.top, C.Top);
    EXPECT_EQ(cxRectHeight(P), 80);
    EXPECT_EQ(Popup()->ViewInfo()->SizeGripCorner, C.Corner);
    if (C.Corner == coTopRight) {
      // With a shadow the window sits 3 pixels lower, its shadow over the
      // editor's top edge.
      Popup()->SetShadow(true);
      const TPoint AShadowed = Popup()->CalculatePosition(TSize{200, 80});
      EXPECT_EQ(AShadowed.y, C.Top + 3);
      Popup()->SetShadow(false);
    }
    Edit->CloseUp(crUnknown);
    ProcessMessages();
  }
}

TEST_F(DropDownEdit, WithoutAWidthThePopupIsAsWideAsTheEditor) {
  Edit->Properties()->SetPopupWidth(0);
  Open();
  EXPECT_EQ(Popup()->Width(), Edit->Width());
}

// ---------------------------------------------------------------------------
// The frame

TEST_F(DropDownEdit, HitTestsTheFrameByItsParts) {
  TcxCustomEditPopupWindowViewInfo V;
  V.Bounds = TRect{0, 0, 200, 100};
  V.ClientRect = TRect{2, 2, 198, 98};
  V.Sizeable = true;
  struct TCase {
    TdxCorner Corner;
    TPoint P;
    Integer Code;
  } Cases[] = {
      {coBottomRight, {100, 50}, cxEditPopupHitNone},
      {coBottomRight, {199, 99}, cxEditPopupHitDiagonalNWSE},
      {coBottomRight, {195, 95}, cxEditPopupHitNone},
      {coBottomRight, {100, 99}, cxEditPopupHitTopOrBottom},
      {coBottomRight, {100, 0}, cxEditPopupHitNone},
      {coBottomRight, {199, 50}, cxEditPopupHitLeftOrRight},
      {coBottomRight, {0, 50}, cxEditPopupHitNone},
      {coTopLeft, {1, 1}, cxEditPopupHitDiagonalNWSE},
      {coTopLeft, {100, 0}, cxEditPopupHitTopOrBottom},
      {coTopLeft, {0, 50}, cxEditPopupHitLeftOrRight},
      {coTopRight, {196, 1}, cxEditPopupHitDiagonalNESW},
      {coBottomLeft, {1, 96}, cxEditPopupHitDiagonalNESW},
      {coBottomRight, {250, 50}, cxEditPopupHitNone},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Corner) + " " + std::to_string(C.P.x) + "," +
                 std::to_string(C.P.y));
    V.SizeGripCorner = C.Corner;
    EXPECT_EQ(V.GetHitTest(C.P), C.Code);
  }
  // Without sizing nothing but the close button answers.
  V.Sizeable = false;
  V.SizeGripCorner = coBottomRight;
  EXPECT_EQ(V.GetHitTest(TPoint{199, 99}), cxEditPopupHitNone);
}

TEST_F(DropDownEdit, WithASystemPanelOnlyTheGripResizes) {
  Edit->Properties()->SetPopupSizeable(true);
  Edit->Properties()->SetPopupSysPanelStyle(true);
  Open();
  TcxCustomEditPopupWindowViewInfo* V = Popup()->ViewInfo();
  ASSERT_FALSE(cxRectIsEmpty(V->SizeGripRect));
  EXPECT_EQ(V->GetHitTest(Center(V->SizeGripRect)), cxEditPopupHitDiagonalNWSE);
  // The panel sits at the bottom, below the client area.
  EXPECT_EQ(V->SysPanelBounds.top, V->ClientRect.bottom);
  EXPECT_EQ(V->GetHitTest(TPoint{V->Bounds.right - 1, V->ClientRect.top + 5}), cxEditPopupHitNone);
}

TEST_F(DropDownEdit, DrawsASingleBorderAndTheSystemPanelWithItsLine) {
  Edit->GetEditStyle()->SetPopupBorderStyle(epbsSingle);
  Edit->Properties()->SetPopupSysPanelStyle(true);
  Edit->Properties()->SetPopupWidth(200);
  Open();
  TcxCustomEditPopupWindowViewInfo* V = Popup()->ViewInfo();
  TOwned<TcxBitmap32> Shot = CaptureWindow(Popup());
  const TRect B = V->Bounds;
  // The single frame is one pixel of one colour on every side, apart from
  // what lies inside it.
  const COLORREF ABorder = PixelOf(Shot.get(), B.left, 40);
  for (const TPoint P : {TPoint{B.right - 1, 40}, TPoint{100, B.top}, TPoint{100, B.bottom - 1}})
    EXPECT_EQ(PixelOf(Shot.get(), P.x, P.y), ABorder) << P.x << "," << P.y;
  EXPECT_NE(PixelOf(Shot.get(), B.left + 1, 40), ABorder);
  EXPECT_EQ(V->ClientRect.left, B.left + 1);
  // The line between the panel and the client area is the container
  // border's colour; below it the panel's own content.
  const TColor ALine = dxColorToRGB(V->Painter->GetContainerBorderColor(false));
  EXPECT_EQ(PixelOf(Shot.get(), 40, V->SysPanelBounds.top), ALine);
  EXPECT_NE(PixelOf(Shot.get(), 40, V->SysPanelBounds.top + 2), ALine);
  EXPECT_EQ(V->SysPanelBounds.bottom, B.bottom - 1);
}

// ---------------------------------------------------------------------------
// Resizing

TEST_F(DropDownEdit, TheGripResizesWithTheMouseAndEscKeepsTheSize) {
  Edit->Properties()->SetPopupSizeable(true);
  Edit->Properties()->SetPopupSysPanelStyle(true);
  Edit->Properties()->SetPopupWidth(200);
  for (bool ACancel : {true, false}) {
    SCOPED_TRACE(ACancel ? "cancelled" : "applied");
    Open();
    const TRect ABefore = ScreenBounds(Popup());
    const TRect AGrip = Popup()->ViewInfo()->SizeGripRect;
    const POINT AStart{ABefore.left + (AGrip.left + AGrip.right) / 2,
                       ABefore.top + (AGrip.top + AGrip.bottom) / 2};
    SendMouse(MOUSEEVENTF_LEFTDOWN, AStart);
    ASSERT_TRUE(PumpUntil([&] { return Popup()->IsSizing(); }));
    SendMouse(MOUSEEVENTF_MOVE, POINT{AStart.x + 40, AStart.y + 30});
    ASSERT_TRUE(PumpUntil([&] { return !cxRectIsEmpty(Popup()->PaintedSizeFrameBounds()); }));
    EXPECT_EQ(Popup()->PaintedSizeFrameBounds(),
              (TRect{ABefore.left, ABefore.top, ABefore.right + 40, ABefore.bottom + 30}));
    if (ACancel) {
      SendKey(VK_ESCAPE, true);
      SendKey(VK_ESCAPE, false);
      ASSERT_TRUE(PumpUntil([&] { return !Popup()->IsSizing(); }));
    }
    SendMouse(MOUSEEVENTF_LEFTUP);
    ProcessMessages();
    ASSERT_TRUE(Edit->DroppedDown());
    const TRect AAfter = ScreenBounds(Popup());
    if (ACancel) {
      EXPECT_EQ(AAfter, ABefore);
      EXPECT_EQ(Edit->Properties()->PopupWidth(), 200);
    } else {
      EXPECT_EQ(cxRectWidth(AAfter), cxRectWidth(ABefore) + 40);
      EXPECT_EQ(cxRectHeight(AAfter), cxRectHeight(ABefore) + 30);
      // A standalone editor keeps the size for the next drop-down.
      EXPECT_EQ(Edit->Properties()->PopupWidth(), 240);
      EXPECT_EQ(Edit->Properties()->PopupHeight(), cxRectHeight(AAfter));
    }
    EXPECT_EQ(Popup()->SizeFrame(), nullptr);
    Edit->CloseUp(crUnknown);
    ProcessMessages();
  }
}

TEST_F(DropDownEdit, ReleasingOverThePressedCloseButtonClosesWithoutAReason) {
  Edit->Properties()->SetPopupSysPanelStyle(true);
  Edit->Properties()->SetPopupWidth(200);
  Open();
  Edit->Reasons.clear();
  const TRect P = ScreenBounds(Popup());
  const TRect AClose = cxRectOffset(Popup()->ViewInfo()->CloseButtonRect, P.left, P.top);
  ASSERT_FALSE(cxRectIsEmpty(AClose));
  SendMouse(MOUSEEVENTF_LEFTDOWN, Center(AClose));
  ASSERT_TRUE(PumpUntil([&] { return Popup()->ViewInfo()->CloseButtonState == cxbsPressed; }));
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !Edit->DroppedDown(); }));
  ProcessMessages();
  ASSERT_EQ(Edit->Reasons.size(), 1u);
  EXPECT_EQ(Edit->Reasons[0], crUnknown);
}

// ---------------------------------------------------------------------------
// Properties

TEST(DropDownEditProperties, KeepsThePopupSizesInRange) {
  TOwned<TcxCustomDropDownEditProperties> P = MakeOwned<TcxCustomDropDownEditProperties>(nullptr);
  struct TCase {
    Integer MinWidth, Width, ExpectedWidth;
  } Cases[] = {{0, -5, 0}, {50, 20, 50}, {50, 0, 0}, {50, 80, 80}, {-3, 10, 10}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.MinWidth) + " " + std::to_string(C.Width));
    P->SetPopupMinWidth(C.MinWidth);
    P->SetPopupWidth(C.Width);
    EXPECT_EQ(P->PopupWidth(), C.ExpectedWidth);
    EXPECT_GE(P->PopupMinWidth(), 0);
  }
  P->SetPopupMinHeight(40);
  P->SetPopupHeight(10);
  EXPECT_EQ(P->PopupHeight(), 40);
  // Raising the minimum raises the height with it.
  P->SetPopupMinHeight(60);
  EXPECT_EQ(P->PopupHeight(), 60);
}

TEST(DropDownEditProperties, MapsThePopupAlignment) {
  TOwned<TcxCustomDropDownEditProperties> P = MakeOwned<TcxCustomDropDownEditProperties>(nullptr);
  const std::pair<TAlignment, TcxPopupAlignHorz> Cases[] = {
      {taLeftJustify, pahLeft}, {taRightJustify, pahRight}, {taCenter, pahCenter}};
  for (const auto& [A, H] : Cases) {
    P->SetPopupAlignment(A);
    EXPECT_EQ(P->PopupHorzAlignment(), H);
    EXPECT_EQ(P->PopupAlignment(), A);
  }
  ASSERT_EQ(P->GetButtons()->Count(), 1);
  EXPECT_EQ(P->GetButtons()->Items(0)->GetKind(), bkDown);
}

}  // namespace
