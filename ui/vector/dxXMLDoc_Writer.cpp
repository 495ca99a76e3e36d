// The writer: UTF-8 output with escaping that the reader undoes, optional
// tab indentation, and xml:space marks for texts the reader would trim.
#include <algorithm>
#include <array>
#include <cstring>

#include "dxCore.h"
#include "dxXMLDoc.h"

namespace {
constexpr std::string_view LineBreak = "\r\n";

// 0: copied; 1: written as an entity of the escape table; 2: another
// control byte, written as _xHHHH_; 3: an underscore that may start _xHHHH_.
constexpr std::array<Byte, 256> MakeByteKinds() {
  std::array<Byte, 256> T{};
  for (int B = 0; B < 32; ++B) T[B] = 2;
  for (const TdxXMLEscape& E : dxXMLEscapeTable) T[static_cast<Byte>(E.Value)] = 1;
  T['_'] = 3;
  return T;
}
constexpr std::array<Byte, 256> ByteKinds = MakeByteKinds();

bool IsHexDigit(char C) {
  return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F');
}

// Whether the underscore at P would read back as the start of an escaped
// byte: it is followed by "x", four hexadecimal digits and an underscore in
// the output, which is either one in the text or the first byte of the
// escape that a control byte there is written as.
bool StartsEscapedByte(const char* P, const char* AEnd) {
  if (AEnd - P < 7 || P[1] != 'x' || !IsHexDigit(P[2]) || !IsHexDigit(P[3]) || !IsHexDigit(P[4]) ||
      !IsHexDigit(P[5]))
    return false;
  const Byte Next = static_cast<Byte>(P[6]);
  return Next == '_' || (Next < 32 && Next != '\t' && Next != '\n' && Next != '\r');
}

std::string_view EntityOf(char C) {
  for (const TdxXMLEscape& E : dxXMLEscapeTable)
    if (E.Value == C) return E.Entity;
  return std::string_view();
}

bool IsBreakOrSpace(Byte B) { return B == 9 || B == 10 || B == 13 || B == 32; }

enum TNamePlace { npStartTag, npEndTag, npAttribute };

// Whether a name written as it is reads back as that one name: the reader
// ends a name at a delimiter, takes "</" for an end tag and "<?" or "<!" for
// a declaration or markup to skip.
bool IsBareName(std::string_view AName, TNamePlace APlace) {
  if (AName.empty()) return false;
  if (APlace == npStartTag && (AName[0] == '?' || AName[0] == '!')) return false;
  for (char C : AName)
    if (dxXMLIsDelimiter(static_cast<Byte>(C))) return false;
  return true;
}

// Names are written as stored. One that would not read back as itself (the
// reader never makes such a name from well-formed markup) is put in quotes,
// which the reader takes as one token in a name's place as well. A quoted
// token ends at "<" and ">", so the one such name the reader makes, "</",
// goes bare: inside a tag the reader counts it as an ordinary token. End-tag
// names are never read; one that would break the markup is left out.
void AppendName(TdxXMLStringBuilder& ABuilder, std::string_view AName, TNamePlace APlace) {
  const bool Angled = AName.find_first_of("<>") != std::string_view::npos;
  if (IsBareName(AName, APlace) || (AName == "</" && APlace != npEndTag)) {
    ABuilder.Append(AName);
  } else if (!(Angled && APlace == npEndTag)) {
    const Byte Quote = AName.find('"') == std::string_view::npos ? '"' : '\'';
    ABuilder.Append(Quote);
    ABuilder.Append(AName);
    ABuilder.Append(Quote);
  }
}

// Collects the output and hands it to the target stream in large pieces:
// one write call per element would cost a system call each on a file.
class TdxXMLWriteStream : public TStream {
  DECLARE_CLASS(TdxXMLWriteStream, TStream)
 public:
  static constexpr Integer FlushSize = 1 << 16;
  explicit TdxXMLWriteStream(TStream* ATarget)
      : FTarget(ATarget), FBuffer(Create<TdxXMLStringBuilder>(FlushSize * 2)) {}

