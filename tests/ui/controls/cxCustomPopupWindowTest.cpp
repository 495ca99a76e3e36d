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
    if (CloseFromInside) static_cast<TcxCustomPopupWindow*>(Sender)->SetModalResult(mrOk);
  }
  void Closing(TObject*) { Events += "closing "; }
  void Closed(TObject*) { Events += "closed "; }
  std::string Events;
  bool CloseFromInside = false;
  bool WasVisibleWhenShowed = false;
};

class CustomPopupWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(240, 160));
    Owner = Create<TEdit>(Form.get());
    Owner->SetBounds(10, 10, 120, 22);
    Owner->SetParent(Form.get());
    ProcessMessages();
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
