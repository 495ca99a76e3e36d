#include <gtest/gtest.h>

#include <utility>

#include "Forms.h"

namespace {

// The application object and screen for the whole test program.
class FormsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    Forms_Initialize();
    Application()->Initialize();
  }
};
const testing::Environment* const Env = testing::AddGlobalTestEnvironment(new FormsEnvironment);

// A self-painted control that records what reaches it.
class TProbe : public TCustomControl {
  DECLARE_CLASS(TProbe, TCustomControl)
 public:
  explicit TProbe(TComponent* AOwner) : TCustomControl(AOwner) {
    SetTabStop(true);
    SetBounds(0, 0, 40, 30);
  }
  TColor PaintColor = clRed;
  int Paints = 0;
  int CommandNotifications = 0;
  int Entered = 0;
  std::vector<UINT> Seen;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONUP ||
        Message.Msg == CM_MOUSEENTER)
      Seen.push_back(Message.Msg);
    inherited::WndProc(Message);
  }
  void CNCommand(TMessage& Message) override {
    ++CommandNotifications;
    inherited::CNCommand(Message);
  }
  void CMEnter(TMessage& Message) override {
    ++Entered;
    inherited::CMEnter(Message);
  }
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(ClientRect());
  }
};
IMPLEMENT_CLASS(TProbe)

struct TRecorder {
  int Clicks = 0;
  std::vector<String> Errors;
  void Click(TObject*) { ++Clicks; }
  void Throw(TObject*) { throw EConvertError(L"bad value in handler"); }
  void OnException(TObject*, Exception* E) { Errors.push_back(E->Message()); }
  TCustomForm* Modal = nullptr;
  void EndModal(TObject* Sender) {
    static_cast<TTimer*>(Sender)->SetEnabled(false);
    Modal->SetModalResult(mrOk);
  }
};

// A control whose touch defaults differ from the framework's, as a library
// control sets them while it is made.
class TTouchProbe : public TCustomControl {
  DECLARE_CLASS(TTouchProbe, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  void AfterConstruction() override {
    inherited::AfterConstruction();
    Touch()->SetDefaults(TInteractiveGestures{igPan, igPressAndTap},
                         TInteractiveGestureOptions{igoPanInertia, igoParentPassthrough});
  }
};
IMPLEMENT_CREATABLE_CLASS(TTouchProbe)

// A form built in code, freed at the end of the test.
struct FormFixture : testing::Test {
  TOwned<TCustomForm> Form;
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(50, 50, 300, 200);
  }
  void TearDown() override { Form.reset(); }
  TProbe* AddProbe(TWinControl* Parent, TRect R) {
    auto* P = Create<TProbe>(Form.get());
    P->SetParent(Parent);
    P->SetBoundsRect(R);
    return P;
  }
};

TEST_F(FormFixture, ControlsBecomeRealChildWindows) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 20, 40, 30));
  EXPECT_FALSE(P->HandleAllocated());
  Form->Show();
  ASSERT_TRUE(P->HandleAllocated());
  EXPECT_EQ(GetParent(P->Handle()), Form->Handle());
  EXPECT_TRUE(IsWindowVisible(P->Handle()));
  RECT R;
  GetWindowRect(P->Handle(), &R);
  MapWindowPoints(nullptr, Form->Handle(), reinterpret_cast<POINT*>(&R), 2);
  EXPECT_EQ(R.left, 10);
  EXPECT_EQ(R.top, 20);
  EXPECT_EQ(RectWidth(R), 40);
  EXPECT_EQ(TWinControl::FindControl(P->Handle()), P);
  P->Hide();
  EXPECT_FALSE(IsWindowVisible(P->Handle()));
  // Moving the window by the platform updates the control.
  SetWindowPos(P->Handle(), nullptr, 5, 6, 70, 80, SWP_NOZORDER);
  EXPECT_EQ(P->Left(), 5);
  EXPECT_EQ(P->Height(), 80);
}

