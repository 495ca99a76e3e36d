#include "dxCoreGraphics.h"

#include <algorithm>
#include <map>

#include "Controls.h"
#include "SysUtils.h"

// ---------------------------------------------------------------------------
// Conversions

RGBQUAD dxColorToRGBQuad(TColor AColor, Byte AReserved) {
  COLORREF C = dxColorToRGB(AColor);
  return RGBQUAD{GetBValue(C), GetGValue(C), GetRValue(C), AReserved};
}

TdxAlphaColor dxColorToAlphaColor(TColor AColor, Byte AAlpha) {
  if (AColor == clNone) return dxacNone;
  if (AColor == clDefault) return dxacDefault;
  RGBQUAD Q = dxColorToRGBQuad(AColor, AAlpha);
  return dxMakeAlphaColor(Q.rgbReserved, Q.rgbRed, Q.rgbGreen, Q.rgbBlue);
}

TdxAlphaColor dxMakeAlphaColor(TColor AColor, Byte AAlpha) {
  return dxColorToAlphaColor(AColor, AAlpha);
}

TColor dxAlphaColorToColor(TdxAlphaColor AColor, Byte& AAlpha) {
  if (AColor == dxacNone || AColor == dxacDefault) {
    AAlpha = 0;
    return AColor == dxacNone ? clNone : clDefault;
  }
  Cardinal V = dxAlphaColorValue(AColor);
  AAlpha = Byte(V >> 24);
  return static_cast<TColor>(RGB((V >> 16) & 0xFF, (V >> 8) & 0xFF, V & 0xFF));
}

TColor dxAlphaColorToColor(TdxAlphaColor AColor) {
  Byte Alpha;
  return dxAlphaColorToColor(AColor, Alpha);
}

RGBQUAD dxAlphaColorToRGBQuad(TdxAlphaColor AColor) {
  Cardinal V = dxAlphaColorValue(AColor);
  return RGBQUAD{Byte(V), Byte(V >> 8), Byte(V >> 16), Byte(V >> 24)};
}

TColor dxRGBQuadToColor(const RGBQUAD& ARGB) {
  return static_cast<TColor>(Cardinal(ARGB.rgbRed) | (Cardinal(ARGB.rgbGreen) << 8) |
                             (Cardinal(ARGB.rgbBlue) << 16) | (Cardinal(ARGB.rgbReserved) << 24));
}

// ---------------------------------------------------------------------------
// The catalogue

