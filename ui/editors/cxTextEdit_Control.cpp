// The text editor control: construction, the inner edit's place and look,
// the values kept in step, selection and clipboard within the editing style,
// the window text of the editor, and its side of the spell-checker calls.
#include "Clipbrd.h"
#include "cxTextEdit.h"
#include "dxSpellCheckerCore.h"

using cxEditDetail::AsUserAction;

IMPLEMENT_MESSAGE_TABLE(TcxCustomTextEdit, {WM_CLEAR, MessageHandler<&TcxCustomTextEdit::WMClear>})

// ---------------------------------------------------------------------------
// Construction

TcxCustomTextEdit::TcxCustomTextEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomEdit(AOwner, AIsInplace) {}

void TcxCustomTextEdit::Initialize() {
  inherited::Initialize();
  FBeepOnEnter = true;
  FFindSelection = false;
  if (TcxCustomInnerTextEdit* AInner = dynamic_cast<TcxCustomInnerTextEdit*>(InnerControl())) {
    AInner->SetColor(clWindow);
    AInner->SetOnSelChange(MakeEvent<&TcxCustomTextEdit::SelChange>(this));
  }
  SetBounds(Left(), Top(), 121, 21);
  if (GetActiveProperties()->UseLookupData()) {
    TObject* AObject = GetActiveProperties()->GetLookupDataClass()->Create(this);
    FLookupData.reset(dynamic_cast<TcxInterfacedPersistent*>(AObject));
    if (!FLookupData && AObject) AObject->Free();
    if (IcxTextEditLookupData* ALookup = GetILookupData())
      ALookup->SetOnSelectItem(MakeEvent<&TcxCustomTextEdit::HandleSelectItem>(this));
  }
  if (TcxFormatController* AController = cxFormatController()) {
    AController->AddListener(&FFormatListener);
    FFormatListening = true;
  }
}

void TcxCustomTextEdit::BeforeDestruction() {
  // WM_GETTEXT still answers once the properties are gone.
  if (GetProperties()) {
    FText = InternalGetText();
    FTextSaved = true;
  }
  if (FFormatListening) {
    if (TcxFormatController* AController = cxFormatController())
      AController->RemoveListener(&FFormatListener);
    FFormatListening = false;
  }
  FLookupData.reset();
  inherited::BeforeDestruction();
}

TcxCustomTextEdit::~TcxCustomTextEdit() = default;

TClass TcxCustomTextEdit::GetPropertiesClass() {
  return TcxCustomTextEditProperties::StaticClass();
}

TcxCustomTextEditProperties* TcxCustomTextEdit::GetProperties() const {
  return static_cast<TcxCustomTextEditProperties*>(inherited::GetProperties());
}

TcxCustomTextEditProperties* TcxCustomTextEdit::GetActiveProperties() {
  return static_cast<TcxCustomTextEditProperties*>(inherited::GetActiveProperties());
}

TClass TcxCustomTextEdit::GetInnerEditClass() { return TcxCustomInnerTextEdit::StaticClass(); }

TcxContainerViewInfoClass TcxCustomTextEdit::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TcxCustomTextEditViewInfo>;
}

IcxInnerTextEdit* TcxCustomTextEdit::InnerTextEdit() const {
  if (auto* AInner = dynamic_cast<TcxCustomInnerTextEdit*>(InnerControl()))
    return AInner->GetHelper();
  return nullptr;
}

IcxTextEditLookupData* TcxCustomTextEdit::GetILookupData() {
  return dynamic_cast<IcxTextEditLookupData*>(FLookupData.get());
}

bool TcxCustomTextEdit::HasLookupData() {
  return GetActiveProperties()->UseLookupData() && GetILookupData() != nullptr;
}

TcxEditEditingStyle TcxCustomTextEdit::GetEditingStyle() {
  return GetActiveProperties()->GetEditingStyle();
}

bool TcxCustomTextEdit::InternalFocused() { return Focused(); }

void TcxCustomTextEdit::Loaded() {
  inherited::Loaded();
  ShortRefreshContainer(false);
}

// ---------------------------------------------------------------------------
// The inner edit's place and look

Integer TcxCustomTextEdit::GetInnerEditHeight() {
  TWinControl* AInner = InnerControl();
  return AInner ? cxTextHeight(AInner->Font()) : 0;
}

