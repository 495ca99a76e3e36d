#include <gtest/gtest.h>

#include "ActnList.h"
#include "Dialogs.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "SysUtils.h"

namespace {

// Answers the platform's modal windows from a timer, which their own
// message loops keep serving.
struct TDriver {
  String Title;     // dialog title to wait for
  String TypeName;  // file name to type; empty: cancel
  bool Found = false;
  int Ticks = 0;
  TOwned<TTimer> Timer;
  // A message box the dialog raises after the answer is answered with this
  // button (0: left alone).
  int Confirm = 0;
  bool Confirmed = false;
  HWND Dialog = nullptr;

  explicit TDriver(const String& ATitle, const String& AName) : Title(ATitle), TypeName(AName) {
    Timer.reset(Create<TTimer>(nullptr));
    Timer->SetInterval(50);
    Timer->SetOnTimer(MakeEvent<&TDriver::Tick>(this));
  }

  // The file name edit sits, under the id of the name box (0x47C in the
  // explorer-style template, 0x480 in the old one), inside a combo box.
  static HWND FileNameEdit(HWND Dialog) {
    HWND Found = nullptr;
    EnumChildWindows(
        Dialog,
        [](HWND W, LPARAM P) -> BOOL {
          wchar_t C[16];
          GetClassNameW(W, C, 16);
          int Id = GetDlgCtrlID(W);
          if (lstrcmpiW(C, L"Edit") == 0 && (Id == 0x47C || Id == 0x480)) {
            *reinterpret_cast<HWND*>(P) = W;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&Found));
    return Found;
  }

  bool Answered = false;
  void Tick(TObject*) {
    // A dialog still open long after it was answered (or never seen) is
    // cancelled, with any message box it raised, rather than hanging the run.
    if (++Ticks > 60) {
      // Closes one window a tick: a closed dialog goes away only once its
      // own loop runs again.
      HWND D = nullptr;
      for (HWND W = nullptr; (W = FindWindowExW(nullptr, W, L"#32770", nullptr)) != nullptr;)
        if (IsWindowVisible(W) && GetWindowThreadProcessId(W, nullptr) == GetCurrentThreadId())
          D = W;
      if (!D) {
        Timer->SetEnabled(false);
        return;
      }
      PostMessageW(D, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    if (Answered) {
      if (Confirm == 0 || Confirmed) return;
      for (HWND W = nullptr; (W = FindWindowExW(nullptr, W, L"#32770", nullptr)) != nullptr;)
        if (W != Dialog && GetWindow(W, GW_OWNER) == Dialog && IsWindowVisible(W)) {
          PostMessageW(W, WM_COMMAND, MAKEWPARAM(Confirm, BN_CLICKED), 0);
          Confirmed = true;
        }
      return;
    }
    Dialog = FindWindowW(L"#32770", Title.c_str());
    if (!Dialog || !IsWindowVisible(Dialog)) return;
    Found = true;
    Answered = true;
    if (TypeName.empty()) {
      PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return;
    }
    HWND Edit = FileNameEdit(Dialog);
    SendMessageW(Edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(TypeName.c_str()));
    PostMessageW(Dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Dialog, IDOK)));
  }
};

String MakeTempFolder() {
  wchar_t Base[MAX_PATH];
  GetTempPathW(MAX_PATH, Base);
  String Dir =
      String(Base) + L"fw_dialogs_" + IntToStr(static_cast<Integer>(GetCurrentProcessId()));
  CreateDirectoryW(Dir.c_str(), nullptr);
  return Dir;
}

void Touch(const String& Path) {
  HANDLE H = CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(H);
}

struct DialogsFixture : testing::Test {
  String Dir;
  void SetUp() override { Dir = MakeTempFolder(); }
  void TearDown() override {
    for (const wchar_t* N : {L"\\existing.txt", L"\\second.txt", L"\\report.csv"})
      DeleteFileW((Dir + N).c_str());
    RemoveDirectoryW(Dir.c_str());
  }
};

TEST_F(DialogsFixture, OpenDialogIsAnsweredWithAnExistingFile) {
  Touch(Dir + L"\\existing.txt");
  TOwned<TOpenDialog> D(Create<TOpenDialog>(nullptr));
  D->SetTitle(L"Pick a test file");
  D->SetFilter(L"Text files|*.txt|All files|*.*");
  D->SetFilterIndex(2);
  D->SetInitialDir(Dir);
  D->SetOptions(D->Options() + TOpenOptions{ofFileMustExist, ofPathMustExist, ofNoChangeDir});
  TDriver Driver(L"Pick a test file", L"existing.txt");
  ASSERT_TRUE(D->Execute());
  EXPECT_TRUE(Driver.Found);
  EXPECT_TRUE(SameText(D->FileName(), Dir + L"\\existing.txt")) << D->FileName();
  ASSERT_EQ(D->Files()->Count(), 1);
  EXPECT_EQ(D->Files()->Strings(0), D->FileName());
  EXPECT_EQ(D->FilterIndex(), 2);
}

TEST_F(DialogsFixture, CancelledDialogReturnsFalseAndKeepsTheName) {
  TOwned<TOpenDialog> D(Create<TOpenDialog>(nullptr));
  D->SetTitle(L"Cancel me");
  D->SetInitialDir(Dir);
  D->SetFileName(L"before.txt");
  TDriver Driver(L"Cancel me", L"");
  EXPECT_FALSE(D->Execute());
  EXPECT_TRUE(Driver.Found);
  EXPECT_EQ(D->FileName(), L"before.txt");
  EXPECT_EQ(D->Files()->Count(), 0);
}

TEST_F(DialogsFixture, SaveDialogAddsTheDefaultExtension) {
  TOwned<TSaveDialog> D(Create<TSaveDialog>(nullptr));
  D->SetTitle(L"Save the report");
  D->SetFilter(L"CSV|*.csv");
  D->SetDefaultExt(L"csv");
  D->SetInitialDir(Dir);
  D->SetOptions(D->Options() + TOpenOptions{ofOverwritePrompt, ofPathMustExist});
  TDriver Driver(L"Save the report", L"report");
  ASSERT_TRUE(D->Execute());
  EXPECT_TRUE(SameText(D->FileName(), Dir + L"\\report.csv")) << D->FileName();
}

TEST_F(DialogsFixture, OverwritePromptIsAnsweredBeforeTheDialogEnds) {
  Touch(Dir + L"\\report.csv");
  TOwned<TSaveDialog> D(Create<TSaveDialog>(nullptr));
  D->SetTitle(L"Replace the report");
  D->SetInitialDir(Dir);
  D->SetOptions(D->Options() + TOpenOptions{ofOverwritePrompt});
  TDriver Driver(L"Replace the report", L"report.csv");
  Driver.Confirm = IDYES;
  ASSERT_TRUE(D->Execute());
  EXPECT_TRUE(Driver.Confirmed);
  EXPECT_TRUE(SameText(D->FileName(), Dir + L"\\report.csv"));
}

// Hands the platform a structure it rejects, so that the dialog fails
// without ever showing.
class TBrokenOpenDialog : public TOpenDialog {
  DECLARE_CLASS(TBrokenOpenDialog, TOpenDialog)
 public:
  using TOpenDialog::TOpenDialog;

