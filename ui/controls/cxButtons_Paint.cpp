// The button's view info, its layout calculators and its painter: where the
// glyph and the texts go in one paint, and which look-and-feel painter calls
// draw them.
#include <vssym32.h>

#include "cxButtons.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

namespace {

bool IsHorizontalLayout(TButtonLayout ALayout) {
  return ALayout == blGlyphLeft || ALayout == blGlyphRight;
}

TRect MirrorRect(const TRect& R, const TRect& ABounds) {
  return TRect{ABounds.left + ABounds.right - R.right, R.top, ABounds.left + ABounds.right - R.left,
               R.bottom};
}

}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxButtonPainter)

UINT TcxButtonPainter::GetBiDiFlags() const {
  return static_cast<UINT>(FButton->DrawTextBiDiModeFlags(0));
}

TcxCustomLookAndFeelPainter* TcxButtonPainter::GetLookAndFeelPainter() const {
  return FButton->GetPainter();
}

TcxLookAndFeelStyle TcxButtonPainter::GetLookAndFeelStyle() const {
  TcxLookAndFeel* LF = FButton->LookAndFeel();
  if (LF->SkinPainter()) return lfsSkin;
  if (LF->GetNativeStyle()) return lfsNative;
  return cxLookAndFeelStyleMap(LF->GetKind());
}

TdxScaleFactor* TcxButtonPainter::GetScaleFactor() const { return FButton->GetScaleFactor(); }

TcxButtonViewInfo* TcxButtonPainter::GetViewInfo() const { return FButton->ViewInfo(); }

void TcxButtonPainter::DrawButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                  TColor AColor, TcxButtonPart APart) {
  if (FButton->Kind() == cxbkCommandLink)
    DrawCommandLinkButton(ACanvas, R, AState, AColor);
  else if (FButton->SpeedButtonOptions()->NeedDrawParts())
    DrawSpeedButton(ACanvas, R, AState, AColor, APart);
  else
    GetLookAndFeelPainter()->DrawScaledButton(ACanvas, R, String(), AState, GetScaleFactor(), true,
                                              AColor, ACanvas->Font()->Color(), FButton->WordWrap(),
                                              false, APart);
}

void TcxButtonPainter::DrawDropDownArrow(TcxCanvas* ACanvas, const TRect& R,
                                         TcxButtonState AState) {
  GetLookAndFeelPainter()->DrawScaledScrollBarArrow(ACanvas, R, AState, adDown, GetScaleFactor());
}

void TcxButtonPainter::DrawFocusRect(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->DrawFocusRect(
      GetLookAndFeelPainter()->ScaledButtonFocusRect(ACanvas, R, GetScaleFactor()));
}

void TcxButtonPainter::DrawParentBackground(TcxCanvas* ACanvas, const TRect& R) {
  const TcxLookAndFeelStyle Style = GetLookAndFeelPainter()->LookAndFeelStyle();
  if (Style == lfsNative) {
    HTHEME Theme = OpenTheme(totButton);
    if (Theme && dxUxTheme::IsThemeBackgroundPartiallyTransparent(Theme, BP_PUSHBUTTON, PBS_NORMAL))
      cxDrawThemeParentBackground(FButton, ACanvas, R);
  } else if (Style == lfsSkin) {
    cxDrawTransparentControlBackground(FButton, ACanvas, R, true);
  }
}

Integer TcxButtonPainter::GetDropDownArrowSize() {
  return GetLookAndFeelPainter()->GetScaledDropDownButtonRightPartSize(GetScaleFactor());
}

Integer TcxButtonPainter::GetDropDownButtonSize() { return GetDropDownArrowSize(); }

void TcxButtonPainter::DrawText(TcxCanvas* ACanvas, const String& AText, const TRect& R,
                                UINT AFlags) {
  // Text on glass needs the composited road, which this control does not
  // take yet: it always paints into an opaque bitmap.
  TRect Bounds = R;
  cxDrawText(ACanvas->Canvas(), AText, Bounds, AFlags, clDefault);
}

