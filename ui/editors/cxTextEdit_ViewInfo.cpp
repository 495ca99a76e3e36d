// The text a text-like editor draws itself: where it goes (text rectangle,
// offsets, draw-text flags), how it looks (draw value, selection colours,
// password bullets), how large it is (content size for auto-height and best
// fit), and painting it through the text-output service.
#include <algorithm>

#include "cxTextEdit.h"
#include "dxThemeManager.h"

namespace {

constexpr Cardinal AHorzAlignmentFlags[] = {CXTO_LEFT, CXTO_RIGHT, CXTO_CENTER_HORIZONTALLY};
constexpr Cardinal AVertAlignmentFlags[] = {CXTO_TOP, CXTO_BOTTOM, CXTO_CENTER_VERTICALLY};
constexpr Integer cxMaxTextExtent = 32000;

TcxCanvas* MeasureCanvas(TcxCanvas* ACanvas) { return ACanvas ? ACanvas : cxScreenCanvas(); }

Integer RowHeightOf(TcxCanvas* ACanvas) { return ACanvas->TextHeight(L"Wg"); }

bool IsListStyle(TcxEditEditingStyle AStyle) { return AStyle == esFixedList || AStyle == esNoEdit; }

// A standalone text editor in a list style shows its text one pixel in from
// the side it is aligned to and one pixel lower.
bool HasListStyleTextShift(TcxCustomEditViewData* AViewData) {
  auto* Data = dynamic_cast<TcxCustomTextEditViewData*>(AViewData);
  return Data && !Data->IsInplace() && IsListStyle(Data->GetProperties()->GetEditingStyle());
}

// Single-line flags turned into word-break with edit-control rules.
Cardinal MultiLineFlags(Cardinal AFlags) {
  if (AFlags & CXTO_SINGLELINE)
    AFlags = (AFlags & ~CXTO_SINGLELINE) | CXTO_WORDBREAK | CXTO_EDITCONTROL;
  return AFlags;
}

// How many rows the text takes in a rectangle AWidth wide.
Integer CountTextRows(TcxCanvas* ACanvas, const String& AText, Integer AWidth, Cardinal AFlags,
                      Integer AMaxLineCount) {
  TRect R{0, 0, AWidth, cxMaxTextExtent};
  ACanvas->Canvas()->SelectFont();
  return cxTextOut(ACanvas->Handle(), AText, R, AFlags | CXTO_CALCROWCOUNT, 0, 0, nullptr,
                   clDefault, clDefault, AMaxLineCount);
}

// The widest of the rows the text breaks into.
Integer LongestRowWidth(TcxCanvas* ACanvas, const String& AText, Cardinal AFlags,
                        Integer AMaxLineCount) {
  if (AText.empty()) return 0;
  ACanvas->Canvas()->SelectFont();
  const HDC DC = ACanvas->Handle();
  const TcxTextParams Params = cxCalcTextParams(DC, AFlags);
  const TRect R{0, 0, cxMaxTextExtent, cxMaxTextExtent};
  TcxTextRows Rows;
  Integer Count = 0;
  cxMakeTextRows(DC, AText.c_str(), static_cast<Integer>(AText.size()), R, Params, Rows, Count,
                 AMaxLineCount);
  return Count > 0 ? cxGetLongestTextRowWidth(Rows, Count) : 0;
}

// The platform's single-line width of the text.
Integer SingleLineTextWidth(TcxCanvas* ACanvas, const String& AText) {
  if (AText.empty()) return 0;
  ACanvas->Canvas()->SelectFont();
  RECT R{0, 0, 0, 0};
  ::DrawTextW(ACanvas->Handle(), AText.c_str(), static_cast<int>(AText.size()), &R,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return R.right - R.left;
}

}  // namespace

// ---------------------------------------------------------------------------
// Module routines

TRect GetTextEditDrawTextOffset(TcxCustomEditViewData* AViewData) {
  TRect Result = AViewData->EditContentParams.Offsets;
  if (HasListStyleTextShift(AViewData)) {
    ++Result.top;
    --Result.bottom;
    if (AViewData->HorzAlignment == taRightJustify)
      ++Result.right;
    else
      ++Result.left;
  }
  return Result;
}

void CalculateTextEditViewInfo(TcxCanvas* ACanvas, TcxCustomTextEditViewData* AViewData,
                               TcxCustomTextEditViewInfo* AViewInfo, bool) {
  const TRect& Client = AViewInfo->ClientRect;
  AViewInfo->TextRect = cxRectContent(Client, AViewData->GetDrawTextOffset());
  if (AViewData->IsInplace()) return;
  const Integer RowHeight = RowHeightOf(MeasureCanvas(ACanvas));
  TRect& R = AViewInfo->TextRect;
  if (R.bottom - R.top < RowHeight) R.bottom = std::min<Integer>(Client.bottom, R.top + RowHeight);
}

void PrepareTextEditDrawTextFlags(TcxCanvas* ACanvas, TcxCustomTextEditViewData* AViewData,
                                  TcxCustomTextEditViewInfo* AViewInfo) {
  if (!AViewInfo->Font) return;
  ACanvas = MeasureCanvas(ACanvas);
  ACanvas->SetFont(AViewInfo->Font);
  AViewInfo->DrawTextFlags = AViewData->GetDrawTextFlags();
  const TRect& TextRect = AViewInfo->TextRect;
  const TRect Offsets = AViewData->GetDrawTextOffset();
  const Integer Width = TextRect.right - TextRect.left + Offsets.left + Offsets.right -
                        AViewData->GetEditContentSizeCorrection().cx -
                        AViewData->ContentOffset.left - AViewData->ContentOffset.right +
                        (AViewData->HorzAlignment == taRightJustify ? 1 : 0);
  const Integer RowHeight = RowHeightOf(ACanvas);
  const Integer TextHeight = TextRect.bottom - TextRect.top;
  const Integer MaxRows = (TextHeight + RowHeight - 1) / RowHeight + 1;
  const Cardinal Flags =
      (AViewInfo->DrawTextFlags & ~CXTO_SINGLELINE) | CXTO_WORDBREAK | CXTO_EDITCONTROL;
  const Integer Rows = CountTextRows(ACanvas, AViewInfo->Text, Width, Flags, MaxRows);
  Cardinal& Result = AViewInfo->DrawTextFlags;
  if (Rows > 1) Result = (Result & ~CXTO_SINGLELINE) | CXTO_WORDBREAK | CXTO_EDITCONTROL;
  if (Rows * RowHeight > TextHeight) {
    Result &= ~CXTO_BOTTOM;
    // Overflowing text starts at the top, unless only some rows may show.
    const Integer MaxLineCount = AViewInfo->MaxLineCount;
    if (!(MaxLineCount > 0 && MaxLineCount < Rows)) Result &= ~CXTO_CENTER_VERTICALLY;
  }
}

TSize GetTextEditContentSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData,
                             const String& AText, Cardinal ADrawTextFlags,
                             const TcxEditSizeProperties& AEditSizeProperties, Integer ALineCount,
                             bool ACorrectWidth) {
  Integer ExtraWidth = 0;
  if (HasListStyleTextShift(AViewData)) {
    auto* Data = static_cast<TcxCustomTextEditViewData*>(AViewData);
    const bool ThemedCombo = AreVisualStylesMustBeUsed(
        Data->GetStyle()->GetLookAndFeel()->GetNativeStyle(), totComboBox);
    if (!Data->IsComboBoxStyle() || !ThemedCombo) ExtraWidth = 1;
  }
  ACanvas = MeasureCanvas(ACanvas);
  ACanvas->SetFont(AViewData->GetStyle()->GetVisibleFont());
  const TSize Correction = AViewData->GetEditContentSizeCorrection();
  const Integer RowHeight = RowHeightOf(ACanvas);
  const bool AllowZeroHeight = AViewData->PaintOptions.Contains(epoAllowZeroHeight);
  TSize Size{0, 0};
  if (AEditSizeProperties.Width >= 0) {
    if (ALineCount > 0) {
      Size = TSize{AEditSizeProperties.Width, RowHeight * ALineCount};
    } else {
      const Integer Usable =
          AEditSizeProperties.Width - (AViewData->IsInplace() ? 2 : 0) - ExtraWidth;
      const Integer EmptyHeight = AText.empty() && AllowZeroHeight ? 0 : RowHeight;
      if (Usable > 0) {
        Size.cx = AEditSizeProperties.Width;
        if (AText.empty()) {
          Size.cy = EmptyHeight;
        } else {
          const Cardinal Flags =
              MultiLineFlags(ADrawTextFlags) & ~(CXTO_CENTER_VERTICALLY | CXTO_BOTTOM);
          Size.cy = RowHeight *
                    CountTextRows(ACanvas, AText, Usable, Flags, AEditSizeProperties.MaxLineCount);
        }
      } else {
        Size = TSize{0, EmptyHeight};
      }
    }
  } else {
    auto* Properties = dynamic_cast<TcxCustomTextEditProperties*>(AViewData->GetProperties());
    const bool AutoHeight = AViewData->PaintOptions.Contains(epoAutoHeight) && Properties &&
                            Properties->GetSupportedOperations().Contains(esoAutoHeight);
    if (!(ADrawTextFlags & CXTO_SINGLELINE) || AutoHeight) {
      const Integer MaxLines = ALineCount > 0 ? ALineCount : AEditSizeProperties.MaxLineCount;
      Size.cx =
          LongestRowWidth(ACanvas, AText, MultiLineFlags(ADrawTextFlags) | CXTO_CALCRECT, MaxLines);
      Size.cy = RowHeight * (ALineCount > 0 ? ALineCount : 1);
    } else {
      Size = TSize{SingleLineTextWidth(ACanvas, AText), RowHeight};
    }
    Size.cx += ExtraWidth;
    if (ACorrectWidth) Size.cx += Correction.cx;
  }
  if (Size.cy > 0) Size.cy += Correction.cy;
  return Size;
}

