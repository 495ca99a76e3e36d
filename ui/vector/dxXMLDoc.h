// The component library's own XML object model with its reader and writer.
// Every name, value and text is held as UTF-8 bytes; the typed accessors
// convert to and from UTF-16 text, booleans, numbers and date-times. Numbers
// are written and read with "." whatever the regional settings.
#pragma once

#include <atomic>
#include <memory>
#include <string_view>
#include <vector>

#include "Classes.h"
#include "SysUtils.h"
#include "Variants.h"
#include "dxCore.h"
#include "dxCoreClasses.h"

// ---------------------------------------------------------------------------
// Small blocks for trees and their strings. A large document has millions of
// nodes, attributes and values, and the platform heap costs hundreds of
// nanoseconds a block under Wine; these come from size classes of 16 bytes
// up to 256, carved from 64 KB chunks that stay with the process for reuse.
// Larger blocks go to the C heap. Safe to use from any thread.
struct TdxXMLMemory {
  static void* Allocate(size_t ASize);
  static void Release(void* P, size_t ASize) noexcept;
};

#define DX_XML_POOLED_CLASS                                                                        \
 public:                                                                                           \
  static void* operator new(size_t ASize) { return TdxXMLMemory::Allocate(ASize); }                \
  static void operator delete(void* P, size_t ASize) noexcept { TdxXMLMemory::Release(P, ASize); } \
                                                                                                   \
 private:

// ---------------------------------------------------------------------------
// A byte string holding UTF-8 text. Copies share one reference-counted
// buffer, so the reader can hand the same name to many nodes for the price of
// a counter; the bytes of a buffer never change once it is shared.
class TdxXMLString {
 public:
  TdxXMLString() noexcept = default;
  TdxXMLString(const char* AText);  // NUL-terminated UTF-8
  TdxXMLString(const char* AData, size_t ALength);
  TdxXMLString(std::string_view AText) : TdxXMLString(AText.data(), AText.size()) {}
  TdxXMLString(const TdxXMLString& S) noexcept : FBuffer(S.FBuffer) {
    if (FBuffer) FBuffer->RefCount.fetch_add(1, std::memory_order_relaxed);
  }
  TdxXMLString(TdxXMLString&& S) noexcept : FBuffer(S.FBuffer) { S.FBuffer = nullptr; }
  TdxXMLString& operator=(const TdxXMLString& S) noexcept;
  TdxXMLString& operator=(TdxXMLString&& S) noexcept;
  ~TdxXMLString() { Release(FBuffer); }

  // A new string of ALength bytes that the caller fills through AData before
  // the string is copied anywhere.
  static TdxXMLString Uninitialized(size_t ALength, char*& AData);
  // The UTF-8 form of a UTF-16 text (code page 65001).
  static TdxXMLString FromString(const String& AText);

  // Never null: an empty string gives "".
  const char* Data() const noexcept { return FBuffer ? FBuffer->Data : ""; }
  size_t Length() const noexcept { return FBuffer ? FBuffer->Length : 0; }
  bool IsEmpty() const noexcept { return !FBuffer; }
  std::string_view View() const noexcept { return std::string_view(Data(), Length()); }
  Byte operator[](size_t AIndex) const noexcept { return static_cast<Byte>(Data()[AIndex]); }
  // True when both strings are the same buffer (not only equal bytes).
  bool SharesStorageWith(const TdxXMLString& S) const noexcept {
    return FBuffer && FBuffer == S.FBuffer;
  }
  // The UTF-16 text (code page 65001; malformed bytes become U+FFFD).
  String ToString() const;

  friend bool operator==(const TdxXMLString& L, const TdxXMLString& R) noexcept {
    return L.FBuffer == R.FBuffer || L.View() == R.View();
  }
  friend bool operator==(const TdxXMLString& L, std::string_view R) noexcept {
    return L.View() == R;
  }
  friend bool operator==(const TdxXMLString& L, const char* R) noexcept {
    return L.View() == std::string_view(R);
  }

 private:
  struct TBuffer {
    std::atomic<int32_t> RefCount;
    uint32_t Length;
    char Data[1];
  };
  static void Release(TBuffer* ABuffer) noexcept;
  static TBuffer* Allocate(size_t ALength);
  TBuffer* FBuffer = nullptr;
};

// True when the two texts are equal ignoring the case of the letters A to Z
// (the comparison of every name lookup in this module).
bool dxXMLSameName(std::string_view A, std::string_view B) noexcept;

