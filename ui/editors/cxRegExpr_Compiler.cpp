// The scanner, the parser and the public face of the regular-expression engine.
#include <climits>

#include "WinCompat.h"
#include "cxEditConsts.h"
#include "cxRegExpr.h"

IMPLEMENT_CLASS(TcxRegExpr)

namespace {
bool IsBlank(Char C) { return C == 0 || C == 9 || C == 10 || C == 12 || C == 13 || C == 32; }

bool IsDigit(Char C) { return C >= L'0' && C <= L'9'; }

Integer HexDigit(Char C) {
  if (C >= L'0' && C <= L'9') return C - L'0';
  if (C >= L'a' && C <= L'f') return C - L'a' + 10;
  if (C >= L'A' && C <= L'F') return C - L'A' + 10;
  return -1;
}

String Res(const TResStringRec& ARec) { return cxGetResourceString(&ARec); }

String ResFmt(const TResStringRec& ARec, const String& AArg) {
  return Format(cxGetResourceString(&ARec), {AArg});
}

// How the quote appears in «Missing ' ' '» and «Illegal ' ' '».
const wchar_t* const QuoteText = L" ' ";
}  // namespace

// ---------------------------------------------------------------------------
// Parser: recursive descent over the lexems. After an error it goes on with
// the next lexem, so one compile reports several errors.

class TcxRegExpr::TParser {
 public:
  explicit TParser(TcxRegExpr& AOwner) : R(AOwner) {}
  // The tree of the expression; nil when an error was recorded.
  TcxRegExprParserAlts* Parse();

 private:
  bool HasLexem() const { return R.FLexemIndex < R.FLexems->Count(); }
  const TcxLexem& Peek() const { return R.FLexems->Item(R.FLexemIndex); }
  const TcxLexem& Read() { return R.FLexems->Item(R.FLexemIndex++); }
  static bool IsSpecial(const TcxLexem& L, Char C) {
    return L.Code == relcSpecial && L.Value[0] == C;
  }
  void Error(const TcxLexem& L, const String& AMessage) { R.AddError(L.Line, L.Char, AMessage); }

  bool ParseAlt(TcxRegExprParserAlt* AAlt, bool ATopLevel, Integer ADepth);
  TcxRegExprParserBlockItem* ParseBlock(const TcxLexem& AOpen, Integer ADepth);
  TcxRegExprParserItem* ParseClass();
  TcxRegExprItem* CreateMemberTest(const TcxLexem& L);
  TcxRegExprParserItem* CreateReference(const TcxLexem& L, Integer ADepth);
  void ApplyQuantifier(TcxRegExprParserAlt* AAlt, const TcxLexem& L, Integer ADepth);
  void ParseParameterQuantifier(TcxRegExprParserAlt* AAlt, bool AHasItem, const TcxLexem& AOpen,
                                Integer ADepth);
  bool ReadCount(const TcxLexem& L, Integer& AValue);
  void SkipQuantifier(const TcxLexem& ALast);
  void SkipBlock();
  void Expand(TcxRegExprParserAlt* AAlt, Integer N, Integer M, bool AInfinite,
              const TcxLexem& AOpen, Integer ADepth);
  bool CheckLimits(const TcxLexem& L, Int64 AAddedItems, Int64 ADepth);
  void Append(TcxRegExprParserAlt* AAlt, TcxRegExprParserItem* AItem) {
    AAlt->Add(AItem);
    ++FItemCount;
  }

  TcxRegExpr& R;
  // Every item created so far, copies included: the measure of the limit.
  Int64 FItemCount = 0;
};

TcxRegExprParserAlts* TcxRegExpr::TParser::Parse() {
  TOwned<TcxRegExprParserAlts> Alts(new TcxRegExprParserAlts);
  TcxRegExprParserAlt* Alt = Alts->AddAlt();
  while (ParseAlt(Alt, true, 0)) Alt = Alts->AddAlt();
  if (R.FErrors->Count() > 0) return nullptr;
  return Alts.release();
}

