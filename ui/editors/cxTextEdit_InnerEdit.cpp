// The native EDIT the text editors type into: window styles, margins, own
// painting of an aligned text while unfocused, keys and characters routed
// through the editor first, input-method bookkeeping, and the helper through
// which the editor drives it.
#include "Forms.h"
#include "cxTextEdit.h"

IMPLEMENT_CLASS(TcxCustomInnerTextEditHelper)
IMPLEMENT_CREATABLE_CLASS(TcxCustomInnerTextEdit)

IMPLEMENT_MESSAGE_TABLE(TcxCustomInnerTextEdit,
                        {WM_SIZE, MessageHandler<&TcxCustomInnerTextEdit::WMSize>},
                        {WM_SETFOCUS, MessageHandler<&TcxCustomInnerTextEdit::WMSetFocus>},
                        {WM_KILLFOCUS, MessageHandler<&TcxCustomInnerTextEdit::WMKillFocus>},
                        {WM_SETFONT, MessageHandler<&TcxCustomInnerTextEdit::WMSetFont>},
                        {EM_SETSEL, MessageHandler<&TcxCustomInnerTextEdit::EMSetSel>},
                        {EM_REPLACESEL, MessageHandler<&TcxCustomInnerTextEdit::EMReplaceSel>},
                        {WM_IME_COMPOSITION,
                         MessageHandler<&TcxCustomInnerTextEdit::WMImeComposition>},
                        {WM_IME_CHAR, MessageHandler<&TcxCustomInnerTextEdit::WMImeChar>},
                        {WM_CLEAR, MessageHandler<&TcxCustomInnerTextEdit::WMClear>},
                        {WM_UNDO, MessageHandler<&TcxCustomInnerTextEdit::WMUndo>})

// ---------------------------------------------------------------------------
// Snapshots

void SaveTextEditState(IcxInnerTextEdit* ATextEdit, bool ASaveText,
                       TcxCustomInnerTextEditPrevState& APrevState) {
  APrevState.IsPrevTextSaved = ASaveText;
  if (ASaveText) APrevState.PrevText = ATextEdit->GetControl()->Text();
  APrevState.PrevSelLength = ATextEdit->GetSelLength();
  APrevState.PrevSelStart = ATextEdit->GetSelStart();
}

bool CheckTextEditState(IcxInnerTextEdit* ATextEdit,
                        const TcxCustomInnerTextEditPrevState& APrevState) {
  if (!ATextEdit->GetControl()->HandleAllocated()) return true;
  if (ATextEdit->GetSelStart() != APrevState.PrevSelStart ||
      ATextEdit->GetSelLength() != APrevState.PrevSelLength)
    return true;
  return APrevState.IsPrevTextSaved &&
         AnsiCompareText(APrevState.PrevText, ATextEdit->GetControl()->Text()) != 0;
}

// ---------------------------------------------------------------------------
// The helper

TcxCustomInnerTextEditHelper::TcxCustomInnerTextEditHelper(TcxCustomInnerTextEdit* AEdit)
    : TcxInterfacedPersistent(nullptr), FEdit(AEdit) {}

TWinControl* TcxCustomInnerTextEditHelper::GetControl() { return FEdit; }

TcxContainer* TcxCustomInnerTextEditHelper::GetControlContainer() {
  return FEdit->GetControlContainer();
}

LRESULT TcxCustomInnerTextEditHelper::CallDefWndProc(UINT AMsg, WPARAM WParam, LPARAM LParam) {
  return CallWindowProcW(FEdit->FDefWndProc, FEdit->Handle(), AMsg, WParam, LParam);
}

bool TcxCustomInnerTextEditHelper::GetReadOnly() { return FEdit->ReadOnly(); }
void TcxCustomInnerTextEditHelper::SetReadOnly(bool Value) { FEdit->SetReadOnly(Value); }
void TcxCustomInnerTextEditHelper::SetOnChange(const TNotifyEvent& Value) {
  FEdit->SetOnChange(Value);
}
TNotifyEvent TcxCustomInnerTextEditHelper::GetOnChange() { return FEdit->GetOnChange(); }

Variant TcxCustomInnerTextEditHelper::GetEditValue() { return Variant(FEdit->Text()); }