void PrepareTextRows(TcxCanvas* ACanvas, TcxTextOutData& TextOutData, const String& AText,
                     const TRect& R, Cardinal AFormat, Integer ASelStart, Integer ASelLength,
                     TColor ASelBackgroundColor, TColor ASelTextColor, Integer AMaxLineCount,
                     Integer ALeftIndent, Integer ARightIndent) {
  TcxTextOutData& D = TextOutData;
  D.TextRows.Count = 0;
  D.TextRows.DynamicRows.clear();
  D.TextRows.Text = AText;
  D.RowCount = 0;
  D.ForceEndEllipsis = false;
  D.TextRect = TRect{};
  if (!AText.empty()) {
    ACanvas->Canvas()->SelectFont();
    const HDC DC = ACanvas->Handle();
    D.TextParams = cxCalcTextParams(DC, AFormat);
    D.TextRect = cxPrepareRect(R, D.TextParams, ALeftIndent, ARightIndent);
    if (!cxRectIsEmpty(D.TextRect)) {
      const String& Text = D.TextRows.Text;
      const bool Whole =
          cxMakeTextRows(DC, Text.c_str(), static_cast<Integer>(Text.size()), D.TextRect,
                         D.TextParams, D.TextRows, D.RowCount, AMaxLineCount);
      D.ForceEndEllipsis = !Whole;
      if (D.RowCount > 0) cxPlaceTextRows(DC, D.TextRect, D.TextParams, D.TextRows, D.RowCount);
    }
  }
  const Integer Length = static_cast<Integer>(AText.size());
  if (ASelStart < 0 || ASelStart >= Length)
    ASelLength = 0;
  else
    ASelLength = std::clamp<Integer>(ASelLength, 0, Length - ASelStart);
  D.SelStart = ASelStart;
  D.SelLength = ASelLength;
  D.SelBackgroundColor = ASelBackgroundColor;
  D.SelTextColor = ASelTextColor;
  D.Initialized = true;
}

