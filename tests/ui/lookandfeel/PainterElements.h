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
// The unscaled form draws at 96 DPI (the 1:1 factor), not at the system's.
constexpr unsigned kUnscaledAtDefault = 8;

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

using TAddElement =
    std::function<void(std::string AFamily, std::string AName, TSize ASize, TPainterDraw AScaled,
                       TPainterDrawUnscaled AUnscaled, unsigned AFlags)>;

inline TFont* ElementFont() {
  static TFont* Font = [] {
    TFont* F = Create<TFont>();
    F->SetName(L"Tahoma");
    F->SetHeight(-11);
    return F;
  }();
  return Font;
}

// Ten navigator glyphs of 11 x 11 on the magenta key: glyph I is a
// horizontal bar across the middle row and a column at X = I, so that which
// glyph was drawn shows.
inline TCustomImageList* SampleNavigatorGlyphs() {
  static TImageList* List = [] {
    TImageList* L = Create<TImageList>(nullptr);
    L->SetSize(11, 11);
    L->SetMasked(false);
    for (Integer I = 0; I < 10; ++I) {
      TOwned<TcxBitmap> Glyph(TcxBitmap::CreateSize(11, 11));
      Glyph->cxCanvas()->FillRect(cxRect(0, 0, 11, 11), static_cast<TColor>(RGB(255, 0, 255)));
      Glyph->cxCanvas()->FillRect(cxRect(1, 5, 10, 6), clBlack);
      Glyph->cxCanvas()->FillRect(cxRect(I, 2, I + 1, 9), clBlack);
      L->Add(Glyph.get(), nullptr);
    }
    return L;
  }();
  return List;
}

// Headers, sorting marks, footers, filter elements, find panel, group-by box.
inline void AddHeaderElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  for (TcxButtonState S : AllButtonStates) {
    std::string N = ButtonStateName(S);
    Add(
        "header", N, {80, 20},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledHeader(C, R, cxRectInflate(R, -3, -2), TcxNeighbors(), cxBordersAll(), S,
                               taLeftJustify, vaCenter, false, true, L"Header", ElementFont(),
                               clBtnText, clBtnFace, Fa, nullptr, false, false);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawHeader(C, R, cxRectInflate(R, -3, -2), TcxNeighbors(), cxBordersAll(), S,
                         taLeftJustify, vaCenter, false, true, L"Header", ElementFont(), clBtnText,
                         clBtnFace);
        },
        kUnscaledAtDefault);
    Add(
        "header section", N, {80, 20},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledHeaderControlSection(C, R, cxRectInflate(R, -3, -2), TcxNeighbors(),
                                             cxBordersAll(), S, taCenter, vaCenter, false, false,
                                             L"Section", ElementFont(), clBtnText, clBtnFace, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawHeaderControlSection(C, R, cxRectInflate(R, -3, -2), TcxNeighbors(),
                                       cxBordersAll(), S, taCenter, vaCenter, false, false,
                                       L"Section", ElementFont(), clBtnText, clBtnFace);
        },
        0);
  }
  Add(
      "header", "between neighbours", {80, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        TcxNeighbors N{nLeft, nRight};
        Pa->DrawScaledHeader(C, R, cxRectInflate(R, -3, -2), N, Pa->HeaderBorders(N), cxbsNormal,
                             taCenter, vaCenter, false, false, L"Middle", ElementFont(), clBtnText,
                             clBtnFace, Fa, nullptr, false, false);
      },
      nullptr, 0);
  Add(
      "header", "last", {80, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawScaledHeader(C, R, cxRectInflate(R, -3, -2), TcxNeighbors{nLeft}, cxBordersAll(),
                             cxbsNormal, taRightJustify, vaCenter, false, false, L"Last",
                             ElementFont(), clBtnText, clBtnFace, Fa, nullptr, true, false);
      },
      nullptr, 0);
  Add(
      "header", "ex", {80, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawScaledHeaderEx(C, R, cxRectInflate(R, -3, -2), TcxNeighbors(), cxBordersAll(),
                               cxbsNormal, taLeftJustify, vaCenter, false, false, L"Header ex",
                               ElementFont(), clBtnText, clBtnFace, Fa, nullptr);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawHeaderEx(C, R, cxRectInflate(R, -3, -2), TcxNeighbors(), cxBordersAll(), cxbsNormal,
                         taLeftJustify, vaCenter, false, false, L"Header ex", ElementFont(),
                         clBtnText, clBtnFace);
      },
      kUnscaledAtDefault);
  Add(
      "header", "separator", {80, 4},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        TcxViewParams V;
        V.Color = clWindow;
        Pa->DrawHeaderSeparator(C, R, 10, clBtnShadow, V);
      },
      nullptr, 0);
  for (bool Ascending : {true, false}) {
    std::string N = Ascending ? "ascending" : "descending";
    Add(
        "sorting mark", N, {16, 16},
        [Ascending](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          C->FillRect(R, clBtnFace);
          Pa->DrawScaledSortingMark(C, R, Ascending, Fa);
        },
        [Ascending](P* Pa, TcxCanvas* C, const TRect& R) {
          C->FillRect(R, clBtnFace);
          Pa->DrawSortingMark(C, R, Ascending);
        },
        0);
    Add(
        "sorting mark", "summary " + N, {16, 16},
        [Ascending](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          C->FillRect(R, clBtnFace);
          Pa->DrawScaledSummarySortingMark(C, R, Ascending, Fa);
        },
        [Ascending](P* Pa, TcxCanvas* C, const TRect& R) {
          C->FillRect(R, clBtnFace);
          Pa->DrawSummarySortingMark(C, R, Ascending);
        },
        0);
    Add(
        "sorting mark", "summary value " + N, {16, 16},
        [Ascending](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledSummaryValueSortingMark(C, R, Ascending, Fa);
        },
        [Ascending](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawSummaryValueSortingMark(C, R, Ascending);
        },
        0);
  }

  Add(
      "footer", "panel", {120, 24},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        TcxViewParams V;
        V.Color = Pa->DefaultFooterColor();
        Pa->DrawFooterPanel(C, R, V, Pa->FooterBorders());
      },
      nullptr, 0);
  Add(
      "footer", "cell", {80, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->DrawFooterCell(C, R, taRightJustify, vaCenter, false, L"Sum=42", ElementFont(),
                           Pa->DefaultFooterTextColor(), Pa->DefaultFooterColor());
      },
      nullptr, 0);
  Add(
      "footer", "separator", {80, 4},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawFooterSeparator(C, R); }, nullptr, 0);

  for (TcxButtonState S : AllButtonStates) {
    std::string N = ButtonStateName(S);
    for (bool Checked : {false, true})
      Add(
          "filter activate", N + (Checked ? " on" : " off"), {13, 13},
          [S, Checked](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledFilterActivateButton(C, R, S, Checked, Fa);
          },
          [S, Checked](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawFilterActivateButton(C, R, S, Checked);
          },
          0);
    for (bool Active : {false, true})
      Add(
          "filter drop-down", N + (Active ? " active" : ""), {15, 18},
          [S, Active](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledFilterDropDownButton(C, R, S, Active, Fa);
          },
          [S, Active](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawFilterDropDownButton(C, R, S, Active);
          },
          0);
  }
  const char* const TagStates[] = {"normal", "hot", "pressed", "parent hot"};
  for (int T = 0; T < 4; ++T)
    for (bool Active : {false, true}) {
      auto State = static_cast<TcxFilterSmartTagState>(T);
      Add(
          "smart tag", std::string(TagStates[T]) + (Active ? " active" : ""), {16, 16},
          [State, Active](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledFilterSmartTag(C, R, State, Active, Fa);
          },
          [State, Active](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawFilterSmartTag(C, R, State, Active);
          },
          0);
    }
  Add(
      "filter panel", "panel", {120, 24},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->DrawFilterPanel(C, R, nullptr, Pa->DefaultFilterBoxColor(), false);
      },
      nullptr, 0);
  Add(
      "filter panel", "row separator", {120, 8},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->DrawFilterRowSeparator(C, R, Pa->DefaultHeaderColor());
      },
      nullptr, 0);
  Add(
      "filter panel", "find panel", {120, 24},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->DrawFindPanel(C, R, nullptr, Pa->DefaultGroupByBoxColor(), false);
        Pa->DrawFindPanelBorder(C, R, TcxBorders{bBottom});
      },
      nullptr, 0);
  Add(
      "filter panel", "group-by box", {120, 24},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->DrawGroupByBox(C, R, nullptr, Pa->DefaultGroupByBoxColor(), false);
      },
      nullptr, 0);
}