// ---------------------------------------------------------------------------
DECLARE_EXCEPTION(EdxXMLUnexpectedToken, EdxException)

// The date-time text of XML Schema: "2020-01-02", "2020-01-02T03:04:05.5Z",
// "2020-01-02T03:04:05+02:00".
struct TdxXMLDateTime {
  Word Year = 0;
  Word Month = 0;
  Word Day = 0;
  Word Hour = 0;
  Word Minute = 0;
  Word Second = 0;
  Word Millisecond = 0;
  bool IsUTC = false;

  void Clear() { *this = TdxXMLDateTime(); }
  void Assign(TDateTime ADateTime, bool AIsUTC);
  // Raises EdxXMLUnexpectedToken for a wrong delimiter or a number too long
  // for its field. A time with an offset is turned into UTC.
  void Parse(const String& S);
  // Raises EConvertError for an impossible date or time.
  TDateTime ToDateTime() const;
  // "yyyy-mm-dd'T'hh:nn:ss.zzz", followed by "Z" for a UTC value.
  String ToString() const;
};

// ---------------------------------------------------------------------------
// The characters the writer writes as entities, in the order in which the
// reader also tries them.
struct TdxXMLEscape {
  char Value;
  std::string_view Entity;
};
inline constexpr TdxXMLEscape dxXMLEscapeTable[8] = {
    {'\t', "&#9;"},   {'\n', "&#10;"}, {'\r', "&#13;"}, {'"', "&quot;"},
    {'\'', "&apos;"}, {'<', "&lt;"},   {'>', "&gt;"},   {'&', "&amp;"}};

// The bytes that end a name or an unquoted value in the reader: white
// space, "/", "<", "=", ">" and both quotes.
constexpr bool dxXMLIsDelimiter(Byte B) {
  switch (B) {
    case 9:
    case 10:
    case 13:
    case 32:
    case '/':
    case '<':
    case '=':
    case '>':
    case '"':
    case '\'':
      return true;
    default:
      return false;
  }
}

// The words of node-text booleans, false first.
inline constexpr std::string_view dxXMLBooleanWords[2] = {"false", "true"};

class TdxXMLStringBuilder;

class TdxXMLHelper {
 public:
  // An integer text is true when it is not 0; any other text is true exactly
  // when it is "true" in any letter case.
  static bool DecodeBoolean(const String& AValue);
  static bool IsBoolean(const String& AValue);
  static String EncodeBoolean(bool AValue);
  // Unescapes entities, character references and escaped bytes (_xHHHH_) in
  // one pass; the result is not scanned again.
  static TdxXMLString DecodeString(const TdxXMLString& S);
  // Escapes for the writer; ARemoveBreakLines turns line breaks into spaces
  // (attribute values).
  static TdxXMLString EncodeString(const TdxXMLString& S, bool ARemoveBreakLines);
  static TdxXMLString EncodeString(const String& S, bool ARemoveBreakLines);
  // Whether the reader would lose bytes of the text unless it is marked
  // xml:space="preserve".
  static bool IsPreserveSpacesNeeded(const TdxXMLString& S);
  static bool IsPreserveSpacesNeeded(const String& S);

  // Appends the unescaped form of AValue to AResult; false (AResult left as
  // it was) when AValue holds nothing to unescape.
  static bool DecodeInto(std::string_view AValue, std::string& AResult);
  // Appends the escaped form of AValue to ABuilder.
  static void EncodeInto(std::string_view AValue, bool ARemoveBreakLines,
                         TdxXMLStringBuilder& ABuilder);
};

// ---------------------------------------------------------------------------
// A growable byte buffer for the writer.
class TdxXMLStringBuilder : public TObject {
  DECLARE_CLASS(TdxXMLStringBuilder, TObject)
 public:
  explicit TdxXMLStringBuilder(Integer ACapacity = 0);

  void Append(Byte AByte) {
    if (FLength < FCapacity) {
      FData[FLength++] = AByte;
    } else {
      SetLength(FLength + 1);
      FData[FLength - 1] = AByte;
    }
  }
  void Append(const TdxXMLString& AValue) { Append(AValue.Data(), AValue.Length()); }
  void Append(std::string_view AValue) { Append(AValue.data(), AValue.size()); }
  void Append(const void* AData, size_t ALength);
  TdxXMLString AsString() const;
  std::string_view View() const {
    return std::string_view(reinterpret_cast<const char*>(FData.get()), FLength);
  }

