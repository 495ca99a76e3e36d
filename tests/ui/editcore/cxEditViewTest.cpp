// The editor's view data and view info: container and hot states, the button
// layout and state machine, extents and sizes at 96 and 144 DPI, native parts
// against the platform's theme, hit tests, and repainting judged by the
// window's update region; buttons clicked by real mouse input.
#include <gtest/gtest.h>

#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "cxEdit.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include <vssym32.h>
#include <functional>
#include "ui/controls/ControlsTestSupport.h"

namespace {

using ControlsTest::CreateForm;

// An editor that only lends its properties and style: the view data is
// calculated without it, as a host's cell is.
struct TViewFixture {
  explicit TViewFixture(bool AInplace = false, bool ANative = false)
      : Edit(Create<TcxCustomEdit>(nullptr, AInplace)), Inplace(AInplace) {
    Style()->GetLookAndFeel()->SetNativeStyle(ANative);
    Style()->GetLookAndFeel()->SetKind(lfStandard);
  }
  TcxCustomEditProperties* Props() { return Edit->GetProperties(); }
  TcxCustomEditStyle* Style() { return Edit->GetEditStyle(); }
  TcxEditButton* AddButton(bool ALeft = false, Integer AWidth = 0) {
    TcxEditButton* B = Props()->GetButtons()->Add();
    B->SetLeftAlignment(ALeft);
    B->SetWidth(AWidth);
    return B;
  }
  // A fresh view data (properties may have changed since the last one).
  TcxCustomEditViewData* Data(Integer ADpi = 96) {
    ViewData.reset(Props()->CreateViewData(Style(), Inplace));
    ViewData->GetScaleFactor()->Assign(ADpi, 96, false);
    // Created at the properties' scale; the cache follows the new one.
    ViewData->InitCacheData();
    return ViewData.get();
  }
  void Calculate(const TRect& R, const TPoint& P, TcxMouseButton B = cxmbNone,
                 TShiftState S = TShiftState()) {
    ViewData->Calculate(nullptr, R, P, B, S, &Info, true);
  }

