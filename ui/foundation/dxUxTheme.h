// Run-time access to the theme library. Every forwarder checks its entry
// point and reports failure when the library or the entry point is missing,
// so callers on systems without visual styles never call through nothing.
// The forwarders live in namespace dxUxTheme because the platform header
// declares functions of the same names.
#pragma once

#include "WinHandles.h"
#include "dxCore.h"
// The theme types, after the platform headers that dxCore.h brings.
#include <uxtheme.h>

using TdxMargins = MARGINS;
using TdxDTTOpts = DTTOPTS;
using TdxBPPaintParams = BP_PAINTPARAMS;

namespace dxUxTheme {

// The entry points bound by name, in binding order.
enum TEntry {
  eCloseThemeData,
  eDrawThemeBackground,
  eDrawThemeEdge,
  eDrawThemeIcon,
  eDrawThemeParentBackground,
  eDrawThemeText,
  eDrawThemeTextEx,
  eEnableThemeDialogTexture,
  eGetCurrentThemeName,
  eGetThemeAppProperties,
  eGetThemeBackgroundContentRect,
  eGetThemeBackgroundRegion,
  eGetThemeBackgroundExtent,
  eGetThemeBool,
  eGetThemeColor,
  eGetThemeDocumentationProperty,
  eGetThemeEnumValue,
  eGetThemeFilename,
  eGetThemeFont,
  eGetThemeInt,
  eGetThemeIntList,
  eGetThemeMargins,
  eGetThemeMetric,
  eGetThemePartSize,
  eGetThemePosition,
  eGetThemePropertyOrigin,
  eGetThemeRect,
  eGetThemeString,
  eGetThemeSysBool,
  eGetThemeSysColor,
  eGetThemeSysColorBrush,
  eGetThemeSysFont,
  eGetThemeSysInt,
  eGetThemeSysSize,
  eGetThemeSysString,
  eGetThemeTextExtent,
  eGetThemeTextMetrics,
  eGetWindowTheme,
  eHitTestThemeBackground,
  eIsAppThemed,
  eIsThemeActive,
  eIsThemePartDefined,
  eIsThemeBackgroundPartiallyTransparent,
  eIsThemeDialogTextureEnabled,
  eOpenThemeData,
  eSetThemeAppProperties,
  eSetWindowTheme,
  eBeginBufferedPaint,
  eBufferedPaintClear,
  eBufferedPaintInit,
  eBufferedPaintSetAlpha,
  eBufferedPaintUnInit,
  eEndBufferedPaint,
  eBeginPanningFeedback,
  eUpdatePanningFeedback,
  eEndPanningFeedback,
  EntryCount
};
extern const char* const EntryNames[EntryCount];

// The library as bound: loaded or not, and each entry point or nullptr.
struct TBinding {
  bool Loaded = false;
  void* Entries[EntryCount] = {};
};
const TBinding& Binding();
// Replaces the binding (tests install a fake one); returns the previous one.
TBinding SetBinding(const TBinding& ABinding);
// The binding of the real library, loaded now when it is not yet.
TBinding LoadBinding();

bool IsThemeLibraryLoaded();

HTHEME OpenThemeData(HWND hwnd, LPCWSTR pszClassList);
HRESULT CloseThemeData(HTHEME hTheme);
HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pRect,
                            const RECT* pClipRect);
HRESULT DrawThemeBackground(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT& pRect,
                            const RECT& pClipRect);
HRESULT DrawThemeText(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText,
                      int iCharCount, DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect);
HRESULT DrawThemeText(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const String& AText,
                      int iCharCount, DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect);
HRESULT DrawThemeTextEx(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const String& AText,
                        int iCharCount, DWORD dwFlags, RECT& pRect, const TdxDTTOpts* pOptions);
HRESULT GetThemeBackgroundContentRect(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                      const RECT* pBoundingRect, RECT* pContentRect);
HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* prc,
                         THEMESIZE eSize, SIZE* psz);
HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT& prc,
                         THEMESIZE eSize, SIZE* psz);
HRESULT GetThemePartSize(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, THEMESIZE eSize,
                         SIZE* psz);
HRESULT GetThemeBackgroundRegion(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                 const RECT* pRect, HRGN* pRegion);
HRESULT DrawThemeEdge(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const RECT* pDestRect,
                      UINT uEdge, UINT uFlags, RECT* pContentRect);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME hTheme, int iPartId, int iStateId);
HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* prc);
HRESULT GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId, COLORREF* pColor);
HRESULT GetThemeMargins(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId,
                        const RECT* prc, TdxMargins* pMargins);
BOOL IsThemeActive();
HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                            int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
HRESULT BufferedPaintInit();
HRESULT BufferedPaintUnInit();
HPAINTBUFFER BeginBufferedPaint(HDC hdcTarget, const RECT* prcTarget, BP_BUFFERFORMAT dwFormat,
                                TdxBPPaintParams* pPaintParams, HDC* phdc);
HRESULT EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget);
HRESULT BufferedPaintClear(HPAINTBUFFER hBufferedPaint, const RECT* prc);
HRESULT BufferedPaintSetAlpha(HPAINTBUFFER hBufferedPaint, const RECT* prc, BYTE alpha);

// How the kit's owner closes a theme handle: through the binding, so that a
// fake library of the tests sees its handles closed too.
struct TThemeHandleTraits {
  using THandle = HTHEME;
  static HTHEME Null() noexcept { return nullptr; }
  static void Close(HTHEME AHandle) noexcept { CloseThemeData(AHandle); }
};

}  // namespace dxUxTheme

// The owner of one theme handle (OpenThemeData).
using TdxThemeHandle = TUniqueHandle<dxUxTheme::TThemeHandleTraits>;

bool dxBeginPanningFeedback(HWND AWindow);
bool dxUpdatePanningFeedback(HWND AWindow, const POINT& AOverpan, bool AIsInertia);
bool dxEndPanningFeedback(HWND AWindow, bool AAnimateBack);

void dxUxTheme_Initialize();
void dxUxTheme_Finalize();