// Row indicators and tabs.
inline void AddIndicatorElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  const char* const Kinds[] = {"none",      "arrow",       "edit",   "insert",
                               "multi dot", "multi arrow", "filter", "in-place edit"};
  for (int K = 0; K < 8; ++K) {
    auto Kind = static_cast<TcxIndicatorKind>(K);
    Add(
        "indicator", Kinds[K], {14, 18},
        [Kind](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledIndicatorItem(C, R, Kind, Pa->DefaultHeaderColor(), Fa, nullptr);
        },
        [Kind](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawIndicatorItem(C, R, Kind, Pa->DefaultHeaderColor());
        },
        0);
  }
  Add(
      "indicator", "arrow ex", {14, 18},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawScaledIndicatorItemEx(C, R, ikArrow, Pa->DefaultHeaderColor(), Fa, nullptr);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawIndicatorItemEx(C, R, ikArrow, Pa->DefaultHeaderColor());
      },
      0);
  Add(
      "indicator", "customization mark", {20, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawScaledIndicatorCustomizationMark(C, R, clBtnText, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawIndicatorCustomizationMark(C, R, clBtnText);
      },
      kUnscaledAtDefault);
  for (bool Vertical : {false, true}) {
    for (TcxButtonState S : AllButtonStates)
      Add(
          "tab", std::string(Vertical ? "vertical " : "") + ButtonStateName(S),
          Vertical ? TSize{24, 60} : TSize{60, 22},
          [S, Vertical](P* Pa, TcxCanvas* C, const TRect& R, F) {
            TcxBorders Borders =
                Vertical ? TcxBorders{bLeft, bTop, bBottom} : TcxBorders{bLeft, bTop, bRight};
            Pa->DrawTab(C, R, Borders, L"Tab", S, Vertical, ElementFont(), clBtnText, clBtnFace);
            if (!Pa->IsDrawTabImplemented(Vertical)) {
              for (TcxBorder B : {bLeft, bTop, bRight, bBottom}) {
                if (!Borders.Contains(B)) continue;
                TRect Strip = R;
                if (B == bLeft) Strip.right = Strip.left + 1;
                if (B == bTop) Strip.bottom = Strip.top + 1;
                if (B == bRight) Strip.left = Strip.right - 1;
                if (B == bBottom) Strip.top = Strip.bottom - 1;
                Pa->DrawTabBorder(C, Strip, B, Borders, Vertical);
              }
            }
          },
          nullptr, kMayBeEmpty);
    Add(
        "tab", std::string(Vertical ? "vertical " : "") + "root",
        Vertical ? TSize{8, 60} : TSize{60, 8},
        [Vertical](P* Pa, TcxCanvas* C, const TRect& R, F) {
          Pa->DrawTabsRoot(C, R, Vertical ? TcxBorders{bLeft} : TcxBorders{bTop}, Vertical);
        },
        nullptr, kMayBeEmpty);
  }
}

