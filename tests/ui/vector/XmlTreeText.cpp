#include "XmlTreeText.h"

#include <vector>

namespace {
void AppendEscaped(std::string& S, std::string_view AValue) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  for (const char C : AValue) {
    const Byte B = static_cast<Byte>(C);
    if (B > 0x20 && B < 0x7F && B != '\\' && B != '=' && B != '"') {
      S += C;
    } else {
      S += "\\x";
      S += Hex[B >> 4];
      S += Hex[B & 0xF];
    }
  }
}

void AppendInteger(std::string& S, Integer AValue) {
  if (AValue < 0) {
    S += '-';
    AValue = -AValue;
  }
  char Digits[12];
  int N = 0;
  do {
    Digits[N++] = static_cast<char>('0' + AValue % 10);
    AValue /= 10;
  } while (AValue > 0);
  while (N > 0) S += Digits[--N];
}

void AppendLine(std::string& S, const TdxXMLNode* ANode, Integer ADepth, bool ASaved) {
  AppendInteger(S, ADepth);
  S += ' ';
  AppendEscaped(S, ANode->Name().View());
  for (TdxXMLNodeAttribute* A = ANode->Attributes()->First(); A; A = A->Next()) {
    if (ASaved && dxXMLSameName(A->Name().View(), "xml:space")) continue;
    S += ' ';
    AppendEscaped(S, A->Name().View());
    S += '=';
    if (ASaved) {
      std::string Value(A->Value().View());
      for (char& C : Value)
        if (C == '\r' || C == '\n') C = ' ';
      AppendEscaped(S, Value);
    } else {
      AppendEscaped(S, A->Value().View());
    }
  }
  if (!ANode->Text().IsEmpty()) {
    S += " \"";
    AppendEscaped(S, ANode->Text().View());
  }
  S += '\n';
}

std::string TreeText(const TdxXMLNode* ARoot, bool ASaved) {
  std::string S;
  if (!ASaved && !ARoot->Text().IsEmpty()) AppendLine(S, ARoot, -1, false);
  // Depth first without recursion: trees may be very deep.
  struct TItem {
    const TdxXMLNode* Node;
    Integer Depth;
  };
  std::vector<TItem> Pending;
  for (const TdxXMLNode* N = ARoot->GetLast(); N; N = N->GetPrev()) Pending.push_back({N, 0});
  while (!Pending.empty()) {
    const TItem Item = Pending.back();
    Pending.pop_back();
    AppendLine(S, Item.Node, Item.Depth, ASaved);
    for (const TdxXMLNode* N = Item.Node->GetLast(); N; N = N->GetPrev())
      Pending.push_back({N, Item.Depth + 1});
  }
  return S;
}
}  // namespace

std::string XmlEscapeField(std::string_view AValue) {
  std::string S;
  AppendEscaped(S, AValue);
  return S;
}

std::string XmlTreeText(const TdxXMLNode* ARoot) { return TreeText(ARoot, false); }

std::string XmlSavedTreeText(const TdxXMLNode* ARoot) { return TreeText(ARoot, true); }
