// The edit and the list box as the library's text editors and their lists
// use them, driven with real input; the clipboard between them; forms and
// panels moved onto a popup window and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "Clipbrd.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestInput.h"
// After the platform headers: imm.h relies on them.
#include <imm.h>

namespace {

using FrameworkTest::SendKey;

void Pump() { Application()->ProcessMessages(); }

bool PumpUntil(const std::function<bool()>& ADone) {
  for (int I = 0; I < 200; ++I) {
    Pump();
    if (ADone()) return true;
    Sleep(5);
  }
  return ADone();
}

void Press(WORD AKey) {
  SendKey(AKey, false);
  SendKey(AKey, true);
  Pump();
}

void PressWith(WORD AModifier, WORD AKey) {
  SendKey(AModifier, false);
  Press(AKey);
  SendKey(AModifier, true);
  Pump();
}

// Letters and digits as the keyboard sends them (lower case without Shift).
void Type(const char* AKeys) {
  for (const char* P = AKeys; *P; ++P) Press(static_cast<WORD>(toupper(*P)));
}

void SendMouse(DWORD AFlags, POINT P) {
  SetCursorPos(P.x, P.y);
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dwFlags = AFlags;
  if (AFlags) SendInput(1, &In, sizeof(In));
  Pump();
}

void Click(TControl* AControl, Integer X, Integer Y) {
  TPoint P = AControl->ClientToScreen(Point(X, Y));
  SendMouse(0, P);
  SendMouse(MOUSEEVENTF_LEFTDOWN, P);
  SendMouse(MOUSEEVENTF_LEFTUP, P);
}

LONG StyleOf(HWND Wnd) { return GetWindowLongW(Wnd, GWL_STYLE); }

struct TChanges {
  std::vector<String> Texts;
  Integer Clicks = 0;
  Integer DblClicks = 0;
  void DblClick(TObject*) { ++DblClicks; }
  void Change(TObject* Sender) { Texts.push_back(static_cast<TControl*>(Sender)->Text()); }
  void Click(TObject*) { ++Clicks; }
};

struct TextControls : testing::Test {
  TOwned<TCustomForm> Form;
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(60, 60, 420, 300);
  }
  void TearDown() override {
    SendMouse(MOUSEEVENTF_LEFTUP, POINT{700, 500});
    Form.reset();
    Pump();
  }
  template <class T>
  T* Add(TRect R, TWinControl* AParent = nullptr) {
    T* C = Create<T>(Form.get());
    C->SetParent(AParent ? AParent : Form.get());
    C->SetBoundsRect(R);
    return C;
  }
  // Shows the form in front and gives AControl the keyboard.
  void Focus(TWinControl* AControl) {
    Form->Show();
    SetForegroundWindow(Form->Handle());
    AControl->SetFocus();
    PumpUntil([&] { return GetFocus() == AControl->Handle(); });
  }
};

// Left, right and centre: the first and last columns where a dark word on a
// white ground has ink.
struct TInk {
  Integer First = -1, Last = -1;
};
TInk InkColumns(HWND Wnd, Integer ADarkerThan = 128) {
  RECT R;
  GetClientRect(Wnd, &R);
  HDC DC = GetDC(Wnd);
  TInk Ink;
  for (Integer X = 0; X < R.right; ++X)
    for (Integer Y = 0; Y < R.bottom; ++Y)
      if (COLORREF C = GetPixel(DC, X, Y);
          C != CLR_INVALID && GetRValue(C) + GetGValue(C) + GetBValue(C) < 3 * ADarkerThan) {
        if (Ink.First < 0) Ink.First = X;
        Ink.Last = X;
        break;
      }
  ReleaseDC(Wnd, DC);
  return Ink;
}

