// The three ways a mask editor edits: positional overwrite under a standard
// mask, and insertion checked character by character against a regular
// expression, with or without the characters the expression forces.
#include <algorithm>

#include "cxEditConsts.h"
#include "cxMaskEdit.h"

namespace {

Integer Len(const String& S) { return static_cast<Integer>(S.size()); }

}  // namespace

// ---------------------------------------------------------------------------
// TcxMaskEditCustomMode
IMPLEMENT_CLASS(TcxMaskEditCustomMode)

TcxMaskEditCustomMode::TcxMaskEditCustomMode(TcxCustomMaskEdit* AEdit,
                                             TcxCustomMaskEditProperties* AProperties)
    : FProperties(AProperties), FEdit(AEdit) {}

bool TcxMaskEditCustomMode::ProcessSelText(const String&, String& ANewText, Integer&) {
  ANewText.clear();
  return false;
}

void TcxMaskEditCustomMode::BeepOnError() {
  if (GetProperties()->GetBeepOnError()) cxEditMessageBeep();
}

bool TcxMaskEditCustomMode::HasEdit() { return FLink && !FLink->ModePropertiesChangeLocked(); }

TcxCustomMaskEditProperties* TcxMaskEditCustomMode::GetProperties() {
  return FLink ? FLink->ModeProperties() : FProperties;
}

void TcxMaskEditCustomMode::SynchronizeEditValue() {
  if (!HasEdit()) return;
  String S;
  if (FLink->ModeModifiedAfterEnter()) {
    S = GetFormattedText(EditText(), true);
  } else {
    Variant V;
    GetProperties()->PrepareDisplayValue(FLink->ModeEditValue(), V, FLink->ModeFocused());
    S = VarToStr(V);
  }
  FLink->ModeSetDisplayValue(Variant(S));
}

String TcxMaskEditCustomMode::EditText() { return FLink->ModeText(); }
Integer TcxMaskEditCustomMode::SelStart() { return FLink->ModeSelStart(); }
Integer TcxMaskEditCustomMode::SelLength() { return FLink->ModeSelLength(); }
void TcxMaskEditCustomMode::SetSelStart(Integer AValue) { FLink->ModeSetSelStart(AValue); }
void TcxMaskEditCustomMode::SetSelLength(Integer AValue) { FLink->ModeSetSelLength(AValue); }

void TcxMaskEditCustomMode::SetSelection(Integer AStart, Integer ALength) {
  FLink->ModeDirectSetSelection(AStart, ALength);
}

bool TcxMaskEditCustomMode::EditHandleAllocated() { return FLink && FLink->ModeHandleAllocated(); }

void TcxMaskEditCustomMode::SetEditDisplayText(const String& AText) {
  FLink->ModeSetDisplayValue(Variant(AText));
}

bool TcxMaskEditCustomMode::ShiftOn() { return FLink && FLink->ModeShiftOn(); }

void TcxMaskEditCustomMode::SetShiftOn(bool AValue) {
  if (FLink) FLink->ModeShiftOn() = AValue;
}

void TcxMaskEditCustomMode::SendMyKeyDown(Word Key, TShiftState Shift) {
  FLink->ModeSendKeyDown(Key, Shift);
}

void TcxMaskEditCustomMode::SendMyKeyPress(Char Key) { FLink->ModeSendKeyPress(Key); }
Integer TcxMaskEditCustomMode::CursorPos() { return FLink->ModeCursorPos(); }

bool TcxMaskEditCustomMode::IsCharValidForPos(Char& AChar, Integer APos) {
  return FLink->ModeIsCharValidForPos(AChar, APos);
}

void TcxMaskEditCustomMode::LockChangeEvents(bool ALock) { FLink->ModeLockChangeEvents(ALock); }

bool TcxMaskEditCustomMode::IsEditValueEmpty() {
  const Variant V = FLink->ModeEditValue();
  return VarIsNull(V) || VarIsEmpty(V) || VarToStr(V).empty();
}

void TcxMaskEditCustomMode::SetEditValue(const String& AValue) {
  FLink->ModeSetEditValue(Variant(AValue));
}

// ---------------------------------------------------------------------------
// TcxMaskEditStandardMode
IMPLEMENT_CLASS(TcxMaskEditStandardMode)