namespace {

struct TNamedColor {
  const wchar_t* Name;
  Cardinal Value;
};

// The CSS colour keywords (CSS Color Module Level 3).
const TNamedColor CssColors[] = {
    {L"AliceBlue", 0xFFF0F8FFu},
    {L"AntiqueWhite", 0xFFFAEBD7u},
    {L"Aqua", 0xFF00FFFFu},
    {L"Aquamarine", 0xFF7FFFD4u},
    {L"Azure", 0xFFF0FFFFu},
    {L"Beige", 0xFFF5F5DCu},
    {L"Bisque", 0xFFFFE4C4u},
    {L"Black", 0xFF000000u},
    {L"BlanchedAlmond", 0xFFFFEBCDu},
    {L"Blue", 0xFF0000FFu},
    {L"BlueViolet", 0xFF8A2BE2u},
    {L"Brown", 0xFFA52A2Au},
    {L"BurlyWood", 0xFFDEB887u},
    {L"CadetBlue", 0xFF5F9EA0u},
    {L"Chartreuse", 0xFF7FFF00u},
    {L"Chocolate", 0xFFD2691Eu},
    {L"Coral", 0xFFFF7F50u},
    {L"CornflowerBlue", 0xFF6495EDu},
    {L"Cornsilk", 0xFFFFF8DCu},
    {L"Crimson", 0xFFDC143Cu},
    {L"Cyan", 0xFF00FFFFu},
    {L"DarkBlue", 0xFF00008Bu},
    {L"DarkCyan", 0xFF008B8Bu},
    {L"DarkGoldenrod", 0xFFB8860Bu},
    {L"DarkGray", 0xFFA9A9A9u},
    {L"DarkGreen", 0xFF006400u},
    {L"DarkKhaki", 0xFFBDB76Bu},
    {L"DarkMagenta", 0xFF8B008Bu},
    {L"DarkOliveGreen", 0xFF556B2Fu},
    {L"DarkOrange", 0xFFFF8C00u},
    {L"DarkOrchid", 0xFF9932CCu},
    {L"DarkRed", 0xFF8B0000u},
    {L"DarkSalmon", 0xFFE9967Au},
    {L"DarkSeaGreen", 0xFF8FBC8Fu},
    {L"DarkSlateBlue", 0xFF483D8Bu},
    {L"DarkSlateGray", 0xFF2F4F4Fu},
    {L"DarkTurquoise", 0xFF00CED1u},
    {L"DarkViolet", 0xFF9400D3u},
    {L"DeepPink", 0xFFFF1493u},
    {L"DeepSkyBlue", 0xFF00BFFFu},
    {L"DimGray", 0xFF696969u},
    {L"DodgerBlue", 0xFF1E90FFu},
    {L"Firebrick", 0xFFB22222u},
    {L"FloralWhite", 0xFFFFFAF0u},
    {L"ForestGreen", 0xFF228B22u},
    {L"Fuchsia", 0xFFFF00FFu},
    {L"Gainsboro", 0xFFDCDCDCu},
    {L"GhostWhite", 0xFFF8F8FFu},
    {L"Gold", 0xFFFFD700u},
    {L"Goldenrod", 0xFFDAA520u},
    {L"Gray", 0xFF808080u},
    {L"Grey", 0xFF808080u},
    {L"Green", 0xFF008000u},
    {L"GreenYellow", 0xFFADFF2Fu},
    {L"Honeydew", 0xFFF0FFF0u},
    {L"HotPink", 0xFFFF69B4u},
    {L"IndianRed", 0xFFCD5C5Cu},
    {L"Indigo", 0xFF4B0082u},
    {L"Ivory", 0xFFFFFFF0u},
    {L"Khaki", 0xFFF0E68Cu},
    {L"Lavender", 0xFFE6E6FAu},
    {L"LavenderBlush", 0xFFFFF0F5u},
    {L"LawnGreen", 0xFF7CFC00u},
    {L"LemonChiffon", 0xFFFFFACDu},
    {L"LightBlue", 0xFFADD8E6u},
    {L"LightCoral", 0xFFF08080u},
    {L"LightCyan", 0xFFE0FFFFu},
    {L"LightGoldenrodYellow", 0xFFFAFAD2u},
    {L"LightGray", 0xFFD3D3D3u},
    {L"LightGreen", 0xFF90EE90u},
    {L"LightPink", 0xFFFFB6C1u},
    {L"LightSalmon", 0xFFFFA07Au},
    {L"LightSeaGreen", 0xFF20B2AAu},
    {L"LightSkyBlue", 0xFF87CEFAu},
    {L"LightSlateGray", 0xFF778899u},
    {L"LightSteelBlue", 0xFFB0C4DEu},
    {L"LightYellow", 0xFFFFFFE0u},
    {L"Lime", 0xFF00FF00u},
    {L"LimeGreen", 0xFF32CD32u},
    {L"Linen", 0xFFFAF0E6u},
    {L"Magenta", 0xFFFF00FFu},
    {L"Maroon", 0xFF800000u},
    {L"MediumAquamarine", 0xFF66CDAAu},
    {L"MediumBlue", 0xFF0000CDu},
    {L"MediumOrchid", 0xFFBA55D3u},
    {L"MediumPurple", 0xFF9370DBu},
    {L"MediumSeaGreen", 0xFF3CB371u},
    {L"MediumSlateBlue", 0xFF7B68EEu},
    {L"MediumSpringGreen", 0xFF00FA9Au},
    {L"MediumTurquoise", 0xFF48D1CCu},
    {L"MediumVioletRed", 0xFFC71585u},
    {L"MidnightBlue", 0xFF191970u},
    {L"MintCream", 0xFFF5FFFAu},
    {L"MistyRose", 0xFFFFE4E1u},
    {L"Moccasin", 0xFFFFE4B5u},
    {L"NavajoWhite", 0xFFFFDEADu},
    {L"Navy", 0xFF000080u},
    {L"OldLace", 0xFFFDF5E6u},
    {L"Olive", 0xFF808000u},
    {L"OliveDrab", 0xFF6B8E23u},
    {L"Orange", 0xFFFFA500u},
    {L"OrangeRed", 0xFFFF4500u},
    {L"Orchid", 0xFFDA70D6u},
    {L"PaleGoldenrod", 0xFFEEE8AAu},
    {L"PaleGreen", 0xFF98FB98u},
    {L"PaleTurquoise", 0xFFAFEEEEu},
    {L"PaleVioletRed", 0xFFDB7093u},
    {L"PapayaWhip", 0xFFFFEFD5u},
    {L"PeachPuff", 0xFFFFDAB9u},
    {L"Peru", 0xFFCD853Fu},
    {L"Pink", 0xFFFFC0CBu},
    {L"Plum", 0xFFDDA0DDu},
    {L"PowderBlue", 0xFFB0E0E6u},
    {L"Purple", 0xFF800080u},
    {L"Red", 0xFFFF0000u},
    {L"RosyBrown", 0xFFBC8F8Fu},
    {L"RoyalBlue", 0xFF4169E1u},
    {L"SaddleBrown", 0xFF8B4513u},
    {L"Salmon", 0xFFFA8072u},
    {L"SandyBrown", 0xFFF4A460u},
    {L"SeaGreen", 0xFF2E8B57u},
    {L"SeaShell", 0xFFFFF5EEu},
    {L"Sienna", 0xFFA0522Du},
    {L"Silver", 0xFFC0C0C0u},
    {L"SkyBlue", 0xFF87CEEBu},
    {L"SlateBlue", 0xFF6A5ACDu},
    {L"SlateGray", 0xFF708090u},
    {L"Snow", 0xFFFFFAFAu},
    {L"SpringGreen", 0xFF00FF7Fu},
    {L"SteelBlue", 0xFF4682B4u},
    {L"Tan", 0xFFD2B48Cu},
    {L"Teal", 0xFF008080u},
    {L"Thistle", 0xFFD8BFD8u},
    {L"Tomato", 0xFFFF6347u},
    {L"Turquoise", 0xFF40E0D0u},
    {L"Violet", 0xFFEE82EEu},
    {L"Wheat", 0xFFF5DEB3u},
    {L"White", 0xFFFFFFFFu},
    {L"WhiteSmoke", 0xFFF5F5F5u},
    {L"Yellow", 0xFFFFFF00u},
    {L"YellowGreen", 0xFF9ACD32u},
};

struct TSystemColorData {
  const wchar_t* Name;
  int Index;
};

const TSystemColorData SystemColorsData[TdxAlphaColors::SystemColorCount] = {
    {L"ActiveBorder", COLOR_ACTIVEBORDER},
    {L"ActiveCaption", COLOR_ACTIVECAPTION},
    {L"ActiveCaptionText", COLOR_CAPTIONTEXT},
    {L"AppWorkspace", COLOR_APPWORKSPACE},
    {L"ButtonFace", COLOR_BTNFACE},
    {L"ButtonHighlight", COLOR_BTNHIGHLIGHT},
    {L"ButtonShadow", COLOR_BTNSHADOW},
    {L"Control", COLOR_BTNFACE},
    {L"ControlDark", COLOR_BTNSHADOW},
    {L"ControlDarkDark", COLOR_3DDKSHADOW},
    {L"ControlLight", COLOR_3DLIGHT},
    {L"ControlLightLight", COLOR_BTNHIGHLIGHT},
    {L"ControlText", COLOR_BTNTEXT},
    {L"Desktop", COLOR_DESKTOP},
    {L"GradientActiveCaption", COLOR_GRADIENTACTIVECAPTION},
    {L"GradientInactiveCaption", COLOR_GRADIENTINACTIVECAPTION},
    {L"GrayText", COLOR_GRAYTEXT},
    {L"Highlight", COLOR_HIGHLIGHT},
    {L"HighlightText", COLOR_HIGHLIGHTTEXT},
    {L"HotTrack", COLOR_HOTLIGHT},
    {L"InactiveBorder", COLOR_INACTIVEBORDER},
    {L"InactiveCaption", COLOR_INACTIVECAPTION},
    {L"InactiveCaptionText", COLOR_INACTIVECAPTIONTEXT},
    {L"Info", COLOR_INFOBK},
    {L"InfoText", COLOR_INFOTEXT},
    {L"Menu", COLOR_MENU},
    {L"MenuBar", COLOR_MENUBAR},
    {L"MenuHighlight", COLOR_MENUHILIGHT},
    {L"MenuText", COLOR_MENUTEXT},
    {L"ScrollBar", COLOR_SCROLLBAR},
    {L"Window", COLOR_WINDOW},
    {L"WindowFrame", COLOR_WINDOWFRAME},
    {L"WindowText", COLOR_WINDOWTEXT},
};

// The CSS2 system-colour names; "lightgrey" is a fixed colour among them.
struct THtmlColor {
  const wchar_t* Name;
  TdxAlphaColors::TSystemColor Color;
};
const THtmlColor HtmlSystemColors[] = {
    {L"activeborder", TdxAlphaColors::cActiveBorder},
    {L"activecaption", TdxAlphaColors::cActiveCaption},
    {L"appworkspace", TdxAlphaColors::cAppWorkspace},
    {L"background", TdxAlphaColors::cDesktop},
    {L"buttonface", TdxAlphaColors::cControl},
    {L"buttonhighlight", TdxAlphaColors::cControlLightLight},
    {L"buttonshadow", TdxAlphaColors::cControlDark},
    {L"buttontext", TdxAlphaColors::cControlText},
    {L"captiontext", TdxAlphaColors::cActiveCaptionText},
    {L"graytext", TdxAlphaColors::cGrayText},
    {L"highlight", TdxAlphaColors::cHighlight},
    {L"highlighttext", TdxAlphaColors::cHighlightText},
    {L"inactiveborder", TdxAlphaColors::cInactiveBorder},
    {L"inactivecaption", TdxAlphaColors::cInactiveCaption},
    {L"inactivecaptiontext", TdxAlphaColors::cInactiveCaptionText},
    {L"infobackground", TdxAlphaColors::cInfo},
    {L"infotext", TdxAlphaColors::cInfoText},
    {L"menu", TdxAlphaColors::cMenu},
    {L"menutext", TdxAlphaColors::cMenuText},
    {L"scrollbar", TdxAlphaColors::cScrollBar},
    {L"threeddarkshadow", TdxAlphaColors::cControlDarkDark},
    {L"threedface", TdxAlphaColors::cControl},
    {L"threedhighlight", TdxAlphaColors::cControlLight},
    {L"threedlightshadow", TdxAlphaColors::cControlLightLight},
    {L"window", TdxAlphaColors::cWindow},
    {L"windowframe", TdxAlphaColors::cWindowFrame},
    {L"windowtext", TdxAlphaColors::cWindowText},
};
constexpr TdxAlphaColor LightGrey = TdxAlphaColor(0xFFD3D3D3);

// Hears the system-colour change on a hidden window of its own.
class TSystemColorsListener : public TObject {
 public:
  TSystemColorsListener()
      : FHandle(AllocateHWnd(MakeEvent<&TSystemColorsListener::WndProc>(this))) {}
  ~TSystemColorsListener() override { DeallocateHWnd(FHandle); }
  HWND Handle() const { return FHandle; }