bool TcxRegExpr::TParser::ParseAlt(TcxRegExprParserAlt* AAlt, bool ATopLevel, Integer ADepth) {
  if (!HasLexem()) {
    R.AddError(0, 0, Res(scxRegExprCantCreateEmptyAlt));
    return false;
  }
  if (IsSpecial(Peek(), L'|')) {
    Error(Read(), Res(scxRegExprCantCreateEmptyAlt));
    return true;
  }
  if (!ATopLevel && IsSpecial(Peek(), L')')) {
    Error(Read(), Res(scxRegExprCantCreateEmptyBlock));
    return false;
  }
  while (HasLexem()) {
    const TcxLexem& L = Read();
    switch (L.Code) {
      case relcSymbol:
        Append(AAlt, new TcxRegExprParserSimpleItem(new TcxRegExprSymbol(L.Value[0])));
        break;
      case relcAll:
        Append(AAlt, new TcxRegExprParserSimpleItem(new TcxRegExprAll));
        break;
      case relcId:
      case relcNotId:
      case relcDigit:
      case relcNotDigit:
      case relcSpace:
      case relcNotSpace:
      case relcDateSeparator:
      case relcTimeSeparator:
        Append(AAlt, new TcxRegExprParserSimpleItem(CreateMemberTest(L)));
        break;
      case relcReference:
        if (TcxRegExprParserItem* Copy = CreateReference(L, ADepth)) Append(AAlt, Copy);
        break;
      case relcInteger:
        Error(L, Res(scxRegExprIllegalIntegerValue));
        break;
      case relcSpecial:
        switch (L.Value[0]) {
          case L'(':
            if (TcxRegExprParserBlockItem* Block = ParseBlock(L, ADepth + 1)) Append(AAlt, Block);
            break;
          case L'[':
            Append(AAlt, ParseClass());
            break;
          case L'*':
          case L'+':
          case L'?':
            if (AAlt->Count() == 0)
              Error(L, ResFmt(scxRegExprIllegalQuantifier, L.Value));
            else
              ApplyQuantifier(AAlt, L, ADepth);
            break;
          case L'{':
            ParseParameterQuantifier(AAlt, AAlt->Count() > 0, L, ADepth);
            break;
          case L')':
            if (!ATopLevel) return false;
            Error(L, ResFmt(scxRegExprIllegalSymbol, L.Value));
            break;
          case L'|':
            return true;
          case L',':
            break;
          default:
            Error(L, ResFmt(scxRegExprIllegalSymbol, L.Value));
            break;
        }
        break;
    }
  }
  return false;
}

TcxRegExprParserBlockItem* TcxRegExpr::TParser::ParseBlock(const TcxLexem& AOpen, Integer ADepth) {
  if (ADepth > cxRegExprMaxNesting) {
    Error(AOpen, Format(Res(scxRegExprTooDeepNesting), {cxRegExprMaxNesting}));
    SkipBlock();
    return nullptr;
  }
  auto* Block = new TcxRegExprParserBlockItem;
  R.FBlocks.push_back(Block);
  TcxRegExprParserAlt* Alt = Block->AddAlt();
  while (ParseAlt(Alt, false, ADepth)) Alt = Block->AddAlt();
  return Block;
}

// Passes over the rest of a block that is nested too deep, without descending.
void TcxRegExpr::TParser::SkipBlock() {
  Integer Level = 1;
  while (HasLexem() && Level > 0) {
    const TcxLexem& L = Read();
    if (IsSpecial(L, L'('))
      ++Level;
    else if (IsSpecial(L, L')'))
      --Level;
  }
}

TcxRegExprItem* TcxRegExpr::TParser::CreateMemberTest(const TcxLexem& L) {
  switch (L.Code) {
    case relcId:
      return new TcxRegExprIdLetter(false);
    case relcNotId:
      return new TcxRegExprIdLetter(true);
    case relcDigit:
      return new TcxRegExprDigit(false);
    case relcNotDigit:
      return new TcxRegExprDigit(true);
    case relcSpace:
      return new TcxRegExprSpace(false);
    case relcNotSpace:
      return new TcxRegExprSpace(true);
    case relcDateSeparator:
      return new TcxRegExprDateSeparator;
    case relcTimeSeparator:
      return new TcxRegExprTimeSeparator;
    case relcAll:
      return new TcxRegExprAll;
    default:
      return new TcxRegExprSymbol(L.Value[0]);
  }
}