TcxMaskEditStandardMode::TcxMaskEditStandardMode(TcxCustomMaskEdit* AEdit,
                                                 TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditCustomMode(AEdit, AProperties), FMask(Create<TcxStandardMask>()) {}

bool TcxMaskEditStandardMode::IsLiteralAt(Integer APos) const {
  return APos >= 0 && APos < FMask->Count() &&
         FMask->Items(APos)->InheritsFrom(TcxStandardMaskLiteralItem::StaticClass());
}

Integer TcxMaskEditStandardMode::FirstPlaceholder() const {
  for (Integer I = 0; I < FMask->Count(); ++I)
    if (!IsLiteralAt(I)) return I;
  return FMask->Count();
}

void TcxMaskEditStandardMode::PutText(const String& AText, Integer APos) {
  SetEditDisplayText(AText);
  SetSelection(APos, 0);
}

void TcxMaskEditStandardMode::Compile(const String& AMask) {
  FEditMask = AMask;
  FMask->Compile(TcxCustomMaskEditProperties::EmptyMask(AMask) ? String() : AMask);
  if (FMask->Count() > 0 && !HasEdit()) FNeedUpdateEditValue = true;
}

String TcxMaskEditStandardMode::GetEmptyString() { return FMask->EmptyString(); }

String TcxMaskEditStandardMode::GetFormattedText(const String& AText,
                                                 bool AMatchForBlanksAndLiterals) {
  String S = AText;
  FMask->Format(S, true, AMatchForBlanksAndLiterals);
  return S;
}

String TcxMaskEditStandardMode::GetUpdatedText(const String& AText,
                                               bool AMatchForBlanksAndLiterals) {
  if (FMask->Count() == 0) return AText;
  String S = AText;
  FMask->Format(S, GetProperties()->GetCharCase() == ecNormal, AMatchForBlanksAndLiterals);
  FMask->Format2(S);
  return S;
}

bool TcxMaskEditStandardMode::IsFullValidText(const String& AText) {
  String S = AText;
  if (FMask->IsFullValid(S)) return true;
  return GetProperties()->GetIgnoreMaskBlank() && AText == GetFormattedText(String());
}

void TcxMaskEditStandardMode::UpdateEditValue() {
  if (!FNeedUpdateEditValue || !FLink) return;
  FNeedUpdateEditValue = false;
  // Only an empty editor takes the mask's empty text: a value it holds is
  // never replaced by blanks.
  if (IsEditValueEmpty()) SetEditValue(FMask->EmptyString());
}

void TcxMaskEditStandardMode::SynchronizeEditValue() {
  TcxMaskEditCustomMode::SynchronizeEditValue();
  LMouseDown();
}

bool TcxMaskEditStandardMode::IsCursorBegin() {
  return FirstPlaceholder() >= SelStart() && (SelLength() < 2 || CursorPos() == SelStart());
}

bool TcxMaskEditStandardMode::IsCursorEnd() { return SelStart() == Len(EditText()); }

void TcxMaskEditStandardMode::LMouseDown() {
  if (!EditHandleAllocated() || FMask->Count() == 0 || SelLength() != 0) return;
  const Integer Start = SelStart();
  if (Start < Len(EditText())) SetSelection(Start, 1);
}

void TcxMaskEditStandardMode::PrePasteFromClipboard() {
  FSelStart = SelStart();
  SetSelection(FSelStart, FClipboardTextLength);
}

void TcxMaskEditStandardMode::AfterPasteFromClipboard() {
  if (SelStart() < Len(EditText()) && IsLiteralAt(SelStart())) {
    SetShiftOn(false);
    PressRight();
  }
}

bool TcxMaskEditStandardMode::ProcessSelText(const String& Value, String& ANewText,
                                             Integer& ANewSelStart) {
  if (Value.empty()) return false;
  ANewText = EditText();
  const Integer Start = SelStart();
  ANewSelStart = Start + Len(Value);
  const Integer Count = FMask->Count();
  if (Len(ANewText) < Count) ANewText.append(static_cast<size_t>(Count - Len(ANewText)), L' ');
  Integer Pos = Start;
  for (Char C : Value) {
    if (Pos >= Count) break;
    while (Pos < Count && IsLiteralAt(Pos) &&
           static_cast<TcxStandardMaskLiteralItem*>(FMask->Items(Pos))->Literal() != C) {
      ++Pos;
      ++ANewSelStart;
    }
    if (Pos >= Count) break;
    ANewText[static_cast<size_t>(Pos)] = C;
    ++Pos;
  }
  ANewSelStart = std::clamp(ANewSelStart, 0, Len(ANewText));
  return true;
}

bool TcxMaskEditStandardMode::PressBackSpace() {
  if (SelLength() <= 1) PressLeft();
  PressDelete();
  return false;
}

bool TcxMaskEditStandardMode::PressDelete() {
  if (SelLength() == 0) return false;
  LockChangeEvents(true);
  auto Unlock = Finally([this] { LockChangeEvents(false); });
  const Integer Start = SelStart();
  const Integer Finish = std::min(Start + SelLength(), Len(EditText()));
  String S = EditText();
  for (Integer I = Start; I < Finish; ++I)
    if (I < FMask->Count() && !IsLiteralAt(I)) S[static_cast<size_t>(I)] = GetBlank(I);
  PutText(S, Start);
  return false;
}

bool TcxMaskEditStandardMode::PressHome() {
  if (ShiftOn()) return true;
  SetSelection(0, 0);
  if (IsLiteralAt(0)) PressRight();
  LMouseDown();
  return false;
}

bool TcxMaskEditStandardMode::PressEnd() {
  if (ShiftOn()) return true;
  SetSelection(Len(EditText()), 0);
  return false;
}

bool TcxMaskEditStandardMode::PressLeft() {
  const Integer Start = SelStart();
  const Integer Length = SelLength();
  if (ShiftOn()) {
    if (Length != 1) return true;
    SetSelection(Start + 1, 0);
    SendMyKeyDown(VK_LEFT, {ssShift});
    SendMyKeyDown(VK_LEFT, {ssShift});
    return true;
  }
  Integer NewStart = Start;
  if (Length < 2) {
    if (Start == 0) return false;
    Integer Literals = 0;
    while (Start - 1 - Literals >= 0 && IsLiteralAt(Start - 1 - Literals)) ++Literals;
    if (Start - 1 - Literals >= 0) NewStart = Start - Literals - 1;
  } else {
    const Integer Finish = Start + Length;
    NewStart = Finish >= Len(EditText()) ? Len(EditText()) : Start;
    for (Integer I = Start; I < Finish; ++I)
      if (!IsLiteralAt(I)) {
        NewStart = I;
        break;
      }
  }
  SetSelection(NewStart, 0);
  LMouseDown();
  return false;
}

bool TcxMaskEditStandardMode::PressRight() {
  const Integer Start = SelStart();
  const Integer Length = SelLength();
  const Integer TextLength = Len(EditText());
  if (ShiftOn()) {
    if (Length == 1 && CursorPos() == Start) SetSelection(Start, 0);
    return true;
  }
  Integer NewStart = Start;
  if (Length < 2) {
    Integer Literals = 0;
    while (IsLiteralAt(Start + 1 + Literals)) ++Literals;
    if (Start + Literals + 1 <= TextLength) NewStart = Start + Literals + 1;
  } else {
    const Integer Finish = Start + Length;
    if (Finish >= TextLength) {
      NewStart = TextLength;
    } else {
      NewStart = Finish - 1;
      for (Integer I = Finish - 1; I >= Start; --I)
        if (!IsLiteralAt(I)) {
          NewStart = I;
          break;
        }
    }
  }
  SetSelection(NewStart, 0);
  LMouseDown();
  return false;
}

bool TcxMaskEditStandardMode::PressSymbol(Char& ASymbol) {
  const String Text = EditText();
  const Integer Start = SelStart();
  if (Text.empty() || Start >= Len(Text) || Start >= FMask->Count()) return false;
  if (IsLiteralAt(Start)) {
    SetShiftOn(false);
    if (SelLength() > 1) PressDelete();
    PressRight();
    if (SelStart() != Start) PressSymbol(ASymbol);
    return false;
  }
  if (!FMask->Items(Start)->Check(ASymbol)) return false;
  if (!IsCharValidForPos(ASymbol, Start + 1)) return false;
  if (ASymbol == 0) {
    BeepOnError();
    return false;
  }
  if (SelLength() > 1) PressDelete();
  String S = EditText();
  S[static_cast<size_t>(Start)] = ASymbol;
  PutText(S, Start);
  SetShiftOn(false);
  PressRight();
  return false;
}

// ---------------------------------------------------------------------------
// TcxMaskEditRegExprMode
IMPLEMENT_CLASS(TcxMaskEditRegExprMode)

TcxMaskEditRegExprMode::TcxMaskEditRegExprMode(TcxCustomMaskEdit* AEdit,
                                               TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditCustomMode(AEdit, AProperties), FRegExpr(Create<TcxRegExpr>()) {
  SetRegExprCaseInsensitive();
}

bool TcxMaskEditRegExprMode::CaseInsensitiveSetting() {
  TcxCustomMaskEditProperties* P = GetProperties();
  return P && P->GetCaseInsensitive();
}

void TcxMaskEditRegExprMode::SetRegExprCaseInsensitive() {
  FRegExpr->SetCaseInsensitive(CaseInsensitiveSetting());
}

void TcxMaskEditRegExprMode::CompileRegExpr(TcxRegExpr* ARegExpr) {
  try {
    ARegExpr->Compile(FEditMask);
  } catch (const EcxRegExprError& E) {
    throw EcxMaskEditError(cxMaskEditRegExprErrorText(E));
  }
}

void TcxMaskEditRegExprMode::Compile(const String& AMask) {
  if (TcxCustomMaskEditProperties::EmptyMask(AMask)) {
    FEditMask = AMask;
    FRegExpr.reset(Create<TcxRegExpr>());
    SetRegExprCaseInsensitive();
    return;
  }
  // A mask that does not compile leaves the mode as it was.
  const String OldMask = FEditMask;
  FEditMask = AMask;
  auto Restore = Finally([&] { FEditMask = OldMask; });
  TOwned<TcxRegExpr> R(Create<TcxRegExpr>());
  R->SetCaseInsensitive(CaseInsensitiveSetting());
  CompileRegExpr(R.get());
  Restore.Dismiss();
  FRegExpr = std::move(R);
  FHead.clear();
  FTail.clear();
  FSelect.clear();
}

TOwned<TcxRegExpr> TcxMaskEditRegExprMode::CreateTempRegExpr() {
  TOwned<TcxRegExpr> R;
  if (!FRegExpr->IsCompiled()) return R;
  R.reset(Create<TcxRegExpr>());
  R->SetCaseInsensitive(CaseInsensitiveSetting());
  R->Compile(FRegExpr->Stream());
  return R;
}

String TcxMaskEditRegExprMode::GetFormattedText(const String& AText, bool) {
  if (!FRegExpr->IsCompiled()) return String();
  FRegExpr->Reset();
  String Result;
  for (Char C : AText) {
    Char T = C;
    if (FRegExpr->Next(T)) Result += T;
  }
  return Result;
}

bool TcxMaskEditRegExprMode::IsFullValidText(const String& AText) {
  if (AText.empty()) return true;
  TOwned<TcxRegExpr> R = CreateTempRegExpr();
  if (!R) return false;
  R->Reset();
  for (Char C : AText) {
    Char T = C;
    if (!R->Next(T)) return false;
  }
  return GetProperties()->GetIgnoreMaskBlank() || R->IsFinal();
}

bool TcxMaskEditRegExprMode::IsCursorBegin() { return SelStart() == 0; }
bool TcxMaskEditRegExprMode::IsCursorEnd() { return SelStart() == Len(EditText()); }

void TcxMaskEditRegExprMode::Reset(const String& AText) {
  FHead.clear();
  FTail = AText;
  if (FRegExpr->IsCompiled()) FRegExpr->Reset();
}

void TcxMaskEditRegExprMode::SetText(const String& AText) {
  if (FClipboardTextLength > 0 && !AText.empty() && FLink) {
    Reset(AText);
    const Integer N = std::min(SelStart() + FClipboardTextLength, Len(AText));
    for (Integer I = 0; I < N; ++I) {
      Char C = AText[static_cast<size_t>(I)];
      FRegExpr->Next(C);
    }
    FHead = AText.substr(0, static_cast<size_t>(N));
    FTail = AText.substr(static_cast<size_t>(N));
    FClipboardTextLength = 0;
  } else {
    Reset(AText);
  }
}

void TcxMaskEditRegExprMode::SynchronizeEditValue() {
  TcxMaskEditCustomMode::SynchronizeEditValue();
  if (!HasEdit()) return;
  const String Text = EditText();
  if (EditHandleAllocated()) SetSelection(Len(Text), 0);
  Reset(Text);
}

bool TcxMaskEditRegExprMode::NeedReset() {
  if (FMouseAction) return true;
  const String Text = EditText();
  if (!FHead.empty() || Text.empty()) return false;
  return FHead + FTail != Text || SelStart() != 0;
}

void TcxMaskEditRegExprMode::CursorCorrection() {
  if (!FLink || !FRegExpr->IsCompiled() || !NeedReset()) return;
  FMouseAction = false;
  const String Text = EditText();
  Reset(Text);
  const Integer Start = std::min(SelStart(), Len(Text));
  for (Integer I = 0; I < Start; ++I) {
    Char C = Text[static_cast<size_t>(I)];
    FRegExpr->Next(C);
    FHead += FTail.front();
    FTail.erase(0, 1);
  }
}

void TcxMaskEditRegExprMode::DeleteSelection() {
  const Integer Start = SelStart();
  const Integer Length = SelLength();
  if (Start == Len(FHead)) {
    const Integer N = std::min(Length, Len(FTail));
    FSelect = FTail.substr(0, static_cast<size_t>(N));
    FTail.erase(0, static_cast<size_t>(N));
    FBeginCursor = true;
  } else if (Start + Length == Len(FHead)) {
    FSelect = FHead.substr(static_cast<size_t>(Start));
    FHead.erase(static_cast<size_t>(Start));
    for (Integer I = 0; I < Length; ++I) FRegExpr->Prev();
    FBeginCursor = false;
  }
}

void TcxMaskEditRegExprMode::RestoreSelection() {
  if (FBeginCursor) {
    FTail = FSelect + FTail;
  } else {
    for (Char C : FSelect) {
      Char T = C;
      FRegExpr->Next(T);
    }
    FHead += FSelect;
  }
  FSelect.clear();
}

bool TcxMaskEditRegExprMode::NextTail() {
  Integer Accepted = 0;
  bool Result = true;
  for (Char C : FTail) {
    Char T = C;
    if (!FRegExpr->Next(T)) {
      Result = false;
      break;
    }
    ++Accepted;
  }
  for (Integer I = 0; I < Accepted; ++I) FRegExpr->Prev();
  return Result;
}

void TcxMaskEditRegExprMode::ClearTail() {
  String S = EditText();
  const Integer Start = SelStart();
  if (Start < Len(S)) S.erase(static_cast<size_t>(Start), FTail.size());
  SetEditDisplayText(S);
  SetSelection(Len(S), 0);
  FTail.clear();
}

void TcxMaskEditRegExprMode::GotoEnd() {
  CursorCorrection();
  for (Char C : FTail) {
    Char T = C;
    FRegExpr->Next(T);
  }
  FHead += FTail;
  FTail.clear();
}

bool TcxMaskEditRegExprMode::PressEnd() {
  GotoEnd();
  return true;
}

bool TcxMaskEditRegExprMode::PressHome() {
  CursorCorrection();
  if (!FHead.empty()) {
    FTail = FHead + FTail;
    FHead.clear();
    FRegExpr->Reset();
  }
  return true;
}

bool TcxMaskEditRegExprMode::PressLeft() {
  CursorCorrection();
  if (FHead.empty()) return true;
  const Integer Start = SelStart();
  const Integer Length = SelLength();
  const Integer Cursor = Len(FHead);
  if (Length > 0 && !ShiftOn() && Start + Length == Cursor) {
    for (Integer I = 0; I < Length; ++I) {
      FRegExpr->Prev();
      FTail.insert(FTail.begin(), FHead.back());
      FHead.pop_back();
    }
  } else if (!(Length > 0 && !ShiftOn() && Start == Cursor)) {
    FRegExpr->Prev();
    FTail.insert(FTail.begin(), FHead.back());
    FHead.pop_back();
  }
  return true;
}

bool TcxMaskEditRegExprMode::PressRight() {
  CursorCorrection();
  if (FTail.empty()) return true;
  const Integer Start = SelStart();
  const Integer Length = SelLength();
  const Integer Cursor = Len(FHead);
  Integer Steps = 1;
  if (Length > 0 && !ShiftOn() && Start == Cursor)
    Steps = std::min(Length, Len(FTail));
  else if (Length > 0 && !ShiftOn() && Start + Length == Cursor)
    Steps = 0;
  for (Integer I = 0; I < Steps; ++I) {
    Char T = FTail.front();
    FRegExpr->Next(T);
    FHead += FTail.front();
    FTail.erase(0, 1);
  }
  return true;
}

bool TcxMaskEditRegExprMode::PressSymbol(Char& ASymbol) {
  CursorCorrection();
  const bool HadSelection = SelLength() > 0;
  if (HadSelection) DeleteSelection();
  bool Result;
  Char T = ASymbol;
  if (FRegExpr->Next(T)) {
    ASymbol = T;
    FHead += T;
    Result = true;
    if (!NextTail()) {
      if (HadSelection) {
        SendMyKeyDown(VK_DELETE, {});
        SendMyKeyPress(ASymbol);
        Result = false;
      }
      ClearTail();
    }
    FSelect.clear();
  } else {
    RestoreSelection();
    BeepOnError();
    Result = false;
  }
  return Result;
}

bool TcxMaskEditRegExprMode::PressBackSpace() {
  CursorCorrection();
  if (SelLength() > 0) {
    DeleteSelection();
    FSelect.clear();
    if (!NextTail()) {
      SendMyKeyPress(8);
      ClearTail();
      BeepOnError();
      return false;
    }
    return true;
  }
  if (!FHead.empty()) {
    FRegExpr->Prev();
    FHead.pop_back();
    if (!NextTail()) ClearTail();
  }
  return true;
}

bool TcxMaskEditRegExprMode::PressDelete() {
  CursorCorrection();
  if (SelLength() > 0) {
    DeleteSelection();
    FSelect.clear();
    if (!NextTail()) {
      SendMyKeyDown(VK_DELETE, {});
      ClearTail();
      BeepOnError();
      return false;
    }
    return true;
  }
  if (!FTail.empty()) {
    const String Removed = FTail.substr(0, 1);
    FTail.erase(0, 1);
    if (!NextTail()) {
      // The rest no longer fits: cut it and leave the one character the
      // native Delete is about to remove.
      const Integer Start = SelStart();
      String S = EditText();
      S.erase(std::min(static_cast<size_t>(Start), S.size()));
      S += Removed;
      SetEditDisplayText(S);
      SetSelection(Start, 0);
      FTail.clear();
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// TcxMaskEditRegExprExMode
//
// The automaton's own insertion stays off: the mode asks it for the forced
// characters (Update) exactly where a unit ends, and takes them back
// (ReUpdate) with the unit, so that the automaton always stands where the
// text left of the cursor ends.
IMPLEMENT_CLASS(TcxMaskEditRegExprExMode)

TcxMaskEditRegExprExMode::TcxMaskEditRegExprExMode(TcxCustomMaskEdit* AEdit,
                                                   TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditRegExprMode(AEdit, AProperties) {
  Clear();
}

void TcxMaskEditRegExprExMode::Clear() {
  FUpdate.clear();
  FDeleteNumber = 0;
}

void TcxMaskEditRegExprExMode::Compile(const String& AMask) {
  Clear();
  TcxMaskEditRegExprMode::Compile(AMask);
  FRegExpr->SetOnSymbolUpdate(MakeEvent<&TcxMaskEditRegExprExMode::SymbolUpdate>(this));
  FRegExpr->SetOnSymbolDelete(MakeEvent<&TcxMaskEditRegExprExMode::SymbolDelete>(this));
  if (!TcxCustomMaskEditProperties::EmptyMask(AMask) && !HasEdit()) FNeedUpdateEditValue = true;
}

void TcxMaskEditRegExprExMode::UpdateEditValue() {
  if (!FNeedUpdateEditValue || !FLink) return;
  FNeedUpdateEditValue = false;
  // Only an empty editor takes the forced prefix; a value is never replaced.
  if (IsEditValueEmpty()) {
    const String Prefix = GetEmptyString();
    if (!Prefix.empty()) SetEditValue(Prefix);
  }
}

String TcxMaskEditRegExprExMode::ForcedPrefix() {
  TOwned<TcxRegExpr> R = CreateTempRegExpr();
  if (!R) return String();
  FInternalUpdate.clear();
  R->SetOnSymbolUpdate(MakeEvent<&TcxMaskEditRegExprExMode::InternalSymbolUpdate>(this));
  R->Reset();
  R->Automat()->Update();
  return FInternalUpdate;
}

String TcxMaskEditRegExprExMode::GetEmptyString() { return ForcedPrefix(); }

String TcxMaskEditRegExprExMode::GetFormattedText(const String& AText, bool) {
  if (!FRegExpr->IsCompiled()) return String();
  Clear();
  String Result = TcxMaskEditRegExprMode::GetFormattedText(AText, false);
  FRegExpr->Automat()->Update();
  Result += FUpdate;
  Clear();
  return Result;
}

bool TcxMaskEditRegExprExMode::IsFullValidText(const String& AText) {
  TOwned<TcxRegExpr> R = CreateTempRegExpr();
  if (!R) return false;
  if (AText == ForcedPrefix()) return true;
  R->Reset();
  for (Char C : AText) {
    Char T = C;
    if (!R->Next(T)) return false;
  }
  return GetProperties()->GetIgnoreMaskBlank() || R->IsFinal();
}

void TcxMaskEditRegExprExMode::SetText(const String& AText) {
  Reset(AText);
  Clear();
  FClipboardTextLength = 0;
  FMouseAction = true;
  if (FLink) CursorCorrection();
}

bool TcxMaskEditRegExprExMode::StepForward() {
  if (FTail.empty()) return false;
  Clear();
  Char T = FTail.front();
  if (!FRegExpr->Next(T)) return false;
  FRegExpr->Automat()->Update();
  const size_t N = std::min(1 + FUpdate.size(), FTail.size());
  FHead += FTail.substr(0, N);
  FTail.erase(0, N);
  return true;
}

bool TcxMaskEditRegExprExMode::StepBack() {
  if (FHead.empty()) return false;
  Clear();
  FRegExpr->Automat()->ReUpdate();
  FRegExpr->Prev();
  const size_t N = std::min(static_cast<size_t>(FDeleteNumber) + 1, FHead.size());
  FTail.insert(0, FHead.substr(FHead.size() - N));
  FHead.erase(FHead.size() - N);
  if (FRegExpr->IsStart() && !FHead.empty()) {
    FTail.insert(0, FHead);
    FHead.clear();
  }
  return true;
}

void TcxMaskEditRegExprExMode::CursorCorrection() {
  if (!EditHandleAllocated() || !FRegExpr->IsCompiled()) return;
  if (NeedReset()) {
    Reset(EditText());
    FMouseAction = true;
  }
  if (!FMouseAction) return;
  FMouseAction = false;
  const Integer Start = SelStart();
  const Integer Length = SelLength();
  if (Len(FHead) < Start) {
    while (Len(FHead) < Start && StepForward()) {
    }
    if (Len(FHead) > Start) {
      StepBack();
      SetSelection(Len(FHead), 0);
    }
  } else if (Len(FHead) > Start) {
    while (Len(FHead) > Start && StepBack()) {
    }
    if (Len(FHead) < Start) SetSelection(Len(FHead), 0);
  }
  if (Length > 0 && SelStart() == Start) {
    const Integer Finish = Start + Length;
    Integer Steps = 0;
    while (Len(FHead) < Finish && StepForward()) ++Steps;
    const Integer UnitEnd = Len(FHead);
    for (Integer I = 0; I < Steps; ++I) StepBack();
    SetSelection(Start, UnitEnd - Start);
  }
  Clear();
}

void TcxMaskEditRegExprExMode::DeleteSelection() {
  TcxMaskEditRegExprMode::DeleteSelection();
  Clear();
}

void TcxMaskEditRegExprExMode::RestoreSelection() {
  TcxMaskEditRegExprMode::RestoreSelection();
  Clear();
}

bool TcxMaskEditRegExprExMode::KeepForcedPrefix() {
  if (SelStart() != 0 || SelLength() == 0 || !FHead.empty()) return false;
  Clear();
  FRegExpr->Automat()->Update();
  const String Prefix = FUpdate;
  Clear();
  if (Prefix.empty()) return false;
  if (FTail.compare(0, Prefix.size(), Prefix) != 0) {
    FRegExpr->Reset();
    return false;
  }
  FHead = Prefix;
  FTail.erase(0, Prefix.size());
  SetSelection(Len(Prefix), std::max(0, SelLength() - Len(Prefix)));
  return true;
}

void TcxMaskEditRegExprExMode::UpdateTail() {
  Clear();
  Integer Fed = 0;
  for (Char C : FTail) {
    Char T = C;
    if (!FRegExpr->Next(T)) break;
    ++Fed;
  }
  FRegExpr->Automat()->Update();
  const String Inserted = FUpdate;
  Clear();
  if (!Inserted.empty()) {
    SetSelection(SelStart() + Fed, 0);
    for (Char C : Inserted) SendMyKeyPress(C);
    FTail += Inserted;
    Fed += Len(Inserted);
  }
  for (Integer I = 0; I < Fed; ++I) FRegExpr->Prev();
  SetSelection(Len(FHead), 0);
}

void TcxMaskEditRegExprExMode::RefitTail() {
  if (NextTail())
    UpdateTail();
  else
    ClearTail();
}

void TcxMaskEditRegExprExMode::GotoEnd() {
  CursorCorrection();
  Clear();
  TcxMaskEditRegExprMode::GotoEnd();
}

bool TcxMaskEditRegExprExMode::PressEnd() {
  GotoEnd();
  return true;
}

bool TcxMaskEditRegExprExMode::PressHome() {
  Clear();
  return TcxMaskEditRegExprMode::PressHome();
}

bool TcxMaskEditRegExprExMode::PressSymbol(Char& ASymbol) {
  CursorCorrection();
  Clear();
  if (SelLength() > 0) {
    if (KeepForcedPrefix()) return PressSymbol(ASymbol);
    DeleteSelection();
  }
  Char T = ASymbol;
  if (!FRegExpr->Next(T)) {
    RestoreSelection();
    BeepOnError();
    return false;
  }
  ASymbol = T;
  FRegExpr->Automat()->Update();
  const String Unit = String(1, T) + FUpdate;
  Clear();
  FSelect.clear();
  FHead += Unit;
  for (Char C : Unit) SendMyKeyPress(C);
  RefitTail();
  return false;
}

bool TcxMaskEditRegExprExMode::PressBackSpace() {
  CursorCorrection();
  Clear();
  if (SelLength() > 0) {
    if (KeepForcedPrefix()) return PressBackSpace();
    DeleteSelection();
    FSelect.clear();
    SendMyKeyPress(8);
    RefitTail();
    return false;
  }
  if (FHead.empty()) return false;
  FRegExpr->Automat()->ReUpdate();
  FRegExpr->Prev();
  if (FRegExpr->IsStart() && SelStart() == FDeleteNumber) {
    // Only the forced prefix lies before the cursor: it stays.
    Char T = FHead.front();
    FRegExpr->Next(T);
    FRegExpr->Automat()->Update();
    Clear();
    BeepOnError();
    return false;
  }
  const Integer Count = std::min(FDeleteNumber + 1, Len(FHead));
  const Integer Before = Len(EditText());
  for (Integer I = 0; I < Count; ++I) SendMyKeyPress(8);
  const Integer Lost = std::min(Before - Len(EditText()), Len(FHead));
  FHead.erase(FHead.size() - static_cast<size_t>(Lost));
  Clear();
  RefitTail();
  return false;
}

bool TcxMaskEditRegExprExMode::PressDelete() {
  CursorCorrection();
  Clear();
  if (SelLength() > 0) return PressBackSpace();
  if (FTail.empty()) return false;
  if (SelStart() == 0 && !ForcedPrefix().empty()) {
    BeepOnError();
    return false;
  }
  Char T = FTail.front();
  if (!FRegExpr->Next(T)) return false;
  FRegExpr->Automat()->Update();
  const Integer Count = std::min(Len(FUpdate) + 1, Len(FTail));
  Clear();
  FRegExpr->Automat()->ReUpdate();
  FRegExpr->Prev();
  Clear();
  for (Integer I = 0; I < Count; ++I) SendMyKeyDown(VK_DELETE, {});
  FTail.erase(0, static_cast<size_t>(Count));
  SetSelection(Len(FHead), 0);
  RefitTail();
  return false;
}

bool TcxMaskEditRegExprExMode::PressLeft() {
  CursorCorrection();
  Clear();
  if (FHead.empty()) return true;
  const Integer Start = SelStart();
  const Integer Length = SelLength();
  const Integer Cursor = Len(FHead);
  if (Length > 0 && !ShiftOn() && Start + Length == Cursor)
    return TcxMaskEditRegExprMode::PressLeft();
  if (Length > 0 && !ShiftOn() && Start == Cursor) return true;
  FRegExpr->Automat()->ReUpdate();
  FRegExpr->Prev();
  Integer Extra = FDeleteNumber;
  if (FRegExpr->IsStart() && Extra == (Start == 0 ? Length : Start)) --Extra;
  Extra = std::clamp(Extra, 0, Len(FHead) - 1);
  const TShiftState Shift = ShiftOn() ? TShiftState{ssShift} : TShiftState{};
  for (Integer I = 0; I < Extra + 1; ++I) {
    FTail.insert(FTail.begin(), FHead.back());
    FHead.pop_back();
  }
  for (Integer I = 0; I < Extra; ++I) SendMyKeyDown(VK_LEFT, Shift);
  Clear();
  return true;
}

bool TcxMaskEditRegExprExMode::PressRight() {
  CursorCorrection();
  Clear();
  if (FTail.empty()) return true;
  const Integer Start = SelStart();
  const Integer Length = SelLength();
  const Integer Cursor = Len(FHead);
  if (Length > 0 && !ShiftOn() && Start == Cursor) return TcxMaskEditRegExprMode::PressRight();
  if (Length > 0 && !ShiftOn() && Start + Length == Cursor) return true;
  const Integer Before = Len(FHead);
  if (!StepForward()) return true;
  const TShiftState Shift = ShiftOn() ? TShiftState{ssShift} : TShiftState{};
  for (Integer I = Before + 1; I < Len(FHead); ++I) SendMyKeyDown(VK_RIGHT, Shift);
  Clear();
  return true;
}