void TcxCustomTextEdit::AdjustInnerEditPosition() {
  TWinControl* AInner = InnerControl();
  if (!AInner || FInnerEditPositionAdjusting) return;
  FInnerEditPositionAdjusting = true;
  auto AReset = Finally([this] { FInnerEditPositionAdjusting = false; });
  const Integer H = GetInnerEditHeight();
  TcxCustomEditViewInfo* AViewInfo = GetEditViewInfo();
  TRect R = AViewInfo->ClientRect;
  const TRect O = ContentParams.Offsets;
  Integer ATop;
  switch (GetActiveProperties()->GetAlignment()->GetVert()) {
    case taTopJustify:
      ATop = O.top + R.top;
      break;
    case taBottomJustify:
      ATop = R.bottom - H - O.bottom;
      break;
    default:
      ATop = (R.bottom - R.top - H - O.top - O.bottom) / 2 + O.top + R.top;
      break;
  }
  ATop = std::max<Integer>(ATop, O.top + R.top);
  const Integer ALeft = O.left + R.left;
  const Integer AWidth = R.right - R.left + 1 - O.left - O.right;
  if (AInner->Left() != ALeft || AInner->Top() != ATop || AInner->Width() != AWidth ||
      AInner->Height() != H)
    AInner->SetBounds(ALeft, ATop, AWidth, H);
  if (IsInplace()) {
    ++R.top;
    --R.bottom;
  } else if (AViewInfo->NativeState != 0 &&
             static_cast<TcxCustomTextEditViewInfo*>(AViewInfo)->ComboBoxStyle &&
             (GetEditingStyle() == esEdit || GetEditingStyle() == esEditList)) {
    --R.right;
    --R.bottom;
  }
  AlignControls(AInner, R);
}

void TcxCustomTextEdit::AdjustInnerEdit() {
  IcxInnerTextEdit* AInner = InnerTextEdit();
  if (!AInner || IsContainerCreating()) return;
  AInner->LockBounds(true);
  auto AUnlock = Finally([AInner] { AInner->LockBounds(false); });
  TWinControl* AControl = AInner->GetControl();
  TcxCustomEditViewInfo* AViewInfo = GetEditViewInfo();
  AControl->SetColor(AViewInfo->BackgroundColor());
  TOwned<TFont> AFont(Create<TFont>());
  AFont->Assign(GetVisibleFont());
  AFont->SetColor(AViewInfo->TextColor);
  AControl->SetFont(AFont.get());
}

bool TcxCustomTextEdit::IsEditClass() {
  const TcxEditEditingStyle S = GetEditingStyle();
  return (S == esEdit || S == esEditList) && !PropertiesChangeLocked();
}

void TcxCustomTextEdit::PopulateSizeProperties(TcxEditSizeProperties& AEditSizeProperties) {
  if (!GetEditViewInfo()) return inherited::PopulateSizeProperties(AEditSizeProperties);
  AEditSizeProperties = cxDefaultEditSizeProperties;
  AEditSizeProperties.MaxLineCount = 1;
}

bool TcxCustomTextEdit::DoRefreshContainer(const TPoint& P, TcxMouseButton Button,
                                           TShiftState Shift, bool AIsMouseEvent) {
  const bool AResult = inherited::DoRefreshContainer(P, Button, Shift, AIsMouseEvent);
  if (AResult) AdjustInnerEdit();
  return AResult;
}

void TcxCustomTextEdit::ContainerStyleChanged(TObject* Sender) {
  auto* AInner = dynamic_cast<TcxCustomInnerTextEdit*>(InnerControl());
  // The system password character depends on the native style.
  if (AInner && !AInner->GetIsDestroying() && !IsContainerCreating() &&
      GetActiveProperties()->GetEchoMode() == eemPassword &&
      GetActiveProperties()->GetPasswordChar() == 0 && AInner->HandleAllocated())
    AInner->RecreateWnd();
  inherited::ContainerStyleChanged(Sender);
}

void TcxCustomTextEdit::DoFocusChanged() {
  inherited::DoFocusChanged();
  // The inner edit paints an aligned text itself only while unfocused.
  if (!GetActiveProperties()->IsMultiLine())
    if (TWinControl* AInner = InnerControl(); AInner && AInner->HandleAllocated())
      AInner->Invalidate();
}

// ---------------------------------------------------------------------------
// Values

String TcxCustomTextEdit::GetDisplayText() {
  IcxInnerTextEdit* AInner = InnerTextEdit();
  return AInner ? VarToStr(AInner->GetEditValue()) : String();
}

Variant TcxCustomTextEdit::InternalGetEditingValue() { return Variant(GetText()); }

void TcxCustomTextEdit::PrepareEditValue(const Variant& ADisplayValue, Variant& EditValue,
                                         bool) {
  EditValue = ADisplayValue;
}

void TcxCustomTextEdit::SetInternalDisplayValue(const Variant& Value) {
  if (IcxInnerTextEdit* AInner = InnerTextEdit()) AInner->SetEditValue(Value);
}

void TcxCustomTextEdit::InternalSetDisplayValue(const Variant& Value) {
  DataBinding()->SetDisplayValue(Value);
  if (IsUserAction()) return;
  ResetOnNewDisplayValue();
  SynchronizeEditValue();
  SetModified(false);
}