  Integer Read(void*, Integer) override { throw EStreamError(L"Stream read error"); }
  Integer Write(const void* ABuffer, Integer ACount) override {
    FBuffer->Append(ABuffer, static_cast<size_t>(ACount > 0 ? ACount : 0));
    FlushIfFull();
    return ACount;
  }
  Int64 Seek(Int64, TSeekOrigin) override { return FWritten + FBuffer->GetLength(); }
  TdxXMLStringBuilder& Buffer() { return *FBuffer; }
  void FlushIfFull() {
    if (FBuffer->GetLength() >= FlushSize) Flush();
  }
  void Flush() {
    const Integer N = FBuffer->GetLength();
    if (N == 0) return;
    FTarget->WriteBuffer(FBuffer->View().data(), N);
    FWritten += N;
    FBuffer->SetLength(0);
  }

 private:
  TStream* FTarget;
  TOwned<TdxXMLStringBuilder> FBuffer;
  Int64 FWritten = 0;
};
IMPLEMENT_CLASS(TdxXMLWriteStream)

// Writes elements with an explicit stack instead of recursion, so that a tree
// of any depth saves. Per node it calls the node's CheckTextEncoding and
// WriteAttributes.
class TdxXMLTreeWriter {
 public:
  explicit TdxXMLTreeWriter(TStream* AStream) {
    FOut = dynamic_cast<TdxXMLWriteStream*>(AStream);
    if (!FOut) {
      FOwnOut.reset(Create<TdxXMLWriteStream>(AStream));
      FOut = FOwnOut.get();
    }
  }
  void Finish() {
    if (FOwnOut) FOut->Flush();
  }

  void WriteElement(TdxXMLNode* ANode, Integer ALevel, bool AIndent);
  void WriteChildren(TdxXMLNode* AParent, Integer AParentLevel, bool AIndent) {
    for (TdxXMLNode* C = AParent->GetFirst(); C; C = C->GetNext())
      WriteElement(C, AParentLevel + 1, AIndent);
  }
  // The text and the children of ANode; its tags are the caller's.
  void WriteContent(TdxXMLNode* ANode, Integer ALevel, bool AIndent);

 private:
  struct TFrame {
    TdxXMLNode* Node;
    TdxXMLNode* NextChild;
    Integer Level;
    bool Indent;
    bool ChildIndent;
  };
  // Writes the start tag and text; true when children follow (the end tag
  // is then written by Close).
  bool Open(TdxXMLNode* ANode, Integer ALevel, bool AIndent, bool& AChildIndent);
  void Close(TdxXMLNode* ANode, Integer ALevel, bool AIndent, bool AChildIndent);
  void WriteText(TdxXMLNode* ANode);
  bool BeginChildren(TdxXMLNode* ANode, bool AIndent);
  void Tabs(Integer ACount) {
    static constexpr std::string_view Run = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    for (; ACount > 0; ACount -= static_cast<Integer>(Run.size()))
      FOut->Buffer().Append(Run.substr(0, std::min<size_t>(Run.size(), ACount)));
  }
  void Raw(std::string_view S) { FOut->Buffer().Append(S); }

