#include <gtest/gtest.h>

#include "Forms.h"
#include "StdCtrls.h"

namespace {

struct TEvents {
  int Changes = 0;
  int Clicks = 0;
  int Selects = 0;
  std::vector<String> Texts;
  void Change(TObject* Sender) {
    ++Changes;
    Texts.push_back(static_cast<TControl*>(Sender)->Text());
  }
  void Click(TObject*) { ++Clicks; }
  void Select(TObject*) { ++Selects; }
};

String WindowText(HWND Wnd) {
  wchar_t Buf[1024] = {};
  GetWindowTextW(Wnd, Buf, 1024);
  return Buf;
}

LONG StyleOf(HWND Wnd) { return GetWindowLongW(Wnd, GWL_STYLE); }

// A form built in code with one control of each kind put on it by the test.
struct StdCtrlsFixture : testing::Test {
  TOwned<TCustomForm> Form;
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(40, 40, 400, 300);
  }
  void TearDown() override { Form.reset(); }
  template <class T>
  T* Add(TRect R = Bounds(10, 10, 150, 100)) {
    T* C = Create<T>(Form.get());
    C->SetParent(Form.get());
    C->SetBoundsRect(R);
    return C;
  }
  void PressKey(HWND Wnd, WPARAM Key) {
    // Through the application's message loop, as a real key press arrives.
    PostMessageW(Wnd, WM_KEYDOWN, Key, 0x00000001);
    PostMessageW(Wnd, WM_KEYUP, Key, 0xC0000001);
    Application()->ProcessMessages();
  }
};

