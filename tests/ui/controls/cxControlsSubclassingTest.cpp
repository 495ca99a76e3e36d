// Several parties subclassing one window through the registry.
#include <gtest/gtest.h>

#include <string>

#include "ControlsModules.h"
#include "ControlsTestSupport.h"

namespace {

constexpr UINT kProbe = WM_APP + 20;

// A party: notes its name for the probe message and passes everything on.
struct TParty {
  std::string* Log;
  char Name;
  TcxWindowProcLinkedObject* Link = nullptr;
  void WndProc(TMessage& Message) {
    if (Message.Msg == kProbe) Log->push_back(Name);
    Link->DefaultProc(Message);
  }
  void AddTo(TControl* AControl) {
    Link = cxWindowProcController()->Add(AControl, MakeEvent<&TParty::WndProc>(this));
  }
  void AddTo(HWND AHandle) {
    Link = cxWindowProcController()->Add(AHandle, MakeEvent<&TParty::WndProc>(this));
  }
};

struct Subclassing : testing::Test {
  TOwned<TCustomForm> Form;
  TWinControl* Control = nullptr;
  std::string Log;
  void SetUp() override {
    Form.reset(ControlsTest::CreateForm(100, 60));
    Control = Create<TWinControl>(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(0, 0, 40, 20);
  }
};

TEST_F(Subclassing, NewestPartyFirstAndRemovalInAnyOrder) {
  const TWndMethod Own = Control->WindowProc;
  const Integer Chains = cxWindowProcController()->ChainCount();
  struct TCase {
    const char* Name;
    std::string RemoveOrder;
  };
  for (const TCase& C : {TCase{"first added first", "ab"}, TCase{"newest first", "ba"}}) {
    TParty A{&Log, 'a'}, B{&Log, 'b'};
    A.AddTo(Control);
    B.AddTo(Control);
    Log.clear();
    Control->Perform(kProbe);
    EXPECT_EQ(Log, "ba") << C.Name;
    TParty* First = C.RemoveOrder[0] == 'a' ? &A : &B;
    TParty* Second = First == &A ? &B : &A;
    cxWindowProcController()->Remove(First->Link);
    EXPECT_EQ(First->Link, nullptr);
    Log.clear();
    Control->Perform(kProbe);
    EXPECT_EQ(Log, std::string(1, Second->Name)) << C.Name;
    EXPECT_FALSE(Control->WindowProc == Own) << C.Name;
    cxWindowProcController()->Remove(Second->Link);
    EXPECT_TRUE(Control->WindowProc == Own) << C.Name;
    EXPECT_EQ(cxWindowProcController()->ChainCount(), Chains) << C.Name;
  }
}

TEST_F(Subclassing, AHandleChainRestoresThePlatformProcedureExactly) {
  HWND Wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
  const LONG_PTR Own = GetWindowLongPtrW(Wnd, GWLP_WNDPROC);
  TParty A{&Log, 'a'}, B{&Log, 'b'}, C{&Log, 'c'};
  A.AddTo(Wnd);
  B.AddTo(Wnd);
  C.AddTo(Wnd);
  SendMessageW(Wnd, kProbe, 0, 0);
  EXPECT_EQ(Log, "cba");
  cxWindowProcController()->Remove(B.Link);  // the middle one
  Log.clear();
  SendMessageW(Wnd, kProbe, 0, 0);
  EXPECT_EQ(Log, "ca");
  // Messages still reach the window's own procedure at the end of the chain.
  SendMessageW(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"own"));
  wchar_t Text[8] = {};
  GetWindowTextW(Wnd, Text, 8);
  EXPECT_STREQ(Text, L"own");
  cxWindowProcController()->Remove(C.Link);
  cxWindowProcController()->Remove(A.Link);
  EXPECT_EQ(GetWindowLongPtrW(Wnd, GWLP_WNDPROC), Own);
  DestroyWindow(Wnd);
}

TEST_F(Subclassing, AControlAndItsHandleAreTwoChains) {
  const Integer Chains = cxWindowProcController()->ChainCount();
  TParty OnControl{&Log, 'c'}, OnHandle{&Log, 'h'};
  OnControl.AddTo(Control);
  OnHandle.AddTo(Control->Handle());
  EXPECT_EQ(cxWindowProcController()->ChainCount(), Chains + 2);
  // A sent message passes the platform procedure's chain first, then the
  // framework's window procedure reaches the control's chain.
  SendMessageW(Control->Handle(), kProbe, 0, 0);
  EXPECT_EQ(Log, "hc");
  cxWindowProcController()->Remove(OnHandle.Link);
  cxWindowProcController()->Remove(OnControl.Link);
  EXPECT_EQ(cxWindowProcController()->ChainCount(), Chains);
}

TEST_F(Subclassing, NilControlsAndZeroHandlesAreRefused) {
  TParty A{&Log, 'a'};
  EXPECT_EQ(cxWindowProcController()->Add(static_cast<TControl*>(nullptr),
                                          MakeEvent<&TParty::WndProc>(&A)),
            nullptr);
  EXPECT_EQ(
      cxWindowProcController()->Add(static_cast<HWND>(nullptr), MakeEvent<&TParty::WndProc>(&A)),
      nullptr);
  TcxWindowProcLinkedObject* None = nullptr;
  cxWindowProcController()->Remove(None);
  EXPECT_EQ(None, nullptr);
}

}  // namespace
