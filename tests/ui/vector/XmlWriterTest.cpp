// The writer: output shape, escaping, xml:space marks, and round trips of
// every corpus file through the reader.
#include <gtest/gtest.h>

#include "XmlTestSupport.h"

namespace {

const std::string Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

TEST(XmlWriter, ANewDocumentWithOneElement) {
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  D->AddChild("a");
  EXPECT_EQ(Declaration + "<a/>", SaveXml(D.get(), false));
  EXPECT_EQ(Declaration + "<a/>\r\n", SaveXml(D.get(), true));
}

TEST(XmlWriter, HeaderFields) {
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  D->SetStandalone("yes");
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n",
            D->GetHeaderText());
  D->SetVersion(TdxXMLString());
  D->SetEncoding(TdxXMLString());
  D->SetStandalone(TdxXMLString());
  EXPECT_EQ("", D->GetHeaderText());
  // Saving always declares UTF-8.
  EXPECT_EQ("<?xml encoding=\"UTF-8\"?>\r\n", SaveXml(D.get(), false));
  EXPECT_EQ("UTF-8", D->Encoding());
  // A value that would end the declaration's quotes early is escaped.
  D->SetVersion("1\"0");
  const std::string Saved = SaveXml(D.get(), false);
  EXPECT_EQ("<?xml version=\"1&quot;0\" encoding=\"UTF-8\"?>\r\n", Saved);
  EXPECT_EQ("1\"0", LoadXml(Saved)->Version());
}

