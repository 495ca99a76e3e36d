// The reader on damaged and extreme input: no crash, no exception, no byte
// read past the input, and every tree it builds saves and reads back.
#include <gtest/gtest.h>

#include <cstring>

#include "Classes.h"
#include "XmlTestSupport.h"

namespace {

const std::string_view Fragments[] = {
    "<",         ">",          "</",
    "/>",        "<!--",       "-->",
    "<![CDATA[", "]]>",        "&#",
    "&#x",       "&amp;",      "&lt;",
    "_x00",      "_x005F_",    "\"",
    "'",         "=",          "<?xml encoding=\"windows-1251\"?>",
    "<?",        "?>",         "xml:space=\"preserve\"",
    "\r\n",      "\t",         "<a>",
    "</a>",      "<b x='1'/>", "&#1055;",
    ";",         "\xD0",       std::string_view("\0", 1)};

std::string Mutate(const std::string& ASeed, const std::vector<std::string>& ASeeds, TRandom& R) {
  std::string S = ASeed;
  const size_t Steps = 1 + R.Below(4);
  for (size_t Step = 0; Step < Steps; ++Step) {
    const size_t At = R.Below(S.size() + 1);
    switch (R.Below(6)) {
      case 0:  // flip a bit
        if (!S.empty()) S[R.Below(S.size())] ^= static_cast<char>(1 << R.Below(8));
        break;
      case 1:  // insert a byte
        S.insert(At, 1, static_cast<char>(R.Below(256)));
        break;
      case 2:  // delete a run
        S.erase(At, 1 + R.Below(8));
        break;
      case 3: {  // splice in a piece of another seed
        const std::string& Other = ASeeds[R.Below(ASeeds.size())];
        const size_t From = R.Below(Other.size() + 1);
        S.replace(At, R.Below(16), Other.substr(From, R.Below(64)));
        break;
      }
      case 4: {  // repeat a piece
        const std::string Piece = S.substr(At, R.Below(32));
        S.insert(At, Piece);
        break;
      }
      default: {  // insert markup
        const std::string_view F = Fragments[R.Below(std::size(Fragments))];
        S.insert(At, F.data(), F.size());
      }
    }
  }
  return S;
}

// Everything the reader builds saves, and the saved bytes read back into the
// same tree (up to what saving changes on purpose); a second round gives the
// same bytes again. Returns a description of the first broken promise.
std::string CheckInput(TGuardedBuffer& ABuffer, std::string_view AInput) {
  try {
    TOwned<TdxXMLDocument> First(Create<TdxXMLDocument>(nullptr));
    ABuffer.Load(First.get(), AInput);
    const std::string FirstTree = XmlSavedTreeText(First->Root());
    for (bool Indent : {false, true}) {
      const std::string Saved = SaveXml(First.get(), Indent);
      TOwned<TdxXMLDocument> Second(Create<TdxXMLDocument>(nullptr));
      ABuffer.Load(Second.get(), Saved);
      if (XmlSavedTreeText(Second->Root()) != FirstTree)
        return "the saved tree reads back differently";
      const std::string SavedAgain = SaveXml(Second.get(), Indent);
      // An empty declared version is left out and then reads back as 1.0.
      if (!First->Version().IsEmpty() && SavedAgain != Saved) return "a second save differs";
      TOwned<TdxXMLDocument> Third(Create<TdxXMLDocument>(nullptr));
      ABuffer.Load(Third.get(), SavedAgain);
      if (SaveXml(Third.get(), Indent) != SavedAgain) return "a third save differs";
    }
  } catch (const Exception& E) {
    return "exception " + UTF8Encode(E.ClassName() + L": " + E.Message());
  } catch (const std::exception& E) {
    return std::string("exception ") + E.what();
  }
  return std::string();
}

std::vector<std::string> SeedInputs() {
  std::vector<std::string> Seeds;
  for (const wchar_t* Folder : {L"wellformed", L"deviations", L"rejected", L"fuzz"})
    for (const String& F : CorpusFiles(Folder)) Seeds.push_back(ReadFileBytes(F));
  return Seeds;
}

// A failing input is reported, and kept when VECTOR_FUZZ_OUT names a folder.
void Report(int& AFailures, const std::string& AProblem, std::string_view AInput) {
  if (AProblem.empty()) return;
  if (++AFailures <= 5)
    ADD_FAILURE() << AProblem << " for input \"" << XmlEscapeField(AInput) << "\"";
  KeepFuzzFailure(AFailures, AInput, L".xml");
}

TEST(XmlRobustness, EveryPrefixOfSmallSeeds) {
  const std::vector<std::string> Seeds = SeedInputs();
  ASSERT_GT(Seeds.size(), 30u);
  TGuardedBuffer Buffer(1 << 20);
  int Failures = 0;
  size_t Inputs = 0;
  for (const std::string& Seed : Seeds) {
    if (Seed.size() > 1024) continue;
    for (size_t Length = 0; Length <= Seed.size(); ++Length, ++Inputs)
      Report(Failures, CheckInput(Buffer, std::string_view(Seed).substr(0, Length)),
             std::string_view(Seed).substr(0, Length));
  }
  EXPECT_GT(Inputs, 3000u);
  EXPECT_EQ(0, Failures);
}

TEST(XmlRobustness, MutatedSeeds) {
  constexpr int MutationsPerSeed = 300;
  const std::vector<std::string> Seeds = SeedInputs();
  TGuardedBuffer Buffer(1 << 20);
  TRandom R(20240611);
  int Failures = 0;
  for (const std::string& Seed : Seeds) {
    for (int I = 0; I < MutationsPerSeed; ++I) {
      const std::string Input = Mutate(Seed, Seeds, R);
      Report(Failures, CheckInput(Buffer, Input), Input);
    }
  }
  EXPECT_EQ(0, Failures);
}

TEST(XmlRobustness, HundredThousandLevels) {
  constexpr size_t Depth = 100000;
  std::string Input;
  for (size_t I = 0; I < Depth; ++I) Input += "<n>";
  Input += "bottom";
  for (size_t I = 0; I < Depth; ++I) Input += "</n>";
  TGuardedBuffer Buffer(Input.size() * 2);
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  Buffer.Load(D.get(), Input);
  const TdxXMLNode* N = D->Root();
  size_t Levels = 0;
  while (N->GetFirst()) {
    N = N->GetFirst();
    ++Levels;
  }
  EXPECT_EQ(Depth, Levels);
  EXPECT_EQ("bottom", N->Text());
  const std::string Saved = SaveXml(D.get(), false);
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + Input, Saved);
  // Unclosed levels stay in the tree as they are.
  TOwned<TdxXMLDocument> Open(Create<TdxXMLDocument>(nullptr));
  Buffer.Load(Open.get(), std::string_view(Input).substr(0, Depth * 3));
  N = Open->Root();
  while (N->GetFirst()) N = N->GetFirst();
  EXPECT_EQ(static_cast<Integer>(Depth) - 1, N->GetLevel());
}

