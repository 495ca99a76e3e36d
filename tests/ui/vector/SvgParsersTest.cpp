// The value, transform and path-data readers of SVG attributes.
#include <gtest/gtest.h>

#include <cmath>

#include "SvgTestSupport.h"
#include "XmlTestSupport.h"

namespace {
std::vector<Single> Numbers(const wchar_t* S) {
  std::vector<Single> V;
  TdxSVGParserNumbers::AsNumbers(S, V);
  return V;
}

TEST(SvgNumbers, ScannerTakesOnlyPlainDecimalForms) {
  struct {
    const wchar_t* Text;
    std::vector<Single> Expected;
  } Cases[] = {
      {L"1-2", {1, -2}},     {L"1.5.5", {1.5f, 0.5f}},
      {L"1e-5", {1e-5f}},    {L"10,20 30", {10, 20, 30}},
      {L"3px", {3}},         {L"inf nan", {}},
      {L"0x1p3", {0, 1, 3}}, {L"1e40 2", {2}},  // beyond single precision: unreadable
      {L"1e-50", {0}},       {L"-.5+.25", {-0.5f, 0.25f}},
      {L"1e", {}},           {L"", {}},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(Numbers(C.Text), C.Expected) << AnsiString(C.Text, C.Text + wcslen(C.Text));
}

// Every number form, cut at every length and placed to end right before a
// page the process may not touch: the scanner decides from the characters it
// was given and never looks at the one after.
TEST(SvgNumbers, ScannerNeverReadsPastItsText) {
  struct {
    const wchar_t* Text;
    bool Readable;
    Single Value;
  } Cases[] = {
      {L"-12.5e+3", true, -12500},
      {L"+.5E-2", true, 0.005f},
      {L"7.", true, 7},
      {L"1e", false, 0},
      {L"1e+", false, 0},
      {L"-", false, 0},
      {L".", false, 0},
      {L"", false, 0},
      {L"3e38", true, 3e38f},
      {L"3e39", false, 0},
      {L"1e-99", true, 0},
      {L"12px", false, 0},
  };
  TGuardedBuffer Buffer(256);
  for (const auto& C : Cases) {
    const std::wstring Text = C.Text;
    SCOPED_TRACE(AnsiString(Text.c_str(), Text.c_str() + Text.size()));
    for (size_t Length = 0; Length <= Text.size(); ++Length) {
      const auto* P =
          static_cast<const wchar_t*>(Buffer.Place(Text.data(), Length * sizeof(wchar_t)));
      Single V = -1;
      const bool Ok = dxSVGTryTextToFloat(P, Length, V);
      if (Length == Text.size()) {
        EXPECT_EQ(Ok, C.Readable);
        if (Ok) EXPECT_FLOAT_EQ(V, C.Value);
      }
    }
  }
}

TEST(SvgNumbers, PointsPairAndDropTheOddOne) {
  TOwned<TdxSVGPoints> P(Create<TdxSVGPoints>());
  P->Add(TdxPointF{9, 9});
  TdxSVGParserNumbers::AsPoints(L"1,2 3,4 5", P.get());
  ASSERT_EQ(P->Count(), 2);
  EXPECT_EQ(P->Items(1).X, 3);
  EXPECT_EQ(P->Items(1).Y, 4);
  EXPECT_THROW(P->Items(2), EListError);
}

TEST(SvgNumbers, ReadTheSameUnderACommaLocale) {
  wchar_t Old[8] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Old, 8);
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L",");
  const std::vector<Single> V = Numbers(L"1.5 2,5");
  TdxSVGValue L;
  const bool Parsed = TdxSVGParserValue::Parse(L"2.5mm", L);
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Old);
  EXPECT_EQ(V, (std::vector<Single>{1.5f, 2, 5}));
  ASSERT_TRUE(Parsed);
  EXPECT_FLOAT_EQ(L.Data, 2.5f);
}