  TOwned<TcxCustomEdit> Edit;
  bool Inplace;
  TOwned<TcxCustomEditViewData> ViewData;
  TcxCustomEditViewInfo Info;
};

const TRect Bounds{0, 0, 120, 24};
const TPoint Outside{-10, -10};

TEST(EditViewData, ContainerAndHotState) {
  struct TCase {
    bool Enabled, Designing, Focused, Inplace, HotTrack;
    TPoint P;
    TShiftState Shift;
    TcxContainerState State;
    TcxContainerHotState Hot;
  } const Cases[] = {
      {true, false, false, false, true, Outside, {}, {csNormal}, chsNormal},
      {true, false, false, false, true, {5, 5}, {}, {csNormal, csHotTrack}, chsSelected},
      // A held button keeps a control that does not hold the capture cold.
      {true, false, false, false, true, {5, 5}, {ssLeft}, {csNormal}, chsNormal},
      {true, false, true, false, true, Outside, {}, {csActive}, chsSelected},
      {true, false, true, false, false, {5, 5}, {}, {csActive, csHotTrack}, chsNoHotTrack},
      {false, false, true, false, true, {5, 5}, {}, {csDisabled}, chsNormal},
      {true, true, true, false, true, {5, 5}, {}, {csNormal}, chsNoHotTrack},
      {true, false, false, true, true, {5, 5}, {}, {csNormal, csHotTrack}, chsNoHotTrack},
  };
  for (const TCase& C : Cases) {
    TViewFixture F(C.Inplace);
    F.Style()->SetHotTrack(C.HotTrack);
    TcxCustomEditViewData* D = F.Data();
    D->Enabled = C.Enabled;
    D->IsDesigning = C.Designing;
    D->Focused = C.Focused;
    F.Calculate(Bounds, C.P, cxmbNone, C.Shift);
    EXPECT_TRUE(F.Info.ContainerState == C.State) << "case " << (&C - Cases);
    EXPECT_EQ(F.Info.HotState, C.Hot) << "case " << (&C - Cases);
  }
}

TEST(EditViewData, NativeStateByEditorState) {
  struct TCase {
    bool Enabled, Focused, ReadOnly;
    TPoint P;
    Integer State;
  } const Cases[] = {{false, true, true, {5, 5}, 4},
                     {true, true, true, {5, 5}, 3},
                     {true, false, true, {5, 5}, 2},
                     {true, false, true, Outside, 6},
                     {true, false, false, Outside, 1}};
  for (const TCase& C : Cases) {
    TViewFixture F;
    F.Props()->SetReadOnly(C.ReadOnly);
    TcxCustomEditViewData* D = F.Data();
    D->Enabled = C.Enabled;
    D->Focused = C.Focused;
    F.Calculate(Bounds, C.P);
    EXPECT_EQ(D->GetEditNativeState(&F.Info), C.State) << "case " << (&C - Cases);
  }
}

TEST(EditViewData, TransparencyHidesButtonsOfAnUnselectedEditor) {
  struct TCase {
    TcxEditButtonTransparency Transparency;
    bool Focused;
    TPoint P;
    Integer Count;
  } const Cases[] = {{ebtHideUnselected, false, Outside, 0}, {ebtHideUnselected, false, {5, 5}, 1},
                     {ebtHideUnselected, true, Outside, 1},  {ebtHideInactive, false, {5, 5}, 0},
                     {ebtHideInactive, true, Outside, 1},    {ebtNone, false, Outside, 1}};
  for (const TCase& C : Cases) {
    TViewFixture F;
    F.AddButton();
    F.Style()->SetButtonTransparency(C.Transparency);
    F.Data()->Focused = C.Focused;
    F.Calculate(Bounds, C.P);
    EXPECT_EQ(F.Info.ButtonCount(), C.Count) << "case " << (&C - Cases);
    EXPECT_EQ(F.Info.PressedButton, -1);
  }
}

TEST(EditViewData, ButtonLayout) {
  // Two right-aligned buttons: the later one of the collection is the
  // outermost. A single left button is both ends of its side.
  TViewFixture F;
  F.AddButton(false, 20);
  F.AddButton(false, 30);
  F.AddButton(true, 25);
  F.Data();
  F.Calculate(Bounds, Outside);
  ASSERT_EQ(F.Info.ButtonCount(), 3);
  TcxEditButtonViewInfo* A = F.Info.ButtonsInfo[0];
  TcxEditButtonViewInfo* B = F.Info.ButtonsInfo[1];
  TcxEditButtonViewInfo* L = F.Info.ButtonsInfo[2];
  const TRect R = F.Info.BorderRect;
  EXPECT_EQ(B->Bounds, (TRect{R.right - 30, R.top, R.right, R.bottom}));
  EXPECT_EQ(A->Bounds, (TRect{R.right - 50, R.top, R.right - 30, R.bottom}));
  EXPECT_EQ(L->Bounds, (TRect{R.left, R.top, R.left + 25, R.bottom}));
  EXPECT_TRUE(B->Data.Rightmost);
  EXPECT_FALSE(B->Data.Leftmost);
  EXPECT_TRUE(A->Data.Leftmost);
  EXPECT_FALSE(A->Data.Rightmost);
  EXPECT_TRUE(L->Data.Leftmost && L->Data.Rightmost);
  // The text area lies between the sides.
  EXPECT_EQ(F.Info.GetPartRect(ecpControl), (TRect{R.left + 25, R.top, R.right - 50, R.bottom}));
  // The client area clears the buttons.
  EXPECT_EQ(F.Info.ClientRect.left, R.left + 25);
  EXPECT_EQ(F.Info.ClientRect.right, R.right - 50);
}

TEST(EditViewData, ButtonWiderThanTheRestKeepsItsBoundsButIsClipped) {
  TViewFixture F;
  F.AddButton(false, 100);
  F.AddButton(false, 40);
  F.Data();
  F.Calculate(Bounds, Outside);
  const TRect R = F.Info.BorderRect;
  TcxEditButtonViewInfo* First = F.Info.ButtonsInfo[0];
  const Integer ARest = (R.right - R.left) - 40;
  EXPECT_EQ(First->Bounds.right - First->Bounds.left, 100);
  EXPECT_EQ(First->VisibleBounds.right - First->VisibleBounds.left, ARest);
  EXPECT_EQ(First->VisibleBounds.left, R.left);
}

TEST(EditViewData, ButtonsOnlyStyleStretchesToTheWidth) {
  // In place, 10 pixels left over, nothing stretchable: every button grows
  // by its share and the first button of the collection takes the rest.
  TViewFixture F(true);
  F.Props()->SetButtonsViewStyle(bvsButtonsOnly);
  for (TcxEditButton* B : {F.AddButton(false, 20), F.AddButton(false, 30), F.AddButton(false, 40)})
    B->SetStretchable(false);
  F.Data();
  F.Calculate(TRect{0, 0, 100, 20}, Outside);
  ASSERT_EQ(F.Info.ButtonCount(), 3);
  auto W = [&](Integer I) {
    const TRect& R = F.Info.ButtonsInfo[I]->Bounds;
    return R.right - R.left;
  };
  // Shares of 10 over a total of 90: 40 -> 4, 30 -> 3, the rest (3) to 20.
  EXPECT_EQ(W(2), 44);
  EXPECT_EQ(W(1), 33);
  EXPECT_EQ(W(0), 23);
  EXPECT_EQ(F.Info.ButtonsInfo[0]->Bounds.left, 0);
  EXPECT_EQ(F.Info.ButtonsInfo[2]->Bounds.right, 100);
  EXPECT_EQ(F.Info.ButtonsInfo[0]->Bounds.right, F.Info.ButtonsInfo[1]->Bounds.left);
  // The measuring bounds never make buttons-only style.
  F.Data();
  F.Calculate(TRect{0, 0, 32000, 20}, Outside);
  EXPECT_FALSE(F.ViewData->ButtonsOnlyStyle);
}

TEST(EditViewData, ButtonStateMachine) {
  TViewFixture F;
  F.AddButton(false, 20);
  F.Data();
  F.Calculate(Bounds, Outside);
  const TRect B = F.Info.ButtonsInfo[0]->Bounds;
  const TPoint On{B.left + 5, B.top + 5};
  struct TStep {
    TPoint P;
    TcxMouseButton Button;
    TShiftState Shift;
    TcxEditButtonState State;
    bool ReallyPressed;
  } const Steps[] = {
      {Outside, cxmbNone, {}, ebsNormal, false},
      {On, cxmbNone, {}, ebsSelected, false},                // hot
      {On, cxmbLeft, {ssLeft}, ebsPressed, true},            // mouse-pressing
      {On, cxmbNone, {ssLeft}, ebsPressed, true},            // hold-pressing
      {Outside, cxmbNone, {ssLeft}, ebsNormal, false},       // dragged off
      {On, cxmbNone, {ssLeft}, ebsNormal, false},            // back, no capture
      {On, cxmbLeft, {}, ebsSelected, false},                // released over it
      {On, cxmbRight, {ssRight}, ebsNormal, false},          // the right button
      {On, cxmbLeft, {ssLeft, ssDouble}, ebsPressed, true},  // double click
  };
  for (const TStep& S : Steps) {
    F.Calculate(Bounds, S.P, S.Button, S.Shift);
    EXPECT_EQ(F.Info.ButtonsInfo[0]->Data.State, S.State) << "step " << (&S - Steps);
    EXPECT_EQ(F.Info.IsButtonReallyPressed, S.ReallyPressed) << "step " << (&S - Steps);
    EXPECT_EQ(F.Info.PressedButton, S.State == ebsPressed ? 0 : -1);
    EXPECT_EQ(F.Info.SelectedButton, S.State == ebsSelected ? 0 : -1);
  }
  // Disabled buttons stay disabled under the mouse.
  F.Props()->GetButtons()->Items(0)->SetEnabled(false);
  F.Data();
  F.Calculate(Bounds, On, cxmbLeft, {ssLeft});
  EXPECT_EQ(F.Info.ButtonsInfo[0]->Data.State, ebsDisabled);
}

TEST(EditViewData, HookGivesTheLastWordOnAButtonState) {
  struct THook {
    void Get(TcxEditButtonViewInfo*, TcxEditButtonState& AState) { AState = ebsPressed; }
  } AHook;
  TViewFixture F;
  F.AddButton(false, 20);
  F.Info.SetOnGetButtonState(MakeEvent<&THook::Get>(&AHook));
  F.Data();
  F.Calculate(Bounds, Outside);
  EXPECT_EQ(F.Info.ButtonsInfo[0]->Data.State, ebsPressed);
}

// The minimum width of an automatic button is the scroll bar's height at the
// editor's resolution; explicit widths scale with it; the shadow and the
// border do not.
TEST(EditViewData, ExtentsAndSizesAt96And144Dpi) {
  auto ForDpi = reinterpret_cast<int(WINAPI*)(int, UINT)>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi"));
  for (Integer ADpi : {96, 144}) {
    TViewFixture F;
    F.Style()->SetEditBorderStyle(ebsSingle);
    F.Style()->SetTransparentBorder(false);
    F.Style()->SetShadow(true);
    F.AddButton(false, 0);
    F.AddButton(false, 20);
    TcxCustomEditViewData* D = F.Data(ADpi);
    F.Calculate(TRect{0, 0, 200, 30}, Outside);
    SCOPED_TRACE(ADpi);
    // Border width 1 on every side plus the 3-pixel shadow.
    EXPECT_EQ(D->GetBorderExtent(), (TRect{1, 1, 1 + 3, 1 + 3}));
    EXPECT_EQ(F.Info.BorderRect, (TRect{1, 1, 200 - 4, 30 - 4}));
    const TRect& Auto = F.Info.ButtonsInfo[0]->Bounds;
    const TRect& Fixed = F.Info.ButtonsInfo[1]->Bounds;
    EXPECT_EQ(Fixed.right - Fixed.left, MulDiv(20, ADpi, 96));
    const Integer AMin =
        ForDpi ? ForDpi(SM_CYHSCROLL, ADpi) : MulDiv(GetSystemMetrics(SM_CYHSCROLL), ADpi, 96);
    EXPECT_EQ(Auto.right - Auto.left, AMin);
    // Content offsets and their correction stay as they are.
    EXPECT_EQ(D->GetEditContentSizeCorrection(), (TSize{1 + 1 + 1, 1 + 3}));
  }
}

TEST(EditViewData, EditSizeIsTheConstantPartAroundTheContent) {
  TViewFixture F;
  F.Style()->SetEditBorderStyle(ebsSingle);
  F.Style()->SetTransparentBorder(false);
  F.Style()->SetShadow(false);
  TcxCustomEditViewData* D = F.Data();
  const TSize S = D->GetEditSize(cxScreenCanvas(), Variant(), cxDefaultEditSizeProperties);
  // The base editor has no content of its own: only the border.
  EXPECT_EQ(S, (TSize{2, 2}));
  // Constraints of a standalone editor clamp the result.
  D->SetEdit(F.Edit.get());
  F.Edit->Constraints()->SetMinHeight(15);
  EXPECT_EQ(D->GetEditSize(cxScreenCanvas(), Variant(), cxDefaultEditSizeProperties).cy, 15);
}

TEST(EditViewData, DefaultButtonAndPopupBorderStyles) {
  struct TCase {
    bool Inplace;
    TcxEditBorderStyle Border;
    bool HotTrack;
    TcxLookAndFeelKind Kind;
    TcxEditButtonStyle Button;
    TcxEditPopupBorderStyle Popup;
  } const Cases[] = {
      {false, ebsSingle, true, lfStandard, btsHotFlat, epbsSingle},
      {false, ebs3D, true, lfStandard, bts3D, epbsSingle},
      {false, ebsFlat, true, lfStandard, btsFlat, epbsFlat},
      {false, ebsNone, true, lfStandard, btsSimple, epbsFrame3D},
      {false, ebsNone, false, lfUltraFlat, btsUltraFlat, epbsSingle},
      {true, ebsSingle, true, lfFlat, btsFlat, epbsFlat},
      {true, ebsSingle, true, lfStandard, bts3D, epbsFrame3D},
  };
  for (const TCase& C : Cases) {
    TViewFixture F(C.Inplace);
    F.Style()->GetLookAndFeel()->SetKind(C.Kind);
    F.Style()->SetEditBorderStyle(C.Border);
    F.Style()->SetHotTrack(C.HotTrack);
    F.AddButton();
    F.Data()->SetEdit(F.Edit.get());
    F.Calculate(Bounds, Outside);
    EXPECT_EQ(F.ViewData->GetButtonsStyle(), C.Button) << "case " << (&C - Cases);
    EXPECT_EQ(F.Info.PopupBorderStyle, C.Popup) << "case " << (&C - Cases);
  }
}

// Native editors take their button extent and button parts from the theme.
TEST(EditViewData, NativePartsFollowThePlatformTheme) {
  TViewFixture F(false, true);
  if (!AreVisualStylesMustBeUsed(true, totEdit)) GTEST_SKIP() << "no theme";
  F.Style()->SetEditBorderStyle(ebs3D);
  F.Style()->SetTransparentBorder(false);
  F.AddButton(false, 20)->SetKind(bkEllipsis);
  TcxCustomEditViewData* D = F.Data();
  ASSERT_TRUE(D->NativeStyle);
  RECT ABounds{0, 0, 100, 100}, AContent = ABounds;
  ASSERT_EQ(dxUxTheme::GetThemeBackgroundContentRect(OpenTheme(totEdit), nullptr, 1, 1, &ABounds,
                                                     &AContent),
            S_OK);
  EXPECT_EQ(D->GetButtonsExtent(nullptr),
            (TRect{AContent.left, AContent.top, 100 - AContent.right, 100 - AContent.bottom}));
  struct TStep {
    TPoint P;
    TcxMouseButton Button;
    TShiftState Shift;
    Integer NativeState;
  } const Steps[] = {{Outside, cxmbNone, {}, PBS_NORMAL},
                     {{0, 0}, cxmbNone, {}, PBS_HOT},
                     {{0, 0}, cxmbLeft, {ssLeft}, PBS_PRESSED}};
  F.Calculate(Bounds, Outside);
  const TRect B = F.Info.ButtonsInfo[0]->Bounds;
  for (const TStep& S : Steps) {
    const TPoint P = S.P == Outside ? S.P : TPoint{B.left + 3, B.top + 3};
    F.Calculate(Bounds, P, S.Button, S.Shift);
    const TcxEditButtonViewInfoData& Data = F.Info.ButtonsInfo[0]->Data;
    EXPECT_EQ(Data.NativePart, BP_PUSHBUTTON);
    EXPECT_EQ(Data.NativeState, S.NativeState) << "step " << (&S - Steps);
  }
  F.Data()->Enabled = false;
  F.Calculate(Bounds, Outside);
  EXPECT_EQ(F.Info.ButtonsInfo[0]->Data.NativeState, PBS_DISABLED);
}

TEST(EditViewInfo, PartsAndHints) {
  TViewFixture F;
  F.Style()->SetEditBorderStyle(ebsSingle);
  F.Style()->SetTransparentBorder(false);
  F.AddButton(false, 20)->SetHint(L"Open|Opens the list");
  F.Data();
  F.Calculate(Bounds, Outside);
  TcxCustomEditViewInfo& V = F.Info;
  const TRect B = V.ButtonsInfo[0]->Bounds;
  struct TCase {
    TPoint P;
    Integer Part;
  } const Cases[] = {
      {{B.left + 2, B.top + 2}, 0}, {{5, 5}, ecpControl}, {{0, 0}, ecpNone}, {{500, 5}, ecpNone}};
  for (const TCase& C : Cases) EXPECT_EQ(V.GetPart(C.P), C.Part) << "case " << (&C - Cases);
  EXPECT_EQ(V.GetHintText(0), L"Open|Opens the list");
  EXPECT_EQ(V.GetHintText(ecpControl), L"");
  EXPECT_EQ(V.GetPartRect(0), B);
  EXPECT_EQ(V.GetPartRect(ecpNone), cxNullRect);
  String AText;
  bool AMultiLine = true;
  TRect ATextRect;
  EXPECT_TRUE(
      V.NeedShowHint(nullptr, TPoint{B.left + 2, B.top + 2}, B, AText, AMultiLine, ATextRect));
  EXPECT_EQ(AText, L"Open");
  EXPECT_FALSE(AMultiLine);
  EXPECT_FALSE(cxRectIsEmpty(ATextRect));
  EXPECT_FALSE(V.NeedShowHint(nullptr, TPoint{5, 5}, B, AText, AMultiLine, ATextRect));
  // A button lying over the border still answers as the button.
  V.ButtonsInfo[0]->Bounds = TRect{0, 0, 20, 24};
  EXPECT_EQ(V.GetPart(TPoint{0, 0}), 0);
}

TEST(EditViewInfo, ErrorIconTakesItsPlaceOnlyWithAnError) {
  TOwned<TCustomForm> Form(CreateForm(200, 60));
  TViewFixture F;
  F.Edit->SetParent(Form.get());
  F.Props()->SetValidationOptions(TcxEditValidationOptions{evoShowErrorIcon});
  TcxCustomEditViewData* D = F.Data();
  D->SetEdit(F.Edit.get());
  F.Calculate(Bounds, Outside);
  EXPECT_EQ(F.Info.ErrorBounds(), cxNullRect);
  EXPECT_EQ(F.Info.GetPart(TPoint{3, 5}), ecpControl);
  // With an error the icon takes its width and a gap of 3 on the left.
  F.Info.ErrorData()->SetErrorType(eetError);
  ASSERT_FALSE(F.Info.ErrorData()->ErrorIcon()->Empty());
  const Integer AWidth = F.Info.ErrorData()->ErrorIcon()->Width() + 3;
  EXPECT_EQ(D->GetErrorIconWidth(F.Info.ErrorData()), AWidth);
  F.Info.ErrorData()->SetErrorText(L"Wrong");
  // The editor itself has no error: the calculation resets the data.
  F.Calculate(Bounds, Outside);
  EXPECT_FALSE(F.Info.ErrorData()->IsError());
  // Without an editor the data stays the host's.
  D->SetEdit(nullptr);
  F.Info.ErrorData()->SetErrorType(eetError);
  F.Info.ErrorData()->SetErrorText(L"Wrong");
  F.Calculate(Bounds, Outside);
  EXPECT_EQ(F.Info.ErrorBounds(), (TRect{1, 0, 1 + AWidth, 24}));
  EXPECT_EQ(F.Info.EditorBounds().left, 1 + AWidth);
  EXPECT_EQ(F.Info.GetPart(TPoint{3, 5}), ecpErrorIcon);
  EXPECT_EQ(F.Info.GetHintText(ecpErrorIcon), L"Wrong");
  F.Info.ResetValidationInfo();
  EXPECT_EQ(F.Info.GetPart(TPoint{3, 5}), ecpNone);
}

TEST(EditViewInfo, AssignCopiesWhatDecidesARepaint) {
  TViewFixture F;
  F.AddButton(false, 20);
  F.AddButton(false, 20);
  F.Data();
  F.Calculate(Bounds, TPoint{115, 5});
  TcxCustomEditViewInfo Copy;
  Copy.Assign(&F.Info);
  EXPECT_EQ(Copy.ButtonCount(), 2);
  EXPECT_EQ(Copy.SelectedButton, F.Info.SelectedButton);
  EXPECT_EQ(Copy.BackgroundColor(), F.Info.BackgroundColor());
  EXPECT_EQ(Copy.ButtonsInfo[1]->Bounds, F.Info.ButtonsInfo[1]->Bounds);
  EXPECT_EQ(Copy.ButtonsInfo[1]->EditViewInfo, &Copy);
  // Moving a view info moves its buttons.
  const TRect AVisible = F.Info.ButtonsInfo[1]->VisibleBounds;
  const Integer ABorderLeft = F.Info.BorderRect.left;
  F.Info.Offset(10, 3);
  EXPECT_EQ(F.Info.ButtonsInfo[1]->Bounds, cxRectOffset(Copy.ButtonsInfo[1]->Bounds, 10, 3));
  EXPECT_EQ(F.Info.ButtonsInfo[1]->VisibleBounds, cxRectOffset(AVisible, 10, 3));
  EXPECT_EQ(F.Info.BorderRect.left, ABorderLeft + 10);
  Copy.SetButtonCount(1);
  EXPECT_EQ(Copy.ButtonCount(), 1);
}

// Repaint and GetUpdateRegion against the previous view info, judged by what
// the window was told to redraw.
TEST(EditViewInfo, RepaintInvalidatesOnlyWhatChanged) {
  TOwned<TCustomForm> Form(CreateForm(200, 60));
  TViewFixture F;
  F.Style()->SetEditBorderStyle(ebsNone);
  F.AddButton(false, 20);
  F.Edit->SetAutoSize(false);
  F.Edit->SetParent(Form.get());
  F.Edit->SetBounds(10, 10, 120, 24);
  F.Edit->HandleNeeded();
  TcxCustomEditViewData* D = F.Data();
  D->SetEdit(F.Edit.get());
  F.Calculate(TRect{0, 0, 120, 24}, Outside);
  const HWND H = F.Edit->Handle();
  auto Updated = [&](const std::function<void(TcxCustomEditViewInfo&)>& AChange, bool& AResult) {
    TcxCustomEditViewInfo Old;
    Old.Assign(&F.Info);
    AChange(F.Info);
    ValidateRect(H, nullptr);
    AResult = F.Info.Repaint(F.Edit.get(), &Old);
    TRegionHandle ARegion(CreateRectRgn(0, 0, 0, 0));
    TRect ABox{};
    if (GetUpdateRgn(H, ARegion.Get(), FALSE) != NULLREGION) GetRgnBox(ARegion.Get(), &ABox);
    TRegionHandle AUpdate = F.Info.GetUpdateRegion(&Old);
    TRect AUpdateBox{};
    GetRgnBox(AUpdate.Get(), &AUpdateBox);
    EXPECT_EQ(AUpdateBox, ABox);
    AChange(F.Info);  // changes are toggles: back to the start
    return ABox;
  };
  bool AResult = true;
  EXPECT_EQ(Updated([](TcxCustomEditViewInfo&) {}, AResult), cxNullRect);
  EXPECT_FALSE(AResult);
  // Without a border its colour shows nowhere.
  EXPECT_EQ(Updated([](TcxCustomEditViewInfo& V) { V.BorderColor ^= 0xFF; }, AResult), cxNullRect);
  EXPECT_FALSE(AResult);
  EXPECT_EQ(
      Updated([](TcxCustomEditViewInfo& V) { V.SetBackgroundColor(V.BackgroundColor() ^ 0xFF); },
              AResult),
      (TRect{0, 0, 120, 24}));
  EXPECT_TRUE(AResult);
  const TRect B = F.Info.ButtonsInfo[0]->Bounds;
  EXPECT_EQ(Updated(
                [](TcxCustomEditViewInfo& V) {
                  TcxEditButtonViewInfoData& Data = V.ButtonsInfo[0]->Data;
                  Data.State = Data.State == ebsNormal ? ebsSelected : ebsNormal;
                },
                AResult),
            B);
  EXPECT_TRUE(AResult);
  // Without a window nothing is redrawn.
  TViewFixture Windowless;
  EXPECT_FALSE(Windowless.Info.Repaint(Windowless.Edit.get(), nullptr));
}

// ---------------------------------------------------------------------------
// The editor: buttons pressed and clicked by real mouse input.

class TClickEdit : public TcxCustomEdit {
  DECLARE_CLASS(TClickEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::TcxCustomEdit;
  std::vector<Integer> Clicks, Downs, Ups;
  void ButtonClick(TObject*, Integer AIndex) { Clicks.push_back(AIndex); }

 protected:
  void DoButtonDown(Integer AIndex) override { Downs.push_back(AIndex); }
  void DoButtonUp(Integer AIndex) override { Ups.push_back(AIndex); }
};
IMPLEMENT_CLASS(TClickEdit)

class EditButtonsByMouse : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(300, 80));
    E = Create<TClickEdit>(Form.get(), false);
    E->GetProperties()->GetButtons()->Add()->SetWidth(30);
    E->GetProperties()->SetOnButtonClick(MakeEvent<&TClickEdit::ButtonClick>(E));
    // The base editor has no content to size itself by.
    E->SetAutoSize(false);
    E->SetParent(Form.get());
    E->SetBounds(20, 20, 200, 24);
    ControlsTest::ProcessMessages();
    E->ShortRefreshContainer(false);
    ASSERT_EQ(E->GetEditViewInfo()->ButtonCount(), 1);
  }
  POINT OnButton() {
    const TRect B = E->GetEditViewInfo()->ButtonsInfo[0]->Bounds;
    POINT P{(B.left + B.right) / 2, (B.top + B.bottom) / 2};
    ClientToScreen(E->Handle(), &P);
    return P;
  }
  TcxEditButtonState State() { return E->GetEditViewInfo()->ButtonsInfo[0]->Data.State; }
  TOwned<TCustomForm> Form;
  TClickEdit* E = nullptr;
};

