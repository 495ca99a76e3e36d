// The custom popup window: showing and closing with its events and its
// registration among the shown popups, the modal loop ended by ModalResult,
// a hidden owner, a popup that never takes the focus, and Esc with capture.
#include <gtest/gtest.h>

#include <string>

#include "ControlsTestSupport.h"
#include "StdCtrls.h"
#include "cxContainer.h"

namespace {

using ControlsTest::CreateForm;
using ControlsTest::ProcessMessages;

class TPopupRecorder : public TObject {
  DECLARE_CLASS_INLINE(TPopupRecorder, TObject)
 public:
  void Showing(TObject*) { Events += "showing "; }
  void Showed(TObject* Sender) {
    Events += "showed ";
    WasVisibleWhenShowed = static_cast<TcxCustomPopupWindow*>(Sender)->IsVisible();
    if (SysKeyWnd) PostMessageW(SysKeyWnd, WM_SYSKEYDOWN, SysKey, 0x20000000);
    if (CloseFromInside) static_cast<TcxCustomPopupWindow*>(Sender)->SetModalResult(mrOk);
  }
  void Closing(TObject* Sender) {
    Events += "closing ";
    if (FreeWhenClosing) static_cast<TcxCustomPopupWindow*>(Sender)->Free();
  }
  void Closed(TObject* Sender) {
    Events += "closed ";
    if (FreeWhenClosed) static_cast<TcxCustomPopupWindow*>(Sender)->Free();
  }
  std::string Events;
  bool CloseFromInside = false;
  bool WasVisibleWhenShowed = false;
  bool FreeWhenClosing = false;
  bool FreeWhenClosed = false;
  // An Alt combination waiting for the form when the modal loop starts.
  HWND SysKeyWnd = nullptr;
  WPARAM SysKey = 0;
};

class CustomPopupWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(240, 160));
    Owner = Create<TEdit>(Form.get());
    Owner->SetBounds(10, 10, 120, 22);
    Owner->SetParent(Form.get());
    ProcessMessages();
    MakePopup();
  }
  void MakePopup() {
    Popup = Create<TcxCustomPopupWindow>(Owner);
    Popup->SetOwnerParent(Form.get());
    Popup->SetOwnerBounds(Owner->BoundsRect());
    Popup->SetBounds(0, 0, 120, 80);
    Popup->OnShowing = MakeEvent<&TPopupRecorder::Showing>(&Recorder);
    Popup->OnShowed = MakeEvent<&TPopupRecorder::Showed>(&Recorder);
    Popup->OnClosing = MakeEvent<&TPopupRecorder::Closing>(&Recorder);
    Popup->OnClosed = MakeEvent<&TPopupRecorder::Closed>(&Recorder);
  }
  void TearDown() override {
    Form.reset();
    ProcessMessages();
  }
  TOwned<TCustomForm> Form;
  TEdit* Owner = nullptr;
  TcxCustomPopupWindow* Popup = nullptr;
  TPopupRecorder Recorder;
};

TEST_F(CustomPopupWindow, OpensAndClosesWithItsEventsAndRegistration) {
  Popup->SetModalMode(false);
  Popup->Popup(nullptr);
  EXPECT_TRUE(Popup->IsVisible());
  EXPECT_TRUE(IsWindowVisible(Popup->Handle()));
  EXPECT_TRUE(cxPopupVisibleController()->IsVisible(Popup));
  // Showing twice is nothing.
  Popup->Popup(nullptr);
  EXPECT_EQ(Recorder.Events, "showing showed ");
  Popup->CloseUp();
  EXPECT_FALSE(Popup->IsVisible());
  EXPECT_FALSE(IsWindowVisible(Popup->Handle()));
  EXPECT_EQ(Recorder.Events, "showing showed closing closed ");
  // Closing a hidden popup is nothing; the same instance shows again.
  Popup->CloseUp();
  Popup->Popup(nullptr);
  EXPECT_TRUE(Popup->IsVisible());
  Popup->ClosePopup();
  ProcessMessages();
  EXPECT_FALSE(Popup->IsVisible());
}

TEST_F(CustomPopupWindow, ModalPopupReturnsAfterModalResultCloses) {
  Recorder.CloseFromInside = true;
  Popup->Popup(nullptr);
  EXPECT_TRUE(Recorder.WasVisibleWhenShowed);
  EXPECT_FALSE(Popup->IsVisible());
  EXPECT_EQ(Recorder.Events, "showing showed closing closed ");
}