void InternalTextOut(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo, const String& AText,
                     const TRect& R, Cardinal AFormat, Integer ASelStart, Integer ASelLength,
                     TColor ASelBackgroundColor, TColor ASelTextColor, Integer AMaxLineCount,
                     Integer ALeftIndent, Integer ARightIndent) {
  TcxTextOutData& D = AViewInfo->TextOutData;
  if (!D.Initialized)
    PrepareTextRows(ACanvas, D, AText, R, AFormat, ASelStart, ASelLength, ASelBackgroundColor,
                    ASelTextColor, AMaxLineCount, ALeftIndent, ARightIndent);
  if (D.RowCount == 0) return;
  ACanvas->Canvas()->SelectFont();
  cxTextRowsOutHighlight(ACanvas->Handle(), D.TextRect, D.TextParams, D.TextRows, D.RowCount,
                         D.SelStart, D.SelLength, D.SelBackgroundColor, D.SelTextColor,
                         D.ForceEndEllipsis);
}

void DrawEditText(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo,
                  bool ADrawPasswordCharAsBullet) {
  if (AViewInfo->Text.empty()) return;
  const TColor Color = AViewInfo->DrawSelectionBar ? clHighlightText : AViewInfo->TextColor;
  if (AViewInfo->Font) ACanvas->SetFont(AViewInfo->Font);
  if (Color != clDefault) ACanvas->Font()->SetColor(Color);
  AViewInfo->PrepareCanvasFont(ACanvas);
  TRect R = AViewInfo->TextRect;
  if (ADrawPasswordCharAsBullet) {
    --R.top;
    ++R.bottom;
  }
  InternalTextOut(ACanvas, AViewInfo, AViewInfo->Text, R, AViewInfo->DrawTextFlags,
                  AViewInfo->SelStart, AViewInfo->SelLength, AViewInfo->SelBackgroundColor,
                  AViewInfo->SelTextColor, AViewInfo->MaxLineCount, 0, 0);
}