TEST_F(TextControls, EditAlignmentAndOemConversionReachTheWindowAndKeepTheText) {
  struct TCase {
    const char* Name;
    std::function<void(TEdit*)> Set;
    LONG Style;
    LONG Without;
  };
  const TCase Cases[] = {
      {"right", [](TEdit* E) { E->SetAlignment(taRightJustify); }, ES_RIGHT, ES_CENTER},
      {"centre", [](TEdit* E) { E->SetAlignment(taCenter); }, ES_CENTER, ES_RIGHT},
      {"OEM", [](TEdit* E) { E->SetOEMConvert(true); }, ES_OEMCONVERT, ES_RIGHT | ES_CENTER},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEdit* E = Add<TEdit>(Bounds(10, 10, 200, 24));
    E->SetText(L"word");
    E->SetMaxLength(9);
    Form->Show();
    EXPECT_EQ(StyleOf(E->Handle()) & (ES_RIGHT | ES_CENTER | ES_OEMCONVERT), 0);
    C.Set(E);
    LONG Style = StyleOf(E->Handle());
    EXPECT_EQ(Style & C.Style, C.Style);
    EXPECT_EQ(Style & C.Without, 0);
    EXPECT_EQ(E->Text(), L"word");
    EXPECT_EQ(SendMessageW(E->Handle(), EM_GETLIMITTEXT, 0, 0), 9);
    E->Free();
  }
}

TEST_F(TextControls, AlignedEditDrawsItsTextAtItsSide) {
  Form->SetColor(clWhite);
  struct TCase {
    TAlignment Alignment;
    const char* Name;
  };
  const TCase Cases[] = {{taLeftJustify, "left"}, {taRightJustify, "right"}, {taCenter, "centre"}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEdit* E = Add<TEdit>(Bounds(10, 10, 240, 24));
    E->SetBorderStyle(bsNone);
    E->SetColor(clWhite);
    E->Font()->SetColor(clBlack);
    E->SetText(L"MMMM");
    E->SetAlignment(C.Alignment);
    // Unfocused: a focused edit shows its text selected.
    E->SetTabStop(false);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    E->Repaint();
    TInk Ink = InkColumns(E->Handle());
    ASSERT_GE(Ink.First, 0);
    Integer Width = E->ClientWidth(), Middle = (Ink.First + Ink.Last) / 2;
    switch (C.Alignment) {
      case taLeftJustify:
        EXPECT_LT(Ink.First, 8);
        break;
      case taRightJustify:
        EXPECT_GT(Ink.Last, Width - 8);
        break;
      case taCenter:
        EXPECT_NEAR(Middle, Width / 2, 4);
        break;
    }
    E->Free();
  }
}

