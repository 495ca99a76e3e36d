#include "cxStandardMask.h"

#include "WinCompat.h"
#include "dxCore.h"

IMPLEMENT_CLASS(TcxStandardMaskCustomItem)
IMPLEMENT_CLASS(TcxStandardMaskLiteralItem)
IMPLEMENT_CLASS(TcxStandardMaskManyItem)
IMPLEMENT_CLASS(TcxStandardMaskAlphaItem)
IMPLEMENT_CLASS(TcxStandardMaskAlphaNumericItem)
IMPLEMENT_CLASS(TcxStandardMaskASCIIItem)
IMPLEMENT_CLASS(TcxStandardMaskNumericItem)
IMPLEMENT_CLASS(TcxStandardMaskNumericSymbolItem)
IMPLEMENT_CLASS(TcxStandardMask)

// The case control applies whether or not the test passed.
bool TcxStandardMaskManyItem::Check(Char& AChar) {
  bool Result = DoCheck(AChar);
  DoCaseControl(AChar);
  return Result;
}

void TcxStandardMaskManyItem::DoCaseControl(Char& AChar) const {
  if (FCaseControl == ccUpperCase)
    CharUpperBuffW(&AChar, 1);
  else if (FCaseControl == ccLowerCase)
    CharLowerBuffW(&AChar, 1);
}

bool TcxStandardMaskAlphaItem::DoCheck(Char AChar) const { return dxCharIsAlpha(AChar); }

bool TcxStandardMaskAlphaNumericItem::DoCheck(Char AChar) const {
  return dxCharIsNumeric(AChar) || dxCharIsAlpha(AChar);
}

// ---------------------------------------------------------------------------

void TcxStandardMask::Clear() {
  FMask.clear();
  FItems.clear();
  FLeading = false;
  FSaveLiteralCharacters = true;
  FBlank = cxDefaultBlank;
}

bool TcxStandardMask::IsLiteral(size_t AIndex) const {
  return dynamic_cast<TcxStandardMaskLiteralItem*>(FItems[AIndex].get()) != nullptr;
}

void TcxStandardMask::Compile(const String& AMask) {
  Clear();
  FMask = AMask;
  String S = AMask;
  if (!S.empty() && S[0] == L'!') {
    FLeading = true;
    S.erase(0, 1);
  }
  const size_t N = S.size();
  auto IsFlag = [](Char C) { return C == L'0' || C == L'1'; };
  if (N >= 4 && S[N - 4] == L';' && IsFlag(S[N - 3]) && S[N - 2] == L';') {
    FSaveLiteralCharacters = S[N - 3] == L'1';
    FBlank = S[N - 1];
    S.resize(N - 4);
  } else if (N >= 2 && S[N - 2] == L';' && IsFlag(S[N - 1])) {
    FSaveLiteralCharacters = S[N - 1] == L'1';
    S.resize(N - 2);
  }
  TcxCaseControl CaseControl = ccUserCase;
  for (size_t I = 0; I < S.size(); ++I) {
    const Char C = S[I];
    TcxStandardMaskCustomItem* Item = nullptr;
    switch (C) {
      case L'L':
      case L'l':
        Item = new TcxStandardMaskAlphaItem(CaseControl, C == L'l');
        break;
      case L'A':
      case L'a':
        Item = new TcxStandardMaskAlphaNumericItem(CaseControl, C == L'a');
        break;
      case L'C':
      case L'c':
        Item = new TcxStandardMaskASCIIItem(CaseControl, C == L'c');
        break;
      case L'0':
      case L'9':
        Item = new TcxStandardMaskNumericItem(CaseControl, C == L'9');
        break;
      case L'#':
        Item = new TcxStandardMaskNumericSymbolItem(CaseControl);
        break;
      case L'>':
        CaseControl = ccUpperCase;
        break;
      case L'<':
        if (I + 1 < S.size() && S[I + 1] == L'>') {
          CaseControl = ccUserCase;
          ++I;
        } else {
          CaseControl = ccLowerCase;
        }
        break;
      case L'\\':
        if (I + 1 < S.size()) Item = new TcxStandardMaskLiteralItem(S[++I]);
        break;
      case L'/':
        Item = new TcxStandardMaskLiteralItem(FormatSettings().DateSeparator);
        break;
      case L':':
        Item = new TcxStandardMaskLiteralItem(FormatSettings().TimeSeparator);
        break;
      default:
        Item = new TcxStandardMaskLiteralItem(C);
        break;
    }
    if (Item) FItems.emplace_back(Item);
  }
}