void DrawTextEdit(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo) {
  TcxCustomTextEditViewInfo* V = AViewInfo;
  const bool Transparent = V->IsTransparent() || V->DrawSelectionBar;
  V->DrawCustomEdit(ACanvas, !Transparent, true);
  TRect R = V->ClientRect;
  if (!V->IsInplace) {
    // The inner edit leaves a pixel round its text; without a theme that
    // ring is painted in the background colour.
    if ((V->NativeState == 0 || V->DrawSelectionBar) && !V->IsTransparent() &&
        V->EditingStyle != esNoEdit)
      ACanvas->FrameRect(R, V->BackgroundColor());
    R = cxRectInflate(R, -1, -1);
  }
  if (V->IsOwnerDrawing) {
    if (V->CustomDrawHandler) V->CustomDrawHandler(ACanvas, R);
  } else {
    if (V->DrawSelectionBar) ACanvas->FillRect(R, clHighlight);
    const bool InnerEditShowsText =
        V->HasInnerEdit && V->IsEditClass && !V->IsDBEditPaintCopyDrawing;
    if (!InnerEditShowsText) V->DrawText(ACanvas);
  }
  if (!V->IsInplace && V->Focused && !V->IsEditClass && !V->HasPopupWindow) {
    TCanvas* C = ACanvas->Canvas();
    C->Font()->SetColor(V->DrawSelectionBar ? clHighlightText : clBtnText);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(V->DrawSelectionBar ? clHighlight : V->BackgroundColor());
    C->SelectFont();
    C->DrawFocusRect(R);
  }
}