  Integer GetCapacity() const { return FCapacity; }
  // Raises EdxException (without a message) below the current length.
  void SetCapacity(Integer AValue);
  Integer GetLength() const { return FLength; }
  // Grows the capacity to twice itself, or to twice AValue when that is still
  // too little, or to exactly AValue when doubling overflows. A failed growth
  // keeps the old length and passes the error on.
  void SetLength(Integer AValue);

 private:
  std::unique_ptr<Byte[]> FData;
  Integer FCapacity = 0;
  Integer FLength = 0;
};

// ---------------------------------------------------------------------------
class TdxXMLNode;
class TdxXMLDocument;

class TdxXMLNodeAttribute : public TcxDoublyLinkedObject {
  DECLARE_CLASS(TdxXMLNodeAttribute, TcxDoublyLinkedObject)
  DX_XML_POOLED_CLASS
 public:
  const TdxXMLString& Name() const { return FName; }
  void SetName(const TdxXMLString& AValue) { FName = AValue; }
  const TdxXMLString& Value() const { return FValue; }
  void SetValue(const TdxXMLString& AValue) { FValue = AValue; }
  TdxXMLNodeAttribute* Next() const { return static_cast<TdxXMLNodeAttribute*>(inherited::Next()); }
  TdxXMLNodeAttribute* Prev() const { return static_cast<TdxXMLNodeAttribute*>(inherited::Prev()); }

  String GetValueAsString() const { return FValue.ToString(); }
  bool GetValueAsBoolean() const;
  // A word "true" or "false" reads as 1 or 0; any other non-number raises
  // EConvertError.
  Integer GetValueAsInteger() const;
  Int64 GetValueAsInt64() const;
  // Raises EConvertError for a malformed number.
  Double GetValueAsFloat() const;
  TDateTime GetValueAsDateTime() const;

  void SetValueAsString(const String& AValue) { FValue = TdxXMLString::FromString(AValue); }
  void SetValueAsBoolean(bool AValue) { FValue = AValue ? "1" : "0"; }
  void SetValueAsInteger(Integer AValue);
  void SetValueAsInt64(Int64 AValue);
  void SetValueAsFloat(Double AValue);
  void SetValueAsDateTime(TDateTime AValue);
  void SetValueAsDateTime(const TdxXMLDateTime& AValue);

 private:
  TdxXMLString FName;
  TdxXMLString FValue;
};

class TdxXMLNodeAttributes : public TcxDoublyLinkedObjectList {
  DECLARE_CLASS(TdxXMLNodeAttributes, TcxDoublyLinkedObjectList)
  DX_XML_POOLED_CLASS
 public:
  using TOwnerType = TdxXMLNode;
  explicit TdxXMLNodeAttributes(TdxXMLNode* ANode = nullptr) : FNode(ANode) {}

  TcxDoublyLinkedObject* CreateLinkedObject() override;
  TClass GetLinkedObjectClass() const override;