 protected:
  bool DoExecute(OPENFILENAMEW& Info) override {
    Info.lStructSize = 3;
    return TOpenDialog::DoExecute(Info);
  }
};
IMPLEMENT_CLASS(TBrokenOpenDialog)

TEST_F(DialogsFixture, AFailedDialogRaisesInsteadOfLookingCancelled) {
  TOwned<TOpenDialog> D(Create<TBrokenOpenDialog>(nullptr));
  try {
    D->Execute();
    ADD_FAILURE() << "no exception";
  } catch (EOSError& E) {
    EXPECT_EQ(E.ErrorCode(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  }
}

TEST_F(DialogsFixture, MultiSelectListsEveryFileWithItsFolder) {
  Touch(Dir + L"\\existing.txt");
  Touch(Dir + L"\\second.txt");
  TOwned<TOpenDialog> D(Create<TOpenDialog>(nullptr));
  D->SetTitle(L"Pick several");
  D->SetInitialDir(Dir);
  D->SetOptions(D->Options() + TOpenOptions{ofAllowMultiSelect, ofFileMustExist});
  TDriver Driver(L"Pick several", L"\"existing.txt\" \"second.txt\"");
  ASSERT_TRUE(D->Execute());
  ASSERT_EQ(D->Files()->Count(), 2);
  EXPECT_TRUE(SameText(D->Files()->Strings(0), Dir + L"\\existing.txt")) << D->Files()->Strings(0);
  EXPECT_TRUE(SameText(D->Files()->Strings(1), Dir + L"\\second.txt"));
  EXPECT_EQ(D->FileName(), D->Files()->Strings(0));
}

// ---------------------------------------------------------------------------
TEST(ShortCuts, TextAndKeysRoundTrip) {
  struct Case {
    Word Key;
    TShiftState Shift;
    const wchar_t* Text;
  } Cases[] = {
      {'S', {ssCtrl}, L"Ctrl+S"},
      {VK_F1, {}, L"F1"},
      {VK_DELETE, {ssShift}, L"Shift+Del"},
      {'A', {ssShift, ssCtrl, ssAlt}, L"Shift+Ctrl+Alt+A"},
      {VK_RETURN, {ssAlt}, L"Alt+Enter"},
      {'7', {ssCtrl}, L"Ctrl+7"},
      {VK_F12, {ssCtrl, ssShift}, L"Shift+Ctrl+F12"},
  };
  for (const Case& C : Cases) {
    TShortCut S = ShortCut(C.Key, C.Shift);
    EXPECT_EQ(ShortCutToText(S), C.Text);
    EXPECT_EQ(TextToShortCut(C.Text), S) << C.Text;
    Word Key;
    TShiftState Shift;
    ShortCutToKey(S, Key, Shift);
    EXPECT_EQ(Key, C.Key);
    EXPECT_EQ(Shift, C.Shift);
  }
  EXPECT_EQ(ShortCut('S', {ssCtrl}), scCtrl + 'S');
  EXPECT_EQ(TextToShortCut(L"ctrl+s"), scCtrl + 'S');
  EXPECT_EQ(TextToShortCut(L"Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut(L"Hyper+S"), 0);
  EXPECT_EQ(ShortCutToText(0), L"");
}

struct TMenuLog {
  std::vector<String> Clicked;
  int Popups = 0;
  void Click(TObject* Sender) { Clicked.push_back(static_cast<TMenuItem*>(Sender)->Caption()); }
  void Popup(TObject*) { ++Popups; }
};

struct TActionLog {
  int Executes = 0;
  TComponent* Component = nullptr;
  void Execute(TObject* Sender) {
    ++Executes;
    Component = static_cast<TBasicAction*>(Sender)->ActionComponent();
  }
};

TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const String& Caption, TMenuLog* Log) {
  TMenuItem* I = Create<TMenuItem>(Owner);
  I->SetCaption(Caption);
  I->OnClick = MakeEvent<&TMenuLog::Click>(Log);
  Parent->Add(I);
  return I;
}

String MenuText(HMENU Menu, UINT Pos) {
  wchar_t Buf[128] = {};
  GetMenuStringW(Menu, Pos, Buf, 128, MF_BYPOSITION);
  return Buf;
}

TEST(Menus, ItemsBuildThePlatformMenu) {
  TMenuLog Log;
  TOwned<TPopupMenu> P(Create<TPopupMenu>(nullptr));
  TMenuItem* Open = AddItem(P.get(), P->Items(), L"&Open", &Log);
  Open->SetShortCut(ShortCut('O', {ssCtrl}));
  Open->SetDefault(true);
  AddItem(P.get(), P->Items(), L"-", &Log);
  TMenuItem* Hidden = AddItem(P.get(), P->Items(), L"Hidden", &Log);
  Hidden->SetVisible(false);
  TMenuItem* Off = AddItem(P.get(), P->Items(), L"Off", &Log);
  Off->SetEnabled(false);
  Off->SetChecked(true);
  TMenuItem* Sub = AddItem(P.get(), P->Items(), L"More", &Log);
  AddItem(P.get(), Sub, L"Inner", &Log);
  EXPECT_EQ(P->Items()->Count(), 5);
  EXPECT_EQ(P->Items()->IndexOf(Off), 3);
  EXPECT_EQ(Sub->Items(0)->Parent(), Sub);
  EXPECT_EQ(P->Items()->Find(L"open"), Open);

  HMENU M = P->Handle();
  ASSERT_EQ(GetMenuItemCount(M), 4);  // the hidden item is left out
  EXPECT_EQ(MenuText(M, 0), L"&Open\tCtrl+O");
  EXPECT_EQ(GetMenuState(M, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  UINT State = GetMenuState(M, 2, MF_BYPOSITION);
  EXPECT_TRUE(State & MF_GRAYED);
  EXPECT_TRUE(State & MF_CHECKED);
  EXPECT_EQ(GetMenuDefaultItem(M, TRUE, 0), 0u);
  HMENU SubMenu = GetSubMenu(M, 3);
  ASSERT_NE(SubMenu, nullptr);
  EXPECT_EQ(MenuText(SubMenu, 0), L"Inner");
  // Commands lead back to their items; a disabled item does not click.
  EXPECT_TRUE(P->FindItem(GetMenuItemID(SubMenu, 0)) == Sub->Items(0));
  Off->Click();
  Open->Click();
  EXPECT_EQ(Log.Clicked, (std::vector<String>{L"&Open"}));

  P->Items()->Delete(4);
  EXPECT_EQ(P->Items()->Count(), 4);
  EXPECT_EQ(P->ComponentCount(), 4);  // the sub-item went with its parent
  EXPECT_THROW(P->Items()->Items(9), EListError);
}

// Picks the Nth item of the open popup menu with keys, from a timer that the
// menu's own loop serves.
struct TMenuPicker {
  int Downs;
  bool Escape = false;
  bool Seen = false;
  int Ticks = 0;
  TOwned<TTimer> Timer;
  explicit TMenuPicker(int ADowns, bool AEscape = false) : Downs(ADowns), Escape(AEscape) {
    Timer.reset(Create<TTimer>(nullptr));
    Timer->SetInterval(50);
    Timer->SetOnTimer(MakeEvent<&TMenuPicker::Tick>(this));
  }
  bool Sent = false;
  void Tick(TObject*) {
    HWND Menu = FindWindowW(L"#32768", nullptr);
    bool Open = Menu && IsWindowVisible(Menu);
    if (++Ticks > 60) {
      // Never hang the run: close whatever menu is still open.
      if (Open)
        EndMenu();
      else
        Timer->SetEnabled(false);
      return;
    }
    if (!Open || Sent) return;
    Seen = true;
    Sent = true;
    // Real key strokes: the menu's loop reads them from the input queue.
    auto Press = [](BYTE Key) {
      keybd_event(Key, 0, 0, 0);
      keybd_event(Key, 0, KEYEVENTF_KEYUP, 0);
    };
    for (int I = 0; I < Downs; ++I) Press(VK_DOWN);
    Press(Escape ? VK_ESCAPE : VK_RETURN);
  }
};

struct MenuFormFixture : testing::Test {
  TOwned<TCustomForm> Form;
  TMenuLog Log;
  TPopupMenu* Popup = nullptr;
  void SetUp() override {
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(60, 60, 300, 200);
    Popup = Create<TPopupMenu>(Form.get());
    Popup->OnPopup = MakeEvent<&TMenuLog::Popup>(&Log);
    AddItem(Form.get(), Popup->Items(), L"Cut", &Log);
    AddItem(Form.get(), Popup->Items(), L"-", &Log);
    AddItem(Form.get(), Popup->Items(), L"Disabled", &Log)->SetEnabled(false);
    AddItem(Form.get(), Popup->Items(), L"Paste", &Log);
    Form->Show();
    SetForegroundWindow(Form->Handle());
  }
  void TearDown() override { Form.reset(); }
};

TEST_F(MenuFormFixture, PopupClicksTheChosenItem) {
  // Down from nothing selects the first item; separators are skipped,
  // disabled items are not.
  TMenuPicker Pick(3);
  Popup->Popup(100, 100);
  EXPECT_TRUE(Pick.Seen);
  EXPECT_EQ(Log.Popups, 1);
  EXPECT_EQ(Log.Clicked, (std::vector<String>{L"Paste"}));
}

TEST_F(MenuFormFixture, EscapeClosesThePopupWithoutAClick) {
  TMenuPicker Pick(1, true);
  Popup->Popup(100, 100);
  EXPECT_TRUE(Pick.Seen);
  EXPECT_TRUE(Log.Clicked.empty());
}

TEST_F(MenuFormFixture, ContextMenuOfAControlShowsItsPopup) {
  TEdit* E = Create<TEdit>(Form.get());
  E->SetParent(Form.get());
  E->SetPopupMenu(Popup);
  TMenuPicker Pick(1);
  // Keyboard-invoked: the menu shows at the control's corner.
  SendMessageW(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()),
               MAKELPARAM(-1, -1));
  EXPECT_TRUE(Pick.Seen);
  EXPECT_EQ(Popup->PopupComponent, E);
  EXPECT_EQ(Log.Clicked, (std::vector<String>{L"Cut"}));
  POINT Corner{0, 0};
  ClientToScreen(E->Handle(), &Corner);
  EXPECT_EQ(E->ClientToScreen(Point(0, 0)), Point(Corner.x, Corner.y));
  // Without AutoPopup the edit shows its own menu instead (closed here).
  Popup->SetAutoPopup(false);
  TMenuPicker Close(0, true);
  SendMessageW(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()),
               MAKELPARAM(-1, -1));
  EXPECT_TRUE(Close.Seen);
  EXPECT_EQ(Log.Popups, 1);
}

TEST(Menus, TheHandleIsBuiltOnceAndFollowsChanges) {
  TMenuLog Log;
  TOwned<TPopupMenu> P(Create<TPopupMenu>(nullptr));
  TMenuItem* Open = AddItem(P.get(), P->Items(), L"&Open", &Log);
  TMenuItem* Save = AddItem(P.get(), P->Items(), L"Save", &Log);
  HMENU M = P->Handle();
  ASSERT_EQ(GetMenuItemCount(M), 2);
  struct TCase {
    const wchar_t* What;
    void (*Change)(TMenuItem*);
    bool (*Shows)(HMENU, UINT);
  };
  const TCase Cases[] = {
      {L"caption", [](TMenuItem* I) { I->SetCaption(L"&Load"); },
       [](HMENU H, UINT Pos) { return MenuText(H, Pos) == L"&Load"; }},
      {L"shortcut", [](TMenuItem* I) { I->SetShortCut(scCtrl | 'L'); },
       [](HMENU H, UINT Pos) { return MenuText(H, Pos) == L"&Load\tCtrl+L"; }},
      {L"disabled", [](TMenuItem* I) { I->SetEnabled(false); },
       [](HMENU H, UINT Pos) { return (GetMenuState(H, Pos, MF_BYPOSITION) & MF_GRAYED) != 0; }},
      {L"checked", [](TMenuItem* I) { I->SetChecked(true); },
       [](HMENU H, UINT Pos) { return (GetMenuState(H, Pos, MF_BYPOSITION) & MF_CHECKED) != 0; }},
  };
  for (const TCase& C : Cases) {
    C.Change(Open);
    EXPECT_EQ(P->Handle(), M) << C.What;
    EXPECT_TRUE(C.Shows(M, 0)) << C.What;
  }
  // Structure: hidden and added items, a separator, and a sub-menu that
  // appears with the first sub-item.
  Save->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(M), 1);
  Save->SetVisible(true);
  TMenuItem* Line = AddItem(P.get(), P->Items(), L"-", &Log);
  EXPECT_EQ(GetMenuItemCount(M), 3);
  EXPECT_TRUE(GetMenuState(M, 2, MF_BYPOSITION) & MF_SEPARATOR);
  Line->SetCaption(L"Print");
  EXPECT_EQ(MenuText(M, 2), L"Print");
  AddItem(P.get(), Save, L"As text", &Log);
  HMENU Sub = GetSubMenu(M, 1);
  ASSERT_NE(Sub, nullptr);
  EXPECT_EQ(MenuText(Sub, 0), L"As text");
  EXPECT_EQ(P->Handle(), M);
  Save->Clear();
  EXPECT_EQ(GetSubMenu(M, 1), nullptr);
  Line->Free();
  EXPECT_EQ(GetMenuItemCount(M), 2);
}

// An image list whose drawing is counted.
class TCountingImageList : public TImageList {
  DECLARE_CLASS(TCountingImageList, TImageList)
 public:
  using TImageList::TImageList;
  int Draws = 0;

 protected:
  void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style,
              bool Enabled) override {
    ++Draws;
    inherited::DoDraw(Index, Canvas, X, Y, Style, Enabled);
  }
};
IMPLEMENT_CREATABLE_CLASS(TCountingImageList)

TOwned<TCountingImageList> OneImage(TColor Color) {
  TOwned<TCountingImageList> L(Create<TCountingImageList>(nullptr));
  L->SetColorDepth(cd24Bit);
  TOwned<TBitmap> B(Create<TBitmap>());
  B->SetPixelFormat(TPixelFormat::pf24bit);
  B->SetSize(16, 16);
  B->Canvas()->Brush()->SetColor(Color);
  B->Canvas()->FillRect(Rect(0, 0, 16, 16));
  L->Add(B.get(), nullptr);
  return L;
}

TEST(Menus, AnItemImageIsDrawnThroughThePopupsWindow) {
  TMenuLog Log;
  auto Images = OneImage(clFuchsia);
  TOwned<TPopupMenu> P(Create<TPopupMenu>(nullptr));
  P->SetImages(Images.get());
  TMenuItem* Item = AddItem(P.get(), P->Items(), L"Paint", &Log);
  TMenuItem* Plain = AddItem(P.get(), P->Items(), L"Plain", &Log);
  Item->SetImageIndex(0);
  HMENU M = P->Handle();
  MENUITEMINFOW Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = MIIM_BITMAP | MIIM_FTYPE;
  GetMenuItemInfoW(M, 0, TRUE, &Info);
  EXPECT_EQ(Info.hbmpItem, HBMMENU_CALLBACK);
  EXPECT_FALSE(Info.fType & MFT_OWNERDRAW);
  GetMenuItemInfoW(M, 1, TRUE, &Info);
  EXPECT_EQ(Info.hbmpItem, nullptr);

  // The owner window answers the platform's questions about the image.
  MEASUREITEMSTRUCT Measure{};
  Measure.CtlType = ODT_MENU;
  Measure.itemID = Item->Command();
  SendMessageW(P->Window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&Measure));
  EXPECT_EQ(Measure.itemWidth, 16u);
  EXPECT_EQ(Measure.itemHeight, 16u);
  TOwned<TBitmap> Target(Create<TBitmap>());
  Target->SetPixelFormat(TPixelFormat::pf24bit);
  Target->SetSize(40, 20);
  Target->Canvas()->Brush()->SetColor(clWhite);
  Target->Canvas()->FillRect(Rect(0, 0, 40, 20));
  DRAWITEMSTRUCT Draw{};
  Draw.CtlType = ODT_MENU;
  Draw.itemID = Item->Command();
  Draw.hDC = Target->Canvas()->Handle();
  Draw.rcItem = Rect(2, 2, 20, 18);
  EXPECT_EQ(SendMessageW(P->Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&Draw)), TRUE);
  EXPECT_EQ(Target->Canvas()->Pixels(10, 10) & 0xFFFFFF, clFuchsia);
  EXPECT_EQ(Target->Canvas()->Pixels(30, 10) & 0xFFFFFF, clWhite);
  // Another list's item, or an unknown command, is not the popup's.
  Draw.itemID = 0xFFFF;
  EXPECT_EQ(SendMessageW(P->Window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&Draw)), FALSE);

