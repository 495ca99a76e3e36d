#include <gtest/gtest.h>

#include "NoteAnswerer.h"
#include "WinHandles.h"
#include "gkModalForm.h"

namespace {

String Ruler() { return String(27, L'-') + L"\r\n"; }

// The dialog is made with the library's shared fonts, which live between
// the common module's start-up and shut-down.
class Dialogs : public testing::Test {
 protected:
  void SetUp() override { gkCommon_Initialize(); }
  void TearDown() override { gkCommon_Finalize(); }
};
using NoteDialog = Dialogs;
using MessageDialog = Dialogs;

TEST_F(NoteDialog, InformationWithOneOkButton) {
  TNoteAnswerer Answer(L"OK");
  EXPECT_EQ(Note(L"Не указана входная папка.", mtInformation, {mbOK}, mbOK), mrOk);
  EXPECT_EQ(Answer.Caption, GetNoteCaption());
  EXPECT_EQ(Answer.DefaultName, L"OK");
  EXPECT_EQ(Answer.CancelName, L"OK");  // OK also answers Escape
  EXPECT_TRUE(Answer.HasImage);
  EXPECT_EQ(Answer.FormText, Ruler() + GetNoteCaption() + L"\r\n" + Ruler() +
                                 L"Не указана входная папка.\r\n" + Ruler() + L"OK   \r\n" +
                                 Ruler());
  EXPECT_EQ(GetNoteCaption(), L"support_tests.exe");
}

TEST_F(NoteDialog, DefaultOutsideTheSetAndTheCancelRule) {
  TNoteAnswerer Answer(L"No");
  EXPECT_EQ(Note(L"Продолжить?", mtConfirmation, {mbYes, mbNo}, mbCancel), mrNo);
  EXPECT_EQ(Answer.DefaultName, L"Yes");
  EXPECT_EQ(Answer.CancelName, L"No");
  EXPECT_NE(Pos(L"Да   Нет   \r\n", Answer.FormText), 0);
}

TEST_F(NoteDialog, WithoutButtonsTheCloseBoxGivesCancel) {
  TNoteAnswerer Answer(L"");
  EXPECT_EQ(Note(L"x", mtWarning, {}, mbOK), mrCancel);
}

TEST_F(NoteDialog, CloseButtonAndCustomTypeWithoutIcon) {
  TNoteAnswerer Answer(L"Close");
  EXPECT_EQ(Note(L"text", mtCustom, {mbClose}, mbClose), mrClose);
  EXPECT_FALSE(Answer.HasImage);
}

TEST_F(MessageDialog, CtrlCCopiesTheTextAndCtrlShiftCDoesNot) {
  TOwned<TMessageForm> Form(CreateMessageDialog(L"M", mtWarning, {mbYes, mbNo}, mbYes));
  Form->SetCaption(L"C");
  String Expected =
      Ruler() + L"C\r\n" + Ruler() + L"M\r\n" + Ruler() + L"Да   Нет   \r\n" + Ruler();
  EXPECT_EQ(Form->GetFormText(), Expected);
  auto ReadClipboard = []() {
    String Text;
    if (OpenClipboard(nullptr)) {
      if (HANDLE H = GetClipboardData(CF_UNICODETEXT)) {
        const wchar_t* P = static_cast<const wchar_t*>(GlobalLock(H));
        if (P) Text = P;
        GlobalUnlock(H);
      }
      CloseClipboard();
    }
    return Text;
  };
  auto Press = [&](TShiftState Shift) {
    Word Key = L'C';
    if (Form->OnKeyDown) Form->OnKeyDown(Form.get(), Key, Shift);
  };
  TMessageForm::WriteToClipBoard(L"before");
  Press({ssCtrl, ssShift});
  EXPECT_EQ(ReadClipboard(), L"before");
  Press({ssCtrl});
  EXPECT_EQ(ReadClipboard(), Expected);
}

TEST_F(MessageDialog, LongMessagesWrapWithinHalfTheScreen) {
  String Long;
  for (int I = 0; I < 80; ++I) Long += L"слово ";
  TOwned<TMessageForm> Form(CreateMessageDialog(Long, mtError, {mbOK}, mbOK));
  ASSERT_NE(Form->Message, nullptr);
  EXPECT_LE(Form->Message->Width(), Screen()->Width() / 2);
  EXPECT_GT(Form->Message->Height(), Form->Canvas()->TextHeight(L"Ag") * 2);
}

// Records the help requests the application receives.
struct THelpLog {
  std::vector<std::pair<Word, NativeInt>> Requests;
  bool CallPlatform = false;
  bool Help(Word Command, NativeInt Data, bool& CallHelp) {
    Requests.push_back({Command, Data});
    CallHelp = CallPlatform;
    return true;
  }
};

TEST_F(MessageDialog, TheHelpButtonAsksTheApplicationsHelpWithTheFormsContext) {
  THelpLog Log;
  Application()->OnHelp = MakeEvent<&THelpLog::Help>(&Log);
  auto Restore = Finally([] { Application()->OnHelp = nullptr; });
  TOwned<TMessageForm> Form(CreateMessageDialog(L"M", mtInformation, {mbOK, mbHelp}, mbOK));
  Form->SetHelpContext(4711);
  auto* Help = AsOrNull<TButton>(Form->FindComponent(L"Help"));
  ASSERT_NE(Help, nullptr);
  Help->Click();
  ASSERT_EQ(Log.Requests.size(), 1u);
  EXPECT_EQ(Log.Requests[0].first, HELP_CONTEXT);
  EXPECT_EQ(Log.Requests[0].second, 4711);
  // The dialog stays open beside the help.
  EXPECT_EQ(Form->ModalResult(), mrNone);
}

TEST_F(MessageDialog, WithoutAHelpFileTheHelpButtonDoesNothing) {
  ASSERT_TRUE(Application()->HelpFile().empty());
  ASSERT_FALSE(Application()->OnHelp);
  TOwned<TMessageForm> Form(CreateMessageDialog(L"M", mtInformation, {mbOK, mbHelp}, mbOK));
  auto* Help = AsOrNull<TButton>(Form->FindComponent(L"Help"));
  ASSERT_NE(Help, nullptr);
  Help->Click();
  EXPECT_EQ(Form->ModalResult(), mrNone);
  EXPECT_FALSE(Application()->HelpContext(12));
  // A handler that keeps the platform out answers alone, file or not.
  THelpLog Log;
  Application()->OnHelp = MakeEvent<&THelpLog::Help>(&Log);
  auto Restore = Finally([] {
    Application()->OnHelp = nullptr;
    Application()->SetHelpFile(String());
  });
  Application()->SetHelpFile(L"C:\\нет такой справки.hlp");
  EXPECT_TRUE(Application()->HelpCommand(HELP_FINDER, 0));
  EXPECT_EQ(Log.Requests, (std::vector<std::pair<Word, NativeInt>>{{HELP_FINDER, 0}}));
}

}  // namespace