  using inherited::Add;
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, bool AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, Integer AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, Int64 AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, Double AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, const TdxXMLString& AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, const char* AValue) {
    return Add(AName, TdxXMLString(AValue));
  }
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, const String& AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, const wchar_t* AValue) {
    return Add(AName, String(AValue));
  }
  void Assign(TdxXMLNodeAttributes* ASource);
  void Delete(const TdxXMLString& AName);
  using inherited::Delete;
  bool Exists(const TdxXMLString& AName) const;
  bool Find(const TdxXMLString& AName, TdxXMLNodeAttribute*& AAttr) const;

  TdxXMLString GetValue(const TdxXMLString& AName,
                        const TdxXMLString& ADefault = TdxXMLString()) const;
  String GetValueAsString(const TdxXMLString& AName, const String& ADefault = String()) const;
  bool GetValueAsBoolean(const TdxXMLString& AName, bool ADefault = false) const;
  TdxDefaultBoolean GetValueAsDefaultBoolean(const TdxXMLString& AName) const;
  Integer GetValueAsInteger(const TdxXMLString& AName, Integer ADefault = 0) const;
  Int64 GetValueAsInt64(const TdxXMLString& AName, Int64 ADefault = 0) const;
  Double GetValueAsFloat(const TdxXMLString& AName, Double ADefault = 0) const;
  TDateTime GetValueAsDateTime(const TdxXMLString& AName, TDateTime ADefault = 0) const;
  bool GetValueAsDateTime(const TdxXMLString& AName, TdxXMLDateTime& ADateTime) const;

  void SetValue(const TdxXMLString& AName, const TdxXMLString& AValue);
  void SetValueAsString(const TdxXMLString& AName, const String& AValue);
  void SetValueAsBoolean(const TdxXMLString& AName, bool AValue);
  void SetValueAsDefaultBoolean(const TdxXMLString& AName, TdxDefaultBoolean AValue);
  void SetValueAsInteger(const TdxXMLString& AName, Integer AValue);
  void SetValueAsInt64(const TdxXMLString& AName, Int64 AValue);
  void SetValueAsFloat(const TdxXMLString& AName, Double AValue);
  void SetValueAsDateTime(const TdxXMLString& AName, TDateTime AValue);
  void SetValueAsDateTime(const TdxXMLString& AName, const TdxXMLDateTime& AValue);

  TdxXMLNodeAttribute* First() const {
    return static_cast<TdxXMLNodeAttribute*>(inherited::First());
  }
  TdxXMLNodeAttribute* Last() const { return static_cast<TdxXMLNodeAttribute*>(inherited::Last()); }
  TdxXMLNode* Node() const { return FNode; }

 private:
  TdxXMLNodeAttribute* FindOrAdd(const TdxXMLString& AName);
  TdxXMLNode* FNode;
};

// The child list of a node; it frees its nodes.
class TdxXMLNodes : public TcxDoublyLinkedObjectList {
  DECLARE_CLASS(TdxXMLNodes, TcxDoublyLinkedObjectList)
  DX_XML_POOLED_CLASS
 public:
  ~TdxXMLNodes() override;
  TClass GetLinkedObjectClass() const override;
  // Frees every node with its subtree without recursing, so that a tree of
  // any depth can go.
  void Clear() override;
  TdxXMLNode* First() const;
  TdxXMLNode* Last() const;
};

using TdxXMLNodeForEachProc = void (*)(TdxXMLNode* ANode, Pointer AUserData);
using TdxXMLNames = std::vector<TdxXMLString>;

class TdxXMLNode : public TcxDoublyLinkedObject {
  DECLARE_CLASS(TdxXMLNode, TcxDoublyLinkedObject)
  DX_XML_POOLED_CLASS
 public:
  TdxXMLNode() = default;
  // Takes the node out of its parent's child list first, so that freeing
  // any node detaches it.
  ~TdxXMLNode() override;
  void AfterConstruction() override;

  virtual void CheckTextEncoding();
  virtual TdxXMLNodeAttributes* CreateAttributes();
  virtual bool GetIsEmpty() const;
  // The class AddChild creates.
  virtual TClass GetNodeClass() const;
  virtual void ReadData() {}
  virtual void WriteAttributes(TStream* AStream);
  virtual void WriteChildren(TStream* AStream, bool AAutoIndent);
  virtual void WriteContent(TStream* AStream, bool AAutoIndent);
  virtual void WriteData(TStream* AStream, bool AAutoIndent);
  // Empties the attribute list and frees the children; name and text stay.
  virtual void Clear();
  // The first child of that name, ignoring the case of A to Z.
  virtual bool FindChild(const TdxXMLString& AName, TdxXMLNode*& ANode) const;
  TdxXMLNode* FindChild(const TdxXMLString& AName) const;
  // Walks the path from this node; a missing step is created when
  // ACanCreate is set. False for an empty path or a walk that ended on nil.
  bool FindChild(const TdxXMLNames& ANames, TdxXMLNode*& ANode, bool ACanCreate = false);

  TdxXMLNode* AddChild(const TdxXMLString& ATagName);
  // Copies name, attributes and every child (recursively, the same way);
  // the node's own text is neither copied nor cleared.
  void Assign(TdxXMLNode* ASource);
  void ForEach(TdxXMLNodeForEachProc AProc, Pointer AUserData);
  String GetChildValue(const TdxXMLString& AName) const;
  bool HasAttribute(const TdxXMLString& AName) const { return FAttributes->Exists(AName); }
  // Floating-point values are written with "." like every number here.
  void SetAttribute(const TdxXMLString& AName, const Variant& AValue);

