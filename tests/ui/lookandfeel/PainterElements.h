// Every element the painters draw, in each of its states: a catalogue that
// the sweep test walks and the gallery tool lays out. Each entry draws one
// element into a rectangle of its size through the scaled operation, and,
// where the operation has one, through the unscaled form.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cxLookAndFeelPainters.h"

using TPainterDraw = std::function<void(TcxCustomLookAndFeelPainter* APainter, TcxCanvas* ACanvas,
                                        const TRect& R, const TdxScaleFactor* AScaleFactor)>;
using TPainterDrawUnscaled =
    std::function<void(TcxCustomLookAndFeelPainter* APainter, TcxCanvas* ACanvas, const TRect& R)>;

// The element may legitimately draw nothing (a base operation some painters
// leave empty).
constexpr unsigned kMayBeEmpty = 1;
// The operation leaves its rectangle excluded from the canvas clip region.
constexpr unsigned kExcludesRect = 2;
// Some painters leave the rectangle excluded, others not.
constexpr unsigned kMayExcludeRect = 4;

struct TPainterElement {
  std::string Family;
  std::string Name;
  // At 96 DPI; the sweep scales it with the factor it draws at.
  TSize Size;
  TPainterDraw Scaled;
  TPainterDrawUnscaled Unscaled;
  unsigned Flags = 0;
  // For elements whose size the painter decides: that size at a factor.
  std::function<TSize(TcxCustomLookAndFeelPainter* APainter, const TdxScaleFactor* AScaleFactor)>
      SizeOf;

  TSize SizeAt(TcxCustomLookAndFeelPainter* APainter, const TdxScaleFactor* AScaleFactor) const {
    return SizeOf ? SizeOf(APainter, AScaleFactor) : AScaleFactor->Apply(Size);
  }
};

inline const char* ButtonStateName(TcxButtonState AState) {
  static const char* const Names[] = {"default", "normal", "hot", "pressed", "disabled"};
  return Names[AState];
}

inline const TcxButtonState AllButtonStates[] = {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed,
                                                 cxbsDisabled};

