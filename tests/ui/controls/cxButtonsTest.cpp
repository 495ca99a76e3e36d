// The library's push button on real windows: clicks by mouse and keyboard
// through the form's dialog keys, speed-button groups, colours and glyph
// options, the layout of glyph and caption against text widths the platform
// measures, pixels under UltraFlat and against the window theme under
// Native, and the form-resource properties the program's windows carry.
#include <gtest/gtest.h>
#include <vssym32.h>

#include <functional>
#include <string>

#include "ControlsTestSupport.h"
#include "Forms.h"
#include "Menus.h"
#include "cxButtons.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"
#include "ui/graphics/GraphicsTestSupport.h"

using namespace ControlsTest;

namespace {

// Lets injected input that has no visible effect to wait for arrive.
void Settle() {
  for (int Round = 0; Round < 40; ++Round) {
    Application()->ProcessMessages();
    Sleep(5);
  }
}

// A 32-bit PNG-backed glyph of one opaque colour, as form resources carry
// glyphs.
TOwned<TdxSmartGlyph> MakeGlyph(Integer AWidth, Integer AHeight, TColor AColor) {
  auto Bitmap = FilledBitmap(AWidth, AHeight, AColor);
  Bitmap->MakeOpaque();
  TOwned<TdxPNGImage> Png(TdxCustomSmartImage::CreateFromBitmap<TdxPNGImage>(Bitmap.get()));
  TOwned<TMemoryStream> Data = MakeOwned<TMemoryStream>();
  Png->SaveToStream(Data.get());
  Data->SetPosition(0);
  TOwned<TdxSmartGlyph> Glyph = MakeOwned<TdxSmartGlyph>();
  Glyph->LoadFromStream(Data.get());
  return Glyph;
}

void UseUltraFlat(TcxCustomButton* AButton) {
  AButton->LookAndFeel()->SetNativeStyle(false);
  AButton->LookAndFeel()->SetKind(lfUltraFlat);
}

TSize MeasuredText(TFont* AFont, const String& AText) {
  TScreenDC DC;
  HGDIOBJ Old = SelectObject(DC.Get(), AFont->Handle());
  SIZE S{};
  GetTextExtentPoint32W(DC.Get(), AText.c_str(), static_cast<int>(AText.size()), &S);
  SelectObject(DC.Get(), Old);
  return TSize{S.cx, S.cy};
}

struct TClickCounter {
  int Clicks = 0;
  void Click(TObject*) { ++Clicks; }
};

// A form with an edit (which takes no Enter or Escape), a default button
// and a cancel button, shown and in front.
class ButtonInput : public ::testing::Test {
 protected:
  void SetUp() override {
    SendMouse(0, POINT{700, 500});
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(100, 100, 400, 200);
    Edit = Create<TEdit>(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(8, 8, 120, 21);
    OK = AddButton(L"OK", 20, 60);
    OK->SetDefault(true);
    Cancel = AddButton(L"Cancel", 120, 60);
    Cancel->SetCancel(true);
    OK->OnClick = MakeEvent<&TClickCounter::Click>(&OKClicks);
    Cancel->OnClick = MakeEvent<&TClickCounter::Click>(&CancelClicks);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Edit->SetFocus();
    PumpWithoutTimers();
  }
  void TearDown() override {
    SendMouse(MOUSEEVENTF_LEFTUP);
    Form.reset();
    PumpWithoutTimers();
  }
  TcxButton* AddButton(const wchar_t* ACaption, Integer X, Integer Y) {
    auto* B = Create<TcxButton>(Form.get());
    B->SetParent(Form.get());
    B->SetBounds(X, Y, 90, 25);
    B->SetCaption(ACaption);
    UseUltraFlat(B);
    return B;
  }
  POINT Screen(TControl* AControl, Integer X, Integer Y) {
    TPoint P = AControl->ClientToScreen(TPoint{X, Y});
    return POINT{P.x, P.y};
  }
  void MoveTo(TControl* AControl, Integer X, Integer Y) {
    POINT P = Screen(AControl, X, Y);
    SendMouse(0, P);
    ASSERT_TRUE(PumpUntilWithoutTimers([&] {
      POINT C{};
      return GetCursorPos(&C) && C.x == P.x && C.y == P.y;
    }));
    PumpWithoutTimers();
  }
  void Press(TWinControl* AControl) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntilWithoutTimers([&] { return GetCapture() == AControl->Handle(); }));
  }
  void Release() {
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntilWithoutTimers([&] { return GetCapture() == nullptr; }));
    PumpWithoutTimers();
  }
  void Key(WORD AKey) {
    SendKey(AKey, false);
    SendKey(AKey, true);
    // The key-up is the last message the keystroke brings.
    Settle();
  }
  TOwned<TCustomForm> Form;
  TEdit* Edit = nullptr;
  TcxButton* OK = nullptr;
  TcxButton* Cancel = nullptr;
  TClickCounter OKClicks, CancelClicks;
};

TEST_F(ButtonInput, AMouseClickClicksOnce) {
  MoveTo(OK, 45, 12);
  Press(OK);
  EXPECT_TRUE(OK->InternalStates().Contains(bisPressed));
  Release();
  EXPECT_EQ(OKClicks.Clicks, 1);
  EXPECT_EQ(CancelClicks.Clicks, 0);
  EXPECT_FALSE(OK->InternalStates().Contains(bisPressed));
}

TEST_F(ButtonInput, APressDraggedOffAndReleasedOutsideDoesNotClick) {
  MoveTo(OK, 45, 12);
  Press(OK);
  MoveTo(OK, 45, 80);
  Release();
  EXPECT_EQ(OKClicks.Clicks, 0);
}

TEST_F(ButtonInput, ADisabledButtonIgnoresTheMouseAndItsKeys) {
  OK->SetEnabled(false);
  Cancel->SetEnabled(false);
  MoveTo(OK, 45, 12);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Settle();
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  EXPECT_EQ(OKClicks.Clicks, 0);
  EXPECT_EQ(CancelClicks.Clicks, 0);
  EXPECT_EQ(OK->GetButtonState(), cxbsDisabled);
}

TEST_F(ButtonInput, KeysClickOnceThroughTheFormsDialogKeys) {
  const struct {
    const char* What;
    bool FocusCancel;
    WORD Key;
    int OK, Cancel;
  } Cases[] = {
      {"Enter answers the default button", false, VK_RETURN, 1, 0},
      {"Escape answers the cancel button", false, VK_ESCAPE, 0, 1},
      {"Space clicks the focused button", true, VK_SPACE, 0, 1},
      {"Enter clicks the focused button, not the default one", true, VK_RETURN, 0, 1},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    OKClicks.Clicks = CancelClicks.Clicks = 0;
    if (C.FocusCancel)
      Cancel->SetFocus();
    else
      Edit->SetFocus();
    PumpWithoutTimers();
    Key(C.Key);
    EXPECT_EQ(OKClicks.Clicks, C.OK);
    EXPECT_EQ(CancelClicks.Clicks, C.Cancel);
  }
}

TEST_F(ButtonInput, HotTrackingFollowsTheMouseInAndOut) {
  MoveTo(OK, 45, 12);
  EXPECT_TRUE(PumpApplicationUntil([&] { return OK->InternalStates().Contains(bisHot); }));
  EXPECT_EQ(OK->GetButtonState(), cxbsHot);
  MoveTo(Form.get(), 300, 150);
  EXPECT_TRUE(PumpApplicationUntil([&] { return !OK->InternalStates().Contains(bisHot); }));
}

