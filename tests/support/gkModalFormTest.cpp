#include <gtest/gtest.h>

#include "gkModalForm.h"

namespace {

// Answers the next message dialog that shows: keeps its text and presses
// the named button (or closes the window when the name is empty) with a
// real click on the button's window.
class TNoteAnswerer {
 public:
  explicit TNoteAnswerer(const String& AButton) : FButton(AButton) {
    FTimer.reset(Create<TTimer>(nullptr));
    FTimer->SetInterval(30);
    FTimer->SetOnTimer(MakeEvent<&TNoteAnswerer::Tick>(this));
  }
  String FormText;
  String DefaultName, CancelName, Caption;
  bool HasImage = false;

 private:
  void Tick(TObject*) {
    for (Integer I = 0; I < Screen()->FormCount(); ++I) {
      auto* Form = AsOrNull<TMessageForm>(Screen()->Forms(I));
      if (!Form || !Form->Visible() || !Form->HandleAllocated()) continue;
      FTimer->SetEnabled(false);
      FormText = Form->GetFormText();
      Caption = Form->Caption();
      HasImage = Form->FindComponent(L"Image") != nullptr;
      for (Integer J = 0; J < Form->ComponentCount(); ++J)
        if (auto* B = AsOrNull<TButton>(Form->Components(J))) {
          if (B->Default()) DefaultName = B->Name();
          if (B->Cancel()) CancelName = B->Name();
        }
      if (FButton.empty()) {
        PostMessageW(Form->Handle(), WM_CLOSE, 0, 0);
      } else if (auto* B = AsOrNull<TButton>(Form->FindComponent(FButton))) {
        SendMessageW(B->Handle(), BM_CLICK, 0, 0);
      }
      return;
    }
  }
  String FButton;
  TOwned<TTimer> FTimer;
};

String Ruler() { return String(27, L'-') + L"\r\n"; }

TEST(Note, InformationWithOneOkButton) {
  TNoteAnswerer Answer(L"OK");
  EXPECT_EQ(Note(L"Не указана входная папка.", mtInformation, {mbOK}, mbOK), mrOk);
  EXPECT_EQ(Answer.Caption, GetNoteCaption());
  EXPECT_EQ(Answer.DefaultName, L"OK");
  EXPECT_EQ(Answer.CancelName, L"OK");  // OK also answers Escape
  EXPECT_TRUE(Answer.HasImage);
  EXPECT_EQ(Answer.FormText, Ruler() + GetNoteCaption() + L"\r\n" + Ruler() +
                                 L"Не указана входная папка.\r\n" + Ruler() + L"OK   \r\n" + Ruler());
  EXPECT_EQ(GetNoteCaption(), L"support_tests.exe");
}

TEST(Note, DefaultOutsideTheSetAndTheCancelRule) {
  TNoteAnswerer Answer(L"No");
  EXPECT_EQ(Note(L"Продолжить?", mtConfirmation, {mbYes, mbNo}, mbCancel), mrNo);
  EXPECT_EQ(Answer.DefaultName, L"Yes");
  EXPECT_EQ(Answer.CancelName, L"No");
  EXPECT_NE(Pos(L"Да   Нет   \r\n", Answer.FormText), 0);
}

TEST(Note, WithoutButtonsTheCloseBoxGivesCancel) {
  TNoteAnswerer Answer(L"");
  EXPECT_EQ(Note(L"x", mtWarning, {}, mbOK), mrCancel);
}

TEST(Note, CloseButtonAndCustomTypeWithoutIcon) {
  TNoteAnswerer Answer(L"Close");
  EXPECT_EQ(Note(L"text", mtCustom, {mbClose}, mbClose), mrClose);
  EXPECT_FALSE(Answer.HasImage);
}

TEST(MessageForm, CtrlCCopiesTheTextAndCtrlShiftCDoesNot) {
  TOwned<TMessageForm> Form(CreateMessageDialog(L"M", mtWarning, {mbYes, mbNo}, mbYes));
  Form->SetCaption(L"C");
  String Expected = Ruler() + L"C\r\n" + Ruler() + L"M\r\n" + Ruler() + L"Да   Нет   \r\n" + Ruler();
  EXPECT_EQ(Form->GetFormText(), Expected);
  auto ReadClipboard = []() {
    String Text;
    if (OpenClipboard(nullptr)) {
      if (HANDLE H = GetClipboardData(CF_TEXT)) {
        const char* P = static_cast<const char*>(GlobalLock(H));
        if (P) Text = AnsiToString(AnsiString(P));
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

TEST(MessageForm, LongMessagesWrapWithinHalfTheScreen) {
  String Long;
  for (int I = 0; I < 80; ++I) Long += L"слово ";
  TOwned<TMessageForm> Form(CreateMessageDialog(Long, mtError, {mbOK}, mbOK));
  ASSERT_NE(Form->Message, nullptr);
  EXPECT_LE(Form->Message->Width(), Screen()->Width() / 2);
  EXPECT_GT(Form->Message->Height(), Form->Canvas()->TextHeight(L"Ag") * 2);
}

}  // namespace
