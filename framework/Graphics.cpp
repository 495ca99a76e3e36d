#include "Graphics.h"

#include "Graphics_GdiPlus.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

struct TColorName {
  TColor Color;
  const wchar_t* Name;
};

const TColorName ColorNames[] = {
    {clBlack, L"clBlack"},
    {clMaroon, L"clMaroon"},
    {clGreen, L"clGreen"},
    {clOlive, L"clOlive"},
    {clNavy, L"clNavy"},
    {clPurple, L"clPurple"},
    {clTeal, L"clTeal"},
    {clGray, L"clGray"},
    {clSilver, L"clSilver"},
    {clRed, L"clRed"},
    {clLime, L"clLime"},
    {clYellow, L"clYellow"},
    {clBlue, L"clBlue"},
    {clFuchsia, L"clFuchsia"},
    {clAqua, L"clAqua"},
    {clWhite, L"clWhite"},
    {clMoneyGreen, L"clMoneyGreen"},
    {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"},
    {clMedGray, L"clMedGray"},
    {clActiveBorder, L"clActiveBorder"},
    {clActiveCaption, L"clActiveCaption"},
    {clAppWorkSpace, L"clAppWorkSpace"},
    {clBackground, L"clBackground"},
    {clBtnFace, L"clBtnFace"},
    {clBtnHighlight, L"clBtnHighlight"},
    {clBtnShadow, L"clBtnShadow"},
    {clBtnText, L"clBtnText"},
    {clCaptionText, L"clCaptionText"},
    {clDefault, L"clDefault"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clGrayText, L"clGrayText"},
    {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"},
    {clHotLight, L"clHotLight"},
    {clInactiveBorder, L"clInactiveBorder"},
    {clInactiveCaption, L"clInactiveCaption"},
    {clInactiveCaptionText, L"clInactiveCaptionText"},
    {clInfoBk, L"clInfoBk"},
    {clInfoText, L"clInfoText"},
    {clMenu, L"clMenu"},
    {clMenuBar, L"clMenuBar"},
    {clMenuHighlight, L"clMenuHighlight"},
    {clMenuText, L"clMenuText"},
    {clNone, L"clNone"},
    {clScrollBar, L"clScrollBar"},
    {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"},
    {clWindow, L"clWindow"},
    {clWindowFrame, L"clWindowFrame"},
    {clWindowText, L"clWindowText"},
};

}  // namespace

COLORREF ColorToRGB(TColor AColor) {
  if (AColor < 0) return GetSysColor(AColor & 0xFF);
  return static_cast<COLORREF>(AColor);
}

String ColorToString(TColor AColor) {
  for (const auto& N : ColorNames)
    if (N.Color == AColor) return N.Name;
  return L"$" + IntToHex(AColor, 8);
}

bool IdentToColor(const String& AIdent, TColor& AColor) {
  for (const auto& N : ColorNames)
    if (CompareStringOrdinal(N.Name, -1, AIdent.c_str(), -1, TRUE) == CSTR_EQUAL) {
      AColor = N.Color;
      return true;
    }
  return false;
}

TColor StringToColor(const String& AText) {
  TColor C;
  if (IdentToColor(AText, C)) return C;
  return StrToInt(AText);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TGraphicsObject)

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

namespace {
const wchar_t* const FontStyleNames[] = {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"};
const TEnumInfo FontStyleInfo = MakeEnumInfo(L"TFontStyle", FontStyleNames);
const wchar_t* const FontPitchNames[] = {L"fpDefault", L"fpVariable", L"fpFixed"};
const TEnumInfo FontPitchInfo = MakeEnumInfo(L"TFontPitch", FontPitchNames);
const wchar_t* const FontQualityNames[] = {L"fqDefault",         L"fqDraft",       L"fqProof",
                                           L"fqNonAntialiased",  L"fqAntialiased", L"fqClearType",
                                           L"fqClearTypeNatural"};
const TEnumInfo FontQualityInfo = MakeEnumInfo(L"TFontQuality", FontQualityNames);
const wchar_t* const PenStyleNames[] = {L"psSolid",       L"psDash",       L"psDot",
                                        L"psDashDot",     L"psDashDotDot", L"psClear",
                                        L"psInsideFrame", L"psUserStyle",  L"psAlternate"};
const TEnumInfo PenStyleInfo = MakeEnumInfo(L"TPenStyle", PenStyleNames);
const wchar_t* const PenModeNames[] = {
    L"pmBlack",       L"pmWhite",      L"pmNop",         L"pmNot",        L"pmCopy",  L"pmNotCopy",
    L"pmMergePenNot", L"pmMaskPenNot", L"pmMergeNotPen", L"pmMaskNotPen", L"pmMerge", L"pmNotMerge",
    L"pmMask",        L"pmNotMask",    L"pmXor",         L"pmNotXor"};
const TEnumInfo PenModeInfo = MakeEnumInfo(L"TPenMode", PenModeNames);
const wchar_t* const BrushStyleNames[] = {L"bsSolid",    L"bsClear",     L"bsHorizontal",
                                          L"bsVertical", L"bsFDiagonal", L"bsBDiagonal",
                                          L"bsCross",    L"bsDiagCross"};
const TEnumInfo BrushStyleInfo = MakeEnumInfo(L"TBrushStyle", BrushStyleNames);

struct TCharsetName {
  Integer Charset;
  const wchar_t* Name;
};
const TCharsetName CharsetNames[] = {
    {ANSI_CHARSET, L"ANSI_CHARSET"},
    {DEFAULT_CHARSET, L"DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, L"SYMBOL_CHARSET"},
    {MAC_CHARSET, L"MAC_CHARSET"},
    {SHIFTJIS_CHARSET, L"SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, L"HANGEUL_CHARSET"},
    {JOHAB_CHARSET, L"JOHAB_CHARSET"},
    {GB2312_CHARSET, L"GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, L"CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, L"GREEK_CHARSET"},
    {TURKISH_CHARSET, L"TURKISH_CHARSET"},
    {HEBREW_CHARSET, L"HEBREW_CHARSET"},
    {ARABIC_CHARSET, L"ARABIC_CHARSET"},
    {BALTIC_CHARSET, L"BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, L"RUSSIAN_CHARSET"},
    {THAI_CHARSET, L"THAI_CHARSET"},
    {EASTEUROPE_CHARSET, L"EASTEUROPE_CHARSET"},
    {OEM_CHARSET, L"OEM_CHARSET"},
    {VIETNAMESE_CHARSET, L"VIETNAMESE_CHARSET"},
};
}  // namespace

bool CharsetToIdent(Integer Charset, String& Ident) {
  for (const auto& N : CharsetNames)
    if (N.Charset == Charset) {
      Ident = N.Name;
      return true;
    }
  return false;
}

bool IdentToCharset(const String& Ident, Integer& Charset) {
  for (const auto& N : CharsetNames)
    if (SameText(N.Name, Ident)) {
      Charset = N.Charset;
      return true;
    }
  return false;
}

bool ColorToIdent(Integer Color, String& Ident) {
  for (const auto& N : ColorNames)
    if (N.Color == Color) {
      Ident = N.Name;
      return true;
    }
  return false;
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TFont) {
  P.Property<&TFont::Charset, &TFont::SetCharset>(L"Charset")
      .NoDefault()
      .Idents(&IdentToCharset, &CharsetToIdent);
  P.Property<&TFont::Color, &TFont::SetColor>(L"Color").NoDefault().Idents(&IdentToColor,
                                                                           &ColorToIdent);
  P.Property<&TFont::Height, &TFont::SetHeight>(L"Height").NoDefault();
  P.Property<&TFont::Name, &TFont::SetName>(L"Name");
  P.Property<&TFont::Orientation, &TFont::SetOrientation>(L"Orientation").Default(0);
  P.Property<&TFont::Pitch, &TFont::SetPitch>(L"Pitch", FontPitchInfo).Default(0);
  P.Property<&TFont::Size, &TFont::SetSize>(L"Size").Stored(false);
  P.Property<&TFont::Style, &TFont::SetStyle>(L"Style", FontStyleInfo);
  P.Property<&TFont::Quality, &TFont::SetQuality>(L"Quality", FontQualityInfo).Default(0);
}

TFont::TFont()
    : FName(L"Tahoma"),
      FHeight(-11),
      FColor(clWindowText),
      FCharset(DEFAULT_CHARSET),
      FPixelsPerInch(GetScreenDPI()) {}

TFont::~TFont() = default;

void TFont::Changed() {
  // The old handle goes after the listeners heard of the change: a canvas
  // puts it out of its DC then, and GDI deletes no selected object.
  TFontHandle Old(FHandle.Release());
  inherited::Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* F = AsOrNull<TFont>(Source)) {
    FName = F->FName;
    // Heights carry over in points when the two fonts live at different
    // resolutions, as the design scales fonts by size.
    FHeight = F->FPixelsPerInch == FPixelsPerInch
                  ? F->FHeight
                  : MulDiv(F->FHeight, FPixelsPerInch, F->FPixelsPerInch);
    FStyle = F->FStyle;
    FColor = F->FColor;
    FCharset = F->FCharset;
    FPitch = F->FPitch;
    FQuality = F->FQuality;
    FOrientation = F->FOrientation;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

namespace {
const BYTE FontQualities[] = {DEFAULT_QUALITY,          DRAFT_QUALITY,       PROOF_QUALITY,
                              NONANTIALIASED_QUALITY,   ANTIALIASED_QUALITY, CLEARTYPE_QUALITY,
                              CLEARTYPE_NATURAL_QUALITY};
const BYTE FontPitches[] = {DEFAULT_PITCH, VARIABLE_PITCH, FIXED_PITCH};
}  // namespace

LOGFONTW TFont::LogFont() const {
  LOGFONTW LF{};
  LF.lfHeight = FHeight;
  LF.lfEscapement = FOrientation;
  LF.lfOrientation = FOrientation;
  LF.lfWeight = FStyle.Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
  LF.lfItalic = FStyle.Contains(TFontStyle::fsItalic);
  LF.lfUnderline = FStyle.Contains(TFontStyle::fsUnderline);
  LF.lfStrikeOut = FStyle.Contains(TFontStyle::fsStrikeOut);
  LF.lfCharSet = FCharset;
  LF.lfOutPrecision = OUT_DEFAULT_PRECIS;
  LF.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  LF.lfQuality = FontQualities[static_cast<int>(FQuality)];
  LF.lfPitchAndFamily = FontPitches[static_cast<int>(FPitch)];
  String Face = SameText(FName, L"Default") ? String(L"Tahoma") : FName;
  wcsncpy(LF.lfFaceName, Face.c_str(), LF_FACESIZE - 1);
  return LF;
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW LF = LogFont();
    FHandle.Reset(CreateFontIndirectW(&LF));
  }
  return FHandle.Get();
}

void TFont::SetHandle(HFONT AValue) {
  LOGFONTW LF{};
  if (!AValue || !GetObjectW(AValue, sizeof(LF), &LF)) return;
  SetLogFont(LF);
}

void TFont::SetLogFont(const LOGFONTW& AValue) {
  wchar_t Face[LF_FACESIZE + 1] = {};
  std::memcpy(Face, AValue.lfFaceName, sizeof(AValue.lfFaceName));
  FName = Face;
  FHeight = AValue.lfHeight;
  FStyle = TFontStyles();
  if (AValue.lfWeight >= FW_BOLD) FStyle.Include(TFontStyle::fsBold);
  if (AValue.lfItalic) FStyle.Include(TFontStyle::fsItalic);
  if (AValue.lfUnderline) FStyle.Include(TFontStyle::fsUnderline);
  if (AValue.lfStrikeOut) FStyle.Include(TFontStyle::fsStrikeOut);
  FCharset = AValue.lfCharSet;
  FOrientation = AValue.lfEscapement;
  const BYTE* Quality =
      std::find(std::begin(FontQualities), std::end(FontQualities), AValue.lfQuality);
  FQuality = Quality == std::end(FontQualities)
                 ? TFontQuality::fqDefault
                 : static_cast<TFontQuality>(Quality - std::begin(FontQualities));
  const BYTE* Pitch =
      std::find(std::begin(FontPitches), std::end(FontPitches), AValue.lfPitchAndFamily & 3);
  FPitch = Pitch == std::end(FontPitches)
               ? TFontPitch::fpDefault
               : static_cast<TFontPitch>(Pitch - std::begin(FontPitches));
  Changed();
}

void TFont::SetName(const String& AValue) {
  if (AValue.empty() || AValue == FName) return;
  FName = AValue;
  Changed();
}

void TFont::SetHeight(Integer AValue) {
  if (AValue == FHeight) return;
  FHeight = AValue;
  Changed();
}

void TFont::ChangeScale(Integer M, Integer D) {
  if (M == D || D == 0) return;
  FPixelsPerInch = MulDiv(FPixelsPerInch, M, D);
  SetHeight(MulDiv(FHeight, M, D));
}

Integer TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(Integer AValue) { SetHeight(-MulDiv(AValue, FPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles AValue) {
  if (AValue == FStyle) return;
  FStyle = AValue;
  Changed();
}

void TFont::SetColor(TColor AValue) {
  if (AValue == FColor) return;
  FColor = AValue;
  // Colour is not part of the font handle.
  inherited::Changed();
}

void TFont::SetCharset(TFontCharset AValue) {
  if (AValue == FCharset) return;
  FCharset = AValue;
  Changed();
}

void TFont::SetPitch(TFontPitch AValue) {
  if (AValue == FPitch) return;
  FPitch = AValue;
  Changed();
}

void TFont::SetQuality(TFontQuality AValue) {
  if (AValue == FQuality) return;
  FQuality = AValue;
  Changed();
}

void TFont::SetOrientation(Integer AValue) {
  if (AValue == FOrientation) return;
  FOrientation = AValue;
  Changed();
}

bool TFont::IsEqual(const TFont& AFont) const {
  return FName == AFont.FName && FHeight == AFont.FHeight && FStyle == AFont.FStyle &&
         FColor == AFont.FColor && FCharset == AFont.FCharset && FPitch == AFont.FPitch &&
         FQuality == AFont.FQuality && FOrientation == AFont.FOrientation;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TPen) {
  P.Property<&TPen::Color, &TPen::SetColor>(L"Color").Default(clBlack).Idents(&IdentToColor,
                                                                              &ColorToIdent);
  P.Property<&TPen::Mode, &TPen::SetMode>(L"Mode", PenModeInfo)
      .Default(static_cast<Int64>(TPenMode::pmCopy));
  P.Property<&TPen::Style, &TPen::SetStyle>(L"Style", PenStyleInfo).Default(0);
  P.Property<&TPen::Width, &TPen::SetWidth>(L"Width").Default(1);
}

TPen::~TPen() = default;

void TPen::Changed() {
  // The old handle goes after the listeners heard of the change: a canvas
  // puts it out of its DC then, and GDI deletes no selected object.
  TPenHandle Old(FHandle.Release());
  inherited::Changed();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* P = AsOrNull<TPen>(Source)) {
    FColor = P->FColor;
    FWidth = P->FWidth;
    FStyle = P->FStyle;
    FMode = P->FMode;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static const int Styles[] = {PS_SOLID, PS_DASH,        PS_DOT,       PS_DASHDOT,  PS_DASHDOTDOT,
                                 PS_NULL,  PS_INSIDEFRAME, PS_USERSTYLE, PS_ALTERNATE};
    int Style = Styles[static_cast<int>(FStyle)];
    if (FStyle == TPenStyle::psAlternate || FStyle == TPenStyle::psUserStyle) {
      LOGBRUSH LB{BS_SOLID, ColorToRGB(FColor), 0};
      FHandle.Reset(ExtCreatePen(PS_COSMETIC | Style, 1, &LB, 0, nullptr));
    } else {
      FHandle.Reset(CreatePen(Style, FWidth, ColorToRGB(FColor)));
    }
  }
  return FHandle.Get();
}

void TPen::SetHandle(HPEN AValue) {
  if (AValue == FHandle.Get()) return;
  FHandle.Reset(AValue);
  TGraphicsObject::Changed();
}

void TPen::SetColor(TColor AValue) {
  if (AValue == FColor) return;
  FColor = AValue;
  Changed();
}

void TPen::SetWidth(Integer AValue) {
  if (AValue < 0 || AValue == FWidth) return;
  FWidth = AValue;
  Changed();
}

void TPen::SetStyle(TPenStyle AValue) {
  if (AValue == FStyle) return;
  FStyle = AValue;
  Changed();
}

void TPen::SetMode(TPenMode AValue) {
  if (AValue == FMode) return;
  FMode = AValue;
  // The mode is a DC setting, not part of the pen handle.
  inherited::Changed();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TBrush) {
  P.Property<&TBrush::Color, &TBrush::SetColor>(L"Color").Default(clWhite).Idents(&IdentToColor,
                                                                                  &ColorToIdent);
  P.Property<&TBrush::Style, &TBrush::SetStyle>(L"Style", BrushStyleInfo).Default(0);
}

TBrush::~TBrush() = default;

void TBrush::Changed() {
  // The old handle goes after the listeners heard of the change: a canvas
  // puts it out of its DC then, and GDI deletes no selected object.
  TBrushHandle Old(FHandle.Release());
  inherited::Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* B = AsOrNull<TBrush>(Source)) {
    FColor = B->FColor;
    FStyle = B->FStyle;
    FBitmap = B->FBitmap;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    LOGBRUSH LB{};
    if (FBitmap && FBitmap->Handle()) {
      LB.lbStyle = BS_PATTERN;
      LB.lbHatch = reinterpret_cast<ULONG_PTR>(FBitmap->Handle());
    } else {
      LB.lbColor = ColorToRGB(FColor);
      switch (FStyle) {
        case TBrushStyle::bsSolid:
          LB.lbStyle = BS_SOLID;
          break;
        case TBrushStyle::bsClear:
          LB.lbStyle = BS_HOLLOW;
          break;
        default:
          LB.lbStyle = BS_HATCHED;
          LB.lbHatch = static_cast<ULONG_PTR>(static_cast<int>(FStyle) - 2);
      }
    }
    FHandle.Reset(CreateBrushIndirect(&LB));
  }
  return FHandle.Get();
}

void TBrush::SetHandle(HBRUSH AValue) {
  if (AValue == FHandle.Get()) return;
  FHandle.Reset(AValue);
  // Only listeners hear of it: Changed() would drop the adopted handle.
  TGraphicsObject::Changed();
}

void TBrush::SetColor(TColor AValue) {
  if (AValue == FColor && FStyle != TBrushStyle::bsClear) return;
  FColor = AValue;
  if (FStyle == TBrushStyle::bsClear) FStyle = TBrushStyle::bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle AValue) {
  if (AValue == FStyle) return;
  FStyle = AValue;
  Changed();
}

void TBrush::SetBitmap(TBitmap* AValue) {
  FBitmap = AValue;
  Changed();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TCanvas)

TCanvas::TCanvas() : FFont(Create<TFont>()), FPen(Create<TPen>()), FBrush(Create<TBrush>()) {
  InitializeCriticalSection(&FLock);
  FFont->OnChange = MakeEvent<&TCanvas::FontChanged>(this);
  FPen->OnChange = MakeEvent<&TCanvas::PenChanged>(this);
  FBrush->OnChange = MakeEvent<&TCanvas::BrushChanged>(this);
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  DeleteCriticalSection(&FLock);
}

HDC TCanvas::Handle() {
  if (!FHandle) CreateHandle();
  if (!FHandle) throw EInvalidOperation(L"Canvas does not allow drawing");
  HandleUsed();
  return FHandle;
}

void TCanvas::SetHandle(HDC AValue) {
  if (AValue == FHandle) return;
  if (FHandle) {
    DeselectHandles();
    FPenPos = PenPos();
    FHandle = nullptr;
    FState.Exclude(TCanvasStates::csHandleValid);
  }
  if (AValue) {
    FState.Include(TCanvasStates::csHandleValid);
    FHandle = AValue;
    MoveToEx(FHandle, FPenPos.x, FPenPos.y, nullptr);
  }
}

void TCanvas::CreateHandle() {}

void TCanvas::HandleUsed() {}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState.Contains(TCanvasStates::csPenValid)) SelectObject(FHandle, GetStockObject(BLACK_PEN));
  if (FState.Contains(TCanvasStates::csBrushValid))
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
  if (FState.Contains(TCanvasStates::csFontValid))
    SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
  FState -= TCanvasState{TCanvasStates::csPenValid, TCanvasStates::csBrushValid,
                         TCanvasStates::csFontValid};
}

void TCanvas::RequiredState(TCanvasState ReqState) {
  if (FHandle) HandleUsed();
  TCanvasState Needed = ReqState - FState;
  if (Needed.Empty()) return;
  if (Needed.Contains(TCanvasStates::csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation(L"Canvas does not allow drawing");
    FState.Include(TCanvasStates::csHandleValid);
  }
  if (Needed.Contains(TCanvasStates::csFontValid)) CreateFont();
  if (Needed.Contains(TCanvasStates::csPenValid)) CreatePen();
  if (Needed.Contains(TCanvasStates::csBrushValid)) CreateBrush();
}

void TCanvas::CreateFont() {
  SelectObject(FHandle, FFont->Handle());
  SetTextColor(FHandle, ColorToRGB(FFont->Color()));
  FState.Include(TCanvasStates::csFontValid);
}

void TCanvas::CreatePen() {
  static const int Modes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                              R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                              R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                              R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  SelectObject(FHandle, FPen->Handle());
  SetROP2(FHandle, Modes[static_cast<int>(FPen->Mode())]);
  FState.Include(TCanvasStates::csPenValid);
}

void TCanvas::CreateBrush() {
  UnrealizeObject(FBrush->Handle());
  SelectObject(FHandle, FBrush->Handle());
  if (FBrush->Style() == TBrushStyle::bsSolid) {
    SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
    SetBkMode(FHandle, OPAQUE);
  } else {
    // Hatches draw on a transparent background in the inverse colour.
    SetBkColor(FHandle, ~ColorToRGB(FBrush->Color()) & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
  FState.Include(TCanvasStates::csBrushValid);
}

void TCanvas::FontChanged(TObject*) {
  if (!FState.Contains(TCanvasStates::csFontValid)) return;
  // The colour is not part of the font: when only it changed, the selected
  // font stays. Painters change caption colours per state, and reselecting
  // the font each time costs more than the text itself.
  if (FFont->HandleAllocated()) {
    SetTextColor(FHandle, ColorToRGB(FFont->Color()));
    return;
  }
  FState.Exclude(TCanvasStates::csFontValid);
  SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
}

void TCanvas::PenChanged(TObject*) {
  if (FState.Contains(TCanvasStates::csPenValid)) {
    FState.Exclude(TCanvasStates::csPenValid);
    SelectObject(FHandle, GetStockObject(BLACK_PEN));
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (FState.Contains(TCanvasStates::csBrushValid)) {
    FState.Exclude(TCanvasStates::csBrushValid);
    SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
  }
}

TPoint TCanvas::PenPos() {
  if (!FHandle) return FPenPos;
  POINT P;
  GetCurrentPositionEx(FHandle, &P);
  return P;
}

TCanvasOrientation TCanvas::CanvasOrientation() {
  RequiredState({TCanvasStates::csHandleValid});
  return (GetLayout(FHandle) & LAYOUT_RTL) ? TCanvasOrientation::coRightToLeft
                                           : TCanvasOrientation::coLeftToRight;
}

TRect TCanvas::ClipRect() {
  RequiredState({TCanvasStates::csHandleValid});
  RECT R{};
  GetClipBox(FHandle, &R);
  return R;
}

void TCanvas::Lock() {
  EnterCriticalSection(&FLock);
  ++FLockCount;
}

bool TCanvas::TryLock() {
  if (!TryEnterCriticalSection(&FLock)) return false;
  ++FLockCount;
  return true;
}

void TCanvas::Unlock() {
  --FLockCount;
  LeaveCriticalSection(&FLock);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3,
                  Integer X4, Integer Y4) {
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csPenValid});
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::AngleArc(Integer X, Integer Y, Cardinal Radius, Single StartAngle,
                       Single SweepAngle) {
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csPenValid});
  ::AngleArc(FHandle, X, Y, Radius, StartAngle, SweepAngle);
  Changed();
}

void TCanvas::ArcTo(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3,
                    Integer X4, Integer Y4) {
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csPenValid});
  ::ArcTo(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Chord(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3,
                    Integer X4, Integer Y4) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csPenValid, TCanvasStates::csBrushValid});
  ::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3,
                  Integer X4, Integer Y4) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csPenValid, TCanvasStates::csBrushValid});
  ::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::PolyBezier(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csPenValid});
  ::PolyBezier(FHandle, Points.data(), static_cast<DWORD>(Points.size()));
  Changed();
}

