#include "XMLDoc.h"

namespace {

[[noreturn]] void RaiseDocError(const String& AMessage) { throw EXMLDocError(AMessage); }

void Check(HRESULT AResult) {
  if (FAILED(AResult)) RaiseDocError(OleErrorMessage(AResult));
}

TComPtr<IXMLDOMDocument> NewDOMDocument() {
  // Prefer the newest parser the machine has.
  static const wchar_t* const ProgIDs[] = {L"Msxml2.DOMDocument.6.0", L"Msxml2.DOMDocument.3.0"};
  HRESULT Last = REGDB_E_CLASSNOTREG;
  for (const wchar_t* ProgID : ProgIDs) {
    CLSID Id;
    if (FAILED(CLSIDFromProgID(ProgID, &Id))) continue;
    TComPtr<IXMLDOMDocument> Doc;
    Last = CoCreateInstance(Id, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                            reinterpret_cast<void**>(Doc.ReleaseAndGetAddressOf()));
    if (SUCCEEDED(Last)) {
      Doc->put_async(VARIANT_FALSE);
      Doc->put_validateOnParse(VARIANT_FALSE);
      // The files we read are plain data: no external entities or DTDs.
      Doc->put_resolveExternals(VARIANT_FALSE);
      Doc->put_preserveWhiteSpace(VARIANT_FALSE);
      return Doc;
    }
  }
  throw EXMLDocError(L"Cannot create the XML document object: " + OleErrorMessage(Last));
}

TComPtr<IXMLDOMNode> AsNode(IUnknown* P) {
  TComPtr<IXMLDOMNode> N;
  if (P) P->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(N.ReleaseAndGetAddressOf()));
  return N;
}

}  // namespace

// ---------------------------------------------------------------------------
void IXMLNode::CheckAssigned() const {
  if (!FNode) RaiseDocError(L"Node is not assigned");
}

TComPtr<IXMLDOMElement> IXMLNode::Element() const {
  CheckAssigned();
  auto E = FNode.Query<IXMLDOMElement>(IID_IXMLDOMElement);
  if (!E) RaiseDocError(L"Node \"" + NodeName() + L"\" is not an element");
  return E;
}

String IXMLNode::NodeName() const {
  CheckAssigned();
  TBStr Name;
  Check(FNode->get_nodeName(Name.ReleaseAndGetAddressOf()));
  return Name.ToString();
}

TNodeType IXMLNode::NodeType() const {
  CheckAssigned();
  DOMNodeType T = NODE_INVALID;
  Check(FNode->get_nodeType(&T));
  return static_cast<TNodeType>(T);
}

String IXMLNode::LocalName() const {
  CheckAssigned();
  TBStr Name;
  Check(FNode->get_baseName(Name.ReleaseAndGetAddressOf()));
  return Name.ToString();
}

bool IXMLNode::IsTextElement() const {
  if (NodeType() != TNodeType::ntElement) return false;
  IXMLNodeList Children = ChildNodes();
  for (Integer I = 0; I < Children.Count(); ++I) {
    TNodeType T = Children[I].NodeType();
    if (T != TNodeType::ntText && T != TNodeType::ntCData) return false;
  }
  return true;
}

String IXMLNode::Text() const {
  CheckAssigned();
  if (NodeType() == TNodeType::ntElement && !IsTextElement())
    RaiseDocError(L"Element \"" + NodeName() + L"\" does not contain a single text node");
  TBStr Value;
  Check(FNode->get_text(Value.ReleaseAndGetAddressOf()));
  return Value.ToString();
}

void IXMLNode::SetText(const String& AValue) {
  CheckAssigned();
  TBStr Value(AValue);
  Check(FNode->put_text(Value.Get()));
}

String IXMLNode::XML() const {
  CheckAssigned();
  TBStr Value;
  Check(FNode->get_xml(Value.ReleaseAndGetAddressOf()));
  return Value.ToString();
}

bool IXMLNode::HasAttribute(const String& AName) const {
  CheckAssigned();
  auto E = FNode.Query<IXMLDOMElement>(IID_IXMLDOMElement);
  if (!E) return false;
  TComPtr<IXMLDOMAttribute> Attr;
  TBStr Name(AName);
  return E->getAttributeNode(Name.Get(), Attr.ReleaseAndGetAddressOf()) == S_OK && Attr;
}

