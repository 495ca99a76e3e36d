// Every element of every painter in each of its states, at the system factor
// and at 3/2: nothing is drawn outside the element's rectangle, the canvas
// is left as it was (but for the clip exclusions some operations make on
// purpose), something is drawn, and each unscaled form draws what its scaled
// form draws at the system factor (or, for the few that draw at 96 DPI, at
// the 1:1 factor).
#include <cstring>
#include <memory>
#include <sstream>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

constexpr COLORREF kSentinel = RGB(3, 141, 59);
constexpr int kMargin = 6;

struct TCanvasSnapshot {
  int Level;
  TBrushStyle BrushStyle;
  TPenStyle PenStyle;
  Integer CopyMode;
  int Rop2;
  int MapMode;
  int GraphicsMode;
  POINT WindowOrg;
  POINT ViewportOrg;
  bool operator==(const TCanvasSnapshot& S) const {
    return Level == S.Level && BrushStyle == S.BrushStyle && PenStyle == S.PenStyle &&
           CopyMode == S.CopyMode && Rop2 == S.Rop2 && MapMode == S.MapMode &&
           GraphicsMode == S.GraphicsMode && WindowOrg.x == S.WindowOrg.x &&
           WindowOrg.y == S.WindowOrg.y && ViewportOrg.x == S.ViewportOrg.x &&
           ViewportOrg.y == S.ViewportOrg.y;
  }
};

TCanvasSnapshot Snapshot(TcxCanvas* C) {
  HDC DC = C->Handle();
  TCanvasSnapshot S{};
  // SaveDC answers the new level: the current one is one less.
  S.Level = SaveDC(DC) - 1;
  RestoreDC(DC, -1);
  S.BrushStyle = C->Brush()->Style();
  S.PenStyle = C->Pen()->Style();
  S.CopyMode = C->CopyMode();
  S.Rop2 = GetROP2(DC);
  S.MapMode = GetMapMode(DC);
  S.GraphicsMode = GetGraphicsMode(DC);
  GetWindowOrgEx(DC, &S.WindowOrg);
  GetViewportOrgEx(DC, &S.ViewportOrg);
  return S;
}

// The clip region of a device context; nullptr when it has none.
HRGN ClipOf(HDC DC) {
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  if (GetClipRgn(DC, R) != 1) {
    DeleteObject(R);
    return nullptr;
  }
  return R;
}

struct TPainterUnderTest {
  const char* Name;
  TcxLookAndFeelStyle Style;
  // The Native painter run without any theme: every element falls back.
  bool WithoutTheme;
};

const TPainterUnderTest PaintersUnderTest[] = {{"Flat", lfsFlat, false},
                                               {"Office11", lfsOffice11, false},
                                               {"Standard", lfsStandard, false},
                                               {"UltraFlat", lfsUltraFlat, false},
                                               {"Native", lfsNative, false},
                                               {"Native without theme", lfsNative, true},
                                               {"Office11 without theme", lfsOffice11, true}};

class PainterSweep : public ::testing::TestWithParam<TPainterUnderTest> {
 protected:
  void SetUp() override {
    if (GetParam().WithoutTheme) FThemes = std::make_unique<TFakeThemeScope>(false);
    FHalfAgain = MakeOwned<TdxScaleFactor>();
    FHalfAgain->Assign(3, 2, false);
  }
  void TearDown() override { FThemes.reset(); }

  // Draws one element at AFactor; returns the pixels of the target.
  TRGBColors Draw(const TPainterElement& AElement, const TdxScaleFactor* AFactor, bool AUnscaled,
                  std::string& AFaults) {
    TcxCustomLookAndFeelPainter* P = PainterOf(GetParam().Style);
    TSize Size = AElement.SizeAt(P, AFactor);
    TRect R = cxRect(kMargin, kMargin, kMargin + Size.cx, kMargin + Size.cy);
    TPaintTarget T(Size.cx + 2 * kMargin, Size.cy + 2 * kMargin, static_cast<TColor>(kSentinel));
    TcxCanvas* C = T.Canvas();
    HDC DC = C->Handle();
    HRGN Initial = CreateRectRgn(0, 0, T.Width(), T.Height());
    SelectClipRgn(DC, Initial);
    TCanvasSnapshot Before = Snapshot(C);
    if (AUnscaled)
      AElement.Unscaled(P, C, R);
    else
      AElement.Scaled(P, C, R, AFactor);

    std::ostringstream Faults;
    if (!(Snapshot(C) == Before)) Faults << " canvas state changed;";
    HRGN After = ClipOf(DC);
    HRGN WithoutR = CreateRectRgn(0, 0, 0, 0);
    HRGN RRegion = CreateRectRgnIndirect(&R);
    CombineRgn(WithoutR, Initial, RRegion, RGN_DIFF);
    bool ClipWhole = After && EqualRgn(After, Initial);
    bool ClipWithoutR = After && EqualRgn(After, WithoutR);
    bool ClipOk = (AElement.Flags & kExcludesRect)     ? ClipWithoutR
                  : (AElement.Flags & kMayExcludeRect) ? (ClipWhole || ClipWithoutR)
                                                       : ClipWhole;
    if (!ClipOk) Faults << " clip region not as expected;";
    for (HRGN H : {Initial, After, WithoutR, RRegion})
      if (H) DeleteObject(H);

    TRGBColors Pixels = T.Pixels();
    bool Drawn = false;
    for (int Y = 0; Y < T.Height(); ++Y)
      for (int X = 0; X < T.Width(); ++X) {
        RGBQUAD Q = Pixels[static_cast<size_t>(Y) * T.Width() + X];
        bool Sentinel = RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue) == kSentinel;
        if (cxRectPtIn(R, X, Y)) {
          Drawn = Drawn || !Sentinel;
        } else if (!Sentinel) {
          Faults << " drawn outside at (" << X << ", " << Y << ");";
          Y = T.Height();
          break;
        }
      }
    if (!Drawn && !(AElement.Flags & kMayBeEmpty)) Faults << " nothing drawn;";
    AFaults = Faults.str();
    for (RGBQUAD& Q : Pixels) Q.rgbReserved = 0;
    return Pixels;
  }

  std::unique_ptr<TFakeThemeScope> FThemes;
  TOwned<TdxScaleFactor> FHalfAgain;
};

