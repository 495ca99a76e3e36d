// The XML document object over the platform's MSXML DOM. Nodes are small
// value handles that hold a reference to the DOM node they stand for.
#pragma once

#include <msxml2.h>

#include "ComObj.h"

DECLARE_EXCEPTION(EXMLDocError, Exception)

// A document that is not well-formed: the parser's reason and where it
// stopped (1-based line and column, 0-based file position).
class EDOMParseError : public EXMLDocError {
  DECLARE_EXCEPTION_BODY(EDOMParseError, EXMLDocError)
 public:
  EDOMParseError(const String& AMessage, HRESULT ACode, const String& AReason,
                 const String& ASrcText, const String& AURL, Integer ALine, Integer ALinePos,
                 Integer AFilePos)
      : EXMLDocError(AMessage),
        FErrorCode(ACode),
        FReason(AReason),
        FSrcText(ASrcText),
        FURL(AURL),
        FLine(ALine),
        FLinePos(ALinePos),
        FFilePos(AFilePos) {}
  HRESULT ErrorCode() const { return FErrorCode; }
  const String& Reason() const { return FReason; }
  const String& SrcText() const { return FSrcText; }
  const String& URL() const { return FURL; }
  Integer Line() const { return FLine; }
  Integer LinePos() const { return FLinePos; }
  Integer FilePos() const { return FFilePos; }

 private:
  HRESULT FErrorCode = 0;
  String FReason, FSrcText, FURL;
  Integer FLine = 0, FLinePos = 0, FFilePos = 0;
};

enum class TNodeType {
  ntReserved,
  ntElement,
  ntAttribute,
  ntText,
  ntCData,
  ntEntityRef,
  ntEntity,
  ntProcessingInstr,
  ntComment,
  ntDocument,
  ntDocType,
  ntDocFragment,
  ntNotation
};

class IXMLNodeList;

class IXMLNode {
 public:
  IXMLNode() = default;
  explicit IXMLNode(TComPtr<IXMLDOMNode> ANode) : FNode(std::move(ANode)) {}
  explicit operator bool() const { return static_cast<bool>(FNode); }

  String NodeName() const;
  TNodeType NodeType() const;
  String LocalName() const;
  // True when the element holds nothing but text (or nothing at all).
  bool IsTextElement() const;
  // The element's text; an element with child elements has no single text
  // and raises EXMLDocError, as the document object always did.
  String Text() const;
  void SetText(const String& AValue);
  String XML() const;

  bool HasAttribute(const String& AName) const;
  // The attribute's text; an absent attribute reads as an empty text.
  String Attributes(const String& AName) const;
  void SetAttribute(const String& AName, const String& AValue);

  IXMLNodeList ChildNodes() const;
  bool HasChildNodes() const;
  IXMLNode ParentNode() const;
  // Appends a new child element and returns it.
  IXMLNode AddChild(const String& ATagName);
  // The element's first child element with that name (case-sensitive, as
  // the DOM), or an empty handle.
  IXMLNode ChildNode(const String& AName) const;

  IXMLDOMNode* DOMNode() const { return FNode.Get(); }

 private:
  void CheckAssigned() const;
  TComPtr<IXMLDOMElement> Element() const;
  TComPtr<IXMLDOMNode> FNode;
};

class IXMLNodeList {
 public:
  IXMLNodeList() = default;
  explicit IXMLNodeList(TComPtr<IXMLDOMNodeList> AList) : FList(std::move(AList)) {}
  Integer Count() const;
  // Raises EXMLDocError for an index outside 0..Count-1.
  IXMLNode Nodes(Integer AIndex) const;
  IXMLNode operator[](Integer AIndex) const { return Nodes(AIndex); }
  IXMLNode FindNode(const String& ANodeName) const;

 private:
  TComPtr<IXMLDOMNodeList> FList;
};

enum class TXMLDocOption { doNodeAutoCreate, doNodeAutoIndent, doAttrNull, doAutoPrefix };
using TXMLDocOptions = TSet<TXMLDocOption>;

class TXMLDocument : public TObject {
  DECLARE_CLASS(TXMLDocument, TObject)
 public:
  TXMLDocument();
  ~TXMLDocument() override;

  bool Active() const { return static_cast<bool>(FDoc); }
  // Activating creates an empty DOM document; deactivating drops it.
  void SetActive(bool AValue);
  const String& FileName() const { return FFileName; }
  TXMLDocOptions Options() const { return FOptions; }
  void SetOptions(TXMLDocOptions AValue) { FOptions = AValue; }

  // Loads a file (activating the document); a malformed file raises
  // EDOMParseError, a missing one EDOMParseError with the parser's text.
  void LoadFromFile(const String& AFileName);
  void LoadFromXML(const String& AXML);
  // Writes the document; an existing file is replaced.
  void SaveToFile(const String& AFileName);
  String XML() const;

  IXMLNode DocumentElement() const;
  void SetDocumentElement(const IXMLNode& ANode);
  IXMLNode CreateElement(const String& ATagName) const;
  // With no document element, the new element becomes it; otherwise it is
  // appended to the document element.
  IXMLNode AddChild(const String& ATagName);
  IXMLNodeList ChildNodes() const;

 private:
  void CheckActive() const;
  void RaiseParseError(const String& AURL) const;
  TComPtr<IXMLDOMDocument> FDoc;
  String FFileName;
  TXMLDocOptions FOptions{TXMLDocOption::doNodeAutoCreate, TXMLDocOption::doAttrNull,
                          TXMLDocOption::doAutoPrefix};
};