// The program's edits are the common controls' version 6 (its manifest asks
// for them); this process has none, so the version is asked for around the
// making of the windows, as the manifest would.
class TCommonControls6 {
 public:
  TCommonControls6() {
    wchar_t Dir[MAX_PATH];
    GetTempPathW(MAX_PATH, Dir);
    FPath = String(Dir) + L"framework-tests-cc6.manifest";
    const char Manifest[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
        "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
        "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
        "</dependentAssembly></dependency></assembly>";
    HANDLE F = CreateFileW(FPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (F == INVALID_HANDLE_VALUE) return;
    DWORD Written = 0;
    WriteFile(F, Manifest, sizeof(Manifest) - 1, &Written, nullptr);
    CloseHandle(F);
    ACTCTXW Ctx{sizeof(Ctx)};
    Ctx.lpSource = FPath.c_str();
    FContext = CreateActCtxW(&Ctx);
    if (FContext != INVALID_HANDLE_VALUE && !ActivateActCtx(FContext, &FCookie)) FCookie = 0;
  }
  ~TCommonControls6() {
    if (FCookie) DeactivateActCtx(0, FCookie);
    if (FContext != INVALID_HANDLE_VALUE) ReleaseActCtx(FContext);
    DeleteFileW(FPath.c_str());
  }
  bool Active() const { return FCookie != 0; }
  TCommonControls6(const TCommonControls6&) = delete;
  TCommonControls6& operator=(const TCommonControls6&) = delete;

 private:
  String FPath;
  HANDLE FContext = INVALID_HANDLE_VALUE;
  ULONG_PTR FCookie = 0;
};

TEST_F(TextControls, TextHintReachesTheWindowAndSurvivesRecreation) {
  TCommonControls6 Version6;
  ASSERT_TRUE(Version6.Active());
  TEdit* E = Add<TEdit>(Bounds(10, 10, 200, 24));
  E->SetTextHint(L"Search…");
  Form->Show();
  auto Cue = [&] {
    wchar_t Buf[32] = {};
    SendMessageW(E->Handle(), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(Buf), 32);
    return String(Buf);
  };
  EXPECT_EQ(Cue(), L"Search…");
  E->SetCharCase(ecUpperCase);  // a new window
  EXPECT_EQ(Cue(), L"Search…");
  E->SetTextHint(L"Другое");
  EXPECT_EQ(Cue(), L"Другое");
  EXPECT_EQ(E->TextHint(), L"Другое");
  // The empty unfocused edit shows the cue (in grey text): something is
  // drawn on its white ground, and nothing once the cue is gone.
  E->SetTabStop(false);
  E->SetColor(clWhite);
  SetForegroundWindow(Form->Handle());
  E->Repaint();
  EXPECT_GE(InkColumns(E->Handle(), 250).First, 0);
  E->SetTextHint(L"");
  E->Repaint();
  EXPECT_LT(InkColumns(E->Handle(), 250).First, 0);
}

TEST_F(TextControls, TypedTextFollowsCaseLimitAndReadOnly) {
  struct TCase {
    const char* Name;
    std::function<void(TEdit*)> Set;
    const char* Keys;
    const wchar_t* Expect;
    size_t Changes;  // texts the change events saw, repeats counted once
  };
  const TCase Cases[] = {
      {"plain", [](TEdit*) {}, "ab1", L"ab1", 3},
      {"upper case", [](TEdit* E) { E->SetCharCase(ecUpperCase); }, "ab1", L"AB1", 3},
      {"limit", [](TEdit* E) { E->SetMaxLength(2); }, "abcd", L"ab", 2},
      {"read-only", [](TEdit* E) { E->SetReadOnly(true); }, "ab", L"", 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEdit* E = Add<TEdit>(Bounds(10, 10, 200, 24));
    TChanges Log;
    E->OnChange = MakeEvent<&TChanges::Change>(&Log);
    C.Set(E);
    Focus(E);
    Type(C.Keys);
    EXPECT_EQ(E->Text(), C.Expect);
    // The platform may report a key refused at the limit as a change.
    Log.Texts.erase(std::unique(Log.Texts.begin(), Log.Texts.end()), Log.Texts.end());
    EXPECT_EQ(Log.Texts.size(), C.Changes);
    EXPECT_EQ(E->Modified(), C.Changes > 0);
    E->Free();
  }
}

TEST_F(TextControls, ClipboardRoundTripThroughTypedKeysAndTheEdit) {
  TEdit* E = Add<TEdit>(Bounds(10, 10, 200, 24));
  Focus(E);
  Clipboard()->SetAsText(L"Мир 42");
  PressWith(VK_CONTROL, 'V');
  EXPECT_EQ(E->Text(), L"Мир 42");
  // Shift+Home selects what was pasted; Ctrl+X takes it to the clipboard.
  E->SetSelStart(3);
  E->SetSelLength(3);
  EXPECT_EQ(E->SelText(), L" 42");
  PressWith(VK_CONTROL, 'X');
  EXPECT_EQ(E->Text(), L"Мир");
  EXPECT_EQ(Clipboard()->AsText(), L" 42");
  // Undo brings the cut text back; copying leaves the text alone.
  ASSERT_TRUE(E->CanUndo());
  E->Undo();
  EXPECT_EQ(E->Text(), L"Мир 42");
  E->SelectAll();
  E->CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), L"Мир 42");
  // A paste longer than the limit is cut to it.
  E->SetMaxLength(4);
  E->Clear();
  E->PasteFromClipboard();
  EXPECT_EQ(E->Text(), L"Мир ");
  // Text put there as 8-bit text only reads back as well.
  {
    TClipboard::TOpened Open(Clipboard());
    Clipboard()->Clear();
    const char Ansi[] = "plain";
    HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, sizeof(Ansi));
    memcpy(GlobalLock(Mem), Ansi, sizeof(Ansi));
    GlobalUnlock(Mem);
    Clipboard()->SetAsHandle(CF_TEXT, Mem);
  }
  EXPECT_EQ(Clipboard()->AsText(), L"plain");
}