void TcxButtonPainter::DrawText(TcxCanvas* ACanvas, const String& AText, const TRect& R,
                                TcxButtonState AState, UINT AFlags) {
  if (AText.empty() || cxRectIsEmpty(R)) return;
  AFlags |= GetBiDiFlags();
  TBrushStyle SavedStyle = ACanvas->Brush()->Style();
  ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  auto Restore = Finally([&] { ACanvas->Brush()->SetStyle(SavedStyle); });
  const TcxLookAndFeelStyle Style = GetLookAndFeelStyle();
  if (AState == cxbsDisabled && Style != lfsNative && Style != lfsSkin) {
    // The embossed look of a disabled caption: a light copy one pixel down
    // and right under the text.
    TColor Saved = ACanvas->Font()->Color();
    ACanvas->Font()->SetColor(clBtnHighlight);
    DrawText(ACanvas, AText, cxRectOffset(R, 1, 1), AFlags);
    ACanvas->Font()->SetColor(Saved);
  }
  DrawText(ACanvas, AText, R, AFlags);
}

TColor TcxButtonPainter::GetDescriptionTextColor(TcxButtonState AState, TColor ADefault) {
  return GetLookAndFeelPainter()->ButtonDescriptionTextColor(AState, ADefault);
}

TPoint TcxButtonPainter::GetPressedTextShift() {
  const Integer Shift = GetLookAndFeelPainter()->ScaledButtonTextShift(GetScaleFactor());
  return TPoint{Shift, Shift};
}

TColor TcxButtonPainter::GetTextColor(TcxButtonState AState, TColor ADefault) {
  TColor Result = FButton->Colors()->GetTextColorByState(AState);
  if (Result != clDefault) return Result;
  if (FButton->Kind() == cxbkCommandLink)
    return GetLookAndFeelPainter()->DefaultCommandLinkTextColor(AState, ADefault);
  return GetLookAndFeelPainter()->ButtonSymbolColor(AState, ADefault);
}

void TcxButtonPainter::DrawCommandLinkButton(TcxCanvas* ACanvas, const TRect& R,
                                             TcxButtonState AState, TColor AColor) {
  TcxCustomLookAndFeelPainter* P = GetLookAndFeelPainter();
  P->DrawScaledCommandLinkBackground(ACanvas, R, AState, GetScaleFactor(), AColor);
  if (!FButton->GlyphHolder()->IsImageAssigned())
    P->DrawScaledCommandLinkGlyph(ACanvas, GetViewInfo()->GlyphPos(), AState, GetScaleFactor());
}

TSize TcxButtonPainter::GetCommandLinkGlyphSize() {
  return GetLookAndFeelPainter()->GetScaledCommandLinkGlyphSize(GetScaleFactor());
}

TRect TcxButtonPainter::GetCommandLinkMargins() {
  return GetLookAndFeelPainter()->GetScaledCommandLinkMargins(GetScaleFactor());
}

void TcxButtonPainter::DrawSpeedButton(TcxCanvas* ACanvas, TRect R, TcxButtonState AState,
                                       TColor AColor, TcxButtonPart APart) {
  TcxCustomLookAndFeelPainter* P = GetLookAndFeelPainter();
  TcxSpeedButtonOptions* Options = FButton->SpeedButtonOptions();
  const bool Hot = FButton->InternalStates().Contains(bisHot);
  const TcxLookAndFeelStyle Style = GetLookAndFeelStyle();
  if (Style != lfsSkin && Style != lfsNative && Style != lfsOffice11 &&
      (!Options->Flat() || FButton->IsDesigning() ||
       (AState != cxbsDisabled && (Hot || AState != cxbsNormal)))) {
    P->DrawButtonBorder(ACanvas, R, AState);
    const Integer B = P->ButtonBorderSize(AState);
    R = cxRectInflate(R, -B, -B);
  }
  ACanvas->SaveClipRegion();
  auto Restore = Finally([&] { ACanvas->RestoreClipRegion(); });
  ACanvas->IntersectClipRect(R);
  const bool Opaque = !Options->Transparent() ||
                      (!Hot && AState != cxbsDisabled && AState != cxbsNormal) ||
                      (Hot && P->IsButtonHotTrack());
  if (Opaque)
    P->DrawScaledButton(ACanvas, R, String(), AState, GetScaleFactor(), false, AColor,
                        ACanvas->Font()->Color(), FButton->WordWrap(), true, APart);
  else
    cxDrawTransparentControlBackground(FButton, ACanvas, GetViewInfo()->Bounds(), true);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxButtonViewInfo)