// Group boxes and panels.
inline void AddGroupElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  for (bool Enabled : {true, false})
    Add(
        "group box", Enabled ? "frame" : "frame disabled", {60, 40},
        [Enabled](P* Pa, TcxCanvas* C, const TRect& R, F) {
          // Some looks leave the frame's lines out of the clip region.
          C->SaveClipRegion();
          Pa->DrawGroupBoxFrame(C, R, Enabled, cxgpTop, cxBordersAll());
          C->RestoreClipRegion();
        },
        nullptr, kMayBeEmpty);
  Add(
      "group box", "caption text", {60, 16},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        C->FillRect(R, clBtnFace);
        Pa->DrawGroupBoxCaption(C, R, R, cxgpTop);
        C->Brush()->SetStyle(TBrushStyle::bsClear);
        C->SetFont(ElementFont());
        C->Font()->SetColor(Pa->GroupBoxTextColor(true, cxgpTop));
        C->DrawTexT(L"Caption", R, cxAlignLeft | cxAlignVCenter | cxSingleLine);
        C->Brush()->SetStyle(TBrushStyle::bsSolid);
      },
      nullptr, 0);
  for (TcxButtonState S : AllButtonStates) {
    std::string N = ButtonStateName(S);
    Add(
        "group box", "button " + N, {16, 16},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawGroupBoxScaledButton(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawGroupBoxButton(C, R, S); }, 0);
    for (bool Expanded : {false, true})
      Add(
          "group box", std::string(Expanded ? "expanded " : "collapsed ") + N, {16, 16},
          [S, Expanded](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawGroupBoxScaledExpandButton(C, R, S, Expanded, Fa, ra0);
            Pa->DrawGroupBoxScaledExpandGlyph(C, R, S, Expanded, Fa);
          },
          [S, Expanded](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawGroupBoxExpandButton(C, R, S, Expanded);
            Pa->DrawGroupBoxExpandGlyph(C, R, S, Expanded);
          },
          0);
  }
  Add(
      "panel", "background", {60, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        C->FillRect(R, clBtnFace);
        Pa->DrawPanelBackground(C, nullptr, R, Pa->DefaultControlColor(), clDefault);
      },
      nullptr, 0);
  Add(
      "panel", "gradient", {60, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        C->FillRect(R, clBtnFace);
        Pa->DrawPanelBackground(C, nullptr, R, clWindow, clBtnShadow);
      },
      nullptr, 0);
  Add(
      "panel", "content", {60, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->DrawPanelContent(C, R, true);
        Pa->DrawPanelBorders(C, R);
      },
      nullptr, 0);
}

// Radio buttons, each as large as the painter makes it.
inline void AddRadioElements(std::vector<TPainterElement>& E) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  for (TcxButtonState S : AllButtonStates)
    for (bool Checked : {false, true})
      for (bool Focused : {false, true}) {
        std::string N = std::string(Checked ? "on " : "off ") + ButtonStateName(S) +
                        (Focused ? " focused" : "");
        TPainterElement El{"radio button",
                           N,
                           {13, 13},
                           [=](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
                             Pa->DrawScaledRadioButton(C, R.left, R.top, S, Checked, Focused,
                                                       clDefault, Fa, false);
                           },
                           [=](P* Pa, TcxCanvas* C, const TRect& R) {
                             Pa->DrawRadioButton(C, R.left, R.top, S, Checked, Focused, clDefault);
                           },
                           // The Native look without a theme draws none.
                           kMayBeEmpty};
        El.SizeOf = [](P* Pa, F Fa) { return Pa->ScaledRadioButtonSize(Fa); };
        E.push_back(std::move(El));
      }
  TPainterElement Square{"radio button",
                         "on a brush",
                         {13, 13},
                         [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
                           Pa->DrawScaledRadioButton(C, R.left, R.top, cxbsNormal, true, false,
                                                     clBtnFace, Fa, true);
                         },
                         nullptr,
                         kMayBeEmpty};
  Square.SizeOf = [](P* Pa, F Fa) { return Pa->ScaledRadioButtonSize(Fa); };
  E.push_back(std::move(Square));
}

// Runs a drawing whose frames a look may leave out of the clip region with
// the caller's clip given back afterwards.
template <class F>
void KeepingClip(TcxCanvas* ACanvas, F&& ADraw) {
  ACanvas->SaveClipRegion();
  ADraw();
  ACanvas->RestoreClipRegion();
}

// Layout and explorer views, layout control, print preview, message box,
// navigators.
inline void AddViewElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  for (TcxButtonState S : AllButtonStates) {
    std::string N = ButtonStateName(S);
    Add(
        "layout view", "item " + N, {50, 24},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F) {
          KeepingClip(C, [&] { Pa->LayoutViewDrawItem(C, R, S, cxBordersAll()); });
        },
        nullptr, 0);
    Add(
        "layout view", "caption " + N, {60, 20},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F) {
          KeepingClip(C, [&] {
            Pa->LayoutViewDrawRecordCaption(C, R, cxRectInflate(R, -3, -2), cxgpTop, S);
          });
        },
        nullptr, 0);
    Add(
        "explorer view", "record " + N, {50, 24},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F) {
          KeepingClip(C, [&] { Pa->WinExplorerViewDrawRecord(C, R, S); });
        },
        nullptr, 0);
  }
  Add(
      "layout view", "record", {60, 40},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        KeepingClip(
            C, [&] { Pa->LayoutViewDrawRecordContent(C, R, cxgpTop, cxbsNormal, cxBordersAll()); });
      },
      nullptr, 0);
  for (bool Expanded : {false, true}) {
    Add(
        "layout view", Expanded ? "expanded" : "collapsed", {15, 15},
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->LayoutViewDrawScaledRecordExpandButton(C, R, cxbsNormal, Expanded, Fa);
        },
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->LayoutViewDrawRecordExpandButton(C, R, cxbsNormal, Expanded);
        },
        0);
    Add(
        "explorer view", Expanded ? "expanded" : "collapsed", {15, 15},
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->WinExplorerViewDrawScaledRecordExpandButton(C, R, cxbsHot, Expanded, Fa);
        },
        [Expanded](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->WinExplorerViewDrawRecordExpandButton(C, R, cxbsHot, Expanded);
        },
        0);
  }
  Add(
      "explorer view", "group and caption line", {60, 24},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        KeepingClip(C, [&] { Pa->WinExplorerViewDrawGroup(C, R, cxbsNormal); });
        TRect Line = cxRectSetTop(R, R.bottom - Pa->WinExplorerViewGroupCaptionLineHeight() - 2,
                                  Pa->WinExplorerViewGroupCaptionLineHeight());
        Pa->WinExplorerViewDrawGroupCaptionLine(C, Line);
      },
      nullptr, 0);
  Add(
      "layout control", "background", {60, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawLayoutControlBackground(C, R); },
      nullptr, 0);
  Add(
      "layout control", "scroll box", {60, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->DrawScrollBoxBackground(C, R, Pa->DefaultControlColor());
      },
      nullptr, 0);
  Add(
      "print preview", "background", {60, 40},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawPrintPreviewScaledBackground(C, R, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawPrintPreviewBackground(C, R); }, 0);
  for (bool Selected : {false, true})
    Add(
        "print preview", Selected ? "page selected" : "page", {40, 50},
        [Selected](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          C->FillRect(R, clBtnShadow);
          Pa->DrawPrintPreviewPageScaledBackground(C, R, cxRectInflate(R, -4, -4), Selected, true,
                                                   Fa);
        },
        [Selected](P* Pa, TcxCanvas* C, const TRect& R) {
          C->FillRect(R, clBtnShadow);
          Pa->DrawPrintPreviewPageBackground(C, R, cxRectInflate(R, -4, -4), Selected, true);
        },
        0);
  Add(
      "message box", "message", {120, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        KeepingClip(C, [&] { Pa->DrawMessageBox(C, R, L"No data", ElementFont()); });
      },
      nullptr, 0);

  Add(
      "date navigator", "header", {80, 18},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        TRect Inside = R;
        Pa->DrawDateNavigatorDateHeader(C, Inside);
        Pa->DrawDateNavigatorCellSelection(C, cxRectInflate(Inside, -30, -3),
                                           Pa->DefaultDateNavigatorSelectionColor());
      },
      nullptr, kMayBeEmpty);
  Add(
      "date navigator", "today", {20, 16},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawDateNavigatorTodayCellSelection(C, R); },
      nullptr, 0);
  for (TcxButtonState S : AllButtonStates) {
    std::string N = ButtonStateName(S);
    Add(
        "navigator", "button " + N, {17, 19},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawNavigatorScaledButton(C, R, S, clBtnFace, Fa);
          TSize G = Pa->NavigatorScaledButtonGlyphSize(Fa);
          Pa->DrawNavigatorScaledButtonGlyph(C, cxIndicatorImages(), 0, cxRectCenter(R, G),
                                             S != cxbsDisabled, false, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawNavigatorButton(C, R, S, clBtnFace);
          TSize G = Pa->NavigatorButtonGlyphSize();
          Pa->DrawNavigatorButtonGlyph(C, cxIndicatorImages(), 0, cxRectCenter(R, G),
                                       S != cxbsDisabled, false);
        },
        0);
    Add(
        "scroll bar", "splitter " + N, {17, 17},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledScrollBarSplitter(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawScrollBarSplitter(C, R, S); }, 0);
  }
  for (bool Selected : {false, true})
    Add(
        "navigator", Selected ? "border selected" : "border", {60, 20},
        [Selected](P* Pa, TcxCanvas* C, const TRect& R, F) {
          Pa->DrawNavigatorBorder(C, R, Selected);
        },
        nullptr, kMayBeEmpty);
}