TEST_F(TextControls, ImeModeHoldsWhileTheControlHasTheFocus) {
  TEdit* E = Add<TEdit>(Bounds(10, 10, 200, 24));
  TEdit* Other = Add<TEdit>(Bounds(10, 40, 200, 24));
  Focus(Other);
  auto HasContext = [](HWND Wnd) {
    HIMC C = ImmGetContext(Wnd);
    if (C) ImmReleaseContext(Wnd, C);
    return C != nullptr;
  };
  if (!HasContext(E->Handle())) GTEST_SKIP() << "no input context on this platform";
  E->SetImeMode(imDisable);
  EXPECT_TRUE(HasContext(E->Handle()));  // not focused: nothing taken yet
  Focus(E);
  EXPECT_FALSE(HasContext(E->Handle()));
  Focus(Other);
  EXPECT_TRUE(HasContext(E->Handle()));
  Focus(E);
  EXPECT_FALSE(HasContext(E->Handle()));
  // Changed while focused: the input method comes back at once and opens.
  E->SetImeMode(imOpen);
  ASSERT_TRUE(HasContext(E->Handle()));
  HIMC C = ImmGetContext(E->Handle());
  EXPECT_TRUE(ImmGetOpenStatus(C));
  ImmReleaseContext(E->Handle(), C);
  E->SetImeMode(imClose);
  C = ImmGetContext(E->Handle());
  EXPECT_FALSE(ImmGetOpenStatus(C));
  ImmReleaseContext(E->Handle(), C);
  // A name no input method has changes no layout.
  HKL Before = GetKeyboardLayout(0);
  E->SetImeName(L"no such input method");
  EXPECT_EQ(GetKeyboardLayout(0), Before);
}

// -- List box

struct TRowPainter {
  void Measure(TWinControl*, Integer Index, Integer& Height) { Height = 12 + 4 * Index; }
};

TEST_F(TextControls, ListBoxRowAtPoint) {
  TListBox* L = Add<TListBox>(Bounds(10, 10, 150, 200));
  L->SetStyle(lbOwnerDrawFixed);
  L->SetItemHeight(20);
  for (const wchar_t* S : {L"a", L"b", L"c"}) L->Items()->Add(S);
  Form->Show();
  Integer Below = 3 * 20 + 10;
  struct TCase {
    TPoint P;
    bool Existing;
    Integer Expect;
  };
  const TCase Cases[] = {
      {Point(5, 5), true, 0},      {Point(5, 45), false, 2}, {Point(5, Below), true, -1},
      {Point(5, Below), false, 3}, {Point(-5, 5), true, -1}, {Point(-5, 5), false, -1},
      {Point(5, 1000), false, -1},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.P.x << "," << C.P.y << " existing " << C.Existing);
    EXPECT_EQ(L->ItemAtPos(C.P, C.Existing), C.Expect);
  }
  // Scrolled: rows count from the top row shown.
  for (int I = 0; I < 20; ++I) L->Items()->Add(L"more");
  L->SetTopIndex(5);
  EXPECT_EQ(L->ItemAtPos(Point(5, 25), true), 6);
}

