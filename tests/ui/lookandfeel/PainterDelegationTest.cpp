// Painters that hand an element to another registered painter: while it is
// registered that painter draws, otherwise the painter's own inherited
// drawing does.
#include <functional>
#include <string>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

using TDraw = std::function<void(TcxCanvas* C, const TRect& R)>;

::testing::AssertionResult DrawSame(TSize ASize, const TDraw& A, const TDraw& B) {
  TPaintTarget TA(ASize.cx, ASize.cy, clWhite), TB(ASize.cx, ASize.cy, clWhite);
  A(TA.Canvas(), cxRect(0, 0, ASize.cx, ASize.cy));
  B(TB.Canvas(), cxRect(0, 0, ASize.cx, ASize.cy));
  return SamePixels(TA, TB);
}

const TcxScrollBarPart ScrollBarParts[] = {sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp,
                                           sbpPageDown};

TEST(PainterDelegation, Office11ScrollBarsAreTheNativePaintersWhileItIsRegistered) {
  TcxCustomLookAndFeelPainter* O = PainterOf(lfsOffice11);
  TOwned<TdxScaleFactor> HalfAgain = MakeOwned<TdxScaleFactor>();
  HalfAgain->Assign(3, 2, false);
  for (const TdxScaleFactor* F : {static_cast<const TdxScaleFactor*>(dxSystemScaleFactor()),
                                  static_cast<const TdxScaleFactor*>(HalfAgain.get())}) {
    EXPECT_EQ(O->ScaledScrollBarMinimalThumbSize(true, F),
              NativePainter()->ScaledScrollBarMinimalThumbSize(true, F));
    EXPECT_EQ(O->ScaledScrollBarMinimalThumbSize(false, F),
              NativePainter()->ScaledScrollBarMinimalThumbSize(false, F));
  }
  for (bool H : {false, true})
    for (TcxScrollBarPart Part : ScrollBarParts)
      for (TcxButtonState St : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled})
        EXPECT_TRUE(DrawSame(
            H ? TSize{40, 17} : TSize{17, 40},
            [&](TcxCanvas* C, const TRect& R) {
              O->DrawScaledScrollBarPart(C, H, R, Part, St, dxSystemScaleFactor());
            },
            [&](TcxCanvas* C, const TRect& R) {
              NativePainter()->DrawScaledScrollBarPart(C, H, R, Part, St, dxSystemScaleFactor());
            }))
            << H << " " << Part << " " << St;
}

TEST(PainterDelegation, Office11ScrollBarsAreItsUltraFlatOnesWithoutANativePainter) {
  TPainterAbsence<TcxWinXPLookAndFeelPainter> NoNative;
  auto* O = static_cast<TcxOffice11LookAndFeelPainter*>(PainterOf(lfsOffice11));
  TOwned<TdxScaleFactor> HalfAgain = MakeOwned<TdxScaleFactor>();
  HalfAgain->Assign(3, 2, false);
  EXPECT_EQ(O->ScaledScrollBarMinimalThumbSize(true, dxDefaultScaleFactor()), 8);
  EXPECT_EQ(O->ScaledScrollBarMinimalThumbSize(false, HalfAgain.get()), 12);
  for (bool H : {false, true})
    for (TcxScrollBarPart Part : ScrollBarParts)
      for (TcxButtonState St : {cxbsNormal, cxbsHot, cxbsPressed})
        EXPECT_TRUE(DrawSame(
            H ? TSize{40, 17} : TSize{17, 40},
            [&](TcxCanvas* C, const TRect& R) {
              O->DrawScaledScrollBarPart(C, H, R, Part, St, dxSystemScaleFactor());
            },
            [&](TcxCanvas* C, const TRect& R) {
              O->TcxUltraFlatLookAndFeelPainter::DrawScaledScrollBarPart(C, H, R, Part, St,
                                                                         dxSystemScaleFactor());
            }))
            << H << " " << Part << " " << St;
}

TEST(PainterDelegation, StandardGroupExpandButtonsAreTheFlatPaintersWhileItIsRegistered) {
  TcxCustomLookAndFeelPainter* S = StandardPainter();
  for (bool Expanded : {false, true})
    for (TcxButtonState St : {cxbsNormal, cxbsHot, cxbsPressed}) {
      EXPECT_TRUE(DrawSame(
          {15, 15},
          [&](TcxCanvas* C, const TRect& R) {
            S->DrawScaledGroupExpandButton(C, R, Expanded, St, dxSystemScaleFactor());
          },
          [&](TcxCanvas* C, const TRect& R) {
            PainterOf(lfsFlat)->DrawScaledGroupExpandButton(C, R, Expanded, St,
                                                            dxSystemScaleFactor());
          }));
      // The Flat look's button differs from the Standard one's.
      EXPECT_FALSE(DrawSame(
          {15, 15},
          [&](TcxCanvas* C, const TRect& R) {
            S->DrawScaledGroupExpandButton(C, R, Expanded, St, dxSystemScaleFactor());
          },
          [&](TcxCanvas* C, const TRect& R) {
            S->TcxCustomLookAndFeelPainter::DrawScaledGroupExpandButton(C, R, Expanded, St,
                                                                        dxSystemScaleFactor());
          }));
    }
  TPainterAbsence<TcxFlatLookAndFeelPainter> NoFlat;
  EXPECT_TRUE(DrawSame(
      {15, 15},
      [&](TcxCanvas* C, const TRect& R) {
        S->DrawScaledGroupExpandButton(C, R, true, cxbsHot, dxSystemScaleFactor());
      },
      [&](TcxCanvas* C, const TRect& R) {
        S->TcxCustomLookAndFeelPainter::DrawScaledGroupExpandButton(C, R, true, cxbsHot,
                                                                    dxSystemScaleFactor());
      }));
}