  // A bitmap of the item's own takes the image's place.
  Plain->Bitmap()->SetSize(8, 8);
  Plain->Bitmap()->Canvas()->Brush()->SetColor(clTeal);
  Plain->Bitmap()->Canvas()->FillRect(Rect(0, 0, 8, 8));
  GetMenuItemInfoW(M, 1, TRUE, &Info);
  EXPECT_EQ(Info.hbmpItem, HBMMENU_CALLBACK);
  // Without the images the item is plain again.
  P->SetImages(nullptr);
  GetMenuItemInfoW(M, 0, TRUE, &Info);
  EXPECT_EQ(Info.hbmpItem, nullptr);
}

// Draws the owner-drawn item and notes it.
struct TOwnerDrawLog {
  int Draws = 0;
  int Measures = 0;
  TRect Last{};
  void Draw(TObject*, TCanvas* C, TRect R, TOwnerDrawState) {
    ++Draws;
    Last = R;
    C->Brush()->SetColor(clOlive);
    C->FillRect(R);
  }
  void Measure(TObject*, TCanvas*, Integer& W, Integer& H) {
    ++Measures;
    W = 150;
    H = 24;
  }
};

TEST_F(MenuFormFixture, AnOpenMenuDrawsImagesAndOwnerDrawnItems) {
  auto Images = OneImage(clFuchsia);
  Popup->SetImages(Images.get());
  Popup->Items()->Items(0)->SetImageIndex(0);
  TOwnerDrawLog Owner;
  TMenuItem* Drawn = Popup->Items()->Items(3);
  Drawn->SetOnAdvancedDrawItem(MakeEvent<&TOwnerDrawLog::Draw>(&Owner));
  Drawn->SetOnMeasureItem(MakeEvent<&TOwnerDrawLog::Measure>(&Owner));
  TMenuPicker Pick(3);
  Popup->Popup(100, 100);
  EXPECT_TRUE(Pick.Seen);
  EXPECT_GT(Images->Draws, 0);
  EXPECT_GT(Owner.Measures, 0);
  EXPECT_GT(Owner.Draws, 0);
  EXPECT_EQ(RectHeight(Owner.Last), 24);
  // The owner-drawn item is still an item: it was chosen and clicked.
  EXPECT_EQ(Log.Clicked, (std::vector<String>{L"Paste"}));
}

