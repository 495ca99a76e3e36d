// The element tree: bindings, style cascade, id lookup, inheritance, root
// size, skipped subtrees and rejected documents.
#include <gtest/gtest.h>

#include "ComObj.h"
#include "SvgTestSupport.h"

namespace {
TOwned<TdxSVGImageHandle> Load(const std::string& ABody, String* AError = nullptr) {
  return LoadSvg(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
      "viewBox=\"0 0 32 32\">" +
          ABody + "</svg>",
      AError);
}

TdxSVGElement* ById(TdxSVGImageHandle* H, const wchar_t* AId) {
  TdxSVGElement* E = nullptr;
  return H->Root()->FindByID(AId, E) ? E : nullptr;
}

Cardinal FillOf(TdxSVGElement* E) { return static_cast<Cardinal>(E->Fill().AsColor()); }

TEST(SvgTree, CascadeOrderIsAttributeThenClassRulesThenInlineStyle) {
  auto H = Load(
      "<style>.a { fill: #00ff00 } .b { fill: #0000ff } rect { stroke: #ff0000 }</style>"
      "<rect id='attr' fill='#111111'/>"
      "<rect id='cls' fill='#111111' class='a'/>"
      "<rect id='two' class='b a'/>"
      "<rect id='inl' fill='#111111' class='a' style='fill:#222222; FILL: #333333'/>"
      "<circle id='tag' class='a'/>");
  ASSERT_TRUE(H);
  EXPECT_EQ(FillOf(ById(H.get(), L"attr")), 0xFF111111u);
  EXPECT_EQ(FillOf(ById(H.get(), L"cls")), 0xFF00FF00u);
  EXPECT_EQ(FillOf(ById(H.get(), L"two")), 0xFF00FF00u);
  EXPECT_EQ(FillOf(ById(H.get(), L"inl")), 0xFF333333u);
  // A tag rule reaches elements whose class list is still their tag name.
  EXPECT_EQ(static_cast<Cardinal>(ById(H.get(), L"attr")->Stroke().AsColor()), 0xFFFF0000u);
  EXPECT_TRUE(ById(H.get(), L"cls")->Stroke().IsDefault());
}

TEST(SvgTree, TransformsOfRuleAndAttributeCombine) {
  auto H = Load(
      "<style>.t { transform: translate(10 0) }</style>"
      "<rect id='r' class='t' transform='scale(2)'/>");
  ASSERT_TRUE(H);
  const TdxPointF P =
      TdxXFormHelper::Transform(ById(H.get(), L"r")->Transform()->Matrix(), TdxPointF{1, 1});
  EXPECT_FLOAT_EQ(P.X, 22);
  EXPECT_FLOAT_EQ(P.Y, 2);
}

TEST(SvgTree, FontStylesOnlyAccumulate) {
  auto H = Load(
      "<style>.b { font-weight: bold }</style>"
      "<text id='t' class='b' font-weight='normal' font-style='italic'>Hi</text>");
  ASSERT_TRUE(H);
  auto* T = dynamic_cast<TdxSVGElementText*>(ById(H.get(), L"t"));
  ASSERT_NE(T, nullptr);
  EXPECT_TRUE(T->FFontStyles.Contains(TFontStyle::fsBold));
  EXPECT_TRUE(T->FFontStyles.Contains(TFontStyle::fsItalic));
  EXPECT_EQ(T->FText, L"Hi");
}

TEST(SvgTree, InheritedValuesWalkUpTheParents) {
  auto H = Load(
      "<g id='g' fill='#123456' stroke='#654321' stroke-width='3' fill-rule='evenodd'"
      " stroke-dasharray='1 2' stroke-linecap='round'>"
      "<rect id='plain'/><rect id='unknown' fill-rule='weird'/>"
      "<rect id='zero' stroke-width='0'/><rect id='negative' stroke-width='-2'/>"
      "<rect id='percent' stroke-width='5%'/>"
      "<rect id='inherit' fill='inherit'/></g><rect id='top'/><rect id='nonzero'/>");
  ASSERT_TRUE(H);
  TdxSVGElement* Plain = ById(H.get(), L"plain");
  EXPECT_EQ(static_cast<Cardinal>(Plain->GetActualFill(nullptr).AsColor()), 0xFF123456u);
  EXPECT_EQ(static_cast<Cardinal>(Plain->GetActualStroke(nullptr).AsColor()), 0xFF654321u);
  EXPECT_EQ(Plain->GetActualStrokeSize(), 3);
  EXPECT_EQ(Plain->GetActualStrokeDashArray()->Count(), 2);
  EXPECT_EQ(Plain->GetActualStrokeLineCap(), lcsRound);
  // An omitted fill-rule is nonzero without a look at the parent; an
  // unknown one inherits.
  EXPECT_EQ(Plain->GetActualFillMode(), gpfmWinding);
  EXPECT_EQ(ById(H.get(), L"unknown")->GetActualFillMode(), gpfmAlternate);
  // A width of 0 means no stroke; a negative width is ignored.
  EXPECT_EQ(ById(H.get(), L"zero")->GetActualStrokeSize(), 0);
  EXPECT_EQ(ById(H.get(), L"negative")->GetActualStrokeSize(), 3);
  // A percentage has nothing to be a share of here: it stays unset rather
  // than reading as 0, which would now mean no stroke.
  EXPECT_EQ(ById(H.get(), L"percent")->GetActualStrokeSize(), 3);
  EXPECT_EQ(static_cast<Cardinal>(ById(H.get(), L"inherit")->GetActualFill(nullptr).AsColor()),
            0xFF123456u);
  TdxSVGElement* Top = ById(H.get(), L"top");
  EXPECT_EQ(static_cast<Cardinal>(Top->GetActualFill(nullptr).AsColor()), 0xFF000000u);
  EXPECT_EQ(static_cast<Cardinal>(Top->GetActualStroke(nullptr).AsColor()), 0u);
  EXPECT_EQ(Top->GetActualStrokeSize(), 1);
  EXPECT_EQ(Top->GetActualStrokeDashOffset(), 0);
}

TEST(SvgTree, PaletteReplacesByClassName) {
  auto H = Load("<rect id='r' class='Red' fill='#ff0000'/><rect id='n' class='Red'/>");
  ASSERT_TRUE(H);
  TComPtr<IdxColorPalette> P = TComPtr<IdxColorPalette>::Borrow(
      Create<TdxSimpleColorPalette>(TdxAlphaColor(0xFF00FF00), TdxAlphaColor(0xFF0000FF)));
  EXPECT_EQ(static_cast<Cardinal>(ById(H.get(), L"r")->GetActualFill(P.Get()).AsColor()),
            0xFF00FF00u);
  // The stroke is replaced only where the element has a stroke of its own.
  EXPECT_EQ(static_cast<Cardinal>(ById(H.get(), L"n")->GetActualStroke(P.Get()).AsColor()), 0u);
}

TEST(SvgTree, FindByIdPrefersDirectChildrenAndIgnoresCase) {
  auto H = Load(
      "<g id='outer'><rect id='Same' fill='#000001'/></g><rect id='same' fill='#000002'/>"
      "<g><g><rect id='deep' fill='#000003'/></g></g>");
  ASSERT_TRUE(H);
  EXPECT_EQ(FillOf(ById(H.get(), L"SAME")), 0xFF000002u);
  EXPECT_EQ(FillOf(ById(H.get(), L"deep")), 0xFF000003u);
  EXPECT_EQ(ById(H.get(), L""), nullptr);
  EXPECT_EQ(ById(H.get(), L"none"), nullptr);
}

TEST(SvgTree, RootSizeAndSkippedSubtrees) {
  auto H = LoadSvg(
      "<svg viewBox='0 0 300 100' width='50%' height='2in'>"
      "<symbol><text id='hidden'>x</text></symbol><radialGradient id='rg'/>"
      "<g id='kept'/></svg>");
  ASSERT_TRUE(H);
  const TdxSizeF S = H->Root()->GetSize();
  EXPECT_EQ(S.cx, 300);
  EXPECT_EQ(S.cy, 192);
  EXPECT_EQ(ById(H.get(), L"hidden"), nullptr);
  EXPECT_EQ(ById(H.get(), L"rg"), nullptr);
  EXPECT_NE(ById(H.get(), L"kept"), nullptr);
  EXPECT_THROW(H->Root()->Elements(5), EInvalidArgument);
}

TEST(SvgTree, DocumentsThatLoadNothing) {
  struct {
    const char* Bytes;
    const char* Why;
  } Cases[] = {
      {"<html><svg/></html>", "the top element is not svg"},
      {"<SVG viewBox='0 0 1 1'/>", "the tag map compares exactly"},
      {"", "no elements"},
      {"\x89PNG\r\n\x1a\n", "not XML"},
  };
  for (const auto& C : Cases) EXPECT_FALSE(LoadSvg(C.Bytes)) << C.Why;
}

TEST(SvgTree, RejectionsAreCheckedExceptionsThatFailTheLoad) {
  struct {
    const char* Body;
    const wchar_t* Class;
  } Cases[] = {
      {"<rect opacity='half'/>", L"EConvertError"},
      {"<rect opacity='inf'/>", L"EConvertError"},
      {"<rect fill='#xyz'/>", L"EConvertError"},
      {"<text font='10% Arial'/>", L"EInvalidArgument"},
      {"<path d='M'/>", L"EListError"},
      {"<path d='S 1 1 2 2'/>", L"EListError"},
  };
  for (const auto& C : Cases) {
    String Error;
    EXPECT_FALSE(Load(C.Body, &Error)) << C.Body;
    EXPECT_EQ(Error.substr(0, wcslen(C.Class)), C.Class) << C.Body;
  }
}

TEST(SvgTree, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  std::string Deep;
  for (Integer I = 0; I < 100000; ++I) Deep += "<g>";
  Deep += "<rect width='1' height='1'/>";
  for (Integer I = 0; I < 100000; ++I) Deep += "</g>";
  String Error;
  EXPECT_FALSE(Load(Deep, &Error));
  EXPECT_NE(Error.find(L"deeper"), String::npos);
  std::string Fits;
  for (Integer I = 0; I < 400; ++I) Fits += "<g>";
  Fits += "<rect id='r' width='1' height='1'/>";
  for (Integer I = 0; I < 400; ++I) Fits += "</g>";
  auto H = Load(Fits);
  ASSERT_TRUE(H);
  EXPECT_NE(ById(H.get(), L"r"), nullptr);
}
}  // namespace
