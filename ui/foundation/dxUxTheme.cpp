#include "dxUxTheme.h"
// After the platform headers.
#include <commctrl.h>

namespace dxUxTheme {

const char* const EntryNames[EntryCount] = {"CloseThemeData",
                                            "DrawThemeBackground",
                                            "DrawThemeEdge",
                                            "DrawThemeIcon",
                                            "DrawThemeParentBackground",
                                            "DrawThemeText",
                                            "DrawThemeTextEx",
                                            "EnableThemeDialogTexture",
                                            "GetCurrentThemeName",
                                            "GetThemeAppProperties",
                                            "GetThemeBackgroundContentRect",
                                            "GetThemeBackgroundRegion",
                                            "GetThemeBackgroundExtent",
                                            "GetThemeBool",
                                            "GetThemeColor",
                                            "GetThemeDocumentationProperty",
                                            "GetThemeEnumValue",
                                            "GetThemeFilename",
                                            "GetThemeFont",
                                            "GetThemeInt",
                                            "GetThemeIntList",
                                            "GetThemeMargins",
                                            "GetThemeMetric",
                                            "GetThemePartSize",
                                            "GetThemePosition",
                                            "GetThemePropertyOrigin",
                                            "GetThemeRect",
                                            "GetThemeString",
                                            "GetThemeSysBool",
                                            "GetThemeSysColor",
                                            "GetThemeSysColorBrush",
                                            "GetThemeSysFont",
                                            "GetThemeSysInt",
                                            "GetThemeSysSize",
                                            "GetThemeSysString",
                                            "GetThemeTextExtent",
                                            "GetThemeTextMetrics",
                                            "GetWindowTheme",
                                            "HitTestThemeBackground",
                                            "IsAppThemed",
                                            "IsThemeActive",
                                            "IsThemePartDefined",
                                            "IsThemeBackgroundPartiallyTransparent",
                                            "IsThemeDialogTextureEnabled",
                                            "OpenThemeData",
                                            "SetThemeAppProperties",
                                            "SetWindowTheme",
                                            "BeginBufferedPaint",
                                            "BufferedPaintClear",
                                            "BufferedPaintInit",
                                            "BufferedPaintSetAlpha",
                                            "BufferedPaintUnInit",
                                            "EndBufferedPaint",
                                            "BeginPanningFeedback",
                                            "UpdatePanningFeedback",
                                            "EndPanningFeedback"};

namespace {
TBinding FBinding;
HMODULE FLibrary = nullptr;

// The bound entry point typed as the caller's function type, or nullptr.
template <class F>
F Entry(TEntry AEntry) {
  return reinterpret_cast<F>(FBinding.Entries[AEntry]);
}

// The result reported for a missing entry point.
constexpr HRESULT NotBound = E_NOTIMPL;
}  // namespace

const TBinding& Binding() { return FBinding; }

TBinding SetBinding(const TBinding& ABinding) {
  TBinding Old = FBinding;
  FBinding = ABinding;
  return Old;
}

TBinding LoadBinding() {
  TBinding B;
  if (!FLibrary) FLibrary = LoadLibraryW(L"UxTheme.dll");
  B.Loaded = FLibrary != nullptr;
  if (FLibrary)
    for (int I = 0; I < EntryCount; ++I)
      B.Entries[I] = reinterpret_cast<void*>(GetProcAddress(FLibrary, EntryNames[I]));
  return B;
}

bool IsThemeLibraryLoaded() { return FBinding.Loaded; }

HTHEME OpenThemeData(HWND hwnd, LPCWSTR pszClassList) {
  auto F = Entry<HTHEME(WINAPI*)(HWND, LPCWSTR)>(eOpenThemeData);
  return F ? F(hwnd, pszClassList) : nullptr;
}

HRESULT CloseThemeData(HTHEME hTheme) {
  auto F = Entry<HRESULT(WINAPI*)(HTHEME)>(eCloseThemeData);
  return F ? F(hTheme) : NotBound;
}

HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pRect,
                            const RECT* pClipRect) {
  auto F = Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*)>(
      eDrawThemeBackground);
  return F ? F(hTheme, hdc, iPartId, iStateId, pRect, pClipRect) : NotBound;
}

HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT& pRect,
                            const RECT& pClipRect) {
  return dxUxTheme::DrawThemeBackground(hTheme, hdc, iPartId, iStateId, &pRect, &pClipRect);
}

HRESULT DrawThemeText(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText,
                      int iCharCount, DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect) {
  auto F = Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*)>(
      eDrawThemeText);
  return F ? F(hTheme, hdc, iPartId, iStateId, pszText, iCharCount, dwTextFlags, dwTextFlags2,
               pRect)
           : NotBound;
}

HRESULT DrawThemeText(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const String& AText,
                      int iCharCount, DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect) {
  String Copy = AText;
  return dxUxTheme::DrawThemeText(hTheme, hdc, iPartId, iStateId, Copy.c_str(), iCharCount,
                                  dwTextFlags, dwTextFlags2, pRect);
}

HRESULT DrawThemeTextEx(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const String& AText,
                        int iCharCount, DWORD dwFlags, RECT& pRect, const TdxDTTOpts* pOptions) {
  auto F =
      Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, LPRECT, const DTTOPTS*)>(
          eDrawThemeTextEx);
  String Copy = AText;
  return F ? F(hTheme, hdc, iPartId, iStateId, Copy.c_str(), iCharCount, dwFlags, &pRect, pOptions)
           : NotBound;
}

HRESULT GetThemeBackgroundContentRect(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                      const RECT* pBoundingRect, RECT* pContentRect) {
  auto F = Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, RECT*)>(
      eGetThemeBackgroundContentRect);
  return F ? F(hTheme, hdc, iPartId, iStateId, pBoundingRect, pContentRect) : NotBound;
}

HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* prc,
                         THEMESIZE eSize, SIZE* psz) {
  auto F = Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*)>(
      eGetThemePartSize);
  return F ? F(hTheme, hdc, iPartId, iStateId, prc, eSize, psz) : NotBound;
}

HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT& prc,
                         THEMESIZE eSize, SIZE* psz) {
  return dxUxTheme::GetThemePartSize(hTheme, hdc, iPartId, iStateId, &prc, eSize, psz);
}

HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, THEMESIZE eSize,
                         SIZE* psz) {
  return dxUxTheme::GetThemePartSize(hTheme, hdc, iPartId, iStateId,
                                     static_cast<const RECT*>(nullptr), eSize, psz);
}

HRESULT GetThemeBackgroundRegion(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                 const RECT* pRect, HRGN* pRegion) {
  auto F =
      Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, HRGN*)>(eGetThemeBackgroundRegion);
  return F ? F(hTheme, hdc, iPartId, iStateId, pRect, pRegion) : NotBound;
}

HRESULT DrawThemeEdge(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pDestRect,
                      UINT uEdge, UINT uFlags, RECT* pContentRect) {
  auto F = Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*)>(
      eDrawThemeEdge);
  return F ? F(hTheme, hdc, iPartId, iStateId, pDestRect, uEdge, uFlags, pContentRect) : NotBound;
}

BOOL IsThemeBackgroundPartiallyTransparent(HTHEME hTheme, int iPartId, int iStateId) {
  auto F = Entry<BOOL(WINAPI*)(HTHEME, int, int)>(eIsThemeBackgroundPartiallyTransparent);
  return F ? F(hTheme, iPartId, iStateId) : FALSE;
}

HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* prc) {
  auto F = Entry<HRESULT(WINAPI*)(HWND, HDC, const RECT*)>(eDrawThemeParentBackground);
  if (!F) return NotBound;
  // The parent's painting may select its own font into the device context.
  HGDIOBJ Font = GetCurrentObject(hdc, OBJ_FONT);
  HRESULT R = F(hwnd, hdc, prc);
  SelectObject(hdc, Font);
  return R;
}

HRESULT GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor) {
  auto F = Entry<HRESULT(WINAPI*)(HTHEME, int, int, int, COLORREF*)>(eGetThemeColor);
  return F ? F(hTheme, iPartId, iStateId, iPropId, pColor) : NotBound;
}