TEST(SvgValues, LengthsWithUnits) {
  struct {
    const wchar_t* Text;
    bool Ok;
    Single Pixels;  // at 96 DPI, percentages of 200
  } Cases[] = {
      {L"12", true, 12},     {L"12px", true, 12},  {L" 12 PX ", true, 12}, {L"2in", true, 192},
      {L"12pt", true, 16},   {L"1pc", true, 16},   {L"25.4mm", true, 96},  {L"2.54cm", true, 96},
      {L"10%", true, 20},    {L"1.5em", false, 0}, {L"auto", false, 0},    {L"", false, 0},
      {L"1e40px", false, 0}, {L"px", false, 0},
  };
  for (const auto& C : Cases) {
    TdxSVGValue V;
    const bool Ok = TdxSVGParserValue::Parse(C.Text, V);
    EXPECT_EQ(Ok, C.Ok) << AnsiString(C.Text, C.Text + wcslen(C.Text));
    if (Ok) EXPECT_NEAR(V.ToPixels(96, 200), C.Pixels, 1e-3);
  }
  EXPECT_THROW(TdxSVGValue::Create(10, utPercents).ToPixels(96), EInvalidArgument);
  EXPECT_THROW(TdxSVGParserValue::StringToUnitsType(L"em"), EdxException);
}