// Scheduler elements and the clock.
inline void AddSchedulerElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  auto Params = [](P* Pa) {
    TcxViewParams V;
    V.Color = Pa->DefaultHeaderColor();
    V.TextColor = Pa->DefaultHeaderTextColor();
    V.Font = ElementFont();
    return V;
  };
  for (bool Neighbours : {false, true})
    Add(
        "scheduler", Neighbours ? "month header between" : "month header", {120, 18},
        [Neighbours, Params](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledMonthHeader(
              C, R, L"March 2024", Neighbours ? TcxNeighbors{nLeft, nRight} : TcxNeighbors(),
              Params(Pa), TcxArrowDirections{adLeft, adRight}, 0, Fa, nullptr);
        },
        [Neighbours, Params](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawMonthHeader(C, R, L"March 2024",
                              Neighbours ? TcxNeighbors{nLeft, nRight} : TcxNeighbors(), Params(Pa),
                              TcxArrowDirections{adLeft, adRight}, 0);
        },
        0);
  Add(
      "scheduler", "group separator", {12, 40},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawSchedulerScaledGroupSeparator(C, R, Pa->DefaultSchedulerControlColor(), Fa,
                                              nullptr);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawSchedulerGroupSeparator(C, R, Pa->DefaultSchedulerControlColor());
      },
      0);
  Add(
      "scheduler", "border", {60, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawSchedulerBorder(C, R); }, nullptr,
      kMayBeEmpty);
  for (bool Horizontal : {true, false})
    Add(
        "scheduler", Horizontal ? "splitter border" : "vertical splitter border",
        Horizontal ? TSize{60, 8} : TSize{8, 60},
        [Horizontal](P* Pa, TcxCanvas* C, const TRect& R, F) {
          TcxViewParams V;
          V.Color = Pa->DefaultSchedulerControlColor();
          // The lines reach a pixel beyond the splitter along its length.
          TRect Inner = Horizontal ? cxRectInflate(R, -2, 0) : cxRectInflate(R, 0, -2);
          Pa->DrawSchedulerSplitterBorder(C, Inner, V, Horizontal);
        },
        nullptr, kMayBeEmpty);
  for (bool Transparent : {false, true})
    Add(
        "scheduler", Transparent ? "event progress over" : "event progress", {60, 10},
        [Transparent](P* Pa, TcxCanvas* C, const TRect& R, F) {
          TcxViewParams V;
          V.Color = clWindow;
          TRect O = Pa->SchedulerEventProgressOffsets();
          TRect Chunk = cxRect(R.left + O.left, R.top + O.top, R.left + cxRectWidth(R) / 2,
                               R.bottom - O.bottom);
          Pa->DrawSchedulerEventProgress(C, R, Chunk, V, Transparent);
        },
        nullptr, 0);
  Add(
      "scheduler", "group mark", {20, 12},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawSchedulerGroup(C, R, clSkyBlue); },
      nullptr, 0);
  Add(
      "scheduler", "milestone", {12, 12},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawSchedulerMilestone(C, R); }, nullptr, 0);
  Add(
      "scheduler", "day header by its handler", {60, 18},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        struct TFiller {
          bool Fill(TcxCanvas* ACanvas, const TRect& ABounds) {
            ACanvas->FillRect(ABounds, clSkyBlue);
            return true;
          }
        } Filler;
        Pa->DrawSchedulerDayHeader(C, R, R, TcxNeighbors(), cxBordersAll(), cxbsNormal, taCenter,
                                   vaCenter, false, false, L"Monday", ElementFont(), clBtnText,
                                   clBtnFace, Fa, MakeEvent<&TFiller::Fill>(&Filler), false, false);
      },
      nullptr, 0);
  for (bool Vertical : {false, true})
    for (bool Next : {false, true})
      for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed}) {
        std::string N = std::string(Vertical ? "vertical " : "") + (Next ? "next " : "previous ") +
                        ButtonStateName(S);
        Add(
            "scheduler navigation", N, Vertical ? TSize{20, 110} : TSize{110, 20},
            [=](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
              TRect Bounds = R, Text, Arrow;
              C->SetFont(ElementFont());
              TSize TextSize{C->TextWidth(L"Next"), C->TextHeight(L"Next")};
              Pa->CalculateSchedulerNavigationButtonRects(Next, false, TextSize, TextSize, Bounds,
                                                          Text, Arrow, Fa, Vertical);
              Pa->DrawSchedulerNavigationButton(C, Bounds, Next, S, L"Next", Text, Arrow, Vertical);
            },
            nullptr, 0);
      }
  for (TcxButtonState S : AllButtonStates)
    Add(
        "scheduler", std::string("navigator button ") + ButtonStateName(S), {20, 18},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawSchedulerScaledNavigatorButton(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawSchedulerNavigatorButton(C, R, S); },
        kMayBeEmpty);
  Add(
      "clock", "ten past ten", {90, 90},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawScaledClock(C, R, EncodeTime(10, 10, 30, 0), clWindow, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawClock(C, R, EncodeTime(10, 10, 30, 0), clWindow);
      },
      0);
}

