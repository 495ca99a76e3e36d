// The reader: tokenizer, text rules, unescaping, encodings and interning.
#include <gtest/gtest.h>

#include <cstring>

#include "XmlTestSupport.h"

namespace {

struct TReadCase {
  const char* What;
  std::string_view Input;
  const char* Tree;
};

// Each row: what it shows, the input bytes, the tree text after loading
// (one line per element: depth, name, attribute=value pairs, "text; bytes
// outside ! to ~ and \ = " written as \xHH).
const TReadCase ReadCases[] = {
    {"empty input", "", ""},
    {"only white space", " \r\n\t ", ""},
    {"bytes before the first < are ignored", "\xEF\xBB\xBF<a/>", "0 a\n"},
    {"junk before the first element", "junk<a/>", "0 a\n"},
    {"ends inside a start tag", "<a x=\"1\" y", "0 a x=1 y=\n"},
    {"ends inside a quoted value", "<a x=\"1", "0 a x=1\n"},
    {"ends after the start tag", "<a><b>text", "0 a\n1 b\n"},
    {"attribute forms", "<a x=\"1\" b c=2 d='4'/>", "0 a x=1 b= c=2 d=4\n"},
    {"spaces around =", "<a x = \"1\"/>", "0 a x=1\n"},
    {"= without a value", "<a x=>t</a>", "0 a x= \"t\n"},
    {"a quote inside the other quote", "<a x='say \"hi\"' y=\"it's\"/>",
     "0 a x=say\\x20\\x22hi\\x22 y=it's\n"},
    {"a stray slash", "<a / b/>", "0 a /= b=\n"},
    {"text before the first child only", "<a>x<b/>y</a>", "0 a \"x\n1 b\n"},
    {"text between empty children", "<a><b/>x<c/></a>", "0 a \"x\n1 b\n1 c\n"},
    {"the last gap wins", "<a>x<b/>y<c/>z</a>", "0 a \"y\n1 b\n1 c\n"},
    {"text after a closed child is dropped", "<a><b>t</b>y<c/></a>", "0 a\n1 b \"t\n1 c\n"},
    {"spaces stay", "<a>  two  </a>", "0 a \"\\x20\\x20two\\x20\\x20\n"},
    {"breaks and tabs are trimmed", "<a>\r\n\tx y\n\t</a>", "0 a \"x\\x20y\n"},
    {"a text of breaks only is dropped", "<a>\r\n\t</a>", "0 a\n"},
    {"control bytes are trimmed", "<a>\x01x\x1F</a>", "0 a \"x\n"},
    {"preserve mode keeps the breaks", "<a xml:space=\"preserve\">\n x\t</a>",
     "0 a xml:space=preserve \"\\x0A\\x20x\\x09\n"},
    {"preserve mode and the last gap", "<a xml:space='preserve'>x<b/>\r\n<c/></a>",
     "0 a xml:space=preserve \"\\x0D\\x0A\n1 b\n1 c\n"},
    {"CDATA as the whole text", "<a><![CDATA[1<2]]></a>", "0 a \"1<2\n"},
    {"CDATA content is unescaped", "<a><![CDATA[&amp;lt;]]></a>", "0 a \"&lt;\n"},
    {"escaped bytes in one pass", "<a><![CDATA[_x005F_x0041_]]></a>", "0 a \"_x0041_\n"},
    {"CDATA among text stays raw", "<a>x<![CDATA[y]]></a>", "0 a \"x<![CDATA[y]]>\n"},
    {"CDATA before a child", "<a><![CDATA[<b/>]]><c/></a>", "0 a \"<b/>\n1 c\n"},
    {"a comment stays in the text", "<a>x<!-- c -->y</a>", "0 a \"x<!--\\x20c\\x20-->y\n"},
    {"a comment between elements", "<!-- c --><a><!-- <b/> --></a>",
     "0 a \"<!--\\x20<b/>\\x20-->\n"},
    {"an unterminated comment is skipped as markup", "<a>x<!-- y</a>", "0 a\n"},
    {"an empty comment", "<a><!----></a>", "0 a \"<!---->\n"},
    {"entities in values and texts",
     "<a t=\"&lt;&gt;&amp;&quot;&apos;&#9;&#10;&#13;\">&lt;b&gt;</a>",
     "0 a t=<>&\\x22'\\x09\\x0A\\x0D \"<b>\n"},
    {"entities are case-sensitive", "<a t=\"&LT;&Amp;\"/>", "0 a t=&LT;&Amp;\n"},
    {"escaped bytes", "<a t=\"_x0041__x0009_\">_x007e_</a>", "0 a t=A\\x09 \"~\n"},
    {"escaped bytes that stay", "<a t=\"_x0100_ _X0041_ _x00G1_ _x004\"/>",
     "0 a t=_x0100_\\x20_X0041_\\x20_x00G1_\\x20_x004\n"},
    {"character references give UTF-8", "<a t=\"&#65;&#x42;&#x6a;&#1055;&#128512;&#233;\"/>",
     "0 a t=ABj\\xD0\\x9F\\xF0\\x9F\\x98\\x80\\xC3\\xA9\n"},
    {"references naming no character stay",
     "<a t=\"&#0;&#;&#x;&#xD800;&#57343;&#1114112;&#99999999999999999999;&#65\"/>",
     "0 a t=&#0;&#;&#x;&#xD800;&#57343;&#1114112;&#99999999999999999999;&#65\n"},
    {"an upper-case X is no hexadecimal reference", "<a t=\"&#X41;\"/>", "0 a t=&#X41;\n"},
    {"unknown entities stay", "<a>&nbsp;&e;&</a>", "0 a \"&nbsp;&e;&\n"},
    {"an end tag with the wrong name still closes", "<a><b></c><d/></a>", "0 a\n1 b\n1 d\n"},
    {"an end tag at top level ends the load", "<a/></b><c/>", "0 a\n"},
    {"< inside a value ends the load", "<a x=\"1<2\"><b/></a>", "0 a x=1\n"},
    {"a comment inside a tag ends the load", "<a <!--c-->><b/></a>", "0 a\n"},
    {"> inside a quoted value ends the tag", "<a x=\"1>2\">t</a>", "0 a x=1 \"2\\x22>t\n"},
    {"a declaration and a processing instruction", "<?xml version=\"1.0\"?><?pi x?><a/>", "0 a\n"},
    {"a document type with an internal subset", "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>",
     "0 a \"&e;\n"},
    {"gaps between top-level elements go to the root", "<a/>junk<b/>", "-1  \"junk\n0 a\n0 b\n"},
    {"names keep their scope and case", "<svg:Rect xlink:href=\"#i\"/>",
     "0 svg:Rect xlink:href=#i\n"},
    {"an empty name", "<a><></></a>", "0 a\n1 \n"},
    {"a quoted name", "<\"x y\" 'k=v'=1/>", "0 x\\x20y k\\x3Dv=1\n"},
    {"a lone < at the end", "<a>x<", "0 a \"x\n1 \n"},
    {"a NUL byte inside a name", std::string_view("<a\0b/>", 6), "0 a\\x00b\n"},
};

TEST(XmlReader, TokensTextsAndMarkup) {
  for (const TReadCase& C : ReadCases) {
    SCOPED_TRACE(C.What);
    EXPECT_EQ(C.Tree, TreeOf(C.Input));
  }
}

TEST(XmlReader, StreamsAreReadFromTheirPosition) {
  TOwned<TMemoryStream> S(Create<TMemoryStream>());
  S->WriteBuffer("<a/><b/>", 8);
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  D->AddChild("old");
  D->LoadFromStream(S.get());  // positioned at its end
  EXPECT_EQ("", XmlTreeText(D.get()));
  S->SetPosition(4);
  D->LoadFromStream(S.get());
  EXPECT_EQ("0 b\n", XmlTreeText(D.get()));
}

// BeginUpdate and EndUpdate bracket every load, also one that fails.
class TCountingDocument : public TdxXMLDocument {
  DECLARE_CLASS_INLINE(TCountingDocument, TdxXMLDocument)
 public:
  using TdxXMLDocument::TdxXMLDocument;
  void BeginUpdate() override { ++Begun; }
  void EndUpdate() override { ++Ended; }
  int Begun = 0;
  int Ended = 0;
};

class TFailingStream : public TStream {
  DECLARE_CLASS_INLINE(TFailingStream, TStream)
 public:
  Integer Read(void* ABuffer, Integer ACount) override {
    if (FDone) throw EReadError(L"read failed");
    FDone = true;
    std::memcpy(ABuffer, "<a><b/>", ACount < 7 ? ACount : 7);
    return ACount < 7 ? ACount : 7;
  }
  Integer Write(const void*, Integer) override { return 0; }
  Int64 Seek(Int64, TSeekOrigin) override { return 0; }
  Int64 Size() override { return 100; }