TcxRegExprParserItem* TcxRegExpr::TParser::ParseClass() {
  const TcxLexem* L = &Read();
  bool Inverse = IsSpecial(*L, L'^');
  if (Inverse) L = &Read();
  auto* Enum = new TcxRegExprUserEnumeration(Inverse);
  TcxRegExprParserItem* Item = new TcxRegExprParserSimpleItem(Enum);
  if (IsSpecial(*L, L']')) {
    Error(*L, Res(scxRegExprCantCreateEmptyEnum));
    return Item;
  }
  while (!IsSpecial(*L, L']')) {
    if (L->Code == relcSpecial) {
      Error(*L, ResFmt(scxRegExprIllegalSymbol, L->Value));
    } else if (HasLexem() && IsSpecial(Peek(), L'-')) {
      const TcxLexem& Hyphen = Read();
      if (HasLexem() && Peek().Code != relcSpecial) {
        const TcxLexem& Finish = Read();
        if (L->Value[0] < Finish.Value[0])
          Enum->Add(new TcxRegExprSubrange(L->Value[0], Finish.Value[0]));
        else
          Error(Finish, Res(scxRegExprSubrangeOrder));
      } else {
        Error(Hyphen, ResFmt(scxRegExprIllegalSymbol, Hyphen.Value));
      }
    } else {
      Enum->Add(CreateMemberTest(*L));
    }
    if (!HasLexem()) break;
    L = &Read();
  }
  return Item;
}

// A copy of a numbered block as parsed so far. A block that a count replaced
// is still the one the list holds, so the copy is the block as it was before
// the expansion.
TcxRegExprParserItem* TcxRegExpr::TParser::CreateReference(const TcxLexem& L, Integer ADepth) {
  size_t N = static_cast<size_t>(L.Value[0] - L'0');
  if (N > R.FBlocks.size()) {
    Error(L, Res(scxRegExprTooBigReferenceNumber));
    return nullptr;
  }
  TcxRegExprParserBlockItem* Block = R.FBlocks[N - 1];
  if (!CheckLimits(L, Block->ItemCount(), ADepth + Int64(Block->Depth()))) return nullptr;
  TcxRegExprParserItem* Copy = Block->Clone();
  FItemCount += Copy->ItemCount() - 1;
  return Copy;
}

bool TcxRegExpr::TParser::CheckLimits(const TcxLexem& L, Int64 AAddedItems, Int64 ADepth) {
  if (FItemCount + AAddedItems > cxRegExprMaxItems) {
    Error(L, Format(Res(scxRegExprTooLargeExpansion), {cxRegExprMaxItems}));
    return false;
  }
  if (ADepth > cxRegExprMaxNesting) {
    Error(L, Format(Res(scxRegExprTooDeepNesting), {cxRegExprMaxNesting}));
    return false;
  }
  return true;
}

void TcxRegExpr::TParser::ApplyQuantifier(TcxRegExprParserAlt* AAlt, const TcxLexem& L,
                                          Integer ADepth) {
  TcxRegExprParserItem* Current = AAlt->LastItem();
  Char Kind = L.Value[0];
  if (Kind == L'*' && Current->CanEmpty()) {
    Error(L, Res(scxRegExprCantUseStarQuantifier));
    return;
  }
  if (Kind == L'+' && Current->CanEmpty()) {
    Error(L, Res(scxRegExprCantUsePlusQuantifier));
    return;
  }
  auto NewQuantifier = [Kind]() -> TcxRegExprQuantifier* {
    if (Kind == L'*') return new TcxRegExprStarQuantifier;
    if (Kind == L'+') return new TcxRegExprPlusQuantifier;
    return new TcxRegExprQuestionQuantifier;
  };
  if (Current->NotQuantifier()) {
    Current->SetQuantifier(NewQuantifier());
    return;
  }
  // A second quantifier wraps the quantified item in a block that carries it.
  if (!CheckLimits(L, 1, ADepth + 1 + Int64(Current->Depth()))) return;
  auto* Wrapper = new TcxRegExprParserBlockItem(NewQuantifier());
  Wrapper->AddAlt()->Add(AAlt->ReplaceLastItem(Wrapper));
  ++FItemCount;
}

