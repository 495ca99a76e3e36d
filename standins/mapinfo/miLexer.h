// Tokens of the MapBasic statements and expressions the server accepts, and
// the exception every failing statement raises.
#pragma once

#include <algorithm>
#include <vector>

#include "SysUtils.h"

// The server's own error: its message is what an automation client sees.
DECLARE_EXCEPTION(EMapBasicError, Exception)

[[noreturn]] void RaiseMapBasicError(const String& AMessage);

enum class TTokenKind { End, Ident, Number, Text, Symbol };

struct TToken {
  TTokenKind Kind = TTokenKind::End;
  String Text;  // identifier, string contents, symbol, or the number as written
  double Number = 0;
};

class TTokenStream {
 public:
  explicit TTokenStream(const String& AText);

  const TToken& Peek(size_t AAhead = 0) const;
  TToken Next();
  bool AtEnd() const { return Peek().Kind == TTokenKind::End; }
  // Where the stream stands, to read the same tokens again from there.
  size_t Position() const { return FPos; }
  void Rewind(size_t APosition) { FPos = std::min(APosition, FTokens.size() - 1); }

  // Keywords compare without regard to letter case.
  bool IsKeyword(const wchar_t* AWord, size_t AAhead = 0) const;
  bool AcceptKeyword(const wchar_t* AWord);
  void ExpectKeyword(const wchar_t* AWord);
  bool IsSymbol(const wchar_t* ASymbol, size_t AAhead = 0) const;
  bool AcceptSymbol(const wchar_t* ASymbol);
  void ExpectSymbol(const wchar_t* ASymbol);
  // A number with an optional leading sign.
  bool IsNumber() const;
  double ExpectNumber(const wchar_t* AWhat);
  String ExpectText(const wchar_t* AWhat);
  String ExpectIdent(const wchar_t* AWhat);
  void ExpectEnd();

  [[noreturn]] void SyntaxError(const String& AExpected) const;

 private:
  std::vector<TToken> FTokens;
  size_t FPos = 0;
};
