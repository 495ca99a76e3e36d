// Helpers of the look-and-feel tests: the registered painters, a bitmap to
// paint on, and a theme library that the tests script.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "WinHandles.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"
#include "ui/graphics/GraphicsTestSupport.h"

inline TcxCustomLookAndFeelPainter* PainterOf(TcxLookAndFeelStyle AStyle) {
  return cxLookAndFeelPaintersManager()->GetPainter(AStyle);
}
inline TcxCustomLookAndFeelPainter* StandardPainter() { return PainterOf(lfsStandard); }
inline TcxCustomLookAndFeelPainter* UltraFlatPainter() { return PainterOf(lfsUltraFlat); }
inline TcxWinXPLookAndFeelPainter* NativePainter() {
  return static_cast<TcxWinXPLookAndFeelPainter*>(PainterOf(lfsNative));
}

// Takes the built-in painter of a class out of the registry for a scope;
// at the end a new one of that class is registered again (and the
// look-and-feel objects resolve anew).
template <class TPainter>
class TPainterAbsence {
 public:
  TPainterAbsence() {
    TOwned<TPainter> Probe(Create<TPainter>());
    FName = Probe->LookAndFeelName();
    cxLookAndFeelPaintersManager()->Unregister(FName);
  }
  ~TPainterAbsence() {
    if (!cxLookAndFeelPaintersManager()->GetPainter(FName))
      cxLookAndFeelPaintersManager()->Register(Create<TPainter>());
  }
  TPainterAbsence(const TPainterAbsence&) = delete;
  TPainterAbsence& operator=(const TPainterAbsence&) = delete;

 private:
  String FName;
};

// Gives the Office 11 scheme's colours distinct values of the tests' own
// for a scope (colours far apart, told apart by their position in the
// list), and the scheme's own values back at the end.
class TOffice11SchemeScope {
 public:
  TOffice11SchemeScope() {
    Integer I = 0;
    for (TColor* C : Colors()) {
      FSaved.push_back(*C);
      *C = static_cast<TColor>(RGB((37 * I + 20) % 256, (91 * I + 50) % 256, (53 * I + 90) % 256));
      ++I;
    }
  }
  ~TOffice11SchemeScope() {
    size_t I = 0;
    for (TColor* C : Colors()) *C = FSaved[I++];
  }
  TOffice11SchemeScope(const TOffice11SchemeScope&) = delete;
  TOffice11SchemeScope& operator=(const TOffice11SchemeScope&) = delete;

  static std::vector<TColor*> Colors() {
    return {&dxOffice11DockColor1,
            &dxOffice11DockColor2,
            &dxOffice11ToolbarsColor1,
            &dxOffice11ToolbarsColor2,
            &dxOffice11BarSeparatorColor1,
            &dxOffice11BarSeparatorColor2,
            &dxOffice11BarFloatingBorderColor1,
            &dxOffice11BarFloatingCaptionTextColor1,
            &dxOffice11MenuColor,
            &dxOffice11MenuIndentColor1,
            &dxOffice11MenuIndentColor2,
            &dxOffice11DropDownBorderColor1,
            &dxOffice11DropDownBorderColor2,
            &dxOffice11SelectedBorderColor,
            &dxOffice11SelectedColor1,
            &dxOffice11SelectedColor2,
            &dxOffice11SelectedDownColor1,
            &dxOffice11DownedColor,
            &dxOffice11TextEnabledColor,
            &dxOffice11TextDisabledColor,
            &dxOffice11InPlaceSubItemColor,
            &dxOffice11ControlBorderColor,
            &dxOffice11GroupColor,
            &dxOffice11DayNavigatorSelectedColor,
            &dxOffice11OutlookBorderColor,
            &dxOffice11OutlookControlColor,
            &dxOffice11ExpandButtonColor1,
            &dxOffice11ExpandButtonColor2};
  }

 private:
  std::vector<TColor> FSaved;
};

// A 32-bit bitmap filled with one colour, and its library canvas.
class TPaintTarget {
 public:
  TPaintTarget(int AWidth, int AHeight, TColor AFill = clWhite)
      : FBitmap(FilledBitmap(AWidth, AHeight, AFill)) {}
  TcxCanvas* Canvas() const { return FBitmap->cxCanvas(); }
  TcxBitmap32* Bitmap() const { return FBitmap.get(); }
  HDC DC() const { return FBitmap->cxCanvas()->Handle(); }
  COLORREF Pixel(int X, int Y) const { return PixelOf(FBitmap.get(), X, Y); }
  TRGBColors Pixels() const {
    TRGBColors P;
    GetBitmapBits(FBitmap.get(), P, true);
    return P;
  }
  // Starts (and widths) of the runs of AColor on row Y.
  std::vector<int> RunStarts(int Y, COLORREF AColor, std::vector<int>* AWidths = nullptr) const {
    std::vector<int> R;
    for (int X = 0; X < Width(); ++X) {
      if (Pixel(X, Y) != AColor || (X > 0 && Pixel(X - 1, Y) == AColor)) continue;
      R.push_back(X);
      int E = X;
      while (E < Width() && Pixel(E, Y) == AColor) ++E;
      if (AWidths) AWidths->push_back(E - X);
    }
    return R;
  }
  // '#' for pixels of AColor, '.' for the others.
  std::string Shape(COLORREF AColor) const { return ::Shape(FBitmap.get(), AColor); }
  int Width() const { return FBitmap->Width(); }
  int Height() const { return FBitmap->Height(); }

