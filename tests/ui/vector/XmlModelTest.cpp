// The document model: typed attribute access, date-times, the node tree.
#include <gtest/gtest.h>

#include <clocale>

#include "XmlTestSupport.h"

namespace {

// The user's decimal separator switched for the lifetime of the object.
class TDecimalSeparator {
 public:
  explicit TDecimalSeparator(const wchar_t* ASeparator) {
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld, 8);
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ASeparator);
    GetFormatSettings();
  }
  ~TDecimalSeparator() {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld);
    GetFormatSettings();
  }

 private:
  wchar_t FOld[8] = L".";
};

TOwned<TdxXMLNodeAttributes> AttributesWith(const char* AName, const char* AValue) {
  TOwned<TdxXMLNodeAttributes> A(Create<TdxXMLNodeAttributes>(nullptr));
  A->Add(AName, AValue);
  return A;
}

TEST(XmlAttributes, BooleansAndIntegersFromWordsAndDigits) {
  struct TCase {
    const char* Value;
    bool Boolean;
    TdxDefaultBoolean DefaultBoolean;
    bool IntegerRaises;
    Integer Integer;
  };
  const TCase Cases[] = {
      {"true", true, bTrue, false, 1},    {"TRUE", true, bTrue, false, 1},
      {"false", false, bFalse, false, 0}, {"False", false, bFalse, false, 0},
      {"1", true, bTrue, false, 1},       {"0", false, bFalse, false, 0},
      {"2", true, bTrue, false, 2},       {"-7", true, bTrue, false, -7},
      {"yes", false, bFalse, true, 0},    {"", false, bFalse, true, 0},
      {"1.5", false, bFalse, true, 0},    {"2147483648", false, bFalse, true, 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Value);
    auto List = AttributesWith("v", C.Value);
    TdxXMLNodeAttribute* A = List->First();
    EXPECT_EQ(C.Boolean, A->GetValueAsBoolean());
    EXPECT_EQ(C.Boolean, List->GetValueAsBoolean("v", !C.Boolean));
    EXPECT_EQ(C.DefaultBoolean, List->GetValueAsDefaultBoolean("v"));
    if (C.IntegerRaises) {
      try {
        A->GetValueAsInteger();
        ADD_FAILURE() << "no exception";
      } catch (const EConvertError& E) {
        EXPECT_EQ(L"'" + TdxXMLString(C.Value).ToString() + L"' is not a valid integer value",
                  E.Message());
      }
      // The list-level getters answer their default instead.
      EXPECT_EQ(77, List->GetValueAsInteger("v", 77));
    } else {
      EXPECT_EQ(C.Integer, A->GetValueAsInteger());
      EXPECT_EQ(C.Integer, List->GetValueAsInteger("v", 77));
      EXPECT_EQ(C.Integer, List->GetValueAsInt64("v", 77));
    }
  }
  // 64-bit reads take what a 32-bit read refuses.
  EXPECT_EQ(Int64(2147483648), AttributesWith("v", "2147483648")->GetValueAsInt64("v", 0));
}

TEST(XmlAttributes, DefaultsWhenAbsent) {
  TOwned<TdxXMLNodeAttributes> A(Create<TdxXMLNodeAttributes>(nullptr));
  EXPECT_EQ(bDefault, A->GetValueAsDefaultBoolean("x"));
  EXPECT_TRUE(A->GetValueAsBoolean("x", true));
  EXPECT_EQ(5, A->GetValueAsInteger("x", 5));
  EXPECT_EQ(Int64(6), A->GetValueAsInt64("x", 6));
  EXPECT_EQ(2.5, A->GetValueAsFloat("x", 2.5));
  EXPECT_EQ(3.0, A->GetValueAsDateTime("x", 3.0));
  EXPECT_EQ(L"d", A->GetValueAsString("x", L"d"));
  EXPECT_EQ("raw", A->GetValue("x", "raw"));
  TdxXMLDateTime D;
  EXPECT_FALSE(A->GetValueAsDateTime("x", D));
}

