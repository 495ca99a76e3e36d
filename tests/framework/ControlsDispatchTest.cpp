// Message tables and handlers, the exception boundary of callbacks, keyboard
// cues per window and theme data per window and DPI.
#include <gtest/gtest.h>

#include <functional>

#include "Forms.h"
#include "StdCtrls.h"

namespace {

constexpr UINT WM_PROBE = WM_APP + 1;

// A control that adds a message of its own and overrides two inherited
// handlers; every handler writes to the log and calls the inherited one.
class TLoggingControl : public TCustomControl {
  DECLARE_CLASS(TLoggingControl, TCustomControl)
  DECLARE_MESSAGE_TABLE()
 public:
  using TCustomControl::TCustomControl;
  std::vector<String> Log;
  void DefaultHandler(TMessage& Message) override {
    if (Message.Msg == WM_PROBE + 1) Log.push_back(L"default");
    inherited::DefaultHandler(Message);
  }

 protected:
  virtual void WMProbe(TMessage& Message) {
    Log.push_back(L"probe");
    Message.Result = 42;
  }
  void CMTextChanged(TMessage& Message) override {
    Log.push_back(L"text");
    inherited::CMTextChanged(Message);
  }
  void CMFontChanged(TMessage& Message) override {
    Log.push_back(L"font");
    inherited::CMFontChanged(Message);
  }
};
IMPLEMENT_CLASS(TLoggingControl)
IMPLEMENT_MESSAGE_TABLE(TLoggingControl, {WM_PROBE, MessageHandler<&TLoggingControl::WMProbe>})

// Overrides the handler of its parent class without listing it again.
class TDerivedControl : public TLoggingControl {
  DECLARE_CLASS(TDerivedControl, TLoggingControl)
 public:
  using TLoggingControl::TLoggingControl;

 protected:
  void WMProbe(TMessage& Message) override {
    Log.push_back(L"derived");
    inherited::WMProbe(Message);
    Message.Result += 1;
  }
  void CMColorChanged(TMessage& Message) override {
    Log.push_back(L"color");
    inherited::CMColorChanged(Message);
  }
};
IMPLEMENT_CLASS(TDerivedControl)

struct DispatchFixture : testing::Test {
  TOwned<TCustomForm> Form;
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(40, 40, 300, 200);
  }
  void TearDown() override { Form.reset(); }
  template <class T>
  T* Add(const TRect& R) {
    auto* C = Create<T>(Form.get());
    C->SetParent(Form.get());
    C->SetBoundsRect(R);
    return C;
  }
};

TEST_F(DispatchFixture, TablesAreWalkedFromTheOwnClassDown) {
  auto* Base = Add<TLoggingControl>(Bounds(0, 0, 40, 20));
  auto* Derived = Add<TDerivedControl>(Bounds(50, 0, 40, 20));
  Form->Show();
  struct {
    TLoggingControl* Control;
    UINT Msg;
    std::vector<String> Log;
    LRESULT Result;
  } Cases[] = {
      {Base, WM_PROBE, {L"probe"}, 42},
      {Derived, WM_PROBE, {L"derived", L"probe"}, 43},
      // Listed nowhere: the default handler.
      {Base, WM_PROBE + 1, {L"default"}, 0},
      // Inherited tables still reach overridden handlers.
      {Derived, CM_TEXTCHANGED, {L"text"}, 0},
      {Derived, CM_COLORCHANGED, {L"color"}, 0},
      {Base, CM_COLORCHANGED, {}, 0},
  };
  for (auto& C : Cases) {
    C.Control->Log.clear();
    EXPECT_EQ(C.Control->Perform(C.Msg), C.Result) << std::hex << C.Msg;
    EXPECT_EQ(C.Control->Log, C.Log) << std::hex << C.Msg;
  }
  // Through the window the same.
  Derived->Log.clear();
  EXPECT_EQ(SendMessageW(Derived->Handle(), WM_PROBE, 0, 0), 43);
  EXPECT_EQ(Derived->Log, (std::vector<String>{L"derived", L"probe"}));
}

TEST_F(DispatchFixture, AnOverrideThatCallsTheInheritedHandlerKeepsItsWork) {
  auto* C = Add<TLoggingControl>(Bounds(0, 0, 100, 50));
  auto* Child = Create<TLoggingControl>(Form.get());
  Child->SetParent(C);
  Form->Show();
  ASSERT_TRUE(Child->ParentFont());
  C->Log.clear();
  C->Font()->SetHeight(-20);
  EXPECT_EQ(C->Log, std::vector<String>{L"font"});
  // The inherited handler passed the font on to the child.
  EXPECT_EQ(Child->Font()->Height(), -20);
}