// Track bars, range track bars, the range control.
inline void AddTrackBarElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  const char* const TickNames[] = {"up", "down", "both"};
  for (bool Horizontal : {true, false}) {
    const std::string Dir = Horizontal ? "horizontal " : "vertical ";
    Add(
        "track bar", Dir + "track", Horizontal ? TSize{60, 6} : TSize{6, 60},
        [Horizontal](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawTrackBarScaledTrack(C, R, R, false, true, Horizontal, clBtnFace, Fa);
        },
        [Horizontal](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawTrackBarTrack(C, R, R, false, true, Horizontal, clBtnFace);
        },
        0);
    for (int T = 0; T < 3; ++T)
      for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
        auto Ticks = static_cast<TcxTrackBarTicksAlign>(T);
        // The bevels reach a pixel beyond the thumb's rectangle.
        Add(
            "track bar", Dir + "thumb " + TickNames[T] + " " + ButtonStateName(S),
            Horizontal ? TSize{13, 22} : TSize{22, 13},
            [=](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
              Pa->DrawTrackBarScaledThumb(C, cxRectInflate(R, -1, -1), S, Horizontal, Ticks,
                                          clBtnFace, Fa);
            },
            [=](P* Pa, TcxCanvas* C, const TRect& R) {
              Pa->DrawTrackBarThumb(C, cxRectInflate(R, -1, -1), S, Horizontal, Ticks, clBtnFace);
            },
            0);
        for (bool Left : {true, false})
          Add(
              "range track bar",
              Dir + (Left ? "left " : "right ") + TickNames[T] + " " + ButtonStateName(S),
              Horizontal ? TSize{9, 22} : TSize{22, 9},
              [=](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
                TRect Inner = cxRectInflate(R, -1, -1);
                if (Left)
                  Pa->DrawRangeTrackBarScaledLeftThumb(C, Inner, S, Horizontal, Ticks, clBtnFace,
                                                       Fa);
                else
                  Pa->DrawRangeTrackBarScaledRightThumb(C, Inner, S, Horizontal, Ticks, clBtnFace,
                                                        Fa);
              },
              [=](P* Pa, TcxCanvas* C, const TRect& R) {
                TRect Inner = cxRectInflate(R, -1, -1);
                if (Left)
                  Pa->DrawRangeTrackBarLeftThumb(C, Inner, S, Horizontal, Ticks, clBtnFace);
                else
                  Pa->DrawRangeTrackBarRightThumb(C, Inner, S, Horizontal, Ticks, clBtnFace);
              },
              0);
      }
  }
  for (bool Left : {true, false})
    Add(
        "range control", Left ? "left thumb" : "right thumb", {11, 19},
        [Left](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          if (Left)
            Pa->DrawRangeControlScaledLeftThumb(C, R, clDefault,
                                                Pa->GetRangeControlElementsBorderColor(), Fa);
          else
            Pa->DrawRangeControlScaledRightThumb(C, R, clDefault,
                                                 Pa->GetRangeControlElementsBorderColor(), Fa);
        },
        [Left](P* Pa, TcxCanvas* C, const TRect& R) {
          if (Left)
            Pa->DrawRangeControlLeftThumb(C, R, clDefault,
                                          Pa->GetRangeControlElementsBorderColor());
          else
            Pa->DrawRangeControlRightThumb(C, R, clDefault,
                                           Pa->GetRangeControlElementsBorderColor());
        },
        0);
  for (bool Hot : {false, true})
    Add(
        "range control", Hot ? "ruler header hot" : "ruler header", {60, 16},
        [Hot](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawRangeControlScaledRulerHeader(C, R, Hot,
                                                static_cast<TColor>(dxAlphaColorValue(dxacDefault)),
                                                Pa->GetRangeControlBorderColor(), Fa);
        },
        [Hot](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawRangeControlRulerHeader(C, R, Hot,
                                          static_cast<TColor>(dxAlphaColorValue(dxacDefault)),
                                          Pa->GetRangeControlBorderColor());
        },
        0);
  Add(
      "range control", "sizing glyph", {5, 9},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawRangeControlScaledSizingGlyph(C, R, Pa->GetRangeControlElementsBorderColor(), Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawRangeControlSizingGlyph(C, R, Pa->GetRangeControlElementsBorderColor());
      },
      0);
}

inline const char* BreadcrumbButtonStateName(TdxBreadcrumbEditButtonState AState) {
  static const char* const Names[] = {"normal", "focused", "hot", "pressed", "disabled"};
  return Names[AState];
}