TEST_F(FormFixture, MessagesReachHandlersAndNotificationsAreReflected) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  TRecorder Rec;
  P->OnClick = MakeEvent<&TRecorder::Click>(&Rec);
  Form->Show();
  SendMessageW(P->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(P->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Rec.Clicks, 1);
  // A release outside the control is no click.
  SendMessageW(P->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(P->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  EXPECT_EQ(Rec.Clicks, 1);
  // The parent reflects a child's command back to it.
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(P->Handle()));
  EXPECT_EQ(P->CommandNotifications, 1);
  EXPECT_EQ(P->Perform(CM_HITTEST), HTCLIENT);
}

TEST_F(FormFixture, PaintingReadsBackFromTheWindow) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  P->PaintColor = clLime;
  Form->Show();
  Application()->ProcessMessages();
  P->Update();
  EXPECT_GT(P->Paints, 0);
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(40, 30);
  HDC DC = GetDC(P->Handle());
  BitBlt(B.Canvas()->Handle(), 0, 0, 40, 30, DC, 0, 0, SRCCOPY);
  ReleaseDC(P->Handle(), DC);
  EXPECT_EQ(B.Canvas()->Pixels(20, 15) & 0xFFFFFF, clLime);
}

TEST_F(FormFixture, AlignAndAnchorsFollowTheParentSize) {
  Form->SetClientWidth(300);
  Form->SetClientHeight(200);
  TProbe* Top = AddProbe(Form.get(), Bounds(0, 0, 10, 20));
  Top->SetAlign(alTop);
  TProbe* Client = AddProbe(Form.get(), Bounds(0, 0, 10, 10));
  Client->SetAlign(alClient);
  Form->Show();
  Form->SetClientWidth(300);
  Form->SetClientHeight(200);
  EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 300, 20));
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 20, 300, 200));
  Client->SetAlign(alNone);
  Client->SetBounds(10, 50, 100, 40);
  Client->SetAnchors({akLeft, akTop, akRight});  // stretches
  TProbe* Right = AddProbe(Form.get(), Bounds(250, 100, 40, 30));
  Right->SetAnchors({akRight, akBottom});  // moves
  Form->SetClientWidth(400);
  Form->SetClientHeight(260);
  EXPECT_EQ(Client->BoundsRect(), Rect(10, 50, 210, 90));
  EXPECT_EQ(Right->BoundsRect(), Bounds(350, 160, 40, 30));
  EXPECT_EQ(Top->Width(), 400);
}

// The order in which controls are entered and left; a control may take the
// focus back while it is left.
struct TFocusLog {
  std::vector<String> Events;
  TWinControl* TakeBack = nullptr;
  void Enter(TObject* Sender) { Events.push_back(L"enter " + Named(Sender)); }
  void Exit(TObject* Sender) {
    Events.push_back(L"exit " + Named(Sender));
    if (TWinControl* C = std::exchange(TakeBack, nullptr)) C->SetFocus();
  }
  static String Named(TObject* Sender) { return static_cast<TComponent*>(Sender)->Name(); }
  void Watch(TWinControl* C, const wchar_t* AName) {
    C->SetName(AName);
    C->OnEnter = MakeEvent<&TFocusLog::Enter>(this);
    C->OnExit = MakeEvent<&TFocusLog::Exit>(this);
  }
};

TEST_F(FormFixture, FocusLeavesAndEntersTheWholeParentChain) {
  TProbe* Box = AddProbe(Form.get(), Bounds(10, 10, 120, 60));
  TProbe* Inner = AddProbe(Box, Bounds(5, 5, 40, 30));
  TProbe* Outer = AddProbe(Form.get(), Bounds(150, 10, 40, 30));
  TFocusLog Log;
  Log.Watch(Box, L"Box");
  Log.Watch(Inner, L"Inner");
  Log.Watch(Outer, L"Outer");
  Form->Show();
  SetForegroundWindow(Form->Handle());
  Inner->SetFocus();
  Application()->ProcessMessages();
  Outer->SetFocus();
  Application()->ProcessMessages();
  const std::vector<String> AExpected{L"enter Box", L"enter Inner", L"exit Inner", L"exit Box",
                                      L"enter Outer"};
  EXPECT_EQ(Log.Events, AExpected);
}

TEST_F(FormFixture, AControlTakingTheFocusBackWhileLeftCancelsTheChange) {
  TProbe* Inner = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  TProbe* Outer = AddProbe(Form.get(), Bounds(150, 10, 40, 30));
  TFocusLog Log;
  Log.Watch(Inner, L"Inner");
  Log.Watch(Outer, L"Outer");
  Form->Show();
  SetForegroundWindow(Form->Handle());
  Inner->SetFocus();
  Application()->ProcessMessages();
  Log.Events.clear();
  Log.TakeBack = Inner;
  Outer->SetFocus();
  Application()->ProcessMessages();
  // Left, taken back: the other control is neither entered nor active.
  const std::vector<String> AExpected{L"exit Inner"};
  EXPECT_EQ(Log.Events, AExpected);
  EXPECT_TRUE(Inner->Focused());
  EXPECT_EQ(Form->ActiveControl(), Inner);
}

