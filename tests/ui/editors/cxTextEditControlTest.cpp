// The text editor control and its inner EDIT, on real forms: window text,
// typing, selection, the clipboard against the platform's EDIT, own painting
// of an aligned text, the bounds lock, validation on Enter, the module's
// registrations, the search-edit link and a form text round trip.
#include <gtest/gtest.h>

#include "Clipbrd.h"
#include "EditcoreTestSupport.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "cxEditConsts.h"
#include "cxFilterControlUtils.h"
#include "cxTextEdit.h"
#include "dxIncrementalFiltering.h"
#include "ui/controls/ControlsTestSupport.h"

namespace {

using ControlsTest::CaptureWindow;
using ControlsTest::CreateForm;
using ControlsTest::PumpApplicationUntil;
using ControlsTest::SendKey;

void Press(WORD AKey, WORD AModifier = 0) {
  if (AModifier) SendKey(AModifier, false);
  SendKey(AKey, false);
  SendKey(AKey, true);
  if (AModifier) SendKey(AModifier, true);
}

bool Settle() {
  return PumpApplicationUntil([] { return GetQueueStatus(QS_ALLINPUT) == 0; });
}

TcxCustomInnerTextEdit* InnerOf(TcxCustomTextEdit* AEdit) {
  return dynamic_cast<TcxCustomInnerTextEdit*>(AEdit->InnerControl());
}

class TextEditOnForm : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(320, 160));
    Edit = Create<TcxTextEdit>(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 10, 200, 21);
  }
  void TearDown() override { Form.reset(); }

  void Focus(TWinControl* AControl) {
    AControl->SetFocus();
    ASSERT_TRUE(PumpApplicationUntil([&] { return GetFocus() == FocusWindow(AControl); }));
  }
  static HWND FocusWindow(TWinControl* AControl) {
    if (auto* AEdit = dynamic_cast<TcxCustomTextEdit*>(AControl))
      return AEdit->InnerControl()->Handle();
    return AControl->Handle();
  }
  // Types AText as key presses into the focused window.
  static void Type(const wchar_t* AText) {
    for (const wchar_t* C = AText; *C; ++C) {
      const SHORT AScan = VkKeyScanW(*C);
      Press(static_cast<WORD>(AScan & 0xFF), (AScan & 0x100) ? VK_SHIFT : 0);
    }
  }
  // A platform EDIT beside the editor, as the oracle.
  TEdit* MakePlatformEdit(Integer ATop) {
    TEdit* E = Create<TEdit>(Form.get());
    E->SetParent(Form.get());
    E->SetBounds(10, ATop, 200, 21);
    return E;
  }

  TOwned<TCustomForm> Form;
  TcxTextEdit* Edit = nullptr;
};

// ---------------------------------------------------------------------------
// Construction and window text

TEST_F(TextEditOnForm, NewEditorHasItsDefaults) {
  TOwned<TcxTextEdit> E(Create<TcxTextEdit>(nullptr));
  EXPECT_EQ(E->Width(), 121);
  EXPECT_EQ(E->Height(), 21);
  EXPECT_TRUE(E->GetBeepOnEnter());
  ASSERT_NE(InnerOf(E.get()), nullptr);
  EXPECT_EQ(InnerOf(E.get())->Color(), clWindow);
  EXPECT_EQ(E->InnerTextEdit()->GetControlContainer(), E.get());
}

TEST_F(TextEditOnForm, GetTextCopiesWhatFitsLikeThePlatformEdit) {
  TEdit* AOracle = MakePlatformEdit(60);
  const String AText = L"0123456789";
  Edit->SetText(AText);
  AOracle->SetText(AText);
  ASSERT_EQ(VarToStr(Edit->GetEditValue()), AText);
  for (WPARAM ASize : {WPARAM(0), WPARAM(1), WPARAM(5), WPARAM(10), WPARAM(11), WPARAM(40)}) {
    SCOPED_TRACE(ASize);
    wchar_t Mine[64], Theirs[64];
    std::fill(std::begin(Mine), std::end(Mine), L'#');
    std::fill(std::begin(Theirs), std::end(Theirs), L'#');
    const LRESULT AMine = SendMessageW(Edit->Handle(), WM_GETTEXT, ASize,
                                       reinterpret_cast<LPARAM>(Mine));
    const LRESULT ATheirs = SendMessageW(AOracle->Handle(), WM_GETTEXT, ASize,
                                         reinterpret_cast<LPARAM>(Theirs));
    EXPECT_EQ(AMine, ATheirs);
    EXPECT_EQ(String(Mine, Mine + 12), String(Theirs, Theirs + 12));
  }
  EXPECT_EQ(SendMessageW(Edit->Handle(), WM_GETTEXTLENGTH, 0, 0), 10);
}