void TCanvas::PolyBezierTo(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csPenValid});
  ::PolyBezierTo(FHandle, Points.data(), static_cast<DWORD>(Points.size()));
  Changed();
}

void TCanvas::FloodFill(Integer X, Integer Y, TColor Color, TFillStyle FillStyle) {
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csBrushValid});
  ExtFloodFill(FHandle, X, Y, ColorToRGB(Color),
               FillStyle == TFillStyle::fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

namespace {
// A memory DC with a bitmap compatible with ARef selected. The members go
// in reverse: the bitmap is deselected, then the DC deleted, then the bitmap.
struct TScratchDC {
  TScratchDC(HDC ARef, int AWidth, int AHeight, bool AMonochrome)
      : Bitmap(AMonochrome ? CreateBitmap(AWidth, AHeight, 1, 1, nullptr)
                           : CreateCompatibleBitmap(ARef, AWidth, AHeight)),
        Context(CreateCompatibleDC(ARef)),
        Selection(Context.Get(), Bitmap.Get()) {
    if (!Bitmap || !Context) throw EOutOfResources(L"Out of system resources");
  }
  HDC DC() const { return Context.Get(); }

  TBitmapHandle Bitmap;
  TMemoryDC Context;
  TSelectObjectGuard Selection;
};
}  // namespace

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csBrushValid});
  HDC Src = Bitmap->Canvas()->Handle();
  int DW = RectWidth(Dest), DH = RectHeight(Dest), SW = RectWidth(Source), SH = RectHeight(Source);
  // Mask: white where the source has Color.
  TScratchDC Mask(FHandle, DW, DH, true);
  COLORREF OldBk = SetBkColor(Src, ColorToRGB(Color));
  StretchBlt(Mask.DC(), 0, 0, DW, DH, Src, Source.left, Source.top, SW, SH, SRCCOPY);
  SetBkColor(Src, OldBk);
  // Image with the masked pixels black.
  TScratchDC Image(FHandle, DW, DH, false);
  SetStretchBltMode(Image.DC(), COLORONCOLOR);
  StretchBlt(Image.DC(), 0, 0, DW, DH, Src, Source.left, Source.top, SW, SH, SRCCOPY);
  SetBkColor(Image.DC(), RGB(255, 255, 255));
  SetTextColor(Image.DC(), RGB(0, 0, 0));
  BitBlt(Image.DC(), 0, 0, DW, DH, Mask.DC(), 0, 0, 0x00220326);  // DSna
  // What shows through: the brush, or the destination under a clear brush.
  TScratchDC Back(FHandle, DW, DH, false);
  if (FBrush->Style() == TBrushStyle::bsClear) {
    BitBlt(Back.DC(), 0, 0, DW, DH, FHandle, Dest.left, Dest.top, SRCCOPY);
  } else {
    RECT R{0, 0, DW, DH};
    ::FillRect(Back.DC(), &R, FBrush->Handle());
  }
  SetBkColor(Back.DC(), RGB(255, 255, 255));
  SetTextColor(Back.DC(), RGB(0, 0, 0));
  BitBlt(Back.DC(), 0, 0, DW, DH, Mask.DC(), 0, 0, SRCAND);
  BitBlt(Image.DC(), 0, 0, DW, DH, Back.DC(), 0, 0, SRCPAINT);
  BitBlt(FHandle, Dest.left, Dest.top, DW, DH, Image.DC(), 0, 0, SRCCOPY);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csFontValid, TCanvasStates::csBrushValid});
  Canvas->RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csBrushValid});
  StretchBlt(FHandle, Dest.left, Dest.top, RectWidth(Dest), RectHeight(Dest), Canvas->FHandle,
             Source.left, Source.top, RectWidth(Source), RectHeight(Source),
             static_cast<DWORD>(FCopyMode));
  Changed();
}

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({TCanvasStates::csHandleValid});
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic, Byte Opacity) {
  if (!Graphic || Graphic->Empty()) return;
  if (Opacity == 255) {
    Draw(X, Y, Graphic);
    return;
  }
  Changing();
  RequiredState({TCanvasStates::csHandleValid});
  int W = Graphic->Width(), H = Graphic->Height();
  // The graphic is drawn over a copy of what lies under it, which is then
  // blended back with the opacity.
  TOwned<TBitmap> Layer(Create<TBitmap>());
  Layer->SetPixelFormat(TPixelFormat::pf24bit);
  Layer->SetSize(W, H);
  HDC L = Layer->Canvas()->Handle();
  BitBlt(L, 0, 0, W, H, FHandle, X, Y, SRCCOPY);
  Layer->Canvas()->Draw(0, 0, Graphic);
  BLENDFUNCTION Blend{AC_SRC_OVER, 0, Opacity, 0};
  GdiAlphaBlend(FHandle, X, Y, W, H, L, 0, 0, W, H, Blend);
  Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({TCanvasStates::csHandleValid});
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csPenValid, TCanvasStates::csBrushValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csBrushValid});
  ::FillRect(FHandle, &Rect, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csBrushValid});
  ::FrameRect(FHandle, &Rect, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csBrushValid});
  ::DrawFocusRect(FHandle, &Rect);
  Changed();
}

