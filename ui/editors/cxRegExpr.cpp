#include "cxRegExpr.h"

#include <algorithm>

#include "WinCompat.h"
#include "cxEditConsts.h"

IMPLEMENT_CLASS(TcxLexems)
IMPLEMENT_CLASS(TcxRegExprError)
IMPLEMENT_CLASS(TcxRegExprErrors)
IMPLEMENT_CLASS(TcxRegExprItem)
IMPLEMENT_CLASS(TcxRegExprSymbol)
IMPLEMENT_CLASS(TcxRegExprTimeSeparator)
IMPLEMENT_CLASS(TcxRegExprDateSeparator)
IMPLEMENT_CLASS(TcxRegExprSubrange)
IMPLEMENT_CLASS(TcxRegExprEnumeration)
IMPLEMENT_CLASS(TcxRegExprUserEnumeration)
IMPLEMENT_CLASS(TcxRegExprDigit)
IMPLEMENT_CLASS(TcxRegExprIdLetter)
IMPLEMENT_CLASS(TcxRegExprSpace)
IMPLEMENT_CLASS(TcxRegExprAll)
IMPLEMENT_CLASS(TcxRegExprState)
IMPLEMENT_CLASS(TcxRegExprSimpleState)
IMPLEMENT_CLASS(TcxRegExprBlockState)
IMPLEMENT_CLASS(TcxRegExprQuantifier)
IMPLEMENT_CLASS(TcxRegExprSimpleQuantifier)
IMPLEMENT_CLASS(TcxRegExprQuestionQuantifier)
IMPLEMENT_CLASS(TcxRegExprStarQuantifier)
IMPLEMENT_CLASS(TcxRegExprPlusQuantifier)
IMPLEMENT_CLASS(TcxRegExprParserItem)
IMPLEMENT_CLASS(TcxRegExprParserSimpleItem)
IMPLEMENT_CLASS(TcxRegExprParserBlockItem)
IMPLEMENT_CLASS(TcxRegExprParserAlt)
IMPLEMENT_CLASS(TcxRegExprParserAlts)
IMPLEMENT_CLASS(TcxRegExprAutomat)

namespace {
const wchar_t* const CRLF = L"\r\n";

Char UpperChar(Char C) {
  CharUpperBuffW(&C, 1);
  return C;
}
}  // namespace

// ---------------------------------------------------------------------------
// Errors

TcxRegExprError* TcxRegExprError::Clone() const {
  return new TcxRegExprError(FLine, FChar, FMessage);
}

String TcxRegExprError::FullMessage() const {
  String S;
  if (FLine > 0) {
    S = cxGetResourceString(&scxRegExprLine) + IntToStr(FLine);
    if (FChar > 0) S += L", " + cxGetResourceString(&scxRegExprChar) + IntToStr(FChar);
    S += L": ";
  }
  return S + FMessage;
}

void TcxRegExprErrors::Add(TcxRegExprError* AError) { FItems.emplace_back(AError); }

TcxRegExprErrors* TcxRegExprErrors::Clone() const {
  TcxRegExprErrors* R = new TcxRegExprErrors;
  for (const auto& E : FItems) R->Add(E->Clone());
  return R;
}

EcxRegExprError::EcxRegExprError(const TcxRegExprErrors& AErrors)
    : EcxEditError(String()), FErrors(AErrors.Clone()) {}

EcxRegExprError::EcxRegExprError(const EcxRegExprError& E)
    : EcxEditError(E), FErrors(E.FErrors->Clone()) {}

EcxRegExprError& EcxRegExprError::operator=(const EcxRegExprError& E) {
  if (this != &E) {
    EcxEditError::operator=(E);
    FErrors.reset(E.FErrors->Clone());
  }
  return *this;
}

void EcxRegExprError::RaiseNew(const String& AMessage) const {
  EcxRegExprError E(*this);
  E.SetMessage(AMessage);
  throw E;
}

// ---------------------------------------------------------------------------
// Character tests

bool TcxRegExprSymbol::Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) {
  if (AToken == FValue) return true;
  if (ACaseInsensitive && UpperChar(AToken) == UpperChar(FValue)) {
    if (ACanChangeCase) AToken = FValue;
    return true;
  }
  return false;
}

bool TcxRegExprSymbol::GetSymbol(Char& AChar) const {
  AChar = FValue;
  return true;
}

Char TcxRegExprTimeSeparator::Value() { return FormatSettings().TimeSeparator; }

bool TcxRegExprTimeSeparator::Check(Char& AToken, bool, bool) { return AToken == Value(); }

