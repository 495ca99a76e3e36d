// The log pane's context menu: the item states it shows for the pane and the
// clipboard, and the commands it carries out.
#include <gtest/gtest.h>

#include <map>

#include "Clipbrd.h"
#include "ComCtrls.h"
#include "NoteAnswerer.h"
#include "Pelmora.h"
#include "gkCommon.h"

namespace {

constexpr UINT IdUndo = 772, IdUndoWine = EM_UNDO, IdCut = 768, IdCopy = 769, IdPaste = 770,
               IdDelete = 771, IdSelectAll = 177;

// Waits for the popup menu of this thread, keeps the states of its items and
// then dismisses it with Escape or chooses the item ACommand by its
// mnemonic, as the keyboard would.
class TPopupMenuAnswerer {
 public:
  explicit TPopupMenuAnswerer(UINT ACommand = 0) : FCommand(ACommand) {
    FTimer.reset(Create<TTimer>(nullptr));
    FTimer->SetInterval(30);
    FTimer->SetOnTimer(MakeEvent<&TPopupMenuAnswerer::Tick>(this));
  }
  bool Seen = false;
  // Whether the item is enabled; false also for an item the menu lacks.
  bool Enabled(UINT AId) const {
    UINT State = States[AId];
    return State != UINT(-1) && (State & (MF_GRAYED | MF_DISABLED)) == 0;
  }
  bool UndoEnabled() const {
    return States[IdUndo] != UINT(-1) ? Enabled(IdUndo) : Enabled(IdUndoWine);
  }
  bool HasUndo() const { return States[IdUndo] != UINT(-1) || States[IdUndoWine] != UINT(-1); }

 private:
  static BOOL CALLBACK Find(HWND Wnd, LPARAM Param) {
    if (IsWindowVisible(Wnd) && GetClassString(Wnd) == L"#32768") {
      *reinterpret_cast<HWND*>(Param) = Wnd;
      return FALSE;
    }
    return TRUE;
  }
  void Tick(TObject*) {
    HWND Wnd = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Find, reinterpret_cast<LPARAM>(&Wnd));
    if (!Wnd) return;
    FTimer->SetEnabled(false);
    Seen = true;
    HMENU Menu = reinterpret_cast<HMENU>(SendMessageW(Wnd, MN_GETHMENU, 0, 0));
    for (UINT Id : {IdUndo, IdUndoWine, IdCut, IdCopy, IdPaste, IdDelete, IdSelectAll})
      States[Id] = GetMenuState(Menu, Id, MF_BYCOMMAND);
    wchar_t Text[128] = {};
    UINT Command = FCommand == IdUndo && States[IdUndo] == UINT(-1) ? IdUndoWine : FCommand;
    if (Command && GetMenuStringW(Menu, Command, Text, 128, MF_BYCOMMAND) > 0) {
      String S = Text;
      size_t Amp = S.find(L'&');
      if (Amp != String::npos && Amp + 1 < S.size()) {
        PostMessageW(Wnd, WM_CHAR, S[Amp + 1], 0);
        return;
      }
    }
    PostMessageW(Wnd, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  UINT FCommand;
  mutable std::map<UINT, UINT> States;
  TOwned<TTimer> FTimer;
};

void SetClipboardText(const String* AText) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
  if (AText) Clipboard()->SetAsText(*AText);
}

struct MainFormMenu : testing::Test {
  TOwned<TForm> Form;
  TRichEdit* Pane = nullptr;
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr));
    Form->SetBounds(100, 100, 300, 200);
    Pane = Create<TRichEdit>(Form.get());
    Pane->SetParent(Form.get());
    Pane->SetBounds(8, 8, 280, 150);
    Form->Show();
  }
  void TearDown() override {
    Form->Hide();
    Form.reset();
    SetClipboardText(nullptr);
  }
};