  TdxXMLWriteStream* FOut;
  TOwned<TdxXMLWriteStream> FOwnOut;
};

void TdxXMLTreeWriter::WriteText(TdxXMLNode* ANode) {
  if (!ANode->Text().IsEmpty())
    TdxXMLHelper::EncodeInto(ANode->Text().View(), false, FOut->Buffer());
}

bool TdxXMLTreeWriter::BeginChildren(TdxXMLNode* ANode, bool AIndent) {
  // Inside a preserve-space element every byte between the tags is text:
  // indentation there would end up in the text on the next load.
  const bool ChildIndent = AIndent && !ANode->TextIsPreserveSpaceMode();
  if (ChildIndent) Raw(LineBreak);
  return ChildIndent;
}

bool TdxXMLTreeWriter::Open(TdxXMLNode* ANode, Integer ALevel, bool AIndent, bool& AChildIndent) {
  if (AIndent) Tabs(ALevel);
  ANode->CheckTextEncoding();
  Raw("<");
  AppendName(FOut->Buffer(), ANode->Name().View(), npStartTag);
  ANode->WriteAttributes(FOut);
  if (!ANode->HasData()) {
    Raw("/>");
    if (AIndent) Raw(LineBreak);
    FOut->FlushIfFull();
    return false;
  }
  Raw(">");
  WriteText(ANode);
  if (ANode->GetHasChildren()) {
    AChildIndent = BeginChildren(ANode, AIndent);
    FOut->FlushIfFull();
    return true;
  }
  Close(ANode, ALevel, AIndent, false);
  return false;
}

void TdxXMLTreeWriter::Close(TdxXMLNode* ANode, Integer ALevel, bool AIndent, bool AChildIndent) {
  if (AChildIndent) Tabs(ALevel);
  Raw("</");
  AppendName(FOut->Buffer(), ANode->Name().View(), npEndTag);
  Raw(">");
  if (AIndent) Raw(LineBreak);
  FOut->FlushIfFull();
}

void TdxXMLTreeWriter::WriteElement(TdxXMLNode* ANode, Integer ALevel, bool AIndent) {
  std::vector<TFrame> Stack;
  bool ChildIndent = false;
  if (!Open(ANode, ALevel, AIndent, ChildIndent)) return;
  Stack.push_back({ANode, ANode->GetFirst(), ALevel, AIndent, ChildIndent});
  while (!Stack.empty()) {
    TFrame& Top = Stack.back();
    if (TdxXMLNode* Child = Top.NextChild) {
      Top.NextChild = Child->GetNext();
      const Integer Level = Top.Level + 1;
      const bool Indent = Top.ChildIndent;
      if (Open(Child, Level, Indent, ChildIndent))
        Stack.push_back({Child, Child->GetFirst(), Level, Indent, ChildIndent});
    } else {
      Close(Top.Node, Top.Level, Top.Indent, Top.ChildIndent);
      Stack.pop_back();
    }
  }
}

void TdxXMLTreeWriter::WriteContent(TdxXMLNode* ANode, Integer ALevel, bool AIndent) {
  WriteText(ANode);
  if (!ANode->GetHasChildren()) return;
  const bool ChildIndent = BeginChildren(ANode, AIndent);
  WriteChildren(ANode, ALevel, ChildIndent);
  if (ChildIndent) Tabs(ALevel);
}

template <class TSink>
void EncodeBytes(std::string_view AValue, bool ARemoveBreakLines, TSink& ASink) {
  const char* P = AValue.data();
  const char* End = P + AValue.size();
  while (P < End) {
    const char* Run = P;
    while (Run < End && ByteKinds[static_cast<Byte>(*Run)] == 0) ++Run;
    if (Run > P) ASink.Append(P, static_cast<size_t>(Run - P));
    if (Run == End) break;
    P = Run;
    const char C = *P;
    if (ARemoveBreakLines && (C == '\r' || C == '\n')) {
      ASink.Append(Byte(' '));
    } else {
      switch (ByteKinds[static_cast<Byte>(C)]) {
        case 1:
          ASink.Append(EntityOf(C));
          break;
        case 2: {
          static constexpr char Hex[] = "0123456789ABCDEF";
          const char Escaped[7] = {'_', 'x', '0', '0', Hex[(C >> 4) & 0xF], Hex[C & 0xF], '_'};
          ASink.Append(Escaped, 7);
          break;
        }
        default:  // an underscore
          if (StartsEscapedByte(P, End))
            ASink.Append(std::string_view("_x005F_"));
          else
            ASink.Append(Byte('_'));
      }
    }
    ++P;
  }
}
}  // namespace

// ---------------------------------------------------------------------------
// Escaping

void TdxXMLHelper::EncodeInto(std::string_view AValue, bool ARemoveBreakLines,
                              TdxXMLStringBuilder& ABuilder) {
  EncodeBytes(AValue, ARemoveBreakLines, ABuilder);
}

TdxXMLString TdxXMLHelper::EncodeString(const TdxXMLString& S, bool ARemoveBreakLines) {
  TdxXMLStringBuilder Builder(static_cast<Integer>(S.Length() + S.Length() / 2));
  EncodeBytes(S.View(), ARemoveBreakLines, Builder);
  return Builder.AsString();
}