TEST(XmlAttributes, TypedAddsAndSetsStoreText) {
  TOwned<TdxXMLNodeAttributes> A(Create<TdxXMLNodeAttributes>(nullptr));
  A->Add("b", true);
  A->Add("i", Integer(-42));
  A->Add("l", Int64(1) << 40);
  A->Add("f", 1.25);
  A->Add("s", String(L"Жук"));
  A->Add("x", TdxXMLString("\x01raw"));
  A->Add("e");
  const std::pair<const char*, const char*> Expected[] = {{"b", "1"},
                                                          {"i", "-42"},
                                                          {"l", "1099511627776"},
                                                          {"f", "1.25"},
                                                          {"s", "\xD0\x96\xD1\x83\xD0\xBA"},
                                                          {"x", "\x01raw"},
                                                          {"e", ""}};
  TdxXMLNodeAttribute* Attr = A->First();
  for (const auto& [Name, Value] : Expected) {
    ASSERT_NE(nullptr, Attr);
    EXPECT_EQ(Name, Attr->Name());
    EXPECT_EQ(Value, Attr->Value());
    Attr = Attr->Next();
  }
  EXPECT_EQ(nullptr, Attr);
  EXPECT_EQ(A->Last()->Name(), "e");

  // Setting finds the attribute (letter case of A to Z ignored) or appends.
  A->SetValueAsInteger("I", 7);
  A->SetValueAsBoolean("new", false);
  EXPECT_EQ("7", A->GetValue("i"));
  EXPECT_EQ("i", A->First()->Next()->Name());
  EXPECT_EQ("new", A->Last()->Name());
  EXPECT_EQ("0", A->Last()->Value());

  A->Delete("B");
  EXPECT_FALSE(A->Exists("b"));
  EXPECT_EQ("i", A->First()->Name());

  TOwned<TdxXMLNodeAttributes> Copy(Create<TdxXMLNodeAttributes>(nullptr));
  Copy->Add("gone");
  Copy->Assign(A.get());
  EXPECT_FALSE(Copy->Exists("gone"));
  EXPECT_EQ(A->Count(), Copy->Count());
  EXPECT_EQ(A->Last()->Value(), Copy->Last()->Value());
}

TEST(XmlAttributes, DefaultBooleanDeletesOnDefault) {
  TOwned<TdxXMLNodeAttributes> A(Create<TdxXMLNodeAttributes>(nullptr));
  A->SetValueAsDefaultBoolean("v", bTrue);
  EXPECT_EQ("1", A->GetValue("v"));
  A->SetValueAsDefaultBoolean("v", bFalse);
  EXPECT_EQ("0", A->GetValue("v"));
  A->SetValueAsDefaultBoolean("v", bDefault);
  EXPECT_FALSE(A->Exists("v"));
  EXPECT_EQ(bDefault, A->GetValueAsDefaultBoolean("v"));
}

TEST(XmlAttributes, FloatsUseAPointUnderEitherSeparator) {
  for (const wchar_t* Separator : {L".", L","}) {
    SCOPED_TRACE(Separator);
    TDecimalSeparator Regional(Separator);
    // The regional conversion of a variant does follow the separator.
    ASSERT_EQ(String(L"2") + Separator + L"75", VarToStr(Variant(2.75)));
    TOwned<TdxXMLNode> Node(Create<TdxXMLNode>());
    TdxXMLNodeAttributes* A = Node->Attributes();
    A->SetValueAsFloat("f", 1.5);
    EXPECT_EQ("1.5", A->GetValue("f"));
    EXPECT_EQ(1.5, A->GetValueAsFloat("f", 0));
    A->Add("g", -0.25);
    EXPECT_EQ("-0.25", A->GetValue("g"));
    // A float variant is written with the point as well, so that it reads back.
    Node->SetAttribute("v", Variant(2.75));
    EXPECT_EQ("2.75", A->GetValue("v"));
    EXPECT_EQ(2.75, A->GetValueAsFloat("v", 0));
    Node->SetAttribute("s", Variant(Single(0.1f)));
    EXPECT_EQ("0.1", A->GetValue("s"));
    Node->SetAttribute("i", Variant(Integer(12)));
    EXPECT_EQ("12", A->GetValue("i"));
    Node->SetAttribute("t", Variant(String(L"text")));
    EXPECT_EQ("text", A->GetValue("t"));
    // A comma is no decimal separator here, whatever the regional format.
    A->SetValue("c", "1,5");
    EXPECT_THROW(A->GetValueAsFloat("c", 0), EConvertError);
  }
}