// Breadcrumb editor, alert window, pin, zoom buttons.
inline void AddBreadcrumbElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  const char* const EditStates[] = {"normal", "focused", "hot", "disabled"};
  for (int S = 0; S < 4; ++S) {
    auto State = static_cast<TdxBreadcrumbEditState>(S);
    Add(
        "breadcrumb", std::string("borders ") + EditStates[S], {60, 20},
        [State](P* Pa, TcxCanvas* C, const TRect& R, F) {
          Pa->DrawBreadcrumbEditBorders(C, R, cxBordersAll(), State);
        },
        nullptr, 0);
    Add(
        "breadcrumb", std::string("borders left and top ") + EditStates[S], {60, 20},
        [State](P* Pa, TcxCanvas* C, const TRect& R, F) {
          KeepingClip(C, [&] {
            Pa->DrawBreadcrumbEditBorders(C, R, TcxBorders{bLeft, bTop}, State);
          });
        },
        nullptr, 0);
    Add(
        "breadcrumb", std::string("button area separator ") + EditStates[S], {4, 20},
        [State](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawBreadcrumbEditScaledButtonAreaSeparator(C, R, State, Fa);
        },
        [State](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawBreadcrumbEditButtonAreaSeparator(C, R, State);
        },
        kMayBeEmpty);
  }
  for (int S = 0; S < 5; ++S) {
    auto State = static_cast<TdxBreadcrumbEditButtonState>(S);
    const std::string N = BreadcrumbButtonStateName(State);
    // Normal and disabled buttons show the editor's background.
    Add(
        "breadcrumb", "button " + N, {24, 20},
        [State](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawBreadcrumbEditScaledButton(C, R, State, true, false, Fa);
        },
        [State](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawBreadcrumbEditButton(C, R, State, true, false);
        },
        kMayBeEmpty);
    for (bool InEditor : {false, true})
      Add(
          "breadcrumb", std::string(InEditor ? "editor drop-down " : "drop-down ") + N, {17, 20},
          [State, InEditor](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawBreadcrumbEditScaledDropDownButton(C, R, State, InEditor, Fa);
            Pa->DrawBreadcrumbEditScaledDropDownButtonGlyph(C, R, State, InEditor, Fa);
          },
          [State, InEditor](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawBreadcrumbEditDropDownButton(C, R, State, InEditor);
            Pa->DrawBreadcrumbEditDropDownButtonGlyph(C, R, State, InEditor);
          },
          kMayBeEmpty);
    for (bool Delimiter : {false, true})
      Add(
          "breadcrumb", std::string(Delimiter ? "node with delimiter " : "node ") + N, {40, 20},
          [State, Delimiter](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawBreadcrumbEditScaledNode(C, R, State, Delimiter, Fa);
          },
          [State, Delimiter](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawBreadcrumbEditNode(C, R, State, Delimiter);
          },
          kMayBeEmpty);
    Add(
        "breadcrumb", "delimiter " + N, {14, 20},
        [State](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawBreadcrumbEditScaledNodeDelimiter(C, R, State, Fa);
          Pa->DrawBreadcrumbEditScaledNodeDelimiterGlyph(C, R, State, Fa);
        },
        [State](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawBreadcrumbEditNodeDelimiter(C, R, State);
          Pa->DrawBreadcrumbEditNodeDelimiterGlyph(C, R, State);
        },
        0);
    Add(
        "breadcrumb", "more button glyph " + N, {14, 20},
        [State](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawBreadcrumbEditScaledNodeMoreButtonGlyph(C, R, State, Fa);
        },
        [State](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawBreadcrumbEditNodeMoreButtonGlyph(C, R, State);
        },
        0);
  }
  Add(
      "breadcrumb", "progress chunk", {40, 18},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawBreadcrumbEditScaledProgressChunk(C, R, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawBreadcrumbEditProgressChunk(C, R); }, 0);
  Add(
      "breadcrumb", "progress chunk overlay", {40, 18},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawBreadcrumbEditScaledProgressChunkOverlay(C, R, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawBreadcrumbEditProgressChunkOverlay(C, R); },
      kMayBeEmpty);

  Add(
      "alert window", "background", {80, 50},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        C->SetBrushColor(clInfoBk);
        C->Pen()->SetColor(clBtnShadow);
        Pa->DrawAlertWindowBackground(C, R, Fa);
      },
      nullptr, 0);
  Add(
      "alert window", "navigation panel", {60, 18},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawAlertWindowNavigationPanel(C, R); },
      nullptr, 0);
  const char* const Kinds[] = {"close", "pin", "drop-down", "previous", "next", "custom"};
  for (int K = 0; K < 6; ++K)
    for (TcxButtonState S : AllButtonStates)
      for (bool Down : {false, true}) {
        auto Kind = static_cast<TdxAlertWindowButtonKind>(K);
        if (Down && Kind != awbkPin) continue;
        Add(
            "alert window",
            std::string(Kinds[K]) + " " + ButtonStateName(S) + (Down ? " down" : ""), {16, 16},
            [=](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
              Pa->DrawAlertWindowScaledButton(C, R, S, Kind, Fa, Down);
            },
            [=](P* Pa, TcxCanvas* C, const TRect& R) {
              Pa->DrawAlertWindowButton(C, R, S, Kind, Down);
            },
            0);
      }
  for (bool Pinned : {false, true})
    Add(
        "pin", Pinned ? "pinned" : "unpinned", {12, 12},
        [Pinned](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawPin(C, R, clBtnText, Pinned); },
        nullptr, 0);
  for (bool In : {true, false})
    for (TcxButtonState S : AllButtonStates) {
      Add(
          "zoom", std::string(In ? "in " : "out ") + ButtonStateName(S), {15, 15},
          [In, S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            if (In)
              Pa->DrawScaledZoomInButton(C, R, S, Fa);
            else
              Pa->DrawScaledZoomOutButton(C, R, S, Fa);
          },
          [In, S](P* Pa, TcxCanvas* C, const TRect& R) {
            if (In)
              Pa->DrawZoomInButton(C, R, S);
            else
              Pa->DrawZoomOutButton(C, R, S);
          },
          0);
    }
}

