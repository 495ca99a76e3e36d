// Window, painting and input routines.
#include "Themes.h"
#include "WinHandles.h"
#include "cxControls.h"
#include "cxControlsInternal.h"
#include "cxDWMApi.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

#include <cstdlib>

using namespace cxControlsInternal;

// ---------------------------------------------------------------------------
// Rectangles and mapping

TRect cxGetWindowRect(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() ? cxGetWindowRect(AControl->Handle()) : cxNullRect;
}

TPoint cxClientToScreen(HWND AWnd, const TPoint& P) {
  POINT Result{P.x, P.y};
  ClientToScreen(AWnd, &Result);
  return TPoint{Result.x, Result.y};
}

TPoint dxMapWindowPoint(HWND AHandleFrom, HWND AHandleTo, const TPoint& P, bool AClient) {
  TRect R;
  dxMapWindowRect(AHandleFrom, AHandleTo, cxRect(P.x, P.y, P.x, P.y), R, AClient);
  return TPoint{R.left, R.top};
}

TRect GetMonitorWorkArea(HMONITOR AMonitor) {
  if (!AMonitor) return Screen() ? Screen()->WorkAreaRect() : cxNullRect;
  MONITORINFO Info{};
  Info.cbSize = sizeof(Info);
  if (!GetMonitorInfoW(AMonitor, &Info)) return cxNullRect;
  return Info.rcWork;
}

TRect GetDesktopWorkArea(const TPoint& P) {
  return GetMonitorWorkArea(MonitorFromPoint(POINT{P.x, P.y}, MONITOR_DEFAULTTONEAREST));
}

void MakeVisibleOnDesktop(TRect& ABounds, const TPoint& ADesktopPoint) {
  TRect W = GetDesktopWorkArea(ADesktopPoint);
  if (ABounds.right > W.right) OffsetRect(&ABounds, W.right - ABounds.right, 0);
  if (ABounds.bottom > W.bottom) OffsetRect(&ABounds, 0, W.bottom - ABounds.bottom);
  if (ABounds.left < W.left) OffsetRect(&ABounds, W.left - ABounds.left, 0);
  if (ABounds.top < W.top) OffsetRect(&ABounds, 0, W.top - ABounds.top);
}

HWND cxWindowFromPoint(const TPoint& P) {
  HWND Result = WindowFromPoint(POINT{P.x, P.y});
  while (Result) {
    POINT Client{P.x, P.y};
    ScreenToClient(Result, &Client);
    HWND Child = ChildWindowFromPointEx(Result, Client, CWP_SKIPINVISIBLE);
    if (!Child || Child == Result) break;
    Result = Child;
  }
  return Result;
}

void cxRedrawNCRect(HWND AWnd, const TRect& R) {
  TRegionHandle Region(CreateRectRgnIndirect(&R));
  SendMessageW(AWnd, WM_NCPAINT, reinterpret_cast<WPARAM>(Region.Get()), 0);
}

// ---------------------------------------------------------------------------
// Windows

LONG_PTR dxSetWindowStyle(HWND AHandle, LONG_PTR ANewStyle, TdxSetOperation AOperation,
                          TdxWindowStyleIndex AStyleIndex) {
  LONG_PTR Previous = GetWindowLongPtrW(AHandle, AStyleIndex);
  LONG_PTR Style = ANewStyle;
  if (AOperation == soAdd)
    Style = Previous | ANewStyle;
  else if (AOperation == soSubtract)
    Style = Previous & ~ANewStyle;
  SetWindowLongPtrW(AHandle, AStyleIndex, Style);
  return Previous;
}

WNDPROC dxSetWindowProc(HWND AHandle, WNDPROC AProc) {
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(AHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AProc)));
}

void dxSetZOrder(HWND AHandle, HWND AWndAfter, bool AActivate, UINT AFlags) {
  UINT Flags = SWP_NOMOVE | SWP_NOSIZE | AFlags;
  if (!AActivate) Flags |= SWP_NOACTIVATE;
  SetWindowPos(AHandle, AWndAfter, 0, 0, 0, 0, Flags);
}

