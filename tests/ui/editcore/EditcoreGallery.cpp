// Paints the test editor with one button of each kind in every button style
// and state (normal, hot, pressed, focused, disabled), with the Native and
// the UltraFlat look, at 96 and at 144 DPI, calculated by the editor's own
// view data, into one PNG sheet per look and resolution for people to look
// at:
//   editcore_gallery <output folder> [<folder of reviewed sheets>]
// With the second folder, the UltraFlat sheets must equal the reviewed ones.
#include <cstdio>
#include <string>

#include "ControlsTestSupport.h"
#include "EditcoreTestSupport.h"
#include "SysUtils.h"
#include "cxEdit.h"
#include "dxGDIPlusClasses.h"

namespace {

// The editor the sheets show: no inner edit, buttons only.
class TGalleryEdit : public TcxCustomEdit {
  DECLARE_CLASS(TGalleryEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::TcxCustomEdit;
};
IMPLEMENT_CLASS(TGalleryEdit)

enum TGalleryState { gsNormal, gsHot, gsPressed, gsFocused, gsDisabled };
const wchar_t* const StateNames[] = {L"normal", L"hot", L"pressed", L"focused", L"disabled"};
const wchar_t* const KindNames[] = {L"ellipsis", L"down", L"glyph", L"text"};
const wchar_t* const StyleNames[] = {L"default",  L"3D",         L"flat",     L"simple",
                                     L"hot flat", L"ultra flat", L"Office 11"};

constexpr TColor kSheetColor = static_cast<TColor>(RGB(236, 233, 216));

// A glyph drawn for the sheets: a dark square with a light cross.
TOwned<TdxSmartGlyph> GalleryGlyph() {
  TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(10, 10));
  TcxCanvas* C = B->cxCanvas();
  C->FillRect(B->ClientRect(), clFuchsia);
  C->FillRect(cxRect(1, 1, 9, 9), static_cast<TColor>(RGB(30, 90, 160)));
  C->FillRect(cxRect(4, 2, 6, 8), clWhite);
  C->FillRect(cxRect(2, 4, 8, 6), clWhite);
  TOwned<TdxSmartGlyph> G = MakeOwned<TdxSmartGlyph>();
  G->Assign(B.get());
  // Drawn for 96 DPI: scaled with the editor.
  G->SetSourceDPI(96);
  return G;
}

struct TLook {
  const wchar_t* Name;
  bool Native;
};

class TSheet {
 public:
  TSheet(const TLook& ALook, Integer ANumerator, Integer ADenominator)
      : FLook(ALook), FNumerator(ANumerator), FDenominator(ADenominator) {
    FForm.reset(ControlsTest::CreateForm(200, 60));
    FEdit = Create<TGalleryEdit>(FForm.get());
    FEdit->SetParent(FForm.get());
    FEdit->SetBounds(4, 4, 120, 24);
    FGlyph = GalleryGlyph();
    FLabel = MakeOwned<TFont>();
    FLabel->SetName(L"Tahoma");
    FLabel->SetHeight(-Scale(11));
  }

  void Paint(const String& AFileName) {
    const Integer CellW = Scale(130), CellH = Scale(30), Left = Scale(150), Top = Scale(24);
    const Integer StyleCount = FLook.Native ? 1 : 6;
    const Integer Rows = StyleCount * 4;
    TOwned<TcxBitmap32> Sheet(TcxBitmap32::CreateSize(Left + 5 * CellW, Top + Rows * CellH));
    TcxCanvas* Canvas = Sheet->cxCanvas();
    Canvas->FillRect(Sheet->ClientRect(), kSheetColor);
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    Canvas->SetFont(FLabel.get());
    for (Integer S = 0; S < 5; ++S) Canvas->TextOut(Left + S * CellW, Scale(4), StateNames[S]);
    Integer Row = 0;
    for (Integer St = 0; St < StyleCount; ++St)
      for (Integer K = 0; K <= bkText; ++K, ++Row) {
        const Integer Y = Top + Row * CellH;
        TcxEditButtonStyle Style = static_cast<TcxEditButtonStyle>(bts3D + St);
        String Label =
            FLook.Native ? String(KindNames[K]) : String(StyleNames[Style]) + L", " + KindNames[K];
        Canvas->SetFont(FLabel.get());
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        Canvas->Font()->SetColor(clBlack);
        Canvas->TextOut(Scale(4), Y + Scale(6), Label);
        for (Integer S = 0; S < 5; ++S)
          PaintEditor(Canvas, Left + S * CellW, Y, Style, static_cast<TcxEditButtonKind>(K),
                      static_cast<TGalleryState>(S));
      }
    Sheet->MakeOpaque();
    TOwned<TdxSmartImage> Image(TdxCustomSmartImage::CreateFromBitmap<TdxSmartImage>(Sheet.get()));
    Image->SaveToFile(AFileName);
  }

 private:
  Integer Scale(Integer V) const { return MulDiv(V, FNumerator, FDenominator); }