TEST(SvgValues, ColoursAsSvgDefinesThem) {
  struct {
    const wchar_t* Text;
    Cardinal Expected;
  } Cases[] = {
      {L"rgb(255,0,0)", 0xFFFF0000},
      {L"rgb(256,0,0)", 0xFFFF0000},
      {L"rgb(-5, 300, 7)", 0xFF00FF07},
      {L"rgb(100%, 50%, 0%)", 0xFFFF8000},
      {L"rgb(1,2)", 0x00010203},
      {L"inherit", 0x00010203},
      {L"none", 0},
      {L"#abc", 0xFFAABBCC},
      {L"#102030", 0xFF102030},
      {L"red", 0xFFFF0000},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(static_cast<Cardinal>(TdxSVGAdapterColorValue::StringToAlphaColor(C.Text)),
              C.Expected)
        << AnsiString(C.Text, C.Text + wcslen(C.Text));
  EXPECT_THROW(TdxSVGAdapterColorValue::StringToAlphaColor(L"#12345g"), EConvertError);
}

TEST(SvgValues, PaintsAndReferences) {
  EXPECT_TRUE(TdxSVGAdapterFillValue::StringToFill(L"inherit").IsDefault());
  EXPECT_EQ(TdxSVGAdapterFillValue::StringToFill(L" url(#g1)").AsReference(), L"g1");
  EXPECT_TRUE(TdxSVGAdapterFillValue::StringToFill(L"url(g1)").IsDefault());
  struct {
    const wchar_t* Text;
    bool Ok;
    const wchar_t* Id;
  } Cases[] = {{L"url(#g1)", true, L"g1"}, {L"#g1", true, L"g1"}, {L"URL(#a)", true, L"a"},
               {L"url( #g1)", false, L""}, {L"g1", false, L""},   {L"", false, L""}};
  for (const auto& C : Cases) {
    String Id;
    EXPECT_EQ(TdxSVGAdapterReferenceValue::TryStringToReference(C.Text, Id), C.Ok);
    if (C.Ok) EXPECT_EQ(Id, C.Id);
  }
}

TEST(SvgValues, KeywordTablesAndFallbacks) {
  EXPECT_EQ(TdxSVGAdapterContentUnitsValue::StringToContentUnits(L"objectBoundingBox"),
            cuObjectBoundingBox);
  EXPECT_EQ(TdxSVGAdapterContentUnitsValue::StringToContentUnits(L"other"), cuUserSpaceOnUse);
  EXPECT_EQ(TdxSVGAdapterFillRuleValue::StringToFillRule(L"evenodd"), fmEvenOdd);
  EXPECT_EQ(TdxSVGAdapterFillRuleValue::StringToFillRule(L"EvenOdd"), fmInherit);
  EXPECT_EQ(TdxSVGAdapterLineCap::StringToLineCap(L"round"), lcsRound);
  EXPECT_EQ(TdxSVGAdapterLineCap::StringToLineCap(L""), lcsDefault);
  EXPECT_EQ(TdxSVGAdapterLineJoin::StringToLineJoin(L""), LineJoinMiterClipped);
  EXPECT_EQ(TdxSVGAdapterLineJoin::StringToLineJoin(L"Round"), LineJoinMiter);
  EXPECT_EQ(TdxSVGAdapterLineJoin::StringToLineJoin(L"bevel"), LineJoinBevel);
  EXPECT_EQ(TdxSVGAdapterTextAnchorValue::StringToTextAnchor(L"middle"), taMiddle);
  EXPECT_EQ(TdxSVGAdapterTextAnchorValue::StringToTextAnchor(L"x"), taInherit);
}

TEST(SvgValues, ViewBoxes) {
  const TdxRectF A = TdxSVGParserRect::Parse(L"0 0 16 16");
  EXPECT_EQ(A.Right, 16);
  EXPECT_EQ(A.Bottom, 16);
  const TdxRectF B = TdxSVGParserRect::Parse(L"0,0,16");
  EXPECT_EQ(B.Right, 0);
  const TdxRectF C = TdxSVGParserRect::Parse(L"new 1 2 3 4");
  EXPECT_EQ(C.Left, 1);
  EXPECT_EQ(C.Bottom, 6);
}

TEST(SvgValues, FontShorthand) {
  String Name;
  TFontStyles Styles;
  Single Size;
  ASSERT_TRUE(TdxSVGFontStyleString::Parse(L"italic bold 12px Arial", Name, Styles, Size));
  EXPECT_EQ(Name, L"Arial");
  EXPECT_EQ(Size, 12);
  EXPECT_TRUE(Styles.Contains(TFontStyle::fsBold) && Styles.Contains(TFontStyle::fsItalic));
  EXPECT_EQ(TdxSVGFontStyleString::Build(Name, Styles, 12.7f), L"italic bold 12px Arial");
  EXPECT_FALSE(TdxSVGFontStyleString::Parse(L"12px", Name, Styles, Size));
  ASSERT_TRUE(TdxSVGFontStyleString::Parse(L"12pt Arial", Name, Styles, Size));
  EXPECT_EQ(Size, 16);
  ASSERT_TRUE(TdxSVGFontStyleString::Parse(L"bold 12px/14px Times New Roman", Name, Styles, Size));
  EXPECT_EQ(Name, L"Times");
  EXPECT_EQ(Size, 12);
  EXPECT_THROW(TdxSVGFontStyleString::Parse(L"10% Arial", Name, Styles, Size), EInvalidArgument);
}

TdxPointF Map(const wchar_t* ATransform, TdxPointF P) {
  TOwned<TdxMatrix> M(Create<TdxMatrix>());
  TdxSVGParserTransform::Parse(ATransform, M.get());
  return TdxXFormHelper::Transform(M->Matrix(), P);
}

TEST(SvgTransforms, OperatorListsApplyRightToLeft) {
  struct {
    const wchar_t* Text;
    TdxPointF In, Out;
  } Cases[] = {
      {L"rotate(90 8 8)", {8, 0}, {16, 8}},
      {L"translate(10) scale(2)", {1, 1}, {12, 2}},
      {L"translate(10),scale(2)", {1, 1}, {12, 2}},
      {L"translate (10) , scale (2)", {1, 1}, {12, 2}},
      {L"scale(2, 3)", {1, 1}, {2, 3}},
      {L"skewX(45)", {0, 1}, {1, 1}},
      {L"skewY(45)", {1, 0}, {1, 1}},
      {L"matrix(1 0 0 1 5 6)", {0, 0}, {5, 6}},
      {L"spin(90) translate(1 2)", {0, 0}, {1, 2}},
      {L"", {3, 4}, {3, 4}},
  };
  for (const auto& C : Cases) {
    const TdxPointF P = Map(C.Text, C.In);
    EXPECT_NEAR(P.X, C.Out.X, 1e-4) << AnsiString(C.Text, C.Text + wcslen(C.Text));
    EXPECT_NEAR(P.Y, C.Out.Y, 1e-4) << AnsiString(C.Text, C.Text + wcslen(C.Text));
  }
}

TEST(SvgTransforms, RepeatedValuesAccumulate) {
  TOwned<TdxMatrix> M(Create<TdxMatrix>());
  TdxSVGParserTransform::Parse(L"translate(1 0)", M.get());
  TdxSVGParserTransform::Parse(L"scale(2)", M.get());
  const TdxPointF P = TdxXFormHelper::Transform(M->Matrix(), TdxPointF{1, 1});
  EXPECT_NEAR(P.X, 3, 1e-5);
}

// Commands as "class finish-x finish-y" lines.
std::string Commands(const wchar_t* AData) {
  TOwned<TdxSVGParserPath> Parser(Create<TdxSVGParserPath>());
  Parser->Parse(AData);
  std::string R;
  for (Integer I = 0; I < Parser->GetCommandCount(); ++I) {
    TdxSVGParserPathCommand* C = Parser->GetCommand(I);
    String Name = C->ClassName().substr(wcslen(L"TdxSVGParserPathCommand"));
    R += AnsiString(Name.begin(), Name.end()) + " " +
         std::to_string(std::lround(C->FinishPoint.X)) + " " +
         std::to_string(std::lround(C->FinishPoint.Y)) + ";";
  }
  return R;
}

TEST(SvgPathData, CommandsAndCurrentPoint) {
  struct {
    const wchar_t* Data;
    const char* Expected;
  } Cases[] = {
      {L"M10 10 H20 V20 Z", "MoveTo 10 10;Open 10 10;Line 20 10;Line 20 20;Close 10 10;"},
      {L"m1 1 2 2", "MoveTo 1 1;Open 1 1;Line 3 3;"},
      {L"M0 0 h6 v6 h-6z", "MoveTo 0 0;Open 0 0;Line 6 0;Line 6 6;Line 0 6;Close 0 0;"},
      {L"M0 0 L1e2 0", "MoveTo 0 0;Open 0 0;Line 100 0;"},
      {L"M0 0 L1E2 0", "MoveTo 0 0;Open 0 0;Line 100 0;"},
      {L"M0 0 x5 5 L1 1", "MoveTo 0 0;Open 0 0;Line 1 1;"},
      {L"M0 0 a5 5 0 0110 0", "MoveTo 0 0;Open 0 0;Arc 10 0;"},
      {L"M0 0 a5 5 0 1 1 10 0 5 5 0 1 1 10 0", "MoveTo 0 0;Open 0 0;Arc 10 0;Arc 20 0;"},
      {L"M0 0 C 1 1 2 2 3 3 4 4", "MoveTo 0 0;Open 0 0;CurveTo 3 3;"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(Commands(C.Data), C.Expected) << AnsiString(C.Data, C.Data + wcslen(C.Data));
}

TEST(SvgPathData, SmoothCurvesMirrorTheirControls) {
  TOwned<TdxSVGParserPath> P(Create<TdxSVGParserPath>());
  P->Parse(L"M0 0 Q 10 10 20 0 T 40 0");
  auto* Q = dynamic_cast<TdxSVGParserPathCommandQuadraticCurveTo*>(P->GetCommand(3));
  ASSERT_NE(Q, nullptr);
  EXPECT_EQ(Q->MiddlePoint.X, 30);
  EXPECT_EQ(Q->MiddlePoint.Y, -10);
  TOwned<TdxSVGParserPath> S(Create<TdxSVGParserPath>());
  S->Parse(L"M0 0 C 0 5 10 5 10 0 S 20 -5 20 0");
  auto* C = dynamic_cast<TdxSVGParserPathCommandCurveTo*>(S->GetCommand(3));
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->Point1.X, 10);
  EXPECT_EQ(C->Point1.Y, -5);
}

TEST(SvgPathData, MalformedStartsRaise) {
  EXPECT_THROW(TOwned<TdxSVGParserPath>(Create<TdxSVGParserPath>())->Parse(L"M"), EListError);
  EXPECT_THROW(TOwned<TdxSVGParserPath>(Create<TdxSVGParserPath>())->Parse(L"T 4 4"), EListError);
}

std::vector<TdxSVGBezier> Arc(TdxPointF S, TdxPointF F, TdxPointF R, bool Large, bool Sweep,
                              Single Angle = 0) {
  TOwned<TdxSVGParserPathCommandArc> A(Create<TdxSVGParserPathCommandArc>());
  A->StartPoint = S;
  A->FinishPoint = F;
  A->Radius = R;
  A->LargeArc = Large;
  A->Sweep = Sweep;
  A->Angle = Angle;
  return A->GetSegments();
}

TdxPointF BezierAt(const TdxSVGBezier& B, Double T) {
  const Double U = 1 - T;
  auto C = [&](Single P1, Single C1, Single C2, Single P4) {
    return static_cast<Single>(U * U * U * P1 + 3 * U * U * T * C1 + 3 * U * T * T * C2 +
                               T * T * T * P4);
  };
  return TdxPointF{C(B.P1.X, B.C1.X, B.C2.X, B.P4.X), C(B.P1.Y, B.C1.Y, B.C2.Y, B.P4.Y)};
}

// Points along every segment lie on the circle of radius R about the centre.
void ExpectOnCircle(const std::vector<TdxSVGBezier>& ASegments, TdxPointF ACentre, Double R) {
  for (const TdxSVGBezier& B : ASegments)
    for (Double T = 0; T <= 1; T += 0.125) {
      const TdxPointF P = BezierAt(B, T);
      EXPECT_NEAR(std::hypot(P.X - ACentre.X, P.Y - ACentre.Y), R, R * 3e-4);
    }
}

TEST(SvgPathData, ArcsBecomeBezierSegmentsOnTheEllipse) {
  const auto Upper = Arc({0, 0}, {10, 0}, {5, 5}, false, true);
  ASSERT_EQ(Upper.size(), 2u);
  EXPECT_NEAR(Upper[0].P4.Y, -5, 1e-4);
  ExpectOnCircle(Upper, {5, 0}, 5);
  const auto Lower = Arc({0, 0}, {10, 0}, {5, 5}, false, false);
  ASSERT_EQ(Lower.size(), 2u);
  EXPECT_NEAR(Lower[0].P4.Y, 5, 1e-4);
  // Radii too small are scaled up to fit exactly.
  const auto Scaled = Arc({0, 0}, {10, 0}, {1, 1}, false, true);
  ExpectOnCircle(Scaled, {5, 0}, 5);
  // Negative radii count as their absolute values.
  const auto Negative = Arc({0, 0}, {10, 0}, {-5, -5}, false, true);
  ExpectOnCircle(Negative, {5, 0}, 5);
  EXPECT_EQ(Arc({0, 0}, {1, 1}, {5, 5}, false, true).size(), 1u);
  EXPECT_EQ(Arc({0, 0}, {0.001f, 0}, {5, 5}, true, true).size(), 4u);
  EXPECT_TRUE(Arc({3, 3}, {3, 3}, {5, 5}, false, true).empty());
  const auto Straight = Arc({0, 0}, {10, 0}, {0, 5}, false, true);
  ASSERT_EQ(Straight.size(), 1u);
  EXPECT_EQ(Straight[0].C1.X, 0);
  EXPECT_EQ(Straight[0].C2.X, 10);
}
}  // namespace