TEST(XmlWriter, EscapesTextsAndValues) {
  struct TCase {
    const char* What;
    std::string_view Text;
    std::string_view Value;
    const char* Element;
  };
  const TCase Cases[] = {
      {"markup characters", "a<b&c", "a<b&c", "<e v=\"a&lt;b&amp;c\">a&lt;b&amp;c</e>"},
      {"quotes and >", "\"'>", "\"'>", "<e v=\"&quot;&apos;&gt;\">&quot;&apos;&gt;</e>"},
      {"a line break in a value becomes a space", "x", "a\r\nb\nc", "<e v=\"a  b c\">x</e>"},
      {"tabs are entities", "a\tb", "a\tb", "<e v=\"a&#9;b\">a&#9;b</e>"},
      {"control bytes are escaped", std::string_view("\x01\0\x1F", 3), "\x7F",
       "<e v=\"\x7F\">_x0001__x0000__x001F_</e>"},
      {"an escaped-byte pattern is protected", "_x0041_ _xFFFF_ _x00G1_", "__x0000_",
       "<e v=\"__x005F_x0000_\">_x005F_x0041_ _x005F_xFFFF_ _x00G1_</e>"},
      // An escaped control byte starts with an underscore: one before it in
      // the text would otherwise close an escaped-byte pattern.
      {"an underscore before an escaped control byte", "_x0041\x19", "_x0041\x01",
       "<e v=\"_x005F_x0041_x0001_\">_x005F_x0041_x0019_</e>"},
      {"UTF-8 stays as it is", "\xD0\x96", "\xF0\x9F\x99\x82",
       "<e v=\"\xF0\x9F\x99\x82\">\xD0\x96</e>"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
    TdxXMLNode* E = D->AddChild("e");
    E->SetText(TdxXMLString(C.Text));
    E->Attributes()->Add("v", TdxXMLString(C.Value));
    const std::string Saved = SaveXml(D.get(), false);
    EXPECT_EQ(Declaration + C.Element, Saved);
    // Everything but the line breaks of the value reads back.
    auto Back = LoadXml(Saved);
    EXPECT_EQ(C.Text, Back->Root()->GetFirst()->Text().View());
    std::string Value(C.Value);
    for (char& Ch : Value)
      if (Ch == '\r' || Ch == '\n') Ch = ' ';
    EXPECT_EQ(Value, Back->Root()->GetFirst()->Attributes()->GetValue("v").View());
  }
  EXPECT_EQ("a&lt;&#10;", TdxXMLHelper::EncodeString(String(L"a<\n"), false));
  EXPECT_EQ("a&lt; ", TdxXMLHelper::EncodeString(TdxXMLString("a<\n"), true));
}

TEST(XmlWriter, MarksTextsTheReaderWouldTrim) {
  const std::pair<std::string_view, bool> Texts[] = {
      {" lead", true},  {"trail\t", true}, {"in\nner", true}, {"in\rner", true},   {"\ntext", true},
      {"plain", false}, {"a b", false},    {"", false},       {"\x01x\x01", false}};
  for (const auto& [Text, Marked] : Texts) {
    SCOPED_TRACE(std::string(Text));
    EXPECT_EQ(Marked, TdxXMLHelper::IsPreserveSpacesNeeded(TdxXMLString(Text)));
    TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
    TdxXMLNode* E = D->AddChild("e");
    E->Attributes()->Add("first", "1");
    // A mark that does not fit the text goes, every copy of it; a fitting
    // one is the first, which is the one the reader looks at.
    E->Attributes()->Add("XML:SPACE", "default");
    E->Attributes()->Add("xml:space", "preserve");
    E->SetText(TdxXMLString(Text));
    const std::string Saved = SaveXml(D.get(), true);
    EXPECT_EQ(Marked, Saved.find("SPACE=\"preserve\"") != std::string::npos);
    EXPECT_EQ(Marked ? 3 : 1, E->Attributes()->Count());
    EXPECT_EQ(Marked, E->TextIsPreserveSpaceMode());
    auto Back = LoadXml(Saved);
    EXPECT_EQ(Text, Back->Root()->GetFirst()->Text().View());
  }
  EXPECT_TRUE(TdxXMLHelper::IsPreserveSpacesNeeded(String(L"x ")));
  EXPECT_FALSE(TdxXMLHelper::IsPreserveSpacesNeeded(String(L"x")));
}

TEST(XmlWriter, IndentsWithTabsAndLineBreaks) {
  auto D = LoadXml("<a><b x=\"1\"><c>t</c><d/></b><e>only text</e><f/></a>");
  EXPECT_EQ(Declaration +
                "<a>\r\n"
                "\t<b x=\"1\">\r\n"
                "\t\t<c>t</c>\r\n"
                "\t\t<d/>\r\n"
                "\t</b>\r\n"
                "\t<e>only text</e>\r\n"
                "\t<f/>\r\n"
                "</a>\r\n",
            SaveXml(D.get(), true));
  EXPECT_EQ(Declaration + "<a><b x=\"1\"><c>t</c><d/></b><e>only text</e><f/></a>",
            SaveXml(D.get(), false));
  // A text beside children stays on the start tag's line.
  auto Mixed = LoadXml("<a>t<b/></a>");
  EXPECT_EQ(Declaration + "<a>t\r\n\t<b/>\r\n</a>\r\n", SaveXml(Mixed.get(), true));
}

TEST(XmlWriter, NodesWriteThemselvesToAnyStream) {
  auto D = LoadXml("<a><b k=\"v\">t<c/></b></a>");
  TdxXMLNode* B = D->Root()->GetFirst()->GetFirst();
  auto Written = [&](auto AWrite) {
    TOwned<TMemoryStream> S(Create<TMemoryStream>());
    AWrite(S.get());
    return std::string(static_cast<const char*>(S->Memory()), static_cast<size_t>(S->Size()));
  };
  EXPECT_EQ("\t<b k=\"v\">t\r\n\t\t<c/>\r\n\t</b>\r\n",
            Written([&](TStream* S) { B->WriteData(S, true); }));
  EXPECT_EQ("<b k=\"v\">t<c/></b>", Written([&](TStream* S) { B->WriteData(S, false); }));
  EXPECT_EQ("t<c/>", Written([&](TStream* S) { B->WriteContent(S, false); }));
  EXPECT_EQ("t\r\n\t\t<c/>\r\n\t", Written([&](TStream* S) { B->WriteContent(S, true); }));
  EXPECT_EQ("<c/>", Written([&](TStream* S) { B->WriteChildren(S, false); }));
  EXPECT_EQ(" k=\"v\"", Written([&](TStream* S) { B->WriteAttributes(S); }));
}

// Indentation inside a preserve-space element would become part of its text
// on the next load; none is written there.
TEST(XmlWriter, IndentingKeepsPreservedTexts) {
  const std::string_view Inputs[] = {
      "<r><a xml:space=\"preserve\"> x <b/><c/></a></r>",
      "<r><a> x <b><d>y</d></b><c/></a></r>",
      "<r><a>line\nbreak<b>\tin\t</b></a></r>",
  };
  for (std::string_view Input : Inputs) {
    SCOPED_TRACE(std::string(Input));
    auto D = LoadXml(Input);
    const std::string Tree = XmlSavedTreeText(D->Root());
    const std::string Saved = SaveXml(D.get(), true);
    auto Back = LoadXml(Saved);
    EXPECT_EQ(Tree, XmlSavedTreeText(Back->Root()));
    EXPECT_EQ(Saved, SaveXml(Back.get(), true));
  }
  auto D = LoadXml(Inputs[0]);
  EXPECT_EQ(Declaration +
                "<r>\r\n"
                "\t<a xml:space=\"preserve\"> x <b/><c/></a>\r\n"
                "</r>\r\n",
            SaveXml(D.get(), true));
}

// A name that would not read back as itself is quoted: an empty name would
// otherwise give "</>", which the reader takes for an end tag.
TEST(XmlWriter, NamesReadBackAsThemselves) {
  const std::pair<const char*, const char*> Names[] = {
      {"", "<\"\"/>"},       {"a b", "<\"a b\"/>"}, {"a/", "<\"a/\"/>"},
      {"?pi", "<\"?pi\"/>"}, {"!x", "<\"!x\"/>"},   {"q\"", "<'q\"'/>"},
      {"plain", "<plain/>"}, {"a?b!", "<a?b!/>"},   {"</", "<<//>"}};
  for (const auto& [Name, Written] : Names) {
    SCOPED_TRACE(Name);
    TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
    TdxXMLNode* R = D->AddChild("r");
    R->AddChild(Name);
    R->AddChild("n")->Attributes()->Add(Name, "v");
    R->AddChild(Name)->SetText("t");
    for (bool Indent : {false, true}) {
      const std::string Saved = SaveXml(D.get(), Indent);
      if (!Indent) {
        EXPECT_NE(std::string::npos, Saved.find(Written)) << Saved;
      }
      auto Back = LoadXml(Saved);
      EXPECT_EQ(XmlTreeText(D.get()), XmlTreeText(Back.get()));
    }
  }
}

// A tree whose second element cannot be written: a save stops half-way.
class TUnwritableNode : public TdxXMLNode {
  DECLARE_CLASS(TUnwritableNode, TdxXMLNode)
 public:
  void WriteAttributes(TStream*) override { throw EWriteError(L"cannot write"); }
};
IMPLEMENT_CREATABLE_CLASS(TUnwritableNode)

TEST(XmlWriter, AFailedSaveToFileLeavesTheFileAsItWas) {
  auto D = LoadXml("<a>x</a>");
  D->Root()->GetFirst()->SetName(TdxXMLString(std::string(100000, 'a')));
  TOwned<TdxXMLNode> Bad(Create<TUnwritableNode>());
  Bad->SetName("b");
  TdxXMLNodes* Children = D->Root()->Children();
  Children->DoAdd(Bad.release());
  wchar_t Temp[MAX_PATH];
  GetTempPathW(MAX_PATH, Temp);
  const String File = String(Temp) + L"vector-writer-failed.xml";
  DeleteFileW(File.c_str());
  // No file before: none after.
  EXPECT_THROW(D->SaveToFile(File), EWriteError);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(File.c_str()));
  // A file before: the same bytes after, and nothing left beside it.
  auto Old = LoadXml("<old/>");
  Old->SaveToFile(File);
  const std::string Before = ReadFileBytes(File);
  ASSERT_FALSE(Before.empty());
  EXPECT_THROW(D->SaveToFile(File), EWriteError);
  EXPECT_EQ(Before, ReadFileBytes(File));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((File + L".tmp~").c_str()));
  DeleteFileW(File.c_str());
}