void TcxCustomTextEdit::ResetOnNewDisplayValue() {
  if (GetActiveProperties()->UseLookupData()) SetFindSelection(false);
}

bool TcxCustomTextEdit::SetDisplayText(const String& Value) {
  Variant AValue(Value);
  if (!GetActiveProperties()->IsDisplayValueValid(AValue, InternalFocused())) return false;
  if (IsUserAction() && !DoEditing()) return false;
  InternalSetDisplayValue(AValue);
  return true;
}

void TcxCustomTextEdit::SetEditingText(const String& Value) {
  if (Focused())
    SetDisplayText(Value);
  else
    SetEditValue(Variant(Value));
}

String TcxCustomTextEdit::GetText() { return TControl::GetText(); }
void TcxCustomTextEdit::SetText(const String& Value) { TControl::SetText(Value); }

void TcxCustomTextEdit::SynchronizeDisplayValue() {
  TcxCustomTextEditProperties* P = GetActiveProperties();
  Variant ADisplayValue;
  const bool AFocused = InternalFocused();
  if (P->CanValidate()) {
    Variant AEditValue = GetEditValue();
    const bool AValid = P->IsEditValueValid(AEditValue, AFocused);
    if (AValid || AFocused) {
      if (AValid)
        P->PrepareDisplayValue(AEditValue, ADisplayValue, AFocused);
      else
        ADisplayValue = P->DefaultFocusedDisplayValue();
    } else {
      try {
        if (VarIsDate(AEditValue))
          ADisplayValue = Variant(DateTimeToStr(AEditValue.AsDateTime()));
        else
          ADisplayValue = Variant(VarToStr(AEditValue));
      } catch (const EVariantError&) {
        ADisplayValue = Variant(String());
      }
    }
  } else {
    P->PrepareDisplayValue(GetEditValue(), ADisplayValue, AFocused);
  }
  SaveModified();
  FIsDisplayValueSynchronizing = true;
  auto AEnd = Finally([this] {
    RestoreModified();
    FIsDisplayValueSynchronizing = false;
    ResetOnNewDisplayValue();
    UpdateDrawValue();
  });
  DataBinding()->SetDisplayValue(ADisplayValue);
}

void TcxCustomTextEdit::SynchronizeEditValue() {
  TcxCustomTextEditProperties* P = GetActiveProperties();
  const bool ACompare = P->CanCompareEditValue();
  const Variant APrevEditValue = ACompare ? GetEditValue() : Null();
  Variant AEditValue;
  PrepareEditValue(Variant(GetDisplayText()), AEditValue, InternalFocused());
  InternalStoreEditValue(AEditValue);
  if (IsUserAction())
    SetModifiedAfterEnter(true);
  else
    SetModified(false);
  if (ACompare && !InternalVarEqualsExact(APrevEditValue, GetEditValue())) {
    DoEditValueChanged();
    if (!P->HasDisplayValue()) DoChange();
  }
}

void TcxCustomTextEdit::UpdateDisplayValue() {
  if (PropertiesChangeLocked()) return;
  const TcxEditEditingStyle S = GetEditingStyle();
  if (S == esEdit || S == esNoEdit) {
    if (!ModifiedAfterEnter()) DataBinding()->UpdateDisplayValue();
    return;
  }
  if ((ModifiedAfterEnter() && !IsEditValidated()) || NeedResetInvalidTextWhenPropertiesChanged()) {
    Variant AText(GetDisplayText());
    if (!GetActiveProperties()->IsDisplayValueValid(AText, true)) {
      SaveModified();
      auto ARestore = Finally([this] { RestoreModified(); });
      DataBinding()->SetDisplayValue(GetActiveProperties()->DefaultFocusedDisplayValue());
      if (!ModifiedAfterEnter()) SynchronizeEditValue();
    }
  } else {
    SynchronizeDisplayValue();
  }
}

bool TcxCustomTextEdit::NeedResetInvalidTextWhenPropertiesChanged() {
  if (IsInplace()) return false;
  return !DataBinding()->IsDataStorage() &&
         !GetActiveProperties()->NeedUseNullString(GetEditValue());
}