  Integer GetCount() const { return FChildren ? FChildren->Count() : 0; }
  TdxXMLNode* GetFirst() const { return FChildren ? FChildren->First() : nullptr; }
  TdxXMLNode* GetNext() const { return static_cast<TdxXMLNode*>(inherited::Next()); }
  TdxXMLNode* GetPrev() const { return static_cast<TdxXMLNode*>(inherited::Prev()); }
  TdxXMLNode* GetLast() const { return FChildren ? FChildren->Last() : nullptr; }
  bool GetHasChildren() const { return GetFirst() != nullptr; }
  // Position among the parent's children; -1 without a parent.
  Integer GetIndex() const;
  // Raises EListError "List index out of bounds (%d)".
  TdxXMLNode* GetItem(Integer AIndex) const;
  // The document root is -1, its children 0.
  Integer GetLevel() const;
  bool HasData() const { return GetFirst() != nullptr || !FText.IsEmpty(); }

  const TdxXMLString& Name() const { return FName; }
  void SetName(const TdxXMLString& AValue) { FName = AValue; }
  String GetNameAsString() const { return FName.ToString(); }
  // "xlink:href" gives "xlink:" and "href".
  TdxXMLString GetNameScope() const;
  TdxXMLString GetNameWithoutNameScope() const;

  const TdxXMLString& Text() const { return FText; }
  void SetText(const TdxXMLString& AValue) { FText = AValue; }
  String GetTextAsString() const { return FText.ToString(); }
  void SetTextAsString(const String& AValue) { FText = TdxXMLString::FromString(AValue); }
  bool GetTextAsBoolean() const;
  void SetTextAsBoolean(bool AValue);
  TDateTime GetTextAsDateTime() const;
  void SetTextAsDateTime(TDateTime AValue);
  bool TextIsPreserveSpaceMode() const;

  TdxXMLNodeAttributes* Attributes() const { return FAttributes; }
  TdxXMLNodes* Children() const { return FChildren; }
  TdxXMLNode* Parent() const { return FParent; }

 private:
  friend class TdxXMLNodes;
  TdxXMLNodeAttributes* FAttributes = nullptr;
  TdxXMLNode* FParent = nullptr;
  TdxXMLString FText;
  TdxXMLNodes* FChildren = nullptr;
  TdxXMLString FName;
};

// ---------------------------------------------------------------------------
class TdxXMLDocument : public TcxInterfacedPersistent {
  DECLARE_CLASS(TdxXMLDocument, TcxInterfacedPersistent)
 public:
  explicit TdxXMLDocument(TPersistent* AOwner = nullptr);
  ~TdxXMLDocument() override;
  void AfterConstruction() override;
  // A document read from the file.
  static TdxXMLDocument* CreateEx(const String& AFileName);

  virtual TdxXMLNode* CreateRootNode();
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}

  TdxXMLNode* AddChild(const TdxXMLString& ATagName) { return FRoot->AddChild(ATagName); }
  bool FindChild(const TdxXMLString& AName, TdxXMLNode*& ANode) const {
    return FRoot->FindChild(AName, ANode);
  }
  bool FindChild(const TdxXMLNames& ANames, TdxXMLNode*& ANode) const {
    return FRoot->FindChild(ANames, ANode, false);
  }
  TdxXMLNode* FindChild(const TdxXMLNames& ANames) const;
  void ForEach(const TdxXMLNames& ANames, TdxXMLNodeForEachProc AProc, Pointer AUserData);

  void LoadFromFile(const String& AFileName);
  // Reads from the stream's position to its end. Markup never raises; only
  // the stream and memory exhaustion do.
  void LoadFromStream(TStream* AStream);
  void LoadFromString(const TdxXMLString& AString);
  void SaveToFile(const String& AFileName);
  void SaveToStream(TStream* AStream);
  TdxXMLString GetHeaderText() const;

  bool AutoIndent() const { return FAutoIndent; }
  void SetAutoIndent(bool AValue) { FAutoIndent = AValue; }
  const TdxXMLString& Encoding() const { return FEncoding; }
  void SetEncoding(const TdxXMLString& AValue) { FEncoding = AValue; }
  TdxXMLNode* Root() const { return FRoot; }
  const TdxXMLString& Standalone() const { return FStandalone; }
  void SetStandalone(const TdxXMLString& AValue) { FStandalone = AValue; }
  const TdxXMLString& Version() const { return FVersion; }
  void SetVersion(const TdxXMLString& AValue) { FVersion = AValue; }

 private:
  void LoadFromBuffer(const void* AData, NativeInt ACount);
  bool FAutoIndent = false;
  TdxXMLString FEncoding = "UTF-8";
  TdxXMLNode* FRoot = nullptr;
  TdxXMLString FStandalone;
  TdxXMLString FVersion = "1.0";
};