inline std::vector<TPainterElement> PainterElements() {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  std::vector<TPainterElement> E;
  auto Add = [&E](std::string AFamily, std::string AName, TSize ASize, TPainterDraw AScaled,
                  TPainterDrawUnscaled AUnscaled = nullptr, unsigned AFlags = 0) {
    E.push_back(TPainterElement{std::move(AFamily), std::move(AName), ASize, std::move(AScaled),
                                std::move(AUnscaled), AFlags});
  };
  const char* const Directions[] = {"up", "down", "left", "right"};

  // Buttons and their glyphs
  for (TcxButtonState S : AllButtonStates) {
    std::string N = ButtonStateName(S);
    Add(
        "button", N, {75, 23},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledButton(C, R, L"Caption", S, Fa, true, clDefault, clDefault, false, false,
                               cxbpButton);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawButton(C, R, L"Caption", S); });
    // A theme may leave a tool button or a command link in its normal state
    // transparent.
    Add(
        "button", N + " tool", {40, 22},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledButton(C, R, String(), S, Fa, true, clDefault, clDefault, false, true,
                               cxbpButton);
        },
        nullptr, kMayBeEmpty);
    Add(
        "search glyph", N, {19, 19},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledSearchEditButtonGlyph(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawSearchEditButtonGlyph(C, R, S); });
    Add(
        "back button", N, {30, 30},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) { Pa->DrawScaledBackButton(C, R, S, Fa); },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawBackButton(C, R, S); });
    Add(
        "command link", N, {120, 40},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledCommandLinkBackground(C, R, S, Fa, clDefault);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawCommandLinkBackground(C, R, S); },
        kMayBeEmpty);
    Add(
        "command link glyph", N, {20, 20},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledCommandLinkGlyph(C, TPoint{R.left, R.top}, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawCommandLinkGlyph(C, TPoint{R.left, R.top}, S);
        },
        kMayBeEmpty);
    E.back().SizeOf = [](P* Pa, F Fa) { return Pa->GetScaledCommandLinkGlyphSize(Fa); };
    Add(
        "close button", N, {16, 16},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledSmallCloseButton(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawSmallCloseButton(C, R, S); });
    Add(
        "small button", N, {16, 16},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) { Pa->DrawScaledSmallButton(C, R, S, Fa); },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawSmallButton(C, R, S); });
    Add(
        "button cross", N, {16, 16},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledButtonCross(C, R, clBtnText, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawButtonCross(C, R, clBtnText, S); });
  }

  // Arrows
  for (int D = 0; D < 4; ++D) {
    auto Dir = static_cast<TcxArrowDirection>(D);
    Add("arrow", Directions[D], {13, 13},
        [Dir](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawArrow(C, R, Dir, clBtnText); });
    for (TcxButtonState S : AllButtonStates) {
      std::string N = std::string(Directions[D]) + " " + ButtonStateName(S);
      Add(
          "arrow button", N, {17, 17},
          [S, Dir](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledArrow(C, R, S, Dir, Fa, true);
          },
          [S, Dir](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawArrow(C, R, S, Dir, true); });
      // On the button face of its state, as the scroll bars draw it: a
      // pressed arrow may be in the highlight text colour.
      Add(
          "scroll arrow", N, {17, 17},
          [S, Dir](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            C->FillRect(R, Pa->ButtonColor(S));
            Pa->DrawScaledScrollBarArrow(C, R, S, Dir, Fa);
          },
          [S, Dir](P* Pa, TcxCanvas* C, const TRect& R) {
            C->FillRect(R, Pa->ButtonColor(S));
            Pa->DrawScrollBarArrow(C, R, S, Dir);
          });
    }
  }
  Add("arrow", "collapse", {16, 16},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawCollapseArrow(C, R, clBtnText, 1); });
  Add("arrow", "button arrow", {12, 12},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawButtonArrow(C, R, clBtnText); });
  Add("arrow", "month header", {60, 14}, [](P* Pa, TcxCanvas* C, const TRect& R, F) {
    Pa->DrawMonthHeaderArrows(C, R, TcxArrowDirections{adLeft, adRight}, 0, clBtnText);
  });

  // Borders, separators, bevels, content
  Add(
      "border", "border", {40, 24},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawBorder(C, R); }, nullptr, kMayBeEmpty);
  const char* const ContainerStyles[] = {"none", "single",     "thick",   "flat",
                                         "3D",   "ultra-flat", "office11"};
  for (int S = 0; S < 7; ++S) {
    auto Style = static_cast<TcxContainerBorderStyle>(S);
    Add(
        "container border", ContainerStyles[S], {40, 24},
        [Style](P* Pa, TcxCanvas* C, const TRect& R, F) {
          Pa->DrawContainerBorder(C, R, Style, Pa->GetContainerBorderWidth(Style), clBtnShadow,
                                  cxBordersAll());
        },
        nullptr, kMayBeEmpty);
  }
  for (bool Vertical : {false, true})
    Add("separator", Vertical ? "vertical" : "horizontal", Vertical ? TSize{10, 30} : TSize{30, 10},
        [Vertical](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawSeparator(C, R, Vertical); });
  Add("content", "text cell", {80, 20}, [](P* Pa, TcxCanvas* C, const TRect& R, F) {
    Pa->DrawContent(C, R, cxRectInflate(R, -2, -2), 0, taLeftJustify, vaCenter, false, true,
                    L"Content", nullptr, clWindowText, clWindow);
  });
  Add("content", "label line", {40, 2}, [](P* Pa, TcxCanvas* C, const TRect& R, F) {
    Pa->DrawLabelLine(C, R, clDefault, clDefault, false);
  });
  Add("content", "gauge background", {40, 20}, [](P* Pa, TcxCanvas* C, const TRect& R, F) {
    Pa->DrawGaugeControlBackground(C, R, false, Pa->GaugeControlBackgroundColor());
  });
  const char* const Shapes[] = {"box",  "frame", "top",       "bottom",
                                "left", "right", "centred h", "centred v"};
  for (int S = 0; S < 8; ++S) {
    auto Shape = static_cast<TdxBevelShape>(S + 1);
    for (auto Style : {dxbsLowered, dxbsRaised})
      Add("bevel", std::string(Shapes[S]) + (Style == dxbsRaised ? " raised" : " lowered"),
          {30, 20}, [Shape, Style](P* Pa, TcxCanvas* C, const TRect& R, F) {
            Pa->DrawBevelShape(C, R, Shape, Style);
          });
  }

  // Check boxes, expand buttons and marks, toggle switches
  const char* const CheckStates[] = {"unchecked", "checked", "grayed"};
  for (TcxButtonState S : AllButtonStates)
    for (int CS = 0; CS < 3; ++CS) {
      auto Check = static_cast<TcxCheckBoxState>(CS);
      Add(
          "check box", std::string(CheckStates[CS]) + " " + ButtonStateName(S), {13, 13},
          [S, Check](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledCheckButton(C, R, S, Check, Fa);
          },
          [S, Check](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawCheckButton(C, R, S, Check); });
    }
  for (bool Expanded : {false, true}) {
    std::string N = Expanded ? "expanded" : "collapsed";
    Add(
        "expand button", N, {12, 12},
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledExpandButton(C, R, Expanded, Fa, clDefault, cxbsNormal);
        },
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawExpandButton(C, R, Expanded); },
        kExcludesRect);
    Add(
        "small expand button", N, {9, 9},
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledSmallExpandButton(C, R, Expanded, clBtnShadow, Fa, clWindow);
        },
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawSmallExpandButton(C, R, Expanded, clBtnShadow, clWindow);
        },
        kMayExcludeRect);
    Add(
        "expand mark", N, {15, 15},
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledExpandMark(C, R, clBtnText, Expanded, Fa);
        },
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawExpandMark(C, R, clBtnText, Expanded);
        });
    for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed}) {
      Add(
          "group expand button", N + " " + ButtonStateName(S), {15, 15},
          [Expanded, S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledGroupExpandButton(C, R, Expanded, S, Fa);
          },
          [Expanded, S](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawGroupExpandButton(C, R, Expanded, S);
          });
    }
    for (auto Angle : {ra0, raPlus90, raMinus90, ra180})
      Add(
          "expand button ex", N + " turned " + std::to_string(static_cast<int>(Angle)), {24, 16},
          [Expanded, Angle](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledExpandButtonEx(C, R, cxbsNormal, Expanded, Fa, Angle);
          },
          [Expanded, Angle](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawExpandButtonEx(C, R, cxbsNormal, Expanded, Angle);
          });
  }
  const char* const ThumbPlaces[] = {"off", "sliding", "on"};
  for (int T = 0; T < 3; ++T)
    Add("toggle switch", ThumbPlaces[T], {44, 20}, [T](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
      Integer W = cxRectWidth(R) / 2, Left = R.left + T * (cxRectWidth(R) - W) / 2;
      TRect Thumb = cxRect(Left, R.top, Left + W, R.bottom);
      Pa->DrawScaledToggleSwitch(C, R, Thumb, cxbsNormal, Fa);
      Pa->DrawScaledToggleSwitchThumb(C, Thumb, cxbsNormal, Fa);
    });
  Add("toggle switch", "indicator", {30, 16}, [](P* Pa, TcxCanvas* C, const TRect& R, F) {
    Pa->DrawToggleSwitchStateIndicator(C, R, L"On", nullptr);
  });

  // Scroll bars, size grips, slider buttons, splitters
  const char* const Parts[] = {"line up", "line down", "thumb", "page up", "page down"};
  for (bool Horizontal : {false, true})
    for (int Pt = 0; Pt < 5; ++Pt) {
      auto Part = static_cast<TcxScrollBarPart>(Pt + 1);
      for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled})
        Add(
            "scroll bar",
            std::string(Horizontal ? "h " : "v ") + Parts[Pt] + " " + ButtonStateName(S),
            Horizontal ? TSize{40, 17} : TSize{17, 40},
            [Horizontal, Part, S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
              Pa->DrawScaledScrollBarPart(C, Horizontal, R, Part, S, Fa);
            },
            [Horizontal, Part, S](P* Pa, TcxCanvas* C, const TRect& R) {
              Pa->DrawScrollBarPart(C, Horizontal, R, Part, S);
            },
            Part == sbpThumbnail && S == cxbsDisabled ? kMayBeEmpty : 0);
    }
  Add(
      "scroll bar", "background", {17, 40},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawScaledScrollBarBackground(C, R, false, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawScrollBarBackground(C, R, false); });
  const char* const Corners[] = {"top left", "top right", "bottom left", "bottom right"};
  for (int Co = 0; Co < 4; ++Co) {
    auto Corner = static_cast<TdxCorner>(Co);
    Add("size grip", Corners[Co], {17, 17}, [Corner](P* Pa, TcxCanvas* C, const TRect& R, F) {
      Pa->DrawSizeGrip(C, R, clNone, Corner);
    });
  }
  for (int D = 0; D < 4; ++D) {
    auto Dir = static_cast<TcxArrowDirection>(D);
    Add(
        "slider button", Directions[D], {17, 17},
        [Dir](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledSliderButton(C, R, Dir, cxbsNormal, Fa);
        },
        [Dir](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawSliderButton(C, R, Dir, cxbsNormal);
        });
  }
  for (bool Horizontal : {true, false})
    for (bool Hot : {false, true})
      Add(
          "splitter", std::string(Horizontal ? "horizontal" : "vertical") + (Hot ? " hot" : ""),
          Horizontal ? TSize{60, 7} : TSize{7, 60},
          [Horizontal, Hot](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledSplitter(C, R, Hot, false, Horizontal, Fa);
          },
          [Horizontal, Hot](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawSplitter(C, R, Hot, false, Horizontal);
          });

  // Popup borders, band, window content
  const char* const PopupStyles[] = {"default", "single", "frame 3D", "flat"};
  for (int S = 0; S < 4; ++S)
    for (bool ClientEdge : {false, true}) {
      auto Style = static_cast<TcxEditPopupBorderStyle>(S);
      Add(
          "popup border", std::string(PopupStyles[S]) + (ClientEdge ? " client edge" : ""),
          {40, 30},
          [Style, ClientEdge](P* Pa, TcxCanvas* C, const TRect& R, F) {
            TRect Inner = R;
            Pa->DrawEditPopupWindowBorder(C, Inner, Style, ClientEdge);
          },
          nullptr, kMayBeEmpty);
    }
  Add("popup", "window content", {40, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawWindowContent(C, R); });
  for (auto Corner : {coBottomRight, coTopLeft})
    for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed})
      Add(
          "popup band",
          std::string(Corner == coBottomRight ? "bottom " : "top ") + ButtonStateName(S), {120, 24},
          [Corner, S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            TRect Client = R, Panel, Grip, Close;
            Pa->CalculateScaledPopupPanelClientRect(Client, Panel, Grip, Close, Corner, cxNullRect,
                                                    cxRect(1, 1, 1, 1), Fa, cxRectHeight(R), true,
                                                    true);
            Pa->DrawScaledPopupPanelBand(
                C, Panel, Grip, Close, Corner, S,
                Corner == coBottomRight ? cxRect(0, 1, 0, 0) : cxRect(0, 0, 0, 1), clBtnShadow, Fa,
                true, true);
          },
          [Corner, S](P* Pa, TcxCanvas* C, const TRect& R) {
            TRect Client = R, Panel, Grip, Close;
            Pa->CalculatePopupPanelClientRect(Client, Panel, Grip, Close, Corner, cxNullRect,
                                              cxRect(1, 1, 1, 1), cxRectHeight(R), true, true);
            Pa->DrawPopupPanelBand(
                C, Panel, Grip, Close, Corner, S,
                Corner == coBottomRight ? cxRect(0, 1, 0, 0) : cxRect(0, 0, 0, 1), clBtnShadow,
                true, true);
          },
          kExcludesRect);

  // Progress text, drop-down list box, hints
  for (bool Solid : {false, true})
    Add("progress text", Solid ? "solid" : "split", {80, 18},
        [Solid](P* Pa, TcxCanvas* C, const TRect& R, F) {
          TRect Chunk = cxRect(R.left, R.top, R.left + cxRectWidth(R) / 2, R.bottom);
          C->FillRect(Chunk, clHighlight);
          // Centred, as the progress bar places it, so that the text
          // straddles the chunk's edge.
          const TRect Text = cxRectCenter(R, C->TextExtent(L"50%"));
          Pa->DrawProgressBarText(C, false, Solid, L"50%", Text, R, Chunk, clDefault);
        });
  for (bool Borders : {false, true})
    Add("list box", Borders ? "background, borders" : "background", {60, 30},
        [Borders](P* Pa, TcxCanvas* C, const TRect& R, F) {
          Pa->DrawDropDownListBoxBackground(C, R, Borders);
        });
  Add(
      "list box", "selection", {60, 18},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawDropDownListBoxScaledSelection(C, R, cxRect(R.left, R.top, R.left + 20, R.bottom),
                                               Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawDropDownListBoxSelection(C, R, cxRect(R.left, R.top, R.left + 20, R.bottom));
      });
  Add(
      "list box", "separator", {60, 8},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawDropDownListBoxScaledSeparator(C, R, cxRect(R.left, R.top, R.left + 20, R.bottom),
                                               Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawDropDownListBoxSeparator(C, R, cxRect(R.left, R.top, R.left + 20, R.bottom));
      });
  Add(
      "list box", "gutter", {20, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawDropDownListBoxScaledGutterBackground(C, R, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawDropDownListBoxGutterBackground(C, R); },
      kMayBeEmpty);
  Add("hint", "background", {60, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawHintBackground(C, R, clDefault); });
  Add("hint", "screen tip", {60, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->ScreenTipDrawBackground(C, R); });
  Add("hint", "screen tip footer", {60, 4},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->ScreenTipDrawFooterLine(C, R); });
  return E;
}