struct TDateCase {
  const char* Text;
  Word Year, Month, Day, Hour, Minute, Second, Millisecond;
  bool IsUTC;
};

TEST(XmlDateTime, ParsesDatesTimesFractionsAndOffsets) {
  const TDateCase Cases[] = {
      {"2020-01-02", 2020, 1, 2, 0, 0, 0, 0, false},
      {"2020-01-02T03:04:05", 2020, 1, 2, 3, 4, 5, 0, false},
      {"2020-01-02T03:04:05.5Z", 2020, 1, 2, 3, 4, 5, 500, true},
      {"2020-01-02T03:04:05Z", 2020, 1, 2, 3, 4, 5, 0, true},
      {"2020-01-02T03:04:05+02:00", 2020, 1, 2, 1, 4, 5, 0, true},
      {"2020-01-02T01:04:05-02:30", 2020, 1, 2, 3, 34, 5, 0, true},
      {"2020-01-02T03:04:05+05", 2020, 1, 1, 22, 4, 5, 0, true},
      {"2020-01-01T01:00:00+02:00", 2019, 12, 31, 23, 0, 0, 0, true},
      {"2020-02-28T23:30:00-01:00", 2020, 2, 29, 0, 30, 0, 0, true},
      {"2020-01-02+01:00", 2020, 1, 1, 23, 0, 0, 0, true},
      {"2020-01-02T03:04:05.1234", 2020, 1, 2, 3, 4, 5, 123, false},
      {"2020-01-02T03:04:05.0015", 2020, 1, 2, 3, 4, 5, 2, false},
      {"2020-01-02T03:04:05.0025", 2020, 1, 2, 3, 4, 5, 2, false},
      {"2020-01-02T03:04:05.00251", 2020, 1, 2, 3, 4, 5, 3, false},
      // A fraction of any length: no integer overflow, and one that rounds
      // up to a whole second stays in its second.
      {"2020-01-02T03:04:05.12345678901234567890123", 2020, 1, 2, 3, 4, 5, 123, false},
      {"2020-01-02T03:04:05.99999999999999999999999Z", 2020, 1, 2, 3, 4, 5, 999, true},
      {"2020-01-02T03:04:05.9996", 2020, 1, 2, 3, 4, 5, 999, false},
      {"65535-12-31", 65535, 12, 31, 0, 0, 0, 0, false},
      {"2020-01-0000000000000000000002", 2020, 1, 2, 0, 0, 0, 0, false},
  };
  for (const TDateCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    TdxXMLDateTime D;
    D.Year = 1;  // Parse starts from a clear record
    D.Parse(TdxXMLString(C.Text).ToString());
    EXPECT_EQ(C.Year, D.Year);
    EXPECT_EQ(C.Month, D.Month);
    EXPECT_EQ(C.Day, D.Day);
    EXPECT_EQ(C.Hour, D.Hour);
    EXPECT_EQ(C.Minute, D.Minute);
    EXPECT_EQ(C.Second, D.Second);
    EXPECT_EQ(C.Millisecond, D.Millisecond);
    EXPECT_EQ(C.IsUTC, D.IsUTC);
  }
}

TEST(XmlDateTime, MalformedTextNamesTheToken) {
  const std::pair<const wchar_t*, const wchar_t*> Cases[] = {
      {L"2020/01/02", L"/"},
      {L"2020-01", L"#0"},
      {L"", L"#0"},
      {L"2020-01-02T03:04", L"#0"},
      {L"2020-01-02T03-04:05", L"-"},
      {L"2020-01-02X", L"X"},
      {L"2020-01-02T03:04:05.5Q", L"Q"},
      {L"2020-01-02T03:04:05Z+", L"+"},
      // A number too long for its field raises instead of wrapping round.
      {L"65536-01-01", L"65536"},
      {L"2020-01-02T99999:00:00", L"99999"},
      {L"2020-01-02T00:00:00+4294967297:00", L"4294967297"},
  };
  for (const auto& [Text, Token] : Cases) {
    SCOPED_TRACE(Text);
    TdxXMLDateTime D;
    try {
      D.Parse(Text);
      ADD_FAILURE() << "no exception";
    } catch (const EdxXMLUnexpectedToken& E) {
      EXPECT_EQ(String(L"Unexpected token was founded (\"") + Token + L"\" in \"" + Text + L"\")",
                E.Message());
      EXPECT_TRUE(E.InheritsFrom(EdxException::StaticClass()));
    }
  }
}

