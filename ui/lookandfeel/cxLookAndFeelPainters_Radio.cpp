#include <map>

#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "cxLookAndFeels.h"
#include "dxOffice11.h"

using namespace cxPaintersInternal;

namespace {
using TRole = TcxRadioButtonImageList::TRole;
constexpr Integer cxRadioKinds = lfOffice11 + 1;
constexpr Integer cxRadioStates = cxbsDisabled - cxbsNormal + 1;

// The platform's glyph of a radio button (mask or image) over a black cell.
TRGBColors PlatformRadioGlyph(const TSize& ACell, UINT AState) {
  TOwned<TcxBitmap> Cell(TcxBitmap::CreateSize(ACell.cx, ACell.cy, TPixelFormat::pf24bit));
  Cell->cxCanvas()->FillRect(Cell->ClientRect(), clBlack);
  RECT R = Cell->ClientRect();
  DrawFrameControl(Cell->cxCanvas()->Handle(), &R, DFC_BUTTON, AState);
  TRGBColors Pixels;
  GetBitmapBits(Cell.get(), Pixels, true);
  return Pixels;
}

COLORREF PixelAt(const TRGBColors& APixels, const TSize& ASize, Integer X, Integer Y) {
  if (X < 0 || Y < 0 || X >= ASize.cx || Y >= ASize.cy) return CLR_INVALID;
  const RGBQUAD& Q = APixels[static_cast<size_t>(Y) * ASize.cx + X];
  return RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue);
}

// The ellipse of a rectangle, as the glyphs are drawn: a round rectangle
// whose corner ellipse is the rectangle less one pixel each way.
void InternalRoundRect(TCanvas* ACanvas, const TRect& R) {
  ACanvas->RoundRect(R.left, R.top, R.right, R.bottom, cxRectWidth(R) - 1, cxRectHeight(R) - 1);
}

// A white 32-bit surface of the glyph's size with a black ellipse drawn in
// R, filled or not; the pixels it leaves.
TRGBColors EllipsePixels(const TSize& ASize, const TRect& R, bool AFilled) {
  TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(ASize.cx, ASize.cy));
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(B->ClientRect());
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetColor(AFilled ? clBlack : clWhite);
  InternalRoundRect(C, R);
  TRGBColors Pixels;
  GetBitmapBits(B.get(), Pixels, true);
  return Pixels;
}

bool IsBlack(const RGBQUAD& Q) { return Q.rgbRed == 0 && Q.rgbGreen == 0 && Q.rgbBlue == 0; }

std::map<Integer, TcxRadioButtonImageList*>* FCache = nullptr;
}  // namespace

// ---------------------------------------------------------------------------
// The image list
IMPLEMENT_CLASS(TcxRadioButtonImageList)

TcxRadioButtonImageList::TcxRadioButtonImageList(const TdxScaleFactor* AScaleFactor)
    : FScaleFactor(MakeOwned<TdxScaleFactor>()) {
  FScaleFactor->Assign(AScaleFactor);
  FList.reset(Create<TImageList>(nullptr));
  FList->SetColorDepth(cd24Bit);
  FList->SetMasked(true);
  Initialize();
}

TcxRadioButtonImageList::~TcxRadioButtonImageList() {
  FList.reset();
  FButtonMask.reset();
  FScaleFactor.reset();
}

TCustomImageList* TcxRadioButtonImageList::Images() const { return FList.get(); }

Integer TcxRadioButtonImageList::Count() const { return FList->Count(); }

Integer TcxRadioButtonImageList::GetImageListIndexMapIndex(TcxLookAndFeelKind ALookAndFeelKind,
                                                           TcxButtonState AButtonState,
                                                           bool AChecked, bool AFocused,
                                                           bool AIsDesigning) {
  // A default button has no image of its own (its index would fall before
  // the first); it looks normal.
  if (AButtonState == cxbsDefault) AButtonState = cxbsNormal;
  return ((Integer(AFocused) * 2 + Integer(AIsDesigning)) * cxRadioKinds + ALookAndFeelKind) * 8 +
         Integer(AChecked) * 4 + AButtonState - 1;
}