  void Prepare(TcxEditButtonStyle AStyle, TcxEditButtonKind AKind) {
    TcxCustomEditProperties* P = FEdit->GetProperties();
    P->BeginUpdate();
    P->GetButtons()->Clear();
    TcxEditButton* B = P->GetButtons()->Add();
    B->SetKind(AKind);
    if (AKind == bkGlyph) B->SetGlyph(FGlyph.get());
    if (AKind == bkText) B->SetCaption(L"&Go");
    P->EndUpdate();
    TcxCustomEditStyle* St = FEdit->GetEditStyle();
    St->GetLookAndFeel()->SetNativeStyle(FLook.Native);
    St->GetLookAndFeel()->SetKind(lfUltraFlat);
    St->SetButtonStyle(AStyle);
    // The look's own border, which shows hot and focused editors.
    St->SetEditBorderStyle(FLook.Native ? ebsSingle : ebsUltraFlat);
    St->GetFont()->SetHeight(-Scale(11));
  }

  void PaintEditor(TcxCanvas* ACanvas, Integer X, Integer Y, TcxEditButtonStyle AStyle,
                   TcxEditButtonKind AKind, TGalleryState AState) {
    Prepare(AStyle, AKind);
    bool Created = false;
    TOwned<TcxCustomEditViewData> Data(FEdit->GetViewData(Created));
    Data->GetScaleFactor()->Assign(FNumerator, FDenominator, false);
    // States come from the view data alone, not from where the real mouse and
    // focus are.
    Data->SetEdit(nullptr);
    Data->Enabled = AState != gsDisabled;
    Data->Focused = AState == gsFocused;
    TOwned<TcxCustomEditViewInfo> Info(
        static_cast<TcxCustomEditViewInfo*>(FEdit->GetProperties()->GetViewInfoClass()()));
    Info->SetEdit(FEdit);
    const TRect Bounds = cxRect(0, 0, Scale(120), Scale(22));
    const TPoint Away{-1, -1};
    Data->Calculate(ACanvas, Bounds, Away, cxmbNone, TShiftState(), Info.get(), false);
    TPoint P = Away;
    if (!Info->ButtonsInfo.empty() && (AState == gsHot || AState == gsPressed)) {
      const TRect& B = Info->ButtonsInfo[0]->Bounds;
      P = TPoint{(B.left + B.right) / 2, (B.top + B.bottom) / 2};
    }
    if (AState == gsPressed)
      Data->Calculate(ACanvas, Bounds, P, cxmbLeft, TShiftState{ssLeft}, Info.get(), true);
    else
      Data->Calculate(ACanvas, Bounds, P, cxmbNone, TShiftState(), Info.get(), false);
    Info->Left = X;
    Info->Top = Y;
    ACanvas->SaveState();
    Info->PaintEx(ACanvas);
    ACanvas->RestoreState();
  }

  TLook FLook;
  Integer FNumerator, FDenominator;
  TOwned<TCustomForm> FForm;
  TGalleryEdit* FEdit = nullptr;
  TOwned<TdxSmartGlyph> FGlyph;
  TOwned<TFont> FLabel;
};

// Empty when the sheet written to AFileName shows the same pixels as the
// reviewed reference; else why not. A missing reference is never accepted.
std::string CompareWithReference(const String& AFileName, const String& AReference) {
  if (!FileExists(AReference)) return "no reviewed reference (copy the sheet after looking at it)";
  TOwned<TdxSmartImage> Sheet = MakeOwned<TdxSmartImage>();
  TOwned<TdxSmartImage> Reference = MakeOwned<TdxSmartImage>();
  Sheet->LoadFromFile(AFileName);
  Reference->LoadFromFile(AReference);
  if (Sheet->Width() != Reference->Width() || Sheet->Height() != Reference->Height())
    return "the size differs from the reviewed reference";
  TRGBColors A = Sheet->GetBitmapBits(), B = Reference->GetBitmapBits();
  size_t Count = 0;
  for (size_t I = 0; I < A.size() && I < B.size(); ++I)
    Count += A[I].rgbRed != B[I].rgbRed || A[I].rgbGreen != B[I].rgbGreen ||
             A[I].rgbBlue != B[I].rgbBlue;
  return Count == 0 ? std::string() : std::to_string(Count) + " pixels differ from the reference";
}

int Run(const String& AFolder, const String& AReferences) {
  if (!ForceDirectories(AFolder)) {
    std::fprintf(stderr, "cannot make the output folder\n");
    return 1;
  }
  const TLook Looks[] = {{L"Native", true}, {L"UltraFlat", false}};
  const struct {
    const wchar_t* Suffix;
    Integer Numerator, Denominator;
  } Scales[] = {{L"96dpi", 1, 1}, {L"144dpi", 3, 2}};
  int Result = 0;
  for (const TLook& L : Looks)
    for (const auto& S : Scales) {
      String File = String(L.Name) + L"-" + S.Suffix + L".png";
      String Name = AFolder + L"\\" + File;
      TSheet(L, S.Numerator, S.Denominator).Paint(Name);
      std::fprintf(stdout, "%ls\n", Name.c_str());
      // The theme draws the native sheets; Wine's theme is not the
      // platform's, so those are for the eye only.
      if (AReferences.empty() || L.Native) continue;
      std::string Why = CompareWithReference(Name, AReferences + L"\\" + File);
      if (Why.empty()) continue;
      std::fprintf(stderr, "%ls: %s\n", File.c_str(), Why.c_str());
      Result = 1;
    }
  return Result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int Result = 1;
  try {
    EditcoreStartUp();
    Result = Run(argc > 1 ? String(argv[1]) : String(L"gallery\\editcore"),
                 argc > 2 ? String(argv[2]) : String());
    EditcoreShutDown();
  } catch (const Exception& E) {
    std::fprintf(stderr, "gallery: %ls\n", E.Message().c_str());
  }
  CoUninitialize();
  return Result;
}