 private:
  void WndProc(TMessage& Message) {
    try {
      if (Message.Msg == WM_SYSCOLORCHANGE) TdxAlphaColors::UpdateSystemColors();
    } catch (...) {
      dxHandleException();
    }
    Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
  }
  HWND FHandle;
};

struct TCatalogue {
  std::map<String, TdxAlphaColor> NameToColor;
  std::map<String, TdxAlphaColor> HtmlNameToColor;
  TdxAlphaColor SystemColors[TdxAlphaColors::SystemColorCount] = {};
  TOwned<TSystemColorsListener> Listener;
};

TCatalogue* Catalogue = nullptr;
Integer CatalogueGuard = 0;

TdxAlphaColor CurrentSystemColor(int AIndex) { return dxColorToAlphaColor(SysColor(AIndex), 255); }

}  // namespace

TdxAlphaColor TdxAlphaColors::FromHtml(const String& AHtmlColor) {
  TdxAlphaColor Result = dxacNone;
  if (AHtmlColor.empty()) return Result;
  if (AHtmlColor[0] == L'#') {
    auto Hex = [&](const String& ADigits) {
      Integer V = 0;
      for (Char C : ADigits) {
        Integer D = C >= L'0' && C <= L'9'   ? C - L'0'
                    : C >= L'a' && C <= L'f' ? C - L'a' + 10
                    : C >= L'A' && C <= L'F' ? C - L'A' + 10
                                             : -1;
        if (D < 0) throw EConvertError(Format(L"'%s' is not a valid integer value", {ADigits}));
        V = V * 16 + D;
      }
      return static_cast<Byte>(V);
    };
    auto Doubled = [&](Integer AIndex) { return Hex(String(2, AHtmlColor[AIndex])); };
    if (AHtmlColor.size() == 7)
      Result = FromArgb(Hex(AHtmlColor.substr(1, 2)), Hex(AHtmlColor.substr(3, 2)),
                        Hex(AHtmlColor.substr(5, 2)));
    else if (AHtmlColor.size() == 4)
      Result = FromArgb(Doubled(1), Doubled(2), Doubled(3));
  }
  if (Result != dxacNone || !Catalogue) return Result;
  String Name = LowerCase(AHtmlColor);
  if (auto It = Catalogue->HtmlNameToColor.find(Name); It != Catalogue->HtmlNameToColor.end())
    return It->second;
  if (auto It = Catalogue->NameToColor.find(Name); It != Catalogue->NameToColor.end())
    return It->second;
  return dxacNone;
}