Integer TcxRadioButtonImageList::GetImageIndex(TcxLookAndFeelKind ALookAndFeelKind,
                                               TcxButtonState AButtonState, bool AChecked,
                                               bool AFocused, bool AIsDesigning) const {
  size_t MapIndex = static_cast<size_t>(
      GetImageListIndexMapIndex(ALookAndFeelKind, AButtonState, AChecked, AFocused, AIsDesigning));
  return MapIndex < FRadioButtonImageListIndexes.size() ? FRadioButtonImageListIndexes[MapIndex]
                                                        : -1;
}

void TcxRadioButtonImageList::Draw(TcxCanvas* ACanvas, Integer X, Integer Y, TColor ABrushColor,
                                   TcxLookAndFeelKind ALookAndFeelKind, TcxButtonState AButtonState,
                                   bool AChecked, bool AFocused, bool AIsDesigning) {
  Integer Index = GetImageIndex(ALookAndFeelKind, AButtonState, AChecked, AFocused, AIsDesigning);
  if (Index < 0) return;
  TRect R = cxRect(X, Y, X + FRadioButtonSize.cx, Y + FRadioButtonSize.cy);
  if (ABrushColor == clDefault) {
    cxDrawImage(ACanvas, R, nullptr, FList.get(), Index, ifmNormal, idmNormal, false);
    return;
  }
  TOwned<TcxBitmap> Square(TcxBitmap::CreateSize(FRadioButtonSize.cx, FRadioButtonSize.cy));
  Square->cxCanvas()->FillRect(Square->ClientRect(), ABrushColor);
  FList->Draw(Square->Canvas(), 0, 0, Index, true);
  cxBitBlt(ACanvas->Handle(), Square->cxCanvas()->Handle(), R, TPoint{0, 0}, SRCCOPY);
}

void TcxRadioButtonImageList::Initialize() {
  CalculateRadioButtonSize();
  FList->SetSize(std::max<Integer>(1, FRadioButtonSize.cx),
                 std::max<Integer>(1, FRadioButtonSize.cy));
  PrepareButtonMask();
  PrepareRadioButtonPattern();
  Prepare();
}

void TcxRadioButtonImageList::Reinitialize() {
  FList->Clear();
  FRadioButtonImageListIndexes.clear();
  Initialize();
}

void TcxRadioButtonImageList::Reset() {
  FList->Clear();
  Prepare();
}

void TcxRadioButtonImageList::SetScaleFactor(const TdxScaleFactor* AValue) {
  if (AValue->Numerator() == FScaleFactor->Numerator() &&
      AValue->Denominator() == FScaleFactor->Denominator())
    return;
  FScaleFactor->Assign(AValue);
  Reinitialize();
}

void TcxRadioButtonImageList::CalculateRadioButtonSize() {
  // The cell of the platform's check-box bitmap at the list's DPI.
  TSize Cell{13, 13};
  if (HBITMAP Bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(OBM_CHECKBOXES))) {
    TBitmapHandle Owner(Bitmap);
    BITMAP Data{};
    if (GetObjectW(Bitmap, sizeof(Data), &Data)) Cell = TSize{Data.bmWidth / 4, Data.bmHeight / 3};
  }
  Cell = FScaleFactor->Apply(Cell, dxSystemScaleFactor());

  // The glyph is the black extent of the platform's radio mask in the cell.
  TRGBColors Mask = PlatformRadioGlyph(Cell, DFCS_BUTTONRADIOMASK | DFCS_FLAT);
  FRadioButtonSize = TSize{0, 0};
  FRadioButtonRect = cxRect(-1, -1, -1, -1);
  for (Integer X = 0; X < Cell.cx; ++X)
    for (Integer Y = 0; Y < Cell.cy; ++Y)
      if (PixelAt(Mask, Cell, X, Y) == 0) {
        if (FRadioButtonRect.left < 0) FRadioButtonRect.left = X;
        ++FRadioButtonSize.cx;
        break;
      }
  for (Integer Y = 0; Y < Cell.cy; ++Y)
    for (Integer X = 0; X < Cell.cx; ++X)
      if (PixelAt(Mask, Cell, X, Y) == 0) {
        if (FRadioButtonRect.top < 0) FRadioButtonRect.top = Y;
        ++FRadioButtonSize.cy;
        break;
      }
  FRadioButtonRect.right = FRadioButtonRect.left + FRadioButtonSize.cx;
  FRadioButtonRect.bottom = FRadioButtonRect.top + FRadioButtonSize.cy;

  // The check dot: from the glyph's middle up and down, then left and
  // right, as far as the pixels have the window-text colour. The walks stay
  // inside the cell.
  TRGBColors Checked = PlatformRadioGlyph(Cell, DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED | DFCS_FLAT);
  const COLORREF TextColor = GetSysColor(COLOR_WINDOWTEXT);
  auto Is = [&](Integer X, Integer Y) { return PixelAt(Checked, Cell, X, Y) == TextColor; };
  auto Measure = [&](Integer AColumn, Integer AUpFrom, Integer ARow, Integer ALeftFrom) {
    TRect Dot;
    Integer Y = AUpFrom;
    while (Is(AColumn, Y)) --Y;
    Dot.top = Y + 1;
    for (Y = Dot.top; Is(AColumn, Y);) ++Y;
    Dot.bottom = Y;
    Integer X = ALeftFrom;
    while (Is(X, ARow)) --X;
    Dot.left = X + 1;
    for (X = Dot.left; Is(X, ARow);) ++X;
    Dot.right = X;
    return Dot;
  };
  const Integer W = FRadioButtonSize.cx, H = FRadioButtonSize.cy;
  const Integer CX = FRadioButtonRect.left + W / 2, CY = FRadioButtonRect.top + H / 2;
  FRadioButtonCheckRect = Measure(CX - 1, CY - 2, CY - 1, CX - 2);
  // A platform whose dot is smaller than the walks above assume (Wine's)
  // would leave the checked images without a dot: measure from the middle.
  if (cxRectIsEmpty(FRadioButtonCheckRect)) FRadioButtonCheckRect = Measure(CX, CY, CY, CX);
}