HRESULT GetThemeMargins(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId,
                        const RECT* prc, TdxMargins* pMargins) {
  auto F = Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, int, LPCRECT, MARGINS*)>(eGetThemeMargins);
  return F ? F(hTheme, hdc, iPartId, iStateId, iPropId, prc, pMargins) : NotBound;
}

BOOL IsThemeActive() {
  auto F = Entry<BOOL(WINAPI*)()>(eIsThemeActive);
  return F ? F() : FALSE;
}

HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                            int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars) {
  auto F = Entry<HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int)>(eGetCurrentThemeName);
  return F ? F(pszThemeFileName, cchMaxNameChars, pszColorBuff, cchMaxColorChars, pszSizeBuff,
               cchMaxSizeChars)
           : NotBound;
}

HRESULT BufferedPaintInit() {
  auto F = Entry<HRESULT(WINAPI*)()>(eBufferedPaintInit);
  return F ? F() : NotBound;
}

HRESULT BufferedPaintUnInit() {
  auto F = Entry<HRESULT(WINAPI*)()>(eBufferedPaintUnInit);
  return F ? F() : NotBound;
}

HPAINTBUFFER BeginBufferedPaint(HDC hdcTarget, const RECT* prcTarget, BP_BUFFERFORMAT dwFormat,
                                TdxBPPaintParams* pPaintParams, HDC* phdc) {
  auto F = Entry<HPAINTBUFFER(WINAPI*)(HDC, const RECT*, BP_BUFFERFORMAT, BP_PAINTPARAMS*, HDC*)>(
      eBeginBufferedPaint);
  if (F) return F(hdcTarget, prcTarget, dwFormat, pPaintParams, phdc);
  if (phdc) *phdc = nullptr;
  return nullptr;
}

HRESULT EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget) {
  auto F = Entry<HRESULT(WINAPI*)(HPAINTBUFFER, BOOL)>(eEndBufferedPaint);
  return F ? F(hBufferedPaint, fUpdateTarget) : NotBound;
}

HRESULT BufferedPaintClear(HPAINTBUFFER hBufferedPaint, const RECT* prc) {
  auto F = Entry<HRESULT(WINAPI*)(HPAINTBUFFER, const RECT*)>(eBufferedPaintClear);
  return F ? F(hBufferedPaint, prc) : NotBound;
}

HRESULT BufferedPaintSetAlpha(HPAINTBUFFER hBufferedPaint, const RECT* prc, BYTE alpha) {
  auto F = Entry<HRESULT(WINAPI*)(HPAINTBUFFER, const RECT*, BYTE)>(eBufferedPaintSetAlpha);
  return F ? F(hBufferedPaint, prc, alpha) : NotBound;
}

void Unload() {
  FBinding = TBinding{};
  if (FLibrary) FreeLibrary(FLibrary);
  FLibrary = nullptr;
}

}  // namespace dxUxTheme

bool dxBeginPanningFeedback(HWND AWindow) {
  auto F = dxUxTheme::Entry<BOOL(WINAPI*)(HWND)>(dxUxTheme::eBeginPanningFeedback);
  return F && F(AWindow);
}

bool dxUpdatePanningFeedback(HWND AWindow, const POINT& AOverpan, bool AIsInertia) {
  auto F =
      dxUxTheme::Entry<BOOL(WINAPI*)(HWND, LONG, LONG, BOOL)>(dxUxTheme::eUpdatePanningFeedback);
  return F && F(AWindow, AOverpan.x, AOverpan.y, AIsInertia ? TRUE : FALSE);
}

bool dxEndPanningFeedback(HWND AWindow, bool AAnimateBack) {
  auto F = dxUxTheme::Entry<BOOL(WINAPI*)(HWND, BOOL)>(dxUxTheme::eEndPanningFeedback);
  return F && F(AWindow, AAnimateBack ? TRUE : FALSE);
}

void dxUxTheme_Initialize() {
  InitCommonControls();
  dxUxTheme::SetBinding(dxUxTheme::LoadBinding());
}

void dxUxTheme_Finalize() { dxUxTheme::Unload(); }
