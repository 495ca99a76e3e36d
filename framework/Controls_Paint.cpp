// The painting road of windowed controls: WM_PAINT straight or through the
// back buffer, the background (the brush or the parent's), printing into a
// DC (WM_PRINTCLIENT, WM_PRINT), the non-client defaults, graphic children,
// and the window's theme data.
#include <algorithm>
#include <memory>
#include <optional>

#include "Controls.h"
#include "ControlsInternal.h"
#include "Forms.h"
#include "WinHandles.h"

namespace {

// BeginPaint and EndPaint of one WM_PAINT.
class TPaintScope {
 public:
  explicit TPaintScope(HWND AWnd) : FWnd(AWnd) { FDC = BeginPaint(AWnd, &FPaint); }
  ~TPaintScope() { EndPaint(FWnd, &FPaint); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  HDC DC() const { return FDC; }
  const RECT& PaintRect() const { return FPaint.rcPaint; }

 private:
  HWND FWnd;
  PAINTSTRUCT FPaint{};
  HDC FDC = nullptr;
};

// A 32-bit top-down DIB section in a memory DC, grown when a paint needs
// more and kept for the next paint, so that a paint costs no allocation.
class TBackBuffer {
 public:
  bool InUse = false;

  // Makes the buffer at least AWidth x AHeight; false when the platform
  // refuses the memory.
  bool Reserve(Integer AWidth, Integer AHeight) {
    if (AWidth <= FWidth && AHeight <= FHeight && FDC) return true;
    const Integer W = std::max(AWidth, FWidth), H = std::max(AHeight, FHeight);
    if (!FDC) FDC.Reset(CreateCompatibleDC(nullptr));
    if (!FDC) return false;
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = -H;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    void* Bits = nullptr;
    TBitmapHandle Bitmap(CreateDIBSection(FDC.Get(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
    if (!Bitmap) return false;
    FSelection.reset();
    FBitmap = std::move(Bitmap);
    FSelection.emplace(FDC.Get(), FBitmap.Get());
    FPixels = static_cast<RGBQUAD*>(Bits);
    FWidth = W;
    FHeight = H;
    return true;
  }
  HDC DC() const { return FDC.Get(); }
  RGBQUAD* Pixels() const { return FPixels; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }

 private:
  // Declared in release order: the selection is undone, then the DC goes,
  // then the bitmap.
  TBitmapHandle FBitmap;
  TMemoryDC FDC;
  std::optional<TSelectObjectGuard> FSelection;
  RGBQUAD* FPixels = nullptr;
  Integer FWidth = 0, FHeight = 0;
};

// The buffers of the UI thread. A paint may paint another window into its
// buffer (a parent's background through WM_PRINTCLIENT), so a buffer in use
// is skipped and another one taken. Windows are painted on the thread that
// made them, which in this program is the main thread; Controls_Finalize
// frees its buffers.
thread_local std::vector<std::unique_ptr<TBackBuffer>>* BackBuffers = nullptr;

// One buffer for the time of a paint.
class TBackBufferLease {
 public:
  TBackBufferLease(Integer AWidth, Integer AHeight) {
    if (!BackBuffers) BackBuffers = new std::vector<std::unique_ptr<TBackBuffer>>();
    for (auto& B : *BackBuffers)
      if (!B->InUse) {
        FBuffer = B.get();
        break;
      }
    if (!FBuffer) FBuffer = BackBuffers->emplace_back(std::make_unique<TBackBuffer>()).get();
    if (!FBuffer->Reserve(AWidth, AHeight)) {
      FBuffer = nullptr;
      return;
    }
    FBuffer->InUse = true;
  }
  ~TBackBufferLease() {
    if (FBuffer) FBuffer->InUse = false;
  }
  TBackBufferLease(const TBackBufferLease&) = delete;
  TBackBufferLease& operator=(const TBackBufferLease&) = delete;
  explicit operator bool() const { return FBuffer != nullptr; }
  TBackBuffer* operator->() const { return FBuffer; }

 private:
  TBackBuffer* FBuffer = nullptr;
};

// The platform's theme library, bound on first use.
struct TThemeBinding {
  bool Bound = false;
  HMODULE Module = nullptr;
  TThemeLibrary Entries;
};
constinit TThemeBinding ThemeBinding;

void BindThemeLibrary() {
  if (ThemeBinding.Bound) return;
  ThemeBinding.Bound = true;
  ThemeBinding.Module = LoadLibraryW(L"uxtheme.dll");
  if (!ThemeBinding.Module) return;
  auto Bind = [](auto& AEntry, const char* AName) {
    AEntry = reinterpret_cast<std::remove_reference_t<decltype(AEntry)>>(
        reinterpret_cast<void*>(GetProcAddress(ThemeBinding.Module, AName)));
  };
  Bind(ThemeBinding.Entries.OpenThemeData, "OpenThemeData");
  Bind(ThemeBinding.Entries.OpenThemeDataForDpi, "OpenThemeDataForDpi");
  Bind(ThemeBinding.Entries.CloseThemeData, "CloseThemeData");
}

}  // namespace

void MakeAlphaOpaque(RGBQUAD* APixels, Integer AWidth, Integer AHeight, const TRect& ARect,
                     bool ATopDown) {
  RECT R;
  const RECT Whole{0, 0, AWidth, AHeight};
  if (!APixels || !IntersectRect(&R, &ARect, &Whole)) return;
  GdiFlush();
  for (LONG Y = R.top; Y < R.bottom; ++Y) {
    const LONG Row = ATopDown ? Y : AHeight - 1 - Y;
    RGBQUAD* Pixel = APixels + static_cast<size_t>(Row) * static_cast<size_t>(AWidth) + R.left;
    for (LONG X = R.left; X < R.right; ++X, ++Pixel) Pixel->rgbReserved = 255;
  }
}

const TThemeLibrary& ThemeLibrary() {
  BindThemeLibrary();
  return ThemeBinding.Entries;
}

TThemeLibrary SetThemeLibrary(const TThemeLibrary& ALibrary) {
  BindThemeLibrary();
  return std::exchange(ThemeBinding.Entries, ALibrary);
}

void ControlsPaint_Finalize() {
  delete BackBuffers;
  BackBuffers = nullptr;
  if (ThemeBinding.Module) FreeLibrary(ThemeBinding.Module);
  ThemeBinding = TThemeBinding{};
}

// --- WM_PAINT -----------------------------------------------------------------
bool TWinControl::PaintsClientArea() const {
  return FDefWndProc == nullptr || FDefWndProc == &DefWindowProcW || !FControls.empty();
}

void TWinControl::WMPaint(TMessage& Message) {
  if (!Message.WParam && FDoubleBuffered) {
    TPaintScope Paint(FHandle);
    PaintBuffered(Paint.DC(), Paint.PaintRect());
    return;
  }
  if (PaintsClientArea())
    PaintHandler(Message);
  else
    DefaultHandler(Message);
}

void TWinControl::PaintBuffered(HDC DC, const TRect& R) {
  if (R.right <= R.left || R.bottom <= R.top) return;
  const Integer W = RectWidth(R), H = RectHeight(R);
  TBackBufferLease Buffer(W, H);
  if (!Buffer) {
    // No memory for a buffer: paint straight into the DC rather than not at all.
    if (!FControlStyle.Contains(csOpaque))
      Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    TMessage Paint{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    Dispatch(Paint);
    return;
  }
  HDC Mem = Buffer->DC();
  {
    // The buffer's (0, 0) is the top-left of R.
    TSaveDCGuard Save(Mem);
    SetViewportOrgEx(Mem, -R.left, -R.top, nullptr);
    SetBrushOrgEx(Mem, -R.left, -R.top, nullptr);
    IntersectClipRect(Mem, R.left, R.top, R.right, R.bottom);
    // WParam == LParam: the erase is meant for the buffer.
    if (!FControlStyle.Contains(csOpaque))
      Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Mem), reinterpret_cast<LPARAM>(Mem));
    TMessage Paint{WM_PAINT, reinterpret_cast<WPARAM>(Mem), 0, 0};
    Dispatch(Paint);
  }
  MakeAlphaOpaque(Buffer->Pixels(), Buffer->Width(), Buffer->Height(), Rect(0, 0, W, H));
  BitBlt(DC, R.left, R.top, W, H, Mem, 0, 0, SRCCOPY);
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  std::optional<TPaintScope> Paint;
  if (!DC) DC = Paint.emplace(FHandle).DC();
  if (FControls.empty()) {
    PaintWindow(DC);
    return;
  }
  {
    // Opaque graphic children cover their part of the window themselves.
    TSaveDCGuard Save(DC);
    for (TControl* C : FControls)
      if (C->Visible() && C->ControlStyle().Contains(csOpaque))
        ExcludeClipRect(DC, C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height());
    RECT Clip;
    if (GetClipBox(DC, &Clip) != NULLREGION) PaintWindow(DC);
  }
  PaintControls(DC, nullptr);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto Start = FControls.begin();
  if (First) Start = std::find(FControls.begin(), FControls.end(), First);
  for (auto It = Start; It != FControls.end(); ++It) {
    TControl* C = *It;
    if (!C->Visible()) continue;
    RECT Clip, R = C->BoundsRect(), Out;
    GetClipBox(DC, &Clip);
    if (!IntersectRect(&Out, &Clip, &R)) continue;
    TSaveDCGuard Save(DC);
    POINT Org;
    GetWindowOrgEx(DC, &Org);
    SetWindowOrgEx(DC, Org.x - C->Left(), Org.y - C->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TWinControl::PaintWindow(HDC DC) {
  // A system window class paints itself into the DC; the framework's own
  // class has nothing to paint.
  if (!FDefWndProc || FDefWndProc == &DefWindowProcW) return;
  TMessage M{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(M);
}

// --- background ---------------------------------------------------------------
void TWinControl::WMEraseBkgnd(TMessage& Message) {
  // An opaque control covers every pixel itself; a double-buffered one gets
  // its background in the buffer (WParam == LParam), never on the screen.
  const bool IntoBuffer = Message.WParam == static_cast<WPARAM>(Message.LParam);
  if (FControlStyle.Contains(csOpaque) || (FDoubleBuffered && !IntoBuffer)) {
    Message.Result = 1;
    return;
  }
  if (!PaintsClientArea() && !FControlStyle.Contains(csAcceptsControls) && !ParentBackground()) {
    DefaultHandler(Message);
    return;
  }
  EraseBackground(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 1;
}

void TWinControl::EraseBackground(HDC DC) {
  if (ParentBackground() && FParent && FParent->HandleAllocated()) {
    DrawParentBackground(DC);
    return;
  }
  RECT R;
  ::GetClientRect(FHandle, &R);
  FBrush->SetColor(FColor);
  ::FillRect(DC, &R, FBrush->Handle());
}

void TWinControl::DrawParentBackground(HDC DC) {
  if (!FParent || !FParent->HandleAllocated() || !FHandle) return;
  HWND Parent = FParent->Handle();
  RECT R;
  ::GetClientRect(FHandle, &R);
  POINT Origin{0, 0};
  MapWindowPoints(FHandle, Parent, &Origin, 1);
  TSaveDCGuard Save(DC);
  IntersectClipRect(DC, R.left, R.top, R.right, R.bottom);
  OffsetViewportOrgEx(DC, -Origin.x, -Origin.y, nullptr);
  // The parent paints its client area at its own coordinates; the clip
  // keeps what lies under this control.
  SendMessageW(Parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
  SendMessageW(Parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT);
}

// --- printing -----------------------------------------------------------------
void TWinControl::WMPrintClient(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (!PaintsClientArea()) {
    DefaultHandler(Message);
    return;
  }
  if ((Message.LParam & PRF_CHECKVISIBLE) && !IsWindowVisible(FHandle)) return;
  const bool WasPrinting = FControlState.Contains(csPrintClient);
  FControlState.Include(csPrintClient);
  auto Restore = Finally([&] {
    if (!WasPrinting) FControlState.Exclude(csPrintClient);
  });
  if (FDoubleBuffered) {
    RECT Clip, Client, R;
    ::GetClientRect(FHandle, &Client);
    if (GetClipBox(DC, &Clip) == NULLREGION || !IntersectRect(&R, &Clip, &Client)) return;
    PaintBuffered(DC, R);
    return;
  }
  if (Message.LParam & PRF_ERASEBKGND)
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
  TMessage Paint{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  Dispatch(Paint);
}

void TWinControl::WMPrint(TMessage& Message) {
  if (!PaintsClientArea()) {
    DefaultHandler(Message);
    return;
  }
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  const LPARAM Flags = Message.LParam;
  if ((Flags & PRF_CHECKVISIBLE) && !IsWindowVisible(FHandle)) return;
  if (Flags & PRF_NONCLIENT) PrintNonClient(DC);
  if (!(Flags & (PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN))) return;
  // The client area at its place inside the window.
  RECT Window, Client;
  GetWindowRect(FHandle, &Window);
  ::GetClientRect(FHandle, &Client);
  POINT Origin{0, 0};
  ::ClientToScreen(FHandle, &Origin);
  TSaveDCGuard Save(DC);
  OffsetViewportOrgEx(DC, Origin.x - Window.left, Origin.y - Window.top, nullptr);
  IntersectClipRect(DC, 0, 0, Client.right, Client.bottom);
  if (Flags & PRF_ERASEBKGND)
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
  if (Flags & PRF_CLIENT) Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), Flags);
  if (!(Flags & PRF_CHILDREN)) return;
  // Children from the bottom of the z-order up, each at its place.
  for (HWND Child = GetWindow(GetWindow(FHandle, GW_CHILD), GW_HWNDLAST); Child;
       Child = GetWindow(Child, GW_HWNDPREV)) {
    if (!IsWindowVisible(Child)) continue;
    RECT R;
    GetWindowRect(Child, &R);
    MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&R), 2);
    TSaveDCGuard SaveChild(DC);
    OffsetViewportOrgEx(DC, R.left, R.top, nullptr);
    SendMessageW(Child, WM_PRINT, reinterpret_cast<WPARAM>(DC), Flags | PRF_NONCLIENT);
  }
}

void TWinControl::PrintNonClient(HDC DC) {
  TMessage M{WM_PRINT, reinterpret_cast<WPARAM>(DC), PRF_NONCLIENT, 0};
  DefaultHandler(M);
}

// --- non-client area ----------------------------------------------------------
void TWinControl::WMNCCalcSize(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::WMNCPaint(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::WMNCHitTest(TMessage& Message) { DefaultHandler(Message); }

// --- theme data ---------------------------------------------------------------
HTHEME TWinControl::ThemeData(const String& AClassList) {
  for (const TThemeEntry& E : FThemes)
    if (SameText(E.ClassList, AClassList)) return E.Theme;
  HWND Wnd = Handle();
  const TThemeLibrary& L = ThemeLibrary();
  HTHEME Theme = nullptr;
  if (L.OpenThemeDataForDpi)
    Theme = L.OpenThemeDataForDpi(Wnd, AClassList.c_str(), static_cast<UINT>(FCurrentPPI));
  else if (L.OpenThemeData)
    Theme = L.OpenThemeData(Wnd, AClassList.c_str());
  // A class that does not open is remembered too, so that painting does not
  // ask again until the theme changes.
  FThemes.push_back({AClassList, Theme});
  return Theme;
}

void TWinControl::CloseThemes() {
  const TThemeLibrary& L = ThemeLibrary();
  for (const TThemeEntry& E : FThemes)
    if (E.Theme && L.CloseThemeData) L.CloseThemeData(E.Theme);
  FThemes.clear();
}

void TWinControl::WMThemeChanged(TMessage& Message) {
  CloseThemes();
  DefaultHandler(Message);
  Invalidate();
}

// --- custom and graphic controls ------------------------------------------------
void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->Lock();
  auto Unlock = Finally([&] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  });
  FCanvas->SetHandle(DC);
  Paint();
}

IMPLEMENT_MESSAGE_TABLE(TGraphicControl, {WM_PAINT, MessageHandler<&TGraphicControl::WMPaint>})

void TGraphicControl::WMPaint(TMessage& Message) {
  if (!Message.WParam) return;
  FCanvas->Lock();
  auto Unlock = Finally([&] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  });
  FCanvas->SetHandle(reinterpret_cast<HDC>(Message.WParam));
  Paint();
}