void TcxRadioButtonImageList::PrepareButtonMask() {
  FButtonMask.reset(Create<TBitmap>());
  FButtonMask->SetPixelFormat(TPixelFormat::pf1bit);
  FButtonMask->SetSize(FRadioButtonSize.cx, FRadioButtonSize.cy);
  TCanvas* C = FButtonMask->Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(cxRect(0, 0, FRadioButtonSize.cx, FRadioButtonSize.cy));
  C->Brush()->SetColor(clBlack);
  C->Pen()->SetColor(clBlack);
  InternalRoundRect(C, cxRect(0, 0, FRadioButtonSize.cx, FRadioButtonSize.cy));
}

void TcxRadioButtonImageList::PrepareRadioButtonPattern() {
  FRadioButtonPattern.assign(FRadioButtonSize.cy, std::vector<Integer>(FRadioButtonSize.cx, 0));
  if (FRadioButtonSize.cx <= 0 || FRadioButtonSize.cy <= 0) return;
  PrepareOuterCircle();
  PrepareInnerCircle();
  PrepareCheck();
}

void TcxRadioButtonImageList::PrepareOuterCircle() {
  const Integer W = FRadioButtonSize.cx, H = FRadioButtonSize.cy;
  TRGBColors Ring = EllipsePixels(FRadioButtonSize, cxRect(0, 0, W, H), false);
  for (Integer I = 0; I < H; ++I)
    for (Integer J = 0; J < W; ++J) {
      if (!IsBlack(Ring[static_cast<size_t>(I) * W + J])) continue;
      // The diagonal from the top-right to the bottom-left corner splits
      // the ring into its light and dark halves.
      FRadioButtonPattern[I][J] = (H - 1) * (W - 1 - J) < (W - 1) * I
                                      ? TcxRadioButtonImageList::rOuterRingLowerRight
                                      : TcxRadioButtonImageList::rOuterRingUpperLeft;
    }
  const Integer C = W / 2;
  for (Integer I = 1; I < H - 1; ++I) {
    for (Integer J = C - 1; J >= 0 && FRadioButtonPattern[I][J] == rOutside; --J)
      FRadioButtonPattern[I][J] = rBody;
    for (Integer J = C; J < W && FRadioButtonPattern[I][J] == rOutside; ++J)
      FRadioButtonPattern[I][J] = rBody;
  }
}

void TcxRadioButtonImageList::MarkInnerRing(Integer ARow, Integer ACol) {
  const Integer W = FRadioButtonSize.cx, H = FRadioButtonSize.cy;
  Integer A = (H - 1) * (W - 1 - ACol) - (W - 1) * ARow;
  bool LowerRight = A < 0 || (A == 0 && ACol > W / 2 - 1);
  FRadioButtonPattern[ARow][ACol] = LowerRight ? rInnerRingLowerRight : rInnerRingUpperLeft;
}