// Calendars, the modern clock, galleries, rating, fixed group, wheel
// picker, tokens.
inline void AddCalendarElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  struct TCellStates {
    const char* Name;
    TcxCalendarElementStates States;
  };
  const TCellStates Cells[] = {{"marked", {cesMarked}},
                               {"hot", {cesHot}},
                               {"selected", {cesSelected}},
                               {"selected hot", {cesSelected, cesHot}},
                               {"selected focused", {cesSelected, cesFocused}},
                               {"marked focused", {cesMarked, cesFocused}}};
  for (const TCellStates& C : Cells) {
    TcxCalendarElementStates St = C.States;
    Add(
        "calendar", std::string("date cell ") + C.Name, {24, 18},
        [St](P* Pa, TcxCanvas* Cv, const TRect& R, F) {
          Pa->DrawCalendarDateCellSelection(Cv, R, St);
        },
        nullptr, kMayBeEmpty);
    Add(
        "calendar", std::string("modern date cell ") + C.Name, {24, 18},
        [St](P* Pa, TcxCanvas* Cv, const TRect& R, F) {
          Pa->DrawModernCalendarDateCellSelection(Cv, R, St);
        },
        nullptr, 0);
  }
  const char* const Directions[] = {"up", "down", "left", "right"};
  const char* const ArrowStates[] = {"normal",  "hot",    "pressed", "selected",
                                     "focused", "marked", "disabled"};
  for (int D = 0; D < 4; ++D)
    for (TcxCalendarElementState St : {cesNormal, cesHot, cesDisabled}) {
      auto Dir = static_cast<TcxArrowDirection>(D);
      Add(
          "calendar", std::string("modern arrow ") + Directions[D] + " " + ArrowStates[St], {9, 9},
          [Dir, St](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawScaledModernCalendarArrow(C, R, Dir, St, Fa);
          },
          [Dir, St](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawModernCalendarArrow(C, R, Dir, St);
          },
          0);
    }
  Add(
      "calendar", "modern clock ten past ten", {80, 80},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawModernCalendarClock(C, R, EncodeTime(10, 10, 30, 0), clWindow, Fa);
      },
      nullptr, 0);
  Add(
      "calendar", "modern clock on the canvas", {80, 80},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawModernCalendarClock(C, R, EncodeTime(4, 45, 0, 0), clNone, Fa);
      },
      nullptr, 0);
  Add(
      "calendar", "modern clock hands", {60, 60},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawScaledModernClockHands(C, R, EncodeTime(10, 10, 30, 0), clBlack, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) {
        Pa->DrawModernClockHands(C, R, EncodeTime(10, 10, 30, 0), clBlack);
      },
      kUnscaledAtDefault);

  Add(
      "gallery", "background", {40, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawGalleryBackground(C, R); }, nullptr, 0);
  Add(
      "gallery", "group header", {60, 18},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawGalleryGroupHeader(C, R); }, nullptr, 0);
  Add(
      "gallery", "image frame", {24, 24},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawGalleryItemImageFrame(C, R); }, nullptr,
      0);
  struct TGalleryState {
    const char* Name;
    TdxGalleryItemViewState State;
  };
  const TGalleryState Items[] = {{"hover", {true, false, true, false, false}},
                                 {"pressed", {true, false, false, true, false}},
                                 {"focused", {true, false, false, false, true}},
                                 {"checked", {true, true, false, false, false}},
                                 {"checked hover", {true, true, true, false, false}},
                                 {"checked pressed", {true, true, false, true, false}}};
  for (const TGalleryState& G : Items) {
    TdxGalleryItemViewState St = G.State;
    Add(
        "gallery", std::string("item ") + G.Name, {32, 32},
        [St](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawGalleryItemSelection(C, R, St); },
        nullptr, 0);
    Add(
        "gallery", std::string("colour item ") + G.Name, {20, 20},
        [St](P* Pa, TcxCanvas* C, const TRect& R, F) {
          Pa->DrawColorGalleryItemSelection(C, R, St);
        },
        nullptr, 0);
  }

  const char* const Ratings[] = {"unchecked", "checked", "hover"};
  for (int S = 0; S < 3; ++S) {
    auto St = static_cast<TdxRatingControlIndicatorState>(S);
    Add(
        "rating", Ratings[S], {15, 16},
        [St](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawRatingControlScaledIndicator(C, R, St, Fa);
        },
        [St](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawRatingControlIndicator(C, R, St); }, 0);
  }
  Add(
      "fixed group", "indicator", {22, 16},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawScaledFixedGroupIndicator(C, R, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawFixedGroupIndicator(C, R); }, 0);
  for (TcxButtonState S : {cxbsHot, cxbsPressed})
    Add(
        "wheel picker", std::string("item ") + ButtonStateName(S), {40, 18},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->DrawWheelPickerItem(C, R, S); }, nullptr,
        0);
  for (TcxButtonState S : AllButtonStates) {
    Add(
        "token", std::string("background ") + ButtonStateName(S), {40, 18},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledTokenBackground(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawTokenBackground(C, R, S); },
        kMayBeEmpty);
    Add(
        "token", std::string("close glyph ") + ButtonStateName(S), {12, 11},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->DrawScaledTokenCloseGlyph(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawTokenCloseGlyph(C, R, S); }, 0);
  }
}