TdxAlphaColor TdxAlphaColors::SystemColor(TSystemColor AColor) {
  if (!Catalogue) return CurrentSystemColor(SystemColorsData[AColor].Index);
  return Catalogue->SystemColors[AColor];
}

const wchar_t* TdxAlphaColors::SystemColorName(TSystemColor AColor) {
  return SystemColorsData[AColor].Name;
}

void TdxAlphaColors::UpdateSystemColors() {
  if (!Catalogue) return;
  for (int I = 0; I < SystemColorCount; ++I) {
    TdxAlphaColor C = CurrentSystemColor(SystemColorsData[I].Index);
    Catalogue->SystemColors[I] = C;
    Catalogue->NameToColor[LowerCase(SystemColorsData[I].Name)] = C;
  }
  for (const THtmlColor& H : HtmlSystemColors)
    Catalogue->HtmlNameToColor[H.Name] = Catalogue->SystemColors[H.Color];
}

HWND TdxAlphaColors::SystemColorsListenerHandle() {
  return Catalogue && Catalogue->Listener ? Catalogue->Listener->Handle() : nullptr;
}

// ---------------------------------------------------------------------------
// Palettes

IMPLEMENT_CLASS(TdxCustomColorPalette)

TdxCustomColorPalette::TdxCustomColorPalette() { CoCreateGuid(&FID); }