// Alt, Alt+Enter and Alt+Space waiting when the modal loop runs never reach
// the form's menus; other Alt combinations stay for the form.
TEST_F(CustomPopupWindow, TheModalLoopSwallowsAltEnterAndAltSpace) {
  const struct {
    WPARAM Key;
    bool Swallowed;
  } Cases[] = {{VK_SPACE, true}, {VK_RETURN, true}, {VK_MENU, true}, {'A', false}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Key);
    Recorder.CloseFromInside = true;
    Recorder.SysKeyWnd = Form->Handle();
    Recorder.SysKey = C.Key;
    Popup->Popup(nullptr);
    ASSERT_FALSE(Popup->IsVisible());
    MSG M;
    EXPECT_EQ(PeekMessageW(&M, Form->Handle(), WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE) != 0,
              !C.Swallowed);
  }
}

// A popup freed by its own closing or closed handler: closing stops touching
// it, the modal loop ends, and nothing stays registered.
TEST_F(CustomPopupWindow, APopupFreedByItsOwnHandlerEndsItsModalLoop) {
  for (bool AInClosing : {true, false}) {
    SCOPED_TRACE(AInClosing ? "closing" : "closed");
    if (!Popup) MakePopup();
    Recorder.Events.clear();
    Recorder.CloseFromInside = true;
    Recorder.FreeWhenClosing = AInClosing;
    Recorder.FreeWhenClosed = !AInClosing;
    TcxObjectLinkGuard ALink(Popup);
    Popup->Popup(nullptr);
    EXPECT_FALSE(ALink.Alive());
    EXPECT_EQ(Recorder.Events,
              AInClosing ? "showing showed closing " : "showing showed closing closed ");
    EXPECT_FALSE(cxPopupVisibleController()->IsAnyVisible());
    Popup = nullptr;
  }
}

TEST_F(CustomPopupWindow, AHiddenOwnerShowsNothing) {
  Owner->SetVisible(false);
  ProcessMessages();
  Popup->Popup(nullptr);
  EXPECT_FALSE(Popup->IsVisible());
  EXPECT_TRUE(Recorder.Events.empty());
}

