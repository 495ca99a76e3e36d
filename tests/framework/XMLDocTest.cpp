#include <gtest/gtest.h>

#include <fstream>

#include "XMLDoc.h"

namespace {

String TempFile(const String& Name) {
  wchar_t Dir[MAX_PATH];
  GetTempPathW(MAX_PATH, Dir);
  return String(Dir) + Name;
}

void WriteBytes(const String& Path, const std::string& Bytes) {
  HANDLE H = CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(H, INVALID_HANDLE_VALUE);
  DWORD Written = 0;
  WriteFile(H, Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr);
  CloseHandle(H);
}

TEST(XMLDoc, ReadsItemsAttributesAndCyrillic) {
  String Path = TempFile(L"xmldoc-items.xml");
  // UTF-8 text with a Cyrillic caption, a comment and an attribute left out.
  WriteBytes(Path,
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root>\n"
             "  <Item Caption=\"\xD0\x9D\xD0\xB0\xD0\xB4\xD1\x8B\xD0\xBC\" xold=\"1.5\"/>\n"
             "  <!-- note -->\n  <item Caption=\"B\"/>\n</Root>\n");
  TXMLDocument Doc;
  Doc.LoadFromFile(Path);
  ASSERT_TRUE(Doc.Active());
  IXMLNode Root = Doc.DocumentElement();
  EXPECT_EQ(Root.NodeName(), L"Root");
  IXMLNodeList Items = Root.ChildNodes();
  ASSERT_EQ(Items.Count(), 3);
  EXPECT_EQ(Items[0].Attributes(L"Caption"), L"Надым");
  EXPECT_EQ(Items[0].Attributes(L"xold"), L"1.5");
  EXPECT_TRUE(Items[0].HasAttribute(L"xold"));
  EXPECT_FALSE(Items[0].HasAttribute(L"yold"));
  EXPECT_EQ(Items[0].Attributes(L"yold"), L"");
  EXPECT_EQ(Items[1].NodeName(), L"#comment");
  EXPECT_EQ(Items[1].Attributes(L"Caption"), L"");
  EXPECT_EQ(Items[2].NodeName(), L"item");
  EXPECT_THROW(Items[3], EXMLDocError);
  DeleteFileW(Path.c_str());
}

TEST(XMLDoc, WritesAndReadsBackElementTexts) {
  String Path = TempFile(L"xmldoc-settings.xml");
  {
    TXMLDocument Doc;
    Doc.SetActive(true);
    Doc.SetDocumentElement(Doc.CreateElement(L"CSSettings"));
    IXMLNode Root = Doc.DocumentElement();
    Root.AddChild(L"InPath").SetText(L"C:\\Данные\\вход");
    Root.AddChild(L"ShowError").SetText(L"T");
    Root.AddChild(L"Empty");
    Doc.SaveToFile(Path);
    // Saving again replaces the file.
    Doc.SaveToFile(Path);
  }
  TXMLDocument Back;
  Back.LoadFromFile(Path);
  IXMLNodeList Nodes = Back.DocumentElement().ChildNodes();
  ASSERT_EQ(Nodes.Count(), 3);
  EXPECT_EQ(Nodes[0].NodeName(), L"InPath");
  EXPECT_EQ(Nodes[0].Text(), L"C:\\Данные\\вход");
  EXPECT_EQ(Nodes[1].Text(), L"T");
  EXPECT_EQ(Nodes[2].Text(), L"");
  // An element that holds elements has no single text.
  EXPECT_THROW(Back.DocumentElement().Text(), EXMLDocError);
  DeleteFileW(Path.c_str());
}

TEST(XMLDoc, AddChildMakesTheDocumentElementFirst) {
  TXMLDocument Doc;
  Doc.SetActive(true);
  IXMLNode Root = Doc.AddChild(L"A");
  Doc.AddChild(L"B");
  EXPECT_EQ(Doc.DocumentElement().NodeName(), L"A");
  EXPECT_EQ(Root.ChildNodes().Count(), 1);
  EXPECT_TRUE(Root.ChildNode(L"B"));
  EXPECT_FALSE(Root.ChildNode(L"C"));
}

TEST(XMLDoc, MalformedAndMissingFilesRaiseParseErrors) {
  String Path = TempFile(L"xmldoc-bad.xml");
  WriteBytes(Path, "<Root>\n<Item Caption=\"x\">\n</Root>\n");
  TXMLDocument Doc;
  try {
    Doc.LoadFromFile(Path);
    FAIL() << "a malformed file must raise";
  } catch (EDOMParseError& E) {
    EXPECT_FALSE(E.Reason().empty());
    // Where the parser reports the position (Wine's does not), the message
    // carries it; the reason is always there.
    EXPECT_NE(Pos(L"Line: " + std::to_wstring(E.Line()), E.Message()), 0);
    EXPECT_EQ(Pos(E.Reason(), E.Message()), 1);
  }
  DeleteFileW(Path.c_str());
  EXPECT_THROW(Doc.LoadFromFile(TempFile(L"no-such-file-here.xml")), EDOMParseError);
  TXMLDocument Inactive;
  EXPECT_THROW(Inactive.DocumentElement(), EXMLDocError);
}

}  // namespace