TEST_F(ButtonInput, RepeatClickClicksOnEachTickWhileHeldOverTheButton) {
  OK->SetRepeatClick(true);
  MoveTo(OK, 45, 12);
  Press(OK);
  TcxTimer* Timer = OK->ButtonPressTimer();
  EXPECT_TRUE(Timer->Enabled());
  EXPECT_EQ(Timer->Interval(), 400u);
  Timer->OnTimer()(Timer);
  EXPECT_EQ(Timer->Interval(), 100u);
  Timer->OnTimer()(Timer);
  EXPECT_EQ(OKClicks.Clicks, 2);
  // Off the button the ticks go on without clicking.
  MoveTo(OK, 45, 80);
  Timer->OnTimer()(Timer);
  EXPECT_EQ(OKClicks.Clicks, 2);
  EXPECT_TRUE(Timer->Enabled());
  MoveTo(OK, 45, 12);
  Timer->OnTimer()(Timer);
  EXPECT_EQ(OKClicks.Clicks, 3);
  Release();
  EXPECT_FALSE(Timer->Enabled());
  // The release over the button is a click of its own.
  EXPECT_EQ(OKClicks.Clicks, 4);
}

TEST_F(ButtonInput, AnAcceleratorClicksThroughTheDialogCharacter) {
  OK->SetCaption(L"&Go");
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, L'g'), 1);
  EXPECT_EQ(OKClicks.Clicks, 1);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, L'x'), 0);
  EXPECT_EQ(OKClicks.Clicks, 1);
  EXPECT_FALSE(OK->InternalStates().Contains(bisAccelExecute));
  // The real keys: Alt+G from the edit.
  SendKey(VK_MENU, false);
  SendKey('G', false);
  SendKey('G', true);
  SendKey(VK_MENU, true);
  PumpApplicationUntil([&] { return OKClicks.Clicks > 1; });
  Settle();
  EXPECT_EQ(OKClicks.Clicks, 2);
}

TEST_F(ButtonInput, ANonFocusableSpeedButtonClicksOnReleaseAndTogglesWithoutTakingTheFocus) {
  auto* Speed = AddButton(L"Speed", 220, 60);
  Speed->SpeedButtonOptions()->SetCanBeFocused(false);
  Speed->SpeedButtonOptions()->SetGroupIndex(3);
  Speed->SpeedButtonOptions()->SetAllowAllUp(true);
  TClickCounter Clicks;
  Speed->OnClick = MakeEvent<&TClickCounter::Click>(&Clicks);
  PumpWithoutTimers();
  MoveTo(Speed, 45, 12);
  Press(Speed);
  Release();
  EXPECT_EQ(Clicks.Clicks, 1);
  EXPECT_TRUE(Speed->Down());
  EXPECT_TRUE(Edit->Focused());
  MoveTo(Speed, 40, 12);
  Press(Speed);
  Release();
  EXPECT_EQ(Clicks.Clicks, 2);
  EXPECT_FALSE(Speed->Down());
}

// The menu's own loop runs inside the button's handler; a thread timer
// closes it from inside, after noting what the button showed meanwhile and,
// when asked, after queueing a press on the button's menu part (the click
// that closes a menu).
struct TMenuProbe {
  static inline TcxButton* Button = nullptr;
  static inline bool PressWhileOpen = false;
  static inline int Popups = 0;
  static inline bool WasVisible = false;
  static void CALLBACK Close(HWND, UINT, UINT_PTR AId, DWORD) {
    KillTimer(nullptr, AId);
    WasVisible = Button->InternalStates().Contains(bisMenuVisible);
    if (PressWhileOpen)
      PostMessageW(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EndMenu();
  }
  void Popup(TObject*, TPopupMenu*& AMenu, bool& AHandled) {
    ++Popups;
    SetTimer(nullptr, 0, 50, &TMenuProbe::Close);
  }
};

TEST_F(ButtonInput, ADropDownButtonShowsItsMenuInsteadOfClickingAndTheClosingPressDoesNotReopenIt) {
  OK->SetKind(cxbkDropDown);
  auto* Menu = Create<TPopupMenu>(Form.get());
  auto* Item = Create<TMenuItem>(Menu);
  Item->SetCaption(L"Item");
  Menu->Items()->Add(Item);
  OK->SetDropDownMenu(Menu);
  TMenuProbe Probe;
  TMenuProbe::Button = OK;
  TMenuProbe::Popups = 0;
  OK->OnDropDownMenuPopup = MakeEvent<&TMenuProbe::Popup>(&Probe);
  for (bool Press : {false, true}) {
    SCOPED_TRACE(Press ? "closed by a press on the menu part" : "closed by the program");
    TMenuProbe::PressWhileOpen = Press;
    TMenuProbe::WasVisible = false;
    const int Before = TMenuProbe::Popups;
    OK->Click();
    ASSERT_TRUE(PumpApplicationUntil([&] { return TMenuProbe::Popups > Before; }));
    ASSERT_TRUE(
        PumpApplicationUntil([&] { return !OK->InternalStates().Contains(bisMenuVisible); }));
    EXPECT_TRUE(TMenuProbe::WasVisible);
    // The platform's click of that press arrives as a click of the button.
    OK->Click();
    Settle();
    EXPECT_EQ(TMenuProbe::Popups, Before + (Press ? 1 : 2));
    SendMouse(MOUSEEVENTF_LEFTUP);
    OK->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Settle();
    ASSERT_TRUE(
        PumpApplicationUntil([&] { return !OK->InternalStates().Contains(bisMenuVisible); }));
  }
  EXPECT_EQ(OKClicks.Clicks, 0) << "a drop-down button only drops its menu";
}

TEST_F(ButtonInput, ASplitButtonIgnoresThePlatformsClickAfterAPressOnItsArrow) {
  OK->SetKind(cxbkDropDownButton);
  OK->SetInternalStates(TcxButtonInternalStates{bisMenuButtonPressed});
  OK->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
  EXPECT_EQ(OKClicks.Clicks, 0);
  OK->SetInternalStates(TcxButtonInternalStates{bisPressed});
  OK->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
  EXPECT_EQ(OKClicks.Clicks, 1);
}

TEST_F(ButtonInput, HotTrackingUnderNativeStartsAndEndsAFade) {
  if (!AreVisualStylesAvailable(totButton)) GTEST_SKIP() << "no visual style";
  dxFader()->SetState(fasEnabled);
  auto Restore = Finally([] { dxFader()->SetState(fasDefault); });
  OK->LookAndFeel()->SetNativeStyle(true);
  ASSERT_TRUE(OK->CanFade());
  // No timers: the fade stays where it began.
  MoveTo(OK, 45, 12);
  ASSERT_TRUE(PumpUntilWithoutTimers([&] { return OK->InternalStates().Contains(bisHot); }));
  EXPECT_TRUE(dxFader()->Contains(OK));
  // Hot to pressed is neither fade: the running one stops at the paint.
  Press(OK);
  OK->Update();
  EXPECT_EQ(OK->ViewInfo()->State(), cxbsPressed);
  EXPECT_FALSE(dxFader()->Contains(OK));
  Release();
}

// ---------------------------------------------------------------------------
// Speed-button groups through the parent's broadcast.

class ButtonGroup : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(300, 100));
    for (int I = 0; I < 3; ++I) {
      Buttons[I] = Create<TcxButton>(Form.get());
      Buttons[I]->SetParent(Form.get());
      Buttons[I]->SetBounds(10 + I * 90, 10, 80, 25);
      Buttons[I]->SpeedButtonOptions()->SetGroupIndex(I < 2 ? 1 : 2);
    }
  }
  TOwned<TCustomForm> Form;
  TcxButton* Buttons[3] = {};
};

TEST_F(ButtonGroup, LoweringOneRaisesTheOtherOfTheSameGroupOnly) {
  Buttons[2]->SetDown(true);
  Buttons[0]->SetDown(true);
  EXPECT_TRUE(Buttons[0]->Down());
  Buttons[1]->SetDown(true);
  EXPECT_FALSE(Buttons[0]->Down());
  EXPECT_TRUE(Buttons[1]->Down());
  EXPECT_TRUE(Buttons[2]->Down()) << "another group";
}