// ---------------------------------------------------------------------------
// The reader: a forgiving single-pass scanner over bytes in memory.
enum TdxXMLEncoding { dxxeNone, dxxeUTF8, dxxeWindows };

enum TdxXMLTokenID {
  ttUnknown,
  ttEqual,
  ttTagHeaderBegin,
  ttTagHeaderEnd,
  ttTagEnd,
  ttTagFooter,
  ttComment
};

struct TdxXMLToken {
  const Byte* Buffer = nullptr;
  NativeInt BufferLengthInChars = 0;
  TdxXMLTokenID TokenType = ttUnknown;
};

// Keeps one string per distinct name or value for the duration of a load.
class TdxXMLParserSharedStrings : public TObject {
  DECLARE_CLASS(TdxXMLParserSharedStrings, TObject)
 public:
  static constexpr Cardinal TableSize = 65535;
  TdxXMLParserSharedStrings();
  ~TdxXMLParserSharedStrings() override;
  const TdxXMLString& Add(const TdxXMLToken& AToken) {
    return DoAdd(reinterpret_cast<const char*>(AToken.Buffer),
                 static_cast<size_t>(AToken.BufferLengthInChars), nullptr);
  }
  const TdxXMLString& Add(const TdxXMLString& AValue) {
    return DoAdd(AValue.Data(), AValue.Length(), &AValue);
  }
  const TdxXMLString& Add(std::string_view AValue) {
    return DoAdd(AValue.data(), AValue.size(), nullptr);
  }
  void Clear();

 private:
  struct TValue {
    Cardinal Hash;
    TdxXMLString Value;
    TValue* Next;
  };
  const TdxXMLString& DoAdd(const char* P, size_t L, const TdxXMLString* AValue);
  std::unique_ptr<TValue*[]> FTable;
  // Entries live in blocks so that a load of many values allocates rarely.
  std::vector<std::unique_ptr<TValue[]>> FBlocks;
  size_t FBlockUsed = 0;
};

class TdxXMLParser : public TObject {
  DECLARE_CLASS(TdxXMLParser, TObject)
 public:
  explicit TdxXMLParser(TdxXMLDocument* ADocument);
  // Fills the document from ACount bytes at AScan; never reads outside them.
  void Parse(const void* AScan, NativeInt ACount);
  TdxXMLEncoding Encoding() const { return FEncoding; }
  Cardinal EncodingCodePage() const { return FEncodingCodePage; }

 private:
  bool NextToken(TdxXMLToken& AToken);
  NativeInt SectionLength(std::string_view AOpen, std::string_view AClose,
                          const Byte*& ANoCloseFrom) const;
  // The node the main loop goes on with: the node itself after ">", its
  // parent after "/>" or at the end of the data, nil where the header breaks.
  TdxXMLNode* ParseNodeHeader(TdxXMLNode* ANode);
  void ParseDocumentHeader();
  void ParseEncoding(const TdxXMLString& AEncoding);
  void ParseNodeValue(TdxXMLNode* ANode, const Byte* AFrom, const Byte* ATo);
  void SkipMarkup();
  // UTF-8 bytes of a Windows-NNNN document's text; the input elsewhere. The
  // view is valid until the next call.
  std::string_view FromCodePage(std::string_view AValue);
  // The bytes of a value or text after code-page conversion and unescaping;
  // a view valid until the next call.
  std::string_view DecodeValue(const Byte* AData, NativeInt ALength);
  const TdxXMLString& InternName(const TdxXMLToken& AToken);

  const Byte* FData = nullptr;
  NativeInt FDataLength = 0;
  TdxXMLDocument* FDocument;
  TdxXMLEncoding FEncoding = dxxeNone;
  Cardinal FEncodingCodePage = 0;
  TOwned<TdxXMLParserSharedStrings> FSharedStrings;
  // Where a search for the end of a comment or CDATA section already failed:
  // a later search from there on fails too, so markup full of unterminated
  // sections still reads in linear time.
  const Byte* FNoCommentEndFrom = nullptr;
  const Byte* FNoCDataEndFrom = nullptr;
  std::string FConverted;
  std::string FDecoded;
  std::wstring FWide;
};