TEST(XmlRobustness, AMillionAttributes) {
  constexpr int Count = 1000000;
  std::string Input = "<a";
  for (int I = 0; I < Count; ++I) {
    const std::string N = UTF8Encode(IntToStr(I));
    Input += " a" + N + "=\"" + N + "\"";
  }
  Input += ">text</a>";
  TGuardedBuffer Buffer(Input.size());
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  Buffer.Load(D.get(), Input);
  const TdxXMLNode* A = D->Root()->GetFirst();
  EXPECT_EQ(Count, A->Attributes()->Count());
  EXPECT_EQ("a999999", A->Attributes()->Last()->Name());
  EXPECT_EQ("999999", A->Attributes()->Last()->Value());
  EXPECT_EQ("text", A->Text());
  const std::string Saved = SaveXml(D.get(), true);
  auto Back = LoadXml(Saved);
  EXPECT_EQ(Count, Back->Root()->GetFirst()->Attributes()->Count());
  EXPECT_EQ(Saved, SaveXml(Back.get(), true));
}

TEST(XmlRobustness, LongNamesValuesAndTexts) {
  const std::string Name(1 << 20, 'n');
  const std::string Value(4 << 20, 'v');
  std::string Text(32 << 20, 't');
  Text[1000] = '&';  // unescaping reaches the whole text
  Text.replace(2000, 5, "&lt;;");
  std::string Input = "<" + Name + " " + Name + "=\"" + Value + "\">" + Text + "</" + Name + ">";
  TGuardedBuffer Buffer(Input.size());
  TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
  Buffer.Load(D.get(), Input);
  const TdxXMLNode* E = D->Root()->GetFirst();
  ASSERT_NE(nullptr, E);
  EXPECT_EQ(Name, E->Name().View());
  EXPECT_EQ(Value, E->Attributes()->GetValue(TdxXMLString(Name)).View());
  EXPECT_EQ(Text.size() - 3, E->Text().Length());
  EXPECT_EQ("<;", E->Text().View().substr(2000, 2));
  const std::string Saved = SaveXml(D.get(), false);
  auto Back = LoadXml(Saved);
  EXPECT_EQ(E->Text(), Back->Root()->GetFirst()->Text());
  // A long run without any delimiter, and unterminated sections, read in
  // linear time.
  std::string Sections;
  for (int I = 0; I < 200000; ++I) Sections += "<!--<![CDATA[";
  TGuardedBuffer Many(Sections.size());
  TOwned<TdxXMLDocument> M(Create<TdxXMLDocument>(nullptr));
  Many.Load(M.get(), Sections);
  EXPECT_EQ("", XmlTreeText(M.get()));
}

}  // namespace