TEST_F(ButtonGroup, TheDownButtonStaysDownUnlessAllMayBeUp) {
  Buttons[0]->SetDown(true);
  Buttons[0]->SetDown(false);
  EXPECT_TRUE(Buttons[0]->Down());
  // Clicking the down button does not raise it either.
  Buttons[0]->Click();
  EXPECT_TRUE(Buttons[0]->Down());
  // The option spreads over the group.
  Buttons[1]->SpeedButtonOptions()->SetAllowAllUp(true);
  EXPECT_TRUE(Buttons[0]->SpeedButtonOptions()->AllowAllUp());
  Buttons[0]->Click();
  EXPECT_FALSE(Buttons[0]->Down());
}

TEST_F(ButtonGroup, WithoutAGroupAButtonIsNeverDownAndGroupZeroRaisesIt) {
  Buttons[0]->SetDown(true);
  Buttons[0]->SpeedButtonOptions()->SetGroupIndex(0);
  EXPECT_FALSE(Buttons[0]->Down());
  Buttons[0]->SetDown(true);
  EXPECT_FALSE(Buttons[0]->Down());
}

// ---------------------------------------------------------------------------
// Options without a window.

class ButtonOptions : public ::testing::Test {
 protected:
  void SetUp() override { Button.reset(Create<TcxButton>(nullptr)); }
  TOwned<TcxButton> Button;
};

TEST_F(ButtonOptions, ColoursFallBackToNormalAndNormalToDefault) {
  TcxButtonColors* C = Button->Colors();
  EXPECT_EQ(C->GetColorByState(cxbsHot), clDefault);
  C->SetColor(cxbcDefault, clRed);
  EXPECT_EQ(C->GetColorByState(cxbsNormal), clRed) << "normal falls back to default";
  EXPECT_EQ(C->GetColorByState(cxbsHot), clDefault) << "hot falls back to the unassigned normal";
  C->SetColor(cxbcNormal, clGreen);
  C->SetColor(cxbcHotText, clBlue);
  const struct {
    TcxButtonState State;
    TColor Face, Text;
  } Rows[] = {
      {cxbsDefault, clRed, clDefault},    {cxbsNormal, clGreen, clDefault},
      {cxbsHot, clGreen, clBlue},         {cxbsPressed, clGreen, clDefault},
      {cxbsDisabled, clGreen, clDefault},
  };
  for (const auto& R : Rows) {
    EXPECT_EQ(C->GetColorByState(R.State), R.Face) << R.State;
    EXPECT_EQ(C->GetTextColorByState(R.State), R.Text) << R.State;
  }
  C->SetColor(cxbcHotText, clNone);
  EXPECT_FALSE(C->AssignedColors().Contains(cxbcHotText));
  EXPECT_EQ(C->GetColor(cxbcHotText), clDefault);
  // At run time the set follows the colours and cannot be assigned.
  C->SetAssignedColors(TcxButtonAssignedColors{});
  EXPECT_TRUE(C->AssignedColors().Contains(cxbcNormal));
  EXPECT_EQ(C->GetColor(cxbcNormal), clGreen);
}

TEST_F(ButtonOptions, NumGlyphsFollowsTheGlyphsProportions) {
  const struct {
    Integer Width, Height, NumGlyphs;
  } Rows[] = {{96, 32, 3}, {96, 16, 1}, {33, 16, 1}, {32, 16, 2}, {64, 16, 4}, {16, 16, 1}};
  for (const auto& R : Rows) {
    auto Glyph = MakeGlyph(R.Width, R.Height, clRed);
    Button->OptionsImage()->SetGlyph(Glyph.get());
    EXPECT_EQ(Button->OptionsImage()->NumGlyphs(), R.NumGlyphs) << R.Width << "x" << R.Height;
  }
  Button->OptionsImage()->SetNumGlyphs(9);
  EXPECT_EQ(Button->OptionsImage()->NumGlyphs(), 4);
  Button->OptionsImage()->SetNumGlyphs(0);
  EXPECT_EQ(Button->OptionsImage()->NumGlyphs(), 1);
}

TEST_F(ButtonOptions, AMarginBelowAutomaticIsIgnored) {
  TcxButtonImageOptions* O = Button->OptionsImage();
  O->SetMargin(3);
  O->SetMargin(-2);
  EXPECT_EQ(O->Margin(), 3);
  O->SetMargin(-1);
  EXPECT_EQ(O->Margin(), -1);
}

TEST_F(ButtonOptions, ActionListImagesServeUntilTheOptionsHaveTheirOwn) {
  TOwned<TActionList> List(Create<TActionList>(nullptr));
  TOwned<TImageList> ListImages(Create<TImageList>(nullptr));
  TOwned<TImageList> OwnImages(Create<TImageList>(nullptr));
  List->SetImages(ListImages.get());
  auto* Action = Create<TAction>(List.get());
  Action->SetActionList(List.get());
  Action->SetImageIndex(0);
  Button->SetAction(Action);
  EXPECT_EQ(Button->GlyphHolder()->Images(), ListImages.get());
  EXPECT_EQ(Button->GlyphHolder()->ImageIndex(), 0);
  Button->OptionsImage()->SetImages(OwnImages.get());
  EXPECT_EQ(Button->GlyphHolder()->Images(), OwnImages.get());
  OwnImages.reset();
  EXPECT_EQ(Button->OptionsImage()->Images(), nullptr) << "a freed list is forgotten";
  EXPECT_EQ(Button->GlyphHolder()->Images(), ListImages.get());
  Button->SetAction(nullptr);
}

TEST_F(ButtonOptions, SpeedButtonOptionsAreNotOfferedToCommandLinks) {
  Button->SpeedButtonOptions()->SetCanBeFocused(false);
  Button->SpeedButtonOptions()->SetGroupIndex(4);
  EXPECT_FALSE(Button->CanBeFocused());
  EXPECT_EQ(Button->GroupIndex(), 4);
  EXPECT_TRUE(Button->SpeedButtonMode());
  Button->SetKind(cxbkCommandLink);
  EXPECT_TRUE(Button->CanBeFocused());
  EXPECT_EQ(Button->GroupIndex(), 0);
  EXPECT_FALSE(Button->SpeedButtonMode());
}

// ---------------------------------------------------------------------------
// Layout: glyph and caption against the widths the platform measures.

class ButtonLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(300, 200));
    Button = Create<TcxButton>(Form.get());
    Button->SetParent(Form.get());
    UseUltraFlat(Button);
  }
  void Calculate() { Button->ViewInfo()->Calculate(Button->ClientRect()); }
  TRect GlyphRect() {
    const TPoint P = Button->ViewInfo()->GlyphPos();
    const TSize S = Button->ViewInfo()->GetImageSize();
    return TRect{P.x, P.y, P.x + S.cx, P.y + S.cy};
  }
  TOwned<TCustomForm> Form;
  TcxButton* Button = nullptr;
};

std::string Text(const TRect& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) +
         "," + std::to_string(R.bottom);
}

// The main window's button: 97 x 25, a 16 x 16 glyph, spacing 4, automatic
// margin.
TEST_F(ButtonLayout, TheMainWindowsButtonCentresGlyphAndCaptionTogether) {
  Button->SetBounds(0, 0, 97, 25);
  Button->SetCaption(L"Пересчет");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, clRed).get());
  Calculate();
  const Integer B = Button->GetPainter()->ButtonBorderSize(cxbsDefault);
  const TSize T = MeasuredText(Button->Font(), L"Пересчет");
  const Integer GlyphLeft = B + (97 - 2 * B - (16 + T.cx + 4)) / 2;
  EXPECT_EQ(Text(GlyphRect()), Text(TRect{GlyphLeft, B + (25 - 2 * B - 16) / 2, GlyphLeft + 16,
                                          B + (25 - 2 * B - 16) / 2 + 16}));
  const Integer CaptionTop = B + (25 - 2 * B - T.cy - 1) / 2;
  EXPECT_EQ(Text(Button->ViewInfo()->CaptionRect()),
            Text(TRect{GlyphLeft + 20, CaptionTop, GlyphLeft + 20 + T.cx, CaptionTop + T.cy}));
}