// A form that refuses one control the focus.
class TRefusingForm : public TForm {
  DECLARE_CLASS_INLINE(TRefusingForm, TForm)
 public:
  using TForm::TForm;
  TWinControl* Refused = nullptr;
  int Asked = 0;
  bool SetFocusedControl(TWinControl* Control) override {
    ++Asked;
    if (Control && Control == Refused) return false;
    return inherited::SetFocusedControl(Control);
  }
};

// The window focus reaches the form through its own SetFocusedControl: a
// refused control neither becomes the active one nor hears CM_ENTER.
TEST_F(FormFixture, TheFocusRoadAsksTheFormsOwnSetFocusedControl) {
  auto* AForm = Create<TRefusingForm>(nullptr, true);
  Form.reset(AForm);
  Form->SetBounds(50, 50, 300, 200);
  TProbe* A = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  TProbe* B = AddProbe(Form.get(), Bounds(60, 10, 40, 30));
  Form->Show();
  SetForegroundWindow(Form->Handle());
  A->SetFocus();
  Application()->ProcessMessages();
  ASSERT_EQ(Form->ActiveControl(), A);
  AForm->Refused = B;
  const int AAskedBefore = AForm->Asked;
  const int AEnteredBefore = B->Entered;
  ::SetFocus(B->Handle());
  Application()->ProcessMessages();
  EXPECT_GT(AForm->Asked, AAskedBefore);
  EXPECT_EQ(Form->ActiveControl(), A);
  EXPECT_EQ(B->Entered, AEnteredBefore);
  // The window focus sits on B already: go through A so that B gets it anew.
  AForm->Refused = nullptr;
  ::SetFocus(A->Handle());
  Application()->ProcessMessages();
  ::SetFocus(B->Handle());
  Application()->ProcessMessages();
  EXPECT_EQ(Form->ActiveControl(), B);
  EXPECT_GT(B->Entered, AEnteredBefore);
}

TEST_F(FormFixture, TabMovesFocusInTabOrder) {
  TProbe* A = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  TProbe* B = AddProbe(Form.get(), Bounds(60, 10, 40, 30));
  TProbe* C = AddProbe(Form.get(), Bounds(110, 10, 40, 30));
  C->SetTabOrder(0);  // C, A, B
  Form->Show();
  SetForegroundWindow(Form->Handle());
  C->SetFocus();
  Application()->ProcessMessages();
  ASSERT_TRUE(C->Focused());
  auto PressTab = [&](bool Shift) {
    // The key goes through the application's message loop like a real one.
    if (Shift) {
      BYTE State[256];
      GetKeyboardState(State);
      State[VK_SHIFT] = 0x80;
      SetKeyboardState(State);
    }
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    Application()->ProcessMessages();
    if (Shift) {
      BYTE State[256];
      GetKeyboardState(State);
      State[VK_SHIFT] = 0;
      SetKeyboardState(State);
    }
  };
  PressTab(false);
  EXPECT_TRUE(A->Focused());
  EXPECT_EQ(Form->ActiveControl(), A);
  PressTab(false);
  EXPECT_TRUE(B->Focused());
  PressTab(true);
  EXPECT_TRUE(A->Focused());
  EXPECT_GT(A->Entered, 0);
}

TEST_F(FormFixture, ModalFormEndsWithItsModalResultAndReenablesOthers) {
  Form->Show();
  TOwned<TCustomForm> Dialog(Create<TForm>(nullptr, true));
  Dialog->SetBounds(80, 80, 200, 100);
  TRecorder Rec;
  Rec.Modal = Dialog.get();
  TOwned<TTimer> Timer(Create<TTimer>(nullptr));
  Timer->SetInterval(50);
  struct TCheck {
    HWND Main;
    bool WasDisabled = false;
    TRecorder* Rec;
    void Tick(TObject* Sender) {
      WasDisabled = !IsWindowEnabled(Main);
      Rec->EndModal(Sender);
    }
  } Check{Form->Handle(), false, &Rec};
  Timer->SetOnTimer(MakeEvent<&TCheck::Tick>(&Check));
  EXPECT_EQ(Dialog->ShowModal(), mrOk);
  EXPECT_TRUE(Check.WasDisabled);
  EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
  EXPECT_FALSE(Dialog->Visible());
}