bool TcxRegExprTimeSeparator::GetSymbol(Char& AChar) const {
  AChar = Value();
  return true;
}

Char TcxRegExprDateSeparator::Value() { return FormatSettings().DateSeparator; }

bool TcxRegExprDateSeparator::Check(Char& AToken, bool, bool) { return AToken == Value(); }

bool TcxRegExprDateSeparator::GetSymbol(Char& AChar) const {
  AChar = Value();
  return true;
}

bool TcxRegExprSubrange::Check(Char& AToken, bool, bool) {
  return AToken >= FStartValue && AToken <= FFinishValue;
}

bool TcxRegExprUserEnumeration::Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) {
  for (auto& Item : FItems)
    if (Item->Check(AToken, false, ACanChangeCase)) return !FInverse;
  if (ACaseInsensitive)
    for (auto& Item : FItems)
      if (Item->Check(AToken, true, ACanChangeCase)) return !FInverse;
  return FInverse;
}

// An inverted set under case-insensitive matching refuses a character that one
// of its members matches in the other case: «[^a]» refuses "A".
bool TcxRegExprUserEnumeration::CheckExact(Char& AToken, bool ACaseInsensitive) {
  if (!FInverse || !ACaseInsensitive) return Check(AToken, false, false);
  Char Token = AToken;
  return Check(Token, true, false);
}

TcxRegExprItem* TcxRegExprUserEnumeration::Clone() const {
  auto* R = new TcxRegExprUserEnumeration(FInverse);
  for (const auto& Item : FItems) R->Add(Item->Clone());
  return R;
}

bool TcxRegExprDigit::Check(Char& AToken, bool, bool) {
  return (AToken >= L'0' && AToken <= L'9') != FInverse;
}

bool TcxRegExprIdLetter::Check(Char& AToken, bool, bool) {
  bool R = (AToken >= L'a' && AToken <= L'z') || (AToken >= L'A' && AToken <= L'Z') ||
           (AToken >= L'0' && AToken <= L'9') || AToken == L'_';
  return R != FInverse;
}

bool TcxRegExprSpace::Check(Char& AToken, bool, bool) {
  bool R =
      AToken == 0 || AToken == 9 || AToken == 10 || AToken == 12 || AToken == 13 || AToken == 32;
  return R != FInverse;
}

// ---------------------------------------------------------------------------
// States

TcxRegExprSimpleState* TcxRegExprSimpleState::Clone() const {
  return new TcxRegExprSimpleState(FValue ? FValue->Clone() : nullptr);
}

void TcxRegExprStates::Add(TcxRegExprSimpleState* AState) {
  if (std::find(FItems.begin(), FItems.end(), AState) == FItems.end()) FItems.push_back(AState);
}

bool TcxRegExprStates::IsFinal() const {
  for (TcxRegExprSimpleState* S : FItems)
    if (S->IsFinal()) return true;
  return false;
}

bool TcxRegExprStates::Equ(Char& ASymbol) const {
  if (FItems.empty()) return false;
  Char First = 0;
  for (size_t I = 0; I < FItems.size(); ++I) {
    Char C;
    TcxRegExprItem* Value = FItems[I]->Value();
    if (!Value || !Value->GetSymbol(C)) return false;
    if (I == 0)
      First = C;
    else if (C != First)
      return false;
  }
  ASymbol = First;
  return true;
}

// ---------------------------------------------------------------------------
// Parse tree

TcxRegExprParserItem::TcxRegExprParserItem(TcxRegExprQuantifier* AQuantifier)
    : FQuantifier(AQuantifier ? AQuantifier : new TcxRegExprSimpleQuantifier) {}

bool TcxRegExprParserItem::NotQuantifier() const {
  return FQuantifier->InheritsFrom(TcxRegExprSimpleQuantifier::StaticClass());
}

void TcxRegExprParserItem::SetQuantifier(TcxRegExprQuantifier* AQuantifier) {
  if (AQuantifier) FQuantifier.reset(AQuantifier);
}

TcxRegExprParserSimpleItem::TcxRegExprParserSimpleItem(TcxRegExprItem* AValue,
                                                       TcxRegExprQuantifier* AQuantifier)
    : TcxRegExprParserItem(AQuantifier), FState(new TcxRegExprSimpleState(AValue)) {}

TcxRegExprParserItem* TcxRegExprParserSimpleItem::Clone() const {
  auto* R = new TcxRegExprParserSimpleItem(nullptr, FQuantifier->Clone());
  R->FState.reset(FState->Clone());
  return R;
}

