// The reader: a forgiving single-pass scanner that never raises for markup,
// the unescaping that undoes the writer's escaping, and the document's load
// operations.
#include <array>
#include <cstring>

#include "dxHash.h"
#include "dxXMLDoc.h"

IMPLEMENT_CREATABLE_CLASS(TdxXMLParserSharedStrings)
IMPLEMENT_CLASS(TdxXMLParser)

namespace {
constexpr bool IsWhiteSpace(Byte B) { return B == 9 || B == 10 || B == 13 || B == 32; }

constexpr std::array<bool, 256> MakeDelimiters() {
  std::array<bool, 256> T{};
  for (int B = 0; B < 256; ++B) T[B] = dxXMLIsDelimiter(static_cast<Byte>(B));
  return T;
}
constexpr std::array<bool, 256> Delimiters = MakeDelimiters();

constexpr std::string_view CommentOpen = "<!--";
constexpr std::string_view CommentClose = "-->";
constexpr std::string_view CDataOpen = "<![CDATA[";
constexpr std::string_view CDataClose = "]]>";

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// The value of an escaped byte _xHHHH_ at P (seven bytes are there).
bool ReadEscapedByte(const char* P, Cardinal& AValue) {
  if (P[0] != '_' || P[1] != 'x' || P[6] != '_') return false;
  AValue = 0;
  for (int I = 2; I < 6; ++I) {
    const int D = HexDigit(P[I]);
    if (D < 0) return false;
    AValue = AValue * 16 + static_cast<Cardinal>(D);
  }
  return true;
}

void AppendUtf8(std::string& S, Cardinal ACodePoint) {
  if (ACodePoint < 0x80) {
    S += static_cast<char>(ACodePoint);
  } else if (ACodePoint < 0x800) {
    S += static_cast<char>(0xC0 | (ACodePoint >> 6));
    S += static_cast<char>(0x80 | (ACodePoint & 0x3F));
  } else if (ACodePoint < 0x10000) {
    S += static_cast<char>(0xE0 | (ACodePoint >> 12));
    S += static_cast<char>(0x80 | ((ACodePoint >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (ACodePoint & 0x3F));
  } else {
    S += static_cast<char>(0xF0 | (ACodePoint >> 18));
    S += static_cast<char>(0x80 | ((ACodePoint >> 12) & 0x3F));
    S += static_cast<char>(0x80 | ((ACodePoint >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (ACodePoint & 0x3F));
  }
}

// A character reference "&#N;" or "&#xH;" at P: its length, with the UTF-8
// form of the character appended; 0 when it names no character that UTF-8
// can hold (no digits, 0, a surrogate, beyond U+10FFFF), so that it stays
// as written.
size_t ReadCharacterReference(const char* P, const char* AEnd, std::string& AResult) {
  if (AEnd - P < 4 || P[1] != '#') return 0;
  const bool Hex = P[2] == 'x';
  const char* Q = P + (Hex ? 3 : 2);
  const char* Digits = Q;
  Cardinal Value = 0;
  for (; Q < AEnd; ++Q) {
    const int D = Hex ? HexDigit(*Q) : (*Q >= '0' && *Q <= '9' ? *Q - '0' : -1);
    if (D < 0) break;
    Value = Value * (Hex ? 16 : 10) + static_cast<Cardinal>(D);
    if (Value > 0x10FFFF) Value = 0x110000;  // stays too large, never wraps
  }
  if (Q == Digits || Q == AEnd || *Q != ';') return 0;
  if (Value == 0 || Value > 0x10FFFF || (Value >= 0xD800 && Value <= 0xDFFF)) return 0;
  AppendUtf8(AResult, Value);
  return static_cast<size_t>(Q + 1 - P);
}

bool IsDecodeStart(char C) { return C == '&' || C == '_'; }

// Reads a whole stream from its position; the size is a hint only, so a
// stream that reports none still reads to its end.
class TStreamBytes {
 public:
  explicit TStreamBytes(TStream* AStream) {
    Int64 Hint = AStream->Size() - AStream->Position();
    if (Hint < 0) Hint = 0;
    Reserve(static_cast<size_t>(Hint) + 1);
    for (;;) {
      if (FLength == FCapacity) Reserve(FCapacity * 2);
      const size_t Room = FCapacity - FLength;
      const Integer Chunk = static_cast<Integer>(Room > (1u << 30) ? (1u << 30) : Room);
      const Integer Got = AStream->Read(FData.get() + FLength, Chunk);
      if (Got <= 0) break;
      FLength += static_cast<size_t>(Got);
    }
  }
  const Byte* Data() const { return FData.get(); }
  size_t Length() const { return FLength; }

 private:
  void Reserve(size_t ACapacity) {
    std::unique_ptr<Byte[]> Data(new Byte[ACapacity]);
    if (FLength) std::memcpy(Data.get(), FData.get(), FLength);
    FData = std::move(Data);
    FCapacity = ACapacity;
  }
  std::unique_ptr<Byte[]> FData;
  size_t FCapacity = 0;
  size_t FLength = 0;
};

// EndUpdate runs however the load ends.
class TUpdateScope {
 public:
  explicit TUpdateScope(TdxXMLDocument* ADocument) : FDocument(ADocument) {
    FDocument->BeginUpdate();
  }
  ~TUpdateScope() noexcept(false) { FDocument->EndUpdate(); }

 private:
  TdxXMLDocument* FDocument;
};
}  // namespace

// ---------------------------------------------------------------------------
// Unescaping

bool TdxXMLHelper::DecodeInto(std::string_view AValue, std::string& AResult) {
  const char* P = AValue.data();
  const char* End = P + AValue.size();
  const char* Run = P;
  while (Run < End && !IsDecodeStart(*Run)) ++Run;
  if (Run == End) return false;
  const size_t Start = AResult.size();
  bool Changed = false;
  AResult.append(P, Run);
  P = Run;
  while (P < End) {
    if (*P == '_') {
      Cardinal Value;
      if (End - P >= 7 && ReadEscapedByte(P, Value) && Value <= 255) {
        AResult += static_cast<char>(Value);
        P += 7;
        Changed = true;
        continue;
      }
    } else if (*P == '&') {
      bool Matched = false;
      for (const TdxXMLEscape& E : dxXMLEscapeTable) {
        if (static_cast<size_t>(End - P) >= E.Entity.size() &&
            std::memcmp(P, E.Entity.data(), E.Entity.size()) == 0) {
          AResult += E.Value;
          P += E.Entity.size();
          Matched = true;
          break;
        }
      }
      if (!Matched) {
        const size_t N = ReadCharacterReference(P, End, AResult);
        P += N;
        Matched = N > 0;
      }
      if (Matched) {
        Changed = true;
        continue;
      }
    }
    // Copy this byte and the run of ordinary bytes after it at once.
    Run = P + 1;
    while (Run < End && !IsDecodeStart(*Run)) ++Run;
    AResult.append(P, Run);
    P = Run;
  }
  if (!Changed) AResult.resize(Start);
  return Changed;
}

TdxXMLString TdxXMLHelper::DecodeString(const TdxXMLString& S) {
  std::string R;
  return DecodeInto(S.View(), R) ? TdxXMLString(R) : S;
}

// ---------------------------------------------------------------------------
// TdxXMLParserSharedStrings

namespace {
constexpr size_t SharedStringsBlockSize = 4096;
}

TdxXMLParserSharedStrings::TdxXMLParserSharedStrings() : FTable(new TValue*[TableSize]()) {}

TdxXMLParserSharedStrings::~TdxXMLParserSharedStrings() = default;

void TdxXMLParserSharedStrings::Clear() {
  FBlocks.clear();
  FBlockUsed = 0;
  std::fill(FTable.get(), FTable.get() + TableSize, nullptr);
}

const TdxXMLString& TdxXMLParserSharedStrings::DoAdd(const char* P, size_t L,
                                                     const TdxXMLString* AValue) {
  const Cardinal Hash = dxDotNetHash(P, L);
  TValue** Slot = &FTable[Hash % TableSize];
  for (TValue* V = *Slot; V; V = V->Next) {
    if (V->Hash == Hash && V->Value.Length() == L && std::memcmp(V->Value.Data(), P, L) == 0)
      return V->Value;
    Slot = &V->Next;
  }
  if (FBlocks.empty() || FBlockUsed == SharedStringsBlockSize) {
    FBlocks.emplace_back(new TValue[SharedStringsBlockSize]);
    FBlockUsed = 0;
  }
  TValue* V = &FBlocks.back()[FBlockUsed++];
  V->Hash = Hash;
  V->Value = AValue ? *AValue : TdxXMLString(P, L);
  V->Next = nullptr;
  *Slot = V;
  return V->Value;
}

// ---------------------------------------------------------------------------
// TdxXMLParser

TdxXMLParser::TdxXMLParser(TdxXMLDocument* ADocument)
    : FDocument(ADocument), FSharedStrings(Create<TdxXMLParserSharedStrings>()) {}

NativeInt TdxXMLParser::SectionLength(std::string_view AOpen, std::string_view AClose,
                                      const Byte*& ANoCloseFrom) const {
  if (FDataLength <= static_cast<NativeInt>(AOpen.size() + AClose.size())) return 0;
  if (std::memcmp(FData, AOpen.data(), AOpen.size()) != 0) return 0;
  const Byte* From = FData + AOpen.size();
  if (ANoCloseFrom && From >= ANoCloseFrom) return 0;
  const std::string_view Rest(reinterpret_cast<const char*>(From),
                              static_cast<size_t>(FData + FDataLength - From));
  const size_t P = Rest.find(AClose);
  if (P == std::string_view::npos) {
    ANoCloseFrom = From;
    return 0;
  }
  return static_cast<NativeInt>(AOpen.size() + P + AClose.size());
}

bool TdxXMLParser::NextToken(TdxXMLToken& AToken) {
  while (FDataLength > 0 && IsWhiteSpace(*FData)) {
    ++FData;
    --FDataLength;
  }
  if (FDataLength == 0) return false;
  const Byte* End = FData + FDataLength;
  const Byte C = *FData;
  NativeInt Length = 1;
  AToken.TokenType = ttUnknown;
  if (C == '"' || C == '\'') {
    const Byte* P = FData + 1;
    while (P < End && *P != C && *P != '<' && *P != '>') ++P;
    AToken.Buffer = FData + 1;
    AToken.BufferLengthInChars = P - AToken.Buffer;
    if (P < End && *P == C) ++P;
    FDataLength = End - P;
    FData = P;
    return true;
  }
  if ((C == '/' || C == '?') && FDataLength > 1 && FData[1] == '>') {
    AToken.TokenType = ttTagEnd;
    Length = 2;
  } else if (C == '<') {
    if (FDataLength > 1 && FData[1] == '/') {
      AToken.TokenType = ttTagFooter;
      Length = 2;
    } else if (FDataLength > 1 && FData[1] == '!' &&
               ((Length = SectionLength(CommentOpen, CommentClose, FNoCommentEndFrom)) > 0 ||
                (Length = SectionLength(CDataOpen, CDataClose, FNoCDataEndFrom)) > 0)) {
      AToken.TokenType = ttComment;
    } else {
      AToken.TokenType = ttTagHeaderBegin;
      Length = 1;
    }
  } else if (C == '=') {
    AToken.TokenType = ttEqual;
  } else if (C == '>') {
    AToken.TokenType = ttTagHeaderEnd;
  } else if (C != '/') {
    const Byte* P = FData + 1;
    while (P < End && !Delimiters[*P]) ++P;
    Length = P - FData;
  }
  AToken.Buffer = FData;
  AToken.BufferLengthInChars = Length;
  FData += Length;
  FDataLength -= Length;
  return true;
}

const TdxXMLString& TdxXMLParser::InternName(const TdxXMLToken& AToken) {
  // Names are not unescaped, but in a Windows-NNNN document they are text
  // in that code page like everything else, and the tree holds UTF-8.
  return FSharedStrings->Add(
      FromCodePage(std::string_view(reinterpret_cast<const char*>(AToken.Buffer),
                                    static_cast<size_t>(AToken.BufferLengthInChars))));
}

TdxXMLNode* TdxXMLParser::ParseNodeHeader(TdxXMLNode* ANode) {
  TdxXMLNodeAttributes* Attributes = ANode->Attributes();
  TdxXMLNodeAttribute* Attribute = nullptr;
  Integer Counter = 0;
  TdxXMLToken Token;
  while (NextToken(Token)) {
    switch (Token.TokenType) {
      case ttTagHeaderEnd:
        return ANode;
      case ttTagEnd:
        return ANode->Parent();
      case ttTagHeaderBegin:
      case ttComment:
        return nullptr;
      default:
        if (Counter > 3) Counter = 1;
        if (Counter == 0) ANode->SetName(InternName(Token));
        if (Counter == 2 && Token.TokenType != ttEqual) Counter = 1;
        if (Counter == 1) Attribute = Attributes->Add(InternName(Token));
        if (Counter == 3)
          Attribute->SetValue(
              FSharedStrings->Add(DecodeValue(Token.Buffer, Token.BufferLengthInChars)));
        ++Counter;
    }
  }
  return ANode->Parent();
}

void TdxXMLParser::ParseDocumentHeader() {
  TOwned<TdxXMLNode> Header(Create<TdxXMLNode>());
  ParseNodeHeader(Header.get());
  TdxXMLNodeAttributes* Attributes = Header->Attributes();
  TdxXMLNodeAttribute* A;
  FDocument->SetEncoding(Attributes->Find("encoding", A) ? A->Value() : TdxXMLString("UTF-8"));
  FDocument->SetVersion(Attributes->Find("version", A) ? A->Value() : TdxXMLString("1.0"));
  ParseEncoding(FDocument->Encoding());
}

void TdxXMLParser::ParseEncoding(const TdxXMLString& AEncoding) {
  const String Text = dxAnsiStringToString(AnsiString(AEncoding.View()), CP_ACP);
  FEncodingCodePage = 0;
  if (SameText(Text, L"UTF-8")) {
    FEncoding = dxxeUTF8;
  } else if (Text.size() >= 8 && SameText(Text.substr(0, 8), L"Windows-")) {
    FEncoding = dxxeWindows;
    Int64 CodePage = 0;
    for (size_t I = 8; I < Text.size() && CodePage <= UINT32_MAX; ++I) {
      if (Text[I] < L'0' || Text[I] > L'9') {
        CodePage = 0;
        break;
      }
      CodePage = CodePage * 10 + (Text[I] - L'0');
    }
    if (CodePage <= UINT32_MAX) FEncodingCodePage = static_cast<Cardinal>(CodePage);
  } else {
    FEncoding = dxxeNone;
  }
}

void TdxXMLParser::SkipMarkup() {
  TOwned<TdxXMLNode> Markup(Create<TdxXMLNode>());
  ParseNodeHeader(Markup.get());
}

std::string_view TdxXMLParser::FromCodePage(std::string_view AValue) {
  if (FEncoding != dxxeWindows || AValue.empty()) return AValue;
  // A code page the platform cannot convert leaves the bytes as they are.
  const UINT CodePage = FEncodingCodePage;
  const int Length = static_cast<int>(AValue.size());
  const int Wide = MultiByteToWideChar(CodePage, 0, AValue.data(), Length, nullptr, 0);
  if (Wide <= 0) return AValue;
  FWide.resize(static_cast<size_t>(Wide));
  MultiByteToWideChar(CodePage, 0, AValue.data(), Length, FWide.data(), Wide);
  const int Utf8 =
      WideCharToMultiByte(CP_UTF8, 0, FWide.data(), Wide, nullptr, 0, nullptr, nullptr);
  FConverted.resize(static_cast<size_t>(Utf8 > 0 ? Utf8 : 0));
  if (Utf8 > 0)
    WideCharToMultiByte(CP_UTF8, 0, FWide.data(), Wide, FConverted.data(), Utf8, nullptr, nullptr);
  return FConverted;
}

std::string_view TdxXMLParser::DecodeValue(const Byte* AData, NativeInt ALength) {
  const std::string_view Value = FromCodePage(
      std::string_view(reinterpret_cast<const char*>(AData), static_cast<size_t>(ALength)));
  FDecoded.clear();
  return TdxXMLHelper::DecodeInto(Value, FDecoded) ? std::string_view(FDecoded) : Value;
}

void TdxXMLParser::ParseNodeValue(TdxXMLNode* ANode, const Byte* AFrom, const Byte* ATo) {
  if (!AFrom) return;
  if (!ANode->TextIsPreserveSpaceMode()) {
    while (AFrom < ATo && *AFrom < 32) ++AFrom;
    while (ATo > AFrom && ATo[-1] < 32) --ATo;
  }
  if (ATo - AFrom >= 12 && std::memcmp(AFrom, CDataOpen.data(), CDataOpen.size()) == 0) {
    AFrom += CDataOpen.size();
    ATo -= CDataClose.size();
  }
  if (ATo > AFrom) ANode->SetText(TdxXMLString(DecodeValue(AFrom, ATo - AFrom)));
}

void TdxXMLParser::Parse(const void* AScan, NativeInt ACount) {
  FData = static_cast<const Byte*>(AScan);
  FDataLength = ACount > 0 ? ACount : 0;
  FNoCommentEndFrom = FNoCDataEndFrom = nullptr;
  TdxXMLNode* Current = FDocument->Root();
  Current->Clear();
  const Byte* TextStart = nullptr;
  TdxXMLToken Token;
  while (NextToken(Token)) {
    if (Token.TokenType == ttTagHeaderBegin) {
      const Byte Next = FDataLength > 0 ? *FData : 0;
      if (Next == '?') {
        ParseDocumentHeader();
      } else if (Next == '!') {
        SkipMarkup();
      } else {
        ParseNodeValue(Current, TextStart, Token.Buffer);
        Current = ParseNodeHeader(Current->AddChild(TdxXMLString()));
        if (!Current) return;
        TextStart = FData;
      }
    } else if (Token.TokenType == ttTagFooter) {
      if (!Current->GetHasChildren()) ParseNodeValue(Current, TextStart, Token.Buffer);
      Current = Current->Parent();
      if (!Current) return;
      TextStart = nullptr;
    }
  }
}

// ---------------------------------------------------------------------------
// Loading

void TdxXMLDocument::LoadFromFile(const String& AFileName) {
  TOwned<TFileStream> Stream(
      Create<TFileStream>(AFileName, static_cast<Word>(fmOpenRead | fmShareDenyNone)));
  LoadFromStream(Stream.get());
}

void TdxXMLDocument::LoadFromStream(TStream* AStream) {
  TUpdateScope Update(this);
  FRoot->Clear();
  const TStreamBytes Bytes(AStream);
  if (Bytes.Length() > 0) LoadFromBuffer(Bytes.Data(), static_cast<NativeInt>(Bytes.Length()));
}

void TdxXMLDocument::LoadFromString(const TdxXMLString& AString) {
  TUpdateScope Update(this);
  FRoot->Clear();
  // The parser reads the string's own bytes; the copy keeps them alive.
  const TdxXMLString Bytes = AString;
  if (Bytes.Length() > 0) LoadFromBuffer(Bytes.Data(), static_cast<NativeInt>(Bytes.Length()));
}

void TdxXMLDocument::LoadFromBuffer(const void* AData, NativeInt ACount) {
  TOwned<TdxXMLParser> Parser(Create<TdxXMLParser>(this));
  Parser->Parse(AData, ACount);
}