TdxXMLString TdxXMLHelper::EncodeString(const String& S, bool ARemoveBreakLines) {
  return EncodeString(TdxXMLString::FromString(S), ARemoveBreakLines);
}

bool TdxXMLHelper::IsPreserveSpacesNeeded(const TdxXMLString& S) {
  if (S.IsEmpty()) return false;
  if (IsBreakOrSpace(S[0]) || IsBreakOrSpace(S[S.Length() - 1])) return true;
  return S.View().find_first_of("\r\n") != std::string_view::npos;
}

bool TdxXMLHelper::IsPreserveSpacesNeeded(const String& S) {
  return IsPreserveSpacesNeeded(TdxXMLString::FromString(S));
}

// ---------------------------------------------------------------------------
// Node writing

void TdxXMLNode::CheckTextEncoding() {
  if (TdxXMLHelper::IsPreserveSpacesNeeded(FText)) {
    FAttributes->SetValue("xml:space", "preserve");
  } else {
    // Every one of them: a second mark left behind would be read as the
    // first on the next load.
    while (FAttributes->Exists("xml:space")) FAttributes->Delete("xml:space");
  }
}

void TdxXMLNode::WriteAttributes(TStream* AStream) {
  TdxXMLWriteStream* Out = dynamic_cast<TdxXMLWriteStream*>(AStream);
  TdxXMLStringBuilder Local;
  TdxXMLStringBuilder& B = Out ? Out->Buffer() : Local;
  for (TdxXMLNodeAttribute* A = FAttributes->First(); A; A = A->Next()) {
    B.Append(Byte(' '));
    AppendName(B, A->Name().View(), npAttribute);
    B.Append(std::string_view("=\""));
    EncodeBytes(A->Value().View(), true, B);
    B.Append(Byte('"'));
  }
  if (!Out && Local.GetLength() > 0) AStream->WriteBuffer(Local.View().data(), Local.GetLength());
}

void TdxXMLNode::WriteChildren(TStream* AStream, bool AAutoIndent) {
  TdxXMLTreeWriter Writer(AStream);
  Writer.WriteChildren(this, GetLevel(), AAutoIndent);
  Writer.Finish();
}

void TdxXMLNode::WriteContent(TStream* AStream, bool AAutoIndent) {
  TdxXMLTreeWriter Writer(AStream);
  Writer.WriteContent(this, GetLevel(), AAutoIndent);
  Writer.Finish();
}

void TdxXMLNode::WriteData(TStream* AStream, bool AAutoIndent) {
  TdxXMLTreeWriter Writer(AStream);
  Writer.WriteElement(this, GetLevel(), AAutoIndent);
  Writer.Finish();
}

// ---------------------------------------------------------------------------
// Saving

TdxXMLString TdxXMLDocument::GetHeaderText() const {
  if (FVersion.IsEmpty() && FEncoding.IsEmpty() && FStandalone.IsEmpty()) return TdxXMLString();
  TdxXMLStringBuilder B(64);
  B.Append(std::string_view("<?xml"));
  // Escaped like attribute values: a quote in a version text must not end
  // the value early when the declaration is read back.
  auto Field = [&B](std::string_view AName, const TdxXMLString& AValue) {
    if (AValue.IsEmpty()) return;
    B.Append(AName);
    EncodeBytes(AValue.View(), true, B);
    B.Append(Byte('"'));
  };
  Field(" version=\"", FVersion);
  Field(" encoding=\"", FEncoding);
  Field(" standalone=\"", FStandalone);
  B.Append(std::string_view("?>"));
  B.Append(LineBreak);
  return B.AsString();
}

void TdxXMLDocument::SaveToFile(const String& AFileName) {
  // A save that fails half-way leaves the file as it was.
  TOwned<TMemoryStream> Data(Create<TMemoryStream>());
  SaveToStream(Data.get());
  dxCommitToFile(Data.get(), AFileName);
}

void TdxXMLDocument::SaveToStream(TStream* AStream) {
  FEncoding = "UTF-8";
  TOwned<TdxXMLWriteStream> Out(Create<TdxXMLWriteStream>(AStream));
  Out->Buffer().Append(GetHeaderText());
  FRoot->WriteChildren(Out.get(), FAutoIndent);
  Out->Flush();
}