TEST_F(FormFixture, ExceptionInAClickHandlerReachesHandleException) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  TRecorder Rec;
  P->OnClick = MakeEvent<&TRecorder::Throw>(&Rec);
  Application()->OnException = MakeEvent<&TRecorder::OnException>(&Rec);
  Form->Show();
  SendMessageW(P->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(P->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Application()->OnException = nullptr;
  ASSERT_EQ(Rec.Errors.size(), 1u);
  EXPECT_EQ(Rec.Errors[0], L"bad value in handler");
}

TEST_F(FormFixture, FormDesignedAt96DpiScalesTo144) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 20, 100, 21));
  P->Font()->SetHeight(-12);  // own font: scales with the control
  TProbe* Inherits = AddProbe(Form.get(), Bounds(0, 0, 10, 10));
  Form->Font()->SetHeight(-11);
  ASSERT_TRUE(Inherits->ParentFont());
  Form->ScaleForPPI(144);
  EXPECT_EQ(P->BoundsRect(), Rect(15, 30, 165, 62));
  EXPECT_EQ(P->Font()->Height(), -18);
  EXPECT_EQ(Form->Font()->Height(), -17);
  EXPECT_EQ(Inherits->Font()->Height(), -17);
  EXPECT_EQ(Form->CurrentPPI(), 144);
}

TEST_F(FormFixture, FreeingAChildUnlinksItAndItsWindow) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  Form->Show();
  HWND Wnd = P->Handle();
  EXPECT_EQ(Form->ControlCount(), 1);
  P->Free();
  EXPECT_EQ(Form->ControlCount(), 0);
  EXPECT_EQ(Form->ComponentCount(), 0);
  EXPECT_FALSE(IsWindow(Wnd));
}

}  // namespace

namespace {

// A control whose window the platform refuses: its parent window is bogus.
class TOrphan : public TCustomControl {
  DECLARE_CLASS(TOrphan, TCustomControl)
 public:
  using TCustomControl::TCustomControl;

 protected:
  void CreateParams(TCreateParams& Params) override {
    inherited::CreateParams(Params);
    Params.WndParent = reinterpret_cast<HWND>(static_cast<intptr_t>(0x7FFF0001));
  }
};
IMPLEMENT_CLASS(TOrphan)

TEST_F(FormFixture, AWindowThePlatformRefusesRaisesEOSError) {
  TOwned<TOrphan> C(Create<TOrphan>(nullptr));
  C->SetVisible(false);  // so that setting the parent window creates nothing yet
  C->SetParentWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(0x7FFF0001)));
  try {
    C->HandleNeeded();
    FAIL() << "the window must not be created";
  } catch (EOSError& E) {
    EXPECT_NE(E.ErrorCode(), 0u);
    EXPECT_NE(Pos(L"TOrphan", E.Message()), 0);
  }
  EXPECT_FALSE(C->HandleAllocated());
}

TEST_F(FormFixture, ControlsWithoutParentWindowRefuseToCreateOne) {
  TOwned<TProbe> P(Create<TProbe>(nullptr));
  EXPECT_THROW(P->HandleNeeded(), EInvalidOperation);
}

TEST_F(FormFixture, AFormGoneWithItsFocusedChildIsNotLeftActive) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  Form->Show();
  SetForegroundWindow(Form->Handle());
  P->SetFocus();
  Application()->ProcessMessages();
  ASSERT_EQ(Screen()->ActiveForm(), Form.get());
  const void* Gone = Form.get();
  // The focus moves to the form while its children are destroyed.
  Form.reset();
  EXPECT_NE(static_cast<const void*>(Screen()->ActiveForm()), Gone);
  for (Integer I = 0; I < Screen()->FormCount(); ++I)
    EXPECT_NE(static_cast<const void*>(Screen()->Forms(I)), Gone);
}