TEST_P(PainterSweep, EveryElementStaysInItsRectangleAndLeavesTheCanvasAsItWas) {
  for (const TPainterElement& E : PainterElements()) {
    for (const TdxScaleFactor* Factor : {static_cast<const TdxScaleFactor*>(dxSystemScaleFactor()),
                                         static_cast<const TdxScaleFactor*>(FHalfAgain.get())}) {
      std::string Faults;
      try {
        Draw(E, Factor, false, Faults);
      } catch (const Exception& Ex) {
        Faults = " raised " + AnsiString(Ex.Message().begin(), Ex.Message().end());
      }
      EXPECT_TRUE(Faults.empty()) << E.Family << " " << E.Name << " at " << Factor->Numerator()
                                  << "/" << Factor->Denominator() << ":" << Faults;
    }
  }
}

TEST_P(PainterSweep, UnscaledFormsDrawTheirScaledFormAtTheSystemFactor) {
  for (const TPainterElement& E : PainterElements()) {
    if (!E.Unscaled) continue;
    std::string Faults;
    // A few unscaled forms draw at 96 DPI whatever the system's factor.
    const TdxScaleFactor* Factor = (E.Flags & kUnscaledAtDefault)
                                       ? static_cast<const TdxScaleFactor*>(dxDefaultScaleFactor())
                                       : static_cast<const TdxScaleFactor*>(dxSystemScaleFactor());
    TRGBColors Scaled = Draw(E, Factor, false, Faults);
    TRGBColors Unscaled = Draw(E, Factor, true, Faults);
    bool Same = Scaled.size() == Unscaled.size();
    for (size_t I = 0; Same && I < Scaled.size(); ++I)
      Same = std::memcmp(&Scaled[I], &Unscaled[I], sizeof(RGBQUAD)) == 0;
    EXPECT_TRUE(Same) << E.Family << " " << E.Name;
  }
}

// The same with a system factor other than 1:1, where the two groups of
// unscaled forms part ways.
TEST_P(PainterSweep, UnscaledFormsFollowASystemFactorOtherThanOneToOne) {
  const Integer Numerator = dxSystemScaleFactor()->Numerator(),
                Denominator = dxSystemScaleFactor()->Denominator();
  auto Restore = Finally(
      [Numerator, Denominator] { dxSystemScaleFactor()->Assign(Numerator, Denominator, false); });
  dxSystemScaleFactor()->Assign(3, 2, false);
  for (const TPainterElement& E : PainterElements()) {
    if (!E.Unscaled) continue;
    std::string Faults;
    const TdxScaleFactor* Factor = (E.Flags & kUnscaledAtDefault)
                                       ? static_cast<const TdxScaleFactor*>(dxDefaultScaleFactor())
                                       : static_cast<const TdxScaleFactor*>(FHalfAgain.get());
    TRGBColors Scaled = Draw(E, Factor, false, Faults);
    TRGBColors Unscaled = Draw(E, Factor, true, Faults);
    bool Same = Scaled.size() == Unscaled.size();
    for (size_t I = 0; Same && I < Scaled.size(); ++I)
      Same = std::memcmp(&Scaled[I], &Unscaled[I], sizeof(RGBQUAD)) == 0;
    EXPECT_TRUE(Same) << E.Family << " " << E.Name;
  }
}

INSTANTIATE_TEST_SUITE_P(Painters, PainterSweep, ::testing::ValuesIn(PaintersUnderTest),
                         [](const ::testing::TestParamInfo<TPainterUnderTest>& I) {
                           std::string N = I.param.Name;
                           for (char& C : N)
                             if (C == ' ') C = '_';
                           return N;
                         });

}  // namespace