HRESULT STDMETHODCALLTYPE TdxCustomColorPalette::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TdxCustomColorPalette::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxColorPalette))) {
    *AObj = static_cast<IdxColorPalette*>(this);
    AddRef();
    return true;
  }
  return TInterfacedObject::GetInterface(AIID, AObj);
}

IMPLEMENT_CLASS(TdxSimpleColorPalette)

// ---------------------------------------------------------------------------
// Bitmap pixels

namespace {
struct TBitmapInfo32 {
  BITMAPINFOHEADER Header;
  RGBQUAD Masks[3];
};

size_t PixelCount(TBitmap* ABitmap) {
  return static_cast<size_t>(ABitmap->Width()) * static_cast<size_t>(ABitmap->Height());
}
}  // namespace

Integer cxGetBitmapPixelFormat(TBitmap* ABitmap) {
  switch (ABitmap->PixelFormat()) {
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
    case TPixelFormat::pf32bit:
      return 32;
    default:
      return GetDeviceCaps(ABitmap->Canvas()->Handle(), BITSPIXEL);
  }
}

void dxFillBitmapInfoHeader(BITMAPINFOHEADER& AHeader, Integer AWidth, Integer AHeight,
                            bool ATopDownDIB) {
  AHeader = BITMAPINFOHEADER{};
  AHeader.biSize = sizeof(BITMAPINFOHEADER);
  AHeader.biWidth = AWidth;
  AHeader.biHeight = ATopDownDIB ? -AHeight : AHeight;
  AHeader.biPlanes = 1;
  AHeader.biBitCount = 32;
  AHeader.biCompression = BI_RGB;
}

