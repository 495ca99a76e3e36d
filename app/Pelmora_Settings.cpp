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

String DuplicateCaptionsMessage(const std::vector<String>& ACaptions, const String& AFileName) {
  String Repeated;
  for (size_t I = 0; I < ACaptions.size(); ++I) {
    bool Earlier = false;
    for (size_t J = 0; J < I && !Earlier; ++J) Earlier = AnsiSameText(ACaptions[J], ACaptions[I]);
    if (Earlier) continue;
    std::vector<String> Places;
    for (size_t J = I; J < ACaptions.size(); ++J)
      if (AnsiSameText(ACaptions[J], ACaptions[I]))
        Places.push_back(IntToStr(static_cast<Integer>(J + 1)));
    if (Places.size() < 2) continue;
    String List;
    for (const String& P : Places) List += (List.empty() ? L"" : L", ") + P;
    Repeated += L"\r\n\"" + ACaptions[I] + L"\" (элементы Item № " + List + L")";
  }
  if (Repeated.empty()) return String();
  return L"В файле параметров \"" + AFileName +
         L"\" несколько муниципальных образований названы одинаково:" + Repeated +
         L"\r\nДля пересчета берутся параметры того из них, что выбрано в списке; "
         L"дайте им разные названия, чтобы их можно было различить.";
}

namespace {

// The "Item" the user chose: the AIndex-th when its caption is ACaption,
// else the first whose caption equals ACaption without regard to case.
IXMLNode ChosenItem(const IXMLNode& xDe, const String& ACaption, Integer AIndex) {
  IXMLNodeList Nodes = xDe.ChildNodes();
  IXMLNode First;
  Integer Item = -1;
  for (Integer I = 0; I < Nodes.Count(); ++I) {
    IXMLNode Node = Nodes[I];
    if (!IsItem(Node)) continue;
    ++Item;
    if (!Node.HasAttribute(L"Caption")) continue;
    String Caption = Node.Attributes(L"Caption");
    if (Item == AIndex && Caption == ACaption) return Node;
    if (!First && AnsiSameText(Caption, ACaption)) First = Node;
  }
  return First;
}

}  // namespace

bool cxComboBox2Click(const IXMLNode& xDe, const String& ACaption, TFormationParams& AParams,
                      Integer AIndex) {
  AParams.msk89.clear();
  IXMLNode Item = ChosenItem(xDe, ACaption, AIndex);
  if (!Item) return false;
  String Caption = Item.Attributes(L"Caption");
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

TFormationParams RunFormation(const IXMLNode& xDe, const String& ACaption, Integer AIndex) {
  TFormationParams P;
  if (!cxComboBox2Click(xDe, ACaption, P, AIndex))
    throw EFormationError(L"Муниципальное образование \"" + Trim(ACaption) +
                          L"\" не найдено в файле параметров.");
  if (Trim(P.msk89).empty())
    throw EFormationError(L"Ошибка в файле параметров: муниципальное образование \"" + ACaption +
                          L"\", атрибут msk89: значение не задано.");
  TCoordTransform Check(P, ACaption);
  return P;
}

String MissingParameterFileMessage(const String& AFileName) {
  return L"Не найден файл параметров \"" + AFileName + L"\".";
}

namespace {

Int64 FileSizeOf(const String& AFileName) {
  WIN32_FILE_ATTRIBUTE_DATA A;
  if (!GetFileAttributesExW(AFileName.c_str(), GetFileExInfoStandard, &A)) return -1;
  return (static_cast<Int64>(A.nFileSizeHigh) << 32) | A.nFileSizeLow;
}

// Loads AFileName into ADoc; AWhat names the file's role ("Файл параметров").
// The parser's own message says neither which file nor, on an empty file,
// anything a user can act on.
void LoadConfigFile(TXMLDocument& ADoc, const String& AFileName, const String& AWhat) {
  const String Named = AWhat + L" \"" + AFileName + L"\"";
  if (!FileExists(AFileName)) throw EConfigFileError(Named + L" не найден.");
  if (FileSizeOf(AFileName) == 0) throw EConfigFileError(Named + L" пуст.");
  try {
    ADoc.SetActive(true);
    ADoc.LoadFromFile(AFileName);
  } catch (EDOMParseError& E) {
    String Where =
        E.Line() > 0 ? Format(L" (строка %d, позиция %d)", {E.Line(), E.LinePos()}) : String();
    throw EConfigFileError(Named + L" поврежден: это не XML-документ правильного строения" + Where +
                           L". Сообщение разбора: " + Trim(E.Reason()) + L".");
  }
  if (!ADoc.DocumentElement())
    throw EConfigFileError(Named + L" поврежден: в нем нет корневого элемента.");
}

}  // namespace

void LoadParameterFile(TXMLDocument& ADoc, const String& AFileName) {
  LoadConfigFile(ADoc, AFileName, L"Файл параметров");
  if (FormationCaptions(ADoc.DocumentElement()).empty())
    throw EConfigFileError(L"В файле параметров \"" + AFileName +
                           L"\" нет ни одного муниципального образования (элемента Item).");
}

void RestoreSettings(const String& AFileName, TRunSettings& ASettings) {
  auto Doc = MakeOwned<TXMLDocument>();
  LoadConfigFile(*Doc, AFileName, L"Файл настроек");
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
  // The writer's own message is in the framework's English.
  String Why;
  if (!CanWriteFile(AFileName, Why))
    throw EConfigFileError(L"Не удалось записать файл настроек \"" + AFileName + L"\": " + Why);
  try {
    Doc->SaveToFile(AFileName);
  } catch (Exception& E) {
    throw EConfigFileError(L"Не удалось записать файл настроек \"" + AFileName + L"\": " +
                           E.Message());
  }
}
