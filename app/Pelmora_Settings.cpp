#include <cmath>

#include "Pelmora.h"

namespace {

bool IsItem(const IXMLNode& ANode) { return SameText(ANode.NodeName(), L"Item"); }

// Parameter files travel between machines, so their numbers are read with
// either separator rather than with the regional one only.
bool TryParamToFloat(const String& AText, Double& AValue) {
  String S = Trim(AText);
  TFormatSettings F = TFormatSettings::Invariant();
  Double V = 0;
  bool Ok = TryStrToFloat(S, V, F);
  if (!Ok) {
    F.DecimalSeparator = L',';
    Ok = TryStrToFloat(S, V, F);
  }
  if (!Ok || !std::isfinite(V)) return false;
  AValue = V;
  return true;
}

[[noreturn]] void BadParam(const String& ACaption, const String& AName, const String& AText,
                           bool APresent) {
  String Why = APresent && !Trim(AText).empty() ? L"значение \"" + AText + L"\" не является числом"
                                                : String(L"значение не задано");
  throw EFormationError(L"Ошибка в файле параметров: муниципальное образование \"" + ACaption +
                        L"\", атрибут " + AName + L": " + Why + L".");
}

// A transform parameter must be given: keeping the previous formation's
// value would recalculate with someone else's origin.
Double RequiredParam(const IXMLNode& AItem, const String& ACaption, const String& AName) {
  String Text = AItem.Attributes(AName);
  Double V = 0;
  if (!TryParamToFloat(Text, V)) BadParam(ACaption, AName, Text, AItem.HasAttribute(AName));
  return V;
}

// Angle parts may be left out (an angle of whole degrees has no seconds).
Double AnglePart(const IXMLNode& AItem, const String& ACaption, const String& AName) {
  String Text = AItem.Attributes(AName);
  if (Trim(Text).empty()) return 0;
  Double V = 0;
  if (!TryParamToFloat(Text, V)) BadParam(ACaption, AName, Text, true);
  return V;
}

}  // namespace

std::vector<String> FormationCaptions(const IXMLNode& xDe) {
  std::vector<String> Captions;
  IXMLNodeList Nodes = xDe.ChildNodes();
  for (Integer I = 0; I < Nodes.Count(); ++I) {
    IXMLNode Node = Nodes[I];
    if (IsItem(Node)) Captions.push_back(Node.Attributes(L"Caption"));
  }
  return Captions;
}

bool cxComboBox2Click(const IXMLNode& xDe, const String& ACaption, TFormationParams& AParams) {
  AParams.msk89.clear();
  IXMLNodeList Nodes = xDe.ChildNodes();
  for (Integer I = 0; I < Nodes.Count(); ++I) {
    IXMLNode Item = Nodes[I];
    if (!IsItem(Item) || !Item.HasAttribute(L"Caption")) continue;
    String Caption = Item.Attributes(L"Caption");
    if (!AnsiSameText(Caption, ACaption)) continue;
    TFormationParams P;
    P.xold = RequiredParam(Item, Caption, L"xold");
    P.yold = RequiredParam(Item, Caption, L"yold");
    P.xnew = RequiredParam(Item, Caption, L"xnew");
    P.ynew = RequiredParam(Item, Caption, L"ynew");
    P.scale = RequiredParam(Item, Caption, L"scale");
    Double Deg = AnglePart(Item, Caption, L"angleDeg");
    Double Min = AnglePart(Item, Caption, L"angleMin");
    Double Sec = AnglePart(Item, Caption, L"angleSec");
    P.angle = GetAngle(Deg, Min, Sec);
    P.msk89 = Item.Attributes(L"msk89");
    P.sk63 = Item.Attributes(L"sk63");
    AParams = P;
    return true;
  }
  return false;
}

TFormationParams RunFormation(const IXMLNode& xDe, const String& ACaption) {
  TFormationParams P;
  if (!cxComboBox2Click(xDe, ACaption, P))
    throw EFormationError(L"Муниципальное образование \"" + Trim(ACaption) +
                          L"\" не найдено в файле параметров.");
  if (Trim(P.msk89).empty())
    throw EFormationError(L"Ошибка в файле параметров: муниципальное образование \"" + ACaption +
                          L"\", атрибут msk89: значение не задано.");
  TCoordTransform Check(P, ACaption);
  return P;
}

String MissingParameterFileMessage(const String& AFileName) {
  return L"Не найден файл настроек \"" + AFileName + L"\".";
}

void RestoreSettings(const String& AFileName, TRunSettings& ASettings) {
  auto Doc = MakeOwned<TXMLDocument>();
  Doc->SetActive(true);
  Doc->LoadFromFile(AFileName);
  IXMLNodeList Nodes = Doc->DocumentElement().ChildNodes();
  for (Integer I = 0; I < Nodes.Count(); ++I) {
    IXMLNode Node = Nodes[I];
    if (Node.NodeType() != TNodeType::ntElement) continue;
    String Name = Node.NodeName();
    if (SameText(Name, L"InPath"))
      ASettings.InPath = Node.Text();
    else if (SameText(Name, L"OutPath"))
      ASettings.OutPath = Node.Text();
    else if (SameText(Name, L"CS"))
      ASettings.CS = Node.Text();
    else if (SameText(Name, L"MO"))
      ASettings.MO = Node.Text();
    else if (SameText(Name, L"ShowError"))
      ASettings.ShowError = SameText(Node.Text(), L"T");
  }
}

void WriteSettings(const String& AFileName, const TRunSettings& ASettings) {
  auto Doc = MakeOwned<TXMLDocument>();
  Doc->SetActive(true);
  IXMLNode Root = Doc->CreateElement(L"CSSettings");
  Doc->SetDocumentElement(Root);
  Root = Doc->DocumentElement();
  Root.AddChild(L"InPath").SetText(Trim(ASettings.InPath));
  Root.AddChild(L"OutPath").SetText(Trim(ASettings.OutPath));
  Root.AddChild(L"CS").SetText(Trim(ASettings.CS));
  Root.AddChild(L"MO").SetText(Trim(ASettings.MO));
  Root.AddChild(L"ShowError").SetText(ASettings.ShowError ? L"T" : L"F");
  Doc->SaveToFile(AFileName);
}