 private:
  bool FDone = false;
};

TEST(XmlReader, LoadsBracketUpdatesAndPassStreamErrors) {
  TOwned<TCountingDocument> D(Create<TCountingDocument>(nullptr));
  D->LoadFromString("<a/>");
  EXPECT_EQ(1, D->Begun);
  EXPECT_EQ(1, D->Ended);
  TOwned<TFailingStream> S(Create<TFailingStream>());
  EXPECT_THROW(D->LoadFromStream(S.get()), EReadError);
  EXPECT_EQ(2, D->Begun);
  EXPECT_EQ(2, D->Ended);
  // A file that cannot be opened fails before the load begins.
  EXPECT_THROW(D->LoadFromFile(TestDir() + L"/corpus/no such file.xml"), EFOpenError);
  EXPECT_EQ(2, D->Ended);
}

TEST(XmlReader, FilesAreReadWhileOthersWriteThem) {
  const String Name = TestDir() + L"/corpus/wellformed/attributes.xml";
  HANDLE H = CreateFileW(Name.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, H);
  TOwned<TdxXMLDocument> D(TdxXMLDocument::CreateEx(Name));
  CloseHandle(H);
  EXPECT_TRUE(D->Root()->GetHasChildren());
}

TEST(XmlReader, DeclarationSetsVersionAndEncoding) {
  struct TCase {
    std::string_view Input;
    const char* Version;
    const char* Encoding;
    TdxXMLEncoding Mode;
    Cardinal CodePage;
  };
  const TCase Cases[] = {
      {"<a/>", "1.0", "UTF-8", dxxeNone, 0},
      {"<?xml version='1.1'?><a/>", "1.1", "UTF-8", dxxeUTF8, 0},
      {"<?xml encoding=\"utf-8\"?>", "1.0", "utf-8", dxxeUTF8, 0},
      {"<?xml version=\"1.0\" encoding=\"windows-1251\"?>", "1.0", "windows-1251", dxxeWindows,
       1251},
      {"<?xml encoding=\"WINDOWS-1252\"?>", "1.0", "WINDOWS-1252", dxxeWindows, 1252},
      {"<?xml encoding=\"Windows-\"?>", "1.0", "Windows-", dxxeWindows, 0},
      {"<?xml encoding=\"Windows-12x\"?>", "1.0", "Windows-12x", dxxeWindows, 0},
      {"<?xml encoding=\"ISO-8859-1\"?>", "1.0", "ISO-8859-1", dxxeNone, 0},
      {"<?xml encoding=\"\"?>", "1.0", "", dxxeNone, 0},
      // Every instruction counts: the last one without an encoding sets UTF-8.
      {"<?xml encoding=\"windows-1251\"?><?pi?>", "1.0", "UTF-8", dxxeUTF8, 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Input));
    TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
    TOwned<TdxXMLParser> P(Create<TdxXMLParser>(D.get()));
    P->Parse(C.Input.data(), static_cast<NativeInt>(C.Input.size()));
    EXPECT_EQ(C.Version, D->Version());
    EXPECT_EQ(C.Encoding, D->Encoding());
    EXPECT_EQ(C.Mode, P->Encoding());
    EXPECT_EQ(C.CodePage, P->EncodingCodePage());
  }
}