TEST(PainterDelegation, Office11GroupBoxesAreTheNativePaintersWhileButtonsAreThemed) {
  ASSERT_TRUE(AreVisualStylesAvailable(totButton)) << "the test prefix runs with Wine's theme";
  auto* O = static_cast<TcxOffice11LookAndFeelPainter*>(PainterOf(lfsOffice11));
  for (bool Enabled : {true, false}) {
    EXPECT_TRUE(DrawSame(
        {60, 40},
        [&](TcxCanvas* C, const TRect& R) {
          O->DrawGroupBoxFrame(C, R, Enabled, cxgpTop, cxBordersAll());
        },
        [&](TcxCanvas* C, const TRect& R) {
          NativePainter()->DrawGroupBoxFrame(C, R, Enabled, cxgpTop, cxBordersAll());
        }));
    EXPECT_EQ(O->GroupBoxTextColor(Enabled, cxgpTop),
              NativePainter()->GroupBoxTextColor(Enabled, cxgpTop));
  }
  TPainterAbsence<TcxWinXPLookAndFeelPainter> NoNative;
  EXPECT_TRUE(DrawSame(
      {60, 40},
      [&](TcxCanvas* C, const TRect& R) {
        O->DrawGroupBoxFrame(C, R, true, cxgpTop, cxBordersAll());
      },
      [&](TcxCanvas* C, const TRect& R) {
        O->TcxUltraFlatLookAndFeelPainter::DrawGroupBoxFrame(C, R, true, cxgpTop, cxBordersAll());
      }));
  EXPECT_EQ(O->GroupBoxTextColor(true, cxgpTop), clWindowText);
  EXPECT_EQ(O->GroupBoxTextColor(false, cxgpTop), clBtnShadow);
}

TEST(PainterDelegation, NativeIndicatorItemsAreTheFlatPaintersWhileItIsRegistered) {
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  for (int K = 0; K < 8; ++K) {
    auto Kind = static_cast<TcxIndicatorKind>(K);
    EXPECT_TRUE(DrawSame(
        {14, 18},
        [&](TcxCanvas* C, const TRect& R) {
          N->DrawScaledIndicatorItem(C, R, Kind, clBtnFace, dxSystemScaleFactor(), nullptr);
        },
        [&](TcxCanvas* C, const TRect& R) {
          PainterOf(lfsFlat)->DrawScaledIndicatorItem(C, R, Kind, clBtnFace, dxSystemScaleFactor(),
                                                      nullptr);
        }))
        << K;
  }
  TPainterAbsence<TcxFlatLookAndFeelPainter> NoFlat;
  EXPECT_TRUE(DrawSame(
      {14, 18},
      [&](TcxCanvas* C, const TRect& R) {
        N->DrawScaledIndicatorItem(C, R, ikArrow, clBtnFace, dxSystemScaleFactor(), nullptr);
      },
      [&](TcxCanvas* C, const TRect& R) {
        N->TcxCustomLookAndFeelPainter::DrawScaledIndicatorItem(C, R, R, ikArrow, clBtnFace,
                                                                dxSystemScaleFactor(), nullptr,
                                                                TcxNeighbors{nTop, nBottom});
      }));
}

TEST(PainterDelegation, Office11SchedulerNavigatorButtonsAreTheNativePainters) {
  auto* O = static_cast<TcxOffice11LookAndFeelPainter*>(PainterOf(lfsOffice11));
  for (TcxButtonState St : AllButtonStates)
    EXPECT_TRUE(DrawSame(
        {24, 20},
        [&](TcxCanvas* C, const TRect& R) {
          O->DrawSchedulerScaledNavigatorButton(C, R, St, dxSystemScaleFactor());
        },
        [&](TcxCanvas* C, const TRect& R) {
          NativePainter()->DrawSchedulerScaledNavigatorButton(C, R, St, dxSystemScaleFactor());
        }))
        << St;
  TPainterAbsence<TcxWinXPLookAndFeelPainter> NoNative;
  EXPECT_TRUE(DrawSame(
      {24, 20},
      [&](TcxCanvas* C, const TRect& R) {
        O->DrawSchedulerScaledNavigatorButton(C, R, cxbsHot, dxSystemScaleFactor());
      },
      [&](TcxCanvas* C, const TRect& R) {
        O->TcxUltraFlatLookAndFeelPainter::DrawSchedulerScaledNavigatorButton(
            C, R, cxbsHot, dxSystemScaleFactor());
      }));
}

}  // namespace
