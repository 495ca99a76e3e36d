#include "miLexer.h"

#include <charconv>

void RaiseMapBasicError(const String& AMessage) { throw EMapBasicError(AMessage); }

namespace {

bool IsIdentStart(wchar_t C) { return IsCharAlphaW(C) || C == L'_'; }
bool IsIdentChar(wchar_t C) {
  return IsCharAlphaNumericW(C) || C == L'_' || C == L'$' || C == L'#';
}
bool IsDigit(wchar_t C) { return C >= L'0' && C <= L'9'; }

// MapBasic numbers always use "." whatever the regional settings say.
size_t ScanNumber(const String& S, size_t I, double& AValue) {
  std::string Ascii;
  size_t J = I;
  while (J < S.size() && (IsDigit(S[J]) || S[J] == L'.')) Ascii += static_cast<char>(S[J++]);
  if (J < S.size() && (S[J] == L'e' || S[J] == L'E')) {
    size_t K = J + 1;
    if (K < S.size() && (S[K] == L'+' || S[K] == L'-')) ++K;
    if (K < S.size() && IsDigit(S[K])) {
      while (J < K) Ascii += static_cast<char>(S[J++]);
      while (J < S.size() && IsDigit(S[J])) Ascii += static_cast<char>(S[J++]);
    }
  }
  auto R = std::from_chars(Ascii.data(), Ascii.data() + Ascii.size(), AValue);
  if (R.ec != std::errc() || R.ptr != Ascii.data() + Ascii.size())
    RaiseMapBasicError(L"Invalid number " + S.substr(I, J - I) + L".");
  return J;
}

}  // namespace

TTokenStream::TTokenStream(const String& AText) {
  const String& S = AText;
  size_t I = 0;
  while (I < S.size()) {
    wchar_t C = S[I];
    if (C == L' ' || C == L'\t' || C == L'\r' || C == L'\n') {
      ++I;
      continue;
    }
    TToken T;
    if (IsIdentStart(C)) {
      size_t J = I;
      while (J < S.size() && IsIdentChar(S[J])) ++J;
      T.Kind = TTokenKind::Ident;
      T.Text = S.substr(I, J - I);
      I = J;
    } else if (IsDigit(C) || (C == L'.' && I + 1 < S.size() && IsDigit(S[I + 1]))) {
      size_t J = ScanNumber(S, I, T.Number);
      T.Kind = TTokenKind::Number;
      T.Text = S.substr(I, J - I);
      I = J;
    } else if (C == L'"') {
      // A doubled quotation mark stands for one inside the text.
      size_t J = I + 1;
      for (;;) {
        if (J >= S.size()) RaiseMapBasicError(L"Unterminated string constant.");
        if (S[J] == L'"') {
          if (J + 1 < S.size() && S[J + 1] == L'"') {
            T.Text += L'"';
            J += 2;
            continue;
          }
          break;
        }
        T.Text += S[J++];
      }
      T.Kind = TTokenKind::Text;
      I = J + 1;
    } else {
      static const wchar_t* const Pairs[] = {L"<=", L">=", L"<>"};
      T.Kind = TTokenKind::Symbol;
      for (const wchar_t* P : Pairs)
        if (S.compare(I, 2, P) == 0) T.Text = P;
      if (T.Text.empty()) {
        if (!wcschr(L"()=<>+-*/,.", C))
          RaiseMapBasicError(String(L"Found [") + C + L"] while searching for a statement.");
        T.Text = String(1, C);
      }
      I += T.Text.size();
    }
    FTokens.push_back(std::move(T));
  }
  FTokens.push_back(TToken{});
}

const TToken& TTokenStream::Peek(size_t AAhead) const {
  size_t I = std::min(FPos + AAhead, FTokens.size() - 1);
  return FTokens[I];
}

TToken TTokenStream::Next() {
  TToken T = Peek();
  if (FPos + 1 < FTokens.size()) ++FPos;
  return T;
}

bool TTokenStream::IsKeyword(const wchar_t* AWord, size_t AAhead) const {
  const TToken& T = Peek(AAhead);
  return T.Kind == TTokenKind::Ident && SameText(T.Text, AWord);
}

bool TTokenStream::AcceptKeyword(const wchar_t* AWord) {
  if (!IsKeyword(AWord)) return false;
  Next();
  return true;
}

void TTokenStream::ExpectKeyword(const wchar_t* AWord) {
  if (!AcceptKeyword(AWord)) SyntaxError(AWord);
}

bool TTokenStream::IsSymbol(const wchar_t* ASymbol, size_t AAhead) const {
  const TToken& T = Peek(AAhead);
  return T.Kind == TTokenKind::Symbol && T.Text == ASymbol;
}

bool TTokenStream::AcceptSymbol(const wchar_t* ASymbol) {
  if (!IsSymbol(ASymbol)) return false;
  Next();
  return true;
}

void TTokenStream::ExpectSymbol(const wchar_t* ASymbol) {
  if (!AcceptSymbol(ASymbol)) SyntaxError(ASymbol);
}

bool TTokenStream::IsNumber() const {
  if (Peek().Kind == TTokenKind::Number) return true;
  return (IsSymbol(L"-") || IsSymbol(L"+")) && Peek(1).Kind == TTokenKind::Number;
}

double TTokenStream::ExpectNumber(const wchar_t* AWhat) {
  double Sign = 1;
  if (IsNumber() && Peek().Kind == TTokenKind::Symbol) {
    if (Next().Text == L"-") Sign = -1;
  }
  if (Peek().Kind != TTokenKind::Number) SyntaxError(AWhat);
  return Sign * Next().Number;
}

String TTokenStream::ExpectText(const wchar_t* AWhat) {
  if (Peek().Kind != TTokenKind::Text) SyntaxError(AWhat);
  return Next().Text;
}

String TTokenStream::ExpectIdent(const wchar_t* AWhat) {
  if (Peek().Kind != TTokenKind::Ident) SyntaxError(AWhat);
  return Next().Text;
}

void TTokenStream::ExpectEnd() {
  if (!AtEnd()) SyntaxError(L"end of statement");
}

void TTokenStream::SyntaxError(const String& AExpected) const {
  const TToken& T = Peek();
  String Found;
  switch (T.Kind) {
    case TTokenKind::End:
      Found = L"end of statement";
      break;
    case TTokenKind::Text:
      Found = L"\"" + T.Text + L"\"";
      break;
    default:
      Found = T.Text;
  }
  RaiseMapBasicError(L"Found [" + Found + L"] while searching for [" + AExpected + L"].");
}