TEST_F(EditButtonsByMouse, ReleaseOverTheButtonClicksIt) {
  ControlsTest::SendMouse(MOUSEEVENTF_MOVE, OnButton());
  ASSERT_TRUE(ControlsTest::PumpUntil([&] { return State() == ebsSelected; }));
  ControlsTest::SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(ControlsTest::PumpUntil([&] { return State() == ebsPressed; }));
  EXPECT_EQ(E->Downs, std::vector<Integer>{0});
  EXPECT_EQ(E->CaptureButtonVisibleIndex(), 0);
  EXPECT_TRUE(E->Clicks.empty());
  ControlsTest::SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(ControlsTest::PumpUntil([&] { return !E->Clicks.empty(); }));
  EXPECT_EQ(E->Clicks, std::vector<Integer>{0});
  EXPECT_EQ(E->Ups, std::vector<Integer>{0});
  EXPECT_EQ(State(), ebsSelected);
  EXPECT_EQ(E->CaptureButtonVisibleIndex(), -1);
}

TEST_F(EditButtonsByMouse, ReleaseOffTheButtonGivesNoClick) {
  ControlsTest::SendMouse(MOUSEEVENTF_MOVE, OnButton());
  ControlsTest::SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(ControlsTest::PumpUntil([&] { return State() == ebsPressed; }));
  POINT AOff{10, 10};
  ClientToScreen(E->Handle(), &AOff);
  ControlsTest::SendMouse(MOUSEEVENTF_MOVE, AOff);
  ASSERT_TRUE(ControlsTest::PumpUntil([&] { return State() == ebsNormal; }));
  // Back over it with the button still held: pressed again (capture).
  ControlsTest::SendMouse(MOUSEEVENTF_MOVE, OnButton());
  ASSERT_TRUE(ControlsTest::PumpUntil([&] { return State() == ebsPressed; }));
  ControlsTest::SendMouse(MOUSEEVENTF_MOVE, AOff);
  ASSERT_TRUE(ControlsTest::PumpUntil([&] { return State() == ebsNormal; }));
  ControlsTest::SendMouse(MOUSEEVENTF_LEFTUP);
  ControlsTest::PumpUntil([] { return false; });
  EXPECT_TRUE(E->Clicks.empty());
  EXPECT_EQ(E->Downs.size(), 2u);
  EXPECT_EQ(E->Ups.size(), 2u);
}