void TCanvas::LineTo(Integer X, Integer Y) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csPenValid, TCanvasStates::csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::MoveTo(Integer X, Integer Y) {
  if (!FHandle) {
    FPenPos = Point(X, Y);
    return;
  }
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csPenValid, TCanvasStates::csBrushValid});
  ::Polygon(FHandle, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csPenValid, TCanvasStates::csBrushValid});
  ::Polyline(FHandle, Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csBrushValid, TCanvasStates::csPenValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csBrushValid, TCanvasStates::csPenValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::TextOut(Integer X, Integer Y, const String& Text) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csFontValid, TCanvasStates::csBrushValid});
  if (CanvasOrientation() == TCanvasOrientation::coRightToLeft) X += TextWidth(Text) + 1;
  ExtTextOutW(FHandle, X, Y, static_cast<UINT>(FTextFlags), nullptr, Text.c_str(),
              static_cast<UINT>(Text.size()), nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, Integer X, Integer Y, const String& Text) {
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csFontValid, TCanvasStates::csBrushValid});
  UINT Options = ETO_CLIPPED | static_cast<UINT>(FTextFlags);
  if (FBrush->Style() != TBrushStyle::bsClear) Options |= ETO_OPAQUE;
  if ((FTextFlags & ETO_RTLREADING) && CanvasOrientation() == TCanvasOrientation::coRightToLeft)
    X += TextWidth(Text) + 1;
  ExtTextOutW(FHandle, X, Y, Options, &Rect, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(TRect& Rect, String& Text, TTextFormat TextFormat) {
  static const UINT Flags[] = {
      DT_BOTTOM,       DT_CALCRECT,      DT_CENTER,        DT_EDITCONTROL,
      DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_EXPANDTABS,    DT_EXTERNALLEADING,
      DT_LEFT,         DT_MODIFYSTRING,  DT_NOCLIP,        DT_NOPREFIX,
      DT_RIGHT,        DT_RTLREADING,    DT_SINGLELINE,    DT_TOP,
      DT_VCENTER,      DT_WORDBREAK,     DT_HIDEPREFIX,    DT_NOFULLWIDTHCHARBREAK,
      DT_PREFIXONLY,   DT_TABSTOP,       DT_WORD_ELLIPSIS, 0};
  UINT Format = 0;
  for (size_t I = 0; I < std::size(Flags); ++I)
    if (TextFormat.Contains(static_cast<TTextFormats>(I))) Format |= Flags[I];
  Changing();
  RequiredState(
      {TCanvasStates::csHandleValid, TCanvasStates::csFontValid, TCanvasStates::csBrushValid});
  if (TextFormat.Contains(TTextFormats::tfModifyString)) {
    // DrawText may write up to four more characters (the ellipsis).
    std::vector<wchar_t> Buf(Text.begin(), Text.end());
    Buf.resize(Text.size() + 5, L'\0');
    DrawTextW(FHandle, Buf.data(), static_cast<int>(Text.size()), &Rect, Format);
    Text = Buf.data();
  } else {
    DrawTextW(FHandle, Text.c_str(), static_cast<int>(Text.size()), &Rect, Format);
  }
  Changed();
}

TSize TCanvas::TextExtent(const String& Text) {
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csFontValid});
  SIZE S{0, 0};
  GetTextExtentPoint32W(FHandle, Text.c_str(), static_cast<int>(Text.size()), &S);
  return S;
}