String IXMLNode::Attributes(const String& AName) const {
  CheckAssigned();
  auto E = FNode.Query<IXMLDOMElement>(IID_IXMLDOMElement);
  if (!E) return String();
  TBStr Name(AName);
  TOleVariantHolder Value;
  if (E->getAttribute(Name.Get(), Value.Ptr()) != S_OK) return String();
  if (Value.Get().vt != VT_BSTR || !Value.Get().bstrVal) return String();
  return String(Value.Get().bstrVal, SysStringLen(Value.Get().bstrVal));
}

void IXMLNode::SetAttribute(const String& AName, const String& AValue) {
  auto E = Element();
  TBStr Name(AName);
  VARIANT V;
  V.vt = VT_BSTR;
  V.bstrVal = SysAllocStringLen(AValue.data(), static_cast<UINT>(AValue.size()));
  HRESULT R = E->setAttribute(Name.Get(), V);
  SysFreeString(V.bstrVal);
  Check(R);
}

IXMLNodeList IXMLNode::ChildNodes() const {
  CheckAssigned();
  TComPtr<IXMLDOMNodeList> List;
  Check(FNode->get_childNodes(List.ReleaseAndGetAddressOf()));
  return IXMLNodeList(List);
}

bool IXMLNode::HasChildNodes() const {
  CheckAssigned();
  VARIANT_BOOL Has = VARIANT_FALSE;
  Check(FNode->hasChildNodes(&Has));
  return Has != VARIANT_FALSE;
}

IXMLNode IXMLNode::ParentNode() const {
  CheckAssigned();
  TComPtr<IXMLDOMNode> Parent;
  FNode->get_parentNode(Parent.ReleaseAndGetAddressOf());
  return IXMLNode(Parent);
}

IXMLNode IXMLNode::AddChild(const String& ATagName) {
  CheckAssigned();
  TComPtr<IXMLDOMDocument> Doc;
  DOMNodeType T = NODE_INVALID;
  FNode->get_nodeType(&T);
  if (T == NODE_DOCUMENT)
    Doc = FNode.Query<IXMLDOMDocument>(IID_IXMLDOMDocument);
  else
    Check(FNode->get_ownerDocument(Doc.ReleaseAndGetAddressOf()));
  if (!Doc) RaiseDocError(L"Node has no owner document");
  TComPtr<IXMLDOMElement> NewElement;
  TBStr Tag(ATagName);
  Check(Doc->createElement(Tag.Get(), NewElement.ReleaseAndGetAddressOf()));
  TComPtr<IXMLDOMNode> Added;
  Check(FNode->appendChild(AsNode(NewElement.Get()).Get(), Added.ReleaseAndGetAddressOf()));
  return IXMLNode(Added);
}

IXMLNode IXMLNode::ChildNode(const String& AName) const { return ChildNodes().FindNode(AName); }

// ---------------------------------------------------------------------------
Integer IXMLNodeList::Count() const {
  if (!FList) return 0;
  long N = 0;
  Check(FList->get_length(&N));
  return static_cast<Integer>(N);
}

IXMLNode IXMLNodeList::Nodes(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= Count())
    RaiseDocError(L"List index out of bounds (" + std::to_wstring(AIndex) + L")");
  TComPtr<IXMLDOMNode> Node;
  Check(FList->get_item(AIndex, Node.ReleaseAndGetAddressOf()));
  return IXMLNode(Node);
}

IXMLNode IXMLNodeList::FindNode(const String& ANodeName) const {
  for (Integer I = 0, N = Count(); I < N; ++I) {
    IXMLNode Node = Nodes(I);
    if (Node.NodeName() == ANodeName) return Node;
  }
  return IXMLNode();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TXMLDocument)

TXMLDocument::TXMLDocument() = default;
TXMLDocument::~TXMLDocument() = default;

void TXMLDocument::SetActive(bool AValue) {
  if (AValue == Active()) return;
  if (AValue)
    FDoc = NewDOMDocument();
  else
    FDoc.Reset();
}

void TXMLDocument::CheckActive() const {
  if (!FDoc) RaiseDocError(L"XML document is not active");
}