// --- exception boundary ---------------------------------------------------------

struct TRaiser {
  int Handled = 0;
  bool RaiseAgain = true;
  void Throw(TObject*) { throw EConvertError(L"bad value"); }
  void OnException(TObject*, Exception*) {
    ++Handled;
    if (RaiseAgain) throw EInvalidOperation(L"the handler failed too");
  }
  void Nothing(TObject*) {}
  void IdleThrow(TObject*, bool& Done) {
    Done = true;
    throw EConvertError(L"idle failed");
  }
};

TEST_F(DispatchFixture, AnExceptionFromOnExceptionDoesNotLeaveTheWindowProcedure) {
  auto* C = Add<TLoggingControl>(Bounds(0, 0, 40, 20));
  TRaiser R;
  C->OnClick = MakeEvent<&TRaiser::Throw>(&R);
  Application()->OnException = MakeEvent<&TRaiser::OnException>(&R);
  auto Restore = [] { Application()->OnException = nullptr; };
  Form->Show();
  // Reaching the next line at all is the point: nothing escaped into the
  // platform's dispatching.
  SendMessageW(C->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(C->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(R.Handled, 1);
  // A timer's tick and the message loop's idle work go the same way; a
  // second timer keeps the loop from sleeping for good.
  TOwned<TTimer> Raising(Create<TTimer>(nullptr)), Waking(Create<TTimer>(nullptr));
  Raising->SetInterval(10);
  Raising->SetOnTimer(MakeEvent<&TRaiser::Throw>(&R));
  Waking->SetInterval(10);
  Waking->SetOnTimer(MakeEvent<&TRaiser::Nothing>(&R));
  while (R.Handled < 3) Application()->HandleMessage();
  Raising.reset();
  Application()->OnIdle = MakeEvent<&TRaiser::IdleThrow>(&R);
  while (R.Handled < 4) EXPECT_NO_THROW(Application()->HandleMessage());
  Application()->OnIdle = nullptr;
  EXPECT_EQ(R.Handled, 4);
  Restore();
}

TEST(CallbackBoundary, HandsTheExceptionToTheApplicationOnce) {
  TRaiser R;
  R.RaiseAgain = false;
  Application()->OnException = MakeEvent<&TRaiser::OnException>(&R);
  CallbackBoundary(nullptr, [] { throw EConvertError(L"x"); });
  // Silent by design, but still handled by the application.
  CallbackBoundary(nullptr, [] { throw EAbort(L"quiet"); });
  // Not the framework's own class: handed over as well.
  CallbackBoundary(nullptr, [] { throw std::runtime_error("plain"); });
  CallbackBoundary(nullptr, [] { throw 7; });
  Application()->OnException = nullptr;
  EXPECT_EQ(R.Handled, 3);
}

// --- keyboard cues ---------------------------------------------------------------

TEST_F(DispatchFixture, KeyboardCuesAreKeptPerWindowAndShownByTheKeyboard) {
  auto* A = Add<TLoggingControl>(Bounds(0, 0, 40, 20));
  auto* B = Add<TLoggingControl>(Bounds(50, 0, 40, 20));
  A->SetTabStop(true);
  B->SetTabStop(true);
  auto* Label = Create<TGraphicControl>(Form.get());
  Label->SetParent(Form.get());
  Form->Show();
  SetForegroundWindow(Form->Handle());
  A->SetFocus();
  Application()->ProcessMessages();
  const Word Both = UISF_HIDEFOCUS | UISF_HIDEACCEL;
  // A new form follows the user's setting: cues hidden until the keyboard
  // is used, unless they are always shown.
  BOOL Always = FALSE;
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &Always, 0);
  EXPECT_EQ(Form->UIState(), Always ? 0 : Both);
  EXPECT_EQ(A->UIState(), Form->UIState());
  SendMessageW(B->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, Both), 0);
  EXPECT_EQ(A->UIState(), 0);
  // Hidden from a child: the change goes to the top-level window, which
  // tells every window below it.
  SendMessageW(B->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, Both), 0);
  EXPECT_EQ(Form->UIState(), Both);
  EXPECT_EQ(A->UIState(), Both);
  EXPECT_EQ(Label->UIState(), Both);
  // Tab shows the focus, not the underlines.
  PostMessageW(A->Handle(), WM_KEYDOWN, VK_TAB, 0x000F0001);
  Application()->ProcessMessages();
  EXPECT_TRUE(B->Focused());
  EXPECT_EQ(A->UIState(), UISF_HIDEACCEL);
  EXPECT_EQ(B->UIState(), UISF_HIDEACCEL);
  // Alt shows the underlines.
  PostMessageW(B->Handle(), WM_SYSKEYDOWN, VK_MENU, 0x20380001);
  Application()->ProcessMessages();
  EXPECT_EQ(B->UIState(), 0);
  EXPECT_EQ(Label->UIState(), 0);
}