 private:
  TOwned<TcxBitmap32> FBitmap;
};

// The colours that pixel tests inject: distinct values so that each system
// colour shows by which it is.
constexpr COLORREF kBtnFace = RGB(200, 200, 200), kBtnShadow = RGB(128, 128, 128),
                   kBtnHighlight = RGB(255, 255, 255), k3DDkShadow = RGB(64, 64, 64),
                   k3DLight = RGB(224, 224, 224), kBtnText = RGB(0, 0, 0),
                   kWindow = RGB(250, 250, 240), kWindowText = RGB(10, 10, 10),
                   kHighlight = RGB(0, 80, 200), kHighlightText = RGB(255, 255, 254),
                   kGrayText = RGB(110, 110, 110), kWindowFrame = RGB(20, 20, 20),
                   kMenu = RGB(236, 236, 236), kMenuText = RGB(5, 5, 5),
                   kMenuHighlight = RGB(50, 120, 220), kInfoBk = RGB(255, 255, 225),
                   kInactiveBorder = RGB(180, 180, 190), kScrollBar = RGB(212, 208, 200);

inline std::map<int, COLORREF> ClassicColors() {
  return {{COLOR_BTNFACE, kBtnFace},
          {COLOR_BTNSHADOW, kBtnShadow},
          {COLOR_BTNHIGHLIGHT, kBtnHighlight},
          {COLOR_3DDKSHADOW, k3DDkShadow},
          {COLOR_3DLIGHT, k3DLight},
          {COLOR_BTNTEXT, kBtnText},
          {COLOR_WINDOW, kWindow},
          {COLOR_WINDOWTEXT, kWindowText},
          {COLOR_HIGHLIGHT, kHighlight},
          {COLOR_HIGHLIGHTTEXT, kHighlightText},
          {COLOR_GRAYTEXT, kGrayText},
          {COLOR_WINDOWFRAME, kWindowFrame},
          {COLOR_MENU, kMenu},
          {COLOR_MENUTEXT, kMenuText},
          {COLOR_MENUHILIGHT, kMenuHighlight},
          {COLOR_INFOBK, kInfoBk},
          {COLOR_INACTIVEBORDER, kInactiveBorder},
          {COLOR_SCROLLBAR, kScrollBar}};
}

// ---------------------------------------------------------------------------
// A scripted theme library. Classes named in Refused do not open; every
// drawing call is recorded; DrawThemeBackground paints the part's rectangle
// in a colour made from its part and state numbers (or black pixels only,
// when BlackPixels is set).
struct TFakeThemeCall {
  String ClassName;
  int Part;
  int State;
  TRect Rect;
};

struct TFakeTheme {
  bool Active = true;
  std::set<String> Refused;
  SIZE PartSize{13, 13};
  bool PartSizeFails = false;
  bool BlackPixels = false;
  bool ColorFails = false;
  COLORREF Color = RGB(12, 34, 56);
  std::vector<TFakeThemeCall> Draws;
  std::map<NativeInt, String> Handles;
  NativeInt NextHandle = 1000;

  static TFakeTheme& Current() {
    static TFakeTheme T;
    return T;
  }
  static String ClassOf(HTHEME ATheme) {
    auto It = Current().Handles.find(reinterpret_cast<NativeInt>(ATheme));
    return It == Current().Handles.end() ? String() : It->second;
  }
  // The colour the fake paints a part and state in.
  static COLORREF PartColor(int APart, int AState) {
    return RGB(10 * APart % 256, 10 * AState % 256, 77);
  }
};