TcxButtonViewInfo::TcxButtonViewInfo(TcxCustomButton* AOwner) : TcxButtonCustomPersistent(AOwner) {}

void TcxButtonViewInfo::AfterConstruction() {
  inherited::AfterConstruction();
  FFont = Create<TFont>();
  FDescriptionFont = Create<TFont>();
  FPainter = CreatePainter();
}

TcxButtonViewInfo::~TcxButtonViewInfo() {
  if (FPainter) FreeAndNil(FPainter);
  if (FDescriptionFont) FreeAndNil(FDescriptionFont);
  if (FFont) FreeAndNil(FFont);
}

TcxButtonPainter* TcxButtonViewInfo::CreatePainter() { return Create<TcxButtonPainter>(FButton); }

TClass TcxButtonViewInfo::CreateLayoutCalculator(TcxButtonKind AKind) {
  switch (AKind) {
    case cxbkCommandLink:
      return TcxButtonCommandLinkLayoutCalculator::StaticClass();
    case cxbkOfficeDropDown:
      return TcxButtonOfficeDropDownLayoutCalculator::StaticClass();
    default:
      return TcxButtonStandardLayoutCalculator::StaticClass();
  }
}

void TcxButtonViewInfo::Calculate(const TRect& ABounds) {
  FBounds = ABounds;
  FState = FButton->GetButtonState();
  FLayout = FButton->OptionsImage()->Layout();
  CheckLayout(FLayout);
  InitializeFont();
  CalculateButtonParts();
  CalculateContentLayout();
}

void TcxButtonViewInfo::CheckLayout(TButtonLayout& ALayout) {
  if ((FPainter->GetBiDiFlags() & DT_RIGHT) == 0) return;
  if (ALayout == blGlyphLeft)
    ALayout = blGlyphRight;
  else if (ALayout == blGlyphRight)
    ALayout = blGlyphLeft;
}

void TcxButtonViewInfo::InitializeFont() {
  FFont->Assign(FButton->Font());
  FFont->SetColor(FPainter->GetTextColor(FState, FFont->Color()));
  FDescriptionFont->Assign(FFont);
  FDescriptionFont->SetColor(FPainter->GetDescriptionTextColor(FState, FDescriptionFont->Color()));
  if (FButton->Kind() == cxbkCommandLink) {
    FDescriptionFont->SetHeight(MulDiv(FFont->Height(), 3, 4));
    if (FDescriptionFont->Size() < 1) FDescriptionFont->SetSize(1);
  }
  FColor = FButton->Colors()->GetColorByState(FState);
  FButton->DoGetDrawParams(FState, FColor, FFont);
}

bool TcxButtonViewInfo::HasDropDownButton() const { return FButton->Kind() == cxbkDropDownButton; }

void TcxButtonViewInfo::CalculateButtonParts() {
  FButtonRect = FBounds;
  FDropDownButtonRect = cxNullRect;
  if (!HasDropDownButton()) return;
  const Integer Size = FPainter->GetDropDownButtonSize();
  // The two parts overlap, so that the main part's border runs under the
  // strip's, unless each part is drawn on its own.
  const Integer Overlap =
      (FPainter->GetLookAndFeelStyle() == lfsSkin || FButton->SpeedButtonOptions()->NeedDrawParts())
          ? 0
          : 2;
  if (FButton->UseRightToLeftAlignment()) {
    FDropDownButtonRect = TRect{FBounds.left, FBounds.top, FBounds.left + Size, FBounds.bottom};
    FButtonRect.left = FDropDownButtonRect.right - Overlap;
  } else {
    FDropDownButtonRect = TRect{FBounds.right - Size, FBounds.top, FBounds.right, FBounds.bottom};
    FButtonRect.right = FDropDownButtonRect.left + Overlap;
  }
}

void TcxButtonViewInfo::CalculateContentLayout() {
  FCaptionRect = FDescriptionRect = FDropDownArrowRect = cxNullRect;
  FGlyphPos = TPoint{0, 0};
  TOwned<TcxButtonCustomLayoutCalculator> Calculator(As<TcxButtonCustomLayoutCalculator>(
      CreateLayoutCalculator(FButton->Kind())->Create(FButton)));
  Calculator->Calculate();
}