bool TcxRegExpr::TParser::ReadCount(const TcxLexem& L, Integer& AValue) {
  Int64 V = 0;
  for (Char C : L.Value) {
    V = V * 10 + (C - L'0');
    if (V > INT_MAX) {
      Error(L, Res(scxRegExprIllegalIntegerValue));
      return false;
    }
  }
  AValue = static_cast<Integer>(V);
  return true;
}

// After a malformed count, passes over the rest of it up to its "}".
void TcxRegExpr::TParser::SkipQuantifier(const TcxLexem& ALast) {
  if (IsSpecial(ALast, L'}')) return;
  while (HasLexem())
    if (IsSpecial(Read(), L'}')) return;
}

void TcxRegExpr::TParser::ParseParameterQuantifier(TcxRegExprParserAlt* AAlt, bool AHasItem,
                                                   const TcxLexem& AOpen, Integer ADepth) {
  const String Incorrect = Res(scxRegExprIncorrectParameterQuantifier);
  if (!AHasItem) {
    Error(AOpen, Incorrect);
    SkipQuantifier(AOpen);
    return;
  }
  Integer N = 0, M = 0;
  bool Infinite = false;
  if (!HasLexem()) return;
  const TcxLexem& First = Read();
  if (First.Code != relcInteger) {
    Error(First, Incorrect);
    return SkipQuantifier(First);
  }
  if (!ReadCount(First, N)) return SkipQuantifier(First);
  if (!HasLexem()) return;
  const TcxLexem& Second = Read();
  if (IsSpecial(Second, L'}')) {
    M = N;
  } else if (IsSpecial(Second, L',')) {
    if (!HasLexem()) return;
    const TcxLexem& Third = Read();
    if (IsSpecial(Third, L'}')) {
      Infinite = true;
    } else if (Third.Code == relcInteger) {
      if (!ReadCount(Third, M)) return SkipQuantifier(Third);
      if (M < N) {
        Error(Third, Incorrect);
        return SkipQuantifier(Third);
      }
      if (!HasLexem()) return;
      const TcxLexem& Close = Read();
      if (!IsSpecial(Close, L'}')) {
        Error(Close, Incorrect);
        return SkipQuantifier(Close);
      }
    } else {
      Error(Third, Incorrect);
      return SkipQuantifier(Third);
    }
  } else {
    Error(Second, Incorrect);
    return SkipQuantifier(Second);
  }
  if (AAlt->LastItem()->CanMissing()) {
    Error(AOpen, Res(scxRegExprCantUseParameterQuantifier));
    return;
  }
  Expand(AAlt, N, M, Infinite, AOpen, ADepth);
}

// X{n} is n copies of X in a new block; X{n,} adds a copy of X with "*";
// X{n,m} adds m-n optional copies as a nested chain; n = 0 makes the new
// block optional.
void TcxRegExpr::TParser::Expand(TcxRegExprParserAlt* AAlt, Integer N, Integer M, bool AInfinite,
                                 const TcxLexem& AOpen, Integer ADepth) {
  TcxRegExprParserItem* X = AAlt->LastItem();
  const Int64 Optional = M > N ? Int64(M) - N : 0;
  // A quantified X cannot simply trade its quantifier for "?" in the last
  // link («a+{0,1}» is «(a+)?», not «a?»): it is wrapped instead.
  const bool WrapLast = Optional > 0 && !X->NotQuantifier();
  const Int64 Copies = N + (AInfinite ? 1 : 0) + Optional;
  const Int64 ChainBlocks = Optional > 0 ? Optional - 1 + (WrapLast ? 1 : 0) : 0;
  const Int64 Added = 1 + Copies * X->ItemCount() + ChainBlocks;
  if (!CheckLimits(AOpen, Added, ADepth + 1 + ChainBlocks + X->Depth())) return;

  auto* Block = new TcxRegExprParserBlockItem;
  TcxRegExprParserAlt* Alt = Block->AddAlt();
  for (Integer I = 0; I < N; ++I) Alt->Add(X->Clone());
  if (AInfinite) {
    TcxRegExprParserItem* Copy = X->Clone();
    Copy->SetQuantifier(new TcxRegExprStarQuantifier);
    Alt->Add(Copy);
  }
  if (Optional > 0) {
    TcxRegExprParserItem* Link = X->Clone();
    if (WrapLast) {
      auto* Wrapper = new TcxRegExprParserBlockItem(new TcxRegExprQuestionQuantifier);
      Wrapper->AddAlt()->Add(Link);
      Link = Wrapper;
    } else {
      Link->SetQuantifier(new TcxRegExprQuestionQuantifier);
    }
    for (Int64 I = 1; I < Optional; ++I) {
      auto* Outer = new TcxRegExprParserBlockItem(new TcxRegExprQuestionQuantifier);
      TcxRegExprParserAlt* LinkAlt = Outer->AddAlt();
      LinkAlt->Add(X->Clone());
      LinkAlt->Add(Link);
      Link = Outer;
    }
    Alt->Add(Link);
  }
  if (N == 0) Block->SetQuantifier(new TcxRegExprQuestionQuantifier);
  R.FRetiredItems.emplace_back(AAlt->ReplaceLastItem(Block));
  FItemCount += Added;
}