TColor TCanvas::Pixels(Integer X, Integer Y) {
  RequiredState({TCanvasStates::csHandleValid});
  return static_cast<TColor>(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixel(Integer X, Integer Y, TColor AValue) {
  Changing();
  RequiredState({TCanvasStates::csHandleValid, TCanvasStates::csPenValid});
  ::SetPixel(FHandle, X, Y, ColorToRGB(AValue));
  Changed();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TGraphic)

void TGraphic::SetTransparent(bool AValue) {
  if (AValue == FTransparent) return;
  FTransparent = AValue;
  Changed(this);
}

void TGraphic::SetModified(bool AValue) {
  if (AValue)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
  TOwned<TFileStream> Stream(Create<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(Stream.get());
}

void TGraphic::SaveToFile(const String& FileName) {
  TOwned<TFileStream> Stream(Create<TFileStream>(FileName, fmCreate));
  SaveToStream(Stream.get());
}

bool TGraphic::Equals(TGraphic* Graphic) {
  if (!Graphic || Graphic->ClassType() != ClassType()) return false;
  if (Graphic == this) return true;
  if (Empty() || Graphic->Empty()) return Empty() && Graphic->Empty();
  TOwned<TMemoryStream> Mine = MakeOwned<TMemoryStream>();
  TOwned<TMemoryStream> Theirs = MakeOwned<TMemoryStream>();
  WriteData(Mine.get());
  Graphic->WriteData(Theirs.get());
  return Mine->Size() == Theirs->Size() &&
         std::memcmp(Mine->Memory(), Theirs->Memory(), static_cast<size_t>(Mine->Size())) == 0;
}

void TGraphic::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(L"Data", MakeEvent<&TGraphic::ReadData>(this),
                              MakeEvent<&TGraphic::WriteData>(this), !Empty());
}

void TGraphic::ReadData(TStream* Stream) { LoadFromStream(Stream); }

void TGraphic::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGraphic::LoadFromClipboardFormat(Word, HANDLE, HPALETTE) {
  throw EInvalidGraphic(ClassName() + L" cannot be read from the clipboard");
}

void TGraphic::SaveToClipboardFormat(Word&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic(ClassName() + L" cannot be put on the clipboard");
}

// ---------------------------------------------------------------------------
// ---------------------------------------------------------------------------
// The memory contexts of bitmap canvases. One lock guards the list of
// canvases that hold a context. A context is not tied to a thread; a canvas
// that holds one counts against the limit of the thread that gave it the
// context, and competes there by the time of its last use on that thread's
// clock. A context given back is deleted, not kept: a canvas leaves
// origins, clipping, modes and layout behind that no reset undoes reliably
// once callers have saved and restored DC states of their own.
struct TBitmapContextCache {
  static SRWLOCK Lock;
  static std::vector<TBitmapCanvas*>* Users;

  static HDC Acquire(TBitmapCanvas* ACanvas);
  static void Release(TBitmapCanvas* ACanvas, HDC ADC) noexcept;
  static uint64_t Tick() noexcept {
    thread_local uint64_t Clock = 0;
    return ++Clock;
  }
};

SRWLOCK TBitmapContextCache::Lock = SRWLOCK_INIT;
std::vector<TBitmapCanvas*>* TBitmapContextCache::Users = nullptr;

HDC TBitmapContextCache::Acquire(TBitmapCanvas* ACanvas) {
  TBitmapCanvas* Victim = nullptr;
  {
    TSRWLockHold<true> Hold(Lock);
    if (!Users) Users = new std::vector<TBitmapCanvas*>();
    DWORD Thread = GetCurrentThreadId();
    Integer Held = 0;
    for (TBitmapCanvas* C : *Users)
      if (C->FContextThread == Thread) ++Held;
    // The canvas of this thread used longest ago that nobody has locked
    // gives its context back; locked ones keep theirs, even past the limit.
    if (Held >= BitmapCanvasContextLimit)
      for (TBitmapCanvas* C : *Users)
        if (C->FContextThread == Thread && C->LockCount() == 0 &&
            (!Victim || C->FLastUse < Victim->FLastUse))
          Victim = C;
    Users->reserve(Users->size() + 1);
  }
  if (Victim) Victim->FreeContext();
  HDC DC = CreateCompatibleDC(nullptr);
  if (!DC) RaiseLastOSError();
  TSRWLockHold<true> Hold(Lock);
  ACanvas->FContextThread = GetCurrentThreadId();
  ACanvas->FLastUse = Tick();
  Users->push_back(ACanvas);
  return DC;
}

void TBitmapContextCache::Release(TBitmapCanvas* ACanvas, HDC ADC) noexcept {
  {
    TSRWLockHold<true> Hold(Lock);
    if (Users) std::erase(*Users, ACanvas);
    ACanvas->FContextThread = 0;
  }
  DeleteDC(ADC);
}

Integer BitmapCanvasContextCount() {
  TSRWLockHold<false> Hold(TBitmapContextCache::Lock);
  return TBitmapContextCache::Users ? static_cast<Integer>(TBitmapContextCache::Users->size()) : 0;
}

IMPLEMENT_CLASS(TBitmapCanvas)

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::HandleUsed() { FLastUse = TBitmapContextCache::Tick(); }

void TBitmapCanvas::CreateHandle() {
  if (!FBitmap) return;
  HDC DC = TBitmapContextCache::Acquire(this);
  if (FBitmap->FHandle) FOldBitmap = SelectObject(DC, FBitmap->FHandle.Get());
  SetHandle(DC);
}

void TBitmapCanvas::FreeContext() {
  if (!HandleAllocated()) return;
  HDC DC = Handle();
  SetHandle(nullptr);
  if (FOldBitmap) SelectObject(DC, FOldBitmap);
  FOldBitmap = nullptr;
  TBitmapContextCache::Release(this, DC);
}

IMPLEMENT_CREATABLE_CLASS(TBitmap)

TBitmap::TBitmap() = default;

TBitmap::TBitmap(Integer AWidth, Integer AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() {
  // The canvas deselects the bitmap before it is deleted.
  FCanvas.reset();
}

void TBitmap::Dormant() { FreeCanvasContext(); }

void TBitmap::FreeCanvasContext() {
  if (FCanvas) FCanvas->FreeContext();
}

namespace {
// A memory DC of its own with ABitmap selected, for one GDI call on the
// bitmap; the bitmap must be in no other DC.
struct TBitmapDC {
  explicit TBitmapDC(HBITMAP ABitmap)
      : Context(CreateCompatibleDC(nullptr)), Selection(Context.Get(), ABitmap) {
    if (!Context) throw EOutOfResources(L"Out of system resources");
  }
  HDC DC() const { return Context.Get(); }

  TMemoryDC Context;
  TSelectObjectGuard Selection;
};
}  // namespace

HPALETTE TBitmap::Palette() {
  if (FPalette || !FHandle || BitCount() > 8) return FPalette.Get();
  RGBQUAD Table[256];
  UINT N;
  // The bitmap may be selected into its canvas; the colour table is read
  // from whichever context holds it.
  if (FCanvas && FCanvas->HandleAllocated()) {
    N = GetDIBColorTable(FCanvas->Handle(), 0, 256, Table);
  } else {
    TBitmapDC DC(FHandle.Get());
    N = GetDIBColorTable(DC.DC(), 0, 256, Table);
  }
  if (N == 0) return nullptr;
  std::vector<Byte> Buf(sizeof(LOGPALETTE) + N * sizeof(PALETTEENTRY));
  auto* Pal = reinterpret_cast<LOGPALETTE*>(Buf.data());
  Pal->palVersion = 0x300;
  Pal->palNumEntries = static_cast<WORD>(N);
  for (UINT I = 0; I < N; ++I)
    Pal->palPalEntry[I] = PALETTEENTRY{Table[I].rgbRed, Table[I].rgbGreen, Table[I].rgbBlue, 0};
  FPalette.Reset(CreatePalette(Pal));
  return FPalette.Get();
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas.reset(Create<TBitmapCanvas>(this));
  return FCanvas.get();
}

WORD TBitmap::BitCount() const {
  switch (FPixelFormat) {
    case TPixelFormat::pf1bit:
      return 1;
    case TPixelFormat::pf4bit:
      return 4;
    case TPixelFormat::pf8bit:
      return 8;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit:
      return 16;
    case TPixelFormat::pf24bit:
      return 24;
    default:
      return 32;
  }
}

Integer TBitmap::BytesPerLine() const { return ((FWidth * BitCount() + 31) / 32) * 4; }

void TBitmap::NewImage(Integer AWidth, Integer AHeight, TPixelFormat AFormat, bool KeepContent) {
  if (AWidth < 0 || AHeight < 0) throw EInvalidGraphicOperation(L"Invalid image size");
  FreeCanvasContext();
  // The old image goes when this ends, whether the new one was made or not.
  TBitmapHandle OldHandle(FHandle.Release());
  Integer OldW = FWidth, OldH = FHeight;
  FPalette.Reset();
  FBits = nullptr;
  FPixelFormat = AFormat;
  FWidth = AWidth;
  FHeight = AHeight;
  if (AWidth > 0 && AHeight > 0) {
    struct {
      BITMAPINFOHEADER Header;
      RGBQUAD Colors[256];
    } Info{};
    Info.Header.biSize = sizeof(BITMAPINFOHEADER);
    Info.Header.biWidth = AWidth;
    Info.Header.biHeight = AHeight;  // bottom-up
    Info.Header.biPlanes = 1;
    Info.Header.biBitCount = BitCount();
    Info.Header.biCompression = BI_RGB;
    if (Info.Header.biBitCount <= 8) {
      // A grey ramp palette; monochrome is black and white.
      int N = 1 << Info.Header.biBitCount;
      for (int I = 0; I < N; ++I) {
        BYTE V = static_cast<BYTE>(I * 255 / (N - 1));
        Info.Colors[I] = RGBQUAD{V, V, V, 0};
      }
      Info.Header.biClrUsed = static_cast<DWORD>(N);
    }
    FHandle.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&Info), DIB_RGB_COLORS,
                                   &FBits, nullptr, 0));
    if (!FHandle) {
      FWidth = FHeight = 0;
      FBits = nullptr;
      throw EOutOfResources(L"Out of system resources");
    }
    // New areas start white, except for 32-bit images, which start fully
    // transparent black.
    if (Info.Header.biBitCount != 32)
      std::memset(FBits, 0xFF, static_cast<size_t>(BytesPerLine()) * static_cast<size_t>(AHeight));
    if (KeepContent && OldHandle) {
      TBitmapDC Src(OldHandle.Get()), Dst(FHandle.Get());
      BitBlt(Dst.DC(), 0, 0, std::min(OldW, AWidth), std::min(OldH, AHeight), Src.DC(), 0, 0,
             SRCCOPY);
    }
  }
  Changed(this);
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
  if (AWidth == FWidth && AHeight == FHeight && FHandle) return;
  NewImage(AWidth, AHeight, FPixelFormat, true);
}

