// The mask editor control: routes cursor keys, typed characters, deletions
// and pastes to the mode of its mask kind; unmasked, it is the text editor.
#include "Clipbrd.h"
#include "cxMaskEdit.h"

using cxEditDetail::WithoutUserAction;

namespace {
bool IsRegExprKind(TcxEditMaskKind AKind) { return AKind != emkStandard; }
}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomMaskEdit
IMPLEMENT_CLASS(TcxCustomMaskEdit)

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* AOwner) : TcxCustomMaskEdit(AOwner, false) {}

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomTextEdit(AOwner, AIsInplace) {}

TcxCustomMaskEdit::~TcxCustomMaskEdit() = default;

TClass TcxCustomMaskEdit::GetPropertiesClass() {
  return TcxCustomMaskEditProperties::StaticClass();
}

TcxCustomMaskEditProperties* TcxCustomMaskEdit::GetActiveProperties() {
  return static_cast<TcxCustomMaskEditProperties*>(TcxCustomEdit::GetActiveProperties());
}

TcxCustomMaskEditProperties* TcxCustomMaskEdit::GetProperties() const {
  return static_cast<TcxCustomMaskEditProperties*>(TcxCustomEdit::GetProperties());
}

void TcxCustomMaskEdit::Initialize() {
  TcxCustomTextEdit::Initialize();
  // Whatever the kind: the first properties change puts the right mode in.
  FMode.reset(TcxMaskEditStandardMode::New(this, nullptr));
  FMode->SetEditLink(this);
  FShiftOn = false;
  FEmptyString = InternalGetEmptyString();
}

String TcxCustomMaskEdit::InternalGetEmptyString() {
  return IsMasked() ? FMode->GetEmptyString() : String();
}

void TcxCustomMaskEdit::InternalSetValue(const String& AText) {
  if (IsMasked() && CanSynchronizeModeText()) FMode->SetText(AText);
}

void TcxCustomMaskEdit::SendMyKeyDown(Word Key, TShiftState Shift) {
  if (!InnerEdit()) return;
  const bool Old = FMyMessage;
  FMyMessage = true;
  auto Restore = Finally([this, Old] { FMyMessage = Old; });
  SendKeyDown(InnerEdit()->GetControl(), Key, Shift);
}

void TcxCustomMaskEdit::SendMyKeyPress(Char Key) {
  if (!InnerEdit()) return;
  const bool Old = FMyMessage;
  FMyMessage = true;
  auto Restore = Finally([this, Old] { FMyMessage = Old; });
  SendKeyPress(InnerEdit()->GetControl(), Key);
}

void TcxCustomMaskEdit::DirectSetSelStart(Integer AValue) {
  const bool Old = FInternalTextSelection;
  FInternalTextSelection = true;
  auto Restore = Finally([this, Old] { FInternalTextSelection = Old; });
  SetSelStart(AValue);
}

void TcxCustomMaskEdit::DirectSetSelLength(Integer AValue) {
  const bool Old = FInternalTextSelection;
  FInternalTextSelection = true;
  auto Restore = Finally([this, Old] { FInternalTextSelection = Old; });
  SetSelLength(AValue);
}

// --- Keys

void TcxCustomMaskEdit::DoEditKeyDown(Word& Key, TShiftState Shift) {
  const TShortCut S = ShortCut(Key, Shift);
  if (!IsMasked() || FMyMessage || (S != 0 && S == GetActiveProperties()->GetClearKey()) ||
      IsDefaultButtonKey(S)) {
    TcxCustomTextEdit::DoEditKeyDown(Key, Shift);
    return;
  }
  auto AfterKeyDown = [&] {
    WithoutUserAction(this, [&] {
      if (OnAfterKeyDown()) OnAfterKeyDown()(this, Key, Shift);
    });
  };
  if (!ValidateKeyDown(Key, Shift)) {
    AfterKeyDown();
    Key = 0;
    return;
  }
  if (Key != VK_TAB) {
    FShiftOn = Shift.Contains(ssShift);
    switch (Key) {
      case VK_UP:
      case VK_DOWN:
        if (!HasPopupWindow()) {
          AfterKeyDown();
          Key = 0;
        }
        break;
      case VK_LEFT:
        if (Shift.Contains(ssCtrl)) {
          if (!FMode->PressHome()) {
            SendMyKeyDown(VK_HOME, Shift);
            Key = 0;
          }
        } else {
          const bool AtBegin = FMode->IsCursorBegin();
          if (AtBegin) AfterKeyDown();
          if (!FMode->PressLeft()) Key = 0;
        }
        break;
      case VK_RIGHT:
        if (Shift.Contains(ssCtrl)) {
          if (!FMode->PressEnd()) {
            SendMyKeyDown(VK_END, Shift);
            Key = 0;
          }
        } else {
          const bool AtEnd = FMode->IsCursorEnd();
          if (AtEnd) AfterKeyDown();
          if (!FMode->PressRight()) Key = 0;
        }
        break;
      case VK_DELETE:
        if (!Shift.Contains(ssShift)) {
          if (!FMode->PressDelete()) Key = 0;
        } else if (GetSelLength() == 0) {
          if (!FMode->PressBackSpace()) Key = 0;
        }
        break;
      case VK_HOME:
        if (!FMode->PressHome()) Key = 0;
        break;
      case VK_END:
        if (!FMode->PressEnd()) Key = 0;
        break;
      default:
        break;
    }
  }
  if (Key != 0) TcxCustomTextEdit::DoEditKeyDown(Key, Shift);
}

