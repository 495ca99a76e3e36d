#include <gtest/gtest.h>

#include "Forms.h"
#include "StdCtrls.h"

namespace {

// A hint window class of the program's own, which notes what it was asked.
class TNotingHintWindow : public THintWindow {
  DECLARE_CLASS(TNotingHintWindow, THintWindow)
 public:
  using THintWindow::THintWindow;
  static inline int Created = 0;
  String Shown;
  void* Data = nullptr;
  TRect At{};
  void AfterConstruction() override {
    inherited::AfterConstruction();
    ++Created;
  }
  TRect CalcHintRect(Integer MaxWidth, const String& AHint, void* AData) override {
    Data = AData;
    return Rect(0, 0, 120, 30);
  }
  void ActivateHintData(const TRect& Rect, const String& AHint, void* AData) override {
    Shown = AHint;
    At = Rect;
    inherited::ActivateHintData(Rect, AHint, AData);
  }
};
IMPLEMENT_CREATABLE_CLASS(TNotingHintWindow)

// A second class a handler picks for one hint.
class TOtherHintWindow : public TNotingHintWindow {
  DECLARE_CLASS(TOtherHintWindow, TNotingHintWindow)
 public:
  using TNotingHintWindow::TNotingHintWindow;
};
IMPLEMENT_CREATABLE_CLASS(TOtherHintWindow)

struct THintLog {
  int Shows = 0;
  TClass SeenClass = nullptr;
  TControl* SeenControl = nullptr;
  bool Refuse = false;
  bool SwitchClass = false;
  void ShowHint(String& HintStr, bool& CanShow, THintInfo& Info) {
    ++Shows;
    SeenClass = Info.HintWindowClass;
    SeenControl = Info.HintControl;
    HintStr += L"!";
    Info.HintData = this;
    if (SwitchClass) Info.HintWindowClass = TOtherHintWindow::StaticClass();
    CanShow = !Refuse;
  }
  // The control's own window procedure, subclassed to answer CM_HINTSHOW.
  TWndMethod Old;
  int HintShows = 0;
  bool ControlRefuses = false;
  void ControlWndProc(TMessage& M) {
    if (M.Msg == CM_HINTSHOW) {
      ++HintShows;
      M.Result = ControlRefuses ? 1 : 0;
      return;
    }
    Old(M);
  }
};

struct HintFixture : testing::Test {
  TOwned<TCustomForm> Form;
  TButton* Button = nullptr;
  THintLog Log;
  TPoint Center{};
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(90, 90, 300, 200);
    Button = Create<TButton>(Form.get());
    Button->SetParent(Form.get());
    Button->SetBounds(20, 20, 100, 30);
    Button->SetHint(L"Short|Long description");
    Button->SetShowHint(true);
    Log.Old = Button->WindowProc;
    Button->WindowProc = MakeEvent<&THintLog::ControlWndProc>(&Log);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Application()->ProcessMessages();
    Center = Button->ClientToScreen(Point(50, 15));
    SetCursorPos(Center.x, Center.y);
    Application()->SetHintWindowClass(TNotingHintWindow::StaticClass());
    Application()->OnShowHint = MakeEvent<&THintLog::ShowHint>(&Log);
  }
  void TearDown() override {
    Application()->OnShowHint = nullptr;
    Application()->SetHintWindowClass(THintWindow::StaticClass());
    Button->WindowProc = Log.Old;
    Form.reset();
  }
};

TEST_F(HintFixture, TheApplicationShowsHintsWithTheReplacedClass) {
  Application()->ActivateHint(Center);
  auto* W = AsOrNull<TNotingHintWindow>(Application()->HintWindow());
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(W->ClassType(), TNotingHintWindow::StaticClass());
  // The short hint, as the handler changed it, with the handler's data.
  EXPECT_EQ(W->Shown, L"Short!");
  EXPECT_EQ(W->Data, &Log);
  EXPECT_EQ(Log.SeenClass, TNotingHintWindow::StaticClass());
  EXPECT_EQ(Log.SeenControl, Button);
  EXPECT_EQ(Log.HintShows, 1);
  EXPECT_EQ(W->At, Bounds(Center.x, Center.y + 20, 120, 30));
  EXPECT_TRUE(W->HandleAllocated() && IsWindowVisible(W->Handle()));
  // One window serves the following hints.
  int Created = TNotingHintWindow::Created;
  Application()->ActivateHint(Center);
  EXPECT_EQ(TNotingHintWindow::Created, Created);
  EXPECT_EQ(Application()->HintWindow(), W);
}

TEST_F(HintFixture, AHandlerOrTheControlDecidesPerHint) {
  Log.SwitchClass = true;
  Application()->ActivateHint(Center);
  EXPECT_EQ(Application()->HintWindow()->ClassType(), TOtherHintWindow::StaticClass());
  Log.SwitchClass = false;
  Application()->ActivateHint(Center);
  EXPECT_EQ(Application()->HintWindow()->ClassType(), TNotingHintWindow::StaticClass());
  // Refused by the handler or by the control's CM_HINTSHOW: nothing shows.
  Application()->CancelHint();
  Log.Refuse = true;
  Application()->ActivateHint(Center);
  EXPECT_FALSE(Application()->HintWindow()->HandleAllocated());
  Log.Refuse = false;
  Log.ControlRefuses = true;
  int Shows = Log.Shows;
  Application()->ActivateHint(Center);
  EXPECT_EQ(Log.Shows, Shows);
  EXPECT_FALSE(Application()->HintWindow()->HandleAllocated());
}

TEST_F(HintFixture, TheHintTimerUsesTheReplacedClass) {
  // A new class drops the old window.
  Application()->ActivateHint(Center);
  Application()->SetHintWindowClass(TOtherHintWindow::StaticClass());
  EXPECT_EQ(Application()->HintWindow(), nullptr);
  Integer Saved = Application()->HintPause();
  Application()->SetHintPause(10);
  // The mouse comes from the form onto the control, which starts the timer.
  SendMessageW(Form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
  POINT P = {Center.x, Center.y};
  ScreenToClient(Button->Handle(), &P);
  PostMessageW(Button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(P.x, P.y));
  for (int I = 0; I < 300 && !Application()->HintWindow(); ++I) {
    Application()->ProcessMessages();
    Sleep(10);
  }
  Application()->SetHintPause(Saved);
  ASSERT_NE(Application()->HintWindow(), nullptr);
  EXPECT_EQ(Application()->HintWindow()->ClassType(), TOtherHintWindow::StaticClass());
  EXPECT_THROW(Application()->SetHintWindowClass(TButton::StaticClass()), EInvalidOperation);
  EXPECT_THROW(Application()->SetHintWindowClass(nullptr), EInvalidOperation);
}

}  // namespace
