// Paints every element of each painter in its states, at 96 DPI and at
// 144 DPI (factors 1 and 3/2), into one labelled PNG sheet per painter and
// resolution, and the test's synthetic skin in every state, for people to
// look at:
//   lookandfeel_gallery <output folder>
#include <algorithm>
#include <cstdio>
#include <map>

#include "LookAndFeelModules.h"
#include "PainterElements.h"
#include "SkinsTestSupport.h"

namespace {

constexpr Integer kSheetWidth = 1400;
constexpr Integer kFamilyColumn = 150;
constexpr Integer kPadding = 6;
constexpr TColor kSheetColor = 0xF4F4F4;
constexpr TColor kCellColor = 0xFFFFFF;

String Wide(const std::string& S) { return String(S.begin(), S.end()); }

struct TCell {
  const TPainterElement* Element;
  TSize Size;
  TRect Bounds;
};

class TSheet {
 public:
  TSheet(TcxCustomLookAndFeelPainter* APainter, const TdxScaleFactor* AFactor)
      : FPainter(APainter), FFactor(AFactor) {
    FLabel = MakeOwned<TFont>();
    FLabel->SetName(L"Tahoma");
    FLabel->SetHeight(-AFactor->Apply(11));
    FTitle = MakeOwned<TFont>();
    FTitle->Assign(FLabel.get());
    FTitle->SetStyle(TFontStyles{TFontStyle::fsBold});
  }

  void Paint(const String& AFileName) {
    std::vector<TPainterElement> Elements = PainterElements();
    // Lay out: one block of cells per family, wrapping at the sheet's width.
    std::vector<std::pair<std::string, std::vector<TCell>>> Families;
    for (const TPainterElement& E : Elements) {
      auto It = std::find_if(Families.begin(), Families.end(),
                             [&E](const auto& F) { return F.first == E.Family; });
      if (It == Families.end()) It = Families.insert(Families.end(), {E.Family, {}});
      It->second.push_back({&E, E.SizeAt(FPainter, FFactor), cxNullRect});
    }
    Integer LabelHeight = FFactor->Apply(14);
    Integer Y = kPadding;
    std::vector<std::pair<std::string, Integer>> Titles;
    for (auto& [Family, Cells] : Families) {
      Titles.push_back({Family, Y});
      Integer X = FFactor->Apply(kFamilyColumn), RowHeight = 0;
      for (TCell& C : Cells) {
        Integer W = std::max<Integer>(C.Size.cx, TextWidth(Wide(C.Element->Name))) + 2 * kPadding;
        Integer H = C.Size.cy + LabelHeight + 2 * kPadding;
        if (X + W > FFactor->Apply(kSheetWidth) && X > FFactor->Apply(kFamilyColumn)) {
          X = FFactor->Apply(kFamilyColumn);
          Y += RowHeight + kPadding;
          RowHeight = 0;
        }
        C.Bounds = cxRect(X, Y, X + W, Y + H);
        X += W + kPadding;
        RowHeight = std::max(RowHeight, H);
      }
      Y += RowHeight + 2 * kPadding;
    }

    TOwned<TcxBitmap32> Sheet(TcxBitmap32::CreateSize(FFactor->Apply(kSheetWidth), Y));
    TcxCanvas* Canvas = Sheet->cxCanvas();
    Canvas->FillRect(Sheet->ClientRect(), kSheetColor);
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas->SetFont(FTitle.get());
    for (auto& [Family, Top] : Titles) Canvas->TextOut(kPadding, Top + kPadding, Wide(Family));
    Canvas->SetFont(FLabel.get());
    for (auto& [Family, Cells] : Families)
      for (const TCell& C : Cells) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->FillRect(C.Bounds, kCellColor);
        TRect R = cxRect(C.Bounds.left + kPadding, C.Bounds.top + kPadding,
                         C.Bounds.left + kPadding + C.Size.cx, C.Bounds.top + kPadding + C.Size.cy);
        // Each element on a canvas state of its own; some leave their
        // rectangle excluded from the clip.
        Canvas->SaveState();
        C.Element->Scaled(FPainter, Canvas, R, FFactor);
        Canvas->RestoreState();
        Canvas->SetFont(FLabel.get());
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        Canvas->Font()->SetColor(clBlack);
        Canvas->TextOut(C.Bounds.left + kPadding, R.bottom + 2, Wide(C.Element->Name));
      }
    Sheet->MakeOpaque();
    TOwned<TdxSmartImage> Image(TdxCustomSmartImage::CreateFromBitmap<TdxSmartImage>(Sheet.get()));
    Image->SaveToFile(AFileName);
  }