TEST_F(FormFixture, RecreateMessageMakesTheWindowAgainKeepingFocus) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  Form->Show();
  SetForegroundWindow(Form->Handle());
  P->SetFocus();
  Application()->ProcessMessages();
  HWND Old = P->Handle();
  // Posted, as the library's controls ask for it.
  PostMessageW(Old, CM_RECREATEWND, 0, 0);
  Application()->ProcessMessages();
  ASSERT_TRUE(P->HandleAllocated());
  EXPECT_NE(P->Handle(), Old);
  EXPECT_FALSE(IsWindow(Old));
  EXPECT_TRUE(P->Focused());
  EXPECT_TRUE(IsWindowVisible(P->Handle()));
}

TEST_F(FormFixture, TheCaptureControlIsTheWindowOrTheGraphicChildHoldingTheMouse) {
  TProbe* P = AddProbe(Form.get(), Bounds(10, 10, 40, 30));
  Form->Show();
  EXPECT_EQ(GetCaptureControl(), nullptr);
  SetCapture(P->Handle());
  EXPECT_EQ(GetCaptureControl(), P);
  ReleaseCapture();
  EXPECT_EQ(GetCaptureControl(), nullptr);
  auto* Shape = Create<TGraphicControl>(Form.get());
  Shape->SetParent(Form.get());
  SetCapture(Form->Handle());
  Application()->SetCaptureControl(Shape);
  EXPECT_EQ(GetCaptureControl(), Shape);
  Application()->SetCaptureControl(nullptr);
  ReleaseCapture();
}

// A cursor the program hands the screen lives until another takes its index.
TEST_F(FormFixture, TheScreenOwnsTheCursorsItIsGiven) {
  auto Alive = [](HCURSOR C) {
    ICONINFO Info{};
    if (!GetIconInfo(C, &Info)) return false;
    TBitmapHandle Colour(Info.hbmColor), Mask(Info.hbmMask);
    return true;
  };
  auto Copy = [] {
    return static_cast<HCURSOR>(CopyImage(LoadCursorW(nullptr, IDC_CROSS), IMAGE_CURSOR, 0, 0, 0));
  };
  constexpr TCursor Custom = 5;
  HCURSOR First = Copy(), Second = Copy();
  ASSERT_TRUE(First && Second);
  Screen()->SetCursors(Custom, First);
  EXPECT_EQ(Screen()->Cursors(Custom), First);
  // Given again, it is still the one in use.
  Screen()->SetCursors(Custom, First);
  EXPECT_EQ(Screen()->Cursors(Custom), First);
  EXPECT_TRUE(Alive(First));
  // Replaced, it is destroyed.
  Screen()->SetCursors(Custom, Second);
  EXPECT_EQ(Screen()->Cursors(Custom), Second);
  EXPECT_FALSE(Alive(First));
  EXPECT_TRUE(Alive(Second));
}

}  // namespace

namespace {

String ResourceText(TComponent* Root) {
  auto Binary = MakeOwned<TBytesStream>();
  WriteComponentToStream(Binary.get(), Root);
  Binary->SetPosition(0);
  auto Text = MakeOwned<TStringStream>(String(), TEncoding::UTF8());
  ObjectBinaryToText(Binary.get(), Text.get());
  return Text->DataString();
}

}  // namespace