String TcxRegExprParserSimpleItem::Print() const {
  return L"item --> " + FQuantifier->Print() + CRLF;
}

TcxRegExprParserBlockItem::TcxRegExprParserBlockItem(TcxRegExprQuantifier* AQuantifier)
    : TcxRegExprParserItem(AQuantifier),
      FAlts(new TcxRegExprParserAlts),
      FStartState(new TcxRegExprBlockState),
      FFinishState(new TcxRegExprBlockState) {}

TcxRegExprParserBlockItem::~TcxRegExprParserBlockItem() = default;

bool TcxRegExprParserBlockItem::CanEmpty() const { return CanMissing() || FAlts->CanEmpty(); }

TcxRegExprParserItem* TcxRegExprParserBlockItem::Clone() const {
  auto* R = new TcxRegExprParserBlockItem(FQuantifier->Clone());
  R->FAlts.reset(FAlts->Clone());
  return R;
}

String TcxRegExprParserBlockItem::Print() const {
  return String(L"<Start_Block>") + CRLF + FAlts->Print() + L"<Finish_Block> --> " +
         FQuantifier->Print() + CRLF;
}

void TcxRegExprParserBlockItem::SetFinal() { FAlts->CreateFinalStates(); }

Integer TcxRegExprParserBlockItem::ItemCount() const { return 1 + FAlts->ItemCount(); }

Integer TcxRegExprParserBlockItem::Depth() const { return 1 + FAlts->Depth(); }

TcxRegExprParserAlt* TcxRegExprParserBlockItem::AddAlt() { return FAlts->AddAlt(); }

void TcxRegExprParserBlockItem::AddAlts(TcxRegExprParserAlts* AAlts) {
  FAlts->TakeAlts(AAlts);
  delete AAlts;
}

void TcxRegExprParserBlockItem::CreateConnections() {
  if (CanRepeat()) FFinishState->Add(FStartState.get());
  FAlts->GetStartConnections(FStartState.get());
  if (FAlts->ThereIsEmptyAlt()) FStartState->Add(FFinishState.get());
  FAlts->CreateConnections(FFinishState.get());
}

bool TcxRegExprParserAlt::CanEmpty() const {
  for (const auto& Item : FItems)
    if (!Item->CanEmpty()) return false;
  return true;
}

bool TcxRegExprParserAlt::CanMissing() const {
  for (const auto& Item : FItems)
    if (!Item->CanMissing()) return false;
  return true;
}

TcxRegExprParserAlt* TcxRegExprParserAlt::Clone() const {
  auto* R = new TcxRegExprParserAlt;
  for (const auto& Item : FItems) R->Add(Item->Clone());
  return R;
}

void TcxRegExprParserAlt::CreateSkipStates() {
  if (FSkips.size() == FItems.size()) return;
  FSkips.clear();
  for (size_t I = 0; I < FItems.size(); ++I) FSkips.emplace_back(new TcxRegExprBlockState);
  for (size_t I = 0; I < FItems.size(); ++I) {
    FSkips[I]->Add(FItems[I]->EntryState());
    if (I + 1 < FItems.size() && FItems[I]->CanMissing()) FSkips[I]->Add(FSkips[I + 1].get());
  }
}

TcxRegExprState* TcxRegExprParserAlt::GetStartConnections() {
  CreateSkipStates();
  return FSkips.empty() ? nullptr : FSkips.front().get();
}

void TcxRegExprParserAlt::CreateConnections(TcxRegExprState* AFinishState) {
  CreateSkipStates();
  for (size_t I = 0; I < FItems.size(); ++I) {
    TcxRegExprParserItem* Item = FItems[I].get();
    if (I + 1 < FItems.size()) Item->ExitState()->Add(FSkips[I + 1].get());
    if (auto* Block = dynamic_cast<TcxRegExprParserBlockItem*>(Item))
      Block->CreateConnections();
    else if (Item->CanRepeat())
      Item->EntryState()->Add(Item->EntryState());
  }
  if (AFinishState)
    for (size_t I = FItems.size(); I-- > 0;) {
      FItems[I]->ExitState()->Add(AFinishState);
      if (!FItems[I]->CanMissing()) break;
    }
}

// An item that can match the empty text does not end the run of final items:
// «a(b?)» is complete after "a" just as «ab?» is.
void TcxRegExprParserAlt::CreateFinalStates() {
  for (size_t I = FItems.size(); I-- > 0;) {
    FItems[I]->SetFinal();
    if (!FItems[I]->CanEmpty()) break;
  }
}