TEST(XmlReader, WindowsCodePagesBecomeUTF8) {
  const std::pair<std::string_view, const char*> Cases[] = {
      // "Привет" and "мир" in Windows-1251.
      {"<?xml version=\"1.0\" encoding=\"Windows-1251\"?>"
       "<a t=\"\xCF\xF0\xE8\xE2\xE5\xF2\">\xEC\xE8\xF0</a>",
       "0 a t=\\xD0\\x9F\\xD1\\x80\\xD0\\xB8\\xD0\\xB2\\xD0\\xB5\\xD1\\x82 "
       "\"\\xD0\\xBC\\xD0\\xB8\\xD1\\x80\n"},
      // Names are text in the code page too.
      {"<?xml encoding=\"windows-1251\"?><\xEF \xE8=\"1\"/>", "0 \\xD0\\xBF \\xD0\\xB8=1\n"},
      // Entities are unescaped after the conversion.
      {"<?xml encoding=\"windows-1252\"?><a>&#1055;\xE9&lt;</a>", "0 a \"\\xD0\\x9F\\xC3\\xA9<\n"},
      // A code page the platform does not know keeps the bytes.
      {"<?xml encoding=\"windows-99999\"?><a t=\"\xCF\">\xEC</a>", "0 a t=\\xCF \"\\xEC\n"},
      // Other encodings are taken as UTF-8 bytes.
      {"<?xml encoding=\"ISO-8859-5\"?><a>\xBF</a>", "0 a \"\\xBF\n"},
      {"<?xml encoding=\"windows-1251\"?><?pi?><a>\xEF</a>", "0 a \"\\xEF\n"},
  };
  for (const auto& [Input, Tree] : Cases) {
    SCOPED_TRACE(std::string(Input));
    EXPECT_EQ(Tree, TreeOf(Input));
  }
}