TEST_F(MainFormMenu, ItemStatesFollowThePaneAndTheClipboard) {
  const String Word = L"буфер";
  struct Case {
    const char* Name;
    String Text;
    Integer SelStart, SelLength;
    bool ClipboardText;
    bool Undoable;
    bool Cut, Copy, Paste, Delete, SelectAll;
  } Cases[] = {
      {"empty pane, empty clipboard", L"", 0, 0, false, false, false, false, false, false, false},
      {"empty pane, text on the clipboard", L"", 0, 0, true, false, false, false, true, false,
       false},
      {"text without selection", L"первая\r\nвторая", 3, 0, false, false, false, false, false,
       false, true},
      {"text with a selection", L"первая\r\nвторая", 1, 4, true, false, true, true, true, true,
       true},
      {"after an edit that can be undone", L"первая", 6, 0, false, true, false, false, false, false,
       true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Pane->Clear();
    SendMessageW(Pane->Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
    if (!C.Text.empty()) Pane->Lines()->SetText(C.Text);
    SendMessageW(Pane->Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
    Pane->SetSelStart(C.SelStart);
    Pane->SetSelLength(C.SelLength);
    if (C.Undoable) SendMessageW(Pane->Handle(), EM_REPLACESEL, TRUE, LPARAM(L"!"));
    ASSERT_EQ(Pane->CanUndo(), C.Undoable);
    SetClipboardText(C.ClipboardText ? &Word : nullptr);
    String Before = Pane->Text();

    TPopupMenuAnswerer Menu;
    RichEditPopupMenu(Pane);
    ASSERT_TRUE(Menu.Seen);
    ASSERT_TRUE(Menu.HasUndo());
    EXPECT_EQ(Menu.UndoEnabled(), C.Undoable);
    EXPECT_EQ(Menu.Enabled(IdCut), C.Cut);
    EXPECT_EQ(Menu.Enabled(IdCopy), C.Copy);
    EXPECT_EQ(Menu.Enabled(IdPaste), C.Paste);
    EXPECT_EQ(Menu.Enabled(IdDelete), C.Delete);
    EXPECT_EQ(Menu.Enabled(IdSelectAll), C.SelectAll);
    // Escape changes nothing.
    EXPECT_EQ(Pane->Text(), Before);
  }
}

TEST_F(MainFormMenu, ChosenCommandsAreCarriedOutOnThePane) {
  Pane->Lines()->SetText(L"первая\r\nвторая");
  Pane->SetSelStart(0);
  Pane->SetSelLength(0);
  {
    TPopupMenuAnswerer Menu(IdSelectAll);
    RichEditPopupMenu(Pane);
    ASSERT_TRUE(Menu.Seen);
  }
  EXPECT_EQ(Pane->SelStart(), 0);
  // The selection may take in the closing paragraph mark as well.
  EXPECT_GE(Pane->SelLength(), Pane->GetTextLen());

  SetClipboardText(nullptr);
  Pane->SetSelStart(0);
  Pane->SetSelLength(6);
  {
    TPopupMenuAnswerer Menu(IdCopy);
    RichEditPopupMenu(Pane);
    ASSERT_TRUE(Menu.Seen);
  }
  EXPECT_EQ(Clipboard()->AsText(), L"первая");

  Pane->SetSelStart(0);
  Pane->SetSelLength(7);
  {
    TPopupMenuAnswerer Menu(IdDelete);
    RichEditPopupMenu(Pane);
    ASSERT_TRUE(Menu.Seen);
  }
  EXPECT_EQ(Trim(Pane->Text()), L"вторая");

  ASSERT_TRUE(Pane->CanUndo());
  {
    TPopupMenuAnswerer Menu(IdUndo);
    RichEditPopupMenu(Pane);
    ASSERT_TRUE(Menu.Seen);
  }
  EXPECT_NE(Pane->Text().find(L"первая"), String::npos);
}

// The window's resource wires the pane's context-menu request to this menu.
TEST_F(MainFormMenu, TheLogPaneOfTheWindowShowsTheMenuOnAContextMenuRequest) {
  TOwned<TForm1> Main;
  {
    TNoteAnswerer NoParameterFile(L"OK");
    Main.reset(Create<TForm1>(nullptr));
  }
  Main->Show();
  Main->LogLine(L"строка");
  TPopupMenuAnswerer Menu(IdSelectAll);
  HWND Pane = Main->RichEdit1->Handle();
  SendMessageW(Pane, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Pane), MAKELPARAM(-1, -1));
  EXPECT_TRUE(Menu.Seen);
  EXPECT_EQ(Main->RichEdit1->SelStart(), 0);
  EXPECT_GE(Main->RichEdit1->SelLength(), Main->RichEdit1->GetTextLen());
  Main->Hide();
}

}  // namespace