String TcxRegExprParserAlt::Print() const {
  String S = String(L"<Start_Alt>") + CRLF;
  for (const auto& Item : FItems) S += Item->Print();
  return S + L"<Finish_Alt>" + CRLF;
}

void TcxRegExprParserAlt::SetLastItem(TcxRegExprParserItem* AValue) { FItems.back().reset(AValue); }

TcxRegExprParserItem* TcxRegExprParserAlt::ReplaceLastItem(TcxRegExprParserItem* AValue) {
  TcxRegExprParserItem* Old = FItems.back().release();
  FItems.back().reset(AValue);
  return Old;
}

Integer TcxRegExprParserAlt::ItemCount() const {
  Integer N = 0;
  for (const auto& Item : FItems) N += Item->ItemCount();
  return N;
}

Integer TcxRegExprParserAlt::Depth() const {
  Integer D = 0;
  for (const auto& Item : FItems) D = std::max(D, Item->Depth());
  return D;
}

TcxRegExprParserAlt* TcxRegExprParserAlts::AddAlt() {
  FAlts.emplace_back(new TcxRegExprParserAlt);
  return FAlts.back().get();
}

bool TcxRegExprParserAlts::CanEmpty() const {
  for (const auto& Alt : FAlts)
    if (Alt->CanEmpty()) return true;
  return false;
}

void TcxRegExprParserAlts::CreateConnections(TcxRegExprState* AFinishState) {
  for (auto& Alt : FAlts) Alt->CreateConnections(AFinishState);
}

void TcxRegExprParserAlts::CreateFinalStates() {
  for (auto& Alt : FAlts) Alt->CreateFinalStates();
}

TcxRegExprParserAlts* TcxRegExprParserAlts::Clone() const {
  auto* R = new TcxRegExprParserAlts;
  for (const auto& Alt : FAlts) R->Add(Alt->Clone());
  return R;
}

void TcxRegExprParserAlts::GetStartConnections(TcxRegExprState* AState) {
  for (auto& Alt : FAlts)
    if (TcxRegExprState* S = Alt->GetStartConnections()) AState->Add(S);
}

void TcxRegExprParserAlts::SetFinishConnections(TcxRegExprState* AFinishState) {
  CreateConnections(AFinishState);
}

// The empty text is complete when some alternative can match it.
bool TcxRegExprParserAlts::StartStateIsFinal() const { return CanEmpty(); }

bool TcxRegExprParserAlts::ThereIsEmptyAlt() const {
  for (const auto& Alt : FAlts)
    if (Alt->CanMissing()) return true;
  return false;
}

String TcxRegExprParserAlts::Print() const {
  String S;
  for (const auto& Alt : FAlts) S += Alt->Print();
  return S;
}

void TcxRegExprParserAlts::TakeAlts(TcxRegExprParserAlts* AAlts) {
  for (auto& Alt : AAlts->FAlts) FAlts.push_back(std::move(Alt));
  AAlts->FAlts.clear();
}

Integer TcxRegExprParserAlts::ItemCount() const {
  Integer N = 0;
  for (const auto& Alt : FAlts) N += Alt->ItemCount();
  return N;
}

Integer TcxRegExprParserAlts::Depth() const {
  Integer D = 0;
  for (const auto& Alt : FAlts) D = std::max(D, Alt->Depth());
  return D;
}

// ---------------------------------------------------------------------------
// Automaton

TcxRegExprAutomat::TcxRegExprAutomat(TcxRegExprParserAlts* AExpr, TcxRegExpr* AOwner)
    : FOwner(AOwner), FExpr(AExpr), FStartState(new TcxRegExprSimpleState(nullptr)) {
  FExpr->GetStartConnections(FStartState.get());
  if (FExpr->StartStateIsFinal()) FStartState->SetFinal();
  FCurrentStates.FItems.push_back(FStartState.get());
}

TcxRegExprAutomat::~TcxRegExprAutomat() = default;

// Calls AVisit for every simple state that follows AFrom, looking through the
// other states, in the order of the edges (depth first). Every state is
// reached at most once per walk (FMark), which also ends the cycles that block
// states can form. No recursion: deep chains of block states cannot exhaust
// the stack.
template <class TVisit>
void TcxRegExprAutomat::Walk(TcxRegExprState* AFrom, TVisit AVisit) {
  const auto& Next = AFrom->FStates;
  for (size_t I = Next.size(); I-- > 0;) FStack.push_back(Next[I]);
  while (!FStack.empty()) {
    TcxRegExprState* S = FStack.back();
    FStack.pop_back();
    if (S->FMark == FMark) continue;
    S->FMark = FMark;
    if (TcxRegExprSimpleState* Simple = S->AsSimple()) {
      AVisit(Simple);
      continue;
    }
    for (size_t I = S->FStates.size(); I-- > 0;) FStack.push_back(S->FStates[I]);
  }
}