// What ADraw draws into a white 64 x 20 bitmap, pixel by pixel (colour only).
std::vector<DWORD> Drawn(const std::function<void(HDC)>& ADraw) {
  constexpr Integer W = 64, H = 20;
  TOwned<TBitmap> B(Create<TBitmap>());
  B->SetPixelFormat(TPixelFormat::pf32bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(clWhite);
  B->Canvas()->FillRect(Rect(0, 0, W, H));
  ADraw(B->Canvas()->Handle());
  std::vector<DWORD> Pixels;
  for (Integer Y = 0; Y < H; ++Y) {
    const auto* Row = static_cast<const DWORD*>(B->ScanLine(Y));
    for (Integer X = 0; X < W; ++X) Pixels.push_back(Row[X] & 0xFFFFFF);
  }
  return Pixels;
}

TEST_F(DispatchFixture, FocusRectanglesAndUnderlinesAreDrawnByTheCues) {
  auto* Label = Create<TLabel>(Form.get());
  Label->SetParent(Form.get());
  // Room below the text for the underline.
  Label->SetAutoSize(false);
  Label->SetBounds(0, 0, 64, 20);
  auto* List = Create<TListBox>(Form.get());
  List->SetParent(Form.get());
  List->SetBounds(0, 30, 64, 40);
  List->SetStyle(lbOwnerDrawFixed);
  List->Items()->Add(L"Item");
  Form->Show();
  auto PaintLabel = [&](const String& ACaption) {
    return [&, ACaption](HDC DC) {
      Label->SetCaption(ACaption);
      Label->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    };
  };
  auto PaintItem = [&](UINT AItemState) {
    return [&, AItemState](HDC DC) {
      DRAWITEMSTRUCT Item{ODT_LISTBOX,        0, 0, ODA_DRAWENTIRE, AItemState, List->Handle(), DC,
                          RECT{0, 0, 64, 16}, 0};
      List->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&Item));
    };
  };
  // Each cue drawn by its control, beside the same drawing without it: the
  // two agree while the cue is hidden and differ once it is shown.
  const struct {
    const wchar_t* Name;
    Word Cue;
    std::function<void(HDC)> WithCue, Without;
  } Cases[] = {
      {L"underline", UISF_HIDEACCEL, PaintLabel(L"&Wide"), PaintLabel(L"Wide")},
      {L"focus rectangle", UISF_HIDEFOCUS, PaintItem(ODS_FOCUS), PaintItem(0)},
  };
  for (const auto& C : Cases) {
    for (bool Shown : {false, true}) {
      SendMessageW(Form->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(Shown ? UIS_CLEAR : UIS_SET, C.Cue),
                   0);
      ASSERT_EQ((Label->UIState() & C.Cue) == 0, Shown) << C.Name;
      ASSERT_EQ((List->UIState() & C.Cue) == 0, Shown) << C.Name;
      const std::vector<DWORD> With = Drawn(C.WithCue), Plain = Drawn(C.Without);
      EXPECT_NE(With, Drawn([](HDC) {})) << C.Name << ": nothing drawn";
      if (Shown)
        EXPECT_NE(With, Plain) << C.Name << " shown";
      else
        EXPECT_EQ(With, Plain) << C.Name << " hidden";
    }
  }
}

// --- theme data per window and DPI ----------------------------------------------------

struct TThemeCalls {
  std::vector<String> Log;
};
TThemeCalls* ThemeCalls = nullptr;
HTHEME WINAPI FakeOpen(HWND AWnd, LPCWSTR AClass) {
  ThemeCalls->Log.push_back(L"open " + String(AClass) + L" " +
                            IntToStr(static_cast<Integer>(reinterpret_cast<NativeInt>(AWnd) != 0)));
  return reinterpret_cast<HTHEME>(static_cast<NativeInt>(0x100));
}
HTHEME WINAPI FakeOpenForDpi(HWND AWnd, LPCWSTR AClass, UINT ADpi) {
  ThemeCalls->Log.push_back(L"open " + String(AClass) + L" " +
                            IntToStr(static_cast<Integer>(reinterpret_cast<NativeInt>(AWnd) != 0)) +
                            L" at " + IntToStr(static_cast<Integer>(ADpi)));
  return reinterpret_cast<HTHEME>(static_cast<NativeInt>(0x200 + ADpi));
}
HRESULT WINAPI FakeClose(HTHEME ATheme) {
  ThemeCalls->Log.push_back(L"close " +
                            IntToStr(static_cast<Integer>(reinterpret_cast<NativeInt>(ATheme))));
  return S_OK;
}