TEST_F(TextEditOnForm, SetTextAnswersWhetherTheTextWasTaken) {
  const String AText = L"Сибирь";
  EXPECT_EQ(SendMessageW(Edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AText.c_str())),
            1);
  EXPECT_EQ(Edit->GetText(), AText);
  EXPECT_EQ(VarToStr(Edit->GetEditValue()), AText);
  EXPECT_EQ(InnerOf(Edit)->Text(), AText);
}

// ---------------------------------------------------------------------------
// Typing, selection and the clipboard against the platform's EDIT

TEST_F(TextEditOnForm, TypingAndShiftSelectionAsInThePlatformEdit) {
  TEdit* AOracle = MakePlatformEdit(60);
  for (TWinControl* AControl : std::initializer_list<TWinControl*>{Edit, AOracle}) {
    Focus(AControl);
    Type(L"abcd");
    Press(VK_LEFT);
    Press(VK_HOME, VK_SHIFT);
    ASSERT_TRUE(Settle());
    if (AControl == Edit) EXPECT_TRUE(Edit->ModifiedAfterEnter());
  }
  EXPECT_EQ(Edit->GetText(), L"abcd");
  EXPECT_EQ(Edit->GetText(), AOracle->Text());
  EXPECT_EQ(Edit->GetSelStart(), AOracle->SelStart());
  EXPECT_EQ(Edit->GetSelLength(), AOracle->SelLength());
  EXPECT_EQ(Edit->GetSelText(), L"abc");
}

TEST_F(TextEditOnForm, ClipboardKeysAsInThePlatformEdit) {
  TEdit* AOracle = MakePlatformEdit(60);
  for (TWinControl* AControl : std::initializer_list<TWinControl*>{Edit, AOracle}) {
    Focus(AControl);
    Type(L"hello");
    Press(VK_HOME, VK_SHIFT);
    Press('C', VK_CONTROL);
    Press(VK_END);
    Press('V', VK_CONTROL);
    Press(VK_LEFT, VK_SHIFT);
    Press(VK_LEFT, VK_SHIFT);
    Press('X', VK_CONTROL);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Clipboard()->AsText(), L"lo");
  }
  EXPECT_EQ(Edit->GetText(), L"hellohel");
  EXPECT_EQ(Edit->GetText(), AOracle->Text());
  EXPECT_EQ(Edit->GetSelStart(), AOracle->SelStart());
}

TEST_F(TextEditOnForm, PastePastMaxLengthIsCutAsByTheLimitedPlatformEdit) {
  TEdit* AOracle = MakePlatformEdit(60);
  SendMessageW(AOracle->Handle(), EM_LIMITTEXT, 8, 0);
  Edit->GetProperties()->SetMaxLength(8);
  struct TCase {
    const wchar_t* Before;
    const wchar_t* Expected;
    Integer Caret;
  };
  // Two characters then ten pasted: the first six fit; eight already
  // there: nothing more goes in.
  for (const TCase& C : {TCase{L"ab", L"ab012345", 8}, TCase{L"abcdefgh", L"abcdefgh", 8}}) {
    SCOPED_TRACE(C.Before);
    for (TWinControl* AControl : std::initializer_list<TWinControl*>{Edit, AOracle}) {
      AControl->SetText(C.Before);
      Focus(AControl);
      Press(VK_END);
      Clipboard()->SetAsText(L"0123456789");
      Press('V', VK_CONTROL);
      ASSERT_TRUE(Settle());
    }
    EXPECT_EQ(Edit->GetText(), C.Expected);
    EXPECT_EQ(AOracle->Text(), C.Expected);
    EXPECT_EQ(Edit->GetSelStart(), C.Caret);
    EXPECT_EQ(AOracle->SelStart(), C.Caret);
  }
}

TEST_F(TextEditOnForm, UnfocusedSetSelTextKeepsToMaxLengthToo) {
  Edit->GetProperties()->SetMaxLength(4);
  Edit->SetText(L"ab");
  Edit->SetSelection(2, 0);
  Edit->SetSelText(L"cd");
  EXPECT_EQ(Edit->GetText(), L"abcd");
  EXPECT_EQ(Edit->GetCursorPos(), 0);  // unfocused: no caret
}