// ---------------------------------------------------------------------------
// Scanner

Char TcxRegExpr::ReadChar() {
  Char C = FText[static_cast<size_t>(FIndex++)];
  if (C == 13)
    ++FLine;
  else if (C == 10)
    FChar = 0;
  else
    ++FChar;
  return C;
}

void TcxRegExpr::AddLexem(TcxRegExprLexemCode ACode, const String& AValue, Integer ALine,
                          Integer AChar) {
  TcxLexem L;
  L.Code = ACode;
  L.Value = AValue;
  L.Line = ALine;
  L.Char = AChar;
  FLexems->Add(L);
}

// A separator or a literal, the same outside and inside classes.
void TcxRegExpr::AddCharLexem(Char C, Integer ALine, Integer AChar) {
  const TcxRegExprLexemCode Code = C == L'/'   ? relcDateSeparator
                                   : C == L':' ? relcTimeSeparator
                                               : relcSymbol;
  AddLexem(Code, String(1, C), ALine, AChar);
}

void TcxRegExpr::AddMissingError(const String& AWhat) {
  AddError(FLine, FChar + 1, ResFmt(scxRegExprMissing, AWhat));
}

void TcxRegExpr::Scan() {
  Integer Open = 0;
  while (!Eof()) {
    Char C = ReadChar();
    if (IsBlank(C)) continue;
    const Integer Line = FLine, Col = FChar;
    const String V(1, C);
    switch (C) {
      case L'(':
        ++Open;
        AddLexem(relcSpecial, V, Line, Col);
        break;
      case L')':
        --Open;
        AddLexem(relcSpecial, V, Line, Col);
        break;
      case L'*':
      case L'+':
      case L'?':
      case L'|':
        AddLexem(relcSpecial, V, Line, Col);
        break;
      case L'[':
        AddLexem(relcSpecial, V, Line, Col);
        ScanClass();
        break;
      case L'{':
        AddLexem(relcSpecial, V, Line, Col);
        ScanQuantifier();
        break;
      case L'\'':
        ScanString();
        break;
      case L'\\':
        ScanEscape(false);
        break;
      case L'.':
        AddLexem(relcAll, V, Line, Col);
        break;
      default:
        AddCharLexem(C, Line, Col);
        break;
    }
  }
  if (Open > 0)
    AddError(0, 0, ResFmt(scxRegExprMissing, L")"));
  else if (Open < 0)
    AddError(0, 0, ResFmt(scxRegExprUnnecessary, L")"));
}

void TcxRegExpr::ScanString() {
  while (true) {
    if (Eof()) return AddMissingError(QuoteText);
    Char C = ReadChar();
    const Integer Line = FLine, Col = FChar;
    if (C == L'\'') {
      if (Eof() || FText[static_cast<size_t>(FIndex)] != L'\'') return;
      ReadChar();
    }
    AddLexem(relcSymbol, String(1, C), Line, Col);
  }
}

