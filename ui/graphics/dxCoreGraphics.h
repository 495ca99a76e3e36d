// The colour vocabulary of the library's graphics: the ARGB colour and its
// conversions to and from GDI colours, the named-colour catalogue with its
// HTML parser, colour palettes, 32-bit pixel access to framework bitmaps,
// and the GDI clip saving and right-to-left character placement that text
// highlighting uses.
#pragma once

#include <vector>

#include "Graphics.h"
#include "cxGeometry.h"
#include "dxCore.h"
#include "dxGraphicsLink.h"

// ---------------------------------------------------------------------------
// ARGB colours: alpha in bits 24-31, then red, green, blue; in memory the
// same 32 bits as an RGBQUAD pixel or a GDI+ ARGB. A distinct type, so that a
// GDI colour (TColor) never passes for one, nor the other way round.
enum class TdxAlphaColor : Cardinal {};
using TGUID = GUID;
inline constexpr TdxAlphaColor dxacNone = TdxAlphaColor(0);
inline constexpr TdxAlphaColor dxacDefault = TdxAlphaColor(0x00010203);

// One pixel per element, row after row.
using TRGBColors = std::vector<RGBQUAD>;

enum TdxAlphaState { asNoAlpha, asSemitransparent, asOpaque };
// The units of GDI+ measures; the ordinals are GDI+'s own.
enum TdxGraphicUnit { guWorld, guDisplay, guPixel, guPoint, guInch, guDocument, guMillimeter };

constexpr Cardinal dxAlphaColorValue(TdxAlphaColor AColor) { return static_cast<Cardinal>(AColor); }
constexpr TdxAlphaColor dxMakeAlphaColor(Byte A, Byte R, Byte G, Byte B) {
  return TdxAlphaColor((Cardinal(A) << 24) | (Cardinal(R) << 16) | (Cardinal(G) << 8) | B);
}
constexpr Byte dxGetAlpha(TdxAlphaColor AColor) { return Byte(dxAlphaColorValue(AColor) >> 24); }
// A system colour resolved to RGB; AReserved in the top byte.
RGBQUAD dxColorToRGBQuad(TColor AColor, Byte AReserved = 0);
// clNone gives dxacNone, clDefault dxacDefault, anything else its RGB with
// AAlpha.
TdxAlphaColor dxColorToAlphaColor(TColor AColor, Byte AAlpha = 255);
TdxAlphaColor dxMakeAlphaColor(TColor AColor, Byte AAlpha);
// dxacNone gives clNone and dxacDefault clDefault, both with alpha 0.
TColor dxAlphaColorToColor(TdxAlphaColor AColor, Byte& AAlpha);
TColor dxAlphaColorToColor(TdxAlphaColor AColor);
RGBQUAD dxAlphaColorToRGBQuad(TdxAlphaColor AColor);
// Carries the reserved byte into the top byte of the result.
TColor dxRGBQuadToColor(const RGBQUAD& ARGB);

// ---------------------------------------------------------------------------
// The process-wide colour catalogue: the CSS colour names, the system
// colours under their names, and the CSS2 system-colour names. Built at
// start-up; refreshed when the system colours change.
class TdxAlphaColors {
 public:
  enum TSystemColor {
    cActiveBorder,
    cActiveCaption,
    cActiveCaptionText,
    cAppWorkspace,
    cButtonFace,
    cButtonHighlight,
    cButtonShadow,
    cControl,
    cControlDark,
    cControlDarkDark,
    cControlLight,
    cControlLightLight,
    cControlText,
    cDesktop,
    cGradientActiveCaption,
    cGradientInactiveCaption,
    cGrayText,
    cHighlight,
    cHighlightText,
    cHotTrack,
    cInactiveBorder,
    cInactiveCaption,
    cInactiveCaptionText,
    cInfo,
    cInfoText,
    cMenu,
    cMenuBar,
    cMenuHighlight,
    cMenuText,
    cScrollBar,
    cWindow,
    cWindowFrame,
    cWindowText
  };
  static constexpr int SystemColorCount = cWindowText + 1;

  TdxAlphaColors() = delete;