TEST(XmlWriter, SavesFilesAndPassesStreamErrors) {
  auto D = LoadXml("<a>x</a>");
  wchar_t Temp[MAX_PATH];
  GetTempPathW(MAX_PATH, Temp);
  const String File = String(Temp) + L"vector-writer-test.xml";
  D->SaveToFile(File);
  EXPECT_EQ(Declaration + "<a>x</a>", ReadFileBytes(File));
  DeleteFileW(File.c_str());
  EXPECT_THROW(D->SaveToFile(String(Temp) + L"no such folder\\x.xml"), EFCreateError);

  class TFullStream : public TStream {
   public:
    Integer Read(void*, Integer) override { return 0; }
    Integer Write(const void*, Integer) override { return 0; }
    Int64 Seek(Int64, TSeekOrigin) override { return 0; }
  };
  TFullStream Full;
  EXPECT_THROW(D->SaveToStream(&Full), EWriteError);
}

TEST(XmlStringBuilder, GrowsByDoublingAndKeepsItsLength) {
  struct TCase {
    Integer Capacity, NewLength, ExpectedCapacity;
  };
  const TCase Cases[] = {
      {10, 5, 10},
      {10, 10, 10},
      {10, 11, 20},
      {10, 25, 50},
      {0, 1, 2},
      {0, 0, 0},
      // Doubling would overflow: exactly the new length (untouched memory).
      {1 << 30, (1 << 30) + 1, (1 << 30) + 1},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.NewLength);
    TdxXMLStringBuilder B(C.Capacity);
    EXPECT_EQ(C.Capacity, B.GetCapacity());
    B.SetLength(C.NewLength);
    EXPECT_EQ(C.ExpectedCapacity, B.GetCapacity());
    EXPECT_EQ(C.NewLength, B.GetLength());
  }
  TdxXMLStringBuilder B(4);
  B.Append(Byte('a'));
  B.Append(TdxXMLString("bcdef"));
  EXPECT_EQ("abcdef", B.AsString());
  EXPECT_EQ(8, B.GetCapacity());
  B.SetLength(-5);
  EXPECT_EQ(0, B.GetLength());
  B.Append(std::string_view("xy"));
  try {
    B.SetCapacity(1);
    ADD_FAILURE() << "no exception";
  } catch (const EdxException& E) {
    EXPECT_EQ(L"", E.Message());
  }
  EXPECT_EQ("xy", B.AsString());
  // A growth that cannot be had keeps the old length.
  TdxXMLStringBuilder Big(16);
  Big.Append(std::string_view("keep"));
  EXPECT_THROW(Big.Append("x", static_cast<size_t>(INT32_MAX)), std::bad_alloc);
  EXPECT_EQ(4, Big.GetLength());
  EXPECT_EQ(16, Big.GetCapacity());
  EXPECT_EQ("keep", Big.AsString());
}

