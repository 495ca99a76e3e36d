// Pictures of editor painting as text: one character per pixel, each
// character standing for a colour (system colours as the platform gives
// them), so that a fixture reads like the pixels it expects.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cxGraphics.h"
#include "dxGraphicsLink.h"
#include "ui/graphics/GraphicsTestSupport.h"

// The colour painting starts from; '.' in every picture.
constexpr COLORREF kPaper = RGB(1, 2, 3);

using TLegend = std::map<char, TColor>;

// A bitmap of the picture's size filled with paper, painted by APaint.
template <class F>
TOwned<TcxBitmap32> Painted(int AWidth, int AHeight, F&& APaint) {
  TOwned<TcxBitmap32> B = FilledBitmap(AWidth, AHeight, static_cast<TColor>(kPaper));
  APaint(B->cxCanvas());
  return B;
}

// The bitmap drawn as a picture: the first legend character of each pixel's
// colour, '.' for paper, '?' for a colour the legend lacks.
inline std::vector<std::string> PictureOf(TBitmap* ABitmap, const TLegend& ALegend) {
  std::vector<std::string> R;
  for (int Y = 0; Y < ABitmap->Height(); ++Y) {
    std::string Row;
    for (int X = 0; X < ABitmap->Width(); ++X) {
      COLORREF C = PixelOf(ABitmap, X, Y);
      char Ch = C == kPaper ? '.' : '?';
      if (Ch == '?')
        for (const auto& [Key, Color] : ALegend)
          if (dxColorToRGB(Color) == C) {
            Ch = Key;
            break;
          }
      Row += Ch;
    }
    R.push_back(Row);
  }
  return R;
}

// Compares colours, not characters, so that legend colours the platform
// happens to give the same value cannot fail a picture.
inline ::testing::AssertionResult LooksLike(TBitmap* ABitmap, const TLegend& ALegend,
                                            const std::vector<std::string>& AExpected) {
  bool Same = static_cast<int>(AExpected.size()) == ABitmap->Height();
  for (int Y = 0; Same && Y < ABitmap->Height(); ++Y) {
    Same = static_cast<int>(AExpected[Y].size()) == ABitmap->Width();
    for (int X = 0; Same && X < ABitmap->Width(); ++X) {
      char Ch = AExpected[Y][X];
      COLORREF Want = kPaper;
      if (Ch != '.') {
        auto It = ALegend.find(Ch);
        if (It == ALegend.end()) return ::testing::AssertionFailure() << "no colour for " << Ch;
        Want = dxColorToRGB(It->second);
      }
      Same = PixelOf(ABitmap, X, Y) == Want;
    }
  }
  if (Same) return ::testing::AssertionSuccess();
  ::testing::AssertionResult F = ::testing::AssertionFailure();
  F << "\nexpected:";
  for (const std::string& Row : AExpected) F << "\n  " << Row;
  F << "\npainted:";
  for (const std::string& Row : PictureOf(ABitmap, ALegend)) F << "\n  " << Row;
  return F;
}