TEST(XmlDateTime, ConvertsToAndFromDateTimeValues) {
  TdxXMLDateTime D;
  D.Parse(L"2021-03-04T05:06:07.008");
  EXPECT_EQ(EncodeDate(2021, 3, 4) + EncodeTime(5, 6, 7, 8), D.ToDateTime());
  EXPECT_EQ(L"2021-03-04T05:06:07.008", D.ToString());
  D.IsUTC = true;
  EXPECT_EQ(L"2021-03-04T05:06:07.008Z", D.ToString());

  // Before 1899 the time of day still comes out as written.
  D.Parse(L"1800-01-01T06:00:00");
  TdxXMLDateTime Back;
  Back.Assign(D.ToDateTime(), false);
  EXPECT_EQ(L"1800-01-01T06:00:00.000", Back.ToString());

  D.Parse(L"2020-13-01");
  EXPECT_THROW(D.ToDateTime(), EConvertError);
  EXPECT_THROW(D.ToString(), EConvertError);
  D.Parse(L"2020-01-01T24:00:00");
  EXPECT_THROW(D.ToDateTime(), EConvertError);
  // An offset applies to a real date only.
  EXPECT_THROW(D.Parse(L"2020-02-30T00:00:00+01:00"), EConvertError);

  TOwned<TdxXMLNodeAttributes> A(Create<TdxXMLNodeAttributes>(nullptr));
  const TDateTime Value = EncodeDate(2000, 2, 29) + EncodeTime(23, 59, 58, 999);
  A->SetValueAsDateTime("d", Value);
  EXPECT_EQ("2000-02-29T23:59:58.999", A->GetValue("d"));
  EXPECT_EQ(Value, A->GetValueAsDateTime("d", 0));
  TdxXMLDateTime R;
  R.Parse(L"2000-01-01T00:00:00Z");
  A->SetValueAsDateTime("u", R);
  EXPECT_EQ("2000-01-01T00:00:00.000Z", A->GetValue("u"));
  ASSERT_TRUE(A->GetValueAsDateTime("u", R));
  EXPECT_TRUE(R.IsUTC);
  A->SetValue("bad", "2000-01-01T00:00:00Y");
  EXPECT_THROW(A->GetValueAsDateTime("bad", 0), EdxXMLUnexpectedToken);

  TOwned<TdxXMLNode> N(Create<TdxXMLNode>());
  N->SetTextAsDateTime(Value);
  EXPECT_EQ("2000-02-29T23:59:58.999", N->Text());
  EXPECT_EQ(Value, N->GetTextAsDateTime());
}

TEST(XmlNode, TextAsBooleanUsesWords) {
  TOwned<TdxXMLNode> N(Create<TdxXMLNode>());
  N->SetTextAsBoolean(true);
  EXPECT_EQ("true", N->Text());
  EXPECT_TRUE(N->GetTextAsBoolean());
  N->SetTextAsBoolean(false);
  EXPECT_EQ("false", N->Text());
  N->SetText("3");
  EXPECT_TRUE(N->GetTextAsBoolean());
  N->SetTextAsString(L"Ёж");
  EXPECT_EQ("\xD0\x81\xD0\xB6", N->Text());
  EXPECT_EQ(L"Ёж", N->GetTextAsString());
  EXPECT_TRUE(TdxXMLHelper::IsBoolean(L"FALSE"));
  EXPECT_FALSE(TdxXMLHelper::IsBoolean(L"0"));
}