void TcxCustomTextEdit::UpdateDrawValue() {
  auto* AViewInfo = static_cast<TcxCustomTextEditViewInfo*>(GetEditViewInfo());
  {
    TOwned<TcxCustomEditViewData> AViewData(CreateViewData());
    static_cast<TcxCustomTextEditViewData*>(AViewData.get())
        ->DisplayValueToDrawValue(Variant(GetDisplayText()), AViewInfo);
  }
  if (!HandleAllocated()) return;
  CalculateViewInfo(ScreenToClient(GetMouseCursorPos()), false);
  SetTextSelection();
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TcxCustomTextEdit::ChangeHandler(TObject* Sender) {
  LockChangeEvents(true, true);
  auto AUnlock = Finally([this] { LockChangeEvents(false); });
  const bool ASynchronizing = FIsDisplayValueSynchronizing;
  if (ASynchronizing) SaveModified();
  auto ARestore = Finally([this, ASynchronizing] {
    if (ASynchronizing) RestoreModified();
  });
  inherited::ChangeHandler(Sender);
  if (!static_cast<TcxCustomTextEditViewInfo*>(GetEditViewInfo())->IsEditClass) UpdateDrawValue();
  TcxCustomTextEditProperties* P = GetActiveProperties();
  if (Focused() && P->IsEditValueNumeric() && P->HasDigitGrouping(FIsDisplayValueSynchronizing))
    SeparateDigitGroups();
}

// Digits typed into a grouped number are regrouped at once; the caret stays
// after the same digits.
void TcxCustomTextEdit::SeparateDigitGroups() {
  String AText = GetDisplayText();
  InsertThousandSeparator(AText);
  String APlain = AText;
  RemoveThousandSeparator(APlain);
  Double ANumber = 0;
  if (AText == GetDisplayText() || !StrToFloatEx(APlain, ANumber)) return;
  const Char ASeparator = FormatSettings().ThousandSeparator;
  const String AOld = GetDisplayText();
  const Integer ACaret = std::min(GetSelStart(), Length(AOld));
  const Integer ADigitsBefore =
      ACaret - static_cast<Integer>(std::count(AOld.begin(), AOld.begin() + ACaret, ASeparator));
  SetInternalDisplayValue(Variant(AText));
  if (ADigitsBefore == 0) return;
  Integer APos = 0;
  for (Integer ACount = 0; APos < Length(AText) && ACount < ADigitsBefore; ++APos)
    if (AText[APos] != ASeparator) ++ACount;
  SetSelStart(APos);
  SetSelLength(0);
}

void TcxCustomTextEdit::DoEditValueChanged() {
  inherited::DoEditValueChanged();
  DoTextChanged();
}

void TcxCustomTextEdit::CheckEditValue() {
  TcxCustomTextEditProperties* P = GetActiveProperties();
  if (DataBinding()->CanCheckEditorValue() && P->IsEditValueNumeric() &&
      !PropertiesChangeLocked() && P->IsValueBoundsDefined())
    CheckEditorValueBounds();
}

void TcxCustomTextEdit::DoValidateDisplayValue(Variant& ADisplayValue, String& AErrorText,
                                               bool& AError) {
  TcxCustomTextEditProperties* P = GetActiveProperties();
  if (P->CanValidate() && GetEditingStyle() == esEdit && HasLookupData() && FFindSelection) {
    IcxTextEditLookupData* ALookup = GetILookupData();
    const String AFound = ALookup->GetDisplayText(ALookup->GetCurrentKey());
    if (AnsiCompareText(VarToStr(ADisplayValue), AFound) == 0) ADisplayValue = Variant(AFound);
  }
  inherited::DoValidateDisplayValue(ADisplayValue, AErrorText, AError);
}

void TcxCustomTextEdit::InternalValidateDisplayValue(const Variant& ADisplayValue) {
  if (GetEditingStyle() == esEdit && HasLookupData()) {
    const String AText = VarToStr(ADisplayValue);
    if (!GetILookupData()->Find(AText)) DoOnNewLookupDisplayText(AText);
  }
  inherited::InternalValidateDisplayValue(ADisplayValue);
}

void TcxCustomTextEdit::DoOnNewLookupDisplayText(const String& AText) {
  if (GetProperties()->OnNewLookupDisplayText())
    GetProperties()->OnNewLookupDisplayText()(GetProperties(), AText);
  if (GetRepositoryItem() && GetActiveProperties()->OnNewLookupDisplayText())
    GetActiveProperties()->OnNewLookupDisplayText()(GetActiveProperties(), AText);
}

void TcxCustomTextEdit::PropertiesChanged(TObject* Sender) {
  TcxCustomTextEditProperties* P = GetActiveProperties();
  if (auto* AFilter = dynamic_cast<IcxTextEditLookupDataIncrementalFilter*>(FLookupData.get()))
    AFilter->ResetIncrementalFilter();
  if (IcxTextEditLookupData* ALookup = HasLookupData() ? GetILookupData() : nullptr) {
    ALookup->PropertiesChanged();
    if (!FLookupDataTextChangedLocked) ALookup->TextChanged();
  }
  if (!PropertiesChangeLocked() && !IsEditClass()) UpdateDrawValue();
  if (IcxInnerTextEdit* AInner = InnerTextEdit()) {
    SetImeMode(P->GetImeMode());
    SetImeName(P->GetImeName());
    AInner->SetAlignment(P->GetAlignment()->GetHorz());
    AInner->SetUseLeftAlignmentOnEditing(P->GetUseLeftAlignmentOnEditing());
    AInner->SetAutoSelect(P->GetAutoSelect() && !IsInplace());
    AInner->SetCharCase(P->GetCharCase());
    AInner->SetEchoMode(P->GetEchoMode());
    AInner->SetHideSelection(P->GetHideSelection());
    AInner->SetImeMode(P->GetImeMode());
    AInner->SetImeName(P->GetImeName());
    AInner->SetMaxLength(P->GetMaxLength());
    AInner->SetOEMConvert(P->GetOEMConvert());
    AInner->SetPasswordChar(P->GetPasswordChar());
    if (!IsInplaceInitializing()) {
      CheckEditValue();
      if (!IsPosting()) UpdateDisplayValue();
      UpdateDrawValue();
    }
  }
  inherited::PropertiesChanged(Sender);
  if (TWinControl* AInner = InnerControl(); AInner && AInner->HandleAllocated())
    AInner->Invalidate();
}

void TcxCustomTextEdit::FormatChanged() {
  if (IsDestroying() || !GetProperties()) return;
  GetActiveProperties()->Changed();
  SynchronizeDisplayValue();
}

// ---------------------------------------------------------------------------
// Selection and clipboard

Integer TcxCustomTextEdit::GetSelStart() {
  const TcxEditEditingStyle S = GetEditingStyle();
  if (S == esNoEdit || (S == esFixedList && !FFindSelection)) return 0;
  IcxInnerTextEdit* AInner = InnerTextEdit();
  return AInner ? AInner->GetSelStart() : 0;
}

Integer TcxCustomTextEdit::GetSelLength() {
  const TcxEditEditingStyle S = GetEditingStyle();
  if (S == esNoEdit || (S == esFixedList && !FFindSelection)) return 0;
  IcxInnerTextEdit* AInner = InnerTextEdit();
  return AInner ? AInner->GetSelLength() : 0;
}

String TcxCustomTextEdit::GetSelText() {
  const TcxEditEditingStyle S = GetEditingStyle();
  if (S == esNoEdit || (S == esFixedList && !FFindSelection)) return String();
  IcxInnerTextEdit* AInner = InnerTextEdit();
  return AInner ? AInner->GetSelText() : String();
}

void TcxCustomTextEdit::SetSelStart(Integer Value) {
  if (GetEditingStyle() == esNoEdit) return;
  if (IcxInnerTextEdit* AInner = InnerTextEdit()) AInner->SetSelStart(Value);
}

void TcxCustomTextEdit::SetSelLength(Integer Value) {
  if (GetEditingStyle() == esNoEdit) return;
  if (IcxInnerTextEdit* AInner = InnerTextEdit()) AInner->SetSelLength(Value);
}

void TcxCustomTextEdit::SetSelection(Integer ASelStart, Integer ASelLength) {
  SetSelStart(ASelStart);
  SetSelLength(ASelLength);
}

void TcxCustomTextEdit::SelectAll() {
  if (IcxInnerTextEdit* AInner = InnerTextEdit()) AInner->SelectAll();
}

Integer TcxCustomTextEdit::GetCursorPos() {
  auto* AInner = dynamic_cast<TcxCustomInnerTextEdit*>(InnerControl());
  return AInner ? AInner->GetCursorPos() : 0;
}

bool TcxCustomTextEdit::CanChangeSelText(const String& Value, String& ANewText,
                                         Integer& ANewSelStart) {
  String AValue = Value;
  if (const size_t AZero = AValue.find(L'\0'); AZero != String::npos) AValue.resize(AZero);
  const TcxEditEditingStyle S = GetEditingStyle();
  if (IsUserAction() && S == esNoEdit) return false;
  if (S == esFixedList || S == esNoEdit) SelectAll();
  const String AText = GetDisplayText();
  IcxInnerTextEdit* AInner = InnerTextEdit();
  const Integer ASelStart =
      std::clamp(AInner ? AInner->GetSelStart() : 0, 0, Length(AText));
  const Integer ASelLength =
      std::clamp(AInner ? AInner->GetSelLength() : 0, 0, Length(AText) - ASelStart);
  const String ABefore = AText.substr(0, ASelStart);
  const String AAfter = AText.substr(ASelStart + ASelLength);
  const Integer AMaxLength = GetActiveProperties()->GetMaxLength();
  if (IsUserAction() && S == esEdit && AMaxLength > 0) {
    ANewText = ABefore + AValue;
    ANewSelStart = std::min(Length(ANewText), AMaxLength);
    if (ANewSelStart < ASelStart) return false;
    ANewText += AAfter;
    if (Length(ANewText) > AMaxLength) ANewText.resize(AMaxLength);
  } else if (S == esFixedList) {
    ANewText = AValue;
    ANewSelStart = Length(AValue);
  } else {
    ANewText = ABefore + AValue + AAfter;
    ANewSelStart = Length(ABefore) + Length(AValue);
  }
  Variant ACheck(ANewText);
  if (!GetActiveProperties()->IsDisplayValueValid(ACheck, InternalFocused())) return false;
  if (!DoEditing()) return false;
  ANewText = VarToStr(ACheck);
  return true;
}

void TcxCustomTextEdit::SetSelText(const String& Value) {
  String ANewText;
  Integer ANewSelStart = 0;
  if (!CanChangeSelText(Value, ANewText, ANewSelStart)) return;
  InternalSetDisplayValue(Variant(ANewText));
  SetSelStart(ANewSelStart);
  SetSelLength(0);
}

void TcxCustomTextEdit::ClearSelection() {
  const Integer ASelLength = GetSelLength();
  if (ASelLength <= 0) return;
  const Integer ASelStart = GetSelStart();
  String AText = GetDisplayText();
  AText.erase(std::min<size_t>(ASelStart, AText.size()), ASelLength);
  if (SetDisplayText(AText)) {
    SetSelStart(ASelStart);
    SetSelLength(0);
  }
}

void TcxCustomTextEdit::CopyToClipboard() {
  const TcxEditEditingStyle S = GetEditingStyle();
  if (S == esFixedList || S == esNoEdit) SelectAll();
  IcxInnerTextEdit* AInner = InnerTextEdit();
  if (AInner && AInner->GetSelLength() > 0) AInner->CopyToClipboard();
}

void TcxCustomTextEdit::CutToClipboard() {
  IcxInnerTextEdit* AInner = InnerTextEdit();
  if (!AInner || AInner->GetSelLength() <= 0) return;
  if (Focused()) {
    AsUserAction(this, [&] {
      String ANewText;
      Integer ANewSelStart;
      if (CanChangeSelText(String(), ANewText, ANewSelStart)) AInner->CallDefWndProc(WM_CUT, 0, 0);
    });
  } else {
    AInner->CopyToClipboard();
    SetSelText(String());
  }
}

void TcxCustomTextEdit::PasteFromClipboard() {
  if (!Clipboard()->HasFormat(CF_UNICODETEXT) && !Clipboard()->HasFormat(CF_TEXT)) return;
  const String AText = Clipboard()->AsText();
  IcxInnerTextEdit* AInner = InnerTextEdit();
  if (!AInner) return;
  if (Focused()) {
    AsUserAction(this, [&] {
      String ANewText;
      Integer ANewSelStart;
      if (CanChangeSelText(AText, ANewText, ANewSelStart)) AInner->CallDefWndProc(WM_PASTE, 0, 0);
    });
  } else {
    SetSelText(AText);
  }
}

void TcxCustomTextEdit::Undo() { Reset(); }

void TcxCustomTextEdit::WMClear(TMessage&) {
  AsUserAction(this, [this] {
    if (!GetActiveProperties()->GetReadOnly() && DataBinding()->GetIsDataAvailable())
      ClearSelection();
  });
}

void TcxCustomTextEdit::DoSetFocusWhenActivate() {
  if (IcxInnerTextEdit* AInner = InnerTextEdit()) {
    AInner->SetSelStart(0);
    AInner->SetSelLength(0);
  }
  inherited::DoSetFocusWhenActivate();
}

void TcxCustomTextEdit::DoExit() {
  inherited::DoExit();
  SetFindSelection(false);
}

void TcxCustomTextEdit::SetFindSelection(bool Value) {
  if (!HandleAllocated() || FFindSelection == Value || FDisableRefresh) return;
  FFindSelection = Value;
  CalculateViewInfo(ScreenToClient(GetMouseCursorPos()), false);
  UpdateDrawValue();
}

void TcxCustomTextEdit::SetTextSelection() {
  auto* AViewInfo = static_cast<TcxCustomTextEditViewInfo*>(GetEditViewInfo());
  const TcxEditEditingStyle S = GetEditingStyle();
  AViewInfo->SelLength = 0;
  if (S != esFixedList && S != esNoEdit) return;
  if (S == esFixedList && FFindSelection && GetActiveProperties()->GetFixedListSelection()) {
    IcxInnerTextEdit* AInner = InnerTextEdit();
    const Integer ASelStart = AInner ? AInner->GetSelStart() : 0;
    const Integer ASelLength = AInner ? AInner->GetSelLength() : 0;
    if (AViewInfo->DrawSelectionBar) {
      // The typed part, in the inverted colours of the bar.
      AViewInfo->SelStart = 0;
      AViewInfo->SelLength = Length(AViewInfo->Text) - ASelLength;
      AViewInfo->SelBackgroundColor = clHighlightText;
      AViewInfo->SelTextColor = clHighlight;
    } else {
      AViewInfo->SelStart = ASelStart;
      AViewInfo->SelLength = ASelLength;
      AViewInfo->SelBackgroundColor = clHighlight;
      AViewInfo->SelTextColor = clHighlightText;
    }
  }
}

void TcxCustomTextEdit::SetItemObject(TObject* Value) {
  if (TStringList* AItems = GetActiveProperties()->GetLookupItems())
    SetItemIndex(AItems->IndexOfObject(Value));
}

TObject* TcxCustomTextEdit::DoGetItemObject() {
  const Integer AIndex = GetItemIndex();
  TStringList* AItems = GetActiveProperties()->GetLookupItems();
  if (!AItems || AIndex < 0 || AIndex >= AItems->Count()) return nullptr;
  return AItems->Objects(AIndex);
}

String TcxCustomTextEdit::GetTextHint() {
  IcxInnerTextEdit* AInner = InnerTextEdit();
  return AInner ? AInner->GetTextHint() : String();
}

void TcxCustomTextEdit::SetTextHint(const String& Value) {
  if (IcxInnerTextEdit* AInner = InnerTextEdit()) AInner->SetTextHint(Value);
}

Integer TcxCustomTextEdit::GetTextBaseLine() {
  return static_cast<TcxCustomTextEditViewInfo*>(GetEditViewInfo())->GetTextBaseLine();
}

// ---------------------------------------------------------------------------
// Window text and the other messages of the editor

void TcxCustomTextEdit::WMGetText(TMessage& Message) {
  Message.Result = 0;
  if (Message.WParam == 0 || Message.LParam == 0) return;
  const String AText = GetProperties() && !FTextSaved ? InternalGetText() : FText;
  const size_t ACount = std::min<size_t>(AText.size(), Message.WParam - 1);
  auto* ABuffer = reinterpret_cast<wchar_t*>(Message.LParam);
  std::copy_n(AText.data(), ACount, ABuffer);
  ABuffer[ACount] = 0;
  Message.Result = static_cast<LRESULT>(ACount);
}

void TcxCustomTextEdit::WMGetTextLength(TMessage& Message) {
  const String AText = GetProperties() && !FTextSaved ? InternalGetText() : FText;
  Message.Result = static_cast<LRESULT>(AText.size());
}

void TcxCustomTextEdit::WMSetText(TMessage& Message) {
  if (FInternalTextSetting) return inherited::WMSetText(Message);
  Message.Result = 0;
  FInternalTextSetting = true;
  auto AReset = Finally([this] { FInternalTextSetting = false; });
  const auto* AText = reinterpret_cast<const wchar_t*>(Message.LParam);
  if (InternalSetText(AText ? String(AText) : String())) Message.Result = 1;
}

void TcxCustomTextEdit::WMSetFocus(TMessage& Message) {
  if (!IsInplace() && !ControlState().Contains(csDestroyingHandle))
    if (TWinControl* AInner = InnerControl()) AInner->HandleNeeded();
  inherited::WMSetFocus(Message);
}

void TcxCustomTextEdit::WMCommand(TMessage& Message) {
  inherited::WMCommand(Message);
  switch (HIWORD(Message.WParam)) {
    case EN_CHANGE:
      DoTextChanged();
      break;
    case EN_HSCROLL:
    case EN_VSCROLL:
      DoLayoutChanged();
      break;
  }
}

void TcxCustomTextEdit::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_CONTEXTMENU) return;
  inherited::DefaultHandler(Message);
}