TEST_F(EditButtonsByMouse, ButtonHintsByPart) {
  E->GetProperties()->GetButtons()->Items(0)->SetHint(L"Drop|Drops the list");
  E->SetHint(L"Editor");
  E->SetShowHint(true);
  E->ShortRefreshContainer(false);
  const TRect B = E->GetEditViewInfo()->ButtonsInfo[0]->Bounds;
  struct TCase {
    TPoint P;
    const wchar_t* Hint;
  } const Cases[] = {{{B.left + 2, B.top + 2}, L"Drop"}, {{5, 5}, L"Editor"}};
  for (const TCase& C : Cases) {
    THintInfo AInfo;
    AInfo.CursorPos = C.P;
    EXPECT_EQ(E->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&AInfo)), 0);
    EXPECT_EQ(AInfo.HintStr, C.Hint);
  }
}

}  // namespace

namespace {

// The size is written only where auto size does not decide it, and read
// back either way.
TEST(EditSizeStreaming, HeightAndWidthFollowAutoSize) {
  struct TCase {
    bool AutoSize;
    TcxEditButtonsViewStyle ButtonsViewStyle;
    bool Height, Width;
  } const Cases[] = {{true, bvsNormal, false, true},
                     {false, bvsNormal, true, true},
                     {true, bvsButtonsAutoWidth, false, false},
                     {false, bvsButtonsAutoWidth, true, true}};
  for (const TCase& C : Cases) {
    TOwned<TcxCustomEdit> E(Create<TcxCustomEdit>(nullptr, false));
    E->SetName(L"Sized");
    E->SetAutoSize(C.AutoSize);
    E->GetProperties()->SetButtonsViewStyle(C.ButtonsViewStyle);
    E->SetBounds(0, 0, 87, 31);
    const std::string AText = FormResourceText(E.get());
    EXPECT_EQ(AText.find("Height = 31") != std::string::npos, C.Height) << AText;
    EXPECT_EQ(AText.find("Width = 87") != std::string::npos, C.Width) << AText;
    EXPECT_EQ(AText.find("  Height = "), AText.rfind("  Height = ")) << AText;
  }
  TOwned<TcxCustomEdit> E(Create<TcxCustomEdit>(nullptr, false));
  E->SetAutoSize(false);
  E->SetBounds(0, 0, 87, 31);
  TOwned<TcxCustomEdit> Read = ReadFormResourceText<TcxCustomEdit>(FormResourceText(E.get()));
  EXPECT_EQ(Read->Height(), 31);
  EXPECT_EQ(Read->Width(), 87);
}

}  // namespace