// ---------------------------------------------------------------------------
// TcxCustomTextEditViewData
IMPLEMENT_CLASS(TcxCustomTextEditViewData)

void TcxCustomTextEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                          TcxMouseButton Button, TShiftState Shift,
                                          TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* V = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  ACanvas = MeasureCanvas(ACanvas);
  V->DrawSelectionBar = false;
  V->EditingStyle = GetProperties()->GetEditingStyle();
  V->IsEditClass = GetIsEditClass();
  if (V->Font) ACanvas->SetFont(V->Font);
  V->HasPopupWindow = GetEdit() && GetEdit()->IsPopupWindowShowing();
  CalculateTextEditViewInfo(ACanvas, this, V, AIsMouseEvent);
  V->MaxLineCount = GetMaxLineCount();
  V->TextOutData.Initialized = false;
  PrepareDrawTextFlags(ACanvas, V);
}

bool TcxCustomTextEditViewData::GetIsEditClass() { return GetEdit() && GetEdit()->IsEditClass(); }

void TcxCustomTextEditViewData::InitCacheData() {
  inherited::InitCacheData();
  FIsValueFormatted = GetProperties()->IsValueFormattedByProvider();
}

Cardinal TcxCustomTextEditViewData::GetDrawTextFlags() {
  TAlignment Horz = HorzAlignment;
  if (UseRightToLeftAlignment && Horz != taCenter)
    Horz = Horz == taLeftJustify ? taRightJustify : taLeftJustify;
  Cardinal Flags = AHorzAlignmentFlags[Horz] | AVertAlignmentFlags[VertAlignment] |
                   CXTO_PREVENT_LEFT_EXCEED | CXTO_PREVENT_TOP_EXCEED | CXTO_SINGLELINE;
  if (UseRightToLeftReading) Flags |= CXTO_RTLREADING;
  return Flags;
}

TRect TcxCustomTextEditViewData::GetDrawTextOffset() { return GetTextEditDrawTextOffset(this); }

void TcxCustomTextEditViewData::PrepareDrawTextFlags(TcxCanvas* ACanvas,
                                                     TcxCustomEditViewInfo* AViewInfo) {
  auto* V = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  TcxCustomTextEditProperties* Properties = GetProperties();
  if (!Properties->IsMultiLine() && Properties->GetSupportedOperations().Contains(esoAutoHeight) &&
      PaintOptions.Contains(epoAutoHeight))
    PrepareTextEditDrawTextFlags(ACanvas, this, V);
  else
    V->DrawTextFlags = GetDrawTextFlags();
  if (PaintOptions.Contains(epoShowEndEllipsis)) V->DrawTextFlags |= CXTO_END_ELLIPSIS;
  V->ComboBoxStyle = IsComboBoxStyle();
}

void TcxCustomTextEditViewData::DisplayValueToDrawValue(const Variant& ADisplayValue,
                                                        TcxCustomEditViewInfo* AViewInfo) {
  auto* V = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  V->Text = VarToStr(ADisplayValue);
  GetProperties()->DoDisplayValueToDisplayText(V->Text, V->NativeStyle);
}

void TcxCustomTextEditViewData::EditValueToDrawValue(const Variant& AEditValue,
                                                     TcxCustomEditViewInfo* AViewInfo) {
  auto* V = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  V->Text = PreviewMode ? String() : EditValueToDisplayText(AEditValue);
  PrepareSelection(V);
}

String TcxCustomTextEditViewData::InternalEditValueToDisplayText(const Variant& AEditValue) {
  String Text =
      FIsValueFormatted
          ? VarToStr(AEditValue)
          : VarToStr(GetProperties()->GetDefaultDisplayValue(AEditValue, InternalFocused()));
  GetProperties()->DoDisplayValueToDisplayText(Text, NativeStyle);
  return Text;
}