void TBitmap::SetPixelFormat(TPixelFormat AValue) {
  if (AValue == FPixelFormat) return;
  NewImage(FWidth, FHeight, AValue, true);
}

void TBitmap::SetAlphaFormat(TAlphaFormat AValue) {
  if (AValue == FAlphaFormat) return;
  if (FPixelFormat == TPixelFormat::pf32bit && FBits) {
    GdiFlush();
    auto* P = static_cast<Byte*>(FBits);
    size_t N = static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight);
    bool Premultiply = AValue == TAlphaFormat::afDefined && FAlphaFormat == TAlphaFormat::afIgnored;
    bool Unpremultiply =
        AValue == TAlphaFormat::afIgnored && FAlphaFormat == TAlphaFormat::afDefined;
    for (size_t I = 0; I < N; ++I, P += 4) {
      if (Premultiply) {
        for (int C = 0; C < 3; ++C) P[C] = static_cast<Byte>((P[C] * P[3] + 127) / 255);
      } else if (Unpremultiply && P[3] != 0) {
        for (int C = 0; C < 3; ++C)
          P[C] = static_cast<Byte>(std::min(255, (P[C] * 255 + P[3] / 2) / P[3]));
      }
    }
  }
  FAlphaFormat = AValue;
  Changed(this);
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == TTransparentMode::tmFixed && FTransparentColor != clDefault)
    return FTransparentColor;
  // Automatic: the colour of the bottom-left pixel.
  if (Empty()) return clDefault;
  return Canvas()->Pixels(0, FHeight - 1) & 0xFFFFFF;
}

void TBitmap::SetTransparentColor(TColor AValue) {
  if (AValue == FTransparentColor) return;
  FTransparentColor = AValue;
  FTransparentMode = AValue == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode AValue) {
  if (AValue == FTransparentMode) return;
  FTransparentMode = AValue;
  if (AValue == TTransparentMode::tmAuto) FTransparentColor = clDefault;
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeCanvasContext();
  FPalette.Reset();
  FBits = nullptr;
  FWidth = FHeight = 0;
  return FHandle.Release();
}

void* TBitmap::ScanLine(Integer Row) {
  if (!FBits || Row < 0 || Row >= FHeight)
    throw EInvalidGraphicOperation(L"Scan line index out of range");
  GdiFlush();
  return static_cast<Byte*>(FBits) + static_cast<size_t>(FHeight - 1 - Row) * BytesPerLine();
}

void TBitmap::FreeImage() { NewImage(0, 0, FPixelFormat, false); }

void TBitmap::Assign(TPersistent* Source) {
  if (auto* B = AsOrNull<TBitmap>(Source)) {
    if (B == this) return;
    NewImage(B->FWidth, B->FHeight, B->FPixelFormat, false);
    if (FBits && B->FBits) {
      GdiFlush();
      std::memcpy(FBits, B->FBits,
                  static_cast<size_t>(BytesPerLine()) * static_cast<size_t>(FHeight));
    }
    FAlphaFormat = B->FAlphaFormat;
    FTransparentMode = B->FTransparentMode;
    FTransparentColor = B->FTransparentColor;
    SetTransparent(B->Transparent());
    Changed(this);
    return;
  }
  if (!Source) {
    FreeImage();
    return;
  }
  inherited::Assign(Source);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (Empty()) return;
  HDC Dest = ACanvas->Handle();
  // The transparent colour is read through the bitmap's canvas, before the
  // bitmap leaves it: a bitmap can be selected into one DC at a time.
  COLORREF Transparency = Transparent() ? ColorToRGB(TransparentColor()) : 0;
  if (ACanvas != FCanvas.get()) FreeCanvasContext();
  TBitmapDC Src(FHandle.Get());
  int W = RectWidth(Rect), H = RectHeight(Rect);
  if (FPixelFormat == TPixelFormat::pf32bit && FAlphaFormat != TAlphaFormat::afIgnored) {
    BLENDFUNCTION Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(Dest, Rect.left, Rect.top, W, H, Src.DC(), 0, 0, FWidth, FHeight, Blend);
  } else if (Transparent()) {
    GdiTransparentBlt(Dest, Rect.left, Rect.top, W, H, Src.DC(), 0, 0, FWidth, FHeight,
                      Transparency);
  } else {
    SetStretchBltMode(Dest, COLORONCOLOR);
    StretchBlt(Dest, Rect.left, Rect.top, W, H, Src.DC(), 0, 0, FWidth, FHeight,
               static_cast<DWORD>(ACanvas->CopyMode()));
  }
}