  static constexpr TdxAlphaColor FromArgb(Byte ARed, Byte AGreen, Byte ABlue) {
    return dxMakeAlphaColor(255, ARed, AGreen, ABlue);
  }
  static constexpr TdxAlphaColor FromArgb(Byte AAlpha, Byte ARed, Byte AGreen, Byte ABlue) {
    return dxMakeAlphaColor(AAlpha, ARed, AGreen, ABlue);
  }
  // "#rrggbb" or "#rgb" (raises EConvertError on a bad digit), else a name
  // of the CSS2 system colours, else any catalogue name; dxacNone when the
  // text names no colour.
  static TdxAlphaColor FromHtml(const String& AHtmlColor);
  static bool IsEmpty(TdxAlphaColor AColor) { return AColor == dxacNone; }
  // The current value of a system colour, opaque.
  static TdxAlphaColor SystemColor(TSystemColor AColor);
  static const wchar_t* SystemColorName(TSystemColor AColor);
  static void UpdateSystemColors();

  static TdxAlphaColor ActiveBorder() { return SystemColor(cActiveBorder); }
  static TdxAlphaColor ActiveCaption() { return SystemColor(cActiveCaption); }
  static TdxAlphaColor ActiveCaptionText() { return SystemColor(cActiveCaptionText); }
  static TdxAlphaColor AppWorkSpace() { return SystemColor(cAppWorkspace); }
  static TdxAlphaColor Control() { return SystemColor(cControl); }
  static TdxAlphaColor ControlDark() { return SystemColor(cControlDark); }
  static TdxAlphaColor ControlDarkDark() { return SystemColor(cControlDarkDark); }
  static TdxAlphaColor ControlLight() { return SystemColor(cControlLight); }
  static TdxAlphaColor ControlLightLight() { return SystemColor(cControlLightLight); }
  static TdxAlphaColor ControlText() { return SystemColor(cControlText); }
  static TdxAlphaColor Desktop() { return SystemColor(cDesktop); }
  static TdxAlphaColor GrayText() { return SystemColor(cGrayText); }
  static TdxAlphaColor Highlight() { return SystemColor(cHighlight); }
  static TdxAlphaColor HighlightText() { return SystemColor(cHighlightText); }
  static TdxAlphaColor InactiveBorder() { return SystemColor(cInactiveBorder); }
  static TdxAlphaColor InactiveCaption() { return SystemColor(cInactiveCaption); }
  static TdxAlphaColor InactiveCaptionText() { return SystemColor(cInactiveCaptionText); }
  static TdxAlphaColor Info() { return SystemColor(cInfo); }
  static TdxAlphaColor InfoText() { return SystemColor(cInfoText); }
  static TdxAlphaColor Menu() { return SystemColor(cMenu); }
  static TdxAlphaColor MenuText() { return SystemColor(cMenuText); }
  static TdxAlphaColor ScrollBar() { return SystemColor(cScrollBar); }
  static TdxAlphaColor Window() { return SystemColor(cWindow); }
  static TdxAlphaColor WindowFrame() { return SystemColor(cWindowFrame); }
  static TdxAlphaColor WindowText() { return SystemColor(cWindowText); }

  // The hidden window that hears WM_SYSCOLORCHANGE; 0 outside start-up and
  // shut-down.
  static HWND SystemColorsListenerHandle();
};

// ---------------------------------------------------------------------------
// Colour palettes: fill and stroke colours of a vector image by element
// class; dxacDefault means no substitution. The ID names the palette's
// current contents, so that caches of drawn images can key on it.
struct IdxColorPalette : public IUnknown {
  virtual TGUID STDMETHODCALLTYPE GetID() = 0;
  virtual TdxAlphaColor STDMETHODCALLTYPE GetFillColor(const String& ID) = 0;
  virtual TdxAlphaColor STDMETHODCALLTYPE GetStrokeColor(const String& ID) = 0;
};
__CRT_UUID_DECL(IdxColorPalette, 0xD0CB7E80, 0xBE5A, 0x4532, 0x97, 0x2C, 0x50, 0x46, 0xB3, 0x46,
                0xFD, 0xA5)

class TdxCustomColorPalette : public TInterfacedObject, public IdxColorPalette {
  DECLARE_CLASS(TdxCustomColorPalette, TInterfacedObject)
 public:
  TdxCustomColorPalette();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return TInterfacedObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TInterfacedObject::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  TGUID STDMETHODCALLTYPE GetID() override { return FID; }

 private:
  TGUID FID;
};