void TcxCustomTextEditViewData::PrepareSelection(TcxCustomEditViewInfo* AViewInfo) {
  auto* V = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  V->SelStart = SelStart;
  V->SelLength = SelLength;
  if (SelLength == 0) return;
  if (SelBackgroundColor == clDefault) {
    if (SelTextColor == clDefault) {
      // A highlight-coloured editor would hide a highlight-coloured selection.
      const bool HighlightEditor = GetStyle()->GetColor() == clHighlight;
      V->SelBackgroundColor = HighlightEditor ? TColor(0x000000) : clHighlight;
      V->SelTextColor = HighlightEditor ? TColor(0xFFFFFF) : clHighlightText;
    } else {
      V->SelTextColor = SelTextColor;
      V->SelBackgroundColor = dxInvertColor(SelTextColor);
    }
  } else {
    V->SelBackgroundColor = SelBackgroundColor;
    V->SelTextColor = SelTextColor != clDefault ? SelTextColor : dxInvertColor(SelBackgroundColor);
  }
}

TRect TcxCustomTextEditViewData::GetClientExtent(TcxCanvas* ACanvas,
                                                 TcxCustomEditViewInfo* AViewInfo) {
  TRect Result = inherited::GetClientExtent(ACanvas, AViewInfo);
  if (!IsInplace() && IsComboBoxStyle() &&
      AreVisualStylesMustBeUsed(GetLookAndFeel()->GetNativeStyle(), totComboBox))
    ++Result.right;
  return Result;
}

void TcxCustomTextEditViewData::CalculateButtonNativePartInfo(
    HTHEME ATheme, TcxEditButtonViewInfo* AButtonViewInfo) {
  inherited::CalculateButtonNativePartInfo(ATheme, AButtonViewInfo);
  constexpr Integer NativeStateNormal = 1, NativeStateDisabled = 4;
  TcxEditButtonViewInfoData& D = AButtonViewInfo->Data;
  if (D.NativeStyle && IsWinVistaOrLater && !IsInplace() &&
      GetProperties()->GetEditingStyle() == esFixedList && D.ComboBoxStyle &&
      D.NativeState != NativeStateDisabled)
    D.NativeState = NativeStateNormal;
}

TSize TcxCustomTextEditViewData::InternalGetEditContentSize(
    TcxCanvas* ACanvas, const Variant& AEditValue,
    const TcxEditSizeProperties& AEditSizeProperties) {
  const TSize Base =
      inherited::InternalGetEditContentSize(ACanvas, AEditValue, AEditSizeProperties);
  const TSize Text = GetTextEditContentSize(ACanvas, this, EditValueToDisplayText(AEditValue),
                                            GetDrawTextFlags(), AEditSizeProperties, 0, true);
  return TSize{std::max(Base.cx, Text.cx), std::max(Base.cy, Text.cy)};
}

// ---------------------------------------------------------------------------
// TcxCustomTextEditViewInfo
IMPLEMENT_CLASS(TcxCustomTextEditViewInfo)

TcxCustomTextEditViewInfo::~TcxCustomTextEditViewInfo() = default;

void TcxCustomTextEditViewInfo::InternalPaint(TcxCanvas* ACanvas) { DrawTextEdit(ACanvas, this); }

void TcxCustomTextEditViewInfo::DrawText(TcxCanvas* ACanvas) {
  if (CanDrawEditValue()) DrawEditText(ACanvas, this, NeedDrawPasswordBullets());
}

void TcxCustomTextEditViewInfo::Offset(Integer DX, Integer DY) {
  inherited::Offset(DX, DY);
  TextRect = cxRectOffset(TextRect, DX, DY);
  if (!TextOutData.Initialized) return;
  TextOutData.TextRect = cxRectOffset(TextOutData.TextRect, DX, DY);
  for (Integer I = 0; I < TextOutData.RowCount; ++I) {
    TcxTextRow& Row = cxGetTextRow(TextOutData.TextRows, I);
    Row.TextOriginX += DX;
    Row.TextOriginY += DY;
  }
}