// The progress window's caption-only button: text offsets 1 and 2, no
// spacing.
TEST_F(ButtonLayout, ACaptionOnlyButtonCentresItsCaptionWithTextOffsets) {
  Button->SetBounds(0, 0, 88, 24);
  Button->SetCaption(L"Отмена");
  Button->OptionsImage()->SetSpacing(5);
  Calculate();
  const Integer B = Button->GetPainter()->ButtonBorderSize(cxbsDefault);
  const TSize T = MeasuredText(Button->Font(), L"Отмена");
  const Integer Left = B + (88 - 2 * B - (T.cx + 3)) / 2 + 1;
  const Integer Top = B + (24 - 2 * B - T.cy - 1) / 2;
  EXPECT_EQ(Text(Button->ViewInfo()->CaptionRect()),
            Text(TRect{Left, Top, Left + T.cx, Top + T.cy}));
}

// Every glyph layout with automatic and fixed margins and spacings. Content
// rectangle R = client deflated by the border; G the 16 x 16 glyph; A the
// measured caption; along the layout's axis.
TEST_F(ButtonLayout, EveryGlyphLayoutWithMarginAndSpacing) {
  const struct {
    TButtonLayout Layout;
    Integer Margin, Spacing;
  } Rows[] = {
      {blGlyphLeft, -1, 4},   {blGlyphLeft, -1, -1},  {blGlyphLeft, 0, -1},  {blGlyphLeft, 3, 2},
      {blGlyphRight, -1, 4},  {blGlyphRight, -1, -1}, {blGlyphRight, 0, -1}, {blGlyphRight, 3, 2},
      {blGlyphTop, -1, 4},    {blGlyphTop, -1, -1},   {blGlyphTop, 0, -1},   {blGlyphTop, 3, 2},
      {blGlyphBottom, -1, 4}, {blGlyphBottom, 2, -1},
  };
  const Integer W = 120, H = 64;
  Button->SetBounds(0, 0, W, H);
  Button->SetCaption(L"Выходная");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, clRed).get());
  const Integer B = Button->GetPainter()->ButtonBorderSize(cxbsDefault);
  const TSize A = MeasuredText(Button->Font(), L"Выходная");
  const Integer RW = W - 2 * B, RH = H - 2 * B;
  for (const auto& Row : Rows) {
    SCOPED_TRACE(std::to_string(Row.Layout) + " margin " + std::to_string(Row.Margin) +
                 " spacing " + std::to_string(Row.Spacing));
    Button->OptionsImage()->SetLayout(Row.Layout);
    Button->OptionsImage()->SetMargin(Row.Margin);
    Button->OptionsImage()->SetSpacing(Row.Spacing);
    Calculate();
    const bool Vertical = Row.Layout == blGlyphTop || Row.Layout == blGlyphBottom;
    const Integer Axis = Vertical ? RH : RW, TextAxis = Vertical ? A.cy : A.cx;
    Integer M = Row.Margin, S = Row.Spacing;
    if (M == -1 && S == -1)
      M = S = (Axis - (16 + TextAxis)) / 3;
    else if (M == -1)
      M = (Axis - (16 + TextAxis + S)) / 2;
    else if (S == -1)
      S = (Axis - 16 - M - TextAxis) / 2;
    TPoint G{B + (RW - 16) / 2, B + (RH - 16) / 2};
    TPoint C{B + (RW - A.cx) / 2, B + (RH - A.cy - 1) / 2};
    switch (Row.Layout) {
      case blGlyphLeft:
        G.x = B + M;
        C.x = G.x + 16 + S;
        break;
      case blGlyphRight:
        G.x = W - B - M - 16;
        C.x = G.x - S - A.cx;
        break;
      case blGlyphTop:
        G.y = B + M;
        C.y = G.y + 16 + S;
        break;
      case blGlyphBottom:
        G.y = H - B - M - 16;
        C.y = G.y - S - A.cy;
        break;
    }
    EXPECT_EQ(Text(GlyphRect()), Text(TRect{G.x, G.y, G.x + 16, G.y + 16}));
    EXPECT_EQ(Text(Button->ViewInfo()->CaptionRect()),
              Text(TRect{C.x, C.y, C.x + A.cx, C.y + A.cy}));
  }
}

// Office drop-down, glyph left: the arrow's strip ends 2 pixels inside the
// right edge, the automatic margin is 7, caption and description stack
// left-aligned beside the glyph.
TEST_F(ButtonLayout, AnOfficeDropDownStacksCaptionAndDescriptionBesideTheGlyph) {
  const Integer W = 180, H = 44;
  Button->SetBounds(0, 0, W, H);
  Button->SetKind(cxbkOfficeDropDown);
  Button->SetCaption(L"Кнопка");
  Button->SetDescription(L"Описание");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, clRed).get());
  Calculate();
  const Integer B = Button->GetPainter()->ButtonBorderSize(cxbsDefault);
  const Integer Arrow =
      Button->GetPainter()->GetScaledDropDownButtonRightPartSize(Button->GetScaleFactor());
  const TRect R{B, B, W - B - (Arrow + 2), H - B};
  const TSize C = MeasuredText(Button->Font(), L"Кнопка");
  const TSize D = MeasuredText(Button->Font(), L"Описание");
  const TSize A{std::max(C.cx, D.cx), C.cy + D.cy + 2};
  const TPoint G{R.left + 7, R.top + (cxRectHeight(R) - 16) / 2};
  EXPECT_EQ(Text(GlyphRect()), Text(TRect{G.x, G.y, G.x + 16, G.y + 16}));
  const Integer X = G.x + 16 + 4, Y = R.top + (cxRectHeight(R) - A.cy - 1) / 2;
  EXPECT_EQ(Text(Button->ViewInfo()->CaptionRect()), Text(TRect{X, Y, X + C.cx, Y + C.cy}));
  EXPECT_EQ(Text(Button->ViewInfo()->DescriptionRect()),
            Text(TRect{X, Y + A.cy - D.cy, X + D.cx, Y + A.cy}));
  EXPECT_EQ(Text(Button->ViewInfo()->DropDownArrowRect()), Text(TRect{W - 2 - Arrow, 0, W - 2, H}));
}

// Command link without an image: the painter's glyph at the inner
// rectangle's corner, the caption after it and the spacing, the smaller
// description 2 pixels below the caption.
TEST_F(ButtonLayout, ACommandLinkPutsItsGlyphCaptionAndDescriptionInTheInnerRectangle) {
  const Integer W = 200, H = 58;
  Button->SetBounds(0, 0, W, H);
  Button->SetKind(cxbkCommandLink);
  Button->SetCaption(L"Кнопка");
  Button->SetDescription(L"Описание");
  Calculate();
  TcxCustomLookAndFeelPainter* P = Button->GetPainter();
  const TRect I =
      cxRectContent(TRect{0, 0, W, H}, P->GetScaledCommandLinkMargins(Button->GetScaleFactor()));
  const TSize G = P->GetScaledCommandLinkGlyphSize(Button->GetScaleFactor());
  EXPECT_EQ(Button->ViewInfo()->GlyphPos().x, I.left);
  EXPECT_EQ(Button->ViewInfo()->GlyphPos().y, I.top);
  const TSize C = MeasuredText(Button->Font(), L"Кнопка");
  const Integer X = I.left + G.cx + 4;
  EXPECT_EQ(Text(Button->ViewInfo()->CaptionRect()), Text(TRect{X, I.top, X + C.cx, I.top + C.cy}));
  TOwned<TFont> Small = MakeOwned<TFont>();
  Small->Assign(Button->Font());
  Small->SetHeight(MulDiv(Button->Font()->Height(), 3, 4));
  const TSize D = MeasuredText(Small.get(), L"Описание");
  const Integer Top = I.top + C.cy + 2;
  EXPECT_EQ(Text(Button->ViewInfo()->DescriptionRect()), Text(TRect{X, Top, X + D.cx, Top + D.cy}));
}