TEST_F(CustomPopupWindow, WithoutCaptureFocusItIsAToolWindowThatTakesNoFocus) {
  Popup->SetCaptureFocus(false);
  Popup->SetModalMode(false);
  Owner->SetFocus();
  ProcessMessages();
  HWND AFocus = GetFocus();
  Popup->Popup(nullptr);
  ProcessMessages();
  ASSERT_TRUE(Popup->IsVisible());
  EXPECT_NE(GetWindowLongPtrW(Popup->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(GetAncestor(Popup->Handle(), GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetFocus(), AFocus);
  Popup->CloseUp();
}

TEST_F(CustomPopupWindow, ShownWithoutActivationItKeepsTheFocusAndShowsItsChildren) {
  auto* AChild = Create<TEdit>(Popup);
  AChild->SetBounds(4, 4, 60, 20);
  AChild->SetParent(Popup);
  Popup->SetShowWithoutActivation(true);
  Popup->SetModalMode(false);
  Owner->SetFocus();
  ProcessMessages();
  HWND AFocus = GetFocus();
  Popup->Popup(AChild);
  ProcessMessages();
  ASSERT_TRUE(Popup->IsVisible());
  EXPECT_TRUE(IsWindowVisible(Popup->Handle()));
  EXPECT_TRUE(AChild->HandleAllocated() && IsWindowVisible(AChild->Handle()));
  EXPECT_EQ(GetFocus(), AFocus);
  EXPECT_NE(GetActiveWindow(), Popup->Handle());
  Popup->CloseUp();
  EXPECT_FALSE(IsWindowVisible(Popup->Handle()));
}

// Notes whether the activation messages were locked when the focus came.
class TEnterProbe : public TEdit {
  DECLARE_CLASS_INLINE(TEnterProbe, TEdit)
 public:
  using TEdit::TEdit;
  int Entered = 0;
  bool LockedOnEnter = false;

 protected:
  void CMEnter(TMessage& Message) override {
    ++Entered;
    LockedOnEnter = dxMessagesController()->IsMessageLocked(CM_ACTIVATE) &&
                    dxMessagesController()->IsMessageLocked(CM_DEACTIVATE);
    inherited::CMEnter(Message);
  }
};

TEST_F(CustomPopupWindow, FocusMovesInsideWithActivationLockedAndNeverToADyingControl) {
  auto* AFirst = Create<TEnterProbe>(Popup);
  AFirst->SetBounds(4, 4, 60, 20);
  AFirst->SetParent(Popup);
  auto* ADying = Create<TEdit>(Popup);
  ADying->SetBounds(4, 30, 60, 20);
  ADying->SetParent(Popup);
  Popup->SetModalMode(false);
  Popup->Popup(AFirst);
  ProcessMessages();
  ASSERT_TRUE(Popup->IsVisible());
  EXPECT_GT(AFirst->Entered, 0);
  EXPECT_TRUE(AFirst->LockedOnEnter);
  EXPECT_FALSE(dxMessagesController()->IsMessageLocked(CM_ACTIVATE));
  ADying->Destroying();
  EXPECT_FALSE(Popup->SetFocusedControl(ADying));
  EXPECT_EQ(Popup->ActiveControl(), AFirst);
  EXPECT_TRUE(Popup->SetFocusedControl(AFirst));
  Popup->CloseUp();
  ADying->Free();
}

TEST_F(CustomPopupWindow, EscWithTheCaptureOnlyReleasesIt) {
  Popup->SetModalMode(false);
  Popup->Popup(nullptr);
  SetCapture(Popup->Handle());
  ASSERT_TRUE(Popup->HasCapture());
  SendMessageW(Popup->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(Popup->HasCapture());
  EXPECT_TRUE(Popup->IsVisible());
  Popup->CloseUp();
}

}  // namespace

namespace {

// The popup follows its owner's scale factor, not the monitor's.
TEST_F(CustomPopupWindow, TakesItsOwnersScaleWhenShown) {
  auto* AOwnerBox = Create<TcxContainer>(Form.get());
  AOwnerBox->SetBounds(10, 40, 120, 22);
  AOwnerBox->SetParent(Form.get());
  ProcessMessages();
  auto* APopup = Create<TcxCustomPopupWindow>(AOwnerBox);
  APopup->SetModalMode(false);
  APopup->SetOwnerParent(Form.get());
  APopup->SetOwnerBounds(AOwnerBox->BoundsRect());
  auto* AChild = Create<TcxContainer>(APopup);
  AChild->SetBounds(0, 0, 100, 60);
  AChild->SetParent(APopup);
  EXPECT_FALSE(APopup->Scaled());
  const struct {
    Integer OwnerPPI;
    Integer ChildWidth;
  } Steps[] = {{144, 150}, {96, 100}, {192, 200}};
  for (const auto& S : Steps) {
    SCOPED_TRACE(S.OwnerPPI);
    AOwnerBox->ScaleForPPI(S.OwnerPPI);
    APopup->Popup(nullptr);
    EXPECT_EQ(MulDiv(96, APopup->ScaleFactor()->Numerator(), APopup->ScaleFactor()->Denominator()),
              S.OwnerPPI);
    EXPECT_EQ(AChild->Width(), S.ChildWidth);
    APopup->CloseUp();
  }
}

// Only Popup shows the window: a show from elsewhere is taken out.
TEST_F(CustomPopupWindow, IsNotShownByAnyoneButPopup) {
  Popup->SetModalMode(false);
  Popup->HandleNeeded();
  ShowWindow(Popup->Handle(), SW_SHOWNA);
  EXPECT_FALSE(IsWindowVisible(Popup->Handle()));
  Popup->Popup(nullptr);
  EXPECT_TRUE(IsWindowVisible(Popup->Handle()));
  Popup->CloseUp();
}

// A popup opened from a popup takes the activation without closing the
// first; activating the form closes both.
TEST_F(CustomPopupWindow, APopupOpenedFromAPopupLeavesItOpenUntilTheFormIsActivated) {
  Popup->SetModalMode(false);
  auto* AInner = Create<TEdit>(Popup);
  AInner->SetBounds(4, 4, 100, 22);
  AInner->SetParent(Popup);
  Popup->Popup(nullptr);
  ProcessMessages();
  ASSERT_TRUE(Popup->IsVisible());
  auto* ASecond = Create<TcxCustomPopupWindow>(AInner);
  ASecond->SetModalMode(false);
  ASecond->SetOwnerParent(Popup);
  ASecond->SetOwnerBounds(AInner->BoundsRect());
  ASecond->SetBounds(0, 0, 80, 60);
  ASecond->Popup(nullptr);
  ProcessMessages();
  ASSERT_TRUE(ASecond->IsVisible());
  EXPECT_EQ(GetActiveWindow(), ASecond->Handle());
  EXPECT_TRUE(Popup->IsVisible());
  SetActiveWindow(Form->Handle());
  ProcessMessages();
  EXPECT_FALSE(ASecond->IsVisible());
  EXPECT_FALSE(Popup->IsVisible());
}

}  // namespace