TEST(TouchSettings, AreStreamedOnlyWhereTheyDifferFromTheControlsDefaults) {
  RegisterClass(TTouchProbe::StaticClass());
  const TInteractiveGestures DefaultGestures{igPan, igPressAndTap};
  const TInteractiveGestureOptions DefaultOptions{igoPanInertia, igoParentPassthrough};
  struct {
    const char* Label;
    TInteractiveGestures Gestures;
    TInteractiveGestureOptions Options;
    const wchar_t* GesturesLine;  // nullptr: not written
    const wchar_t* OptionsLine;
  } const Rows[] = {
      {"defaults", DefaultGestures, DefaultOptions, nullptr, nullptr},
      {"more gestures", TInteractiveGestures{igZoom, igPan, igPressAndTap}, DefaultOptions,
       L"Touch.InteractiveGestures = [igZoom, igPan, igPressAndTap]", nullptr},
      // An empty set is not the default here: it must be written.
      {"no gestures", TInteractiveGestures{}, DefaultOptions, L"Touch.InteractiveGestures = []",
       nullptr},
      {"other options", DefaultGestures, TInteractiveGestureOptions{igoPanSingleFingerVertical},
       nullptr, L"Touch.InteractiveGestureOptions = [igoPanSingleFingerVertical]"},
      {"no options", TInteractiveGestures{igRotate}, TInteractiveGestureOptions{},
       L"Touch.InteractiveGestures = [igRotate]", L"Touch.InteractiveGestureOptions = []"},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Label);
    TOwned<TTouchProbe> Written(Create<TTouchProbe>(nullptr));
    Written->SetName(L"Probe");
    Written->Touch()->SetInteractiveGestures(Row.Gestures);
    Written->Touch()->SetInteractiveGestureOptions(Row.Options);
    const String Text = ResourceText(Written.get());
    EXPECT_EQ(Text.find(L"Touch.InteractiveGestures ") != String::npos, Row.GesturesLine != nullptr)
        << Text;
    EXPECT_EQ(Text.find(L"Touch.InteractiveGestureOptions") != String::npos,
              Row.OptionsLine != nullptr)
        << Text;
    if (Row.GesturesLine) EXPECT_NE(Text.find(Row.GesturesLine), String::npos) << Text;
    if (Row.OptionsLine) EXPECT_NE(Text.find(Row.OptionsLine), String::npos) << Text;

    auto Binary = MakeOwned<TBytesStream>();
    WriteComponentToStream(Binary.get(), Written.get());
    Binary->SetPosition(0);
    TOwned<TComponent> Read(ReadComponentFromStream(Binary.get(), nullptr));
    auto* Probe = AsOrNull<TTouchProbe>(Read.get());
    ASSERT_NE(Probe, nullptr);
    EXPECT_EQ(Probe->Touch()->InteractiveGestures(), Row.Gestures);
    EXPECT_EQ(Probe->Touch()->InteractiveGestureOptions(), Row.Options);
    EXPECT_EQ(Probe->Touch()->DefaultInteractiveGestures(), DefaultGestures);
  }
}

TEST(TouchSettings, FrameworkControlsPassGesturesOnAndAssignCopiesTheValues) {
  TOwned<TProbe> Plain(Create<TProbe>(nullptr));
  EXPECT_TRUE(Plain->Touch()->InteractiveGestures().Empty());
  EXPECT_EQ(Plain->Touch()->InteractiveGestureOptions(),
            (TInteractiveGestureOptions{igoPanSingleFingerHorizontal, igoPanSingleFingerVertical,
                                        igoPanInertia, igoPanGutter, igoParentPassthrough}));
  EXPECT_FALSE(Plain->Touch()->IsInteractiveGesturesStored());
  EXPECT_FALSE(Plain->Touch()->IsInteractiveGestureOptionsStored());

  TOwned<TTouchProbe> Other(Create<TTouchProbe>(nullptr));
  Other->Touch()->SetInteractiveGestures(TInteractiveGestures{igZoom});
  Plain->SetTouch(Other->Touch());
  EXPECT_EQ(Plain->Touch()->InteractiveGestures(), TInteractiveGestures{igZoom});
  EXPECT_EQ(Plain->Touch()->InteractiveGestureOptions(),
            Other->Touch()->InteractiveGestureOptions());
  // The defaults stay the receiving control's own.
  EXPECT_TRUE(Plain->Touch()->DefaultInteractiveGestures().Empty());
  EXPECT_TRUE(Plain->Touch()->IsInteractiveGestureOptionsStored());
}

TEST(TouchSettings, AGestureMessageReachesDoGestureAndAnswersWhetherItWasHandled) {
  class TGestureProbe : public TCustomControl {
   public:
    using TCustomControl::TCustomControl;
    std::vector<Integer> Seen;
    bool Handle = false;

   protected:
    void DoGesture(const TGestureEventInfo& Info, bool& Handled) override {
      Seen.push_back(Info.GestureID);
      Handled = Handle;
    }
  };
  TOwned<TGestureProbe> Control(Create<TGestureProbe>(nullptr));
  TGestureEventInfo Info;
  Info.GestureID = gcPanEvent;
  EXPECT_EQ(Control->Perform(CM_GESTURE, 0, reinterpret_cast<LPARAM>(&Info)), 0);
  Control->Handle = true;
  Info.GestureID = gcZoomEvent;
  EXPECT_EQ(Control->Perform(CM_GESTURE, 0, reinterpret_cast<LPARAM>(&Info)), 1);
  EXPECT_EQ(Control->Perform(CM_GESTURE, 0, 0), 0);  // no event: nothing to handle
  EXPECT_EQ(Control->Seen, (std::vector<Integer>{gcPanEvent, gcZoomEvent}));
}