void TcxRegExpr::ScanClass() {
  bool First = true, CaretAllowed = true;
  while (true) {
    if (Eof()) return AddMissingError(L"]");
    Char C = ReadChar();
    if (IsBlank(C)) continue;
    const Integer Line = FLine, Col = FChar;
    const String V(1, C);
    if (C == L']') return AddLexem(relcSpecial, V, Line, Col);
    if (C == L'^' && CaretAllowed) {
      CaretAllowed = false;
      AddLexem(relcSpecial, V, Line, Col);
      continue;
    }
    CaretAllowed = false;
    switch (C) {
      case L'-': {
        Integer I = FIndex;
        while (I < static_cast<Integer>(FText.size()) && IsBlank(FText[static_cast<size_t>(I)]))
          ++I;
        bool BeforeClose =
            I < static_cast<Integer>(FText.size()) && FText[static_cast<size_t>(I)] == L']';
        AddLexem(First || BeforeClose ? relcSymbol : relcSpecial, V, Line, Col);
        break;
      }
      case L'\\':
        ScanEscape(true);
        break;
      case L'\'':
        ScanString();
        break;
      default:
        AddCharLexem(C, Line, Col);
        break;
    }
    First = false;
  }
}

void TcxRegExpr::ScanQuantifier() {
  while (true) {
    if (Eof()) return AddMissingError(L"}");
    Char C = ReadChar();
    if (IsBlank(C)) continue;
    const Integer Line = FLine, Col = FChar;
    if (IsDigit(C)) {
      String Digits(1, C);
      while (!Eof() && IsDigit(FText[static_cast<size_t>(FIndex)])) Digits += ReadChar();
      AddLexem(relcInteger, Digits, Line, Col);
    } else if (C == L',') {
      AddLexem(relcSpecial, String(1, C), Line, Col);
    } else if (C == L'}') {
      return AddLexem(relcSpecial, String(1, C), Line, Col);
    } else {
      AddError(Line, Col,
               ResFmt(scxRegExprIllegalSymbol, C == L'\'' ? String(QuoteText) : String(1, C)));
    }
  }
}

// Escape lexems take the position of the backslash.
void TcxRegExpr::ScanEscape(bool AInClass) {
  const Integer Line = FLine, Col = FChar;
  if (Eof()) return;
  Char C = ReadChar();
  if (IsBlank(C)) return AddError(FLine, FChar, Res(scxRegExprIncorrectSpace));
  auto Add = [&](TcxRegExprLexemCode ACode, Char AValue) {
    AddLexem(ACode, String(1, AValue), Line, Col);
  };
  switch (C) {
    case L'd':
      return Add(relcDigit, C);
    case L'D':
      return Add(relcNotDigit, C);
    case L'w':
      return Add(relcId, C);
    case L'W':
      return Add(relcNotId, C);
    case L's':
      return Add(relcSpace, C);
    case L'S':
      return Add(relcNotSpace, C);
    case L'a':
      return Add(relcSymbol, 7);
    case L'e':
      return Add(relcSymbol, 27);
    case L'f':
      return Add(relcSymbol, 12);
    case L'n':
      return Add(relcSymbol, 10);
    case L'r':
      return Add(relcSymbol, 13);
    case L't':
      return Add(relcSymbol, 9);
    case L'p':
      return Add(relcSymbol, FormatSettings().DecimalSeparator);
    case L'x': {
      Integer Value = 0;
      for (int I = 0; I < 2; ++I) {
        if (Eof()) return AddError(FLine, FChar + 1, Res(scxRegExprHexNumberExpected0));
        Char H = ReadChar();
        if (HexDigit(H) < 0)
          return AddError(FLine, FChar, ResFmt(scxRegExprHexNumberExpected, String(1, H)));
        Value = Value * 16 + HexDigit(H);
      }
      return Add(relcSymbol, static_cast<Char>(Value));
    }
    default:
      if (C >= L'1' && C <= L'9' && !AInClass) return Add(relcReference, C);
      return Add(relcSymbol, C);
  }
}

// ---------------------------------------------------------------------------
// TcxRegExpr