void TcxCustomInnerTextEditHelper::SetEditValue(const Variant& Value) {
  String AText = VarToStr(Value);
  TcxCustomTextEdit* AEditor = FEdit->GetContainer();
  if (FEdit->IsDesigning()) {
    const bool AChanged = AText != FEdit->Text();
    FEdit->SetText(AText);
    if (AChanged) FEdit->Change();
    return;
  }
  // Validation may give a found item back in its own letter case; the
  // completed tail stays selected.
  bool ARestoreSelection = false;
  Integer ASelStart = 0, ASelLength = 0;
  if (AEditor && FEdit->HandleAllocated() && AEditor->IsEditValidating() &&
      AEditor->HasLookupData() && AEditor->FFindSelection &&
      AnsiCompareText(AText, FEdit->Text()) == 0 && AText != FEdit->Text()) {
    ARestoreSelection = true;
    ASelStart = GetSelStart();
    ASelLength = GetSelLength();
  }
  if (FEdit->CharCase() == ecUpperCase)
    AText = AnsiUpperCase(AText);
  else if (FEdit->CharCase() == ecLowerCase)
    AText = AnsiLowerCase(AText);
  FEdit->SetText(AText);
  if (ARestoreSelection) {
    SetSelStart(ASelStart);
    SetSelLength(ASelLength);
  }
}

void TcxCustomInnerTextEditHelper::LockBounds(bool ALock) {
  if (ALock)
    ++FEdit->FLockBoundsCount;
  else if (FEdit->FLockBoundsCount > 0)
    --FEdit->FLockBoundsCount;
}

void TcxCustomInnerTextEditHelper::SafelySetFocus() {
  const bool APrevAutoSelect = FEdit->AutoSelect();
  FEdit->SetAutoSelect(false);
  auto ARestore = Finally([&] { FEdit->SetAutoSelect(APrevAutoSelect); });
  FEdit->SetFocus();
}

void TcxCustomInnerTextEditHelper::SetParent(TWinControl* Value) { FEdit->SetParent(Value); }
void TcxCustomInnerTextEditHelper::ClearSelection() { FEdit->TCustomEdit::ClearSelection(); }
void TcxCustomInnerTextEditHelper::CopyToClipboard() { FEdit->TCustomEdit::CopyToClipboard(); }
TAlignment TcxCustomInnerTextEditHelper::GetAlignment() { return FEdit->FAlignment; }
bool TcxCustomInnerTextEditHelper::GetAutoSelect() { return FEdit->AutoSelect(); }
TEditCharCase TcxCustomInnerTextEditHelper::GetCharCase() { return FEdit->CharCase(); }
TcxEditEchoMode TcxCustomInnerTextEditHelper::GetEchoMode() { return FEdit->FEchoMode; }

Integer TcxCustomInnerTextEditHelper::GetFirstVisibleCharIndex() {
  if (!FEdit->HandleAllocated()) return 0;
  return LOWORD(SendMessageW(FEdit->Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(0, 0)));
}

bool TcxCustomInnerTextEditHelper::GetHideSelection() { return FEdit->HideSelection(); }

Char TcxCustomInnerTextEditHelper::GetImeLastChar() {
  return FEdit->FImeCharCount < 2 ? Char(0) : FEdit->FImeLastChar;
}

TImeMode TcxCustomInnerTextEditHelper::GetImeMode() { return FEdit->ImeMode(); }
TImeName TcxCustomInnerTextEditHelper::GetImeName() { return FEdit->ImeName(); }
bool TcxCustomInnerTextEditHelper::GetInternalUpdating() { return FEdit->FInternalUpdating; }
Integer TcxCustomInnerTextEditHelper::GetMaxLength() { return FEdit->MaxLength(); }
bool TcxCustomInnerTextEditHelper::GetOEMConvert() { return FEdit->OEMConvert(); }
TNotifyEvent TcxCustomInnerTextEditHelper::GetOnSelChange() { return FEdit->FOnSelChange; }
Char TcxCustomInnerTextEditHelper::GetPasswordChar() { return FEdit->FPasswordChar; }

Integer TcxCustomInnerTextEditHelper::GetSelLength() {
  return FEdit->FImeCharCount > 0 ? FSelLength : FEdit->SelLength();
}

Integer TcxCustomInnerTextEditHelper::GetSelStart() {
  return FEdit->FImeCharCount > 0 ? FSelStart : FEdit->SelStart();
}

String TcxCustomInnerTextEditHelper::GetSelText() { return FEdit->SelText(); }