void TcxCustomTextEdit::WndProc(TMessage& Message) {
  if (Message.Msg == DXM_SPELL_AUTOCORRECT) return AutoCorrect(Message);
  inherited::WndProc(Message);
}

void TcxCustomTextEdit::SetScrollBarsParameters(bool AIsScrolling) {
  inherited::SetScrollBarsParameters(AIsScrolling);
  InternalCheckSelection();
}

// ---------------------------------------------------------------------------
// The spell checker's side

bool TcxCustomTextEdit::IsTextInputMode() {
  return GetActiveProperties()->GetEchoMode() == eemNormal && GetActiveProperties()->CanModify();
}

bool TcxCustomTextEdit::IsChildWindow(HWND AWnd) {
  return inherited::IsChildWindow(AWnd) || dxSpellCheckerIsSpellCheckerWindow(AWnd);
}

void TcxCustomTextEdit::InternalSpellCheckerHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_SETFONT:
      DoLayoutChanged();
      break;
    case WM_SETFOCUS:
      dxSpellCheckerNotifyFocusGained(InnerControl());
      break;
    case WM_KILLFOCUS:
      dxSpellCheckerNotifyFocusLost();
      break;
    case WM_PAINT:
    case WM_CTLCOLOREDIT:
    case CN_CTLCOLOREDIT:
      RedrawMisspelledWords();
      break;
    case EM_UNDO:
    case WM_UNDO:
      if (IdxSpellChecker* AChecker = TdxSpellCheckerInstance::ISpellChecker())
        AChecker->NotifyUndo();
      break;
    case WM_KEYUP:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      InternalCheckSelection();
      break;
    case DXM_SPELL_REDRAWMISSPELLINGS:
      if (TWinControl* AInner = InnerControl(); AInner && AInner->HandleAllocated())
        dxMessagesController()->KillMessages(AInner->Handle(), DXM_SPELL_REDRAWMISSPELLINGS,
                                             DXM_SPELL_REDRAWMISSPELLINGS, false);
      DoDrawMisspellings();
      break;
  }
}

