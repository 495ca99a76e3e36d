// The base form of the library's dialogs and the message dialog form.
#pragma once

#include "Forms.h"
#include "StdCtrls.h"
#include "gkCommon.h"

// A form whose window is owned by the active form (or the main form) when
// that one can own it, and by the application window otherwise.
class TgkModalForm : public TForm {
  DECLARE_CLASS(TgkModalForm, TForm)
 public:
  using TForm::TForm;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

class TMessageForm : public TgkModalForm {
  DECLARE_CLASS(TMessageForm, TgkModalForm)
 public:
  explicit TMessageForm(TComponent* AOwner);
  // The label that holds the text.
  TLabel* Message = nullptr;
  // Ruler, caption, ruler, message, ruler, button captions, ruler; CRLF ends.
  String GetFormText();
  // Puts Text on the clipboard as CF_TEXT in the ANSI code page.
  static void WriteToClipBoard(const String& Text);

 private:
  friend TMessageForm* CreateMessageDialog(const String&, TMsgDlgType, TMsgDlgButtons, TMsgDlgBtn,
                                           const String&);
  void CustomKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void HelpButtonClick(TObject* Sender);
};

// Builds the dialog (owned by the application object); the caller shows and
// frees it. A non-empty ACheckText adds a check box named "CheckBox".
TMessageForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                  TMsgDlgBtn DefaultButton, const String& ACheckText = String());

// String-table ids of the dialog's captions (resources/gkStrings.rc).
constexpr UINT SMsgDlgWarning = 61000;
constexpr UINT SMsgDlgError = 61001;
constexpr UINT SMsgDlgInformation = 61002;
constexpr UINT SMsgDlgConfirm = 61003;
constexpr UINT SMsgDlgButtonBase = 61010;  // + the button kind