TEST_F(ButtonLayout, WordWrapBreaksTheCaptionIntoTheRoomBesideTheGlyph) {
  Button->SetBounds(0, 0, 80, 60);
  Button->SetWordWrap(true);
  Button->SetCaption(L"Входная папка");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, clRed).get());
  Calculate();
  const TRect C = Button->ViewInfo()->CaptionRect();
  const TSize Line = MeasuredText(Button->Font(), L"Входная");
  EXPECT_EQ(cxRectHeight(C), 2 * Line.cy);
  EXPECT_LE(C.right, 80 - Button->GetPainter()->ButtonBorderSize(cxbsDefault));
}

TEST_F(ButtonLayout, PaintStylesHideTheGlyphOrTheCaption) {
  Button->SetBounds(0, 0, 97, 25);
  Button->SetCaption(L"Пересчет");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, clRed).get());
  Button->SetPaintStyle(bpsGlyph);
  Calculate();
  EXPECT_FALSE(Button->ViewInfo()->CanDrawCaption());
  EXPECT_TRUE(Button->ViewInfo()->CanDrawGlyph());
  Button->SetPaintStyle(bpsCaption);
  Calculate();
  EXPECT_TRUE(Button->ViewInfo()->CanDrawCaption());
  EXPECT_FALSE(Button->ViewInfo()->CanDrawGlyph());
  Button->SetKind(cxbkCommandLink);
  Button->SetPaintStyle(bpsGlyph);
  EXPECT_TRUE(Button->ViewInfo()->CanDrawCaption()) << "a command link keeps its caption";
}

TEST_F(ButtonLayout, APressedButtonMovesItsContentByThePaintersTextShift) {
  Button->SetBounds(0, 0, 97, 25);
  Button->SetCaption(L"Пересчет");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, clRed).get());
  Button->SpeedButtonOptions()->SetGroupIndex(1);
  Button->SpeedButtonOptions()->SetAllowAllUp(true);
  for (TcxLookAndFeelKind Kind : {lfUltraFlat, lfStandard}) {
    Button->LookAndFeel()->SetKind(Kind);
    Button->SetDown(false);
    Button->Repaint();
    const TRect Normal = Button->ViewInfo()->CaptionRect();
    const TRect NormalGlyph = GlyphRect();
    Button->SetDown(true);
    Button->Repaint();
    ASSERT_EQ(Button->ViewInfo()->State(), cxbsPressed);
    const Integer Shift = Button->GetPainter()->ScaledButtonTextShift(Button->GetScaleFactor());
    EXPECT_EQ(Text(Button->ViewInfo()->CaptionRect()), Text(cxRectOffset(Normal, Shift, Shift)))
        << Kind;
    EXPECT_EQ(Text(GlyphRect()), Text(cxRectOffset(NormalGlyph, Shift, Shift))) << Kind;
    if (Kind == lfUltraFlat) {
      EXPECT_EQ(Shift, 0);
    }
  }
}

TEST_F(ButtonLayout, ASplitButtonsMenuPartIsTheRightStripAndTheButtonOverlapsIt) {
  Button->SetBounds(0, 0, 120, 25);
  Button->SetCaption(L"Split");
  Button->SetKind(cxbkDropDownButton);
  Calculate();
  const Integer Size =
      Button->GetPainter()->GetScaledDropDownButtonRightPartSize(Button->GetScaleFactor());
  EXPECT_EQ(Text(Button->ViewInfo()->DropDownButtonRect()), Text(TRect{120 - Size, 0, 120, 25}));
  EXPECT_EQ(Text(Button->ViewInfo()->ButtonRect()), Text(TRect{0, 0, 120 - Size + 2, 25}));
  EXPECT_EQ(Text(Button->GetMenuButtonBounds()), Text(TRect{120 - Size, 0, 120, 25}));
  EXPECT_EQ(Text(Button->ViewInfo()->DropDownArrowRect()),
            Text(Button->ViewInfo()->DropDownButtonRect()));
}

// Mirrored, the drop-down part is painted on the left, and that is where a
// press opens the menu.
TEST_F(ButtonLayout, AMirroredSplitButtonOpensItsMenuFromTheLeftStripItPaints) {
  Button->SetBounds(0, 0, 120, 25);
  Button->SetCaption(L"Split");
  Button->SetKind(cxbkDropDownButton);
  Button->SetBiDiMode(bdRightToLeft);
  Calculate();
  const Integer Size =
      Button->GetPainter()->GetScaledDropDownButtonRightPartSize(Button->GetScaleFactor());
  EXPECT_EQ(Text(Button->ViewInfo()->DropDownButtonRect()), Text(TRect{0, 0, Size, 25}));
  EXPECT_EQ(Text(Button->ViewInfo()->ButtonRect()), Text(TRect{Size - 2, 0, 120, 25}));
  EXPECT_EQ(Text(Button->GetMenuButtonBounds()), Text(Button->ViewInfo()->DropDownButtonRect()));
}

TEST_F(ButtonLayout, RightToLeftPutsALeftGlyphOnTheRight) {
  Button->SetBounds(0, 0, 97, 25);
  Button->SetCaption(L"Пересчет");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, clRed).get());
  Button->SetBiDiMode(bdRightToLeft);
  Calculate();
  EXPECT_EQ(Button->ViewInfo()->Layout(), blGlyphRight);
  const Integer B = Button->GetPainter()->ButtonBorderSize(cxbsDefault);
  const TSize T = MeasuredText(Button->Font(), L"Пересчет");
  const Integer M = (97 - 2 * B - (16 + T.cx + 4)) / 2;
  EXPECT_EQ(GlyphRect().left, 97 - B - M - 16);
  EXPECT_EQ(Button->ViewInfo()->CaptionRect().left, 97 - B - M - 16 - 4 - T.cx);
}

TEST_F(ButtonLayout, StatesFollowEnablingPressingHotAndFocus) {
  Button->SetBounds(0, 0, 90, 25);
  Button->SetCaption(L"State");
  Button->SpeedButtonOptions()->SetGroupIndex(1);
  auto StateAfter = [&](const std::function<void()>& AChange) {
    AChange();
    Button->Repaint();
    return Button->ViewInfo()->State();
  };
  EXPECT_EQ(StateAfter([] {}), cxbsNormal);
  EXPECT_EQ(StateAfter([&] { Button->SetInternalStates(TcxButtonInternalStates{bisHot}); }),
            cxbsHot);
  EXPECT_EQ(StateAfter([&] { Button->SetDown(true); }), cxbsPressed) << "pressed is never hot";
  EXPECT_EQ(StateAfter([&] { Button->SetEnabled(false); }), cxbsDisabled);
  EXPECT_EQ(StateAfter([&] {
              Button->SetEnabled(true);
              Button->SetDown(false);
              Button->SetInternalStates(TcxButtonInternalStates{});
              Button->SetFocus();
            }),
            cxbsDefault);
  Button->SpeedButtonOptions()->SetCanBeFocused(false);
  EXPECT_EQ(StateAfter([] {}), cxbsNormal) << "a button that cannot focus never looks default";
}

// ---------------------------------------------------------------------------
// Pixels.

class ButtonPixels : public ButtonLayout {};

