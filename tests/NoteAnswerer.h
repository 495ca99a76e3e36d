// A test helper that answers the library's message dialog.
#pragma once

#include "gkModalForm.h"

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
  String MessageText;
  String DefaultName, CancelName, Caption;
  bool HasImage = false;

 private:
  void Tick(TObject*) {
    for (Integer I = 0; I < Screen()->FormCount(); ++I) {
      auto* Form = AsOrNull<TMessageForm>(Screen()->Forms(I));
      if (!Form || !Form->Visible() || !Form->HandleAllocated()) continue;
      FTimer->SetEnabled(false);
      FormText = Form->GetFormText();
      MessageText = Form->Message ? Form->Message->Caption() : String();
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