TEST(XmlReader, EqualNamesAndValesShareOneString) {
  auto D = LoadXml("<r><a k=\"v\" t=\"&lt;\">x</a><a k=\"v\" t=\"&lt;\">x</a><A K=\"w\"/></r>");
  TdxXMLNode* R = D->Root()->GetFirst();
  TdxXMLNode* A1 = R->GetItem(0);
  TdxXMLNode* A2 = R->GetItem(1);
  TdxXMLNode* A3 = R->GetItem(2);
  EXPECT_TRUE(A1->Name().SharesStorageWith(A2->Name()));
  EXPECT_FALSE(A1->Name().SharesStorageWith(A3->Name()));
  EXPECT_TRUE(
      A1->Attributes()->First()->Name().SharesStorageWith(A2->Attributes()->First()->Name()));
  EXPECT_TRUE(
      A1->Attributes()->First()->Value().SharesStorageWith(A2->Attributes()->First()->Value()));
  // Values are shared after unescaping.
  EXPECT_EQ("<", A1->Attributes()->Last()->Value());
  EXPECT_TRUE(
      A1->Attributes()->Last()->Value().SharesStorageWith(A2->Attributes()->Last()->Value()));
  // Texts are not.
  EXPECT_EQ(A1->Text(), A2->Text());
  EXPECT_FALSE(A1->Text().SharesStorageWith(A2->Text()));

  TOwned<TdxXMLParserSharedStrings> Shared(Create<TdxXMLParserSharedStrings>());
  const TdxXMLString Value("abc");
  const TdxXMLString& First = Shared->Add(Value);
  EXPECT_TRUE(First.SharesStorageWith(Value));
  EXPECT_TRUE(Shared->Add(std::string_view("abc")).SharesStorageWith(Value));
  const Byte Bytes[] = {'a', 'b', 'c'};
  TdxXMLToken Token;
  Token.Buffer = Bytes;
  Token.BufferLengthInChars = 3;
  EXPECT_TRUE(Shared->Add(Token).SharesStorageWith(Value));
  Shared->Clear();
  EXPECT_FALSE(Shared->Add(std::string_view("abc")).SharesStorageWith(Value));
}

TEST(XmlReader, InterningSurvivesCollidingBuckets) {
  // Many distinct values land in the same buckets of the fixed-size table.
  std::string Xml = "<r>";
  for (int I = 0; I < 200000; ++I) Xml += "<i v=\"" + UTF8Encode(IntToStr(I)) + "\"/>";
  Xml += "</r>";
  auto D = LoadXml(Xml);
  int I = 0;
  for (TdxXMLNode* N = D->Root()->GetFirst()->GetFirst(); N; N = N->GetNext(), ++I)
    ASSERT_EQ(UTF8Encode(IntToStr(I)), N->Attributes()->First()->Value().View());
  EXPECT_EQ(200000, I);
}

TEST(XmlHelper, DecodeStringIsOnePassOverBytes) {
  const std::pair<const char*, const char*> Cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"&amp;lt;", "&lt;"},
      {"_x005F_x0041_", "_x0041_"},
      {"&#38;#38;", "&#38;"},
      {"a&#9;b&#10;c&#13;d", "a\tb\nc\rd"},
      {"&#009;", "\t"},
      {"&#x20AC;", "\xE2\x82\xAC"},
      {"&#xFFFF;", "\xEF\xBF\xBF"},
      {"&#x10FFFF;", "\xF4\x8F\xBF\xBF"},
      {"&#x110000;", "&#x110000;"},
      {"&#127;&#128;", "\x7F\xC2\x80"},
      {"_x00ff_", "\xFF"},
      {"_x00FF", "_x00FF"},
      {"__x0041_", "_A"},
      {"&&amp;", "&&"},
      {"&#12", "&#12"},
      {"&#12a;", "&#12a;"},
  };
  for (const auto& [In, Out] : Cases) {
    EXPECT_EQ(Out, TdxXMLHelper::DecodeString(In)) << In;
  }
  const TdxXMLString Plain("nothing to do");
  EXPECT_TRUE(TdxXMLHelper::DecodeString(Plain).SharesStorageWith(Plain));
}

}  // namespace