// Injected colours under UltraFlat: face and caption colours, the glyph at
// its computed place, the disabled caption embossed in the highlight colour.
TEST_F(ButtonPixels, UltraFlatDrawsInjectedColoursAndTheGlyphWhereTheLayoutPutsIt) {
  dxFader()->SetState(fasDisabled);
  auto Restore = Finally([] { dxFader()->SetState(fasDefault); });
  Button->SetBounds(10, 10, 97, 25);
  Button->SetCaption(L"Пересчет");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, RGB(255, 0, 0)).get());
  Button->Colors()->SetColor(cxbcNormal, RGB(0, 0, 255));
  Button->Colors()->SetColor(cxbcNormalText, RGB(0, 255, 0));
  Button->Colors()->SetColor(cxbcDisabled, RGB(0, 0, 128));
  Button->Colors()->SetColor(cxbcDisabledText, RGB(0, 128, 0));
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  ProcessMessages();
  auto Shot = CaptureWindow(Button);
  const TRect Glyph = GlyphRect();
  const TRect Caption = Button->ViewInfo()->CaptionRect();
  const Integer B = Button->GetPainter()->ButtonBorderSize(cxbsNormal);
  int Red = 0, GlyphRed = 0, Green = 0, GreenInCaption = 0;
  for (Integer Y = B; Y < 25 - B; ++Y)
    for (Integer X = B; X < 97 - B; ++X) {
      const COLORREF P = PixelOf(Shot.get(), X, Y);
      const POINT Pt{X, Y};
      if (P == RGB(255, 0, 0)) {
        ++Red;
        GlyphRed += PtInRect(&Glyph, Pt);
      } else if (P == RGB(0, 255, 0)) {
        ++Green;
        GreenInCaption += PtInRect(&Caption, Pt);
      } else if (!PtInRect(&Glyph, Pt) && !PtInRect(&Caption, Pt)) {
        EXPECT_EQ(P, RGB(0, 0, 255)) << X << ", " << Y << " is face";
      }
    }
  EXPECT_EQ(Red, 256) << Shape(Shot.get(), RGB(255, 0, 0));
  EXPECT_EQ(GlyphRed, 256);
  EXPECT_GT(Green, 20);
  EXPECT_EQ(GreenInCaption, Green) << Shape(Shot.get(), RGB(0, 255, 0));

  Button->SetEnabled(false);
  Shot = CaptureWindow(Button);
  const TRect Disabled = Button->ViewInfo()->CaptionRect();
  int Highlight = 0, DarkGreen = 0;
  for (Integer Y = Disabled.top; Y <= Disabled.bottom; ++Y)
    for (Integer X = Disabled.left; X <= Disabled.right; ++X) {
      const COLORREF P = PixelOf(Shot.get(), X, Y);
      Highlight += P == ColorToRGB(clBtnHighlight);
      DarkGreen += P == RGB(0, 128, 0);
    }
  EXPECT_GT(Highlight, 10) << "the embossed shadow";
  EXPECT_GT(DarkGreen, 10);
  EXPECT_EQ(PixelOf(Shot.get(), B + 1, B + 1), RGB(0, 0, 128)) << "disabled face";
}

struct TDrawHooks {
  bool Handle = false;
  int CustomDraws = 0;
  void CustomDraw(TObject*, TcxCanvas* ACanvas, TcxButtonViewInfo* AViewInfo, bool& AHandled) {
    ++CustomDraws;
    if (!Handle) return;
    ACanvas->FillRect(AViewInfo->Bounds(), RGB(255, 0, 255));
    AHandled = true;
  }
  void DrawParams(TcxCustomButton*, TcxButtonState, TColor& AColor, TFont* AFont) {
    AColor = RGB(0, 128, 128);
    AFont->SetColor(RGB(255, 255, 0));
  }
};

TEST_F(ButtonPixels, CustomDrawReplacesThePaintAndDrawParamsChangeItsColours) {
  dxFader()->SetState(fasDisabled);
  auto Restore = Finally([] { dxFader()->SetState(fasDefault); });
  Button->SetBounds(10, 10, 97, 25);
  Button->SetCaption(L"Пересчет");
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  TDrawHooks Hooks;
  Button->OnGetDrawParams = MakeEvent<&TDrawHooks::DrawParams>(&Hooks);
  auto Shot = CaptureWindow(Button);
  const Integer B = Button->GetPainter()->ButtonBorderSize(cxbsNormal);
  EXPECT_EQ(PixelOf(Shot.get(), B + 1, B + 1), RGB(0, 128, 128));
  const TRect C = Button->ViewInfo()->CaptionRect();
  EXPECT_NE(Shape(Shot.get(), RGB(255, 255, 0)).find('#'), std::string::npos);
  EXPECT_EQ(Text(C), Text(Button->ViewInfo()->CaptionRect()));
  Hooks.Handle = true;
  Button->OnCustomDraw = MakeEvent<&TDrawHooks::CustomDraw>(&Hooks);
  Shot = CaptureWindow(Button);
  EXPECT_GT(Hooks.CustomDraws, 0);
  for (Integer X : {0, B + 1, 48, 96}) EXPECT_EQ(PixelOf(Shot.get(), X, 12), RGB(255, 0, 255)) << X;
  EXPECT_FALSE(Button->CanFade()) << "a custom-drawn button does not fade";
}

TEST_F(ButtonPixels, AThreeFrameStripShowsItsDisabledAndPressedFrames) {
  dxFader()->SetState(fasDisabled);
  auto Restore = Finally([] { dxFader()->SetState(fasDefault); });
  // Frames red, green, blue side by side.
  auto Strip = FilledBitmap(48, 16, RGB(255, 0, 0));
  Strip->cxCanvas()->FillRect(TRect{16, 0, 32, 16}, RGB(0, 255, 0));
  Strip->cxCanvas()->FillRect(TRect{32, 0, 48, 16}, RGB(0, 0, 255));
  Strip->MakeOpaque();
  TOwned<TdxPNGImage> Png(TdxCustomSmartImage::CreateFromBitmap<TdxPNGImage>(Strip.get()));
  TOwned<TMemoryStream> Data = MakeOwned<TMemoryStream>();
  Png->SaveToStream(Data.get());
  Data->SetPosition(0);
  TOwned<TdxSmartGlyph> Glyph = MakeOwned<TdxSmartGlyph>();
  Glyph->LoadFromStream(Data.get());
  Button->SetBounds(10, 10, 60, 30);
  Button->OptionsImage()->SetGlyph(Glyph.get());
  ASSERT_EQ(Button->OptionsImage()->NumGlyphs(), 3);
  Button->SpeedButtonOptions()->SetGroupIndex(1);
  const struct {
    const char* What;
    bool Enabled, Down;
    COLORREF Frame;
  } Rows[] = {{"normal", true, false, RGB(255, 0, 0)},
              {"disabled", false, false, RGB(0, 255, 0)},
              {"pressed", true, true, RGB(0, 0, 255)}};
  for (const auto& R : Rows) {
    Button->SetEnabled(R.Enabled);
    Button->SetDown(R.Down);
    auto Shot = CaptureWindow(Button);
    const TRect G = GlyphRect();
    EXPECT_EQ(PixelOf(Shot.get(), G.left + 8, G.top + 8), R.Frame) << R.What;
  }
}

// Under Native the face is the theme's push button: the border ring matches
// DrawThemeBackground of the same part and state.
TEST_F(ButtonPixels, NativeFaceIsTheThemesPushButton) {
  HTHEME Theme = OpenTheme(totButton);
  if (!Theme) GTEST_SKIP() << "no visual style";
  dxFader()->SetState(fasDisabled);
  auto Restore = Finally([] { dxFader()->SetState(fasDefault); });
  Button->LookAndFeel()->SetNativeStyle(true);
  Button->SetBounds(10, 10, 90, 26);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  ProcessMessages();
  ASSERT_EQ(Button->GetPainter()->LookAndFeelStyle(), lfsNative);
  auto Shot = CaptureWindow(Button);
  const Integer State = Button->ViewInfo()->State() == cxbsDefault ? PBS_DEFAULTED : PBS_NORMAL;
  auto Expected = FilledBitmap(90, 26, Form->Color());
  RECT R{0, 0, 90, 26};
  dxUxTheme::DrawThemeBackground(Theme, Expected->Canvas()->Handle(), BP_PUSHBUTTON, State, &R,
                                 nullptr);
  for (Integer X : {0, 1, 2, 45, 87, 88, 89})
    for (Integer Y : {0, 1, 2, 13, 23, 24, 25})
      if (X < 3 || X > 86 || Y < 3 || Y > 22) {
        EXPECT_EQ(PixelOf(Shot.get(), X, Y), PixelOf(Expected.get(), X, Y)) << X << ", " << Y;
      }
}