namespace FakeThemeApi {
inline BOOL WINAPI IsThemeActive() { return TFakeTheme::Current().Active; }
inline HTHEME WINAPI OpenThemeData(HWND, LPCWSTR AClassList) {
  TFakeTheme& T = TFakeTheme::Current();
  if (T.Refused.count(AClassList)) return nullptr;
  NativeInt H = T.NextHandle++;
  T.Handles[H] = AClassList;
  return reinterpret_cast<HTHEME>(H);
}
inline HRESULT WINAPI CloseThemeData(HTHEME) { return S_OK; }
inline HRESULT WINAPI DrawThemeBackground(HTHEME ATheme, HDC DC, int APart, int AState,
                                          const RECT* R, const RECT*) {
  TFakeTheme& T = TFakeTheme::Current();
  T.Draws.push_back({TFakeTheme::ClassOf(ATheme), APart, AState, *R});
  if (T.BlackPixels) {
    // A black square in the middle of the part; the rest left untouched.
    int W = R->right - R->left, H = R->bottom - R->top;
    RECT Inner{R->left + W / 4, R->top + H / 4, R->right - W / 4, R->bottom - H / 4};
    FillRect(DC, &Inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  } else {
    HBRUSH B = CreateSolidBrush(TFakeTheme::PartColor(APart, AState));
    FillRect(DC, R, B);
    DeleteObject(B);
  }
  return S_OK;
}
inline HRESULT WINAPI GetThemePartSize(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE* S) {
  TFakeTheme& T = TFakeTheme::Current();
  if (T.PartSizeFails) return E_FAIL;
  *S = T.PartSize;
  return S_OK;
}
inline HRESULT WINAPI GetThemeColor(HTHEME, int, int, int, COLORREF* C) {
  TFakeTheme& T = TFakeTheme::Current();
  if (T.ColorFails) return E_FAIL;
  *C = T.Color;
  return S_OK;
}
inline HRESULT WINAPI GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const RECT* B, RECT* C) {
  *C = RECT{B->left + 3, B->top + 3, B->right - 3, B->bottom - 3};
  return S_OK;
}
inline HRESULT WINAPI DrawThemeText(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD,
                                    const RECT*) {
  return S_OK;
}
inline HRESULT WINAPI GetThemeMargins(HTHEME, HDC, int, int, int, const RECT*, MARGINS* M) {
  *M = MARGINS{1, 2, 3, 4};
  return S_OK;
}
}  // namespace FakeThemeApi

// Installs the scripted theme library (or none, with ALoaded false) and
// restarts the theme cache over it; the real library comes back at the end.
class TFakeThemeScope {
 public:
  explicit TFakeThemeScope(bool AActive = true, std::set<String> ARefused = {}) {
    TFakeTheme& T = TFakeTheme::Current();
    T = TFakeTheme{};
    T.Active = AActive;
    T.Refused = std::move(ARefused);
    dxUxTheme::TBinding B;
    B.Loaded = true;
    using namespace dxUxTheme;
    B.Entries[eIsThemeActive] = reinterpret_cast<void*>(&FakeThemeApi::IsThemeActive);
    B.Entries[eOpenThemeData] = reinterpret_cast<void*>(&FakeThemeApi::OpenThemeData);
    B.Entries[eCloseThemeData] = reinterpret_cast<void*>(&FakeThemeApi::CloseThemeData);
    B.Entries[eDrawThemeBackground] = reinterpret_cast<void*>(&FakeThemeApi::DrawThemeBackground);
    B.Entries[eGetThemePartSize] = reinterpret_cast<void*>(&FakeThemeApi::GetThemePartSize);
    B.Entries[eGetThemeColor] = reinterpret_cast<void*>(&FakeThemeApi::GetThemeColor);
    B.Entries[eGetThemeBackgroundContentRect] =
        reinterpret_cast<void*>(&FakeThemeApi::GetThemeBackgroundContentRect);
    B.Entries[eDrawThemeText] = reinterpret_cast<void*>(&FakeThemeApi::DrawThemeText);
    B.Entries[eGetThemeMargins] = reinterpret_cast<void*>(&FakeThemeApi::GetThemeMargins);
    dxThemeManager_Finalize();
    FSaved = dxUxTheme::SetBinding(B);
    dxThemeManager_Initialize();
    ThemeChanged();
  }
  ~TFakeThemeScope() {
    dxThemeManager_Finalize();
    dxUxTheme::SetBinding(FSaved);
    dxThemeManager_Initialize();
    ThemeChanged();
  }
  TFakeThemeScope(const TFakeThemeScope&) = delete;
  TFakeThemeScope& operator=(const TFakeThemeScope&) = delete;
  TFakeTheme& Theme() { return TFakeTheme::Current(); }

 private:
  // What a change of the system's theme brings: the look-and-feel objects
  // resolve again.
  static void ThemeChanged() {
    if (TcxLookAndFeel* Root = RootLookAndFeel()) Root->Refresh();
  }

  dxUxTheme::TBinding FSaved;
};

// Whether two targets hold the same colours, alpha aside; the first pixel
// that differs when not.
inline ::testing::AssertionResult SamePixels(const TPaintTarget& A, const TPaintTarget& B) {
  TRGBColors PA = A.Pixels(), PB = B.Pixels();
  for (size_t I = 0; I < PA.size(); ++I)
    if (RGB(PA[I].rgbRed, PA[I].rgbGreen, PA[I].rgbBlue) !=
        RGB(PB[I].rgbRed, PB[I].rgbGreen, PB[I].rgbBlue))
      return ::testing::AssertionFailure()
             << "first difference at (" << I % A.Width() << ", " << I / A.Width() << ")";
  return ::testing::AssertionSuccess();
}

// The platform's own theme of a class, to draw what the Native look should
// match.
class TOracleTheme {
 public:
  explicit TOracleTheme(const wchar_t* AClass)
      : FTheme(dxUxTheme::OpenThemeData(nullptr, AClass)) {}
  ~TOracleTheme() {
    if (FTheme) dxUxTheme::CloseThemeData(FTheme);
  }
  TOracleTheme(const TOracleTheme&) = delete;
  TOracleTheme& operator=(const TOracleTheme&) = delete;
  HTHEME Handle() const { return FTheme; }

 private:
  HTHEME FTheme;
};