TEST_F(DispatchFixture, ThemeDataIsOpenedForTheWindowAtItsDpi) {
  struct {
    bool ForDpi;
    std::vector<String> Opened;
    HTHEME Theme;
  } Cases[] = {
      {true,
       {L"open BUTTON 1 at 144"},
       reinterpret_cast<HTHEME>(static_cast<NativeInt>(0x200 + 144))},
      {false, {L"open BUTTON 1"}, reinterpret_cast<HTHEME>(static_cast<NativeInt>(0x100))},
  };
  for (const auto& C : Cases) {
    TThemeCalls Calls;
    ThemeCalls = &Calls;
    TThemeLibrary Fake;
    Fake.OpenThemeData = &FakeOpen;
    Fake.OpenThemeDataForDpi = C.ForDpi ? &FakeOpenForDpi : nullptr;
    Fake.CloseThemeData = &FakeClose;
    TThemeLibrary Saved = SetThemeLibrary(Fake);
    TOwned<TCustomForm> F(Create<TForm>(nullptr, true));
    auto* Control = Create<TLoggingControl>(F.get());
    Control->SetParent(F.get());
    F->ScaleForPPI(144);
    F->Show();
    EXPECT_EQ(Control->ThemeData(L"BUTTON"), C.Theme) << C.ForDpi;
    EXPECT_EQ(Control->ThemeData(L"button"), C.Theme) << "kept, not opened again";
    EXPECT_EQ(Calls.Log, C.Opened) << C.ForDpi;
    // A new DPI, set by the program or by the platform's message when the
    // form moves to another monitor, closes the old parts; the next use
    // opens them at the new DPI.
    const struct {
      bool ByMessage;
      UINT Dpi;
    } Changes[] = {{false, 96}, {true, 120}};
    HTHEME Opened = C.Theme;
    for (const auto& Change : Changes) {
      Calls.Log.clear();
      if (Change.ByMessage) {
        RECT Suggested{40, 40, 340, 240};
        SendMessageW(F->Handle(), WM_DPICHANGED, MAKEWPARAM(Change.Dpi, Change.Dpi),
                     reinterpret_cast<LPARAM>(&Suggested));
      } else {
        F->ScaleForPPI(static_cast<Integer>(Change.Dpi));
      }
      EXPECT_EQ(Calls.Log,
                (std::vector<String>{L"close " + IntToStr(static_cast<Integer>(
                                                     reinterpret_cast<NativeInt>(Opened)))}))
          << C.ForDpi << " " << Change.Dpi;
      Calls.Log.clear();
      Opened = Control->ThemeData(L"BUTTON");
      const String At = L" at " + IntToStr(static_cast<Integer>(Change.Dpi));
      EXPECT_EQ(Calls.Log,
                (std::vector<String>{C.ForDpi ? L"open BUTTON 1" + At : L"open BUTTON 1"}))
          << Change.Dpi;
    }
    // A theme change and the end of the window close them too.
    Calls.Log.clear();
    SendMessageW(Control->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(Calls.Log.size(), 1u);
    Control->ThemeData(L"BUTTON");
    Calls.Log.clear();
    F.reset();
    EXPECT_EQ(Calls.Log.size(), 1u) << C.ForDpi;
    SetThemeLibrary(Saved);
    ThemeCalls = nullptr;
  }
}

}  // namespace

TEST(MessagePoint, CoordinatesAreSignedSixteenBitValues) {
  const struct {
    WORD X, Y;
    TPoint Expected;
  } Cases[] = {
      {10, 20, {10, 20}},
      {0xFFFF, 0xFFFE, {-1, -2}},  // left of and above the origin
      {0x7FFF, 0x8000, {32767, -32768}},
      {0, 0xFFFF, {0, -1}},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(SmallPointToPoint(MAKELPARAM(C.X, C.Y)), C.Expected) << C.X << L"," << C.Y;
    // Bits above the low 32 (sign extension of a 64-bit LPARAM) change nothing.
    const LPARAM Wide =
        static_cast<LPARAM>(static_cast<Int64>(static_cast<int32_t>(MAKELONG(C.X, C.Y))));
    EXPECT_EQ(SmallPointToPoint(Wide), C.Expected) << C.X << L"," << C.Y;
  }
}