// The UltraFlat painter that writes down the button's calls on it, but not
// the calls it makes on itself while drawing a face.
class TRecordingPainter : public TcxUltraFlatLookAndFeelPainter {
  DECLARE_CLASS(TRecordingPainter, TcxUltraFlatLookAndFeelPainter)
 public:
  std::string Calls;
  bool Recording = false;
  String LookAndFeelName() override { return L"AAARecording"; }
  bool IsButtonHotTrack() override {
    Note("IsButtonHotTrack");
    return inherited::IsButtonHotTrack();
  }
  TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefault) override {
    Note("ButtonSymbolColor");
    return inherited::ButtonSymbolColor(AState, ADefault);
  }
  TColor ButtonDescriptionTextColor(TcxButtonState AState, TColor ADefault) override {
    Note("ButtonDescriptionTextColor");
    return inherited::ButtonDescriptionTextColor(AState, ADefault);
  }
  Integer ButtonBorderSize(TcxButtonState AState) override {
    Note("ButtonBorderSize(" + std::to_string(AState) + ")");
    return inherited::ButtonBorderSize(AState);
  }
  Integer ScaledButtonTextShift(const TdxScaleFactor* F) override {
    Note("ScaledButtonTextShift");
    return inherited::ScaledButtonTextShift(F);
  }
  TcxLookAndFeelStyle LookAndFeelStyle() override {
    Note("LookAndFeelStyle");
    return inherited::LookAndFeelStyle();
  }
  IdxColorPalette* ButtonColorPalette(TcxButtonState AState) override {
    Note("ButtonColorPalette");
    return inherited::ButtonColorPalette(AState);
  }
  TRect ScaledButtonFocusRect(TcxCanvas* C, const TRect& R, const TdxScaleFactor* F) override {
    Note("ScaledButtonFocusRect");
    return inherited::ScaledButtonFocusRect(C, R, F);
  }
  void DrawScaledButton(TcxCanvas* C, const TRect& R, const String& S, TcxButtonState AState,
                        const TdxScaleFactor* F, bool B, TColor AColor, TColor ATextColor, bool W,
                        bool T, TcxButtonPart P) override {
    Note("DrawScaledButton");
    ++Depth;
    inherited::DrawScaledButton(C, R, S, AState, F, B, AColor, ATextColor, W, T, P);
    --Depth;
  }

 private:
  void Note(const std::string& ACall) {
    if (Recording && Depth == 0) Calls += ACall + "; ";
  }
  int Depth = 0;
};
IMPLEMENT_CLASS(TRecordingPainter)

TEST_F(ButtonPixels, OnePaintOfTheMainRoadCallsThePainterInOrder) {
  dxFader()->SetState(fasDisabled);
  auto Restore = Finally([] { dxFader()->SetState(fasDefault); });
  // Registered under a name that sorts first, it becomes the UltraFlat style's
  // painter.
  auto* Recorder = Create<TRecordingPainter>();
  ASSERT_TRUE(cxLookAndFeelPaintersManager()->Register(Recorder));
  auto Unregister = Finally([] { cxLookAndFeelPaintersManager()->Unregister(L"AAARecording"); });
  Button->LookAndFeel()->Refresh();
  Button->SetBounds(10, 10, 97, 25);
  Button->SetCaption(L"Пересчет");
  Button->OptionsImage()->SetGlyph(MakeGlyph(16, 16, RGB(255, 0, 0)).get());
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  ProcessMessages();
  ASSERT_EQ(Button->GetPainter(), Recorder);
  const struct {
    const char* What;
    TcxButtonInternalStates States;
    bool Focus;
    const char* Calls;
  } Rows[] = {
      {"normal",
       {},
       false,
       "ButtonSymbolColor; ButtonDescriptionTextColor; ButtonBorderSize(0); LookAndFeelStyle; "
       "DrawScaledButton; ButtonBorderSize(1); ButtonColorPalette; "},
      {"hot",
       {bisHot},
       false,
       "IsButtonHotTrack; ButtonSymbolColor; ButtonDescriptionTextColor; ButtonBorderSize(0); "
       "LookAndFeelStyle; DrawScaledButton; ButtonBorderSize(2); ButtonColorPalette; "},
      {"focused",
       {},
       true,
       "ButtonSymbolColor; ButtonDescriptionTextColor; ButtonBorderSize(0); LookAndFeelStyle; "
       "DrawScaledButton; ButtonBorderSize(0); ButtonColorPalette; ScaledButtonFocusRect; "},
  };
  for (const auto& R : Rows) {
    Button->SetInternalStates(R.States);
    if (R.Focus) Button->SetFocus();
    ProcessMessages();
    Recorder->Calls.clear();
    Recorder->Recording = true;
    Button->Repaint();
    Recorder->Recording = false;
    // Each state query of the paint asks about hot tracking while hot.
    std::string Calls = Recorder->Calls;
    for (size_t At; (At = Calls.find("IsButtonHotTrack; IsButtonHotTrack; ")) != std::string::npos;)
      Calls.erase(At, std::string("IsButtonHotTrack; ").size());
    EXPECT_EQ(Calls, R.Calls) << R.What;
  }
}

// ---------------------------------------------------------------------------
// Form resources: what the program's windows carry.

using ControlsTest::ComponentToText;
using ControlsTest::TextToBinary;

// The glyph written as a form resource writes it: the smart glyph's own
// streaming through the image options.
std::string GlyphLines(TdxSmartGlyph* AGlyph) {
  TOwned<TcxButton> B(Create<TcxButton>(nullptr));
  B->SetName(L"Probe");
  B->OptionsImage()->SetGlyph(AGlyph);
  const std::string S = ComponentToText(B.get());
  const size_t From = S.find("OptionsImage.Glyph");
  const size_t To = S.find("end", From);
  return S.substr(From, S.rfind('\n', To) + 1 - From);
}

class ButtonResources : public ::testing::Test {};

TEST_F(ButtonResources, TheWindowsButtonsAreReadAndShownAndClickOnce) {
  auto Glyph = MakeGlyph(16, 16, RGB(255, 0, 0));
  const std::string Form =
      "object Form1: TForm\n"
      "  Left = 100\n  Top = 100\n  ClientWidth = 400\n  ClientHeight = 200\n"
      "  object cxButton1: TcxButton\n"
      "    Left = 280\n    Top = 137\n    Width = 97\n    Height = 25\n"
      "    Anchors = [akLeft, akTop]\n    Caption = 'Пересчет'\n    TabOrder = 1\n    " +
      GlyphLines(Glyph.get()) +
      "    OptionsImage.Spacing = 4\n  end\n"
      "  object CancelButton: TcxButton\n"
      "    Left = 208\n    Top = 134 \n    Width = 88\n    Height = 24\n"
      "    Cancel = True\n    Caption = 'Отмена'\n    Default = True\n"
      "    OptionsImage.Spacing = 5\n    TabOrder = 2\n  end\n"
      "end\n";
  RegisterClasses({TForm::StaticClass()});
  auto Bin = TextToBinary(Form);
  TOwned<TComponent> Root(ReadComponentFromStream(Bin.get(), nullptr));
  auto* F = As<TForm>(Root.get());
  auto* Recalc = As<TcxButton>(F->FindComponent(L"cxButton1"));
  auto* CancelB = As<TcxButton>(F->FindComponent(L"CancelButton"));
  EXPECT_EQ(Recalc->Width(), 97);
  EXPECT_EQ(Recalc->OptionsImage()->Glyph()->SourceDPI(), 96);
  EXPECT_EQ(Text(TRect{0, 0, Recalc->ViewInfo()->GetImageSize().cx,
                       Recalc->ViewInfo()->GetImageSize().cy}),
            "0,0,16,16");
  EXPECT_TRUE(CancelB->Default());
  EXPECT_TRUE(CancelB->Cancel());
  EXPECT_EQ(CancelB->OptionsImage()->Spacing(), 5);
  EXPECT_EQ(CancelB->Caption(), L"Отмена");
  TClickCounter Clicks;
  CancelB->OnClick = MakeEvent<&TClickCounter::Click>(&Clicks);
  F->Show();
  SetForegroundWindow(F->Handle());
  ProcessMessages();
  auto Shot = CaptureWindow(Recalc);
  EXPECT_NE(Shape(Shot.get(), RGB(255, 0, 0)).find('#'), std::string::npos) << "glyph shown";
  SendKey(VK_ESCAPE, false);
  SendKey(VK_ESCAPE, true);
  PumpApplicationUntil([&] { return Clicks.Clicks > 0; });
  Settle();
  EXPECT_EQ(Clicks.Clicks, 1);
}