void TcxCustomTextEdit::RedrawMisspelledWords() {
  if (TWinControl* AInner = InnerControl(); AInner && AInner->HandleAllocated())
    PostMessageW(AInner->Handle(), DXM_SPELL_REDRAWMISSPELLINGS, 0, 0);
}

void TcxCustomTextEdit::DoDrawMisspellings() {
  if (IdxSpellChecker* AChecker = TdxSpellCheckerInstance::ISpellChecker())
    AChecker->DrawMisspellings(InnerControl());
}

void TcxCustomTextEdit::DoLayoutChanged() {
  if (IcxInnerTextEdit* AInner = InnerTextEdit())
    FLastFirstVisibleCharIndex = AInner->GetFirstVisibleCharIndex();
  if (IdxSpellChecker* AChecker = TdxSpellCheckerInstance::ISpellChecker())
    AChecker->NotifyLayoutChanged(InnerControl());
}

void TcxCustomTextEdit::DoSelectionChanged() {
  if (IdxSpellChecker* AChecker = TdxSpellCheckerInstance::ISpellChecker())
    AChecker->NotifySelectionChanged(InnerControl());
}

void TcxCustomTextEdit::DoTextChanged() {
  if (IdxSpellChecker* AChecker = TdxSpellCheckerInstance::ISpellChecker())
    AChecker->NotifyTextChanged(InnerControl());
}