TEST_F(StdCtrlsFixture, EditPropertiesReachTheWindowAndSurviveRecreation) {
  TEdit* E = Add<TEdit>();
  E->SetText(L"before window");
  E->SetMaxLength(5);
  E->SetReadOnly(true);
  E->SetPasswordChar(L'*');
  Form->Show();
  HWND H = E->Handle();
  EXPECT_EQ(WindowText(H), L"before window");
  EXPECT_EQ(SendMessageW(H, EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_TRUE(StyleOf(H) & ES_READONLY);
  EXPECT_EQ(SendMessageW(H, EM_GETPASSWORDCHAR, 0, 0), L'*');
  E->SetReadOnly(false);
  EXPECT_FALSE(StyleOf(E->Handle()) & ES_READONLY);
  E->SetPasswordChar(0);
  EXPECT_EQ(SendMessageW(E->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);

  // Style changes recreate the window and keep the text (the platform
  // converts its case) and the limit.
  E->SetCharCase(ecUpperCase);
  EXPECT_NE(E->Handle(), nullptr);
  EXPECT_TRUE(StyleOf(E->Handle()) & ES_UPPERCASE);
  EXPECT_EQ(E->Text(), L"BEFORE WINDOW");
  EXPECT_EQ(SendMessageW(E->Handle(), EM_GETLIMITTEXT, 0, 0), 5);
  E->SetCharCase(ecLowerCase);
  EXPECT_TRUE(StyleOf(E->Handle()) & ES_LOWERCASE);
  EXPECT_FALSE(StyleOf(E->Handle()) & ES_UPPERCASE);
  E->SetHideSelection(false);
  EXPECT_TRUE(StyleOf(E->Handle()) & ES_NOHIDESEL);
  // No limit is the platform's largest one.
  E->SetMaxLength(0);
  EXPECT_GT(SendMessageW(E->Handle(), EM_GETLIMITTEXT, 0, 0), 30000);
}

TEST_F(StdCtrlsFixture, EditSelectionAndOnChange) {
  TEdit* E = Add<TEdit>();
  TEvents Ev;
  E->OnChange = MakeEvent<&TEvents::Change>(&Ev);
  E->SetText(L"set before the window");  // no window yet: no change event
  Form->Show();
  EXPECT_EQ(Ev.Changes, 0);
  E->SetText(L"Hello world");
  EXPECT_EQ(Ev.Changes, 1);
  EXPECT_EQ(Ev.Texts.back(), L"Hello world");
  E->SetSelStart(6);
  E->SetSelLength(5);
  EXPECT_EQ(E->SelStart(), 6);
  EXPECT_EQ(E->SelLength(), 5);
  EXPECT_EQ(E->SelText(), L"world");
  E->SetSelText(L"there");
  EXPECT_EQ(E->Text(), L"Hello there");
  EXPECT_EQ(Ev.Changes, 2);
  E->SelectAll();
  EXPECT_EQ(E->SelLength(), 11);
  // The limit applies to what the user enters, replacements included.
  E->SetMaxLength(12);
  E->SetSelStart(11);
  E->SetSelText(L"!!!");
  EXPECT_EQ(E->Text(), L"Hello there!");
  E->Clear();
  EXPECT_EQ(E->Text(), L"");
}

TEST_F(StdCtrlsFixture, EditSelectsAllWhenEnteredByKeyboard) {
  TEdit* A = Add<TEdit>(Bounds(10, 10, 100, 21));
  TEdit* B = Add<TEdit>(Bounds(10, 40, 100, 21));
  B->SetText(L"select me");
  TEdit* C = Add<TEdit>(Bounds(10, 70, 100, 21));
  C->SetText(L"keep caret");
  C->SetAutoSelect(false);
  Form->Show();
  SetForegroundWindow(Form->Handle());
  A->SetFocus();
  Application()->ProcessMessages();
  B->SetFocus();
  Application()->ProcessMessages();
  EXPECT_EQ(B->SelLength(), 9);
  C->SetSelStart(2);
  C->SetFocus();
  Application()->ProcessMessages();
  EXPECT_EQ(C->SelLength(), 0);
}

TEST_F(StdCtrlsFixture, MemoLinesAreALiveListOverTheWindowText) {
  TMemo* M = Add<TMemo>();
  M->Lines()->Add(L"first");
  M->Lines()->Add(L"second");
  EXPECT_EQ(M->Lines()->Count(), 2);
  EXPECT_EQ(M->Text(), L"first\r\nsecond\r\n");
  Form->Show();
  TStrings* L = M->Lines();
  EXPECT_EQ(WindowText(M->Handle()), L"first\r\nsecond\r\n");
  EXPECT_EQ(L->Count(), 2);
  L->Add(L"third");
  L->Insert(0, L"zero");
  L->Insert(2, L"one and a half");
  EXPECT_EQ(M->Text(), L"zero\r\nfirst\r\none and a half\r\nsecond\r\nthird\r\n");
  L->Delete(2);
  L->Delete(3);
  EXPECT_EQ(M->Text(), L"zero\r\nfirst\r\nsecond\r\n");
  EXPECT_EQ(L->Strings(1), L"first");
  EXPECT_THROW(L->Strings(3), EStringListError);
  EXPECT_THROW(L->Delete(5), EStringListError);
  // Text set with bare line feeds reads back line by line.
  L->SetText(L"a\nb\nc");
  EXPECT_EQ(L->Count(), 3);
  EXPECT_EQ(L->Strings(2), L"c");
  // A last line without a break counts; adding after it breaks the line first.
  M->SetText(L"x\r\ny");
  EXPECT_EQ(L->Count(), 2);
  L->Add(L"z");
  EXPECT_EQ(M->Text(), L"x\r\ny\r\nz\r\n");
  L->Clear();
  EXPECT_EQ(L->Count(), 0);
  L->Add(L"");
  L->Add(L"after empty");
  EXPECT_EQ(L->Count(), 2);
  EXPECT_EQ(L->Strings(0), L"");
  // Assign through the published property copies into the window.
  TOwned<TStringList> Src(Create<TStringList>());
  Src->Add(L"copied");
  M->SetLines(Src.get());
  EXPECT_EQ(M->Text(), L"copied\r\n");
}

TEST_F(StdCtrlsFixture, MemoStylesAndDialogCodes) {
  TMemo* M = Add<TMemo>();
  M->SetText(L"keep");
  Form->Show();
  HWND H = M->Handle();
  EXPECT_TRUE(StyleOf(H) & ES_MULTILINE);
  EXPECT_TRUE(StyleOf(H) & ES_WANTRETURN);
  EXPECT_FALSE(StyleOf(H) & ES_AUTOHSCROLL);  // word wrap
  struct Case {
    TScrollStyle Bars;
    bool V, Hz;
  } Cases[] = {{ssNone, false, false},
               {ssVertical, true, false},
               {ssHorizontal, false, true},
               {ssBoth, true, true}};
  for (const Case& C : Cases) {
    M->SetScrollBars(C.Bars);
    EXPECT_EQ((StyleOf(M->Handle()) & WS_VSCROLL) != 0, C.V) << C.Bars;
    EXPECT_EQ((StyleOf(M->Handle()) & WS_HSCROLL) != 0, C.Hz) << C.Bars;
  }
  M->SetWordWrap(false);
  EXPECT_TRUE(StyleOf(M->Handle()) & ES_AUTOHSCROLL);
  EXPECT_EQ(M->Text(), L"keep");
  // Tabs and returns go to the memo only when it wants them.
  EXPECT_FALSE(M->Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
  M->SetWantTabs(true);
  EXPECT_TRUE(M->Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
  EXPECT_TRUE(M->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
  M->SetWantReturns(false);
  EXPECT_FALSE(M->Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
}

TEST_F(StdCtrlsFixture, ReturnAndEscapeReachDefaultAndCancelButtons) {
  TEdit* E = Add<TEdit>(Bounds(10, 10, 100, 21));
  TButton* Ok = Add<TButton>(Bounds(10, 50, 75, 25));
  TButton* Cancel = Add<TButton>(Bounds(100, 50, 75, 25));
  TButton* Other = Add<TButton>(Bounds(190, 50, 75, 25));
  Ok->SetDefault(true);
  Ok->SetModalResult(mrOk);
  Cancel->SetCancel(true);
  Cancel->SetModalResult(mrCancel);
  TEvents OkEv, OtherEv;
  Ok->OnClick = MakeEvent<&TEvents::Click>(&OkEv);
  Other->OnClick = MakeEvent<&TEvents::Click>(&OtherEv);
  Form->Show();
  SetForegroundWindow(Form->Handle());
  E->SetFocus();
  Application()->ProcessMessages();
  ASSERT_TRUE(E->Focused());
  EXPECT_TRUE(Ok->Active());
  EXPECT_EQ(StyleOf(Ok->Handle()) & 0xF, BS_DEFPUSHBUTTON);

  PressKey(E->Handle(), VK_RETURN);
  EXPECT_EQ(OkEv.Clicks, 1);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  Form->SetModalResult(mrNone);
  PressKey(E->Handle(), VK_ESCAPE);
  EXPECT_EQ(Form->ModalResult(), mrCancel);
  Form->SetModalResult(mrNone);

  // The frame follows the focus to another button, which then takes Enter.
  Other->SetFocus();
  Application()->ProcessMessages();
  EXPECT_TRUE(Other->Active());
  EXPECT_FALSE(Ok->Active());
  EXPECT_EQ(StyleOf(Other->Handle()) & 0xF, BS_DEFPUSHBUTTON);
  EXPECT_EQ(StyleOf(Ok->Handle()) & 0xF, BS_PUSHBUTTON);
  PressKey(Other->Handle(), VK_RETURN);
  EXPECT_EQ(OtherEv.Clicks, 1);
  EXPECT_EQ(OkEv.Clicks, 1);
  E->SetFocus();
  Application()->ProcessMessages();
  EXPECT_TRUE(Ok->Active());
  EXPECT_FALSE(Other->Active());
  // A click from the platform reaches the button.
  SendMessageW(Ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(OkEv.Clicks, 2);
}

TEST_F(StdCtrlsFixture, MemoTakesReturnOnlyWhenItWantsIt) {
  TMemo* M = Add<TMemo>(Bounds(10, 10, 150, 80));
  TButton* Ok = Add<TButton>(Bounds(10, 100, 75, 25));
  Ok->SetDefault(true);
  TEvents Ev;
  Ok->OnClick = MakeEvent<&TEvents::Click>(&Ev);
  Form->Show();
  SetForegroundWindow(Form->Handle());
  M->SetFocus();
  Application()->ProcessMessages();
  ASSERT_TRUE(M->Focused());
  // The message loop makes the character of the key down, as for a typed key.
  auto PressReturn = [&] {
    PostMessageW(M->Handle(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(M->Handle(), WM_KEYUP, VK_RETURN, 0xC01C0001);
    Application()->ProcessMessages();
  };
  PressReturn();
  EXPECT_EQ(Ev.Clicks, 0);
  EXPECT_EQ(M->Lines()->Count(), 1);  // a new line after the empty first one
  M->SetWantReturns(false);
  M->Clear();
  PressReturn();
  EXPECT_EQ(Ev.Clicks, 1);
  EXPECT_EQ(M->Text(), L"");
}

TEST_F(StdCtrlsFixture, CheckBoxStatesRoundTripThroughTheWindow) {
  TCheckBox* C = Add<TCheckBox>();
  TEvents Ev;
  C->OnClick = MakeEvent<&TEvents::Click>(&Ev);
  C->SetChecked(true);
  Form->Show();
  EXPECT_EQ(SendMessageW(C->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  // A click by the user toggles; without AllowGrayed there are two states.
  SendMessageW(C->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(C->Checked());
  EXPECT_EQ(SendMessageW(C->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(C->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(C->Checked());
  C->SetAllowGrayed(true);
  const TCheckBoxState Cycle[] = {cbUnchecked, cbGrayed, cbChecked, cbUnchecked};
  for (TCheckBoxState Want : Cycle) {
    SendMessageW(C->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(C->State(), Want);
    EXPECT_EQ(SendMessageW(C->Handle(), BM_GETCHECK, 0, 0), static_cast<LRESULT>(Want));
  }
  C->SetState(cbGrayed);
  EXPECT_EQ(SendMessageW(C->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_FALSE(C->Checked());
  // Setting the state in code also clicks, as the framework does.
  EXPECT_GE(Ev.Clicks, 7);
  EXPECT_FALSE(StyleOf(C->Handle()) & BS_LEFTTEXT);
  C->SetAlignment(taLeftJustify);
  EXPECT_TRUE(StyleOf(C->Handle()) & BS_LEFTTEXT);
  EXPECT_EQ(C->State(), cbGrayed);
}

TEST_F(StdCtrlsFixture, ComboBoxItemsIndexAndText) {
  TComboBox* C = Add<TComboBox>(Bounds(10, 10, 150, 21));
  TEvents Ev;
  C->OnChange = MakeEvent<&TEvents::Change>(&Ev);
  C->OnClick = MakeEvent<&TEvents::Click>(&Ev);
  C->Items()->Add(L"alpha");
  C->Items()->Add(L"beta");
  C->SetItemIndex(1);
  EXPECT_EQ(C->Text(), L"beta");
  Form->Show();
  HWND H = C->Handle();
  EXPECT_EQ(SendMessageW(H, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(H, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(C->Text(), L"beta");
  C->Items()->Add(L"gamma");
  EXPECT_EQ(SendMessageW(H, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(C->ItemIndex(), 1);
  C->SetItemIndex(2);
  EXPECT_EQ(C->Text(), L"gamma");
  C->SetItemIndex(7);
  EXPECT_EQ(C->ItemIndex(), -1);
  // A free text in the drop-down style is kept as it is.
  C->SetText(L"free");
  EXPECT_EQ(C->Text(), L"free");
  EXPECT_EQ(C->ItemIndex(), -1);
  // The user picking an item clicks and changes.
  SendMessageW(H, CB_SETCURSEL, 0, 0);
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(H), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(H));
  EXPECT_EQ(C->ItemIndex(), 0);
  EXPECT_EQ(Ev.Clicks, 1);
  EXPECT_EQ(Ev.Changes, 1);
  EXPECT_EQ(Ev.Texts.back(), L"alpha");
  C->OnSelect = MakeEvent<&TEvents::Select>(&Ev);
  SendMessageW(H, CB_SETCURSEL, 1, 0);
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(H), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(H));
  EXPECT_EQ(Ev.Selects, 1);
  EXPECT_EQ(Ev.Changes, 1);
  // Typing into the edit part changes.
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(H), CBN_EDITCHANGE),
               reinterpret_cast<LPARAM>(H));
  EXPECT_EQ(Ev.Changes, 2);

  // The fixed list: the text selects an item or nothing, and the window keeps the style.
  C->SetStyle(csDropDownList);
  EXPECT_EQ(StyleOf(C->Handle()) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessageW(C->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(C->ItemIndex(), 1);
  C->SetText(L"gamma");
  EXPECT_EQ(C->ItemIndex(), 2);
  EXPECT_EQ(C->Text(), L"gamma");
  C->SetText(L"not an item");
  EXPECT_EQ(C->ItemIndex(), -1);
  EXPECT_EQ(C->Text(), L"");
  C->Items()->Clear();
  EXPECT_EQ(SendMessageW(C->Handle(), CB_GETCOUNT, 0, 0), 0);
}

TEST_F(StdCtrlsFixture, ComboBoxSortedItems) {
  TComboBox* C = Add<TComboBox>(Bounds(10, 10, 150, 21));
  C->SetSorted(true);
  for (const wchar_t* S : {L"pear", L"apple", L"fig"}) C->Items()->Add(S);
  Form->Show();
  wchar_t Buf[32];
  SendMessageW(C->Handle(), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(Buf));
  EXPECT_STREQ(Buf, L"apple");
  EXPECT_EQ(C->Items()->Strings(2), L"pear");
}

TEST_F(StdCtrlsFixture, ListBoxIndexTopIndexAndGeometry) {
  TListBox* L = Add<TListBox>(Bounds(10, 10, 150, 100));
  for (int I = 0; I < 30; ++I) L->Items()->Add(Format(L"item %d", {I}));
  L->SetItemIndex(3);
  Form->Show();
  HWND H = L->Handle();
  EXPECT_EQ(SendMessageW(H, LB_GETCOUNT, 0, 0), 30);
  EXPECT_EQ(SendMessageW(H, LB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(L->ItemIndex(), 3);
  L->SetTopIndex(10);
  EXPECT_EQ(L->TopIndex(), 10);
  TRect R = L->ItemRect(10);
  EXPECT_EQ(R.top, 0);
  EXPECT_GT(R.bottom, 0);
  TRect R11 = L->ItemRect(11);
  EXPECT_EQ(R11.top, R.bottom);
  EXPECT_EQ(L->ItemAtPos(Point(5, R11.top + 1), true), 11);
  EXPECT_EQ(L->ItemAtPos(Point(-5, 5), true), -1);
  EXPECT_EQ(L->ItemAtPos(Point(-5, 5), false), -1);
  // An item deleted before the selection keeps the selected index valid.
  L->Items()->Delete(29);
  EXPECT_EQ(SendMessageW(H, LB_GETCOUNT, 0, 0), 29);
  EXPECT_EQ(L->ItemIndex(), 3);
  TEvents Ev;
  L->OnClick = MakeEvent<&TEvents::Click>(&Ev);
  SendMessageW(H, LB_SETCURSEL, 5, 0);
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(H), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(H));
  EXPECT_EQ(Ev.Clicks, 1);
  EXPECT_EQ(L->ItemIndex(), 5);
}

TEST_F(StdCtrlsFixture, ListBoxSortedAndMultiSelect) {
  TListBox* L = Add<TListBox>();
  L->SetSorted(true);
  for (const wchar_t* S : {L"c", L"a", L"b"}) L->Items()->Add(S);
  L->SetMultiSelect(true);
  Form->Show();
  wchar_t Buf[8];
  SendMessageW(L->Handle(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(Buf));
  EXPECT_STREQ(Buf, L"a");
  EXPECT_TRUE(StyleOf(L->Handle()) & LBS_EXTENDEDSEL);
  L->SetSelected(0, true);
  L->SetSelected(2, true);
  EXPECT_EQ(L->SelCount(), 2);
  EXPECT_TRUE(L->Selected(2));
  EXPECT_FALSE(L->Selected(1));
  EXPECT_THROW(L->Selected(9), EListError);
  L->SetItemIndex(1);
  EXPECT_EQ(L->SelCount(), 1);
  EXPECT_EQ(L->ItemIndex(), 1);
  // Back to single selection: the window is recreated with the items.
  L->SetMultiSelect(false);
  EXPECT_FALSE(StyleOf(L->Handle()) & LBS_EXTENDEDSEL);
  EXPECT_EQ(SendMessageW(L->Handle(), LB_GETCOUNT, 0, 0), 3);
}

struct TDrawLog {
  std::vector<Integer> Drawn;
  std::vector<Integer> Measured;
  void Draw(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState) {
    Drawn.push_back(Index);
    static_cast<TListBox*>(Control)->Canvas()->Brush()->SetColor(clLime);
    static_cast<TListBox*>(Control)->Canvas()->FillRect(Rect);
  }
  void Measure(TWinControl*, Integer Index, Integer& Height) {
    Measured.push_back(Index);
    Height = 10 + Index * 5;
  }
  void Data(TWinControl*, Integer Index, String& S) { S = Format(L"row %d", {Index}); }
};

TEST_F(StdCtrlsFixture, OwnerDrawAndVirtualListBoxes) {
  TListBox* L = Add<TListBox>(Bounds(10, 10, 150, 100));
  TDrawLog Log;
  L->SetStyle(lbOwnerDrawVariable);
  L->OnDrawItem = MakeEvent<&TDrawLog::Draw>(&Log);
  L->OnMeasureItem = MakeEvent<&TDrawLog::Measure>(&Log);
  for (const wchar_t* S : {L"a", L"b", L"c"}) L->Items()->Add(S);
  Form->Show();
  L->Update();
  EXPECT_TRUE(StyleOf(L->Handle()) & LBS_OWNERDRAWVARIABLE);
  EXPECT_EQ(Log.Measured, (std::vector<Integer>{0, 1, 2}));
  EXPECT_EQ(RectHeight(L->ItemRect(2)), 20);
  EXPECT_FALSE(Log.Drawn.empty());
  HDC DC = GetDC(L->Handle());
  TRect R1 = L->ItemRect(1);
  COLORREF Px = GetPixel(DC, R1.left + 3, R1.top + 3);
  ReleaseDC(L->Handle(), DC);
  EXPECT_EQ(Px, static_cast<COLORREF>(clLime));

  TListBox* V = Add<TListBox>(Bounds(200, 10, 150, 100));
  V->SetStyle(lbVirtual);
  V->OnData = MakeEvent<&TDrawLog::Data>(&Log);
  V->SetCount(1000);
  EXPECT_TRUE(StyleOf(V->Handle()) & LBS_NODATA);
  EXPECT_EQ(SendMessageW(V->Handle(), LB_GETCOUNT, 0, 0), 1000);
  V->SetItemIndex(500);
  EXPECT_EQ(V->ItemIndex(), 500);
  EXPECT_EQ(V->TopIndex() <= 500, true);
  EXPECT_THROW(L->SetCount(3), EInvalidOperation);
}

TEST_F(StdCtrlsFixture, LabelSizesToItsText) {
  TLabel* L = Add<TLabel>(Bounds(10, 10, 200, 50));
  Form->Show();
  L->SetCaption(L"Short");
  Integer ShortW = L->Width();
  L->SetCaption(L"A much longer caption");
  EXPECT_GT(L->Width(), ShortW);
  Integer OneLine = L->Height();
  // Word wrap keeps the width and grows downwards.
  L->SetAutoSize(false);
  L->SetWidth(40);
  L->SetWordWrap(true);
  L->SetAutoSize(true);
  EXPECT_LE(L->Width(), 40);
  EXPECT_GT(L->Height(), OneLine);
  // Right alignment keeps the right edge when the size changes.
  TLabel* R = Add<TLabel>(Bounds(100, 100, 100, 20));
  R->SetAutoSize(false);
  R->SetAlignment(taRightJustify);
  R->SetCaption(L"x");
  R->SetAutoSize(true);
  EXPECT_EQ(R->Left() + R->Width(), 200);
}

TEST_F(StdCtrlsFixture, LabelPaintsItsTextOnTheParent) {
  Form->SetColor(clWhite);
  TLabel* L = Add<TLabel>(Bounds(10, 10, 200, 50));
  L->Font()->SetColor(clBlack);
  L->Font()->SetHeight(-20);
  L->SetTransparent(false);
  L->SetColor(clYellow);
  L->SetCaption(L"WWW");
  Form->Show();
  Form->Update();
  HDC DC = GetDC(Form->Handle());
  int Dark = 0, Yellow = 0;
  for (int X = L->Left(); X < L->Left() + L->Width(); ++X)
    for (int Y = L->Top(); Y < L->Top() + L->Height(); ++Y) {
      COLORREF C = GetPixel(DC, X, Y);
      if (C == RGB(0, 0, 0)) ++Dark;
      if (C == RGB(255, 255, 0)) ++Yellow;
    }
  ReleaseDC(Form->Handle(), DC);
  EXPECT_GT(Dark, 10);
  EXPECT_GT(Yellow, 10);
}

// Draws each row of a combo box in a colour of its own and notes the states.
struct TComboDrawLog {
  static constexpr TColor RowColors[] = {clRed, clLime, clBlue, clYellow};
  std::vector<Integer> Drawn;
  std::vector<TOwnerDrawState> States;
  std::vector<Integer> Measured;
  void Draw(TWinControl* Control, Integer Index, TRect Rect, TOwnerDrawState State) {
    Drawn.push_back(Index);
    States.push_back(State);
    TCanvas* C = static_cast<TComboBox*>(Control)->Canvas();
    C->Brush()->SetColor(RowColors[Index % 4]);
    C->FillRect(Rect);
  }
  void Measure(TWinControl*, Integer Index, Integer& Height) {
    Measured.push_back(Index);
    if (Index >= 0) Height = 14 + 4 * Index;
  }
};

// What a window paints, through WM_PRINT into a bitmap of its size.
TOwned<TBitmap> PrintToBitmap(HWND Wnd) {
  RECT R;
  GetClientRect(Wnd, &R);
  TOwned<TBitmap> B(Create<TBitmap>());
  B->SetPixelFormat(TPixelFormat::pf24bit);
  B->SetSize(std::max<LONG>(R.right, 1), std::max<LONG>(R.bottom, 1));
  B->Canvas()->Brush()->SetColor(clWhite);
  B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
  SendMessageW(Wnd, WM_PRINT, reinterpret_cast<WPARAM>(B->Canvas()->Handle()),
               PRF_CLIENT | PRF_ERASEBKGND);
  return B;
}

TEST_F(StdCtrlsFixture, OwnerDrawComboBoxPaintsItemsThroughItsHandler) {
  struct TCase {
    TComboBoxStyle Style;
    Integer Selected;
  };
  for (const TCase& C : {TCase{csOwnerDrawFixed, 1}, TCase{csOwnerDrawVariable, 2}}) {
    TComboDrawLog Log;
    TComboBox* Combo = Add<TComboBox>(Bounds(10, 10, 150, 24));
    Combo->SetStyle(C.Style);
    Combo->SetItemHeight(18);
    Combo->OnDrawItem = MakeEvent<&TComboDrawLog::Draw>(&Log);
    Combo->OnMeasureItem = MakeEvent<&TComboDrawLog::Measure>(&Log);
    for (const wchar_t* S : {L"zero", L"one", L"two", L"three"}) Combo->Items()->Add(S);
    Combo->SetItemIndex(C.Selected);
    Form->Show();
    HWND Wnd = Combo->Handle();
    EXPECT_TRUE(StyleOf(Wnd) &
                (C.Style == csOwnerDrawFixed ? CBS_OWNERDRAWFIXED : CBS_OWNERDRAWVARIABLE));

    // The selection field is drawn by the handler, as the combo-box edit.
    Log.Drawn.clear();
    Log.States.clear();
    auto Field = PrintToBitmap(Wnd);
    ASSERT_FALSE(Log.Drawn.empty());
    EXPECT_EQ(Log.Drawn.back(), C.Selected);
    EXPECT_TRUE(Log.States.back().Contains(odComboBoxEdit));
    EXPECT_EQ(Field->Canvas()->Pixels(8, Field->Height() / 2) & 0xFFFFFF,
              TComboDrawLog::RowColors[C.Selected]);

    // Rows of the list: a variable list measured each row, a fixed one has
    // the item height.
    for (Integer I = 0; I < 4; ++I) {
      Integer Expected = C.Style == csOwnerDrawVariable ? 14 + 4 * I : 18;
      EXPECT_EQ(SendMessageW(Wnd, CB_GETITEMHEIGHT, I, 0), Expected) << I;
    }
    if (C.Style == csOwnerDrawVariable) {
      // Every row was measured (the window is filled anew on each change).
      ASSERT_GE(Log.Measured.size(), 4u);
      EXPECT_EQ(std::vector<Integer>(Log.Measured.end() - 4, Log.Measured.end()),
                (std::vector<Integer>{0, 1, 2, 3}));
    }
    // The dropped list's rows, as they reach the screen.
    Log.Drawn.clear();
    Combo->SetDroppedDown(true);
    COMBOBOXINFO Info{};
    Info.cbSize = sizeof(Info);
    ASSERT_TRUE(GetComboBoxInfo(Wnd, &Info));
    UpdateWindow(Info.hwndList);

    // The platform sizes a list of rows of several heights by its first
    // row, so only the rows it shows are looked at (at least three).
    RECT ListClient;
    GetClientRect(Info.hwndList, &ListClient);
    std::vector<COLORREF> Rows;
    HDC DC = GetDC(Info.hwndList);
    for (Integer I = 0, Top = 0; I < 4; ++I) {
      Integer H = static_cast<Integer>(SendMessageW(Wnd, CB_GETITEMHEIGHT, I, 0));
      if (Top + H > ListClient.bottom) break;
      Rows.push_back(GetPixel(DC, 10, Top + H / 2));
      Top += H;
    }
    ReleaseDC(Info.hwndList, DC);
    Combo->SetDroppedDown(false);
    EXPECT_GE(Rows.size(), 3u);
    EXPECT_GE(Log.Drawn.size(), Rows.size());
    for (size_t I = 0; I < Rows.size(); ++I)
      // The selected row is drawn in its colour too: the handler ignores the
      // selection.
      EXPECT_EQ(static_cast<TColor>(Rows[I]), TComboDrawLog::RowColors[I]) << I;
    Combo->Free();
  }
}

TEST_F(StdCtrlsFixture, OwnerDrawComboBoxWithoutHandlerDrawsItsText) {
  TComboBox* Combo = Add<TComboBox>(Bounds(10, 10, 150, 24));
  Combo->SetStyle(csOwnerDrawFixed);
  Combo->Items()->Add(L"WWWWWWWW");
  Combo->SetItemIndex(0);
  Form->Show();
  auto Field = PrintToBitmap(Combo->Handle());
  // Not blank: the default drawing puts the item's text in the field, in the
  // text colour of its state (a focused field shows it selected).
  COLORREF Text = ColorToRGB(Combo->Focused() ? clHighlightText : clWindowText);
  auto Near = [](COLORREF A, COLORREF B) {
    return std::abs(GetRValue(A) - GetRValue(B)) + std::abs(GetGValue(A) - GetGValue(B)) +
               std::abs(GetBValue(A) - GetBValue(B)) <
           96;
  };
  Integer Dark = 0;
  for (Integer X = 0; X < Field->Width() - 20; ++X)
    for (Integer Y = 0; Y < Field->Height(); ++Y)
      if (Near(static_cast<COLORREF>(Field->Canvas()->Pixels(X, Y) & 0xFFFFFF), Text)) ++Dark;
  EXPECT_GT(Dark, 20);
}

}  // namespace