TRect TcxButtonViewInfo::GetContentRect(TcxButtonState AState) {
  if (FButton->Kind() == cxbkCommandLink) return FButtonRect;
  const Integer B = FButton->GetPainter()->ButtonBorderSize(AState);
  return cxRectInflate(FButtonRect, -B, -B);
}

TSize TcxButtonViewInfo::GetImageSize() const { return FButton->GlyphHolder()->GetImageSize(); }

bool TcxButtonViewInfo::CanDrawGlyph() const {
  const TcxButtonPaintStyle Style = FButton->PaintStyle();
  return (Style == bpsDefault || Style == bpsGlyph) && FButton->GlyphHolder()->IsImageAssigned();
}

bool TcxButtonViewInfo::CanDrawCaption() const {
  if (FButton->PaintStyle() == bpsGlyph && FButton->Kind() != cxbkCommandLink) return false;
  return !FButton->Caption().empty();
}

TcxButtonState TcxButtonViewInfo::GetDropDownButtonState() const {
  if (FButton->InternalStates().Contains(bisMenuVisible)) return cxbsPressed;
  if (FState != cxbsPressed) return FState;
  return FButton->IsFocusedLook() ? cxbsHot : cxbsNormal;
}

bool TcxButtonViewInfo::NeedDrawDropDownArrow() const {
  return !cxRectIsEmpty(FDropDownArrowRect) &&
         !(HasDropDownButton() && FPainter->GetLookAndFeelStyle() == lfsSkin);
}

bool TcxButtonViewInfo::NeedDrawFocusRect() const {
  return FButton->CanFocus() && FButton->ShowFocusRect() && FButton->Focused() &&
         !FButton->InternalStates().Contains(bisMenuVisible);
}

void TcxButtonViewInfo::Draw(TcxCanvas* ACanvas) {
  if (FButton->StandardButton()) return;
  FPainter->DrawParentBackground(ACanvas, FBounds);
  if (!dxFader() || !dxFader()->DrawFadeImage(FButton, ACanvas->Handle(), FBounds))
    DrawBackground(ACanvas);
  DrawContent(ACanvas);
  if (NeedDrawFocusRect()) FPainter->DrawFocusRect(ACanvas, FButtonRect);
}

void TcxButtonViewInfo::DrawBackground(TcxCanvas* ACanvas) {
  if (HasDropDownButton()) {
    FPainter->DrawButton(ACanvas, FButtonRect, FState, FColor, cxbpDropDownLeftPart);
    FPainter->DrawButton(ACanvas, FDropDownButtonRect, GetDropDownButtonState(), FColor,
                         cxbpDropDownRightPart);
  } else {
    FPainter->DrawButton(ACanvas, FButtonRect, FState, FColor, cxbpButton);
  }
}

void TcxButtonViewInfo::DrawContent(TcxCanvas* ACanvas) {
  if (NeedDrawDropDownArrow())
    FPainter->DrawDropDownArrow(ACanvas, FDropDownArrowRect, GetDropDownButtonState());
  ACanvas->SaveClipRegion();
  auto Restore = Finally([&] { ACanvas->RestoreClipRegion(); });
  ACanvas->IntersectClipRect(GetContentRect(FState));
  if (CanDrawGlyph()) DrawGlyph(ACanvas);
  if (CanDrawCaption() && !cxRectIsEmpty(FCaptionRect)) {
    ACanvas->Font()->Assign(FFont);
    FPainter->DrawText(ACanvas, FButton->Caption(), FCaptionRect, FState,
                       GetCaptionDrawTextFlags());
  }
  if (!cxRectIsEmpty(FDescriptionRect)) {
    ACanvas->Font()->Assign(FDescriptionFont);
    FPainter->DrawText(ACanvas, FButton->Description(), FDescriptionRect, FState,
                       GetDescriptionDrawTextFlags());
  }
}