void TcxCustomMaskEdit::DoEditKeyPress(Char& Key) {
  if (!IsMasked() || FMyMessage) {
    TcxCustomTextEdit::DoEditKeyPress(Key);
    return;
  }
  if (Key == 9 || Key == 27) {
    Key = 0;
    return;
  }
  if (!ValidateKeyPress(Key)) {
    Key = 0;
    return;
  }
  switch (Key) {
    case 13:
      return;
    case 1:
    case 3:
    case 22:
    case 24:
      TcxCustomTextEdit::DoEditKeyPress(Key);
      return;
    case 8:
      if (!FMode->PressBackSpace()) Key = 0;
      return;
    default:
      if (!FMode->PressSymbol(Key)) Key = 0;
      return;
  }
}

void TcxCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (!FMyMessage) TcxCustomTextEdit::KeyDown(Key, Shift);
}

void TcxCustomMaskEdit::KeyPress(Char& Key) {
  if (!FMyMessage) TcxCustomTextEdit::KeyPress(Key);
}

void TcxCustomMaskEdit::KeyUp(Word& Key, TShiftState Shift) {
  if (!FMyMessage) TcxCustomTextEdit::KeyUp(Key, Shift);
}

// --- Mouse, focus and selection

void TcxCustomMaskEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && IsMasked()) FMode->LMouseDown();
  TcxCustomTextEdit::MouseDown(Button, Shift, X, Y);
}

void TcxCustomMaskEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (Shift.Contains(ssLeft) && IsMasked()) {
    const bool Old = FShiftOn;
    FShiftOn = true;
    auto Restore = Finally([this, Old] { FShiftOn = Old; });
    FMode->LMouseDown();
  }
  TcxCustomTextEdit::MouseMove(Shift, X, Y);
}

void TcxCustomMaskEdit::DblClick() {
  if (IsMasked()) {
    FMode->GotoEnd();
    FMode->LMouseDown();
  }
  TcxCustomTextEdit::DblClick();
}

void TcxCustomMaskEdit::DoEnter() {
  if (IsMasked() && GetActiveProperties()->GetAutoSelect()) FMode->GotoEnd();
  TcxCustomTextEdit::DoEnter();
}

void TcxCustomMaskEdit::SelChange(TObject* Sender) {
  TcxCustomTextEdit::SelChange(Sender);
  if (!FInternalTextSelection && IsMasked() && FMode) FMode->LMouseDown();
}

// --- Values

String TcxCustomMaskEdit::FormatForDisplay(const String& AText) {
  TcxCustomMaskEditProperties* P = GetActiveProperties();
  if (Focused() || FMode->GetMaskKind() != emkStandard || P->GetAlwaysShowBlanksAndLiterals())
    return FMode->GetFormattedText(AText, true);
  return FMode->GetUpdatedText(AText, true);
}

void TcxCustomMaskEdit::ChangeHandler(TObject* Sender) {
  FText = IsMasked() ? FMode->GetUpdatedText(GetDisplayText(), true) : GetDisplayText();
  TcxCustomTextEdit::ChangeHandler(Sender);
}

String TcxCustomMaskEdit::InternalGetText() {
  return IsMasked() ? FText : TcxCustomTextEdit::InternalGetText();
}

bool TcxCustomMaskEdit::InternalSetText(const String& AText) {
  if (!IsMasked()) return TcxCustomTextEdit::InternalSetText(AText);
  if (ComponentState().Contains(csLoading)) return true;
  SetInternalEditValue(Variant(AText));
  InternalStoreEditValue(Variant(FText));
  return true;
}

void TcxCustomMaskEdit::InternalSetDisplayValue(const Variant& Value) {
  if (!IsMasked() || ComponentState().Contains(csLoading)) {
    TcxCustomTextEdit::InternalSetDisplayValue(Value);
    return;
  }
  const String Text = FormatForDisplay(VarToStr(Value));
  TcxCustomTextEdit::InternalSetDisplayValue(Variant(Text));
  InternalSetValue(GetDisplayText());
}