bool TcxCustomInnerTextEditHelper::GetUseLeftAlignmentOnEditing() {
  return FEdit->FUseLeftAlignmentOnEditing;
}

void TcxCustomInnerTextEditHelper::SelectAll() {
  if (FEdit->HandleAllocated()) FEdit->TCustomEdit::SelectAll();
}

void TcxCustomInnerTextEditHelper::SetAlignment(TAlignment Value) { FEdit->SetAlignment(Value); }
void TcxCustomInnerTextEditHelper::SetAutoSelect(bool Value) { FEdit->SetAutoSelect(Value); }
void TcxCustomInnerTextEditHelper::SetCharCase(TEditCharCase Value) { FEdit->SetCharCase(Value); }
void TcxCustomInnerTextEditHelper::SetEchoMode(TcxEditEchoMode Value) { FEdit->SetEchoMode(Value); }
void TcxCustomInnerTextEditHelper::SetHideSelection(bool Value) { FEdit->SetHideSelection(Value); }
void TcxCustomInnerTextEditHelper::SetInternalUpdating(bool Value) {
  FEdit->FInternalUpdating = Value;
}
void TcxCustomInnerTextEditHelper::SetImeMode(TImeMode Value) { FEdit->SetImeMode(Value); }
void TcxCustomInnerTextEditHelper::SetImeName(const TImeName& Value) { FEdit->SetImeName(Value); }
void TcxCustomInnerTextEditHelper::SetMaxLength(Integer Value) { FEdit->SetMaxLength(Value); }
void TcxCustomInnerTextEditHelper::SetOEMConvert(bool Value) { FEdit->SetOEMConvert(Value); }
void TcxCustomInnerTextEditHelper::SetOnSelChange(const TNotifyEvent& Value) {
  FEdit->FOnSelChange = Value;
}

void TcxCustomInnerTextEditHelper::SetPasswordChar(Char Value) {
  if (FEdit->FPasswordChar == Value) return;
  FEdit->FPasswordChar = Value;
  if (FEdit->FEchoMode == eemPassword) cxRecreateControlWnd(FEdit);
}

void TcxCustomInnerTextEditHelper::SetSelLength(Integer Value) {
  if (!FEdit->HandleAllocated()) return;
  if (FEdit->FImeCharCount > 0)
    FSelLength = Value;
  else
    FEdit->SetSelLength(Value);
}

void TcxCustomInnerTextEditHelper::SetSelStart(Integer Value) {
  if (!FEdit->HandleAllocated()) return;
  if (FEdit->FImeCharCount > 0)
    FSelStart = Value;
  else
    FEdit->SetSelStart(Value);
}

void TcxCustomInnerTextEditHelper::SetSelText(const String& Value) { FEdit->SetSelText(Value); }

void TcxCustomInnerTextEditHelper::SetUseLeftAlignmentOnEditing(bool Value) {
  FEdit->SetUseLeftAlignmentOnEditing(Value);
}

String TcxCustomInnerTextEditHelper::GetTextHint() { return FEdit->TextHint(); }
void TcxCustomInnerTextEditHelper::SetTextHint(const String& Value) { FEdit->SetTextHint(Value); }

// ---------------------------------------------------------------------------
// The inner edit

TcxCustomInnerTextEdit::TcxCustomInnerTextEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TcxCustomInnerTextEdit::AfterConstruction() {
  FIsCreating = true;
  inherited::AfterConstruction();
  FHelper.reset(CreateHelper());
  TControlStyle S = ControlStyle();
  S.Include(csDoubleClicks);
  SetControlStyle(S);
  SetParentColor(true);
  SetParentFont(false);
  SetBorderStyle(bsNone);
  FInternalUpdating = false;
  FEchoMode = eemNormal;
  FIsCreating = false;
  FUseLeftAlignmentOnEditing = true;
}

TcxCustomInnerTextEdit::~TcxCustomInnerTextEdit() { FHelper.reset(); }

TcxCustomInnerTextEditHelper* TcxCustomInnerTextEdit::CreateHelper() {
  return Create<TcxCustomInnerTextEditHelper>(this);
}

HRESULT STDMETHODCALLTYPE TcxCustomInnerTextEdit::QueryInterface(REFIID AIID, void** AObj) {
  if (IsEqualGUID(AIID, __uuidof(IcxContainerInnerControl))) {
    *AObj = static_cast<IcxContainerInnerControl*>(this);
    return S_OK;
  }
  *AObj = nullptr;
  return E_NOINTERFACE;
}