void dxFillBitmapInfoHeader(BITMAPINFOHEADER& AHeader, TBitmap* ABitmap, bool ATopDownDIB) {
  dxFillBitmapInfoHeader(AHeader, ABitmap->Width(), ABitmap->Height(), ATopDownDIB);
}

bool GetBitmapBits(TBitmap* ABitmap, TRGBColors& AColors, bool ATopDownDIB) {
  Integer W = ABitmap->Width(), H = ABitmap->Height();
  if (W == 0 || H == 0) return false;
  AColors.resize(PixelCount(ABitmap));
  TBitmapInfo32 Info{};
  dxFillBitmapInfoHeader(Info.Header, W, H, ATopDownDIB);
  TMemoryDC DC(CreateCompatibleDC(nullptr));
  HBITMAP Handle = ABitmap->Handle();
  auto* Dib = reinterpret_cast<BITMAPINFO*>(&Info);
  if (GetDIBits(DC.Get(), Handle, 0, static_cast<UINT>(H), AColors.data(), Dib, DIB_RGB_COLORS) ==
      H)
    return true;
  // Row by row; a row that cannot land in place goes through a buffer.
  bool Result = true;
  TRGBColors Row(static_cast<size_t>(W));
  for (Integer R = 0; R < H; ++R) {
    UINT ScanLine = static_cast<UINT>(ATopDownDIB ? H - 1 - R : R);
    RGBQUAD* Dest = AColors.data() + static_cast<size_t>(R) * W;
    dxFillBitmapInfoHeader(Info.Header, W, H, ATopDownDIB);
    if (GetDIBits(DC.Get(), Handle, ScanLine, 1, Dest, Dib, DIB_RGB_COLORS) == 1) continue;
    dxFillBitmapInfoHeader(Info.Header, W, H, ATopDownDIB);
    bool Read = GetDIBits(DC.Get(), Handle, ScanLine, 1, Row.data(), Dib, DIB_RGB_COLORS) == 1;
    if (Read) std::copy(Row.begin(), Row.end(), Dest);
    Result = Result && Read;
  }
  return Result;
}

bool SetBitmapBits(TBitmap* ABitmap, const TRGBColors& AColors, bool ATopDownDIB) {
  Integer W = ABitmap->Width(), H = ABitmap->Height();
  if (W == 0 || H == 0 || AColors.size() < PixelCount(ABitmap)) return false;
  TBitmapInfo32 Info{};
  dxFillBitmapInfoHeader(Info.Header, W, H, ATopDownDIB);
  TMemoryDC DC(CreateCompatibleDC(nullptr));
  return SetDIBits(DC.Get(), ABitmap->Handle(), 0, static_cast<UINT>(H), AColors.data(),
                   reinterpret_cast<BITMAPINFO*>(&Info), DIB_RGB_COLORS) == H;
}