void TBitmap::SetFromBitmapInfo(const BITMAPINFO* Info, const void* Bits) {
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  TPixelFormat Format;
  switch (H.biBitCount) {
    case 1:
      Format = TPixelFormat::pf1bit;
      break;
    case 4:
      Format = TPixelFormat::pf4bit;
      break;
    case 8:
      Format = TPixelFormat::pf8bit;
      break;
    case 16:
      Format = TPixelFormat::pf16bit;
      break;
    case 24:
      Format = TPixelFormat::pf24bit;
      break;
    case 32:
      Format = TPixelFormat::pf32bit;
      break;
    default:
      throw EInvalidGraphic(L"Bitmap image is not valid");
  }
  Integer W = H.biWidth, Ht = H.biHeight < 0 ? -H.biHeight : H.biHeight;
  NewImage(W, Ht, Format, false);
  if (!FHandle) return;
  if (H.biBitCount <= 8) {
    // Keep the file's palette rather than our grey ramp, before the pixels
    // arrive, so that indices keep their colours.
    UINT N = H.biClrUsed ? std::min<UINT>(H.biClrUsed, 256) : (1u << H.biBitCount);
    TBitmapDC PalDC(FHandle.Get());
    SetDIBColorTable(PalDC.DC(), 0, N, Info->bmiColors);
  }
  if (H.biCompression == BI_RGB && H.biHeight > 0) {
    // Same layout as ours: the rows copy as they are.
    GdiFlush();
    std::memcpy(FBits, Bits, static_cast<size_t>(BytesPerLine()) * static_cast<size_t>(Ht));
    return;
  }
  // Compressed, bit fields or top-down: let GDI convert.
  TMemoryDC DC(CreateCompatibleDC(nullptr));
  SetDIBits(DC.Get(), FHandle.Get(), 0, static_cast<UINT>(Ht), Bits, Info, DIB_RGB_COLORS);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  Int64 Start = Stream->Position();
  Int64 Avail = Stream->Size() - Start;
  BITMAPFILEHEADER File{};
  if (Avail < static_cast<Int64>(sizeof(File) + sizeof(BITMAPINFOHEADER)))
    throw EInvalidGraphic(L"Bitmap image is not valid");
  Stream->ReadBuffer(&File, sizeof(File));
  if (File.bfType != 0x4D42 || File.bfOffBits < sizeof(File) + sizeof(BITMAPINFOHEADER) ||
      File.bfOffBits > Avail)
    throw EInvalidGraphic(L"Bitmap image is not valid");
  // Everything after the file header: info header, palette, pixels.
  Int64 Rest = Avail - static_cast<Int64>(sizeof(File));
  if (File.bfSize >= sizeof(File) && File.bfSize <= Avail) Rest = File.bfSize - sizeof(File);
  std::vector<Byte> Data(static_cast<size_t>(Rest));
  Stream->ReadBuffer(Data.data(), static_cast<Integer>(Rest));
  auto* Info = reinterpret_cast<const BITMAPINFO*>(Data.data());
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biSize < sizeof(BITMAPINFOHEADER) || H.biWidth <= 0 || H.biHeight == 0 || H.biPlanes != 1)
    throw EInvalidGraphic(L"Bitmap image is not valid");
  Int64 Rows = H.biHeight < 0 ? -static_cast<Int64>(H.biHeight) : H.biHeight;
  Int64 Stride = ((static_cast<Int64>(H.biWidth) * H.biBitCount + 31) / 32) * 4;
  size_t BitsOffset = File.bfOffBits - sizeof(File);
  if (H.biCompression == BI_RGB || H.biCompression == BI_BITFIELDS) {
    if (static_cast<Int64>(BitsOffset) + Stride * Rows > Rest)
      throw EInvalidGraphic(L"Bitmap image is not valid");
  } else if (BitsOffset > Data.size()) {
    throw EInvalidGraphic(L"Bitmap image is not valid");
  }
  SetFromBitmapInfo(Info, Data.data() + BitsOffset);
}

void TBitmap::SaveToStream(TStream* Stream) {
  WORD Bits = Empty() ? 24 : BitCount();
  Integer Stride = Empty() ? 0 : BytesPerLine();
  DWORD Colors = Bits <= 8 ? (1u << Bits) : 0;
  BITMAPINFOHEADER Info{};
  Info.biSize = sizeof(Info);
  Info.biWidth = FWidth;
  Info.biHeight = FHeight;
  Info.biPlanes = 1;
  Info.biBitCount = Bits;
  Info.biCompression = BI_RGB;
  Info.biSizeImage = static_cast<DWORD>(Stride) * static_cast<DWORD>(FHeight);
  Info.biClrUsed = Colors;
  std::vector<RGBQUAD> Palette(Colors);
  FreeCanvasContext();
  if (Colors && FHandle) {
    TBitmapDC DC(FHandle.Get());
    GetDIBColorTable(DC.DC(), 0, Colors, Palette.data());
  }
  BITMAPFILEHEADER File{};
  File.bfType = 0x4D42;
  File.bfOffBits = static_cast<DWORD>(sizeof(File) + sizeof(Info) + Colors * sizeof(RGBQUAD));
  File.bfSize = File.bfOffBits + Info.biSizeImage;
  Stream->WriteBuffer(&File, sizeof(File));
  Stream->WriteBuffer(&Info, sizeof(Info));
  if (Colors) Stream->WriteBuffer(Palette.data(), static_cast<Integer>(Colors * sizeof(RGBQUAD)));
  if (FBits) {
    GdiFlush();
    Stream->WriteBuffer(FBits, static_cast<Integer>(Info.biSizeImage));
  }
}

void TBitmap::ReadData(TStream* Stream) {
  int32_t Size = 0;
  Stream->ReadBuffer(&Size, sizeof Size);
  if (Size <= 0)
    FreeImage();
  else
    LoadFromStream(Stream);
}

void TBitmap::WriteData(TStream* Stream) {
  TOwned<TMemoryStream> File = MakeOwned<TMemoryStream>();
  SaveToStream(File.get());
  int32_t Size = static_cast<int32_t>(File->Size());
  Stream->WriteBuffer(&Size, sizeof Size);
  File->SaveToStream(Stream);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  TBitmapHandle H(static_cast<HBITMAP>(
      LoadImageW(Instance, ResName.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!H) throw EResNotFound(L"Resource " + ResName + L" not found");
  DIBSECTION DS{};
  GetObjectW(H.Get(), sizeof(DS), &DS);
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
  } Info{};
  Info.Header = DS.dsBmih;
  Info.Header.biHeight = DS.dsBm.bmHeight;
  std::vector<Byte> Pixels(static_cast<size_t>(DS.dsBm.bmWidthBytes) * DS.dsBm.bmHeight);
  {
    TMemoryDC DC(CreateCompatibleDC(nullptr));
    GetDIBits(DC.Get(), H.Get(), 0, static_cast<UINT>(DS.dsBm.bmHeight), Pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&Info), DIB_RGB_COLORS);
  }
  H.Reset();
  SetFromBitmapInfo(reinterpret_cast<BITMAPINFO*>(&Info), Pixels.data());
}

void TBitmap::SetHandleType(TBitmapHandleType AValue) {
  if (AValue != TBitmapHandleType::bmDIB)
    throw EInvalidGraphicOperation(L"Device-dependent bitmaps are not supported");
}

void TBitmap::LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette) {
  BITMAP Data{};
  if (AFormat != CF_BITMAP || !AData || GetObjectType(AData) != OBJ_BITMAP ||
      GetObjectW(AData, sizeof(Data), &Data) == 0)
    throw EInvalidGraphic(L"Unsupported clipboard format");
  auto* Source = static_cast<HBITMAP>(AData);
  NewImage(Data.bmWidth, Data.bmHeight,
           Data.bmBitsPixel == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit, false);
  if (!FHandle) return;
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = FWidth;
  Info.bmiHeader.biHeight = FHeight;  // bottom-up, as this bitmap's rows lie
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = BitCount();
  Info.bmiHeader.biCompression = BI_RGB;
  TScreenDC DC;
  HPALETTE OldPalette = APalette ? SelectPalette(DC.Get(), APalette, FALSE) : nullptr;
  auto RestorePalette = Finally([&] {
    if (OldPalette) SelectPalette(DC.Get(), OldPalette, FALSE);
  });
  if (APalette) RealizePalette(DC.Get());
  GdiFlush();
  GetDIBits(DC.Get(), Source, 0, static_cast<UINT>(FHeight), FBits, &Info, DIB_RGB_COLORS);
  Changed(this);
}

void TBitmap::SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette) {
  if (Empty()) throw EInvalidGraphicOperation(L"Cannot put an empty bitmap on the clipboard");
  FreeCanvasContext();
  TBitmapHandle Copy(CreateCompatibleBitmap(TScreenDC().Get(), FWidth, FHeight));
  if (!Copy) throw EOutOfResources(L"Out of system resources");
  {
    TBitmapDC Src(FHandle.Get()), Dst(Copy.Get());
    BitBlt(Dst.DC(), 0, 0, FWidth, FHeight, Src.DC(), 0, 0, SRCCOPY);
  }
  AFormat = CF_BITMAP;
  AData = Copy.Release();
  APalette = nullptr;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TIcon)

namespace {
// The two bitmaps GetIconInfo makes, which the caller owns.
struct TIconBitmaps {
  explicit TIconBitmaps(HICON AIcon) {
    ICONINFO Info{};
    Valid = GetIconInfo(AIcon, &Info) != FALSE;
    Color.Reset(Info.hbmColor);
    Mask.Reset(Info.hbmMask);
  }
  bool Valid;
  TBitmapHandle Color;
  TBitmapHandle Mask;
};
}  // namespace

void TIcon::SetHandle(HICON AValue) {
  if (AValue == FHandle.Get()) return;
  FHandle.Reset(AValue);
  FData.clear();
  FWidth = FHeight = 0;
  if (FHandle) {
    TIconBitmaps Bitmaps(FHandle.Get());
    if (Bitmaps.Valid) {
      BITMAP BM{};
      GetObjectW(Bitmaps.Color ? Bitmaps.Color.Get() : Bitmaps.Mask.Get(), sizeof(BM), &BM);
      FWidth = BM.bmWidth;
      FHeight = Bitmaps.Color ? BM.bmHeight : BM.bmHeight / 2;
    }
  }
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  FData.clear();
  return FHandle.Release();
}

void TIcon::Assign(TPersistent* Source) {
  if (auto* I = AsOrNull<TIcon>(Source)) {
    if (I == this) return;
    TBytes Data = I->FData;
    SetHandle(I->FHandle ? CopyIcon(I->FHandle.Get()) : nullptr);
    FData = Data;
    return;
  }
  inherited::Assign(Source);
}

void TIcon::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  TIconHandle H(static_cast<HICON>(LoadImageW(Instance, ResName.c_str(), IMAGE_ICON, 0, 0, 0)));
  if (!H) throw EResNotFound(L"Resource " + ResName + L" not found");
  SetHandle(H.Release());
}