TcxContainer* STDMETHODCALLTYPE TcxCustomInnerTextEdit::GetControlContainer() {
  return GetContainer();
}

TcxCustomTextEdit* TcxCustomInnerTextEdit::GetContainer() const {
  return dynamic_cast<TcxCustomTextEdit*>(Owner());
}

bool TcxCustomInnerTextEdit::GetIsDestroying() {
  return ComponentState().Contains(csDestroying);
}

bool TcxCustomInnerTextEdit::IsDesigning() { return ComponentState().Contains(csDesigning); }

TAlignment TcxCustomInnerTextEdit::GetBasedAlignment() {
  TcxCustomTextEdit* AEditor = GetContainer();
  if (!AEditor) return FAlignment;
  return AEditor->GetActiveProperties()->GetAlignment()->GetHorz();
}

TAlignment TcxCustomInnerTextEdit::GetAlignment() {
  if (!FUseLeftAlignmentOnEditing || IsDesigning()) return GetBasedAlignment();
  return taLeftJustify;
}

TAlignment TcxCustomInnerTextEdit::GetRealAlignment() {
  TAlignment A = GetAlignment();
  if (UseRightToLeftAlignment()) {
    if (A == taLeftJustify)
      A = taRightJustify;
    else if (A == taRightJustify)
      A = taLeftJustify;
  }
  return A;
}

void TcxCustomInnerTextEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (!FUseLeftAlignmentOnEditing && HandleAllocated()) RecreateWnd();
}

void TcxCustomInnerTextEdit::SetUseLeftAlignmentOnEditing(bool Value) {
  if (FUseLeftAlignmentOnEditing == Value) return;
  FUseLeftAlignmentOnEditing = Value;
  if (FAlignment != taLeftJustify && HandleAllocated()) RecreateWnd();
}

void TcxCustomInnerTextEdit::SetEchoMode(TcxEditEchoMode Value) {
  if (FEchoMode == Value) return;
  FEchoMode = Value;
  if (HandleAllocated()) RecreateWnd();
}

// ---------------------------------------------------------------------------
// Window

void TcxCustomInnerTextEdit::CreateHandle() {
  TcxCustomTextEdit* AEditor = GetContainer();
  if (AEditor) AEditor->ClearSavedChildControlRegions();
  inherited::CreateHandle();
  if (FEchoMode != eemPassword || !HandleAllocated()) return;
  Char AChar = FPasswordChar;
  if (AChar == 0) {
    // With visual styles the EDIT's own bullet looks right, except when the
    // text is painted aligned by the editor.
    const bool AKeepSystemChar =
        cxIsVCLThemesEnabled() && AEditor && AEditor->IsNativeStyle() &&
        (GetBasedAlignment() == taLeftJustify || !FUseLeftAlignmentOnEditing);
    if (!AKeepSystemChar) AChar = L'*';
  }
  if (AChar != 0) SendMessageW(Handle(), EM_SETPASSWORDCHAR, AChar, 0);
}

void TcxCustomInnerTextEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  static constexpr DWORD AAlignmentMap[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  Params.Style &= ~(ES_CENTER | ES_RIGHT);
  Params.Style |= AAlignmentMap[GetRealAlignment()];
  Params.Style &= ~(WS_BORDER | WS_DLGFRAME | WS_THICKFRAME);
  Params.Style |= ES_AUTOHSCROLL;
  if (FEchoMode == eemPassword)
    Params.Style |= ES_PASSWORD;
  else
    Params.Style &= ~ES_PASSWORD;
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TcxCustomInnerTextEdit::CreateWindowHandle(const TCreateParams& Params) {
  TCreateParams AParams = Params;
  AParams.Caption = String();
  inherited::CreateWindowHandle(AParams);
  if (HandleAllocated() && FDefWndProc) {
    const String AText = Text();
    CallWindowProcW(FDefWndProc, Handle(), WM_SETTEXT, 0,
                    reinterpret_cast<LPARAM>(AText.c_str()));
  }
}

void TcxCustomInnerTextEdit::CreateWnd() {
  inherited::CreateWnd();
  AdjustMargins();
}

void TcxCustomInnerTextEdit::DestroyWnd() {
  dxForceProcessBufferedPaintMessages(this);
  inherited::DestroyWnd();
}

void TcxCustomInnerTextEdit::AdjustMargins() {
  if (HandleAllocated())
    SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 1));
}

void TcxCustomInnerTextEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth,
                                       Integer AHeight) {
  if (FIsCreating || FLockBoundsCount > 0) return;
  TcxCustomTextEdit* AEditor = GetContainer();
  if (!AEditor) return inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  AEditor->LockAlignControls(true);
  auto AUnlock = Finally([AEditor] { AEditor->LockAlignControls(false); });
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

bool TcxCustomInnerTextEdit::CanFocus() {
  TcxCustomTextEdit* AEditor = GetContainer();
  return AEditor ? AEditor->CanFocus() : inherited::CanFocus();
}

// ---------------------------------------------------------------------------
// Own painting of an aligned text while unfocused

bool TcxCustomInnerTextEdit::NeedsOwnPainting() {
  return FUseLeftAlignmentOnEditing && GetBasedAlignment() != taLeftJustify && HandleAllocated() &&
         GetFocus() != Handle();
}

void TcxCustomInnerTextEdit::InternalPaint(HDC DC) {
  const LRESULT AMargins = SendMessageW(Handle(), EM_GETMARGINS, 0, 0);
  const Integer ALeftMargin = LOWORD(AMargins), ARightMargin = HIWORD(AMargins);
  TcxCustomTextEdit* AEditor = GetContainer();
  const bool ANativeStyle = AEditor && AEditor->LookAndFeel()->GetNativeStyle();
  String AText = Text();
  const bool APassword = FEchoMode == eemPassword;
  if (APassword)
    AText = String(AText.size(), GetWindowsPasswordChar(ANativeStyle, FPasswordChar));
  TOwned<TFont> AFont(Create<TFont>());
  AFont->Assign(Font());
  if (APassword && ANativeStyle && IsWinSevenOrLater && AreVisualStylesAvailable())
    AFont->SetName(L"Segoe UI");
  TRect R = ClientRect();
  const Integer AClientWidth = R.right - R.left;
  const Integer ATextWidth = cxTextSize(AFont.get(), AText).cx;
  TAlignment A = GetBasedAlignment();
  if (UseRightToLeftAlignment()) {
    if (A == taLeftJustify)
      A = taRightJustify;
    else if (A == taRightJustify)
      A = taLeftJustify;
  }
  switch (A) {
    case taLeftJustify:
      R.left = ALeftMargin;
      break;
    case taRightJustify:
      R.left = AClientWidth - ATextWidth - ARightMargin + ALeftMargin;
      break;
    case taCenter:
      R.left = (AClientWidth - ARightMargin - ALeftMargin - ATextWidth) / 2 + ALeftMargin;
      break;
  }
  const TRect AClient = ClientRect();
  const int ASaved = SaveDC(DC);
  auto ARestore = Finally([&] { RestoreDC(DC, ASaved); });
  HBRUSH ABrush = CreateSolidBrush(ColorToRGB(Color()));
  FillRect(DC, &AClient, ABrush);
  DeleteObject(ABrush);
  SelectObject(DC, AFont->Handle());
  SetTextColor(DC, ColorToRGB(AFont->Color()));
  cxDrawText(DC, AText, R, 0, -1, clDefault);
}

void TcxCustomInnerTextEdit::PaintOwnText(TMessage& Message) {
  if (Message.WParam) {
    InternalPaint(reinterpret_cast<HDC>(Message.WParam));
    return;
  }
  PAINTSTRUCT APaint;
  HDC DC = BeginPaint(Handle(), &APaint);
  auto AEnd = Finally([&] { EndPaint(Handle(), &APaint); });
  InternalPaint(DC);
}

void TcxCustomInnerTextEdit::WMPaint(TMessage& Message) {
  if (NeedsOwnPainting()) return PaintOwnText(Message);
  inherited::WMPaint(Message);
}

void TcxCustomInnerTextEdit::WMPrintClient(TMessage& Message) {
  if (NeedsOwnPainting() && Message.WParam) return PaintOwnText(Message);
  inherited::WMPrintClient(Message);
}

void TcxCustomInnerTextEdit::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }
void TcxCustomInnerTextEdit::WMNCPaint(TMessage& Message) { Message.Result = 0; }

void TcxCustomInnerTextEdit::WMSize(TMessage& Message) {
  DefaultHandler(Message);
  AdjustMargins();
}