void TcxRadioButtonImageList::PrepareInnerCircle() {
  const Integer W = FRadioButtonSize.cx, H = FRadioButtonSize.cy;
  auto IsRing = [this](Integer I, Integer J) {
    Integer R = FRadioButtonPattern[I][J];
    return R == rOuterRingUpperLeft || R == rOuterRingLowerRight;
  };
  // From the middle towards the ring, marking the last cell before it (every
  // cell of the outermost rows and columns). AStep moves along a row or a
  // column.
  auto Walk = [&](Integer I, Integer J, Integer DI, Integer DJ, bool AMarkAll) {
    Integer LastI = -1, LastJ = -1;
    while (I >= 0 && I < H && J >= 0 && J < W && !IsRing(I, J)) {
      if (AMarkAll) MarkInnerRing(I, J);
      LastI = I;
      LastJ = J;
      I += DI;
      J += DJ;
    }
    if (LastI >= 0) MarkInnerRing(LastI, LastJ);
  };
  for (Integer I = 1; I < H - 1; ++I) {
    bool Edge = I == 1 || I == H - 2;
    Walk(I, W / 2, 0, -1, Edge);
    Walk(I, W / 2, 0, 1, Edge);
  }
  for (Integer J = 1; J < W - 1; ++J) {
    bool Edge = J == 1 || J == W - 2;
    Walk(H / 2, J, -1, 0, Edge);
    Walk(H / 2, J, 1, 0, Edge);
  }
}

void TcxRadioButtonImageList::PrepareCheck() {
  const Integer W = FRadioButtonSize.cx, H = FRadioButtonSize.cy;
  if (cxRectIsEmpty(FRadioButtonCheckRect)) return;
  TRect Dot = cxRectOffset(FRadioButtonCheckRect, -FRadioButtonRect.left, -FRadioButtonRect.top);
  TRGBColors Pixels = EllipsePixels(FRadioButtonSize, Dot, true);
  for (Integer I = 0; I < H; ++I)
    for (Integer J = 0; J < W; ++J)
      if (IsBlack(Pixels[static_cast<size_t>(I) * W + J])) FRadioButtonPattern[I][J] = rCheck;
}

std::vector<TColor> TcxRadioButtonImageList::ColorMap(TcxLookAndFeelKind AKind,
                                                      TcxButtonState AState, bool AChecked,
                                                      bool AFocused, bool AIsDesigning) const {
  bool Highlighted = AFocused || AState == cxbsHot || AState == cxbsPressed ||
                     (AIsDesigning && AState != cxbsDisabled);
  TcxCustomLookAndFeelPainter* Painter = RegisteredPainter(cxLookAndFeelStyleMap(AKind));
  TColor Body = Painter ? Painter->RadioButtonBodyColor(AState) : clWindow;
  std::vector<TColor> C(7, clBlack);
  switch (AKind) {
    case lfFlat:
    case lfStandard:
      C[rOuterRingUpperLeft] = clBtnShadow;
      C[rOuterRingLowerRight] = clBtnHighlight;
      C[rInnerRingUpperLeft] = AKind == lfFlat ? cl3DLight : cl3DDkShadow;
      C[rInnerRingLowerRight] = cl3DLight;
      break;
    case lfUltraFlat:
      C[rOuterRingUpperLeft] = C[rOuterRingLowerRight] = Highlighted ? clHighlight : clBtnShadow;
      C[rInnerRingUpperLeft] = C[rInnerRingLowerRight] = Body;
      break;
    case lfOffice11:
      C[rOuterRingUpperLeft] = C[rOuterRingLowerRight] =
          AState == cxbsDisabled ? dxOffice11TextDisabledColor
          : Highlighted          ? dxOffice11SelectedBorderColor
                                 : clBtnText;
      C[rInnerRingUpperLeft] = C[rInnerRingLowerRight] = Body;
      break;
  }
  C[rBody] = Body;
  if (!AChecked)
    C[rCheck] = Body;
  else if (AState == cxbsDisabled)
    C[rCheck] = AKind == lfOffice11 ? dxOffice11TextDisabledColor : clBtnShadow;
  else
    C[rCheck] = clWindowText;
  return C;
}