void TIcon::LoadFromStream(TStream* Stream) {
  Int64 Avail = Stream->Size() - Stream->Position();
  if (Avail < 6 + 16 || Avail > (64 << 20)) throw EInvalidGraphic(L"Icon image is not valid");
  TBytes Data(static_cast<size_t>(Avail), 0);
  Stream->ReadBuffer(Data.data(), static_cast<Integer>(Avail));
  const Byte* P = Data.data();
  WORD Reserved = static_cast<WORD>(P[0] | (P[1] << 8)),
       Type = static_cast<WORD>(P[2] | (P[3] << 8)), Count = static_cast<WORD>(P[4] | (P[5] << 8));
  if (Reserved != 0 || Type != 1 || Count == 0 || 6 + 16u * Count > Data.size())
    throw EInvalidGraphic(L"Icon image is not valid");
  // The first image of the directory, as the framework shows an icon file.
  const Byte* E = P + 6;
  DWORD Size = static_cast<DWORD>(E[8] | (E[9] << 8) | (E[10] << 16) | (E[11] << 24));
  DWORD Offset = static_cast<DWORD>(E[12] | (E[13] << 8) | (E[14] << 16) | (E[15] << 24));
  if (Offset > Data.size() || Size > Data.size() - Offset)
    throw EInvalidGraphic(L"Icon image is not valid");
  TIconHandle H(
      CreateIconFromResourceEx(const_cast<Byte*>(P + Offset), Size, TRUE, 0x00030000, 0, 0, 0));
  if (!H) throw EInvalidGraphic(L"Icon image is not valid");
  SetHandle(H.Release());
  FData = std::move(Data);
}

void TIcon::SaveToStream(TStream* Stream) {
  if (FData.empty())
    throw EInvalidGraphicOperation(L"Cannot save an icon that was not loaded from data");
  Stream->WriteBuffer(FData.data(), static_cast<Integer>(FData.size()));
}

void TIcon::AssignTo(TPersistent* Dest) {
  auto* B = AsOrNull<TBitmap>(Dest);
  if (!B) {
    inherited::AssignTo(Dest);
    return;
  }
  if (!FHandle) {
    B->Assign(nullptr);
    return;
  }
  TIconBitmaps Info(FHandle.Get());
  if (!Info.Valid) RaiseLastOSError();
  Integer W = FWidth, H = FHeight;
  auto Read = [W, H](HBITMAP ABitmap, Integer ATop) {
    std::vector<RGBQUAD> Pixels(static_cast<size_t>(W) * H);
    BITMAPINFO BI{};
    BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    BI.bmiHeader.biPlanes = 1;
    BI.bmiHeader.biBitCount = 32;
    BI.bmiHeader.biCompression = BI_RGB;
    BITMAP BM{};
    GetObjectW(ABitmap, sizeof(BM), &BM);
    BI.bmiHeader.biWidth = BM.bmWidth;
    BI.bmiHeader.biHeight = -BM.bmHeight;  // top-down
    std::vector<RGBQUAD> All(static_cast<size_t>(BM.bmWidth) * BM.bmHeight);
    TMemoryDC DC(CreateCompatibleDC(nullptr));
    GetDIBits(DC.Get(), ABitmap, 0, static_cast<UINT>(BM.bmHeight), All.data(), &BI,
              DIB_RGB_COLORS);
    for (Integer Y = 0; Y < H && Y + ATop < BM.bmHeight; ++Y)
      for (Integer X = 0; X < W && X < BM.bmWidth; ++X)
        Pixels[static_cast<size_t>(Y) * W + X] =
            All[static_cast<size_t>(Y + ATop) * BM.bmWidth + X];
    return Pixels;
  };
  // A monochrome icon keeps its colour as the second half of the mask.
  std::vector<RGBQUAD> Color =
      Read(Info.Color ? Info.Color.Get() : Info.Mask.Get(), Info.Color ? 0 : H);
  std::vector<RGBQUAD> Mask = Read(Info.Mask.Get(), 0);
  bool HasAlpha = Info.Color && std::any_of(Color.begin(), Color.end(),
                                            [](const RGBQUAD& Q) { return Q.rgbReserved; });
  if (!HasAlpha)
    for (size_t I = 0; I < Color.size(); ++I)
      Color[I] = Mask[I].rgbRed
                     ? RGBQUAD{0, 0, 0, 0}
                     : RGBQUAD{Color[I].rgbBlue, Color[I].rgbGreen, Color[I].rgbRed, 255};
  B->SetAlphaFormat(TAlphaFormat::afIgnored);
  B->SetPixelFormat(TPixelFormat::pf32bit);
  B->SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y)
    std::memcpy(B->ScanLine(Y), Color.data() + static_cast<size_t>(Y) * W,
                static_cast<size_t>(W) * sizeof(RGBQUAD));
  B->SetModified(true);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  DrawIconEx(ACanvas->Handle(), Rect.left, Rect.top, FHandle.Get(), RectWidth(Rect),
             RectHeight(Rect), 0, nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------
namespace {
constexpr DWORD PlaceableKey = 0x9AC6CDD7;
constexpr Integer HundredthMMPerInch = 2540;

#pragma pack(push, 2)
struct TPlaceableHeader {
  DWORD Key;
  WORD Handle;
  SHORT Left, Top, Right, Bottom;
  WORD Inch;
  DWORD Reserved;
  WORD CheckSum;
};
#pragma pack(pop)
static_assert(sizeof(TPlaceableHeader) == 22);

// The exclusive or of the header's first ten words.
WORD PlaceableCheckSum(const TPlaceableHeader& AHeader) {
  const auto* W = reinterpret_cast<const WORD*>(&AHeader);
  WORD Sum = 0;
  for (int I = 0; I < 10; ++I) Sum ^= W[I];
  return Sum;
}

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(L"Metafile is not valid"); }
}  // namespace

IMPLEMENT_CREATABLE_CLASS(TMetafile)

void TMetafile::Assign(TPersistent* Source) {
  if (auto* M = AsOrNull<TMetafile>(Source)) {
    if (M == this) return;
    TEnhMetaFileHandle Copy(M->FHandle ? CopyEnhMetaFileW(M->FHandle.Get(), nullptr) : nullptr);
    if (M->FHandle && !Copy) throw EOutOfResources(L"Out of system resources");
    FHandle = std::move(Copy);
    FMMWidth = M->FMMWidth;
    FMMHeight = M->FMMHeight;
    FInch = M->FInch;
    FEnhanced = M->FEnhanced;
    Changed(this);
    return;
  }
  if (!Source) {
    Clear();
    return;
  }
  inherited::Assign(Source);
}

Integer TMetafile::PixelsPerInch() const { return FInch ? FInch : GetScreenDPI(); }

Integer TMetafile::Width() const { return MulDiv(FMMWidth, PixelsPerInch(), HundredthMMPerInch); }

Integer TMetafile::Height() const { return MulDiv(FMMHeight, PixelsPerInch(), HundredthMMPerInch); }

void TMetafile::SetWidth(Integer AValue) {
  SetMMWidth(MulDiv(AValue, HundredthMMPerInch, PixelsPerInch()));
}

void TMetafile::SetHeight(Integer AValue) {
  SetMMHeight(MulDiv(AValue, HundredthMMPerInch, PixelsPerInch()));
}

void TMetafile::SetMMWidth(Integer AValue) {
  if (AValue == FMMWidth) return;
  FMMWidth = AValue;
  Changed(this);
}

void TMetafile::SetMMHeight(Integer AValue) {
  if (AValue == FMMHeight) return;
  FMMHeight = AValue;
  Changed(this);
}

void TMetafile::SetInch(Word AValue) {
  if (AValue == FInch) return;
  FInch = AValue;
  Changed(this);
}

void TMetafile::SetEnhanced(bool AValue) {
  if (AValue == FEnhanced) return;
  FEnhanced = AValue;
  Changed(this);
}

void TMetafile::SetHandle(HENHMETAFILE AValue) {
  if (AValue == FHandle.Get()) return;
  FHandle.Reset(AValue);
  FMMWidth = FMMHeight = 0;
  FInch = 0;
  ENHMETAHEADER Header{};
  if (FHandle && GetEnhMetaFileHeader(FHandle.Get(), sizeof(Header), &Header)) {
    FMMWidth = Header.rclFrame.right - Header.rclFrame.left;
    FMMHeight = Header.rclFrame.bottom - Header.rclFrame.top;
  }
  Changed(this);
}

HENHMETAFILE TMetafile::ReleaseHandle() { return FHandle.Release(); }

void TMetafile::Clear() {
  if (!FHandle) return;
  SetHandle(nullptr);
}

void TMetafile::LoadFromStream(TStream* Stream) {
  DWORD First = 0;
  Int64 Start = Stream->Position();
  if (Stream->Read(&First, sizeof First) != sizeof First) InvalidMetafile();
  Stream->SetPosition(Start);
  if (First == EMR_HEADER)
    ReadEMFStream(Stream);
  else if (First == PlaceableKey)
    ReadWMFStream(Stream);
  else
    InvalidMetafile();
  Changed(this);
}

void TMetafile::ReadEMFStream(TStream* Stream) {
  Int64 Avail = Stream->Size() - Stream->Position();
  if (Avail < static_cast<Int64>(offsetof(ENHMETAHEADER, nDescription)) || Avail > (256 << 20))
    InvalidMetafile();
  std::vector<Byte> Data(static_cast<size_t>(Avail));
  Stream->ReadBuffer(Data.data(), static_cast<Integer>(Avail));
  ENHMETAHEADER Header{};
  std::memcpy(&Header, Data.data(), std::min(Data.size(), sizeof(Header)));
  if (Header.dSignature != ENHMETA_SIGNATURE || Header.nBytes > Data.size() ||
      Header.nBytes < offsetof(ENHMETAHEADER, nDescription))
    InvalidMetafile();
  // Bytes past the metafile's own length are not part of it.
  Stream->SetPosition(Stream->Position() - Avail + Header.nBytes);
  TEnhMetaFileHandle H(SetEnhMetaFileBits(Header.nBytes, Data.data()));
  if (!H) InvalidMetafile();
  FHandle = std::move(H);
  FInch = 0;
  FMMWidth = Header.rclFrame.right - Header.rclFrame.left;
  FMMHeight = Header.rclFrame.bottom - Header.rclFrame.top;
  FEnhanced = true;
}