void TcxCustomInnerTextEdit::WMSetFont(TMessage& Message) {
  DefaultHandler(Message);
  AdjustMargins();
}

// ---------------------------------------------------------------------------
// Keys and characters

void TcxCustomInnerTextEdit::WMKeyDown(TMessage& Message) {
  TcxCustomTextEdit* AEditor = GetContainer();
  if (AEditor && AEditor->HasPopupWindow()) {
    const Word AKey = static_cast<Word>(Message.WParam);
    if (AEditor->GetActiveProperties()->IsPopupKey(AKey, KeyDataToShiftState(Message.LParam)))
      if (IcxTextEditLookupData* ALookup = AEditor->GetILookupData())
        if (auto* AControl = dynamic_cast<TWinControl*>(ALookup->GetActiveControl());
            AControl && AControl->HandleAllocated()) {
          Message.Result =
              SendMessageW(AControl->Handle(), WM_KEYDOWN, Message.WParam, Message.LParam);
          if (Message.Result == 0) return;
        }
  }
  TcxCustomInnerTextEditPrevState APrevState;
  SaveTextEditState(FHelper.get(), true, APrevState);
  FInternalUpdating = false;
  TcxObjectLinkGuard ALink(this);
  inherited::WMKeyDown(Message);
  if (!ALink.Alive()) return;
  Word AKey = static_cast<Word>(Message.WParam);
  if (AKey != 0 && !FInternalUpdating && AEditor && !CheckTextEditState(FHelper.get(), APrevState)) {
    AEditor->DoAfterKeyDown(AKey, KeyDataToShiftState(Message.LParam));
    Message.WParam = AKey;
  }
}

void TcxCustomInnerTextEdit::KeyDown(Word& Key, TShiftState Shift) {
  FInternalUpdating = false;
  if (TcxCustomTextEdit* AEditor = GetContainer()) {
    auto AMark = Finally([&] {
      if (Key == 0) FInternalUpdating = true;
    });
    AEditor->ContainerKeyDown(Key, Shift);
  }
  if (Key != 0) inherited::KeyDown(Key, Shift);
}

void TcxCustomInnerTextEdit::KeyPress(Char& Key) {
  FInternalUpdating = false;
  if (Key == L'\t') Key = 0;
  TcxCustomTextEdit* AEditor = GetContainer();
  if (AEditor && Key != 0) {
    AEditor->ContainerKeyPress(Key);
    // The EDIT beeps on Enter; only a stand-alone editor that wants the
    // beep lets it through.
    if ((Key == L'\r' || Key == 27) &&
        (AEditor->IsInplace() || AEditor->FIsPopupWindowJustClosed ||
         (Key == L'\r' && !AEditor->FBeepOnEnter))) {
      Key = 0;
      AEditor->FIsPopupWindowJustClosed = false;
    }
  }
  if (Key == 0) {
    FInternalUpdating = true;
    return;
  }
  inherited::KeyPress(Key);
}

void TcxCustomInnerTextEdit::KeyUp(Word& Key, TShiftState Shift) {
  FInternalUpdating = false;
  if (Key == VK_TAB) Key = 0;
  if (TcxCustomTextEdit* AEditor = GetContainer(); AEditor && Key != 0)
    AEditor->ContainerKeyUp(Key, Shift);
  if (Key == 0) {
    FInternalUpdating = true;
    return;
  }
  inherited::KeyUp(Key, Shift);
}

void TcxCustomInnerTextEdit::WMChar(TMessage& Message) {
  TcxCustomInnerTextEditPrevState APrevState;
  SaveTextEditState(FHelper.get(), true, APrevState);
  FInternalUpdating = false;
  TcxObjectLinkGuard ALink(this);
  inherited::WMChar(Message);
  if (!ALink.Alive()) return;
  TcxCustomTextEdit* AEditor = GetContainer();
  if (FImeCharCount > 0) {
    --FImeCharCount;
    if (FImeCharCount == 0 && AEditor && AEditor->FFindSelection) {
      FHelper->SetSelStart(FHelper->FSelStart);
      FHelper->SetSelLength(FHelper->FSelLength);
    }
  }
  if (!AEditor) return;
  AEditor->UnlockLookupDataTextChanged();
  if (!FInternalUpdating && CheckTextEditState(FHelper.get(), APrevState))
    AEditor->SetFindSelection(false);
}

