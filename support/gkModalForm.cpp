#include "gkModalForm.h"

#include "ExtCtrls.h"

#include <algorithm>
#include <cstring>

namespace {

struct TButtonInfo {
  const wchar_t* Name;
  const wchar_t* Caption;  // used when the program has no string table entry
  TModalResult Result;
};

const TButtonInfo ButtonInfos[] = {
    {L"Yes", L"Да", mrYes},
    {L"No", L"Нет", mrNo},
    {L"OK", L"OK", mrOk},
    {L"Cancel", L"Отмена", mrCancel},
    {L"Abort", L"Прервать", mrAbort},
    {L"Retry", L"Повторить", mrRetry},
    {L"Ignore", L"Игнорировать", mrIgnore},
    {L"All", L"Все", mrAll},
    {L"NoToAll", L"Нет для всех", mrNoToAll},
    {L"YesToAll", L"Да для всех", mrYesToAll},
    {L"Help", L"Справка", 0},
    {L"Close", L"Закрыть", mrClose},
};

const wchar_t* const DefaultTypeCaptions[] = {L"Предупреждение", L"Ошибка", L"Информация",
                                              L"Подтверждение"};
const UINT TypeCaptionIds[] = {SMsgDlgWarning, SMsgDlgError, SMsgDlgInformation, SMsgDlgConfirm};
const LPCWSTR TypeIcons[] = {IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION};

// Widths of the button captions, measured once per process.
Integer ButtonWidths[12] = {};

String LoadResString(UINT Id, const wchar_t* Fallback) {
  const wchar_t* Text = nullptr;
  int Len = LoadStringW(GetModuleHandleW(nullptr), Id, reinterpret_cast<LPWSTR>(&Text), 0);
  if (Len > 0 && Text) return String(Text, static_cast<size_t>(Len));
  return Fallback;
}

}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkModalForm)

void TgkModalForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  HWND Owner = nullptr;
  if (Screen() && Screen()->ActiveForm() && Screen()->ActiveForm() != this &&
      Screen()->ActiveForm()->HandleAllocated())
    Owner = Screen()->ActiveForm()->Handle();
  else if (Application() && Application()->MainForm() && Application()->MainForm() != this &&
           Application()->MainForm()->HandleAllocated())
    Owner = Application()->MainForm()->Handle();
  if (Owner && (IsIconic(Owner) || !IsWindowVisible(Owner) || !IsWindowEnabled(Owner)))
    Owner = nullptr;
  if (!Owner && Application()) Owner = Application()->Handle();
  Params.WndParent = Owner;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TMessageForm)

TMessageForm::TMessageForm(TComponent* AOwner) : TgkModalForm(AOwner, true) {
  Font()->Assign(SystemFont());
}

void TMessageForm::CustomKeyDown(TObject*, Word& Key, TShiftState Shift) {
  if (Key == L'C' && Shift == TShiftState{ssCtrl}) {
    MessageBeep(0);
    WriteToClipBoard(GetFormText());
  }
}

void TMessageForm::HelpButtonClick(TObject*) {
  // The button's modal result is none: the dialog stays open beside the help.
  Application()->HelpContext(HelpContext());
}

String TMessageForm::GetFormText() {
  const String Ruler = String(27, L'-') + L"\r\n";
  String Buttons;
  for (Integer I = 0; I < ComponentCount(); ++I)
    if (auto* B = AsOrNull<TButton>(Components(I))) Buttons += B->Caption() + L"   ";
  Buttons = StringReplace(Buttons, L"&", L"", {rfReplaceAll});
  return Ruler + Caption() + L"\r\n" + Ruler + (Message ? Message->Caption() : String()) + L"\r\n" +
         Ruler + Buttons + L"\r\n" + Ruler;
}

void TMessageForm::WriteToClipBoard(const String& Text) {
  if (!OpenClipboard(nullptr))
    throw Exception(Format(LoadResString(61030, L"Cannot open clipboard: %s"),
                           {SysErrorMessage(GetLastError())}));
  // The 8-bit text in the ANSI code page, and the text itself as well: on a
  // system whose code page lacks Cyrillic the 8-bit copy alone would turn
  // every letter into a question mark.
  auto Put = [](UINT Format, const void* Data, size_t Size) {
    HGLOBAL Block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
    if (!Block) RaiseLastOSError();
    void* P = GlobalLock(Block);
    if (!P) {
      GlobalFree(Block);
      RaiseLastOSError();
    }
    std::memcpy(P, Data, Size);
    GlobalUnlock(Block);
    if (!SetClipboardData(Format, Block)) {
      GlobalFree(Block);
      RaiseLastOSError();
    }
  };
  auto Close = Finally([] { CloseClipboard(); });
  EmptyClipboard();
  AnsiString Bytes = StringToAnsi(Text);
  Put(CF_TEXT, Bytes.c_str(), Bytes.size() + 1);
  Put(CF_UNICODETEXT, Text.c_str(), (Text.size() + 1) * sizeof(wchar_t));
}

TMessageForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                  TMsgDlgBtn DefaultButton, const String& ACheckText) {
  TOwned<TMessageForm> Form(Create<TMessageForm>(Application()));
  Form->SetPosition(poMainFormCenter);
  Form->SetBorderStyle(bsDialog);
  Form->SetKeyPreview(true);
  Form->OnKeyDown = MakeEvent<&TMessageForm::CustomKeyDown>(Form.get());
  TCanvas* Canvas = Form->Canvas();
  Canvas->Font()->Assign(Form->Font());

  TSize Ave = GetAveCharSize(Canvas);
  const Integer HorzMargin = MulDiv(16, Ave.cx, 4), VertMargin = MulDiv(8, Ave.cy, 8),
                HorzSpacing = MulDiv(10, Ave.cx, 4), VertSpacing = MulDiv(10, Ave.cy, 8),
                ButtonHeight = MulDiv(14, Ave.cy, 8), ButtonSpacing = MulDiv(4, Ave.cx, 4);
  Integer ButtonWidth = MulDiv(50, Ave.cx, 4);
  HDC DC = Canvas->Handle();
  UINT BiDi = static_cast<UINT>(Form->DrawTextBiDiModeFlags(0));
  for (Integer I = 0; I < 12; ++I) {
    auto B = static_cast<TMsgDlgBtn>(I);
    if (!Buttons.Contains(B)) continue;
    if (ButtonWidths[I] == 0) {
      String Text = LoadResString(SMsgDlgButtonBase + I, ButtonInfos[I].Caption);
      RECT R{0, 0, 0, 0};
      DrawTextW(DC, Text.c_str(), -1, &R, DT_CALCRECT | DT_LEFT | DT_SINGLELINE | BiDi);
      ButtonWidths[I] = R.right - R.left + 8;
    }
    ButtonWidth = std::max(ButtonWidth, ButtonWidths[I]);
  }

  RECT TextRect{0, 0, Screen()->Width() / 2, 0};
  DrawTextW(DC, Msg.c_str(), -1, &TextRect, DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK | BiDi);
  bool HasIcon = DlgType != mtCustom;
  Integer IconTextWidth = TextRect.right, IconTextHeight = TextRect.bottom;
  if (HasIcon) {
    IconTextWidth += 32 + HorzSpacing;
    IconTextHeight = std::max<Integer>(IconTextHeight, 32);
  }
  Integer ButtonCount = static_cast<Integer>(Buttons.Count());
  Integer ButtonGroupWidth =
      ButtonCount > 0 ? ButtonWidth * ButtonCount + ButtonSpacing * (ButtonCount - 1) : 0;
  Integer CheckHeight = ACheckText.empty() ? 0 : MulDiv(8, Ave.cy, 8) + VertSpacing;
  Form->SetClientWidth(std::max(IconTextWidth, ButtonGroupWidth) + HorzMargin * 2);
  Form->SetClientHeight(IconTextHeight + CheckHeight + ButtonHeight + VertSpacing + VertMargin * 2);
  Form->SetLeft(Screen()->Width() / 2 - Form->Width() / 2);
  Form->SetTop(Screen()->Height() / 2 - Form->Height() / 2);
  Form->SetCaption(DlgType == mtCustom
                       ? Application()->Title()
                       : LoadResString(TypeCaptionIds[DlgType], DefaultTypeCaptions[DlgType]));

  if (HasIcon) {
    auto* Image = Create<TImage>(Form.get());
    Image->SetName(L"Image");
    Image->SetParent(Form.get());
    // The stock icon is shared by the system; the image owns a copy.
    Image->Picture()->Icon()->SetHandle(CopyIcon(LoadIconW(nullptr, TypeIcons[DlgType])));
    Image->SetBounds(HorzMargin, VertMargin, 32, 32);
  }

  auto* Label = Create<TLabel>(Form.get());
  Label->SetName(L"Message");
  Label->SetParent(Form.get());
  Label->SetWordWrap(true);
  Label->SetCaption(Msg);
  Label->SetBoundsRect(TextRect);
  Label->SetBiDiMode(Form->BiDiMode());
  Integer ALeft = IconTextWidth - TextRect.right + HorzMargin;
  if (Label->UseRightToLeftAlignment()) ALeft = Form->ClientWidth() - ALeft - Label->Width();
  Label->SetBounds(ALeft, VertMargin, RectWidth(TextRect), RectHeight(TextRect));
  Form->Message = Label;

  TMsgDlgBtn Default = DefaultButton;
  if (!Buttons.Contains(Default)) {
    if (Buttons.Contains(mbOK))
      Default = mbOK;
    else if (Buttons.Contains(mbYes))
      Default = mbYes;
    else
      Default = mbRetry;
  }
  TMsgDlgBtn CancelButton = Buttons.Contains(mbCancel) ? mbCancel
                            : Buttons.Contains(mbNo)   ? mbNo
                                                       : mbOK;
  Integer X = (Form->ClientWidth() - ButtonGroupWidth) / 2;
  for (Integer I = 0; I < 12; ++I) {
    auto B = static_cast<TMsgDlgBtn>(I);
    if (!Buttons.Contains(B)) continue;
    auto* Button = Create<TButton>(Form.get());
    Button->SetName(ButtonInfos[I].Name);
    Button->SetParent(Form.get());
    Button->SetCaption(LoadResString(SMsgDlgButtonBase + I, ButtonInfos[I].Caption));
    Button->SetModalResult(ButtonInfos[I].Result);
    if (B == Default) {
      Button->SetDefault(true);
      Form->SetActiveControl(Button);
    }
    if (B == CancelButton) Button->SetCancel(true);
    Button->SetBounds(X, IconTextHeight + VertMargin + VertSpacing, ButtonWidth, ButtonHeight);
    X += ButtonWidth + ButtonSpacing;
    if (B == mbHelp) Button->OnClick = MakeEvent<&TMessageForm::HelpButtonClick>(Form.get());
  }

  if (!ACheckText.empty()) {
    auto* Check = Create<TCheckBox>(Form.get());
    Check->SetName(L"CheckBox");
    Check->SetParent(Form.get());
    Check->SetBounds(HorzMargin, IconTextHeight + VertMargin + ButtonHeight + VertSpacing * 2,
                     Form->ClientWidth() - HorzMargin * 2, Check->Height());
    Check->SetCaption(ACheckText);
  }
  return Form.release();
}