TcxEditBackgroundPaintingStyle TcxCustomTextEditViewInfo::GetBackgroundPaintingStyle() {
  if (!ComboBoxStyle) return bpsSolid;
  return IsListStyle(EditingStyle) ? bpsComboListEdit : bpsComboEdit;
}

bool TcxCustomTextEditViewInfo::NeedDrawPasswordBullets() {
  auto* Properties = dynamic_cast<TcxCustomTextEditProperties*>(EditProperties);
  return Properties && Properties->GetEchoMode() == eemPassword && NativeStyle &&
         IsWinSevenOrLater && AreVisualStylesAvailable();
}

void TcxCustomTextEditViewInfo::PrepareCanvasFont(TcxCanvas* ACanvas) {
  // The black circle of the platform's password edit comes from this face.
  if (NeedDrawPasswordBullets()) ACanvas->Font()->SetName(L"Segoe UI");
}

Integer TcxCustomTextEditViewInfo::GetTextBaseLine() {
  TcxCanvas* C = cxScreenCanvas();
  if (Font) C->SetFont(Font);
  C->Canvas()->SelectFont();
  TEXTMETRICW Metrics{};
  ::GetTextMetricsW(C->Handle(), &Metrics);
  const TcxEditVertAlignment Vert =
      EditProperties ? EditProperties->GetAlignment()->GetVert() : taTopJustify;
  switch (Vert) {
    case taTopJustify:
      return TextRect.top + Metrics.tmAscent + 1;
    case taBottomJustify:
      return TextRect.bottom - Metrics.tmDescent + 1;
    case taVCenter:
      break;
  }
  return TextRect.top + (TextRect.bottom - TextRect.top - Metrics.tmHeight) / 2 + Metrics.tmAscent +
         1;
}

bool TcxCustomTextEditViewInfo::NeedShowHint(TcxCanvas* ACanvas, const TPoint& P,
                                             const TRect& AVisibleBounds, String& AText,
                                             bool& AIsMultiLine, TRect& ATextRect,
                                             Integer AMaxLineCount) {
  AText.clear();
  TRect Visible = TextRect;
  if (!cxRectIsEmpty(AVisibleBounds))
    cxRectIntersect(Visible, cxRectOffset(AVisibleBounds, -Left, -Top), TextRect);
  const TPoint Point{P.x - Left, P.y - Top};
  bool Clipped = false;
  if (cxRectPtIn(Visible, Point) && !Text.empty()) {
    ACanvas = MeasureCanvas(ACanvas);
    if (Font) ACanvas->SetFont(Font);
    PrepareCanvasFont(ACanvas);
    TRect Bounds = Visible;
    if (AMaxLineCount > 0)
      Bounds.bottom =
          std::min<Integer>(Bounds.bottom, Bounds.top + AMaxLineCount * RowHeightOf(ACanvas));
    Cardinal Flags =
        (DrawTextFlags & ~(CXTO_SINGLELINE | CXTO_CENTER_VERTICALLY | CXTO_BOTTOM)) | CXTO_CALCRECT;
    if (ACanvas->UseRightToLeftAlignment()) Flags |= CXTO_RTLREADING;
    TRect Needed = Bounds;
    ACanvas->Canvas()->SelectFont();
    cxTextOut(ACanvas->Handle(), Text, Needed, Flags);
    Clipped = Needed.bottom > Bounds.bottom || Needed.right > Bounds.right;
  }
  if (!Clipped)
    return inherited::NeedShowHint(ACanvas, P, AVisibleBounds, AText, AIsMultiLine, ATextRect,
                                   AMaxLineCount);
  AIsMultiLine = (DrawTextFlags & CXTO_WORDBREAK) && !(DrawTextFlags & CXTO_SINGLELINE);
  AText = Text;
  ATextRect = cxRectOffset(TextRect, Left, Top);
  return true;
}