void TXMLDocument::RaiseParseError(const String& AURL) const {
  TComPtr<IXMLDOMParseError> Err;
  FDoc->get_parseError(Err.ReleaseAndGetAddressOf());
  long Code = 0, Line = 0, LinePos = 0, FilePos = 0;
  TBStr Reason, SrcText;
  if (Err) {
    Err->get_errorCode(&Code);
    Err->get_reason(Reason.ReleaseAndGetAddressOf());
    Err->get_srcText(SrcText.ReleaseAndGetAddressOf());
    Err->get_line(&Line);
    Err->get_linepos(&LinePos);
    Err->get_filepos(&FilePos);
  }
  String Why = Reason.ToString();
  while (!Why.empty() && (Why.back() == L'\n' || Why.back() == L'\r')) Why.pop_back();
  if (Why.empty()) Why = L"The document could not be read";
  String Message = Why + L"\r\nLine: " + std::to_wstring(Line) + L"\r\n" + SrcText.ToString();
  throw EDOMParseError(Message, Code, Why, SrcText.ToString(), AURL, Line, LinePos, FilePos);
}

void TXMLDocument::LoadFromFile(const String& AFileName) {
  SetActive(true);
  FFileName = AFileName;
  VARIANT Source;
  Source.vt = VT_BSTR;
  Source.bstrVal = SysAllocStringLen(AFileName.data(), static_cast<UINT>(AFileName.size()));
  VARIANT_BOOL Ok = VARIANT_FALSE;
  HRESULT R = FDoc->load(Source, &Ok);
  SysFreeString(Source.bstrVal);
  if (FAILED(R) || Ok == VARIANT_FALSE) RaiseParseError(AFileName);
}

void TXMLDocument::LoadFromXML(const String& AXML) {
  SetActive(true);
  TBStr Text(AXML);
  VARIANT_BOOL Ok = VARIANT_FALSE;
  HRESULT R = FDoc->loadXML(Text.Get(), &Ok);
  if (FAILED(R) || Ok == VARIANT_FALSE) RaiseParseError(String());
}

void TXMLDocument::SaveToFile(const String& AFileName) {
  CheckActive();
  VARIANT Dest;
  Dest.vt = VT_BSTR;
  Dest.bstrVal = SysAllocStringLen(AFileName.data(), static_cast<UINT>(AFileName.size()));
  HRESULT R = FDoc->save(Dest);
  SysFreeString(Dest.bstrVal);
  if (FAILED(R))
    RaiseDocError(L"Cannot save the XML document to \"" + AFileName + L"\": " + OleErrorMessage(R));
  FFileName = AFileName;
}

String TXMLDocument::XML() const {
  CheckActive();
  TBStr Text;
  Check(FDoc->get_xml(Text.ReleaseAndGetAddressOf()));
  return Text.ToString();
}

IXMLNode TXMLDocument::DocumentElement() const {
  CheckActive();
  TComPtr<IXMLDOMElement> Root;
  FDoc->get_documentElement(Root.ReleaseAndGetAddressOf());
  return IXMLNode(AsNode(Root.Get()));
}

void TXMLDocument::SetDocumentElement(const IXMLNode& ANode) {
  CheckActive();
  if (!ANode) RaiseDocError(L"Node is not assigned");
  TComPtr<IXMLDOMElement> E;
  ANode.DOMNode()->QueryInterface(IID_IXMLDOMElement,
                                  reinterpret_cast<void**>(E.ReleaseAndGetAddressOf()));
  if (!E) RaiseDocError(L"The document element must be an element");
  Check(FDoc->putref_documentElement(E.Get()));
}

IXMLNode TXMLDocument::CreateElement(const String& ATagName) const {
  CheckActive();
  TComPtr<IXMLDOMElement> E;
  TBStr Tag(ATagName);
  Check(FDoc->createElement(Tag.Get(), E.ReleaseAndGetAddressOf()));
  return IXMLNode(AsNode(E.Get()));
}

IXMLNode TXMLDocument::AddChild(const String& ATagName) {
  CheckActive();
  IXMLNode Root = DocumentElement();
  if (Root) return Root.AddChild(ATagName);
  IXMLNode E = CreateElement(ATagName);
  SetDocumentElement(E);
  return DocumentElement();
}

IXMLNodeList TXMLDocument::ChildNodes() const {
  CheckActive();
  return IXMLNode(AsNode(FDoc.Get())).ChildNodes();
}