 private:
  Integer TextWidth(const String& AText) {
    TOwned<TcxBitmap> Probe(TcxBitmap::CreateSize(1, 1));
    Probe->cxCanvas()->SetFont(FLabel.get());
    return Probe->cxCanvas()->TextWidth(AText);
  }

  TcxCustomLookAndFeelPainter* FPainter;
  const TdxScaleFactor* FFactor;
  TOwned<TFont> FLabel;
  TOwned<TFont> FTitle;
};

// Each element of the synthetic skin in every state, one row per element.
void PaintSkinSheet(const String& AFileName, const TdxScaleFactor* AFactor) {
  TOwned<TdxSkin> Skin(SkinsTest::SyntheticSkin());
  TdxSkinControlGroup* Group = Skin->Groups(0);
  const TSize Cell = AFactor->Apply(TSize{90, 44});
  const TSize Element = AFactor->Apply(TSize{80, 24});
  const Integer Left = AFactor->Apply(60);
  TOwned<TcxBitmap32> Sheet(TcxBitmap32::CreateSize(Left + Cell.cx * dxSkinElementStateCount,
                                                    Cell.cy * Group->Count() + kPadding));
  TcxCanvas* Canvas = Sheet->cxCanvas();
  Canvas->FillRect(Sheet->ClientRect(), kSheetColor);
  TOwned<TFont> Label = MakeOwned<TFont>();
  Label->SetName(L"Tahoma");
  Label->SetHeight(-AFactor->Apply(11));
  Canvas->SetFont(Label.get());
  Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  TOwned<TdxScaleFactor> Factor = MakeOwned<TdxScaleFactor>();
  Factor->Assign(AFactor);
  for (Integer E = 0; E < Group->Count(); ++E) {
    const Integer Top = kPadding + E * Cell.cy;
    Canvas->TextOut(kPadding, Top + kPadding, Group->Elements(E)->Name());
    for (Integer S = 0; S < dxSkinElementStateCount; ++S) {
      const Integer X = Left + S * Cell.cx;
      const TRect R = cxRect(X, Top, X + Element.cx, Top + Element.cy);
      Group->Elements(E)->Draw(Canvas->Handle(), R, Factor.get(), 0,
                               static_cast<TdxSkinElementState>(S));
      Canvas->TextOut(X, R.bottom + 2, dxSkinElementStateNames[S]);
    }
  }
  Sheet->MakeOpaque();
  TOwned<TdxSmartImage> Image(TdxCustomSmartImage::CreateFromBitmap<TdxSmartImage>(Sheet.get()));
  Image->SaveToFile(AFileName);
}

int Run(const String& AFolder) {
  if (!ForceDirectories(AFolder)) {
    std::fprintf(stderr, "cannot make the output folder\n");
    return 1;
  }
  TOwned<TdxScaleFactor> HalfAgain = MakeOwned<TdxScaleFactor>();
  HalfAgain->Assign(3, 2, false);
  const std::pair<const wchar_t*, const TdxScaleFactor*> Factors[] = {
      {L"96dpi", dxDefaultScaleFactor()}, {L"144dpi", HalfAgain.get()}};
  TcxLookAndFeelPaintersManager* Manager = cxLookAndFeelPaintersManager();
  for (Integer I = 0; I < Manager->Count(); ++I) {
    TcxCustomLookAndFeelPainter* P = Manager->Items(I);
    for (auto [Suffix, Factor] : Factors) {
      String Name = AFolder + L"\\" + P->LookAndFeelName() + L"-" + Suffix + L".png";
      TSheet(P, Factor).Paint(Name);
      std::fprintf(stdout, "%ls\n", Name.c_str());
    }
  }
  for (auto [Suffix, Factor] : Factors) {
    String Name = AFolder + L"\\Skin-" + Suffix + L".png";
    PaintSkinSheet(Name, Factor);
    std::fprintf(stdout, "%ls\n", Name.c_str());
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int Result = 1;
  try {
    StartLookAndFeelModules();
    Result = Run(argc > 1 ? String(argv[1]) : String(L"gallery\\lookandfeel"));
    StopLookAndFeelModules();
  } catch (const Exception& E) {
    std::fprintf(stderr, "gallery: %ls\n", E.Message().c_str());
  }
  CoUninitialize();
  return Result;
}
