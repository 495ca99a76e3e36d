// Element drawing through a renderer that records what it is asked to do.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "SvgTestSupport.h"

namespace {
std::string Hex(TdxAlphaColor C) {
  char B[16];
  snprintf(B, sizeof(B), "%08X", static_cast<unsigned>(static_cast<Cardinal>(C)));
  return B;
}

std::string Num(Single V) {
  std::ostringstream S;
  S << std::round(V * 100) / 100;
  return S.str();
}

// Records each shape with the brush and pen in force, and checks that the
// transform and clip stacks stay balanced.
class TRecorder : public TdxSVGCustomRenderer {
 public:
  std::vector<std::string> Shapes;
  Integer TransformDepth = 0, ClipDepth = 0, Unbalanced = 0;
  Integer FailAfter = -1;
  std::vector<TdxRectF> Clips;

  std::string Paint() {
    std::string R = " fill=";
    R += Brush()->IsEmpty()                 ? "none"
         : Brush()->Style() == gpbsGradient ? "gradient"
                                            : Hex(Brush()->Color());
    R += " pen=";
    if (Pen()->IsEmpty()) return R + "none";
    R += Pen()->Brush()->Style() == gpbsGradient ? "gradient" : Hex(Pen()->Brush()->Color());
    R += "/" + Num(Pen()->Width());
    if (!Pen()->DashPattern().empty()) {
      R += " dash=";
      for (Single D : Pen()->DashPattern()) R += Num(D) + ",";
      R += " offset=" + Num(Pen()->DashOffset());
    }
    return R;
  }
  void Add(const std::string& AShape) {
    if (FailAfter >= 0 && static_cast<Integer>(Shapes.size()) >= FailAfter)
      throw EdxException(L"canvas failure");
    Shapes.push_back(AShape + Paint());
  }
  void Ellipse(Single X, Single Y, Single RX, Single RY) override {
    Add("ellipse " + Num(X) + " " + Num(Y) + " " + Num(RX) + " " + Num(RY));
  }
  void Line(Single X1, Single Y1, Single X2, Single Y2) override {
    Add("line " + Num(X1) + " " + Num(Y1) + " " + Num(X2) + " " + Num(Y2));
  }
  void Path(TdxGPPath*) override { Add("path"); }
  void Polygon(const std::vector<TdxPointF>& P) override {
    Add("polygon " + std::to_string(P.size()));
  }
  void Polyline(const std::vector<TdxPointF>& P) override {
    Add("polyline " + std::to_string(P.size()));
  }
  void Rectangle(Single X, Single Y, Single W, Single H) override {
    Add("rect " + Num(X) + " " + Num(Y) + " " + Num(W) + " " + Num(H));
  }
  void RoundRect(Single X, Single Y, Single W, Single H, Single RX, Single RY) override {
    Add("roundrect " + Num(X) + " " + Num(Y) + " " + Num(W) + " " + Num(H) + " " + Num(RX) + " " +
        Num(RY));
  }
  void TextOut(Single X, Single Y, const String& T, TdxGPFont*) override {
    Add("text " + Num(X) + " " + Num(Y) + " " + UTF8Encode(T));
  }
  void RestoreClipRegion() override {
    if (--ClipDepth < 0) ++Unbalanced;
  }
  void SaveClipRegion() override { ++ClipDepth; }
  void SetClipRegion(TdxGPPath* APath, CombineMode) override {
    Clips.push_back(APath->GetBoundsF());
  }
  void ModifyWorldTransform(const XFORM&) override {}
  void RestoreWorldTransform() override {
    if (--TransformDepth < 0) ++Unbalanced;
  }
  void SaveWorldTransform() override { ++TransformDepth; }
};

struct TDrawn {
  TOwned<TdxSVGImageHandle> Handle;
  TOwned<TRecorder> Recorder;
};

TDrawn Draw(const std::string& ABody, Integer AFailAfter = -1) {
  TDrawn D;
  D.Handle = LoadSvg(
      "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'"
      " width='100' height='100' viewBox='0 0 100 100'>" +
      ABody + "</svg>");
  EXPECT_TRUE(D.Handle) << ABody;
  D.Recorder.reset(Create<TRecorder>());
  D.Recorder->FailAfter = AFailAfter;
  if (D.Handle) {
    try {
      D.Handle->Root()->Draw(D.Recorder.get());
      EXPECT_LT(AFailAfter, 0) << "the draw was to fail";
    } catch (const EdxException& E) {
      EXPECT_EQ(E.Message(), L"canvas failure");
    }
  }
  EXPECT_EQ(D.Recorder->TransformDepth, 0);
  EXPECT_EQ(D.Recorder->ClipDepth, 0);
  EXPECT_EQ(D.Recorder->Unbalanced, 0);
  EXPECT_FLOAT_EQ(D.Recorder->Opacity(), 1);
  return D;
}

std::vector<std::string> ShapesOf(const std::string& ABody) { return Draw(ABody).Recorder->Shapes; }

TEST(SvgRender, ShapesWithTheirPaint) {
  struct {
    const char* Body;
    std::vector<std::string> Expected;
  } Cases[] = {
      {"<rect x='1' y='2' width='3' height='4' fill='#ff0000'/>",
       {"rect 1 2 3 4 fill=FFFF0000 pen=none"}},
      {"<g opacity='0.5'><rect width='1' height='1' opacity='0.5' fill='#ff0000'/></g>",
       {"rect 0 0 1 1 fill=3FFF0000 pen=none"}},
      {"<rect width='1' height='1' fill='#ff0000' fill-opacity='0.5'/>",
       {"rect 0 0 1 1 fill=80FF0000 pen=none"}},
      // none stays empty whatever the fill opacity.
      {"<rect width='1' height='1' fill='none' fill-opacity='0.5' stroke='#000000'/>",
       {"rect 0 0 1 1 fill=none pen=FF000000/1"}},
      // An unresolved paint paints nothing, not the previous brush.
      {"<rect width='1' height='1' fill='#00ff00'/><rect width='2' height='2' fill='url(#gone)'/>",
       {"rect 0 0 1 1 fill=FF00FF00 pen=none", "rect 0 0 2 2 fill=none pen=none"}},
      {"<rect width='8' height='6' rx='4'/>", {"roundrect 0 0 8 6 4 3 fill=FF000000 pen=none"}},
      {"<rect width='8' height='6' ry='2'/>", {"roundrect 0 0 8 6 2 2 fill=FF000000 pen=none"}},
      {"<circle cx='5' cy='6' r='50%'/>", {"ellipse 5 6 50 50 fill=FF000000 pen=none"}},
      {"<line x1='0' y1='0' x2='10' y2='0' stroke='#000000' stroke-width='2' "
       "stroke-dasharray='4 2'/>",
       {"line 0 0 10 0 fill=FF000000 pen=FF000000/2 dash=2,1, offset=0"}},
      {"<line x2='9' stroke='#000000' stroke-width='2' stroke-dasharray='3' "
       "stroke-dashoffset='1'/>",
       {"line 0 0 9 0 fill=FF000000 pen=FF000000/2 dash=1.5,1.5, offset=0.5"}},
      {"<line x2='9' stroke='#000000' stroke-dasharray='4 -1'/>",
       {"line 0 0 9 0 fill=FF000000 pen=FF000000/1"}},
      {"<line x2='9' stroke='#000000' stroke-dasharray='0 0'/>",
       {"line 0 0 9 0 fill=FF000000 pen=FF000000/1"}},
      {"<line x2='9' stroke='#000000' stroke-dasharray='0 2' stroke-linecap='round'/>",
       {"line 0 0 9 0 fill=FF000000 pen=FF000000/1 dash=0,2, offset=0"}},
      // The offset goes in pen widths, within one period of the pattern.
      {"<line x2='9' stroke='#000000' stroke-width='2' stroke-dasharray='3' "
       "stroke-dashoffset='7'/>",
       {"line 0 0 9 0 fill=FF000000 pen=FF000000/2 dash=1.5,1.5, offset=0.5"}},
      // No dash longer than GDI+ can scale by a pen width.
      {"<line x2='9' stroke='#000000' stroke-dasharray='3e38 1'/>",
       {"line 0 0 9 0 fill=FF000000 pen=FF000000/1 dash=1e+06,1, offset=0"}},
      {"<line x2='9' stroke='#000000' stroke-width='0'/>", {"line 0 0 9 0 fill=FF000000 pen=none"}},
      // A transform without an inverse leaves nothing to draw.
      {"<rect width='1' height='1' transform='scale(0)'/><g transform='matrix(1 1 1 1 0 0)'>"
       "<rect width='2' height='2'/></g><rect width='3' height='3' transform='scale(3e38) "
       "scale(3e38)'/>",
       {}},
      // Text of a size no raster shows is left out.
      {"<text font-family='Tahoma' font-size='1e30'>x</text>", {}},
      // An unstroked polyline is a line of its fill colour, one unit wide.
      {"<polyline points='0,0 5,5 9,0' fill='#0000ff'/>",
       {"polyline 3 fill=FF0000FF pen=FF0000FF/1"}},
  };
  for (const auto& C : Cases) EXPECT_EQ(ShapesOf(C.Body), C.Expected) << C.Body;
}

TEST(SvgRender, TextAnchorAndFontFallback) {
  const auto Start =
      ShapesOf("<text x='50' y='20' font-family='Tahoma' font-size='10'>Wide</text>");
  const auto Middle = ShapesOf(
      "<text x='50' y='20' font-family='Tahoma-Bold-Nope' font-size='10' "
      "text-anchor='middle'>Wide</text>");
  const auto Inherit = ShapesOf(
      "<text x='50' y='20' font-family=\"'Tahoma'\" font-size='10' "
      "text-anchor='inherit'>Wide</text>");
  ASSERT_EQ(Start.size(), 1u);
  ASSERT_EQ(Middle.size(), 1u) << "Tahoma-Bold-Nope falls back to Tahoma";
  EXPECT_EQ(Inherit, Start);
  const Single X0 = std::stof(Start[0].substr(5)), X1 = std::stof(Middle[0].substr(5));
  EXPECT_LT(X1, X0 - 5) << "centred on 50";
  // Under Wine "MS Sans Serif", the family a text gets without one, is no
  // font GDI+ can make, so such a text draws nothing.
  TOwned<TdxSVGElementText> T(Create<TdxSVGElementText>());
  TOwned<TdxGPFont> Default(T->CreateFont());
  EXPECT_EQ(ShapesOf("<text x='1' y='9'>x</text>").size(), Default ? 1u : 0u);
  EXPECT_TRUE(ShapesOf("<text font-family='No-Such-Family'>x</text>").empty());
}

TEST(SvgRender, UseShowsItsTargetAsItsOwnChild) {
  const auto Shapes = ShapesOf(
      "<defs><rect id='r' width='2' height='2'/></defs>"
      "<use xlink:href='#r' x='5' fill='#ff0000' stroke='#0000ff'/><use href='#r' fill='#00ff00'/>"
      "<use href='#missing'/>");
  EXPECT_EQ(Shapes, (std::vector<std::string>{"rect 0 0 2 2 fill=FFFF0000 pen=FF0000FF/1",
                                              "rect 0 0 2 2 fill=FF00FF00 pen=none"}));
}

TEST(SvgRender, ReferenceCyclesEnd) {
  struct {
    const char* Body;
    size_t Shapes;
  } Cases[] = {
      {"<use id='self' href='#self'/><rect width='1' height='1'/>", 1},
      {"<g id='up'><rect width='1' height='1'/><use href='#up'/></g>", 1},
      {"<use id='a' href='#b'/><use id='b' href='#a'/>", 0},
      {"<g id='ga'><use href='#gb'/></g><g id='gb'><rect width='1' height='1'/><use "
       "href='#ga'/></g>",
       2},
      {"<rect id='p' width='1' height='1' fill='url(#q)'/><rect id='q' width='1' height='1' "
       "fill='url(#p)'/>",
       2},
      {"<clipPath id='c'><rect width='5' height='5' clip-path='url(#c)'/></clipPath>"
       "<rect width='9' height='9' clip-path='url(#c)'/>",
       1},
  };
  for (const auto& C : Cases) {
    const auto Shapes = ShapesOf(C.Body);
    EXPECT_EQ(Shapes.size(), C.Shapes) << C.Body;
    for (const std::string& S : Shapes)
      if (std::string(C.Body).find("url(#q)") != std::string::npos)
        EXPECT_NE(S.find("fill=none"), std::string::npos) << "a fill cycle paints nothing";
  }
}

TEST(SvgRender, UseFanOutStopsAtTheReferenceLimit) {
  std::string Body = "<defs><rect id='l0' width='1' height='1'/>";
  for (Integer I = 1; I <= 8; ++I) {
    Body += "<g id='l" + std::to_string(I) + "'>";
    for (Integer K = 0; K < 10; ++K) Body += "<use href='#l" + std::to_string(I - 1) + "'/>";
    Body += "</g>";
  }
  Body += "</defs><use href='#l8'/>";
  const auto Shapes = ShapesOf(Body);
  EXPECT_GT(Shapes.size(), 0u);
  EXPECT_LE(Shapes.size(), static_cast<size_t>(dxSVGMaxReferencedElements));
}

TEST(SvgRender, ClipCollectorTakesTransformedOutlines) {
  const TDrawn D = Draw(
      "<clipPath id='c'><rect width='4' height='4' transform='translate(10 0)'/></clipPath>"
      "<rect width='50' height='50' clip-path='url(#c)'/>"
      "<rect width='50' height='50' clip-path='url(#gone)'/>");
  ASSERT_EQ(D.Recorder->Clips.size(), 1u);
  EXPECT_NEAR(D.Recorder->Clips[0].Left, 10, 1e-3);
  EXPECT_NEAR(D.Recorder->Clips[0].Right, 14, 1e-3);
  EXPECT_EQ(D.Recorder->Shapes.size(), 2u);
}

TEST(SvgRender, AFailedDrawUnwindsEveryPush) {
  // Draw checks the balance of transforms, clips and opacity.
  const TDrawn D = Draw(
      "<clipPath id='c'><rect width='4' height='4'/></clipPath>"
      "<g opacity='0.5' transform='scale(2)' clip-path='url(#c)'><rect width='1' height='1'/>"
      "<rect width='2' height='2'/></g>",
      1);
  EXPECT_EQ(D.Recorder->Shapes.size(), 1u);
}

// Gradient points as "offset:colour" items.
std::string Stops(const std::string& AGradient,
                  const char* AShape = "<rect width='10' height='10' fill='url(#g)'/>") {
  TDrawn D;
  D.Handle =
      LoadSvg("<svg viewBox='0 0 100 100'><defs>" + AGradient + "</defs>" + AShape + "</svg>");
  if (!D.Handle) return "load failed";
  TOwned<TRecorder> R(Create<TRecorder>());
  D.Handle->Root()->Draw(R.get());
  TdxGPBrushGradientPoints* P = R->Brush()->GradientPoints();
  if (R->Brush()->Style() != gpbsGradient) return "solid " + Hex(R->Brush()->Color());
  std::string S;
  for (Integer I = 0; I < P->Count(); ++I)
    S += Num(P->GetOffset(I)) + ":" + Hex(P->GetColor(I)) + " ";
  return S;
}

// GDI+ under Wine ignores a pen's dash offset, so the pattern handed to it
// starts that far in: the same dashes, the same period.
TEST(SvgRender, DashPatternStartsAtItsOffset) {
  const Single NaN = std::nanf("");
  struct {
    std::vector<Single> Pattern;
    Single Offset;
    std::vector<Single> Expected;
  } Cases[] = {
      {{1.5f, 1.5f}, 0, {1.5f, 1.5f}},
      // Inside the first dash: its rest, the gap, its beginning less the
      // least gap that keeps the two apart.
      {{1.5f, 1.5f}, 0.5f, {1, 1.5f, 0.499f, 0.001f}},
      // Inside a gap: a dash of nothing, the gap's rest, ..., its beginning.
      {{1.5f, 1.5f}, 2, {0.001f, 0.999f, 1.5f, 0.5f}},
      // Offsets beyond a period or below 0 wrap round.
      {{1.5f, 1.5f}, 3.5f, {1, 1.5f, 0.499f, 0.001f}},
      {{1.5f, 1.5f}, -1, {0.001f, 0.999f, 1.5f, 0.5f}},
      // On the boundary of an entry: the pattern from that entry.
      {{1, 2, 3, 4}, 3, {3, 4, 1, 2}},
      {{1, 2, 3, 4}, 1.5f, {0.001f, 1.499f, 3, 4, 1, 0.5f}},
      {{1, 2}, NaN, {1, 2}},
      {{}, 1, {}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Offset) + " into " + std::to_string(C.Pattern.size()));
    const std::vector<Single> R = dxSVGDashPatternFrom(C.Pattern, C.Offset);
    ASSERT_EQ(R.size(), C.Expected.size());
    for (size_t I = 0; I < R.size(); ++I) EXPECT_NEAR(R[I], C.Expected[I], 1e-5) << I;
  }
}