void TcxCustomInnerTextEdit::WMGetDlgCode(TMessage& Message) {
  inherited::WMGetDlgCode(Message);
  Message.Result |= DLGC_WANTCHARS;
  TcxCustomTextEdit* AEditor = GetContainer();
  if (!AEditor) return;
  if (AEditor->TabsNeeded() && GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
  if (AEditor->IsInplace() || AEditor->HasPopupWindow() ||
      (AEditor->ModifiedAfterEnter() && GetKeyState(VK_ESCAPE) < 0))
    Message.Result |= DLGC_WANTALLKEYS;
}

void TcxCustomInnerTextEdit::WMImeChar(TMessage& Message) {
  if (!IsWindowUnicode(Handle())) {
    if (FImeCharCount == 0) {
      FHelper->FSelStart = SelStart();
      FHelper->FSelLength = SelLength();
    }
    if (HIBYTE(LOWORD(Message.WParam)) != 0) {
      FImeCharCount += 2;
      FImeLastChar = static_cast<Char>(LOBYTE(LOWORD(Message.WParam)));
    } else {
      FImeCharCount += 1;
    }
  }
  DefaultHandler(Message);
}

void TcxCustomInnerTextEdit::WMImeComposition(TMessage& Message) {
  TcxCustomTextEdit* AEditor = GetContainer();
  if (AEditor && !AEditor->DoEditing()) return;
  DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Editing messages

void TcxCustomInnerTextEdit::EMReplaceSel(TMessage& Message) {
  TcxCustomTextEdit* AEditor = GetContainer();
  if (!AEditor || AEditor->DoEditing()) DefaultHandler(Message);
}

void TcxCustomInnerTextEdit::EMSetSel(TMessage& Message) {
  DefaultHandler(Message);
  if (FOnSelChange) FOnSelChange(this);
}

void TcxCustomInnerTextEdit::WMClear(TMessage& Message) {
  if (ReadOnly()) return;
  TcxCustomTextEdit* AEditor = GetContainer();
  if (!AEditor) return DefaultHandler(Message);
  cxEditDetail::AsUserAction(AEditor, [AEditor] { AEditor->ClearSelection(); });
}

void TcxCustomInnerTextEdit::WMUndo(TMessage& Message) {
  DefaultHandler(Message);
  if (TcxCustomTextEdit* AEditor = GetContainer()) AEditor->UndoPerformed();
}

// ---------------------------------------------------------------------------
// Mouse, focus and everything else the editor hears first

TPoint TcxCustomInnerTextEdit::ToContainer(Integer X, Integer Y) {
  return TPoint{X + Left(), Y + Top()};
}

void TcxCustomInnerTextEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X,
                                       Integer Y) {
  TcxObjectLinkGuard ALink(this);
  inherited::MouseDown(Button, Shift, X, Y);
  TcxCustomTextEdit* AEditor = ALink.Alive() ? GetContainer() : nullptr;
  if (!AEditor) return;
  AEditor->SetInnerControlMouseDown(true);
  TcxObjectLinkGuard AEditorLink(AEditor);
  auto AReset = Finally([&] {
    if (AEditorLink.Alive()) AEditor->SetInnerControlMouseDown(false);
  });
  const TPoint P = ToContainer(X, Y);
  AEditor->ContainerMouseDown(Button, Shift, P.x, P.y);
}

void TcxCustomInnerTextEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  if (TcxCustomTextEdit* AEditor = GetContainer()) {
    const TPoint P = ToContainer(X, Y);
    AEditor->ContainerMouseMove(Shift, P.x, P.y);
  }
}

void TcxCustomInnerTextEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X,
                                     Integer Y) {
  TcxObjectLinkGuard ALink(this);
  inherited::MouseUp(Button, Shift, X, Y);
  if (!ALink.Alive()) return;
  if (TcxCustomTextEdit* AEditor = GetContainer()) {
    const TPoint P = ToContainer(X, Y);
    AEditor->ContainerMouseUp(Button, Shift, P.x, P.y);
  }
}

void TcxCustomInnerTextEdit::DragOver(TObject* Source, Integer X, Integer Y, TDragState State,
                                      bool& Accept) {
  inherited::DragOver(Source, X, Y, State, Accept);
  if (TcxCustomTextEdit* AEditor = GetContainer()) {
    const TPoint P = ToContainer(X, Y);
    AEditor->ContainerDragOver(Source, P.x, P.y, State, Accept);
  }
}