TdxAlphaState dxGetAlphaState(const TRGBColors& AColors) {
  bool SeenZero = false, SeenFull = false;
  for (const RGBQUAD& P : AColors) {
    if (P.rgbReserved == 0)
      SeenZero = true;
    else if (P.rgbReserved == 255)
      SeenFull = true;
    else
      return asSemitransparent;
    if (SeenZero && SeenFull) return asSemitransparent;
  }
  return SeenFull ? asOpaque : asNoAlpha;
}

TdxAlphaState dxGetAlphaState(TBitmap* ABitmap) {
  if (cxGetBitmapPixelFormat(ABitmap) < 32) return asNoAlpha;
  TRGBColors Colors;
  GetBitmapBits(ABitmap, Colors, false);
  return dxGetAlphaState(Colors);
}

bool dxIsAlphaUsed(TBitmap* ABitmap) { return dxGetAlphaState(ABitmap) != asNoAlpha; }

void dxCorrectAlphaChannel(TRGBColors& AColors) {
  for (RGBQUAD& P : AColors)
    if (P.rgbReserved == 0 && (P.rgbRed | P.rgbGreen | P.rgbBlue) != 0) P.rgbReserved = 255;
}

void dxCorrectAlphaChannel(TBitmap* ABitmap) {
  TRGBColors Colors;
  if (!GetBitmapBits(ABitmap, Colors, true)) return;
  dxCorrectAlphaChannel(Colors);
  SetBitmapBits(ABitmap, Colors, true);
}

bool dxGetBitmapData(HBITMAP ABitmapHandle, BITMAP& ABitmapData) {
  ABitmapData = BITMAP{};
  return ABitmapHandle && GetObjectType(ABitmapHandle) == OBJ_BITMAP &&
         GetObjectW(ABitmapHandle, sizeof(BITMAP), &ABitmapData) == sizeof(BITMAP);
}

// ---------------------------------------------------------------------------
// Clip saving

void TdxGdiClippingHelper::SaveClipping(HDC DC, HRGN& ARegion) {
  TRegionHandle Region(CreateRectRgn(0, 0, 0, 0));
  // 1: there is a clip region; 0: none, and nothing is kept.
  ARegion = GetClipRgn(DC, Region.Get()) == 1 ? Region.Release() : nullptr;
}

void TdxGdiClippingHelper::RestoreClipping(HDC DC, HRGN ARegion) {
  TRegionHandle Region(ARegion);
  SelectClipRgn(DC, Region.Get());
}

// ---------------------------------------------------------------------------
// Character placement

struct TdxRTLReadingCharacterPlacementHelper::TPlacement {
  GCP_RESULTSW Results{};
  std::vector<int> Dx;
  std::vector<UINT> Order;

  void Reset(Integer ARoom, bool AWithOrder) {
    Dx.assign(static_cast<size_t>(ARoom), 0);
    Order.assign(AWithOrder ? static_cast<size_t>(ARoom) : 0, 0);
    Results = GCP_RESULTSW{};
    Results.lStructSize = sizeof(GCP_RESULTSW);
    Results.lpDx = Dx.data();
    Results.lpOrder = AWithOrder ? Order.data() : nullptr;
    Results.nGlyphs = static_cast<UINT>(ARoom);
  }
};