void TMetafile::ReadWMFStream(TStream* Stream) {
  Int64 Avail = Stream->Size() - Stream->Position();
  TPlaceableHeader Header{};
  if (Avail < static_cast<Int64>(sizeof(Header) + sizeof(METAHEADER)) || Avail > (256 << 20))
    InvalidMetafile();
  Stream->ReadBuffer(&Header, sizeof(Header));
  if (Header.Key != PlaceableKey || PlaceableCheckSum(Header) != Header.CheckSum) InvalidMetafile();
  std::vector<Byte> Bits(static_cast<size_t>(Avail) - sizeof(Header));
  Stream->ReadBuffer(Bits.data(), static_cast<Integer>(Bits.size()));
  Word Inch = Header.Inch ? Header.Inch : cxDefaultDPI;
  Integer MMWidth = MulDiv(Header.Right - Header.Left, HundredthMMPerInch, Inch);
  Integer MMHeight = MulDiv(Header.Bottom - Header.Top, HundredthMMPerInch, Inch);
  // The picture's extent in 0.01 mm tells the platform how large the
  // metafile's logical units are.
  METAFILEPICT Picture{MM_ANISOTROPIC, MMWidth, MMHeight, nullptr};
  TEnhMetaFileHandle H(
      SetWinMetaFileBits(static_cast<UINT>(Bits.size()), Bits.data(), nullptr, &Picture));
  if (!H) InvalidMetafile();
  FHandle = std::move(H);
  FInch = Header.Inch;
  FMMWidth = MMWidth;
  FMMHeight = MMHeight;
  FEnhanced = false;
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (!FHandle) return;
  if (FEnhanced)
    WriteEMFStream(Stream);
  else
    WriteWMFStream(Stream);
}

void TMetafile::WriteEMFStream(TStream* Stream) {
  UINT Size = GetEnhMetaFileBits(FHandle.Get(), 0, nullptr);
  std::vector<Byte> Data(Size);
  if (Size == 0 || GetEnhMetaFileBits(FHandle.Get(), Size, Data.data()) != Size)
    throw EInvalidGraphicOperation(L"Cannot write the metafile");
  Stream->WriteBuffer(Data.data(), static_cast<Integer>(Size));
}

void TMetafile::WriteWMFStream(TStream* Stream) {
  TPlaceableHeader Header{};
  Header.Key = PlaceableKey;
  Header.Inch = FInch ? FInch : cxDefaultDPI;
  Header.Right = static_cast<SHORT>(MulDiv(FMMWidth, Header.Inch, HundredthMMPerInch));
  Header.Bottom = static_cast<SHORT>(MulDiv(FMMHeight, Header.Inch, HundredthMMPerInch));
  Header.CheckSum = PlaceableCheckSum(Header);
  TScreenDC Ref;
  UINT Size = GetWinMetaFileBits(FHandle.Get(), 0, nullptr, MM_ANISOTROPIC, Ref.Get());
  std::vector<Byte> Bits(Size);
  bool Ok = Size > 0 &&
            GetWinMetaFileBits(FHandle.Get(), Size, Bits.data(), MM_ANISOTROPIC, Ref.Get()) == Size;
  if (!Ok) throw EInvalidGraphicOperation(L"Cannot write the metafile");
  Stream->WriteBuffer(&Header, sizeof(Header));
  Stream->WriteBuffer(Bits.data(), static_cast<Integer>(Size));
}

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!FHandle) return;
  RECT R = Rect;
  PlayEnhMetaFile(ACanvas->Handle(), FHandle.Get(), &R);
}

// ---------------------------------------------------------------------------
namespace {
struct TFileFormat {
  String Extension;
  String Description;
  TGraphicClass GraphicClass;
};
std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat>* Formats = new std::vector<TFileFormat>();
  return *Formats;
}
struct TClipboardFormat {
  Word Format;
  TGraphicClass GraphicClass;
};
std::vector<TClipboardFormat>& ClipboardFormats() {
  static std::vector<TClipboardFormat>* Formats = new std::vector<TClipboardFormat>();
  return *Formats;
}

String WithoutDot(const String& AExtension) {
  return !AExtension.empty() && AExtension[0] == L'.' ? AExtension.substr(1) : AExtension;
}

// The platform's decoders are asked for their extensions once, on the first
// look-up, and go below everything registered by then or later.
bool PlatformFormatsAdded = false;

void AddPlatformFormats() {
  if (PlatformFormatsAdded) return;
  PlatformFormatsAdded = true;
  std::vector<TFileFormat> Platform;
  for (const GraphicsGdiPlus::TDecoderFormat& F : GraphicsGdiPlus::DecoderFormats())
    Platform.push_back(TFileFormat{F.Extension, F.Description, TGdiPlusImage::StaticClass()});
  FileFormats().insert(FileFormats().begin(), Platform.begin(), Platform.end());
}
}  // namespace

IMPLEMENT_CREATABLE_CLASS(TPicture)

void TPicture::RegisterFileFormat(const String& AExtension, const String& ADescription,
                                  TGraphicClass AGraphicClass) {
  String Ext = WithoutDot(AExtension);
  // The same class registered again moves up rather than standing twice.
  std::erase_if(FileFormats(), [&](const TFileFormat& F) {
    return F.GraphicClass == AGraphicClass && SameText(F.Extension, Ext);
  });
  FileFormats().push_back(TFileFormat{Ext, ADescription, AGraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass AClass) {
  std::erase_if(FileFormats(), [&](const TFileFormat& X) { return X.GraphicClass == AClass; });
  std::erase_if(ClipboardFormats(),
                [&](const TClipboardFormat& X) { return X.GraphicClass == AClass; });
}

void TPicture::RegisterClipboardFormat(Word AFormat, TGraphicClass AGraphicClass) {
  std::erase_if(ClipboardFormats(), [&](const TClipboardFormat& F) {
    return F.Format == AFormat && F.GraphicClass == AGraphicClass;
  });
  ClipboardFormats().push_back(TClipboardFormat{AFormat, AGraphicClass});
}

TGraphicClass TPicture::FindClipboardGraphicClass(Word AFormat) {
  const auto& Formats = ClipboardFormats();
  for (auto It = Formats.rbegin(); It != Formats.rend(); ++It)
    if (It->Format == AFormat) return It->GraphicClass;
  return nullptr;
}

bool TPicture::SupportsClipboardFormat(Word AFormat) {
  return FindClipboardGraphicClass(AFormat) != nullptr;
}

TGraphicClass TPicture::FindGraphicClass(const String& AExtension) {
  AddPlatformFormats();
  String Ext = WithoutDot(AExtension);
  const auto& Formats = FileFormats();
  for (auto It = Formats.rbegin(); It != Formats.rend(); ++It)
    if (SameText(It->Extension, Ext)) return It->GraphicClass;
  return nullptr;
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

template <class T>
T* TPicture::ForceGraphic() {
  if (!FGraphic || !FGraphic->InheritsFrom(T::StaticClass())) {
    FGraphic.reset(Create<T>());
    FGraphic->OnChange = MakeEvent<&TPicture::Changed>(this);
    Changed(this);
  }
  return static_cast<T*>(FGraphic.get());
}

TBitmap* TPicture::Bitmap() { return ForceGraphic<TBitmap>(); }
TIcon* TPicture::Icon() { return ForceGraphic<TIcon>(); }

void TPicture::SetGraphic(TGraphic* AValue) {
  if (!AValue) {
    FGraphic.reset();
  } else {
    auto* Copy = static_cast<TGraphic*>(AValue->ClassType()->Create());
    if (!Copy) throw EInvalidGraphic(L"Cannot copy a graphic of class " + AValue->ClassName());
    FGraphic.reset(Copy);
    Copy->Assign(AValue);
    Copy->OnChange = MakeEvent<&TPicture::Changed>(this);
  }
  Changed(this);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* P = AsOrNull<TPicture>(Source)) {
    SetGraphic(P->FGraphic.get());
  } else if (auto* G = AsOrNull<TGraphic>(Source)) {
    SetGraphic(G);
  } else {
    inherited::Assign(Source);
  }
}

void TPicture::LoadFromFile(const String& FileName) {
  TGraphicClass Cls = FindGraphicClass(ExtractFileExt(FileName));
  if (!Cls)
    throw EInvalidGraphic(L"Unknown picture file extension (" + ExtractFileExt(FileName) + L")");
  TOwned<TGraphic> G(static_cast<TGraphic*>(Cls->Create()));
  G->LoadFromFile(FileName);
  FGraphic = std::move(G);
  FGraphic->OnChange = MakeEvent<&TPicture::Changed>(this);
  Changed(this);
}

void TPicture::SaveToFile(const String& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void Graphics_Initialize() {
  TPicture::RegisterFileFormat(L"bmp", L"Bitmaps", TBitmap::StaticClass());
  TPicture::RegisterFileFormat(L"ico", L"Icons", TIcon::StaticClass());
  // Form resources may name the graphic class a property holds.
  RegisterClasses({TBitmap::StaticClass(), TIcon::StaticClass(), TMetafile::StaticClass(),
                   TGdiPlusImage::StaticClass()});
}

void Graphics_Finalize() {
  FileFormats().clear();
  ClipboardFormats().clear();
  PlatformFormatsAdded = false;
  GraphicsGdiPlus::Shutdown();
  UnRegisterClass(TGdiPlusImage::StaticClass());
  UnRegisterClass(TMetafile::StaticClass());
  UnRegisterClass(TIcon::StaticClass());
  UnRegisterClass(TBitmap::StaticClass());
}
