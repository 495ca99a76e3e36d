// The text editor's keys, characters and wheel over its lookup items:
// moving through the items, incremental search that completes typed text
// from them, the rules that keep typing inside the list styles, and the item
// index.
#include "cxTextEdit.h"

using cxEditDetail::AsUserAction;

namespace {

bool IsHomeOrEnd(Word Key) { return Key == VK_HOME || Key == VK_END; }

}  // namespace

// ---------------------------------------------------------------------------
// Keys

bool TcxCustomTextEdit::IsLookupNavigationKey(Word Key, TShiftState) {
  switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
      return true;
    default:
      return false;
  }
}

void TcxCustomTextEdit::DoEditKeyDown(Word& Key, TShiftState Shift) {
  const TcxEditEditingStyle S = GetEditingStyle();
  IcxInnerTextEdit* AInner = InnerTextEdit();
  const TShortCut AShortCut = ShortCut(Key, Shift);
  TcxCustomTextEditProperties* P = GetActiveProperties();
  const bool ASpecialKey =
      AShortCut != 0 && (AShortCut == P->GetClearKey() || AShortCut == P->GetClickKey());
  // The caret never moves in a fixed list.
  if (S == esFixedList && !ASpecialKey &&
      (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_DELETE)) {
    SetFindSelection(false);
    DoAfterKeyDown(Key, Shift);
    Key = 0;
    return;
  }
  if (AInner) AInner->SetInternalUpdating(true);
  const Word APrevKey = Key;
  const bool APrevFindSelection = FFindSelection;
  TcxObjectLinkGuard ALink(this);
  inherited::DoEditKeyDown(Key, Shift);
  if (!ALink.Alive()) return;
  if (APrevKey == VK_RETURN && CanSelectItem(APrevFindSelection) && HasLookupData()) {
    GetILookupData()->SelectItem();
    SelectAll();
  }
  if (Key == 0) return;
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
      SetFindSelection(false);
      break;
    case VK_DELETE:
      if (S == esEditList) {
        DoAfterKeyDown(Key, Shift);
        Key = 0;
      } else {
        SetFindSelection(false);
      }
      break;
    default:
      if (IsLookupNavigationKey(Key, Shift)) {
        ProcessLookupNavigationKey(Key, Shift);
        if (Key != 0 && !IsHomeOrEnd(Key) && !(AInner && AInner->GetMultiLine())) {
          DoAfterKeyDown(Key, Shift);
          Key = 0;
        }
      }
      break;
  }
  if (Key == VK_END && GetSelLength() == 0 && S != esFixedList) SetFindSelection(false);
  if (Key != 0 && AInner) AInner->SetInternalUpdating(false);
}

bool TcxCustomTextEdit::GoLookupData(Integer ADirection) {
  IcxTextEditLookupData* ALookup = GetILookupData();
  const Variant APrevKey = ALookup->GetCurrentKey();
  LockClick(true);
  {
    auto AUnlock = Finally([this] { LockClick(false); });
    ALookup->Go(static_cast<TcxEditLookupDataGoDirection>(ADirection), false);
  }
  return !VarEqualsExact(APrevKey, ALookup->GetCurrentKey());
}

void TcxCustomTextEdit::PostAfterLookupChange(const Variant&) {
  Click();
  if (CanPostEditValue() && GetActiveProperties()->GetImmediatePost() &&
      InternalValidateEdit(false))
    InternalPostEditValue(false);
}

void TcxCustomTextEdit::ProcessLookupNavigationKey(Word& Key, TShiftState Shift) {
  if (IsHomeOrEnd(Key) && GetEditingStyle() != esFixedList) return;
  if (!HasLookupData() || !GetScrollLookupDataList(escKeyboard) || GetILookupData()->IsEmpty())
    return;
  TcxEditLookupDataGoDirection ADirection;
  const bool ACtrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_PRIOR:
      ADirection = ACtrl ? egdBegin : egdPageUp;
      break;
    case VK_NEXT:
      ADirection = ACtrl ? egdEnd : egdPageDown;
      break;
    case VK_END:
      ADirection = egdEnd;
      break;
    case VK_HOME:
      ADirection = egdBegin;
      break;
    case VK_UP:
      ADirection = egdPrev;
      break;
    default:
      ADirection = egdNext;
      break;
  }
  LockChangeEvents(true, true);
  auto AUnlock = Finally([this] {
    FLookupItemsScrolling = false;
    LockChangeEvents(false);
  });
  FLookupItemsScrolling = true;
  if (GoLookupData(ADirection)) PostAfterLookupChange(Variant());
  Key = 0;
}

bool TcxCustomTextEdit::CanKeyDownModifyEdit(Word Key, TShiftState Shift) {
  bool AResult = inherited::CanKeyDownModifyEdit(Key, Shift) || Key == VK_DELETE;
  if (HasLookupData() && !GetILookupData()->IsEmpty() && GetScrollLookupDataList(escKeyboard)) {
    switch (Key) {
      case VK_PRIOR:
      case VK_NEXT:
        AResult = !HasPopupWindow();
        break;
      case VK_UP:
      case VK_DOWN:
        AResult = !Shift.Contains(ssAlt) && !HasPopupWindow();
        break;
      default:
        break;
    }
  }
  return AResult;
}