TcxRegExpr::TcxRegExpr()
    : FStream(new TStringStream(String(), TEncoding::GetEncoding(CP_UTF8))),
      FErrors(new TcxRegExprErrors),
      FLexems(new TcxLexems) {}

TcxRegExpr::~TcxRegExpr() { Clear(); }

void TcxRegExpr::Clear() {
  FStream.reset(new TStringStream(String(), TEncoding::GetEncoding(CP_UTF8)));
  FText.clear();
  FErrors->Clear();
  FLexems->Clear();
  FBlocks.clear();
  FRetiredItems.clear();
  FAutomat.reset();
  FIndex = 0;
  FLexemIndex = 0;
  FLine = 1;
  FChar = 0;
  FCompiled = false;
}

void TcxRegExpr::AddError(Integer ALine, Integer AChar, const String& AMessage) {
  FErrors->Add(new TcxRegExprError(ALine, AChar, AMessage));
}

void TcxRegExpr::RaiseErrors() { throw EcxRegExprError(*FErrors); }

void TcxRegExpr::Compile(TStream* AStream) {
  if (!FFirstExpr) Clear();
  FFirstExpr = false;
  try {
    if (!AStream) throw EStreamError(String());
    FStream->CopyFrom(AStream, 0);
  } catch (const Exception&) {
    AddError(0, 0, Res(scxRegExprNotAssignedSourceStream));
    RaiseErrors();
  }
  FText = FStream->DataString();
  bool Empty = true;
  for (Char C : FText)
    if (!IsBlank(C)) {
      Empty = false;
      break;
    }
  if (Empty) {
    AddError(0, 0, Res(scxRegExprEmptySourceStream));
    RaiseErrors();
  }
  Scan();
  if (FErrors->Count() > 0) RaiseErrors();
  TOwned<TcxRegExprParserAlts> Tree(TParser(*this).Parse());
  FBlocks.clear();
  FRetiredItems.clear();
  if (!Tree) RaiseErrors();
  Tree->CreateConnections(nullptr);
  Tree->CreateFinalStates();
  FAutomat.reset(new TcxRegExprAutomat(Tree.release(), this));
  FCompiled = true;
  if (FUpdateOn) FAutomat->Update();
}

void TcxRegExpr::Compile(const String& S) {
  TStringStream Stream(S, TEncoding::GetEncoding(CP_UTF8));
  Compile(&Stream);
}

TStream* TcxRegExpr::Stream() const { return FCompiled ? FStream.get() : nullptr; }

void TcxRegExpr::CheckCompiled() const {
  if (!FCompiled) throw EcxEditError(Res(scxRegExprNotCompiled));
}

bool TcxRegExpr::Next(Char& AToken) {
  CheckCompiled();
  bool Result = FAutomat->Next(AToken, FCaseInsensitive, true);
  if (Result && FUpdateOn) FAutomat->Update();
  return Result;
}

String TcxRegExpr::NextEx(const String& AString) {
  CheckCompiled();
  String Result;
  for (Char C : AString) {
    Char Token = C;
    if (FAutomat->Next(Token, FCaseInsensitive, true)) Result += C;
  }
  return Result;
}

bool TcxRegExpr::Prev() {
  CheckCompiled();
  if (FUpdateOn) FAutomat->ReUpdate();
  return FAutomat->Prev();
}

void TcxRegExpr::Reset() {
  CheckCompiled();
  FAutomat->Reset();
}

bool TcxRegExpr::IsFinal() {
  CheckCompiled();
  return FAutomat->IsFinal();
}

bool TcxRegExpr::IsStart() {
  CheckCompiled();
  return FAutomat->IsStart();
}

String TcxRegExpr::Print() {
  CheckCompiled();
  return FAutomat->Print();
}

void TcxRegExpr::SetUpdateOn(bool AUpdateOn) {
  FUpdateOn = AUpdateOn;
  if (FCompiled && FUpdateOn) FAutomat->Update();
}

void TcxRegExpr::SymbolDelete() {
  if (FOnSymbolDelete) FOnSymbolDelete();
}

void TcxRegExpr::SymbolUpdate(Char ASymbol) {
  if (FOnSymbolUpdate) FOnSymbolUpdate(ASymbol);
}