void TcxRadioButtonImageList::Prepare() {
  if (FList->Count() > 0) return;
  const Integer W = FRadioButtonSize.cx, H = FRadioButtonSize.cy;
  if (W <= 0 || H <= 0) return;
  TOwned<TcxBitmap32> Image(TcxBitmap32::CreateSize(W, H));
  TRGBColors Pixels(static_cast<size_t>(W) * H);
  for (bool Focused : {false, true})
    for (bool Designing : {false, true})
      for (Integer K = 0; K < cxRadioKinds; ++K)
        for (bool Checked : {false, true})
          for (Integer S = cxbsNormal; S <= cxbsDisabled; ++S) {
            auto Kind = static_cast<TcxLookAndFeelKind>(K);
            auto State = static_cast<TcxButtonState>(S);
            std::vector<TColor> Colors = ColorMap(Kind, State, Checked, Focused, Designing);
            RGBQUAD Quads[7];
            for (Integer R = 0; R < 7; ++R) Quads[R] = dxColorToRGBQuad(Colors[R], 0);
            for (Integer I = 0; I < H; ++I)
              for (Integer J = 0; J < W; ++J)
                Pixels[static_cast<size_t>(I) * W + J] = Quads[FRadioButtonPattern[I][J]];
            SetBitmapBits(Image.get(), Pixels, true);
            Integer Index = FList->Add(Image.get(), FButtonMask.get());
            size_t MapIndex = static_cast<size_t>(
                GetImageListIndexMapIndex(Kind, State, Checked, Focused, Designing));
            if (FRadioButtonImageListIndexes.size() <= MapIndex)
              FRadioButtonImageListIndexes.resize(MapIndex + 1, -1);
            FRadioButtonImageListIndexes[MapIndex] = Index;
          }
}

// ---------------------------------------------------------------------------
// The lists by DPI
TcxRadioButtonImageList* TcxRadioButtonImageListManager::Get(const TdxScaleFactor* AScaleFactor) {
  if (!FCache) FCache = new std::map<Integer, TcxRadioButtonImageList*>;
  Integer DPI = AScaleFactor->TargetDPI();
  auto It = FCache->find(DPI);
  if (It != FCache->end()) return It->second;
  TOwned<TcxRadioButtonImageList> List(Create<TcxRadioButtonImageList>(AScaleFactor));
  return (*FCache)[DPI] = List.release();
}

void TcxRadioButtonImageListManager::Reset() {
  if (!FCache) return;
  for (auto& [DPI, List] : *FCache) List->Reset();
}

void TcxRadioButtonImageListManager::Finalize() {
  std::map<Integer, TcxRadioButtonImageList*>* Cache = FCache;
  FCache = nullptr;
  if (!Cache) return;
  for (auto& [DPI, List] : *Cache) FreeAndNil(List);
  delete Cache;
}

Integer TcxRadioButtonImageListManager::Count() {
  return FCache ? static_cast<Integer>(FCache->size()) : 0;
}

// ---------------------------------------------------------------------------
// The painters' radio buttons
void TcxCustomLookAndFeelPainter::DrawRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y,
                                                  TcxButtonState AButtonState, bool AChecked,
                                                  bool AFocused, TColor ABrushColor,
                                                  bool AIsDesigning) {
  DrawScaledRadioButton(ACanvas, X, Y, AButtonState, AChecked, AFocused, ABrushColor,
                        dxSystemScaleFactor(), AIsDesigning);
}

void TcxCustomLookAndFeelPainter::DrawScaledRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y,
                                                        TcxButtonState AButtonState, bool AChecked,
                                                        bool AFocused, TColor ABrushColor,
                                                        const TdxScaleFactor* AScaleFactor,
                                                        bool AIsDesigning) {
  TcxRadioButtonImageListManager::Get(AScaleFactor)
      ->Draw(ACanvas, X, Y, ABrushColor, cxLookAndFeelKindMap(LookAndFeelStyle()), AButtonState,
             AChecked, AFocused, AIsDesigning);
}

TColor TcxCustomLookAndFeelPainter::RadioButtonBodyColor(TcxButtonState AState) {
  return (AState == cxbsPressed || AState == cxbsDisabled) ? clBtnFace : clWindow;
}

TSize TcxCustomLookAndFeelPainter::RadioButtonSize() {
  return ScaledRadioButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledRadioButtonSize(const TdxScaleFactor* AScaleFactor) {
  return TcxRadioButtonImageListManager::Get(AScaleFactor)->GetSize();
}
