// The label's settings: defaults and what a form resource stores, the line
// options, copying between scales, the depth reach and the text routines.
#include <gtest/gtest.h>

#include "ExtEditTestSupport.h"
#include "cxLabel.h"

namespace {
DECLARE_PROPERTIES_HOST(TLabelHost, TcxLabelProperties)
}  // namespace
IMPLEMENT_PROPERTIES_HOST(TLabelHost)

namespace {

using TProps = TcxLabelProperties;

TEST(LabelProperties, DefaultsAreTheDocumentedOnesAndNothingIsWritten) {
  TOwned<TLabelHost> Host = NewHost<TLabelHost>();
  TProps* P = Host->GetProperties();
  EXPECT_EQ(P->GetAngle(), 0);
  EXPECT_EQ(P->GetDepth(), 0);
  EXPECT_TRUE(P->GetGlyph()->Empty());
  EXPECT_EQ(P->GetLabelEffect(), cxleNormal);
  EXPECT_EQ(P->GetLabelStyle(), cxlsNormal);
  EXPECT_EQ(P->GetOrientation(), cxoRightBottom);
  EXPECT_EQ(P->GetPenWidth(), 1);
  EXPECT_EQ(P->GetShadowedColor(), clGrayText);
  EXPECT_TRUE(P->GetShowAccelChar());
  EXPECT_FALSE(P->GetShowEndEllipsis());
  EXPECT_FALSE(P->GetWordWrap());
  EXPECT_EQ(P->GetLineOptions()->GetAlignment(), cxllaCenter);
  EXPECT_EQ(P->GetLineOptions()->GetInnerColor(), clDefault);
  EXPECT_EQ(P->GetLineOptions()->GetOuterColor(), clDefault);
  EXPECT_FALSE(P->GetLineOptions()->GetVisible());
  EXPECT_EQ(PropertyLines(Host.get()), "");
}

struct TStoredCase {
  const char* Name;
  void (*Apply)(TProps*);
  const char* Lines;
};

const TStoredCase StoredCases[] = {
    {"alignment", [](TProps* P) { P->GetAlignment()->SetHorz(taRightJustify); },
     "  Properties.Alignment.Horz = taRightJustify\n"},
    {"angle", [](TProps* P) { P->SetAngle(-90); }, "  Properties.Angle = -90\n"},
    {"depth", [](TProps* P) { P->SetDepth(4); }, "  Properties.Depth = 4\n"},
    {"effect", [](TProps* P) { P->SetLabelEffect(cxleExtrude); },
     "  Properties.LabelEffect = cxleExtrude\n"},
    {"style", [](TProps* P) { P->SetLabelStyle(cxlsOutLine); },
     "  Properties.LabelStyle = cxlsOutLine\n"},
    {"line options",
     [](TProps* P) {
       P->GetLineOptions()->SetVisible(true);
       P->GetLineOptions()->SetAlignment(cxllaTop);
       P->GetLineOptions()->SetInnerColor(clRed);
     },
     "  Properties.LineOptions.Alignment = cxllaTop\n  Properties.LineOptions.InnerColor = "
     "clRed\n  Properties.LineOptions.Visible = True\n"},
    {"orientation", [](TProps* P) { P->SetOrientation(cxoTop); },
     "  Properties.Orientation = cxoTop\n"},
    {"pen width", [](TProps* P) { P->SetPenWidth(3); }, "  Properties.PenWidth = 3\n"},
    {"shadow colour", [](TProps* P) { P->SetShadowedColor(clBlack); },
     "  Properties.ShadowedColor = clBlack\n"},
    {"accelerator off", [](TProps* P) { P->SetShowAccelChar(false); },
     "  Properties.ShowAccelChar = False\n"},
    {"ellipsis", [](TProps* P) { P->SetShowEndEllipsis(true); },
     "  Properties.ShowEndEllipsis = True\n"},
    {"word wrap", [](TProps* P) { P->SetWordWrap(true); }, "  Properties.WordWrap = True\n"},
    {"transparent is never stored", [](TProps* P) { P->SetTransparent(true); }, ""},
};

class LabelStored : public ::testing::TestWithParam<TStoredCase> {};

TEST_P(LabelStored, WritesOnlyWhatDiffersAndReadsItBack) {
  const TStoredCase& C = GetParam();
  TOwned<TLabelHost> Host = NewHost<TLabelHost>();
  C.Apply(Host->GetProperties());
  EXPECT_EQ(PropertyLines(Host.get()), C.Lines);
  TOwned<TLabelHost> Read = RoundTrip(Host.get());
  EXPECT_EQ(FormResourceText(Read.get()), FormResourceText(Host.get()));
}

INSTANTIATE_TEST_SUITE_P(Table, LabelStored, ::testing::ValuesIn(StoredCases), [](const auto& I) {
  std::string N = I.param.Name;
  for (char& Ch : N)
    if (!isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
  return N;
});

TEST(LabelProperties, EachRealChangeNotifiesOnce) {
  const std::pair<const char*, void (*)(TProps*)> Setters[] = {
      {"Angle", [](TProps* P) { P->SetAngle(45); }},
      {"Depth", [](TProps* P) { P->SetDepth(2); }},
      {"LabelEffect", [](TProps* P) { P->SetLabelEffect(cxleFun); }},
      {"LabelStyle", [](TProps* P) { P->SetLabelStyle(cxlsRaised); }},
      {"Orientation", [](TProps* P) { P->SetOrientation(cxoLeft); }},
      {"PenWidth", [](TProps* P) { P->SetPenWidth(2); }},
      {"ShadowedColor", [](TProps* P) { P->SetShadowedColor(clRed); }},
      {"ShowAccelChar", [](TProps* P) { P->SetShowAccelChar(false); }},
      {"ShowEndEllipsis", [](TProps* P) { P->SetShowEndEllipsis(true); }},
      {"WordWrap", [](TProps* P) { P->SetWordWrap(true); }},
      {"LineOptions.Visible", [](TProps* P) { P->GetLineOptions()->SetVisible(true); }},
      {"LineOptions.Alignment", [](TProps* P) { P->GetLineOptions()->SetAlignment(cxllaBottom); }},
      {"LineOptions.InnerColor", [](TProps* P) { P->GetLineOptions()->SetInnerColor(clRed); }},
      {"LineOptions.OuterColor", [](TProps* P) { P->GetLineOptions()->SetOuterColor(clRed); }},
  };
  for (const auto& [Name, Apply] : Setters) {
    TOwned<TProps> P(Create<TProps>(nullptr));
    TChangeCounter Counter;
    Counter.Attach(P.get());
    Apply(P.get());
    EXPECT_EQ(Counter.Count, 1) << Name;
    Apply(P.get());
    EXPECT_EQ(Counter.Count, 1) << Name << " again";
  }
}

TEST(LabelProperties, LineOptionsCopyAllFourWithOneNotification) {
  TOwned<TcxLabelLineOptions> Source(Create<TcxLabelLineOptions>());
  Source->SetVisible(true);
  Source->SetAlignment(cxllaBottom);
  Source->SetInnerColor(clRed);
  Source->SetOuterColor(clBlue);
  TOwned<TProps> P(Create<TProps>(nullptr));
  TChangeCounter Counter;
  Counter.Attach(P.get());
  P->SetLineOptions(Source.get());
  EXPECT_EQ(Counter.Count, 1);
  EXPECT_TRUE(P->GetLineOptions()->GetVisible());
  EXPECT_EQ(P->GetLineOptions()->GetAlignment(), cxllaBottom);
  EXPECT_EQ(P->GetLineOptions()->GetInnerColor(), clRed);
  EXPECT_EQ(P->GetLineOptions()->GetOuterColor(), clBlue);
}

TEST(LabelProperties, ACopyWritesExactlyAsItsSource) {
  TOwned<TLabelHost> Source = NewHost<TLabelHost>();
  TProps* S = Source->GetProperties();
  S->SetLabelEffect(cxleCool);
  S->SetLabelStyle(cxlsLowered);
  S->SetOrientation(cxoLeftTop);
  S->SetDepth(5);
  S->SetShadowedColor(clMaroon);
  S->SetShowEndEllipsis(true);
  S->SetAngle(30);
  S->SetPenWidth(2);
  S->SetShowAccelChar(false);
  S->SetWordWrap(true);
  S->GetLineOptions()->SetVisible(true);
  S->GetLineOptions()->SetOuterColor(clTeal);
  TOwned<TLabelHost> Target = NewHost<TLabelHost>();
  TChangeCounter Counter;
  Counter.Attach(Target->GetProperties());
  Target->GetProperties()->Assign(S);
  EXPECT_EQ(PropertyLines(Target.get()), PropertyLines(Source.get()));
  EXPECT_EQ(Counter.Count, 1);
}

// The depth is a length in pixels: a copy into properties of another scale
// converts it.
TEST(LabelProperties, ACopyKeepsTheDepthInPixelsOfItsScale) {
  TOwned<TProps> Source(Create<TProps>(nullptr));
  Source->SetDepth(4);
  TOwned<TProps> Target(Create<TProps>(nullptr));
  Target->GetScaleFactor()->Assign(3, 2, false);
  Target->Assign(Source.get());
  EXPECT_EQ(Target->GetDepth(), 6);
}

struct TDepthCase {
  TcxLabelEffect Effect;
  Word Depth;
  TcxLabelOrientation Orientation;
  Integer Cx, Cy;
};

TEST(LabelProperties, TheDepthReachesAlongItsOrientationOnlyWithAnEffect) {
  const TDepthCase Cases[] = {
      {cxleExtrude, 4, cxoRightBottom, 4, 4}, {cxleExtrude, 4, cxoTop, 0, 4},
      {cxleExtrude, 4, cxoBottom, 0, 4},      {cxleFun, 3, cxoLeft, 3, 0},
      {cxleCool, 3, cxoRight, 3, 0},          {cxleCool, 2, cxoLeftTop, 2, 2},
      {cxleNormal, 4, cxoRightBottom, 0, 0},  {cxleExtrude, 0, cxoRightBottom, 0, 0},
  };
  for (const TDepthCase& C : Cases) {
    TOwned<TProps> P(Create<TProps>(nullptr));
    P->SetLabelEffect(C.Effect);
    P->SetDepth(C.Depth);
    P->SetOrientation(C.Orientation);
    TSize Delta{-1, -1};
    P->CalculateDepthDelta(Delta);
    EXPECT_EQ(Delta.cx, C.Cx) << C.Effect << " " << C.Orientation;
    EXPECT_EQ(Delta.cy, C.Cy) << C.Effect << " " << C.Orientation;
  }
}

TEST(LabelProperties, TheDisplayTextIsTheValueAsText) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  EXPECT_EQ(P->GetDisplayText(Variant(L"abc")), L"abc");
  EXPECT_EQ(P->GetDisplayText(Variant(12)), L"12");
  EXPECT_EQ(P->GetDisplayText(Null()), L"");
}

TEST(LabelText, OnlyTrueTypeTextTurnsAndAnglesAreNormalised) {
  const std::tuple<Integer, bool, Integer> Cases[] = {
      {0, true, 0},    {90, true, 90},   {450, true, 90}, {-90, true, 270},
      {-720, true, 0}, {359, true, 359}, {90, false, 0},  {-90, false, 0}};
  for (const auto& [Angle, TrueType, Real] : Cases)
    EXPECT_EQ(GetRealTextAngle(Angle, TrueType), Real) << Angle << " " << TrueType;
}

TEST(LabelText, TextFlagsCombineAlignmentAndOptions) {
  struct TCase {
    TAlignment Horz;
    TcxEditVertAlignment Vert;
    bool Ellipsis, Wrap, Accel;
    Integer Flags;
  };
  const TCase Cases[] = {
      {taLeftJustify, taTopJustify, false, false, false, 0x1 | 0x8},
      {taRightJustify, taBottomJustify, false, false, false, 0x2 | 0x10},
      {taCenter, taVCenter, false, false, false, 0x4 | 0x20},
      {taLeftJustify, taTopJustify, true, false, false, 0x9 | 0x800},
      {taLeftJustify, taTopJustify, false, true, false, 0x9 | 0x400},
      {taLeftJustify, taTopJustify, false, false, true, 0x9 | 0x200},
      {taCenter, taBottomJustify, true, true, true, 0x4 | 0x10 | 0xE00},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(PrepareTextFlag(C.Horz, C.Vert, C.Ellipsis, C.Wrap, C.Accel), C.Flags) << C.Flags;
}

TEST(LabelProperties, TheLabelStyleHasNoBorderAndNoHotTracking) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  TOwned<TcxContainerStyle> Style(P->GetStyleClass()(nullptr, true, nullptr, csNormal));
  auto* S = AsOrNull<TcxLabelEditStyle>(Style.get());
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(S->GetBorderStyle(), cbsNone);
  EXPECT_FALSE(S->GetHotTrack());
}

}  // namespace