TEST(SvgRender, GradientPoints) {
  EXPECT_EQ(Stops("<linearGradient id='g'><stop offset='20%' stop-color='#ff0000'/>"
                  "<stop offset='0.8' stop-color='#0000ff' stop-opacity='0.5'/></linearGradient>"),
            "0:FFFF0000 0.2:FFFF0000 0.8:7F0000FF 1:7F0000FF ");
  // Offsets clamp to 0..1 and never go back; other children are ignored.
  EXPECT_EQ(Stops("<linearGradient id='g'><stop offset='0.6' stop-color='#ff0000'/><rect/>"
                  "<stop offset='0.3' stop-color='#00ff00'/><stop offset='7' stop-color='#0000ff'/>"
                  "</linearGradient>"),
            "0:FFFF0000 0.6:FFFF0000 0.6:FF00FF00 1:FF0000FF ");
  // No length: the last stop; no stops: nothing.
  EXPECT_EQ(Stops("<linearGradient id='g' x2='0'><stop stop-color='#ff0000'/>"
                  "<stop offset='1' stop-color='#00ff00'/></linearGradient>"),
            "solid FF00FF00");
  EXPECT_EQ(Stops("<linearGradient id='g'/>"), "solid 00000000");
  // User space: the line reaches the image's edges, the stops keep their
  // place on it.
  EXPECT_EQ(Stops("<linearGradient id='g' gradientUnits='userSpaceOnUse' x1='25' x2='75'>"
                  "<stop stop-color='#ff0000'/><stop offset='1' stop-color='#0000ff'/>"
                  "</linearGradient>"),
            "0:FFFF0000 0.25:FFFF0000 0.75:FF0000FF 1:FF0000FF ");
}