TEST_F(TextEditOnForm, CursorPosAfterTheLastCharacterIsTheTextLength) {
  Focus(Edit);
  Type(L"abc");
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Edit->GetCursorPos(), 3);
  Press(VK_LEFT);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Edit->GetCursorPos(), 2);
}

TEST_F(TextEditOnForm, EnterValidatesWhenAsked) {
  Edit->GetProperties()->SetValidateOnEnter(true);
  Focus(Edit);
  Type(L"xy");
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(VarIsNull(Edit->GetEditValue()) || VarToStr(Edit->GetEditValue()).empty());
  Press(VK_RETURN);
  ASSERT_TRUE(PumpApplicationUntil([&] { return VarToStr(Edit->GetEditValue()) == L"xy"; }));
  EXPECT_TRUE(Edit->Focused());
}

// ---------------------------------------------------------------------------
// The inner EDIT's window

TEST_F(TextEditOnForm, AlignmentReachesTheWindowOnlyWithoutLeftAlignmentOnEditing) {
  struct TCase {
    TAlignment Alignment;
    bool UseLeft;
    DWORD Expected;
  };
  for (const TCase& C : {TCase{taRightJustify, true, ES_LEFT}, TCase{taRightJustify, false, ES_RIGHT},
                         TCase{taCenter, false, ES_CENTER}, TCase{taLeftJustify, false, ES_LEFT}}) {
    SCOPED_TRACE(testing::Message() << C.Alignment << " " << C.UseLeft);
    Edit->GetProperties()->GetAlignment()->SetHorz(C.Alignment);
    Edit->GetProperties()->SetUseLeftAlignmentOnEditing(C.UseLeft);
    const DWORD AStyle = GetWindowLongW(InnerOf(Edit)->Handle(), GWL_STYLE);
    EXPECT_EQ(AStyle & (ES_RIGHT | ES_CENTER), C.Expected);
    EXPECT_EQ(AStyle & WS_BORDER, 0u);
    EXPECT_EQ(GetWindowLongW(InnerOf(Edit)->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  }
}

TEST_F(TextEditOnForm, PasswordEchoSendsTheStarWithoutVisualStyles) {
  Edit->GetProperties()->SetEchoMode(eemPassword);
  HWND AWnd = InnerOf(Edit)->Handle();
  EXPECT_NE(GetWindowLongW(AWnd, GWL_STYLE) & ES_PASSWORD, 0);
  if (!cxIsVCLThemesEnabled()) EXPECT_EQ(SendMessageW(AWnd, EM_GETPASSWORDCHAR, 0, 0), L'*');
  Edit->GetProperties()->SetPasswordChar(L'#');
  EXPECT_EQ(SendMessageW(InnerOf(Edit)->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'#');
}

// Unfocused, a right- or centre-aligned editor paints its text where an
// EDIT of that alignment, font, margins and size shows it: the first inked
// column and row agree. (Wine's EDIT spaces some glyphs a pixel wider than
// DrawText does, so the glyphs themselves are not compared.)
TEST_F(TextEditOnForm, UnfocusedAlignedTextIsPaintedWhereTheAlignedEditShowsIt) {
  for (TAlignment A : {taRightJustify, taCenter}) {
    SCOPED_TRACE(A);
    Edit->GetProperties()->GetAlignment()->SetHorz(A);
    Edit->SetText(L"Text 42");
    TcxCustomInnerTextEdit* AInner = InnerOf(Edit);
    TEdit* AOracle = Create<TEdit>(Form.get());
    AOracle->SetBorderStyle(bsNone);
    AOracle->SetAlignment(A);
    AOracle->SetParent(Form.get());
    AOracle->SetFont(AInner->Font());
    AOracle->SetColor(AInner->Color());
    AOracle->SetBounds(10, 100, AInner->Width(), AInner->Height());
    AOracle->SetText(L"Text 42");
    SendMessageW(AOracle->Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(0, 1));
    ASSERT_NE(GetFocus(), AInner->Handle());
    TOwned<TcxBitmap32> AMine = CaptureWindow(AInner);
    TOwned<TcxBitmap32> ATheirs = CaptureWindow(AOracle);
    ASSERT_EQ(AMine->Width(), ATheirs->Width());
    Integer AInk = 0;
    const COLORREF ABack = ColorToRGB(AInner->Color());
    for (Integer Y = 0; Y < AMine->Height(); ++Y)
      for (Integer X = 0; X < AMine->Width(); ++X) {
        const COLORREF T = GetPixel(ATheirs->Canvas()->Handle(), X, Y);
        if (T != ABack) ++AInk;
      }
    EXPECT_GT(AInk, 20);
    auto FirstInk = [&](TcxBitmap32* B, bool AColumn) {
      for (Integer I = 0; I < (AColumn ? B->Width() : B->Height()); ++I)
        for (Integer J = 0; J < (AColumn ? B->Height() : B->Width()); ++J)
          if (GetPixel(B->Canvas()->Handle(), AColumn ? I : J, AColumn ? J : I) != ABack) return I;
      return -1;
    };
    EXPECT_EQ(FirstInk(AMine.get(), true), FirstInk(ATheirs.get(), true));
    EXPECT_EQ(FirstInk(AMine.get(), false), FirstInk(ATheirs.get(), false));
    AOracle->Free();
  }
}

// An unlock without a lock is a caller's mistake; the count stays at zero,
// so that the next lock still holds the bounds.
TEST_F(TextEditOnForm, UnlockWithoutLockDoesNotWeakenTheNextLock) {
  IcxInnerTextEdit* AInner = Edit->InnerTextEdit();
  TWinControl* AControl = AInner->GetControl();
  AInner->LockBounds(false);
  AInner->LockBounds(false);
  AInner->LockBounds(true);
  const TRect ABefore = AControl->BoundsRect();
  AControl->SetBounds(ABefore.left + 5, ABefore.top, 50, ABefore.bottom - ABefore.top);
  EXPECT_EQ(AControl->BoundsRect(), ABefore);
  AInner->LockBounds(false);
  AControl->SetBounds(ABefore.left + 5, ABefore.top, 50, ABefore.bottom - ABefore.top);
  EXPECT_EQ(AControl->Left(), ABefore.left + 5);
  EXPECT_EQ(AControl->Width(), 50);
}

TEST_F(TextEditOnForm, TabNeverReachesTheEdit) {
  TEdit* ANext = MakePlatformEdit(60);
  Focus(Edit);
  Type(L"a");
  Press(VK_TAB);
  ASSERT_TRUE(PumpApplicationUntil([&] { return GetFocus() == ANext->Handle(); }));
  EXPECT_EQ(Edit->GetText(), L"a");
}

// ---------------------------------------------------------------------------
// The module

TEST(TextEditModule, RegistersPropertiesAndFilterHelper) {
  TcxRegisteredClasses* ARegistered = GetRegisteredEditProperties();
  ASSERT_NE(ARegistered, nullptr);
  EXPECT_GE(ARegistered->GetIndexByClass(TcxTextEditProperties::StaticClass()), 0);
  // The name before the bar, the description after it.
  const String ADescription = cxGetResourceString(&scxSEditRepositoryTextItem);
  EXPECT_EQ(ARegistered->GetDescriptionByClass(TcxTextEditProperties::StaticClass()) + L"|" +
                ARegistered->GetHintByClass(TcxTextEditProperties::StaticClass()),
            ADescription);
  TcxFilterEditHelperClass AHelper =
      FilterEditsController()->FindHelper(TcxTextEditProperties::StaticClass());
  ASSERT_NE(AHelper, nullptr);
  EXPECT_EQ(AHelper->GetFilterEditClass(), TcxTextEdit::StaticClass());
}

TEST(TextEditModule, FilterHelperPreparesASelectingEditor) {
  TcxFilterEditHelperClass AHelper =
      FilterEditsController()->FindHelper(TcxTextEditProperties::StaticClass());
  ASSERT_NE(AHelper, nullptr);
  TOwned<TcxTextEditProperties> AColumn(Create<TcxTextEditProperties>(nullptr));
  AColumn->SetAutoSelect(false);
  AColumn->SetHideSelection(false);
  AColumn->SetViewStyle(vsHideCursor);
  AColumn->SetReadOnly(true);
  AColumn->GetAlignment()->SetHorz(taRightJustify);
  AColumn->GetButtons()->Add();
  TOwned<TcxTextEdit> AEdit(Create<TcxTextEdit>(nullptr));
  AHelper->InitializeEdit(AEdit.get(), AColumn.get());
  TcxTextEditProperties* P = AEdit->GetProperties();
  EXPECT_TRUE(P->GetAutoSelect());
  EXPECT_TRUE(P->GetHideSelection());
  EXPECT_EQ(P->GetViewStyle(), vsNormal);
  EXPECT_FALSE(P->GetReadOnly());
  EXPECT_EQ(P->GetAlignment()->GetHorz(), taLeftJustify);
  EXPECT_EQ(P->GetButtons()->Count(), 0);
  AHelper->SetFilterValue(AEdit.get(), AColumn.get(), Variant(String(L"abc")));
  EXPECT_EQ(VarToStr(AEdit->GetEditValue()), L"abc");
}

// A helper of the incremental-filtering popup that records what its search
// edit tells it.
class TRecordingFilteringHelper : public TdxCustomIncrementalFilteringHelper {
 public:
  TcxCustomLookAndFeelPainter* GetLookAndFeelPainter() override {
    return cxLookAndFeelPaintersManager()->GetPainter(lfsUltraFlat);
  }
  void SearchEditKeyDown(TObject*, Word&, TShiftState) override { ++KeyDowns; }
  void SearchEditKeyPress(TObject*, Char&) override { ++KeyPresses; }
  void SearchEditMouseWheel(TObject*, TShiftState, Integer, TPoint, bool&) override {}
  void SearchEditValueChanged(TObject*) override { ++Changes; }
  Integer KeyDowns = 0, KeyPresses = 0, Changes = 0;
};

TEST_F(TextEditOnForm, SearchEditLinkMakesARealTextEditor) {
  TRecordingFilteringHelper AHelper;
  AHelper.CreateSearchEdit();
  auto* ASearch = dynamic_cast<TcxTextEdit*>(AHelper.SearchEdit());
  ASSERT_NE(ASearch, nullptr);
  AHelper.InitSearchEdit();
  EXPECT_FALSE(ASearch->GetBeepOnEnter());
  EXPECT_TRUE(static_cast<bool>(ASearch->GetEditViewInfo()->OnDrawButton()));
  ASearch->SetParent(Form.get());
  ASearch->SetBounds(10, 60, 150, 21);
  Focus(ASearch);
  Type(L"ab");
  ASSERT_TRUE(PumpApplicationUntil([&] { return AHelper.GetSearchText() == L"ab"; }));
  EXPECT_GE(AHelper.Changes, 2);
  EXPECT_GE(AHelper.KeyPresses, 2);
  EXPECT_GE(AHelper.KeyDowns, 2);
  ASearch->SetParent(nullptr);
}

// The editor on a panel written as a form resource and read back: the
// editor's own settings and its properties', not its inner edit.
TEST(TextEditModule, FormTextRoundTrip) {
  RegisterClasses({TPanel::StaticClass(), TcxTextEdit::StaticClass()});
  TOwned<TPanel> APanel(Create<TPanel>(nullptr));
  APanel->SetName(L"Panel1");
  TcxTextEdit* AEdit = Create<TcxTextEdit>(APanel.get());
  AEdit->SetName(L"cxTextEdit1");
  AEdit->SetParent(APanel.get());
  AEdit->SetBeepOnEnter(false);
  AEdit->GetProperties()->SetMaxLength(12);
  AEdit->GetProperties()->SetCharCase(ecUpperCase);
  AEdit->SetText(L"МСК-89");
  const std::string AText = FormResourceText(APanel.get());
  EXPECT_NE(AText.find("BeepOnEnter = False"), std::string::npos) << AText;
  EXPECT_EQ(AText.find("TcxCustomInnerTextEdit"), std::string::npos) << AText;
  TOwned<TPanel> ARead = ReadFormResourceText<TPanel>(AText);
  auto* AReadEdit = dynamic_cast<TcxTextEdit*>(ARead->FindComponent(L"cxTextEdit1"));
  ASSERT_NE(AReadEdit, nullptr);
  EXPECT_FALSE(AReadEdit->GetBeepOnEnter());
  EXPECT_EQ(AReadEdit->GetProperties()->GetMaxLength(), 12);
  EXPECT_EQ(AReadEdit->GetProperties()->GetCharCase(), ecUpperCase);
  EXPECT_EQ(AReadEdit->GetText(), L"МСК-89");
  EXPECT_EQ(FormResourceText(ARead.get()), AText);
}

}  // namespace