bool TcxCustomTextEdit::CanKeyPressModifyEdit(Char Key) {
  switch (Key) {
    case 1:
    case 8:
    case 22:
    case 24:
      return true;
    default:
      return Key >= 32;
  }
}

bool TcxCustomTextEdit::IsValidChar(Char AChar) {
  if (inherited::IsValidChar(AChar)) return true;
  return AChar <= 0xFF && GetActiveProperties()->GetValidChars().Contains(static_cast<Byte>(AChar));
}

// ---------------------------------------------------------------------------
// Characters and incremental search

void TcxCustomTextEdit::DoEditKeyPress(Char& Key) {
  IcxInnerTextEdit* AInner = InnerTextEdit();
  if (AInner) AInner->SetInternalUpdating(true);
  inherited::DoEditKeyPress(Key);
  if (Key == 0) return;
  UnlockLookupDataTextChanged();
  BeginUserAction();
  bool AFound = false;
  Variant APrevKey;
  const bool AHasLookup = HasLookupData();
  IcxTextEditLookupData* ALookup = AHasLookup ? GetILookupData() : nullptr;
  {
    auto AEnd = Finally([&] {
      LockClick(false);
      EndUserAction();
    });
    const TcxEditEditingStyle S = GetEditingStyle();
    TcxCustomTextEditProperties* P = GetActiveProperties();
    if (S == esFixedList && !P->GetFixedListSelection() && Key == L'\b') {
      Key = 0;
      SetFindSelection(false);
    }
    if (ALookup) APrevKey = ALookup->GetCurrentKey();
    const bool APrevFindSelection = FFindSelection;
    LockClick(true);
    if (Key == L'\b' && ALookup && P->CanIncrementalSearch()) {
      if (S == esEditList && !GetDisplayText().empty() && !FFindSelection) {
        const Integer ACaret = GetSelStart();
        SetSelLength(Length(GetDisplayText()) - ACaret);
        FFindSelection = true;
      }
      if (FFindSelection) {
        String AText = GetDisplayText();
        const Integer ASelLength = AInner ? AInner->GetSelLength() : 0;
        AText.resize(std::max<Integer>(0, Length(AText) - ASelLength));
        if (!AText.empty()) AText.pop_back();
        LockLookupDataTextChanged();
        AFound = PopulateFromList(AText);
      }
      if (S == esFixedList) Key = 0;
    } else if (Key != 0 && IsTextChar(Key) && ALookup) {
      // In the free-text style a caret inside the text without a selection
      // types there without searching.
      auto CanContinue = [&] {
        if (S == esEditList || S == esFixedList) return true;
        const Integer ASelLength = AInner ? AInner->GetSelLength() : 0;
        const Integer ASelStart = AInner ? AInner->GetSelStart() : 0;
        return (ASelLength == 0 && ASelStart == Length(GetDisplayText())) || FFindSelection ||
               ASelLength > 0;
      };
      if (P->CanIncrementalSearch() && CanContinue()) {
        LockLookupDataTextChanged();
        const String ADisplayText = GetDisplayText();
        const Integer ASelStart = std::clamp(AInner ? AInner->GetSelStart() : 0, 0,
                                             Length(ADisplayText));
        const Integer ASelLength = AInner ? AInner->GetSelLength() : 0;
        String T;
        if (S == esFixedList) {
          if (FFindSelection) {
            T = ADisplayText + Key;
            AFound = PopulateFromList(T);
            if (!AFound) T = String(1, Key);
          } else {
            T = String(1, Key);
          }
        } else if (ASelLength > 0) {
          T = ADisplayText.substr(0, ASelStart) + Key;
        } else {
          T = ADisplayText.substr(0, ASelStart) + Key + ADisplayText.substr(ASelStart);
        }
        if (!AFound) AFound = PopulateFromList(T);
        if (!AFound && S == esFixedList && !P->GetFixedListSelection()) {
          String AOne(1, Key);
          AFound = PopulateFromList(AOne);
        }
      }
      if ((S == esEditList || S == esFixedList) && !AFound) {
        Key = 0;
        if ((S == esEditList && !GetDisplayText().empty()) ||
            (S == esFixedList && P->GetFixedListSelection() && APrevFindSelection))
          SetFindSelection(true);
      }
    }
  }
  if (ALookup && !VarEqualsExact(APrevKey, ALookup->GetCurrentKey())) Click();
  if (AFound) Key = 0;
  if (Key != 0 && AInner) AInner->SetInternalUpdating(false);
}