void TcxCustomMaskEdit::SetEditText(const String& Value) {
  const String Text = IsMasked() ? FormatForDisplay(Value) : Value;
  SetInternalDisplayValue(Variant(Text));
}

void TcxCustomMaskEdit::PrepareEditValue(const Variant& ADisplayValue, Variant& EditValue,
                                         bool AEditFocused) {
  if (!IsMasked()) {
    TcxCustomTextEdit::PrepareEditValue(ADisplayValue, EditValue, AEditFocused);
    return;
  }
  const String Text = VarToStr(ADisplayValue);
  auto* Standard = dynamic_cast<TcxMaskEditStandardMode*>(FMode.get());
  if (AEditFocused || !Standard ||
      (!Standard->Mask()->SaveLiteralCharacters() &&
       GetActiveProperties()->GetAlwaysShowBlanksAndLiterals()))
    EditValue = FMode->GetUpdatedText(Text, true);
  else
    TcxCustomTextEdit::PrepareEditValue(ADisplayValue, EditValue, AEditFocused);
}

void TcxCustomMaskEdit::SynchronizeDisplayValue() {
  TcxCustomTextEdit::SynchronizeDisplayValue();
  InternalSetValue(GetDisplayText());
}

void TcxCustomMaskEdit::UndoPerformed() { InternalSetValue(GetDisplayText()); }

void TcxCustomMaskEdit::Loaded() {
  TcxCustomTextEdit::Loaded();
  if (!IsMasked()) return;
  LockChangeEvents(true);
  auto Unlock = Finally([this] { LockChangeEvents(false); });
  UpdateTextFormatting();
}

void TcxCustomMaskEdit::UpdateTextFormatting() {
  Variant V;
  GetActiveProperties()->PrepareDisplayValue(GetEditValue(), V, Focused());
  InternalSetDisplayValue(V);
}

// --- Clipboard

void TcxCustomMaskEdit::PasteFromClipboard() {
  if (!Clipboard()->HasFormat(CF_UNICODETEXT)) return;
  if (!IsMasked()) {
    TcxCustomTextEdit::PasteFromClipboard();
    return;
  }
  const String Text = Clipboard()->AsText();
  FMode->FClipboardTextLength = static_cast<Integer>(Text.size());
  FMode->PressDelete();
  FMode->PrePasteFromClipboard();
  TcxCustomTextEdit::SetSelText(Text);
  FMode->AfterPasteFromClipboard();
}

void TcxCustomMaskEdit::SetSelText(const String& Value) {
  if (!IsMasked()) {
    TcxCustomTextEdit::SetSelText(Value);
    return;
  }
  FMode->FClipboardTextLength = static_cast<Integer>(Value.size());
  FMode->PrePasteFromClipboard();
  TcxCustomTextEdit::SetSelText(Value);
  FMode->AfterPasteFromClipboard();
}

void TcxCustomMaskEdit::CutToClipboard() {
  if (!IsMasked()) {
    TcxCustomTextEdit::CutToClipboard();
    return;
  }
  if (Focused() && !DoEditing()) return;
  CopyToClipboard();
  if (FMode->PressDelete()) SendMyKeyPress(8);
}

bool TcxCustomMaskEdit::CanChangeSelText(const String& Value, String& ANewText,
                                         Integer& ANewSelStart) {
  if (IsMasked() && FMode->ProcessSelText(Value, ANewText, ANewSelStart)) return true;
  return TcxCustomTextEdit::CanChangeSelText(Value, ANewText, ANewSelStart);
}

bool TcxCustomMaskEdit::IsTextInputMode() {
  return GetActiveProperties()->GetEditMask().empty() && TcxCustomTextEdit::IsTextInputMode();
}