class TdxSimpleColorPalette : public TdxCustomColorPalette {
  DECLARE_CLASS(TdxSimpleColorPalette, TdxCustomColorPalette)
 public:
  TdxSimpleColorPalette(TdxAlphaColor AFillColor, TdxAlphaColor AStrokeColor)
      : FFillColor(AFillColor), FStrokeColor(AStrokeColor) {}
  TdxAlphaColor STDMETHODCALLTYPE GetFillColor(const String&) override { return FFillColor; }
  TdxAlphaColor STDMETHODCALLTYPE GetStrokeColor(const String&) override { return FStrokeColor; }

 private:
  TdxAlphaColor FFillColor;
  TdxAlphaColor FStrokeColor;
};

// ---------------------------------------------------------------------------
// Pixels of framework bitmaps as 32-bit values.

// Bits per pixel of the declared format (16 for 15-bit); for a device or
// custom format, the display's.
Integer cxGetBitmapPixelFormat(TBitmap* ABitmap);
// A 32-bit uncompressed header; negative height for a top-down DIB.
void dxFillBitmapInfoHeader(BITMAPINFOHEADER& AHeader, Integer AWidth, Integer AHeight,
                            bool ATopDownDIB);
void dxFillBitmapInfoHeader(BITMAPINFOHEADER& AHeader, TBitmap* ABitmap, bool ATopDownDIB);
// Width x height pixels, top row first when ATopDownDIB; false for an empty
// bitmap or when some row could not be read (the array keeps its size).
bool GetBitmapBits(TBitmap* ABitmap, TRGBColors& AColors, bool ATopDownDIB);
bool SetBitmapBits(TBitmap* ABitmap, const TRGBColors& AColors, bool ATopDownDIB);
TdxAlphaState dxGetAlphaState(const TRGBColors& AColors);
// asNoAlpha for fewer than 32 bits per pixel, without reading pixels.
TdxAlphaState dxGetAlphaState(TBitmap* ABitmap);
bool dxIsAlphaUsed(TBitmap* ABitmap);
// GDI leaves the alpha of what it draws into a 32-bit surface at 0: every
// pixel with alpha 0 that carries colour becomes opaque, while black with
// alpha 0 stays transparent. An empty array or bitmap is left alone.
void dxCorrectAlphaChannel(TRGBColors& AColors);
void dxCorrectAlphaChannel(TBitmap* ABitmap);
// The platform's description of a bitmap handle; false for anything else.
bool dxGetBitmapData(HBITMAP ABitmapHandle, BITMAP& ABitmapData);

// ---------------------------------------------------------------------------
// Clip saving around temporary clipping of a device context.
class TdxGdiClippingHelper {
 public:
  TdxGdiClippingHelper() = delete;
  // ARegion is 0 when the DC has no clip region; otherwise the caller hands
  // it back to RestoreClipping.
  static void SaveClipping(HDC DC, HRGN& ARegion);
  // Selects ARegion (0 removes clipping) and deletes it.
  static void RestoreClipping(HDC DC, HRGN ARegion);
};

// Where each character of a row lands on screen, reordering and ligatures
// of right-to-left text included.
class TdxRTLReadingCharacterPlacementHelper {
 public:
  TdxRTLReadingCharacterPlacementHelper() = delete;
  // One cell per character of AText[0..ALength-1] in logical order, each
  // spanning ABounds' height; empty when the platform cannot measure.
  static std::vector<TRect> MeasureCharactersBounds(HDC ADC, const wchar_t* AText, Integer ALength,
                                                    const TRect& ABounds, HFONT AFont,
                                                    bool AIsRTLReading);
  // The cells of characters ASelStart..ASelStart+ASelLength-1 (cut at the
  // end of the text) as one region that the caller deletes; 0 for none.
  static HRGN GetSelectionRangeRegion(HDC ADC, const wchar_t* AText, Integer ALength,
                                      const TRect& ABounds, Integer ASelStart, Integer ASelLength,
                                      HFONT AFont, bool AIsRTLReading);

 private:
  struct TPlacement;
  static bool TryMeasureCharactersSlow(HDC ADC, const wchar_t* AText, Integer ALength,
                                       bool AIsRTLReading, TPlacement& APlacement);
  static std::vector<TRect> CalculateCharactersBounds(const TPlacement& APlacement, Integer ALength,
                                                      const TRect& ABounds);
};

void dxCoreGraphics_Initialize();
void dxCoreGraphics_Finalize();