void TcxCustomTextEdit::InternalCheckSelection() {
  IcxInnerTextEdit* AInner = InnerTextEdit();
  if (!AInner || !AInner->GetControl()->HandleAllocated()) return;
  if (AInner->GetFirstVisibleCharIndex() != FLastFirstVisibleCharIndex) {
    DoLayoutChanged();
    return;
  }
  const Integer ASelStart = AInner->GetSelStart(), ASelLength = AInner->GetSelLength();
  if (ASelStart == FLastSelPosition && ASelLength == FLastSelLength) return;
  FLastSelPosition = ASelStart;
  FLastSelLength = ASelLength;
  DoSelectionChanged();
}

bool TcxCustomTextEdit::CanSpellCheckerPostEditValue() {
  return !IsInplace() && CanPostEditValue() && !Focused();
}

void TcxCustomTextEdit::DoSpellCheckerPostEditValue() {
  SpellCheckerSetValue(Variant(GetDisplayText()));
}

void TcxCustomTextEdit::SpellCheckerPostEditValue() {
  if (!CanSpellCheckerPostEditValue()) return;
  LockChangeEvents(true, true);
  auto AUnlock = Finally([this] { LockChangeEvents(false); });
  DoSpellCheckerPostEditValue();
  InternalPostEditValue(false);
}

