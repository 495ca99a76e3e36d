// The inner list box in a container: auto-complete with an injected clock,
// keys passed on to the container, and library scroll bars standing exactly
// over the native ones as items come and go.
#include <gtest/gtest.h>

#include <string>

#include "ControlsTestSupport.h"
#include "cxContainer.h"

namespace {

using ControlsTest::CreateForm;
using ControlsTest::ProcessMessages;

DWORD FakeNow = 1000;
DWORD FakeClock() { return FakeNow; }

class TKeyRecorder : public TObject {
  DECLARE_CLASS_INLINE(TKeyRecorder, TObject)
 public:
  void KeyPress(TObject*, Char& Key) { Keys += Key; }
  String Keys;
};

class InnerListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(240, 200));
    Box = Create<TcxContainer>(Form.get());
    Box->SetBounds(10, 10, 150, 120);
    Box->SetParent(Form.get());
    List = Create<TcxCustomInnerListBox>(Form.get());
    List->SetContainer(Box);
    List->SetParent(Box);
    List->SetClock(&FakeClock);
    Box->SetInnerControl(List);
    Box->SetOnKeyPress(MakeEvent<&TKeyRecorder::KeyPress>(&Recorder));
    for (const wchar_t* S : {L"apple", L"Abacus", L"banana", L"cherry", L"abc"})
      List->Items()->Add(S);
    Box->ShortRefreshContainer(false);
    ProcessMessages();
  }
  void TearDown() override { Form.reset(); }
  void Type(Char C) {
    SendMessageW(List->Handle(), WM_CHAR, C, 0);
    FakeNow += 100;
  }
  TOwned<TCustomForm> Form;
  TcxContainer* Box = nullptr;
  TcxCustomInnerListBox* List = nullptr;
  TKeyRecorder Recorder;
};

TEST_F(InnerListBox, TypedLettersSelectTheFirstItemBeginningWithThemInAnyCase) {
  Type(L'a');
  EXPECT_EQ(List->ItemIndex(), 0);
  Type(L'B');
  EXPECT_EQ(List->AutoCompleteFilter(), L"aB");
  EXPECT_EQ(List->ItemIndex(), 1);
  // After a pause longer than the delay a new search starts.
  FakeNow += 600;
  Type(L'c');
  EXPECT_EQ(List->AutoCompleteFilter(), L"c");
  EXPECT_EQ(List->ItemIndex(), 3);
  // Nothing found: the selection stays.
  Type(L'z');
  EXPECT_EQ(List->ItemIndex(), 3);
}

TEST_F(InnerListBox, BackspaceThatEmptiesTheFilterSelectsTheFirstItem) {
  Type(L'b');
  EXPECT_EQ(List->ItemIndex(), 2);
  Type(VK_BACK);
  EXPECT_TRUE(List->AutoCompleteFilter().empty());
  EXPECT_EQ(List->ItemIndex(), 0);
}

TEST_F(InnerListBox, TabAndEnterAreConsumedAfterTheContainerSawEnter) {
  Type(L'\t');
  Type(L'\r');
  Type(L'c');
  EXPECT_EQ(Recorder.Keys, L"\rc");
  EXPECT_EQ(List->ItemIndex(), 3);
  // Tab never moved the selection.
  SendMessageW(List->Handle(), WM_KEYUP, VK_TAB, 0);
  EXPECT_EQ(List->ItemIndex(), 3);
  EXPECT_NE(SendMessageW(List->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS, 0);
}

TEST_F(InnerListBox, LibraryBarStandsExactlyOverTheNativeOne) {
  auto NativeRect = [&](LONG AObject, RECT& R) {
    SCROLLBARINFO I{};
    I.cbSize = sizeof(I);
    if (!GetScrollBarInfo(List->Handle(), AObject, &I) ||
        (I.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)))
      return false;
    R = I.rcScrollBar;
    MapWindowPoints(nullptr, Box->Handle(), reinterpret_cast<POINT*>(&R), 2);
    return true;
  };
  RECT R{};
  ASSERT_FALSE(NativeRect(OBJID_VSCROLL, R));
  EXPECT_FALSE(List->VScrollBar()->Visible());
  for (int I = 0; I < 30; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  ASSERT_TRUE(NativeRect(OBJID_VSCROLL, R));
  TcxScrollBar* Bar = List->VScrollBar();
  EXPECT_TRUE(Bar->Visible());
  EXPECT_EQ(Bar->Parent(), Box);
  EXPECT_EQ(Bar->Left(), R.left);
  EXPECT_EQ(Bar->Top(), R.top);
  EXPECT_EQ(Bar->Width(), R.right - R.left);
  EXPECT_EQ(Bar->Height(), R.bottom - R.top);
  EXPECT_EQ(Bar->Max(), 34);
  // Scrolling from the library bar moves the list.
  Integer APos = 5;
  Bar->OnScroll(Bar, scPosition, APos);
  EXPECT_EQ(List->TopIndex(), 5);
  List->Items()->Clear();
  ProcessMessages();
  EXPECT_FALSE(NativeRect(OBJID_VSCROLL, R));
  EXPECT_FALSE(Bar->Visible());
}

}  // namespace

namespace {

// Without the platform's GetScrollBarInfo nothing is mirrored: the list
// keeps its native bars and the library bars stay hidden.
TEST_F(InnerListBox, WithoutTheScrollBarInfoEntryTheNativeBarsStay) {
  TcxScrollBarInfoEntry ASaved = cxScrollBarInfoEntry();
  cxScrollBarInfoEntry() = TcxScrollBarInfoEntry{true, nullptr};
  auto ARestore = Finally([&] { cxScrollBarInfoEntry() = ASaved; });
  EXPECT_FALSE(UsecxScrollBars());
  for (int I = 0; I < 30; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
  ProcessMessages();
  SCROLLBARINFO AInfo;
  EXPECT_FALSE(cxIsNativeScrollBarVisible(List->Handle(), sbVertical, AInfo));
  EXPECT_FALSE(List->VScrollBar()->Visible());
  EXPECT_NE(GetWindowLongPtrW(List->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
  ARestore.Dismiss();
  cxScrollBarInfoEntry() = ASaved;
  EXPECT_TRUE(UsecxScrollBars());
  EXPECT_TRUE(cxIsNativeScrollBarVisible(List->Handle(), sbVertical, AInfo));
  EXPECT_FALSE(cxIsNativeScrollBarVisible(List->Handle(), sbHorizontal, AInfo));
  List->Items()->Add(L"one more");
  EXPECT_TRUE(List->VScrollBar()->Visible());
}

}  // namespace