bool TcxCustomTextEdit::PopulateFromList(String& AText) {
  IcxInnerTextEdit* AInner = InnerTextEdit();
  IcxTextEditLookupData* ALookup = GetILookupData();
  if (!ALookup) return false;
  const Char AImeChar = AInner ? AInner->GetImeLastChar() : Char(0);
  String ASearch = AText;
  if (AImeChar != 0) ASearch += AImeChar;
  String ATail;
  const bool AFound = ALookup->Locate(ASearch, ATail, false);
  if (AFound) {
    AText = ASearch;
    if (AImeChar != 0 && !AText.empty()) {
      ATail.insert(ATail.begin(), AText.back());
      AText.pop_back();
    }
  }
  FFindSelection = AFound;
  TcxCustomTextEditProperties* P = GetActiveProperties();
  if (AText.empty()) {
    if (GetEditingStyle() != esFixedList ||
        (P->GetIncrementalFiltering() &&
         P->GetIncrementalFilteringOptions().Contains(ifoUseContainsOperator)))
      InternalSetDisplayValue(Variant(String()));
    SetFindSelection(false);
  }
  if (AFound) {
    DataBinding()->SetDisplayValue(Variant(AText + ATail));
    SetSelStart(Length(AText));
    SetSelLength(Length(ATail));
  }
  UpdateDrawValue();
  return AFound;
}

// ---------------------------------------------------------------------------
// Wheel

bool TcxCustomTextEdit::DoIsMouseWheelHandleNeeded(TShiftState Shift, const TPoint&) {
  if (!GetScrollLookupDataList(escMouseWheel) || HasPopupWindow()) return false;
  if (!HasLookupData()) return false;
  if (GetILookupData()->IsEmpty()) return false;
  if (IsDesigning() || !Focused()) return false;
  return !IsInplace() || GetActiveProperties()->GetUseMouseWheel() || Shift.Contains(ssCtrl);
}

bool TcxCustomTextEdit::IsMouseWheelHandleNeeded(TShiftState Shift, const TPoint& MousePos) {
  return DoIsMouseWheelHandleNeeded(Shift, MousePos);
}

bool TcxCustomTextEdit::InternalMouseWheel(TShiftState Shift, Integer WheelDelta,
                                           const TPoint& MousePos) {
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!DoIsMouseWheelHandleNeeded(Shift, MousePos) || !DoEditing()) return false;
  static constexpr TcxEditLookupDataGoDirection AGoDirectionMap[] = {egdNext, egdPrev};
  LockChangeEvents(true, true);
  auto AUnlock = Finally([this] {
    FLookupItemsScrolling = false;
    LockChangeEvents(false);
  });
  FLookupItemsScrolling = true;
  if (GoLookupData(AGoDirectionMap[WheelDelta > 0 ? 1 : 0])) PostAfterLookupChange(Variant());
  return true;
}

bool TcxCustomTextEdit::DoMouseWheel(TShiftState Shift, Integer WheelDelta,
                                     const TPoint& MousePos) {
  bool AResult = false;
  AsUserAction(this, [&] { AResult = InternalMouseWheel(Shift, WheelDelta, MousePos); });
  return AResult;
}

// ---------------------------------------------------------------------------
// Items

Variant TcxCustomTextEdit::LookupKeyToEditValue(const Variant& AKey) {
  IcxTextEditLookupData* ALookup = GetILookupData();
  Variant AValue;
  PrepareEditValue(Variant(ALookup ? ALookup->GetDisplayText(AKey) : String()), AValue,
                   InternalFocused());
  return AValue;
}

Integer TcxCustomTextEdit::LookupKeyToItemIndex(const Variant& AKey) {
  if (VarIsNull(AKey) || VarIsEmpty(AKey)) return -1;
  return AKey.AsInteger();
}

Integer TcxCustomTextEdit::DoGetItemIndex() {
  IcxTextEditLookupData* ALookup = GetILookupData();
  return ALookup ? LookupKeyToItemIndex(ALookup->GetCurrentKey()) : -1;
}

void TcxCustomTextEdit::DoSetItemIndex(Integer Value) {
  IcxTextEditLookupData* ALookup = GetILookupData();
  if (!ALookup) return;
  const Integer APrevIndex = GetItemIndex();
  {
    LockClick(true);
    auto AUnlock = Finally([this] { LockClick(false); });
    ALookup->SetCurrentKey(ItemIndexToLookupKey(Value));
    const Variant AEditValue = LookupKeyToEditValue(ALookup->GetCurrentKey());
    if (!VarEqualsExact(AEditValue, GetEditValue())) {
      LockLookupDataTextChanged();
      auto AUnlockText = Finally([this] { UnlockLookupDataTextChanged(); });
      InternalSetEditValue(AEditValue, false);
    }
  }
  if (GetItemIndex() != APrevIndex) {
    SetModified(false);
    Click();
  }
}

void TcxCustomTextEdit::HandleSelectItem(TObject*) {
  IcxTextEditLookupData* ALookup = GetILookupData();
  if (!ALookup) return;
  const Variant AEditValue = LookupKeyToEditValue(ALookup->GetCurrentKey());
  const bool AChanged = !VarEqualsExact(AEditValue, GetEditValue());
  if (AChanged && !DoEditing()) return;
  {
    SaveModified();
    LockLookupDataTextChanged();
    auto ARestore = Finally([this] {
      UnlockLookupDataTextChanged();
      RestoreModified();
    });
    SetInternalEditValue(AEditValue);
  }
  if (AChanged) SetModifiedAfterEnter(true);
  SelectAll();
  ShortRefreshContainer(false);
}