String TcxStandardMask::GetFullEmptyString() const {
  String S;
  for (size_t I = 0; I < FItems.size(); ++I)
    S += IsLiteral(I) ? static_cast<TcxStandardMaskLiteralItem*>(FItems[I].get())->Literal()
                      : FBlank;
  return S;
}

String TcxStandardMask::GetEmptyString() const {
  String S;
  for (size_t I = 0; I < FItems.size(); ++I)
    if (!IsLiteral(I))
      S += L' ';
    else if (FSaveLiteralCharacters)
      S += static_cast<TcxStandardMaskLiteralItem*>(FItems[I].get())->Literal();
  return S;
}

void TcxStandardMask::Format(String& AText, bool AChangeCharCase, bool AMatchForBlanksAndLiterals) {
  String S = GetFullEmptyString();
  const Integer Count = static_cast<Integer>(FItems.size());
  const Integer Length = static_cast<Integer>(AText.size());
  // A text of another length came without its literals.
  const bool SkipLiterals =
      !FSaveLiteralCharacters && !AMatchForBlanksAndLiterals && AText.size() != S.size();
  const Integer Step = FLeading ? -1 : 1;
  Integer Item = FLeading ? Count - 1 : 0;
  for (Integer T = FLeading ? Length - 1 : 0; T >= 0 && T < Length; T += Step) {
    const Char C = AText[static_cast<size_t>(T)];
    for (Integer J = Item; J >= 0 && J < Count; J += Step) {
      const size_t Index = static_cast<size_t>(J);
      if (SkipLiterals && IsLiteral(Index)) continue;
      Char Converted = C;
      if (FItems[Index]->Check(Converted)) {
        S[Index] = AChangeCharCase ? Converted : C;
        Item = J + Step;
        break;
      }
      if (IsPlaceholder(Index) && IsBlank(C)) {
        Item = J + Step;
        break;
      }
    }
  }
  AText = S;
}

void TcxStandardMask::Format2(String& AText) {
  String R;
  const size_t N = std::min(AText.size(), FItems.size());
  for (size_t I = 0; I < N; ++I) {
    if (IsLiteral(I)) {
      if (FSaveLiteralCharacters) R += AText[I];
    } else {
      R += AText[I] == FBlank ? L' ' : AText[I];
    }
  }
  AText = R;
}

bool TcxStandardMask::IsValid(String& AText) {
  if (AText.size() > FItems.size()) return false;
  for (size_t I = 0; I < AText.size(); ++I) {
    Char C = AText[I];
    if (FItems[I]->Check(C)) {
      AText[I] = C;
      continue;
    }
    if (!(IsPlaceholder(I) && IsBlank(AText[I]))) return false;
  }
  return true;
}

bool TcxStandardMask::IsFullValid(String& AText) {
  if (AText.size() != FItems.size()) return false;
  for (size_t I = 0; I < AText.size(); ++I) {
    Char C = AText[I];
    if (FItems[I]->Check(C)) {
      AText[I] = C;
      continue;
    }
    auto* Many = dynamic_cast<TcxStandardMaskManyItem*>(FItems[I].get());
    if (!(Many && Many->Optional() && IsBlank(AText[I]))) return false;
  }
  return true;
}