void TcxCustomMaskEdit::LockInnerEditRepainting() {
  if (InnerEdit() && InnerEdit()->GetControl()->HandleAllocated())
    SendMessageW(InnerEdit()->GetControl()->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TcxCustomMaskEdit::UnlockInnerEditRepainting() {
  if (InnerEdit() && InnerEdit()->GetControl()->HandleAllocated()) {
    SendMessageW(InnerEdit()->GetControl()->Handle(), WM_SETREDRAW, TRUE, 0);
    InnerEdit()->GetControl()->Invalidate();
  }
}

// --- Properties

void TcxCustomMaskEdit::RecreateMode(TcxEditMaskKind AKind) {
  FMode.reset(GetActiveProperties()->GetModeClass(AKind)(this, nullptr));
  FMode->SetEditLink(this);
}

void TcxCustomMaskEdit::ModeSetDisplayValue(const Variant& AValue) {
  DataBinding()->SetDisplayValue(AValue);
}

void TcxCustomMaskEdit::ModeDirectSetSelection(Integer AStart, Integer ALength) {
  DirectSetSelStart(AStart);
  DirectSetSelLength(ALength);
}

bool TcxCustomMaskEdit::ModeHandleAllocated() {
  return InnerEdit() && InnerEdit()->GetControl()->HandleAllocated();
}

void TcxCustomMaskEdit::DoMaskKindChanged(String& AMask, bool& AMaskCleared) {
  TcxCustomMaskEditProperties* P = GetActiveProperties();
  const TcxEditMaskKind Old = FMode->GetMaskKind();
  const TcxEditMaskKind New = P->GetMaskKind();
  FMode.reset();
  if (IsRegExprKind(Old) != IsRegExprKind(New)) {
    P->FEditMask.clear();
    AMaskCleared = true;
  }
  RecreateMode(New);
  FMode->Compile(P->GetEditMask());
  if (!FMode->EditMask().empty() && IsMasked()) FMode->SynchronizeEditValue();
  FEmptyString = InternalGetEmptyString();
}

void TcxCustomMaskEdit::DoMaskChanged(const String& AMask, bool AMaskCleared) {
  TcxCustomMaskEditProperties* P = GetActiveProperties();
  if (TcxCustomMaskEditProperties::EmptyMask(AMask) == false) P->MaxLengthChanged();
  FMode->Compile(AMask);
  if (AMaskCleared) P->FEditMask = AMask;
  if (!TcxCustomMaskEditProperties::EmptyMask(AMask)) {
    FMode->SynchronizeEditValue();
  } else if (FMode->GetMaskKind() == emkStandard && ModeHandleAllocated() && GetSelLength() == 1) {
    DirectSetSelLength(0);
  }
  FEmptyString = InternalGetEmptyString();
}

void TcxCustomMaskEdit::DoCharCaseChanged() {
  TcxCustomMaskEditProperties* P = GetActiveProperties();
  if (P->GetCharCase() == ecNormal && IsMasked()) FMode->SynchronizeEditValue();
  FMode->FCharCase = P->GetCharCase();
}

void TcxCustomMaskEdit::PropertiesChanged(TObject* Sender) {
  TcxCustomMaskEditProperties* P = GetActiveProperties();
  if (!FMode) {
    TcxCustomTextEdit::PropertiesChanged(Sender);
    return;
  }
  bool KindChanged, MaskChanged, CaseChanged, EchoChanged;
  String Mask;
  {
    P->LockUpdate(true);
    auto Unlock = Finally([P] { P->LockUpdate(false); });
    Mask = P->GetEditMask();
    MaskChanged = FMode->EditMask() != Mask || P->IsFormatChanging();
    KindChanged = FMode->GetMaskKind() != P->GetMaskKind();
    CaseChanged = FMode->FCharCase != P->GetCharCase();
    EchoChanged = FMode->FEchoMode != P->GetEchoMode();
    bool MaskCleared = false;
    if (KindChanged) DoMaskKindChanged(Mask, MaskCleared);
    if (MaskChanged) DoMaskChanged(Mask, MaskCleared);
    if (CaseChanged) DoCharCaseChanged();
    if ((PropertiesChangeLocked() || VarIsNull(GetEditValue())) && IsMasked())
      FMode->UpdateEditValue();
  }
  // An echo-mode change re-creates the inner window: its selection is kept.
  const bool KeepSelection = EchoChanged && ModeHandleAllocated();
  const Integer SavedStart = KeepSelection ? GetSelStart() : 0;
  const Integer SavedLength = KeepSelection ? GetSelLength() : 0;
  if (auto* R = dynamic_cast<TcxMaskEditRegExprMode*>(FMode.get())) R->SetRegExprCaseInsensitive();
  TcxCustomTextEdit::PropertiesChanged(Sender);
  if (EchoChanged) {
    if (KeepSelection && ModeHandleAllocated()) {
      DirectSetSelStart(SavedStart);
      DirectSetSelLength(SavedLength);
    }
    FMode->FEchoMode = P->GetEchoMode();
  }
  if (KindChanged || MaskChanged || CaseChanged)
    FText = IsMasked() ? FMode->GetUpdatedText(GetDisplayText(), true) : GetDisplayText();
}

// ---------------------------------------------------------------------------
// TcxMaskEdit
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxMaskEdit) {}

TClass TcxMaskEdit::GetPropertiesClass() { return TcxMaskEditProperties::StaticClass(); }

TcxMaskEditProperties* TcxMaskEdit::GetProperties() const {
  return static_cast<TcxMaskEditProperties*>(TcxCustomEdit::GetProperties());
}

TcxMaskEditProperties* TcxMaskEdit::GetActiveProperties() {
  return static_cast<TcxMaskEditProperties*>(TcxCustomEdit::GetActiveProperties());
}