bool dxWindowHasRightToLeftLayout(HWND AWnd) {
  return (GetWindowLongPtrW(AWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

bool dxIsCurrentProcessWindow(HWND AWnd) {
  if (!AWnd) return false;
  DWORD Process = 0;
  GetWindowThreadProcessId(AWnd, &Process);
  return Process == GetCurrentProcessId();
}

bool IsChildEx(HWND AParent, HWND AChild) {
  return AParent && (AParent == AChild || IsChild(AParent, AChild));
}

bool IsWindowEnabledEx(HWND AWnd) {
  for (HWND W = AWnd; W; W = GetParent(W)) {
    if (!IsWindowEnabled(W)) return false;
    if (!IsChildClassWindow(W)) break;
  }
  return AWnd != nullptr;
}

bool IsControlVisible(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() && IsWindowVisible(AControl->Handle());
}

TWinControl* cxFindVCLControl(HWND AWnd) {
  for (HWND W = AWnd; W; W = GetParent(W))
    if (TWinControl* C = TWinControl::FindControl(W)) return C;
  return nullptr;
}

TWinControl* dxFindParentControl(HWND AWnd) { return cxFindVCLControl(AWnd); }

TCustomForm* dxGetParentForm(HWND AWnd) {
  TWinControl* C = cxFindVCLControl(AWnd);
  return C ? GetParentForm(C) : nullptr;
}

TComponent* cxFindComponent(TComponent* AOwner, TClass AClass) {
  if (!AOwner) return nullptr;
  for (Integer I = 0; I < AOwner->ComponentCount(); ++I)
    if (AOwner->Components(I)->InheritsFrom(AClass)) return AOwner->Components(I);
  return nullptr;
}

TCustomForm* dxGetScreenActiveForm() {
  if (Screen() && Screen()->ActiveForm()) return Screen()->ActiveForm();
  return dxGetParentForm(GetActiveWindow());
}

TFormStyle FormStyle(TCustomForm* AForm) { return AForm->FormStyle(); }

bool IsMDIChild(TCustomForm* AForm) {
  return AForm && !AForm->ComponentState().Contains(csDesigning) &&
         AForm->FormStyle() == fsMDIChild;
}

bool dxIsMDIChildWindow(HWND AWnd) {
  return IsMDIChild(AsOrNull<TCustomForm>(TWinControl::FindControl(AWnd)));
}

void dxPerformMessageByQueue(TControl* AControl, UINT AMsg) {
  if (!AControl) return;
  AControl->Perform(AMsg, 0, 0);
  for (TControl* C = AControl->Parent(); C && !AsOrNull<TCustomForm>(C); C = C->Parent())
    C->Perform(AMsg, 0, 0);
}

void cxRecreateControlWnd(TWinControl* AControl, bool APostponed) {
  if (!AControl || !AControl->HandleAllocated()) return;
  if (APostponed)
    PostMessageW(AControl->Handle(), CM_RECREATEWND, 0, 0);
  else
    AControl->Perform(CM_RECREATEWND, 0, 0);
}

bool CanAllocateHandle(TWinControl* AControl) {
  if (!AControl) return false;
  if (AControl->HandleAllocated()) return true;
  if (AControl->ComponentState().Contains(csDestroying)) return false;
  if (AControl->ParentWindow()) return true;
  if (AControl->Parent()) return CanAllocateHandle(AControl->Parent());
  if (!Application() || !Application()->Handle()) return false;
  if (auto* Form = AsOrNull<TCustomForm>(AControl))
    return !IsMDIChild(Form) ||
           (Application()->MainForm() != Form && CanAllocateHandle(Application()->MainForm()));
  return AsOrNull<TCustomFrame>(AControl) != nullptr;
}

TPoint cxClientToParent(TControl* AControl, const TPoint& P, TWinControl* AParent) {
  return AControl->ClientToParent(P, AParent);
}

bool cxIsVCLThemesEnabled() { return cxStyleServices()->Enabled(); }
TCustomStyleServices* cxStyleServices() { return StyleServices(); }

// ---------------------------------------------------------------------------
// Painting

bool dxGetUpdateRgn(TWinControl* AControl, HRGN ARegion) {
  if (IsWinSeven && !IsCompositionEnabled()) return false;
  int Kind = GetUpdateRgn(AControl->Handle(), ARegion, FALSE);
  return Kind == SIMPLEREGION || Kind == COMPLEXREGION;
}

void dxBufferedPaintControl(TWinControl* AControl) {
  HWND Wnd = AControl->Handle();
  TRegionHandle Update(CreateRectRgn(0, 0, 0, 0));
  bool HasUpdate = dxGetUpdateRgn(AControl, Update.Get());
  PAINTSTRUCT PS;
  HDC PaintDC = BeginPaint(Wnd, &PS);
  auto EndPaintGuard = Finally([&] { EndPaint(Wnd, &PS); });
  TRect R = PS.rcPaint;
  if (IsRectEmpty(&R)) return;
  TBitmapHandle Bitmap(CreateCompatibleBitmap(PaintDC, RectWidth(R), RectHeight(R)));
  TMemoryDC MemDC(CreateCompatibleDC(PaintDC));
  TSelectObjectGuard Select(MemDC.Get(), Bitmap.Get());
  SetWindowOrgEx(MemDC.Get(), R.left, R.top, nullptr);
  if (HasUpdate) {
    OffsetRgn(Update.Get(), -R.left, -R.top);
    SelectClipRgn(MemDC.Get(), Update.Get());
  }
  WPARAM DC = reinterpret_cast<WPARAM>(MemDC.Get());
  AControl->Perform(WM_ERASEBKGND, DC, static_cast<LPARAM>(DC));
  AControl->Perform(WM_PAINT, DC, 0);
  BitBlt(PaintDC, R.left, R.top, RectWidth(R), RectHeight(R), MemDC.Get(), R.left, R.top, SRCCOPY);
}

namespace {
TdxCompositionQuery PaintOnGlassCompositionQuery = &IsCompositionEnabled;
}  // namespace

TdxCompositionQuery& dxPaintOnGlassCompositionQuery() { return PaintOnGlassCompositionQuery; }

bool dxIsPaintOnGlass(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() &&
         AControl->ControlState().Contains(csGlassPaint) && PaintOnGlassCompositionQuery &&
         PaintOnGlassCompositionQuery();
}

void dxForceProcessBufferedPaintMessages(TWinControl* AControl) {
  if (!AControl || AControl->ComponentState().Contains(csDestroying) || !dxIsPaintOnGlass(AControl))
    return;
  HWND AWnd = AControl->Handle();
  MSG AMsg;
  // Each message may destroy the window; the loop asks the window again.
  while (IsWindow(AWnd) &&
         PeekMessageW(&AMsg, AWnd, CM_BUFFEREDPRINTCLIENT, CM_BUFFEREDPRINTCLIENT, PM_REMOVE))
    DispatchMessageW(&AMsg);
}

bool cxIsDrawToMemory(const TMessage& Message) {
  return Message.Msg == WM_ERASEBKGND && Message.WParam == static_cast<WPARAM>(Message.LParam);
}

bool cxIsUpdateLayeredWindowAvailable() { return ControlsState().UpdateLayeredWindow != nullptr; }

void cxUpdateLayeredWindow(HWND AHandle, TBitmap* ABitmap, Byte AAlpha) {
  TUpdateLayeredWindow Update = ControlsState().UpdateLayeredWindow;
  if (!Update) return;
  POINT Source{0, 0};
  SIZE Size{ABitmap->Width(), ABitmap->Height()};
  BLENDFUNCTION Blend{AC_SRC_OVER, 0, AAlpha, AC_SRC_ALPHA};
  Update(AHandle, nullptr, nullptr, &Size, ABitmap->Canvas()->Handle(), &Source, 0, &Blend,
         ULW_ALPHA);
}

BITMAPINFOHEADER dxGlassTextBitmapHeader(Integer AWidth, Integer AHeight) {
  // The size field says the header's own size: a reader that trusts it to
  // find the pixels (or a colour table) must not skip four bytes too many.
  BITMAPINFOHEADER H{};
  H.biSize = sizeof(BITMAPINFOHEADER);
  H.biWidth = AWidth;
  H.biHeight = -AHeight;
  H.biPlanes = 1;
  H.biBitCount = 32;
  H.biCompression = BI_RGB;
  return H;
}

void dxDrawTextOnGlass(HDC DC, const String& AText, TFont* AFont, const TRect& ABounds,
                       TColor AColor, DWORD AFlags, Integer AGlowingSize, bool ATransparent) {
  const Integer W = RectWidth(ABounds), H = RectHeight(ABounds);
  if (W <= 0 || H <= 0) return;
  TMemoryDC MemDC(CreateCompatibleDC(DC));
  BITMAPINFO Info{};
  Info.bmiHeader = dxGlassTextBitmapHeader(W, H);
  void* Bits = nullptr;
  TBitmapHandle Bitmap(CreateDIBSection(DC, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
  if (!Bitmap.Get()) return;
  TSelectObjectGuard SelectBitmap(MemDC.Get(), Bitmap.Get());
  if (ATransparent) BitBlt(MemDC.Get(), 0, 0, W, H, DC, ABounds.left, ABounds.top, SRCCOPY);
  HGDIOBJ Font = AFont ? static_cast<HGDIOBJ>(AFont->Handle()) : GetCurrentObject(DC, OBJ_FONT);
  TSelectObjectGuard SelectFont(MemDC.Get(), Font);
  TdxDTTOpts Options{};
  Options.dwSize = sizeof(Options);
  Options.dwFlags = DTT_COMPOSITED | DTT_TEXTCOLOR;
  Options.crText = AColor == clDefault ? GetTextColor(DC) : ColorToRGB(AColor);
  if (AGlowingSize > 0) {
    Options.dwFlags |= DTT_GLOWSIZE;
    Options.iGlowSize = AGlowingSize;
  }
  RECT R{0, 0, W, H};
  if (HTHEME Theme = OpenTheme(totWindow))
    dxUxTheme::DrawThemeTextEx(Theme, MemDC.Get(), 0, 0, AText, -1, AFlags, R, &Options);
  BitBlt(DC, ABounds.left, ABounds.top, W, H, MemDC.Get(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// Right-to-left

TAlignment TdxRightToLeftLayoutConverter::ConvertAlignment(TAlignment A) {
  return A == taLeftJustify ? taRightJustify : A == taRightJustify ? taLeftJustify : A;
}

TcxArrowDirection TdxRightToLeftLayoutConverter::ConvertArrowDirection(TcxArrowDirection A) {
  return A == adLeft ? adRight : A == adRight ? adLeft : A;
}

Integer TdxRightToLeftLayoutConverter::ConvertcxDrawTextAlignment(Integer AFlags) {
  return AFlags == cxAlignLeft ? cxAlignRight : AFlags == cxAlignRight ? cxAlignLeft : AFlags;
}

TcxTextAlignX TdxRightToLeftLayoutConverter::ConvertcxTextAlignX(TcxTextAlignX A) {
  return A == taLeft ? taRight : A == taRight ? taLeft : A;
}

namespace {
template <class TSetType, class E>
TSetType SwapSides(TSetType A, E ALeft, E ARight) {
  if (A.Contains(ALeft) == A.Contains(ARight)) return A;
  bool HadLeft = A.Contains(ALeft);
  A.Exclude(HadLeft ? ALeft : ARight);
  A.Include(HadLeft ? ARight : ALeft);
  return A;
}
}  // namespace

TcxBorders TdxRightToLeftLayoutConverter::ConvertBorders(TcxBorders A) {
  return SwapSides(A, bLeft, bRight);
}

TcxNeighbors TdxRightToLeftLayoutConverter::ConvertNeighbors(TcxNeighbors A) {
  return SwapSides(A, nLeft, nRight);
}

TcxPopupAlignHorz TdxRightToLeftLayoutConverter::ConvertPopupAlignHorz(TcxPopupAlignHorz A) {
  return A == pahLeft ? pahRight : A == pahRight ? pahLeft : A;
}

Integer TdxRightToLeftLayoutConverter::ConvertXCoordinate(Integer X, const TRect& AParentRect) {
  return AParentRect.left + AParentRect.right - X;
}

TPoint TdxRightToLeftLayoutConverter::ConvertPoint(const TPoint& P, const TRect& AParentRect) {
  return TPoint{ConvertXCoordinate(P.x, AParentRect), P.y};
}

TRect TdxRightToLeftLayoutConverter::ConvertRect(const TRect& R, const TRect& AParentRect) {
  if (R.left == 0 && R.top == 0 && R.right == 0 && R.bottom == 0) return R;
  Integer Left = AParentRect.left + AParentRect.right - R.right;
  return cxRect(Left, R.top, Left + RectWidth(R), R.bottom);
}

TRect TdxRightToLeftLayoutConverter::ConvertOffsets(const TRect& R) {
  return cxRect(R.right, R.top, R.left, R.bottom);
}

Word TdxRightToLeftLayoutConverter::ConvertVirtualKeyCode(Word AKey) {
  return AKey == VK_LEFT ? VK_RIGHT : AKey == VK_RIGHT ? VK_LEFT : AKey;
}

// ---------------------------------------------------------------------------
// Keys and mouse

bool IsTextChar(Char C) {
  WORD Type = 0;
  GetStringTypeW(CT_CTYPE1, &C, 1, &Type);
  return (Type & C1_CNTRL) == 0;
}

bool IsNumericChar(Char C, TcxNumberType AType) {
  if (C == L'-' || C == L'+') return true;
  WORD Type = 0;
  GetStringTypeW(CT_CTYPE1, &C, 1, &Type);
  if (Type & C1_DIGIT) return true;
  if (AType != ntInteger && C == FormatSettings().DecimalSeparator) return true;
  return AType == ntExponent && (C == L'e' || C == L'E');
}

bool IsSysKey(Word AKey) {
  if (AKey > 255) return false;
  switch (AKey) {
    case VK_CANCEL:
    case VK_TAB:
    case VK_CLEAR:
    case VK_RETURN:
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_PAUSE:
    case VK_CAPITAL:
    case VK_ESCAPE:
    case VK_PROCESSKEY:
      return true;
    default:
      return (AKey >= VK_PRIOR && AKey <= VK_HELP) || (AKey >= VK_LWIN && AKey <= VK_SCROLL) ||
             (AKey >= VK_LSHIFT && AKey <= VK_RMENU) || (AKey >= VK_ATTN && AKey <= VK_OEM_CLEAR);
  }
}

Word TranslateKey(Word AKey) { return AKey; }

Integer ShiftStateToKeys(TShiftState AShift) {
  Integer Keys = 0;
  if (AShift.Contains(ssShift)) Keys |= MK_SHIFT;
  if (AShift.Contains(ssCtrl)) Keys |= MK_CONTROL;
  if (AShift.Contains(ssLeft)) Keys |= MK_LBUTTON;
  if (AShift.Contains(ssRight)) Keys |= MK_RBUTTON;
  if (AShift.Contains(ssMiddle)) Keys |= MK_MBUTTON;
  return Keys;
}

Integer GetMouseKeys() {
  auto Down = [](int AKey) { return GetAsyncKeyState(AKey) < 0; };
  Integer Keys = 0;
  if (Down(VK_LBUTTON)) Keys |= MK_LBUTTON;
  if (Down(VK_RBUTTON)) Keys |= MK_RBUTTON;
  if (Down(VK_MBUTTON)) Keys |= MK_MBUTTON;
  if (Down(VK_SHIFT)) Keys |= MK_SHIFT;
  if (Down(VK_CONTROL)) Keys |= MK_CONTROL;
  return Keys;
}

bool cxShiftStateMoveOnly(TShiftState AShift) {
  return (AShift * TShiftState{ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble})
      .Empty();
}

bool cxShiftStateLeftOnly(TShiftState AShift, bool ACanIncludeDoubleClick) {
  if (!AShift.Contains(ssLeft)) return false;
  if (!(AShift * TShiftState{ssShift, ssAlt, ssCtrl, ssRight, ssMiddle}).Empty()) return false;
  return ACanIncludeDoubleClick || !AShift.Contains(ssDouble);
}

bool IsCtrlPressed() { return GetAsyncKeyState(VK_CONTROL) < 0; }

TPoint GetMouseCursorPos() {
  POINT P;
  if (!GetCursorPos(&P)) return TPoint{-1, -1};
  return TPoint{P.x, P.y};
}

void cxSetCapture(HWND AWnd) {
  if (GetCapture() != AWnd) SetCapture(AWnd);
}

Integer GetDblClickInterval() { return static_cast<Integer>(GetDoubleClickTime()); }

bool IsPointInDragDetectArea(const TPoint& AMouseDownPos, Integer X, Integer Y) {
  return std::abs(X - AMouseDownPos.x) < GetSystemMetrics(SM_CXDRAG) &&
         std::abs(Y - AMouseDownPos.y) < GetSystemMetrics(SM_CYDRAG);
}

// ---------------------------------------------------------------------------
// Painting on glass: composition takes the alpha of what is painted, and GDI
// leaves it 0, so the picture goes through a buffer whose alpha is made
// opaque afterwards.

void dxDrawWindowOnGlass(HWND AWnd, HDC ADC, const TRect& ABounds, bool APaintBlackOpaque) {
  if (IsRectEmpty(&ABounds)) return;
  HDC ABufferDC = nullptr;
  TdxBPPaintParams AParams{};
  AParams.cbSize = sizeof(AParams);
  HPAINTBUFFER ABuffer =
      dxUxTheme::BeginBufferedPaint(ADC, &ABounds, BPBF_TOPDOWNDIB, &AParams, &ABufferDC);
  if (!ABuffer) {
    SendMessageW(AWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ADC), reinterpret_cast<LPARAM>(ADC));
    SendMessageW(AWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(ADC), PRF_CLIENT);
    return;
  }
  const bool AHideCaret = GetFocus() == AWnd;
  if (AHideCaret) HideCaret(AWnd);
  auto End = Finally([&] {
    dxUxTheme::EndBufferedPaint(ABuffer, TRUE);
    if (AHideCaret) ShowCaret(AWnd);
  });
  dxUxTheme::BufferedPaintClear(ABuffer, &ABounds);
  SendMessageW(AWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ABufferDC),
               reinterpret_cast<LPARAM>(ABufferDC));
  SendMessageW(AWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(ABufferDC), PRF_CLIENT);
  if (!APaintBlackOpaque) dxUxTheme::BufferedPaintSetAlpha(ABuffer, &ABounds, 255);
}

void dxPaintWindowOnGlass(HWND AWnd, bool APaintBlackOpaque) {
  PAINTSTRUCT PS;
  HDC DC = BeginPaint(AWnd, &PS);
  auto End = Finally([&] { EndPaint(AWnd, &PS); });
  dxDrawWindowOnGlass(AWnd, DC, PS.rcPaint, APaintBlackOpaque);
}