UINT TcxButtonViewInfo::GetCaptionDrawTextFlags() {
  switch (FButton->Kind()) {
    case cxbkCommandLink:
      return DT_WORDBREAK | DT_END_ELLIPSIS;
    case cxbkOfficeDropDown: {
      UINT Flags = DT_VCENTER;
      if (!IsHorizontalLayout(FLayout)) Flags |= DT_CENTER;
      if (FButton->WordWrap()) Flags |= DT_WORDBREAK;
      return Flags;
    }
    default:
      return DT_CENTER | DT_VCENTER | DT_NOCLIP | (FButton->WordWrap() ? DT_WORDBREAK : 0);
  }
}

UINT TcxButtonViewInfo::GetDescriptionDrawTextFlags() {
  if (FButton->Kind() != cxbkOfficeDropDown) return DT_WORDBREAK;
  constexpr UINT Align[] = {DT_LEFT, DT_RIGHT, DT_CENTER, DT_CENTER};
  return DT_WORDBREAK | Align[FLayout];
}

void TcxButtonViewInfo::DrawGlyph(TcxCanvas* ACanvas) {
  const TSize Size = GetImageSize();
  const TRect R{FGlyphPos.x, FGlyphPos.y, FGlyphPos.x + Size.cx, FGlyphPos.y + Size.cy};
  TcxButtonGlyph* Holder = FButton->GlyphHolder();
  const Integer NumGlyphs = Holder->NumGlyphs();
  Integer Index = 0;
  if (FState == cxbsDisabled)
    Index = 1;
  else if (FState == cxbsPressed)
    Index = NumGlyphs < 3 ? 0 : 2;
  IdxColorPalette* Palette = FButton->GetPainter()->ButtonColorPalette(FState);
  TdxSmartGlyph* Glyph = Holder->Glyph();
  if (!Glyph->Empty() && NumGlyphs > 1) {
    if (Index >= NumGlyphs) Index = 0;
    const Integer FrameWidth = Glyph->Width() / NumGlyphs;
    const TRect Source{Index * FrameWidth, 0, (Index + 1) * FrameWidth, Glyph->Height()};
    if (cxRectWidth(R) == FrameWidth && cxRectHeight(R) == Glyph->Height()) {
      Glyph->StretchDraw(ACanvas->Handle(), R, Source, 255, Palette);
    } else {
      // The frame is scaled over what the canvas shows, so that its
      // transparent pixels keep the button face.
      TOwned<TcxBitmap32> Bitmap(TcxBitmap32::CreateSize(R));
      BitBlt(Bitmap->Canvas()->Handle(), 0, 0, cxRectWidth(R), cxRectHeight(R), ACanvas->Handle(),
             R.left, R.top, SRCCOPY);
      Glyph->StretchDraw(Bitmap->Canvas()->Handle(), TRect{0, 0, cxRectWidth(R), cxRectHeight(R)},
                         Source, 255, Palette);
      BitBlt(ACanvas->Handle(), R.left, R.top, cxRectWidth(R), cxRectHeight(R),
             Bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    return;
  }
  cxDrawImage(ACanvas, R, Glyph->Empty() ? nullptr : Glyph, Holder->Images(), Holder->ImageIndex(),
              ifmStretch, Index == 1 ? idmDisabled : idmNormal, true, Palette,
              FButton->GetScaleFactor(), true);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxButtonCustomLayoutCalculator)

TcxButtonImageOptions* TcxButtonCustomLayoutCalculator::GetOptionsImage() const {
  return FButton->OptionsImage();
}
TcxButtonPainter* TcxButtonCustomLayoutCalculator::GetPainter() const {
  return FButton->ViewInfo()->Painter();
}
bool TcxButtonCustomLayoutCalculator::GetUseRightToLeftAlignment() const {
  return FButton->UseRightToLeftAlignment();
}
TcxButtonViewInfo* TcxButtonCustomLayoutCalculator::GetViewInfo() const {
  return FButton->ViewInfo();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TcxButtonStandardLayoutCalculator)

namespace {
TSize DrawnGlyphSize(const TcxButtonViewInfo* AViewInfo) {
  return AViewInfo->CanDrawGlyph() ? AViewInfo->GetImageSize() : TSize{0, 0};
}
}  // namespace

void TcxButtonStandardLayoutCalculator::Calculate() {
  FSpacing = GetOptionsImage()->Spacing();
  FMargin = GetOptionsImage()->Margin();
  CalculateLayout(GetViewInfo()->GetContentRect(cxbsDefault));
}

void TcxButtonStandardLayoutCalculator::CalculateLayout(TRect R) {
  TcxButtonViewInfo* VI = GetViewInfo();
  if (VI->State() == cxbsPressed) R = cxRectOffset(R, GetPainter()->GetPressedTextShift());
  CalculateTextAreaSize(R);
  CalculateMargins(R, FMargin, FSpacing);
  CalculateGlyphPosition(R);
  CalculateTextAreaLayout(CalculateTextAreaBounds(R));
  CalculateDropDownArrowRect();
}

TRect TcxButtonStandardLayoutCalculator::GetTextOffsets() {
  if (GetViewInfo()->CanDrawGlyph()) return cxNullRect;
  return TRect{1, 0, 2, 0};
}

TRect TcxButtonStandardLayoutCalculator::TextMeasureRect(const TRect& R, const TRect& AOffsets) {
  TRect T = cxRectContent(TRect{0, 0, cxRectWidth(R), 0}, AOffsets);
  if (IsHorizontalLayout(GetViewInfo()->Layout()))
    T.right -= DrawnGlyphSize(GetViewInfo()).cx + FSpacing + std::max(FMargin, 0);
  return T;
}

void TcxButtonStandardLayoutCalculator::CalculateTextAreaSize(const TRect& R) {
  FTextAreaSize = TSize{0, 0};
  TcxButtonViewInfo* VI = GetViewInfo();
  if (!VI->CanDrawCaption()) return;
  const TRect O = GetTextOffsets();
  TRect T = TextMeasureRect(R, O);
  cxGetTextRect(T, FButton->Caption(), VI->Font(),
                GetPainter()->GetBiDiFlags() | (FButton->WordWrap() ? DT_WORDBREAK : 0));
  FTextAreaSize = TSize{cxRectWidth(T) + O.left + O.right, cxRectHeight(T) + O.top + O.bottom};
}

void TcxButtonStandardLayoutCalculator::CalculateMargins(const TRect& R, Integer& AMargin,
                                                         Integer& ASpacing) {
  const TSize G = DrawnGlyphSize(GetViewInfo());
  const TSize& A = FTextAreaSize;
  const bool Vertical = !IsHorizontalLayout(GetViewInfo()->Layout());
  const Integer RAxis = Vertical ? cxRectHeight(R) : cxRectWidth(R);
  const Integer GAxis = Vertical ? G.cy : G.cx, AAxis = Vertical ? A.cy : A.cx;
  if (A.cx == 0 || G.cx == 0) ASpacing = 0;
  if (AMargin == -1) {
    if (ASpacing == -1) {
      AMargin = (RAxis - (GAxis + AAxis)) / 3;
      ASpacing = AMargin;
    } else {
      AMargin = (RAxis - (GAxis + AAxis + ASpacing)) / 2;
    }
  } else if (ASpacing == -1) {
    ASpacing = ((RAxis - GAxis - AMargin) - AAxis) / 2;
  }
}

void TcxButtonStandardLayoutCalculator::CalculateGlyphPosition(const TRect& R) {
  const TSize G = DrawnGlyphSize(GetViewInfo());
  TPoint& P = GetViewInfo()->FGlyphPos;
  switch (GetViewInfo()->Layout()) {
    case blGlyphLeft:
      P.x = R.left + FMargin;
      break;
    case blGlyphRight:
      P.x = R.right - FMargin - G.cx;
      break;
    case blGlyphTop:
      P.y = R.top + FMargin;
      break;
    case blGlyphBottom:
      P.y = R.bottom - FMargin - G.cy;
      break;
  }
  if (IsHorizontalLayout(GetViewInfo()->Layout()))
    P.y = R.top + (cxRectHeight(R) - G.cy) / 2;
  else
    P.x = R.left + (cxRectWidth(R) - G.cx) / 2;
}

TRect TcxButtonStandardLayoutCalculator::CalculateTextAreaBounds(const TRect& R) {
  const TRect O = GetTextOffsets();
  const TSize G = DrawnGlyphSize(GetViewInfo());
  const TSize& A = FTextAreaSize;
  const TPoint& P = GetViewInfo()->GlyphPos();
  TRect T{O.left, O.top, A.cx - O.right, A.cy - O.bottom};
  switch (GetViewInfo()->Layout()) {
    case blGlyphLeft:
      T = cxRectOffset(T, P.x + G.cx + FSpacing, 0);
      break;
    case blGlyphRight:
      T = cxRectOffset(T, P.x - FSpacing - A.cx, 0);
      break;
    case blGlyphTop:
      T = cxRectOffset(T, 0, P.y + G.cy + FSpacing);
      break;
    case blGlyphBottom:
      T = cxRectOffset(T, 0, P.y - FSpacing - A.cy);
      break;
  }
  if (IsHorizontalLayout(GetViewInfo()->Layout()))
    return cxRectOffset(T, 0, R.top + (cxRectHeight(R) - A.cy - 1) / 2);
  return cxRectOffset(T, R.left + (cxRectWidth(R) - A.cx) / 2, 0);
}

void TcxButtonStandardLayoutCalculator::CalculateTextAreaLayout(const TRect& ATextAreaBounds) {
  GetViewInfo()->FCaptionRect = ATextAreaBounds;
}

void TcxButtonStandardLayoutCalculator::CalculateDropDownArrowRect() {
  TcxButtonViewInfo* VI = GetViewInfo();
  if (FButton->Kind() == cxbkDropDownButton) VI->FDropDownArrowRect = VI->DropDownButtonRect();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TcxButtonOfficeDropDownLayoutCalculator)

void TcxButtonOfficeDropDownLayoutCalculator::CalculateLayout(TRect R) {
  const TButtonLayout Layout = GetViewInfo()->Layout();
  if (IsHorizontalLayout(Layout)) {
    const Integer Arrow = GetPainter()->GetDropDownArrowSize() + 2;
    const bool RightToLeft = GetUseRightToLeftAlignment();
    if (RightToLeft)
      R.left += Arrow;
    else
      R.right -= Arrow;
    if (FMargin < 0) {
      const bool GlyphOnArrowSide = Layout == (RightToLeft ? blGlyphLeft : blGlyphRight);
      FMargin = GlyphOnArrowSide ? 0 : FButton->GetScaleFactor()->Apply(7);
    }
  }
  inherited::CalculateLayout(R);
}

TRect TcxButtonOfficeDropDownLayoutCalculator::GetTextOffsets() {
  TRect O = inherited::GetTextOffsets();
  if (!IsHorizontalLayout(GetViewInfo()->Layout())) {
    const Integer Arrow = GetPainter()->GetDropDownArrowSize() + 2;
    O.left += Arrow;
    O.right += Arrow;
  }
  return O;
}

void TcxButtonOfficeDropDownLayoutCalculator::CalculateTextAreaSize(const TRect& R) {
  FCaptionSize = FDescriptionSize = FTextAreaSize = TSize{0, 0};
  TcxButtonViewInfo* VI = GetViewInfo();
  if (!VI->CanDrawCaption()) return;
  const TRect O = GetTextOffsets();
  const TRect T = TextMeasureRect(R, O);
  const UINT BiDi = GetPainter()->GetBiDiFlags();
  TRect C = T;
  cxGetTextRect(C, FButton->Caption(), VI->Font(), BiDi | (FButton->WordWrap() ? DT_WORDBREAK : 0));
  FCaptionSize = cxRectSize(C);
  if (IsHorizontalLayout(VI->Layout()))
    FCaptionSize.cx = std::min<Integer>(FCaptionSize.cx, cxRectWidth(T));
  TRect D = T;
  cxGetTextRect(D, FButton->Description(), VI->DescriptionFont(), BiDi | DT_WORDBREAK);
  if (!FButton->Description().empty()) FDescriptionSize = cxRectSize(D);
  TSize Area = FCaptionSize;
  if (FDescriptionSize.cx > 0 && FDescriptionSize.cy > 0) {
    Area.cx = std::max(Area.cx, FDescriptionSize.cx);
    Area.cy += FDescriptionSize.cy + 2;
  }
  FTextAreaSize = TSize{Area.cx + O.left + O.right, Area.cy + O.top + O.bottom};
}

void TcxButtonOfficeDropDownLayoutCalculator::CalculateTextAreaLayout(
    const TRect& ATextAreaBounds) {
  const TRect& TR = ATextAreaBounds;
  TRect C{TR.left, TR.top, TR.right, TR.top + FCaptionSize.cy};
  TRect D{TR.left, TR.bottom - FDescriptionSize.cy, TR.right, TR.bottom};
  const TButtonLayout Layout = GetViewInfo()->Layout();
  auto Narrow = [Layout](TRect& R, Integer AWidth) {
    if (Layout == blGlyphLeft) {
      R.right = R.left + AWidth;
    } else if (Layout == blGlyphRight) {
      R.left = R.right - AWidth;
    } else {
      R.left = (R.left + R.right - AWidth) / 2;
      R.right = R.left + AWidth;
    }
  };
  Narrow(C, FCaptionSize.cx);
  Narrow(D, FDescriptionSize.cx);
  GetViewInfo()->FCaptionRect = C;
  GetViewInfo()->FDescriptionRect = FDescriptionSize.cy > 0 ? D : cxNullRect;
}

void TcxButtonOfficeDropDownLayoutCalculator::CalculateDropDownArrowRect() {
  TcxButtonViewInfo* VI = GetViewInfo();
  const Integer Size = GetPainter()->GetDropDownArrowSize();
  const TRect& B = VI->Bounds();
  TRect R;
  if (IsHorizontalLayout(VI->Layout())) {
    R = TRect{B.right - 2 - Size, B.top, B.right - 2, B.bottom};
  } else {
    TRect U = VI->CaptionRect();
    if (!cxRectIsEmpty(VI->DescriptionRect())) U = cxRectUnion(U, VI->DescriptionRect());
    const Integer Top = (U.top + U.bottom - Size) / 2;
    R = TRect{U.right, Top, U.right + Size, Top + Size};
  }
  // The caption was laid out on the mirrored side already; the arrow
  // follows it there.
  if (GetUseRightToLeftAlignment() && IsHorizontalLayout(VI->Layout())) R = MirrorRect(R, B);
  VI->FDropDownArrowRect = R;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TcxButtonCommandLinkLayoutCalculator)

void TcxButtonCommandLinkLayoutCalculator::Calculate() {
  CalculateLayout(GetViewInfo()->GetContentRect(cxbsDefault), GetOptionsImage()->Margin(),
                  GetOptionsImage()->Spacing());
}

void TcxButtonCommandLinkLayoutCalculator::CalculateLayout(const TRect& AContentRect,
                                                           Integer AMargin, Integer ASpacing) {
  TcxButtonViewInfo* VI = GetViewInfo();
  TRect I = cxRectContent(AContentRect, GetPainter()->GetCommandLinkMargins());
  if (AMargin >= 0) {
    I.left = AContentRect.left + AMargin;
    I.right = AContentRect.right - AMargin;
  }
  VI->FGlyphPos = TPoint{I.left, I.top};
  const TSize G = VI->GetImageSize();
  const UINT BiDi = GetPainter()->GetBiDiFlags();
  TRect C = I;
  if (G.cx > 0) C.left += G.cx + std::max(ASpacing, 0);
  if (VI->CanDrawCaption()) {
    cxGetTextRect(C, FButton->Caption(), VI->Font(), BiDi | DT_WORDBREAK | DT_END_ELLIPSIS);
    VI->FCaptionRect = C;
  } else {
    C.bottom = C.top;
  }
  if (!FButton->Description().empty()) {
    TRect D{C.left, cxRectHeight(C) > 0 ? C.bottom + 2 : I.top, I.right, I.bottom};
    cxGetTextRect(D, FButton->Description(), VI->DescriptionFont(), BiDi | DT_WORDBREAK);
    VI->FDescriptionRect = D;
  }
  if (GetUseRightToLeftAlignment()) {
    if (!cxRectIsEmpty(VI->FCaptionRect))
      VI->FCaptionRect = MirrorRect(VI->FCaptionRect, AContentRect);
    if (!cxRectIsEmpty(VI->FDescriptionRect))
      VI->FDescriptionRect = MirrorRect(VI->FDescriptionRect, AContentRect);
    VI->FGlyphPos.x = AContentRect.left + AContentRect.right - VI->FGlyphPos.x - G.cx;
  }
}