TEST(XmlNode, LevelsIndexesAndItems) {
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  TdxXMLNode* A = D->AddChild("a");
  TdxXMLNode* B = A->AddChild("b");
  TdxXMLNode* C = A->AddChild("c");
  TdxXMLNode* E = C->AddChild("e");
  EXPECT_EQ(-1, D->Root()->GetLevel());
  EXPECT_EQ(0, A->GetLevel());
  EXPECT_EQ(2, E->GetLevel());
  EXPECT_EQ(0, B->GetIndex());
  EXPECT_EQ(1, C->GetIndex());
  EXPECT_EQ(-1, D->Root()->GetIndex());
  TOwned<TdxXMLNode> Free(Create<TdxXMLNode>());
  EXPECT_EQ(-1, Free->GetIndex());
  EXPECT_EQ(-1, Free->GetLevel());
  EXPECT_EQ(2, A->GetCount());
  EXPECT_EQ(0, B->GetCount());
  EXPECT_EQ(C, A->GetItem(1));
  EXPECT_EQ(C, B->GetNext());
  EXPECT_EQ(A, C->Parent());
  for (Integer Index : {2, -1}) {
    try {
      A->GetItem(Index);
      ADD_FAILURE() << Index;
    } catch (const EListError& Error) {
      EXPECT_EQ(L"List index out of bounds (" + IntToStr(Index) + L")", Error.Message());
    }
  }
  EXPECT_THROW(B->GetItem(0), EListError);
}

TEST(XmlNode, EmptinessAndData) {
  TOwned<TdxXMLNode> N(Create<TdxXMLNode>());
  EXPECT_TRUE(N->GetIsEmpty());
  EXPECT_FALSE(N->HasData());
  N->Attributes()->Add("a");
  EXPECT_FALSE(N->GetIsEmpty());
  EXPECT_FALSE(N->HasData());
  N->Clear();
  N->SetText("t");
  EXPECT_FALSE(N->GetIsEmpty());
  EXPECT_TRUE(N->HasData());
  N->SetText(TdxXMLString());
  N->AddChild("c");
  EXPECT_TRUE(N->HasData());
  EXPECT_TRUE(N->GetHasChildren());
  N->SetName("keep");
  N->SetText("keep");
  N->Clear();
  EXPECT_FALSE(N->GetHasChildren());
  EXPECT_EQ("keep", N->Name());
  EXPECT_EQ("keep", N->Text());
}

TEST(XmlNode, AssignCopiesStructureAndKeepsTheOwnText) {
  auto Source = LoadXml("<s k=\"1\" j=\"2\">src<c x=\"y\">inner<g/></c><d/></s>");
  TOwned<TdxXMLNode> Root(Create<TdxXMLNode>());
  TdxXMLNode* T = Root->AddChild("t");
  T->SetText("keep");
  T->Attributes()->Add("old");
  T->AddChild("old");
  T->Assign(Source->Root()->GetFirst());
  // Children are assigned the same way: their texts are not copied either.
  EXPECT_EQ("0 s k=1 j=2 \"keep\n1 c x=y\n2 g\n1 d\n", XmlTreeText(Root.get()));
  // A node may take the structure of one of its own descendants.
  T->Assign(T->GetFirst());
  EXPECT_EQ("0 c x=y \"keep\n1 g\n", XmlTreeText(Root.get()));
  T->Assign(T);
  EXPECT_EQ("0 c x=y \"keep\n1 g\n", XmlTreeText(Root.get()));
}

TEST(XmlNode, FreeingDetachesFromTheParent) {
  auto D = LoadXml("<a><b/><c><x/></c><d/></a>");
  TdxXMLNode* A = D->Root()->GetFirst();
  A->GetItem(1)->Free();
  EXPECT_EQ(2, A->GetCount());
  EXPECT_EQ("0 a\n1 b\n1 d\n", XmlTreeText(D.get()));
  A->GetFirst()->Free();
  A->GetFirst()->Free();
  EXPECT_EQ(0, A->GetCount());
  EXPECT_EQ(nullptr, A->GetFirst());
}