TEST(SvgRender, StrokeWidthFollowsTheAreaScaleOfTheTransform) {
  TOwned<TdxGPImageHandle> Image(Create<TdxGPImageHandle>(dxGpCreateBitmap(4, 4)));
  TOwned<TdxGPCanvas> Canvas(Image->CreateCanvas());
  TOwned<TdxSVGRenderer> R(Create<TdxSVGRenderer>(Canvas.get(), nullptr));
  struct {
    XFORM M;
    Single Expected;
  } Cases[] = {
      {TdxXFormHelper::CreateScaleMatrix(2, 2), 6},
      {TdxXFormHelper::CreateScaleMatrix(2, 0.5f), 3},
      {TdxXFormHelper::CreateRotationMatrix(45), 3},
      {TdxXFormHelper::Combine(TdxXFormHelper::CreateRotationMatrix(45),
                               TdxXFormHelper::CreateScaleMatrix(2, 2)),
       6},
  };
  for (const auto& C : Cases) {
    R->SaveWorldTransform();
    R->ModifyWorldTransform(C.M);
    EXPECT_NEAR(R->TransformPenWidth(3), C.Expected, 1e-4);
    R->RestoreWorldTransform();
  }
  EXPECT_EQ(R->TransformPenWidth(0), 0);
}
}  // namespace