namespace {
constexpr DWORD GCPFlags[2] = {GCP_LIGATE | GCP_USEKERNING,
                               GCP_LIGATE | GCP_USEKERNING | GCP_REORDER};

// Selects a font for the scope of a measurement.
class TFontSelection {
 public:
  TFontSelection(HDC DC, HFONT AFont) : FDC(DC), FOld(AFont ? SelectObject(DC, AFont) : nullptr) {}
  ~TFontSelection() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TFontSelection(const TFontSelection&) = delete;
  TFontSelection& operator=(const TFontSelection&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};
}  // namespace

bool TdxRTLReadingCharacterPlacementHelper::TryMeasureCharactersSlow(HDC ADC, const wchar_t* AText,
                                                                     Integer ALength,
                                                                     bool AIsRTLReading,
                                                                     TPlacement& APlacement) {
  Integer Step = std::max(1, ALength / 2);
  for (Integer Attempt = 1; Attempt <= 3; ++Attempt) {
    APlacement.Reset(ALength + Attempt * Step, AIsRTLReading);
    if (GetCharacterPlacementW(ADC, AText, ALength, 0, &APlacement.Results,
                               GCPFlags[AIsRTLReading]) != 0)
      return true;
  }
  return false;
}

std::vector<TRect> TdxRTLReadingCharacterPlacementHelper::CalculateCharactersBounds(
    const TPlacement& APlacement, Integer ALength, const TRect& ABounds) {
  std::vector<TRect> Display(static_cast<size_t>(ALength));
  Integer X = ABounds.left;
  for (Integer I = 0; I < ALength; ++I) {
    Display[I] = TRect{X, ABounds.top, X + APlacement.Dx[I], ABounds.bottom};
    X += APlacement.Dx[I];
  }
  if (APlacement.Results.lpOrder == nullptr) return Display;
  std::vector<TRect> Logical(static_cast<size_t>(ALength));
  for (Integer I = 0; I < ALength; ++I) {
    UINT D = APlacement.Order[I];
    Logical[I] = D < static_cast<UINT>(ALength) ? Display[D] : TRect{};
  }
  return Logical;
}

std::vector<TRect> TdxRTLReadingCharacterPlacementHelper::MeasureCharactersBounds(
    HDC ADC, const wchar_t* AText, Integer ALength, const TRect& ABounds, HFONT AFont,
    bool AIsRTLReading) {
  if (ALength <= 0) return {};
  TFontSelection Font(ADC, AFont);
  TPlacement Placement;
  Placement.Reset(ALength, AIsRTLReading);
  if (GetCharacterPlacementW(ADC, AText, ALength, 0, &Placement.Results, GCPFlags[AIsRTLReading]) ==
          0 &&
      !TryMeasureCharactersSlow(ADC, AText, ALength, AIsRTLReading, Placement))
    return {};
  return CalculateCharactersBounds(Placement, ALength, ABounds);
}

HRGN TdxRTLReadingCharacterPlacementHelper::GetSelectionRangeRegion(
    HDC ADC, const wchar_t* AText, Integer ALength, const TRect& ABounds, Integer ASelStart,
    Integer ASelLength, HFONT AFont, bool AIsRTLReading) {
  if (ASelLength <= 0 || ALength < ASelStart) return nullptr;
  std::vector<TRect> Cells =
      MeasureCharactersBounds(ADC, AText, ALength, ABounds, AFont, AIsRTLReading);
  if (Cells.empty()) return nullptr;
  Integer Last = std::min(ASelStart + ASelLength, ALength) - 1;
  if (Last < ASelStart) return nullptr;
  TRegionHandle Result;
  for (Integer I = std::max(ASelStart, 0); I <= Last; ++I) {
    const TRect& C = Cells[I];
    if (C.left >= C.right) continue;
    TRegionHandle Cell(CreateRectRgn(C.left, C.top, C.right, C.bottom));
    if (!Result)
      Result = std::move(Cell);
    else
      CombineRgn(Result.Get(), Result.Get(), Cell.Get(), RGN_OR);
  }
  return Result.Release();
}

// ---------------------------------------------------------------------------

void dxCoreGraphics_Initialize() {
  if (CatalogueGuard++ > 0) return;
  Catalogue = new TCatalogue;
  for (const TNamedColor& C : CssColors)
    Catalogue->NameToColor[LowerCase(C.Name)] = TdxAlphaColor(C.Value);
  for (const THtmlColor& H : HtmlSystemColors)
    Catalogue->HtmlNameToColor[H.Name] = CurrentSystemColor(SystemColorsData[H.Color].Index);
  Catalogue->HtmlNameToColor[L"lightgrey"] = LightGrey;
  Catalogue->Listener.reset(Create<TSystemColorsListener>());
  TdxAlphaColors::UpdateSystemColors();
}

void dxCoreGraphics_Finalize() {
  if (CatalogueGuard == 0 || --CatalogueGuard > 0) return;
  delete Catalogue;
  Catalogue = nullptr;
}