// Exact matches are collected first, then, when case-insensitive, the
// matches in the other case. The character's case may be adjusted only by
// the first match of the call, so later tests see the adjusted character.
bool TcxRegExprAutomat::Next(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) {
  auto& R = FNext.FItems;
  R.clear();
  const Cardinal SetMark = ++FSetMark;
  ++FMark;
  for (TcxRegExprSimpleState* S : FCurrentStates.FItems)
    Walk(S, [&](TcxRegExprSimpleState* N) {
      if (N->FValue && N->FValue->CheckExact(AToken, ACaseInsensitive)) {
        N->FSetMark = SetMark;
        R.push_back(N);
      }
    });
  if (ACaseInsensitive) {
    ++FMark;
    for (TcxRegExprSimpleState* S : FCurrentStates.FItems)
      Walk(S, [&](TcxRegExprSimpleState* N) {
        if (N->FSetMark == SetMark || !N->FValue) return;
        if (N->FValue->Check(AToken, true, ACanChangeCase && R.empty())) {
          N->FSetMark = SetMark;
          R.push_back(N);
        }
      });
  }
  if (R.empty()) return false;
  Advance();
  return true;
}

void TcxRegExprAutomat::Advance() {
  Push();
  std::swap(FCurrentStates.FItems, FNext.FItems);
}

bool TcxRegExprAutomat::Prev() { return Pop(); }

void TcxRegExprAutomat::Push() {
  FHistory.push_back(FHistoryItems.size());
  FHistoryItems.insert(FHistoryItems.end(), FCurrentStates.FItems.begin(),
                       FCurrentStates.FItems.end());
}

bool TcxRegExprAutomat::Pop() {
  if (FHistory.empty()) return false;
  const auto Start = FHistoryItems.begin() + static_cast<std::ptrdiff_t>(FHistory.back());
  FCurrentStates.FItems.assign(Start, FHistoryItems.end());
  FHistoryItems.erase(Start, FHistoryItems.end());
  FHistory.pop_back();
  return true;
}

void TcxRegExprAutomat::Reset() {
  FHistory.clear();
  FHistoryItems.clear();
  FCurrentStates.FItems.clear();
  FCurrentStates.FItems.push_back(FStartState.get());
}

bool TcxRegExprAutomat::IsStart() const {
  return !FCurrentStates.FItems.empty() && FCurrentStates.FItems.front() == FStartState.get();
}

void TcxRegExprAutomat::AllNextStates(TStateIterator ABegin, TStateIterator AEnd,
                                      TcxRegExprStates& AResult) {
  ++FMark;
  for (auto It = ABegin; It != AEnd; ++It)
    Walk(*It, [&](TcxRegExprSimpleState* N) { AResult.FItems.push_back(N); });
}

TcxRegExprStates TcxRegExprAutomat::GetAllNextStates() {
  TcxRegExprStates R;
  AllNextStates(FCurrentStates.FItems.begin(), FCurrentStates.FItems.end(), R);
  return R;
}

// Adds the characters that must follow, until the text could end or there is
// a choice.
void TcxRegExprAutomat::Update() {
  while (!FCurrentStates.IsFinal()) {
    FNext.FItems.clear();
    AllNextStates(FCurrentStates.FItems.begin(), FCurrentStates.FItems.end(), FNext);
    Char Symbol;
    if (!FNext.Equ(Symbol)) return;
    FOwner->SymbolUpdate(Symbol);
    Advance();
  }
}

// Takes back the characters that Update inserted. A character at a position
// that the previous set did not force, or that followed a final set, counts
// as typed and stays.
void TcxRegExprAutomat::ReUpdate() {
  Char Symbol;
  while (FCurrentStates.Equ(Symbol)) {
    if (FHistory.empty()) return;
    const auto Begin = FHistoryItems.cbegin() + static_cast<std::ptrdiff_t>(FHistory.back());
    const auto End = FHistoryItems.cend();
    FNext.FItems.clear();
    AllNextStates(Begin, End, FNext);
    bool PreviousFinal = false;
    for (auto It = Begin; It != End; ++It) PreviousFinal = PreviousFinal || (*It)->IsFinal();
    if (!FNext.Equ(Symbol) || PreviousFinal) return;
    FOwner->SymbolDelete();
    Pop();
  }
}

String TcxRegExprAutomat::Print() const { return FExpr->Print(); }
