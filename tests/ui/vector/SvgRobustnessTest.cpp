// SVG images on damaged and hostile input: mutated attribute values, path
// data, transforms and styles either load or are refused with a reason, and
// whatever loads draws; crafted documents (reference cycles, fan-out, deep
// nesting, degenerate view boxes, numbers at the edge of single precision,
// thousands of stops) end in bounded memory.
#include <gtest/gtest.h>

#include <set>

#include "Classes.h"
// After the platform headers that Classes.h brings in.
#include <psapi.h>

#include "SvgTestSupport.h"
#include "XmlTestSupport.h"

namespace {

// The exceptions with which the Parts let a load fail: a malformed plain
// number or "#" colour, a percentage in a font shorthand, a path that starts
// without coordinates or with a smooth curve, a document nested too deep.
const std::set<String> LoadRejections = {L"EConvertError", L"EInvalidArgument", L"EListError",
                                         L"EdxException"};

bool IsExpectedRejection(const String& AError) {
  const size_t Colon = AError.find(L':');
  return Colon != String::npos && LoadRejections.count(AError.substr(0, Colon)) > 0;
}

// A value or text of the document that the fuzzer may change.
struct TTarget {
  TdxXMLNodeAttribute* Attribute;
  TdxXMLNode* Node;  // the text of a style or text element
  TdxXMLString Get() const { return Attribute ? Attribute->Value() : Node->Text(); }
  void Set(const TdxXMLString& AValue) const {
    if (Attribute)
      Attribute->SetValue(AValue);
    else
      Node->SetText(AValue);
  }
};

std::vector<TTarget> TargetsOf(TdxXMLDocument* ADocument, std::vector<TdxXMLNode*>& AElements) {
  std::vector<TTarget> Result;
  std::vector<TdxXMLNode*> Pending{ADocument->Root()};
  while (!Pending.empty()) {
    TdxXMLNode* N = Pending.back();
    Pending.pop_back();
    if (N != ADocument->Root()) AElements.push_back(N);
    for (TdxXMLNodeAttribute* A = N->Attributes()->First(); A; A = A->Next())
      Result.push_back({A, nullptr});
    if (N->Name() == "style" || N->Name() == "text") Result.push_back({nullptr, N});
    for (TdxXMLNode* C = N->GetFirst(); C; C = C->GetNext()) Pending.push_back(C);
  }
  return Result;
}

// Pieces of the value grammars: numbers at the edges of single precision,
// units, paint and reference syntax, path letters, transform operators,
// style punctuation.
const std::string_view Tokens[] = {"1e40",
                                   "-1e40",
                                   "3e38",
                                   "1e-45",
                                   "NaN",
                                   "inf",
                                   "-0",
                                   "0",
                                   "-1",
                                   "1e",
                                   "e5",
                                   ".",
                                   ".5.5",
                                   "-.",
                                   "9e9",
                                   "1E2",
                                   "url(#",
                                   ")",
                                   "(",
                                   "rgb(",
                                   "rgb(300,-5,50%)",
                                   "%",
                                   "#",
                                   "#fff",
                                   "#ggg",
                                   "none",
                                   "inherit",
                                   "M",
                                   "m0",
                                   "a",
                                   "A1 1 0 0110 10",
                                   "z",
                                   "q",
                                   "t",
                                   "s",
                                   "c",
                                   "matrix(",
                                   "rotate(",
                                   "scale(0)",
                                   "skewX(90)",
                                   "translate(",
                                   "  ",
                                   ",",
                                   ";",
                                   ":",
                                   "{",
                                   "}",
                                   "em",
                                   "px",
                                   "in",
                                   "%",
                                   "evenodd",
                                   "round",
                                   "0 0 0 0",
                                   "0 0 1e30 1e-30",
                                   "fill:",
                                   "stroke-dasharray:0",
                                   "opacity:2"};

// Attribute names to add: the bound ones and a few the loader skips.
const char* const Names[] = {"fill",
                             "stroke",
                             "stroke-width",
                             "stroke-dasharray",
                             "transform",
                             "style",
                             "d",
                             "points",
                             "viewBox",
                             "clip-path",
                             "href",
                             "opacity",
                             "fill-opacity",
                             "stroke-dashoffset",
                             "offset",
                             "stop-color",
                             "x",
                             "rx",
                             "font",
                             "class"};

std::string MutateValue(std::string S, const std::vector<std::string>& AValues, TRandom& R) {
  static constexpr std::string_view Alphabet = "0123456789.-+eE,; ()#%aAcCmMlLzZqQsStThHvV";
  const size_t Steps = 1 + R.Below(3);
  for (size_t Step = 0; Step < Steps; ++Step) {
    const size_t At = R.Below(S.size() + 1);
    switch (R.Below(7)) {
      case 0:  // change a character
        if (!S.empty()) S[R.Below(S.size())] = Alphabet[R.Below(Alphabet.size())];
        break;
      case 1: {  // insert a token
        const std::string_view T = Tokens[R.Below(std::size(Tokens))];
        S.insert(At, T.data(), T.size());
        break;
      }
      case 2:  // delete a run
        S.erase(At, 1 + R.Below(6));
        break;
      case 3:  // repeat a run
        S.insert(At, S.substr(At, 1 + R.Below(24)));
        break;
      case 4:  // another value of the corpus
        S = AValues[R.Below(AValues.size())];
        break;
      case 5:  // cut short
        S.resize(At);
        break;
      default:  // any byte
        S.insert(At, 1, static_cast<char>(R.Below(256)));
    }
  }
  return S;
}

struct TSeed {
  String Name;
  std::string Bytes;
};

std::vector<TSeed> Seeds() {
  std::vector<TSeed> Result;
  for (const wchar_t* Folder : {L"corpus", L"deviations", L"fixtures", L"crafted"})
    for (const String& F : FilesIn(TestDir() + L"/svg/" + Folder, L"*.svg"))
      if (F.find(L"fanout") == String::npos) Result.push_back({F, ReadFileBytes(F)});
  return Result;
}

// Loads the document and, when it loads, draws it: through the handle's
// raster at 16 px, or (cheaper) straight onto a canvas of 24 px. Returns the
// first broken promise.
std::string LoadAndDraw(TdxXMLDocument* ADocument, bool AThroughRaster) {
  String Error;
  TdxSVGImageHandle* Loaded = nullptr;
  try {
    if (!TdxSVGImageCodec::Load(ADocument, Loaded, &Error)) {
      if (Error.empty()) return "refused without a reason";
      if (!IsExpectedRejection(Error)) return "refused with " + UTF8Encode(Error);
      return std::string();
    }
  } catch (...) {
    return "the load raised";
  }
  TOwned<TdxSVGImageHandle> H(Loaded);
  try {
    if (AThroughRaster)
      RenderByDraw(H.get(), 16, 16);
    else
      RenderDirect(H.get(), 24, 24);
  } catch (const Exception& E) {
    return "the draw raised " + UTF8Encode(E.ClassName() + L": " + E.Message());
  }
  return std::string();
}

TEST(SvgRobustness, MutatedValuesLoadOrAreRefusedAndAlwaysDraw) {
  constexpr Integer MutationsPerSeed = 48;
  const std::vector<TSeed> All = Seeds();
  ASSERT_GT(All.size(), 20u);
  std::vector<std::string> Values;
  for (const TSeed& S : All) {
    auto D = LoadXml(S.Bytes);
    std::vector<TdxXMLNode*> Elements;
    for (const TTarget& T : TargetsOf(D.get(), Elements))
      Values.push_back(std::string(T.Get().View()));
  }
  TRandom R(20240917);
  Integer Failures = 0, Loaded = 0, Runs = 0;
  for (const TSeed& S : All) {
    for (Integer I = 0; I < MutationsPerSeed; ++I, ++Runs) {
      auto D = LoadXml(S.Bytes);
      std::vector<TdxXMLNode*> Elements;
      const std::vector<TTarget> Targets = TargetsOf(D.get(), Elements);
      ASSERT_FALSE(Targets.empty()) << UTF8Encode(S.Name);
      std::string Changes;
      for (size_t K = 1 + R.Below(2); K > 0; --K) {
        const TTarget& T = Targets[R.Below(Targets.size())];
        const std::string Value = MutateValue(std::string(T.Get().View()), Values, R);
        T.Set(TdxXMLString(Value));
        Changes += " " + std::string(T.Attribute ? T.Attribute->Name().View() : "text") + "=[" +
                   XmlEscapeField(Value) + "]";
      }
      if (R.Below(4) == 0) {
        const char* Name = Names[R.Below(std::size(Names))];
        const std::string Value = MutateValue(Values[R.Below(Values.size())], Values, R);
        Elements[R.Below(Elements.size())]->Attributes()->SetValue(Name, TdxXMLString(Value));
        Changes += std::string(" +") + Name + "=[" + XmlEscapeField(Value) + "]";
      }
      const std::string Problem = LoadAndDraw(D.get(), I % 4 == 0);
      if (Problem.empty()) {
        Loaded += D->Root()->GetFirst() ? 1 : 0;
        continue;
      }
      if (++Failures <= 5)
        ADD_FAILURE() << UTF8Encode(S.Name) << ": " << Problem << " after" << Changes;
      KeepFuzzFailure(Failures, SaveXml(D.get(), false), L".svg");
    }
  }
  EXPECT_EQ(0, Failures) << "of " << Runs;
  EXPECT_GT(Loaded, Runs / 2) << "most mutations still load";
}

UInt64 PrivateBytes(bool APeak) {
  PROCESS_MEMORY_COUNTERS M{};
  M.cb = sizeof(M);
  GetProcessMemoryInfo(GetCurrentProcess(), &M, sizeof(M));
  return APeak ? M.PeakPagefileUsage : M.PagefileUsage;
}

std::string Repeated(std::string_view APiece, Integer ACount) {
  std::string S;
  S.reserve(APiece.size() * static_cast<size_t>(ACount));
  for (Integer I = 0; I < ACount; ++I) S += APiece;
  return S;
}

// Each crafted document loads or is refused with a reason, draws at 16 and
// 256 px without raising, and the process's memory stays within bounds.
TEST(SvgRobustness, CraftedDocumentsEndInBoundedMemory) {
  std::vector<TSeed> Cases;
  for (const String& F : FilesIn(TestDir() + L"/svg/crafted", L"*.svg"))
    Cases.push_back({F, ReadFileBytes(F)});
  ASSERT_GE(Cases.size(), 10u);
  const std::string Root =
      "<svg xmlns='http://www.w3.org/2000/svg' width='32' height='32' viewBox='0 0 32 32'>";
  Cases.push_back({L"100000 nested groups", Root + Repeated("<g>", 100000) +
                                                "<rect width='9' height='9'/>" +
                                                Repeated("</g>", 100000) + "</svg>"});
  Cases.push_back(
      {L"nesting at the limit", Root + Repeated("<g opacity='0.99'>", dxSVGMaxNestingLevel - 1) +
                                    "<rect width='9' height='9'/>" +
                                    Repeated("</g>", dxSVGMaxNestingLevel - 1) + "</svg>"});
  std::string Stops;
  for (Integer I = 0; I < 5000; ++I)
    Stops += "<stop offset='" + std::to_string((I * 7919) % 5000 / 5000.0) + "' stop-color='#" +
             std::to_string(100000 + I) + "'/>";
  Cases.push_back({L"5000 stops", Root + "<linearGradient id='g'>" + Stops +
                                      "</linearGradient><rect width='32' height='32' "
                                      "fill='url(#g)' stroke='url(#g)'/></svg>"});
  Cases.push_back({L"100000 sibling uses", Root + "<rect id='r' width='1' height='1'/>" +
                                               Repeated("<use href='#r' x='1'/>", 100000) +
                                               "</svg>"});
  const UInt64 PeakBefore = PrivateBytes(true);
  for (const TSeed& C : Cases) {
    SCOPED_TRACE(UTF8Encode(C.Name));
    const UInt64 Before = PrivateBytes(false);
    String Error;
    TOwned<TdxSVGImageHandle> H = LoadSvg(C.Bytes, &Error);
    if (!H) {
      EXPECT_TRUE(IsExpectedRejection(Error)) << UTF8Encode(Error);
      continue;
    }
    for (Integer Size : {16, 256}) {
      try {
        RenderByDraw(H.get(), Size, Size);
      } catch (const Exception& E) {
        ADD_FAILURE() << Size << " px: " << UTF8Encode(E.ClassName() + L": " + E.Message());
      }
    }
    H.reset();
    // What one document leaves behind once its handle is gone.
    EXPECT_LT(PrivateBytes(false), Before + (64u << 20));
  }
  EXPECT_LT(PrivateBytes(true), PeakBefore + (512u << 20));
}

}  // namespace