void TcxCustomInnerTextEdit::DragDrop(TObject* Source, Integer X, Integer Y) {
  inherited::DragDrop(Source, X, Y);
  if (TcxCustomTextEdit* AEditor = GetContainer()) {
    const TPoint P = ToContainer(X, Y);
    AEditor->DragDrop(Source, P.x, P.y);
  }
}

bool TcxCustomInnerTextEdit::DoMouseWheel(TShiftState, Integer, const TPoint&) { return false; }

void TcxCustomInnerTextEdit::Click() {
  inherited::Click();
  if (TcxCustomTextEdit* AEditor = GetContainer()) AEditor->ContainerClick();
}

void TcxCustomInnerTextEdit::DblClick() {
  inherited::DblClick();
  if (TcxCustomTextEdit* AEditor = GetContainer()) AEditor->ContainerDblClick();
}

void TcxCustomInnerTextEdit::WndProc(TMessage& Message) {
  TcxCustomTextEdit* AEditor = GetContainer();
  if (AEditor && AEditor->InnerControlMenuHandler(Message)) return;
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && AEditor &&
      AEditor->DragMode() == dmAutomatic && !AEditor->IsDesigning()) {
    AEditor->BeginDrag(false);
    return;
  }
  inherited::WndProc(Message);
}

void TcxCustomInnerTextEdit::DefaultHandler(TMessage& Message) {
  TcxCustomTextEdit* AEditor = GetContainer();
  if (AEditor && !GetIsDestroying()) {
    AEditor->InternalSpellCheckerHandler(Message);
    if (AEditor->InnerControlDefaultHandler(Message)) return;
  }
  inherited::DefaultHandler(Message);
}

void TcxCustomInnerTextEdit::WMSetCursor(TMessage& Message) {
  TcxCustomTextEdit* AEditor = GetContainer();
  if (AEditor && HandleAllocated()) {
    const TPoint P = AEditor->ScreenToClient(GetMouseCursorPos());
    const TCursor ACursor = AEditor->GetCurrentCursor(P.x, P.y);
    if (ACursor != crDefault) {
      ::SetCursor(Screen()->Cursors(ACursor));
      Message.Result = 1;
      return;
    }
  }
  inherited::WMSetCursor(Message);
}

void TcxCustomInnerTextEdit::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
  TcxCustomTextEdit* AEditor = GetContainer();
  if (!AEditor || GetIsDestroying() || AEditor->IsDestroying()) return;
  if (AEditor->HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == AEditor->Handle())
    return;
  AEditor->ContainerFocusChanged();
}

void TcxCustomInnerTextEdit::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
  TcxCustomTextEdit* AEditor = GetContainer();
  if (AEditor && !GetIsDestroying() && !AEditor->IsDestroying()) AEditor->ContainerFocusChanged();
}

void TcxCustomInnerTextEdit::MouseLeave(TControl*) {
  if (TcxCustomTextEdit* AEditor = GetContainer()) AEditor->ShortRefreshContainer(true);
}

void TcxCustomInnerTextEdit::CMMouseEnter(TMessage& Message) {
  TcxObjectLinkGuard ALink(this);
  inherited::CMMouseEnter(Message);
  if (ALink.Alive())
    MouseEnter(Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this);
}

void TcxCustomInnerTextEdit::CMMouseLeave(TMessage& Message) {
  TcxObjectLinkGuard ALink(this);
  inherited::CMMouseLeave(Message);
  if (ALink.Alive())
    MouseLeave(Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this);
}

// ---------------------------------------------------------------------------
// Caret

Integer TcxCustomInnerTextEdit::GetCursorPos() {
  if (!HandleAllocated()) return 0;
  POINT ACaret{};
  ::GetCaretPos(&ACaret);
  auto XOf = [this](Integer AIndex) {
    return static_cast<Integer>(static_cast<int16_t>(
        LOWORD(SendMessageW(Handle(), EM_POSFROMCHAR, static_cast<WPARAM>(AIndex), 0))));
  };
  Integer L = 0, H = Length(Text()) - 1;
  if (H < 0) return 0;
  while (H - L >= 2) {
    const Integer M = (L + H) / 2;
    if (XOf(M) < ACaret.x)
      L = M;
    else
      H = M;
  }
  if (XOf(L) == ACaret.x) return L;
  if (XOf(H) == ACaret.x) return H;
  return H + 1;
}