TEST_F(ButtonResources, OnlyAssignedValuesAreWritten) {
  TOwned<TcxButton> B(Create<TcxButton>(nullptr));
  B->SetName(L"B");
  std::string S = ComponentToText(B.get());
  for (const char* Absent : {"Colors.", "Kind", "PaintStyle", "OptionsImage.",
                             "SpeedButtonOptions.", "Glyph", "Margin", "Layout"})
    EXPECT_EQ(S.find(Absent), std::string::npos) << Absent << " in\n" << S;
  B->Colors()->SetColor(cxbcHot, clRed);
  B->OptionsImage()->SetSpacing(5);
  B->SpeedButtonOptions()->SetGroupIndex(2);
  S = ComponentToText(B.get());
  EXPECT_NE(S.find("Colors.Hot = clRed"), std::string::npos) << S;
  EXPECT_EQ(S.find("Colors.Normal"), std::string::npos) << S;
  EXPECT_NE(S.find("OptionsImage.Spacing = 5"), std::string::npos) << S;
  EXPECT_NE(S.find("SpeedButtonOptions.GroupIndex = 2"), std::string::npos) << S;
}

TEST_F(ButtonResources, TheOlderNamesAreReadButNeverWritten) {
  RegisterClasses({TForm::StaticClass()});
  auto Bin = TextToBinary(
      "object Form1: TForm\n"
      "  object B: TcxButton\n"
      "    CommandLinkHint = 'note'\n    Layout = blGlyphTop\n    Margin = 3\n"
      "    NumGlyphs = 2\n    Spacing = 7\n    CanBeFocused = False\n    GroupIndex = 2\n"
      "    Down = True\n    AllowAllUp = True\n  end\nend\n");
  TOwned<TComponent> Root(ReadComponentFromStream(Bin.get(), nullptr));
  auto* B = As<TcxButton>(Root->FindComponent(L"B"));
  EXPECT_EQ(B->Description(), L"note");
  EXPECT_EQ(B->OptionsImage()->Layout(), blGlyphTop);
  EXPECT_EQ(B->OptionsImage()->Margin(), 3);
  EXPECT_EQ(B->OptionsImage()->NumGlyphs(), 2);
  EXPECT_EQ(B->OptionsImage()->Spacing(), 7);
  EXPECT_FALSE(B->SpeedButtonOptions()->CanBeFocused());
  EXPECT_EQ(B->SpeedButtonOptions()->GroupIndex(), 2);
  EXPECT_TRUE(B->Down());
  EXPECT_TRUE(B->SpeedButtonOptions()->AllowAllUp());
  const std::string S = ComponentToText(Root.get());
  EXPECT_NE(S.find("OptionsImage.Margin = 3"), std::string::npos) << S;
  EXPECT_NE(S.find("Description = 'note'"), std::string::npos) << S;
  for (const char* Old : {"    Margin", "    Layout", "CommandLinkHint", "    GroupIndex",
                          "    Down", "    AllowAllUp", "    CanBeFocused", "    Spacing"})
    EXPECT_EQ(S.find(Old), std::string::npos) << Old << " in\n" << S;
}

TEST_F(ButtonResources, TheOlderGlyphNameReadsIntoTheImageOptions) {
  auto Glyph = MakeGlyph(32, 16, RGB(255, 0, 0));
  std::string Lines = GlyphLines(Glyph.get());
  for (size_t At; (At = Lines.find("OptionsImage.Glyph")) != std::string::npos;)
    Lines.replace(At, std::string("OptionsImage.Glyph").size(), "Glyph");
  RegisterClasses({TForm::StaticClass()});
  auto Bin =
      TextToBinary("object Form1: TForm\n  object B: TcxButton\n    " + Lines + "  end\nend\n");
  TOwned<TComponent> Root(ReadComponentFromStream(Bin.get(), nullptr));
  auto* B = As<TcxButton>(Root->FindComponent(L"B"));
  EXPECT_EQ(B->OptionsImage()->Glyph()->Width(), 32);
  EXPECT_EQ(B->OptionsImage()->NumGlyphs(), 2);
  const std::string S = ComponentToText(Root.get());
  EXPECT_NE(S.find("OptionsImage.Glyph.Data"), std::string::npos) << S;
  EXPECT_EQ(S.find("    Glyph.Data"), std::string::npos) << S;
}

TEST_F(ButtonResources, AutoSizeTakesTheOptimalSize) {
  TOwned<TCustomForm> Form(CreateForm(200, 100));
  auto* B = Create<TcxButton>(Form.get());
  B->SetParent(Form.get());
  B->SetCaption(L"Пересчет");
  B->SetAutoSize(true);
  const TSize Optimal = B->GetOptimalSize();
  EXPECT_EQ(B->Width(), Optimal.cx);
  EXPECT_EQ(B->Height(), Optimal.cy);
  B->SetBounds(0, 0, 300, 80);
  EXPECT_EQ(B->Width(), Optimal.cx) << "any requested size becomes the optimal one";
  B->SetCaption(L"Выходная папка");
  EXPECT_EQ(B->Width(), B->GetOptimalSize().cx);
  EXPECT_GT(B->Width(), Optimal.cx);
}

TEST_F(ButtonResources, MarginAndSpacingScaleAt144Dpi) {
  TOwned<TCustomForm> Form(CreateForm(200, 100));
  auto* B = Create<TcxButton>(Form.get());
  B->SetParent(Form.get());
  B->OptionsImage()->SetSpacing(4);
  B->OptionsImage()->SetMargin(2);
  auto* Auto = Create<TcxButton>(Form.get());
  Auto->SetParent(Form.get());
  Form->ScaleForPPI(144);
  EXPECT_EQ(B->OptionsImage()->Spacing(), 6);
  EXPECT_EQ(B->OptionsImage()->Margin(), 3);
  EXPECT_EQ(Auto->OptionsImage()->Margin(), -1) << "automatic stays automatic";
  EXPECT_EQ(B->GetScaleFactor()->Apply(16), 24);
  EXPECT_EQ(B->Font()->Height(), Form->Font()->Height()) << "the caption follows the form's font";
}

TEST_F(ButtonResources, OptimalSizeMeasuresTheCaptionWithoutItsMark) {
  TOwned<TcxButton> B(Create<TcxButton>(nullptr));
  B->SetCaption(L"&Go");
  const TSize Size = B->GetOptimalSize();
  const Integer R = MeasuredText(B->Font(), L"R").cx;
  EXPECT_EQ(Size.cx, MeasuredText(B->Font(), L"Go").cx + 3 * R);
  EXPECT_EQ(Size.cy, MulDiv(cxTextHeight(B->Font()), 14, 8));
  B->SetCaption(L"");
  EXPECT_EQ(B->GetOptimalSize().cx, MeasuredText(B->Font(), L" ").cx + 3 * R);
}

}  // namespace