TEST(XmlNode, FindsByNameAndPath) {
  auto D = LoadXml("<Config><Item n=\"1\">one</Item><item n=\"2\">two</item><É/></Config>");
  TdxXMLNode* Config;
  ASSERT_TRUE(D->FindChild("CONFIG", Config));
  EXPECT_EQ("1", Config->FindChild("item")->Attributes()->GetValue("n"));
  EXPECT_EQ(L"one", Config->GetChildValue("ITEM"));
  EXPECT_EQ(L"", Config->GetChildValue("missing"));
  // Only A to Z are folded.
  EXPECT_EQ(nullptr, Config->FindChild("\xC3\xA9"));
  EXPECT_NE(nullptr, Config->FindChild("\xC3\x89"));

  TdxXMLNode* Node = nullptr;
  EXPECT_TRUE(D->FindChild(TdxXMLNames{"config", "item"}, Node));
  EXPECT_EQ("one", Node->Text());
  EXPECT_FALSE(D->FindChild(TdxXMLNames{"config", "none"}, Node));
  EXPECT_EQ(nullptr, Node);
  EXPECT_EQ(nullptr, D->FindChild(TdxXMLNames{"none", "item"}));
  EXPECT_FALSE(D->FindChild(TdxXMLNames{}, Node));
  EXPECT_EQ(3, Config->GetCount());

  ASSERT_TRUE(D->Root()->FindChild({"config", "new", "deep"}, Node, true));
  EXPECT_EQ("deep", Node->Name());
  EXPECT_EQ(2, Node->GetLevel());
  EXPECT_EQ(4, Config->GetCount());
  EXPECT_EQ(Node, D->FindChild(TdxXMLNames{"Config", "New", "Deep"}));

  struct TCollect {
    static void Add(TdxXMLNode* ANode, Pointer AData) {
      static_cast<std::string*>(AData)->append(ANode->Name().View()).append(";");
    }
  };
  std::string Names;
  D->ForEach({"config"}, &TCollect::Add, &Names);
  EXPECT_EQ("Item;item;\xC3\x89;new;", Names);
  Names.clear();
  D->ForEach({"config", "none"}, &TCollect::Add, &Names);
  EXPECT_EQ("", Names);
}

TEST(XmlNode, NameScopesAndPreserveMode) {
  const std::tuple<const char*, const char*, const char*> Names[] = {
      {"xlink:href", "xlink:", "href"},
      {"a:b:c", "a:b:", "c"},
      {"plain", "", "plain"},
      {":x", ":", "x"},
      {"x:", "x:", ""}};
  TOwned<TdxXMLNode> N(Create<TdxXMLNode>());
  for (const auto& [Name, Scope, Local] : Names) {
    N->SetName(Name);
    EXPECT_EQ(Scope, N->GetNameScope()) << Name;
    EXPECT_EQ(Local, N->GetNameWithoutNameScope()) << Name;
  }
  EXPECT_FALSE(N->TextIsPreserveSpaceMode());
  N->Attributes()->Add("XML:Space", "PreServe");
  EXPECT_TRUE(N->TextIsPreserveSpaceMode());
  N->Attributes()->SetValue("xml:space", "default");
  EXPECT_FALSE(N->TextIsPreserveSpaceMode());
  EXPECT_TRUE(N->HasAttribute("xml:SPACE"));
}

// Building, copying, saving and freeing a chain of 100 000 elements must not
// exhaust the call stack. Indented output grows with the square of the depth,
// so that form is saved from a shallower chain.
TEST(XmlNode, DeepTreesCopySaveAndFree) {
  for (const auto& [Depth, Indent] : {std::pair{100000, false}, std::pair{4000, true}}) {
    SCOPED_TRACE(Depth);
    TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
    TdxXMLNode* N = D->Root();
    for (Integer I = 0; I < Depth; ++I) N = N->AddChild("n");
    N->SetText("bottom");
    EXPECT_EQ(Depth - 1, N->GetLevel());

    TOwned<TdxXMLDocument> Copy(Create<TdxXMLDocument>(nullptr));
    TdxXMLNode* CopyBottom = Copy->AddChild("x");
    CopyBottom->Assign(D->Root()->GetFirst());
    while (CopyBottom->GetFirst()) CopyBottom = CopyBottom->GetFirst();
    CopyBottom->SetText("bottom");
    EXPECT_EQ(XmlTreeText(D.get()), XmlTreeText(Copy.get()));
    const std::string Saved = SaveXml(D.get(), Indent);
    auto Back = LoadXml(Saved);
    const TdxXMLNode* Bottom = Back->Root();
    Integer Levels = 0;
    while (Bottom->GetFirst()) {
      Bottom = Bottom->GetFirst();
      ++Levels;
    }
    EXPECT_EQ(Depth, Levels);
    EXPECT_EQ("bottom", Bottom->Text());
    EXPECT_EQ(Saved, SaveXml(Back.get(), Indent));
    D->Root()->GetFirst()->GetFirst()->Free();
    EXPECT_EQ(0, D->Root()->GetFirst()->GetCount());
  }
}

}  // namespace