// Map control, office navigation bar, PDF viewer, spreadsheet.
inline void AddMapElements(const TAddElement& Add) {
  using P = TcxCustomLookAndFeelPainter;
  using F = const TdxScaleFactor*;
  const char* const MapStates[] = {"normal", "hot", "pressed", "selected", "disabled"};
  for (int S = 0; S < 5; ++S) {
    auto St = static_cast<TdxMapControlElementState>(S);
    // Normal and disabled elements are fully transparent.
    Add(
        "map", std::string("custom element ") + MapStates[S], {40, 24},
        [St](P* Pa, TcxCanvas* C, const TRect& R, F) {
          Pa->DrawMapCustomElementBackground(C, R, St);
        },
        nullptr, kMayBeEmpty);
  }
  Add(
      "map", "pushpin", {35, 44},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) { Pa->DrawMapPushpin(C, R, mcesNormal, Fa); },
      nullptr, 0);

  Add(
      "navigation bar", "background", {60, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->OfficeNavigationBarDrawBackground(C, R); },
      nullptr, 0);
  for (Integer S = 0; S < 4; ++S) {
    const std::string N = std::to_string(S);
    Add(
        "navigation bar", "button item " + N, {40, 20},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->OfficeNavigationBarDrawScaledButtonItemBackground(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->OfficeNavigationBarDrawButtonItemBackground(C, R, S);
        },
        0);
    Add(
        "navigation bar", "image selection " + N, {20, 20},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->OfficeNavigationBarDrawScaledImageSelection(C, R, S, Fa);
        },
        [S](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->OfficeNavigationBarDrawImageSelection(C, R, S);
        },
        kMayBeEmpty);
  }
  for (bool Coloured : {false, true}) {
    const TdxAlphaColor Color = Coloured ? dxMakeAlphaColor(200, 0, 0, 200) : dxacDefault;
    Add(
        "navigation bar", Coloured ? "customization button coloured" : "customization button",
        {38, 32},
        [Color](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->OfficeNavigationBarDrawScaledCustomizationButton(C, R, 0, Fa, Color);
        },
        [Color](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->OfficeNavigationBarDrawCustomizationButton(C, R, 0, Color);
        },
        0);
  }

  Add(
      "pdf viewer", "find panel", {60, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->PDFViewerDrawFindPanelBackground(C, R, cxBordersAll());
      },
      nullptr, 0);
  Add(
      "pdf viewer", "navigation pane", {40, 40},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->PDFViewerDrawNavigationPaneBackground(C, R);
      },
      nullptr, 0);
  Add(
      "pdf viewer", "page", {40, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->PDFViewerDrawNavigationPanePageBackground(C, R);
      },
      nullptr, 0);
  Add(
      "pdf viewer", "page caption", {40, 16},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->PDFViewerDrawNavigationPanePageCaptionBackground(C, R);
      },
      nullptr, 0);
  Add(
      "pdf viewer", "page toolbar", {40, 16},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->PDFViewerDrawNavigationPanePageToolbarBackground(C, R);
      },
      nullptr, 0);
  Add(
      "pdf viewer", "thumbnail preview", {40, 30},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) {
        Pa->PDFViewerDrawPageThumbnailPreviewBackground(C, R);
      },
      nullptr, 0);
  for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed})
    for (bool Selected : {false, true})
      for (bool Minimized : {false, true}) {
        const std::string N = std::string("pane button ") + ButtonStateName(S) +
                              (Selected ? " selected" : "") + (Minimized ? " minimized" : "");
        // A pressed or selected button reaches over its neighbours by the
        // overlay; the element's rectangle holds it.
        Add(
            "pdf viewer", N, {52, 52},
            [=](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
              const TPoint O = Pa->PDFViewerNavigationPaneButtonOverlay(Fa);
              Pa->PDFViewerDrawNavigationPaneButton(C, cxRectInflate(R, -O.x, -O.y), S, Fa,
                                                    Minimized, Selected, false);
            },
            nullptr, 0);
      }
  for (TcxButtonState S : {cxbsNormal, cxbsHot})
    Add(
        "pdf viewer", std::string("page button ") + ButtonStateName(S), {30, 40},
        [S](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
          Pa->PDFViewerDrawNavigationPanePageButton(C, R, S, Fa);
        },
        nullptr, kMayBeEmpty);

  for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed}) {
    auto Header = [S](P* Pa, TcxCanvas* C, const TRect& R, const TdxScaleFactor* Fa) {
      Pa->DrawSpreadSheetScaledHeader(C, R, cxRectInflate(R, -2, -2), TcxNeighbors(),
                                      cxBordersAll(), S, taCenter, vaCenter, false, false, L"B",
                                      ElementFont(), clBtnText, clBtnFace, Fa);
    };
    Add(
        "spreadsheet", std::string("header ") + ButtonStateName(S), {40, 18},
        [Header](P* Pa, TcxCanvas* C, const TRect& R, F Fa) { Header(Pa, C, R, Fa); },
        [S](P* Pa, TcxCanvas* C, const TRect& R) {
          Pa->DrawSpreadSheetHeader(C, R, cxRectInflate(R, -2, -2), TcxNeighbors(), cxBordersAll(),
                                    S, taCenter, vaCenter, false, false, L"B", ElementFont(),
                                    clBtnText, clBtnFace);
        },
        0);
    for (bool Expanded : {false, true}) {
      const std::string N = std::string(Expanded ? "expanded " : "collapsed ") + ButtonStateName(S);
      Add(
          "spreadsheet", "group button " + N, {17, 17},
          [S, Expanded](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawSpreadSheetScaledGroupExpandButton(C, R, S, Fa);
            Pa->DrawSpreadSheetScaledGroupExpandButtonGlyph(C, R, S, Expanded, Fa,
                                                            SampleNavigatorGlyphs());
          },
          [S, Expanded](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawSpreadSheetGroupExpandButton(C, R, S);
            Pa->DrawSpreadSheetGroupExpandButtonGlyph(C, R, S, Expanded, SampleNavigatorGlyphs());
          },
          0);
      Add(
          "spreadsheet", "formula bar button " + N, {17, 17},
          [S, Expanded](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
            Pa->DrawSpreadSheetFormulaBarScaledExpandButton(C, R, S, Expanded, Fa);
          },
          [S, Expanded](P* Pa, TcxCanvas* C, const TRect& R) {
            Pa->DrawSpreadSheetFormulaBarExpandButton(C, R, S, Expanded);
          },
          0);
    }
  }
  Add(
      "spreadsheet", "formula bar separator", {7, 20},
      [](P* Pa, TcxCanvas* C, const TRect& R, F Fa) {
        Pa->DrawSpreadSheetFormulaBarScaledSeparator(C, R, Fa);
      },
      [](P* Pa, TcxCanvas* C, const TRect& R) { Pa->DrawSpreadSheetFormulaBarSeparator(C, R); },
      kMayBeEmpty);
}

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
        kMayExcludeRect);
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
          },
          kMayBeEmpty);

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
  // The Native look draws a hint's theme part 4 pixels beyond its window's
  // client area, under the window's edge.
  Add("hint", "background", {60, 20}, [](P* Pa, TcxCanvas* C, const TRect& R, F) {
    Pa->DrawHintBackground(C, cxRectInflate(R, -4, -4), clDefault);
  });
  Add("hint", "screen tip", {60, 30}, [](P* Pa, TcxCanvas* C, const TRect& R, F) {
    Pa->ScreenTipDrawBackground(C, cxRectInflate(R, -4, -4));
  });
  Add("hint", "screen tip footer", {60, 4},
      [](P* Pa, TcxCanvas* C, const TRect& R, F) { Pa->ScreenTipDrawFooterLine(C, R); });

  AddHeaderElements(Add);
  AddIndicatorElements(Add);
  AddGroupElements(Add);
  AddRadioElements(E);
  AddViewElements(Add);
  AddSchedulerElements(Add);
  AddTrackBarElements(Add);
  AddBreadcrumbElements(Add);
  AddCalendarElements(Add);
  AddMapElements(Add);
  return E;
}