TEST_F(MenuFormFixture, ItemsFollowTheirActions) {
  TActionLog Actions;
  TActionList* List = Create<TActionList>(Form.get());
  TAction* A = Create<TAction>(Form.get());
  A->SetActionList(List);
  A->SetCaption(L"&Copy");
  A->SetShortCut(scCtrl | 'C');
  A->SetOnExecute(MakeEvent<&TActionLog::Execute>(&Actions));
  TMenuItem* Item = Popup->Items()->Items(0);
  Item->OnClick = nullptr;
  Item->SetAction(A);
  EXPECT_EQ(Item->Caption(), L"&Copy");
  EXPECT_EQ(Item->ShortCut(), scCtrl | 'C');
  HMENU M = Popup->Handle();
  EXPECT_EQ(MenuText(M, 0), L"&Copy\tCtrl+C");
  A->SetEnabled(false);
  EXPECT_TRUE(GetMenuState(M, 0, MF_BYPOSITION) & MF_GRAYED);
  A->SetEnabled(true);
  Item->Click();
  EXPECT_EQ(Actions.Executes, 1);
  EXPECT_EQ(Actions.Component, Item);
  // The shortcut reaches the popup menu of the focused control.
  TEdit* E = Create<TEdit>(Form.get());
  E->SetParent(Form.get());
  E->SetPopupMenu(Popup);
  E->SetFocus();
  Application()->ProcessMessages();
  BYTE State[256];
  GetKeyboardState(State);
  State[VK_CONTROL] = 0x80;
  SetKeyboardState(State);
  PostMessageW(E->Handle(), WM_KEYDOWN, 'C', 0x002E0001);
  Application()->ProcessMessages();
  State[VK_CONTROL] = 0;
  SetKeyboardState(State);
  EXPECT_EQ(Actions.Executes, 2);
  EXPECT_EQ(Actions.Component, Item);
}

}  // namespace