// Every corpus file, with and without indentation: load, save, load, save.
// Both saves are the same bytes, and the reloaded tree is the first one up to
// what saving changes on purpose.
TEST(XmlWriter, CorpusRoundTrips) {
  std::vector<String> Files;
  for (const wchar_t* Folder : {L"wellformed", L"deviations", L"rejected", L"fuzz"})
    for (const String& F : CorpusFiles(Folder)) Files.push_back(F);
  for (const String& F : InstalledXmlFiles()) Files.push_back(F);
  ASSERT_GT(Files.size(), 30u);
  for (const String& File : Files) {
    SCOPED_TRACE(UTF8Encode(File));
    const std::string Bytes = ReadFileBytes(File);
    for (bool Indent : {false, true}) {
      auto First = LoadXml(Bytes);
      const std::string Saved = SaveXml(First.get(), Indent);
      auto Second = LoadXml(Saved);
      EXPECT_EQ(Saved, SaveXml(Second.get(), Indent));
      EXPECT_EQ(XmlSavedTreeText(First->Root()), XmlSavedTreeText(Second->Root()));
    }
  }
}

TEST(XmlReader, DeviationsGiveTheirKnownTrees) {
  const std::vector<String> Files = CorpusFiles(L"deviations");
  ASSERT_GT(Files.size(), 10u);
  for (const String& File : Files) {
    SCOPED_TRACE(UTF8Encode(File));
    EXPECT_EQ(ReadFileBytes(ChangeFileExt(File, L".tree")), TreeOf(ReadFileBytes(File)));
  }
}

}  // namespace