TEST_F(TextControls, ListBoxFrameAndScrollWidthSurviveRecreation) {
  TListBox* L = Add<TListBox>(Bounds(10, 10, 120, 100));
  L->Items()->Add(L"item");
  L->SetBorderStyle(bsNone);
  L->SetScrollWidth(400);
  Form->Show();
  EXPECT_FALSE(GetWindowLongW(L->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(SendMessageW(L->Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 400);
  SCROLLINFO SI{sizeof(SI), SIF_RANGE | SIF_PAGE};
  ASSERT_TRUE(GetScrollInfo(L->Handle(), SB_HORZ, &SI));
  EXPECT_GE(SI.nMax, 399);
  L->SetStyle(lbOwnerDrawFixed);  // a new window
  EXPECT_EQ(L->ScrollWidth(), 400);
  EXPECT_EQ(SendMessageW(L->Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 400);
  L->SetBorderStyle(bsSingle);
  EXPECT_TRUE(GetWindowLongW(L->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(L->ScrollWidth(), 400);
  L->SetScrollWidth(-3);
  EXPECT_EQ(L->ScrollWidth(), 0);
}

TEST_F(TextControls, VariableRowsKeepTheirHeightsOutOfViewAndAppendingKeepsTheScroll) {
  TListBox* L = Add<TListBox>(Bounds(10, 10, 150, 100));
  TRowPainter Rows;
  L->SetStyle(lbOwnerDrawVariable);
  L->OnMeasureItem = MakeEvent<&TRowPainter::Measure>(&Rows);
  for (int I = 0; I < 12; ++I) L->Items()->Add(Format(L"row %d", {I}));
  Form->Show();
  // The first rows' heights add up whether they are shown or not.
  Integer Sum = 0;
  for (Integer I = 0; I < 12; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(RectHeight(L->ItemRect(I)), 12 + 4 * I);
    Sum += RectHeight(L->ItemRect(I));
  }
  EXPECT_EQ(Sum, 12 * 12 + 4 * 66);
  L->SetTopIndex(4);
  L->SetItemIndex(5);
  L->Items()->Add(L"appended");
  EXPECT_EQ(L->TopIndex(), 4);
  EXPECT_EQ(L->ItemIndex(), 5);
  EXPECT_EQ(RectHeight(L->ItemRect(12)), 12 + 4 * 12);
  // A new item height is where measuring starts: the rows are measured again.
  L->OnMeasureItem = {};
  L->SetItemHeight(30);
  EXPECT_EQ(RectHeight(L->ItemRect(0)), 30);
  EXPECT_EQ(RectHeight(L->ItemRect(7)), 30);
  EXPECT_EQ(L->Items()->Count(), 13);
}

TEST_F(TextControls, OwnerDrawnRowsShowSelectionAndFollowKeysAndClicks) {
  Form->SetColor(clWhite);
  TListBox* L = Add<TListBox>(Bounds(10, 10, 150, 120));
  L->SetStyle(lbOwnerDrawFixed);
  L->SetItemHeight(18);
  L->SetColor(clWhite);
  for (const wchar_t* S : {L"one", L"two", L"three", L"four"}) L->Items()->Add(S);
  TChanges Log;
  L->OnClick = MakeEvent<&TChanges::Click>(&Log);
  Focus(L);
  L->SetItemIndex(1);
  L->Update();
  auto RowColour = [&](Integer Row) {
    TRect R = L->ItemRect(Row);
    HDC DC = GetDC(L->Handle());
    // Right of the text, inside the focus rectangle.
    COLORREF C = GetPixel(DC, R.right - 6, R.top + RectHeight(R) / 2);
    ReleaseDC(L->Handle(), DC);
    return C;
  };
  EXPECT_EQ(RowColour(1), ColorToRGB(clHighlight));
  EXPECT_EQ(RowColour(0), RGB(255, 255, 255));
  EXPECT_EQ(RowColour(2), RGB(255, 255, 255));
  Press(VK_DOWN);
  EXPECT_EQ(L->ItemIndex(), 2);
  EXPECT_EQ(Log.Clicks, 1);
  L->Update();
  EXPECT_EQ(RowColour(2), ColorToRGB(clHighlight));
  EXPECT_EQ(RowColour(1), RGB(255, 255, 255));
  L->OnDblClick = MakeEvent<&TChanges::DblClick>(&Log);
  Click(L, 20, L->ItemRect(3).top + 5);
  EXPECT_EQ(L->ItemIndex(), 3);
  EXPECT_EQ(Log.Clicks, 2);
  EXPECT_EQ(Log.DblClicks, 0);
  Click(L, 20, L->ItemRect(0).top + 5);
  Click(L, 20, L->ItemRect(0).top + 5);
  EXPECT_EQ(L->ItemIndex(), 0);
  EXPECT_EQ(Log.DblClicks, 1);
  // The item height of fixed rows reaches every row.
  L->SetItemHeight(24);
  EXPECT_EQ(RectHeight(L->ItemRect(3)), 24);
}

// -- Moving onto a popup and back

TEST_F(TextControls, FormOnAPopupIsAChildWindowAndTopLevelAgainAfterwards) {
  TEdit* Keeper = Add<TEdit>(Bounds(10, 10, 100, 24));
  TOwned<TCustomForm> Popup(Create<TForm>(nullptr, true));
  Popup->SetBorderStyle(bsNone);
  Popup->SetBounds(100, 100, 200, 150);
  Popup->Show();
  Focus(Keeper);
  TOwned<TCustomForm> Inner(Create<TForm>(nullptr, true));
  Inner->SetBorderStyle(bsSizeable);
  Inner->SetBounds(300, 300, 180, 120);
  auto* InnerEdit = Create<TEdit>(Inner.get());
  InnerEdit->SetParent(Inner.get());
  InnerEdit->SetText(L"kept");
  Inner->HandleNeeded();

  Inner->SetBorderStyle(bsNone);
  Inner->SetParent(Popup.get());
  Inner->SetAlign(alClient);
  Inner->SetVisible(true);
  Pump();
  HWND H = Inner->Handle();
  EXPECT_TRUE(StyleOf(H) & WS_CHILD);
  EXPECT_FALSE(StyleOf(H) & (WS_POPUP | WS_CAPTION));
  EXPECT_EQ(GetParent(H), Popup->Handle());
  EXPECT_TRUE(IsWindowVisible(H));
  EXPECT_EQ(Inner->BoundsRect(), Popup->ClientRect());
  EXPECT_EQ(InnerEdit->Text(), L"kept");
  // Showing the form on the popup took the focus from nowhere.
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_EQ(GetFocus(), Keeper->Handle());

  Inner->SetVisible(false);
  Inner->SetParent(nullptr);
  Inner->SetAlign(alNone);
  Inner->SetBorderStyle(bsSizeable);
  Inner->SetBounds(300, 300, 180, 120);
  Popup->SetVisible(false);
  H = Inner->Handle();
  EXPECT_FALSE(StyleOf(H) & WS_CHILD);
  EXPECT_TRUE(StyleOf(H) & WS_CAPTION);
  EXPECT_FALSE(IsWindowVisible(H));
  EXPECT_EQ(InnerEdit->Text(), L"kept");
  Inner->Show();
  Pump();
  EXPECT_TRUE(IsWindowVisible(H));
  EXPECT_EQ(GetAncestor(H, GA_ROOT), H);
}

TEST_F(TextControls, PanelMovedOntoAPopupKeepsItsControlsState) {
  TPanel* Panel = Add<TPanel>(Bounds(10, 10, 200, 100));
  TEdit* E = Add<TEdit>(Bounds(5, 5, 150, 24), Panel);
  Focus(E);
  Type("ab");
  TOwned<TCustomForm> Popup(Create<TForm>(nullptr, true));
  Popup->SetBorderStyle(bsNone);
  Popup->SetBounds(100, 100, 250, 150);
  Panel->SetParent(Popup.get());
  Panel->SetAlign(alClient);
  Popup->Show();
  Pump();
  EXPECT_EQ(GetParent(Panel->Handle()), Popup->Handle());
  EXPECT_EQ(GetAncestor(E->Handle(), GA_ROOT), Popup->Handle());
  EXPECT_EQ(E->Text(), L"ab");
  EXPECT_TRUE(E->Modified());
  Panel->SetParent(Form.get());
  Panel->SetAlign(alNone);
  Panel->SetBounds(10, 10, 200, 100);
  Popup->Hide();
  Pump();
  EXPECT_EQ(GetAncestor(E->Handle(), GA_ROOT), Form->Handle());
  EXPECT_TRUE(IsWindowVisible(E->Handle()));
  EXPECT_EQ(E->Text(), L"ab");
}

}  // namespace
