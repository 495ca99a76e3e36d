// Alt with a character reaches the form's controls as a dialog character
// before the platform looks for a menu.
#include <gtest/gtest.h>

#include "Forms.h"

namespace {

// Remembers the dialog characters it was offered and owns the letter 'g'.
class TAcceleratedControl : public TCustomControl {
  DECLARE_CLASS(TAcceleratedControl, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  std::wstring Offered;

 protected:
  void CMDialogChar(TMessage& Message) override {
    Offered += static_cast<wchar_t>(Message.WParam);
    Message.Result = Message.WParam == L'g' ? 1 : 0;
  }
};
IMPLEMENT_CLASS(TAcceleratedControl)

// Keeps what nobody took from the platform, which would look for a menu.
class TQuietForm : public TForm {
  DECLARE_CLASS(TQuietForm, TForm)
 public:
  using TForm::TForm;
  int ReachedPlatform = 0;
  void DefaultHandler(TMessage& Message) override {
    if (Message.Msg == WM_SYSCOMMAND) {
      ++ReachedPlatform;
      return;
    }
    inherited::DefaultHandler(Message);
  }
};
IMPLEMENT_CLASS(TQuietForm)

TEST(DialogChar, AltWithACharacterIsOfferedToTheFormsControls) {
  TOwned<TQuietForm> Form(Create<TQuietForm>(nullptr, true));
  auto* Control = Create<TAcceleratedControl>(Form.get());
  Control->SetParent(Form.get());
  Form->HandleNeeded();
  const struct {
    const char* What;
    LPARAM Key;
    const wchar_t* Offered;
    int ReachedPlatform;
  } Rows[] = {
      {"a letter the control owns", L'g', L"g", 0},
      {"a letter nobody owns", L'x', L"x", 1},
      {"Alt alone opens the menu", 0, L"", 1},
      {"Alt+Space is the window menu", L' ', L"", 1},
      {"Alt+- is the child window menu", L'-', L"", 1},
  };
  for (const auto& R : Rows) {
    Control->Offered.clear();
    Form->ReachedPlatform = 0;
    TMessage M{WM_SYSCOMMAND, SC_KEYMENU, R.Key, 0};
    Form->WindowProc(M);
    EXPECT_EQ(Control->Offered, R.Offered) << R.What;
    EXPECT_EQ(Form->ReachedPlatform, R.ReachedPlatform) << R.What;
  }
}

}  // namespace