void TcxCustomTextEdit::SpellCheckerSetSelText(const String& AValue, bool APost) {
  FIsChangeBySpellChecker = true;
  {
    auto AReset = Finally([this] { FIsChangeBySpellChecker = false; });
    SetSelText(AValue);
  }
  if (APost) SpellCheckerPostEditValue();
  SetModifiedAfterEnter(true);
}

void TcxCustomTextEdit::AutoCorrect(TMessage& Message) {
  IcxInnerTextEdit* AInner = InnerTextEdit();
  auto* AInfo = reinterpret_cast<TdxSpellCheckerAutoCorrectWordInfo*>(Message.LParam);
  if (!AInner || !AInner->GetControl()->HandleAllocated() || !AInfo) return;
  TcxCustomTextEditProperties* P = GetActiveProperties();
  const bool APrevHideSelection = P->GetHideSelection();
  FIsChangeBySpellChecker = true;
  P->SetHideSelection(true);
  auto ARestore = Finally([&] {
    P->SetHideSelection(APrevHideSelection);
    FIsChangeBySpellChecker = false;
  });
  AInner->SetSelStart(AInfo->SelStart);
  AInner->SetSelLength(AInfo->SelLength);
  SendMessageW(AInner->GetControl()->Handle(), EM_REPLACESEL, 1,
               reinterpret_cast<LPARAM>(AInfo->Replacement.c_str()));
  AInner->SetSelStart(AInfo->Position);
  AInner->SetSelLength(0);
}
