// Painting windows into a canvas through WM_PRINT, for controls that show
// what lies behind them.
#include <algorithm>

#include "cxGraphics.h"
#include "cxGraphicsInternal.h"
#include "dxUxTheme.h"

using namespace cxGraphicsInternal;

std::vector<HWND>& PaintSkipList() {
  static std::vector<HWND>* L = new std::vector<HWND>();
  return *L;
}

namespace {
// Parents whose background is being painted further up the call chain.
std::vector<TWinControl*>& LockList() {
  static std::vector<TWinControl*>* L = new std::vector<TWinControl*>();
  return *L;
}

bool Skipped(HWND AWindow) {
  const auto& L = PaintSkipList();
  return std::find(L.begin(), L.end(), AWindow) != L.end();
}

BOOL CALLBACK CollectChild(HWND AWindow, LPARAM AData) noexcept {
  auto* Data = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(AData);
  if (GetAncestor(AWindow, GA_PARENT) != Data->first) return TRUE;
  bool Listed = false;
  CallbackBoundary(nullptr, [&] {
    Data->second->push_back(AWindow);
    Listed = true;
  });
  return Listed;
}

void PrintInto(HWND AWindow, HDC ADC, UINT AFlags, bool ADoubleBuffered) {
  if (ADoubleBuffered) SendMessageW(AWindow, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ADC), 0);
  if (AFlags & PRF_NONCLIENT)
    if (TWinControl* C = TWinControl::FindControl(AWindow))
      FillRectByColor(ADC, cxGetWindowBounds(AWindow), C->Color());
  SendMessageW(AWindow, WM_PRINT, reinterpret_cast<WPARAM>(ADC), AFlags);
  if ((AFlags & PRF_NONCLIENT) && !IsChildClassWindow(AWindow) && GetMenu(AWindow))
    SendMessageW(AWindow, WM_NCPAINT, 0, 0);
}

void PaintChildren(TWinControl* AParent, TcxCanvas* ACanvas, bool ADrawParentWithChildren,
                   bool ADrawNC) {
  std::vector<HWND> Windows;
  GetChildWindows(AParent->Handle(), Windows);
  // A parent may hold many children: each child's window is found in a
  // sorted copy, and the native windows left are painted in list order.
  std::vector<std::pair<HWND, size_t>> Sorted;
  Sorted.reserve(Windows.size());
  for (size_t I = 0; I < Windows.size(); ++I) Sorted.emplace_back(Windows[I], I);
  std::sort(Sorted.begin(), Sorted.end());
  std::vector<bool> HasControl(Windows.size(), false);
  const TRect ParentWindow = cxGetWindowRect(AParent->Handle());
  // Window coordinates of the parent, as dxMapWindowRect gives them.
  const auto MappedBounds = [&ParentWindow](HWND AWindow, TRect& ABounds) {
    TRect W = cxGetWindowRect(AWindow);
    ABounds = cxRect(0, 0, cxRectWidth(W), cxRectHeight(W));
    return cxRectOffset(ABounds, W.left - ParentWindow.left, W.top - ParentWindow.top);
  };
  for (Integer I = 0; I < AParent->ControlCount(); ++I) {
    auto* Child = AsOrNull<TWinControl>(AParent->Controls(I));
    if (!Child || !Child->HandleAllocated()) continue;
    HWND H = Child->Handle();
    auto It = std::lower_bound(Sorted.begin(), Sorted.end(), std::pair<HWND, size_t>{H, 0});
    if (It != Sorted.end() && It->first == H) HasControl[It->second] = true;
    if (!Child->Visible() || Skipped(H)) continue;
    TRect Bounds;
    TRect Mapped = MappedBounds(H, Bounds);
    if (ACanvas->RectVisible(Mapped))
      cxPaintControlTo(Child, ACanvas, TPoint{Mapped.left, Mapped.top}, Bounds,
                       ADrawParentWithChildren, ADrawNC);
  }
  for (size_t I = 0; I < Windows.size(); ++I) {
    HWND H = Windows[I];
    if (HasControl[I] || Skipped(H)) continue;
    TRect Bounds;
    TRect Mapped = MappedBounds(H, Bounds);
    if (!ACanvas->RectVisible(Mapped)) continue;
    TPoint Org = ACanvas->WindowOrg();
    ACanvas->SetWindowOrg(TPoint{Org.x - Mapped.left, Org.y - Mapped.top});
    cxPrintWindow(H, ACanvas->Handle(), true, false);
    ACanvas->SetWindowOrg(Org);
  }
}
}  // namespace

void GetChildWindows(HWND AParent, std::vector<HWND>& AChildWindows) {
  std::pair<HWND, std::vector<HWND>*> Data{AParent, &AChildWindows};
  EnumChildWindows(AParent, &CollectChild, reinterpret_cast<LPARAM>(&Data));
}

void cxPrintWindow(HWND AWindow, HDC ADC, bool ADrawNC, bool ADoubleBuffered) {
  TRect W = cxGetWindowRect(AWindow), C = cxGetClientRect(AWindow);
  bool HasNC = cxRectWidth(W) != cxRectWidth(C) || cxRectHeight(W) != cxRectHeight(C);
  if (!ADrawNC || !HasNC) {
    PrintInto(AWindow, ADC, PRF_CLIENT | PRF_ERASEBKGND, ADoubleBuffered);
    return;
  }
  const UINT Flags = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND;
  POINT Org{0, 0};
  GetWindowOrgEx(ADC, &Org);
  if (Org.x == 0 && Org.y == 0) {
    PrintInto(AWindow, ADC, Flags, ADoubleBuffered);
    return;
  }
  TBitmapHandle Bitmap(CreateCompatibleBitmap(ADC, cxRectWidth(W), cxRectHeight(W)));
  TMemoryDC Mem(CreateCompatibleDC(ADC));
  TSelectObjectGuard Sel(Mem.Get(), Bitmap.Get());
  PrintInto(AWindow, Mem.Get(), Flags, ADoubleBuffered);
  BitBlt(ADC, 0, 0, cxRectWidth(W), cxRectHeight(W), Mem.Get(), 0, 0, SRCCOPY);
}

void cxPrintWindow(TWinControl* AControl, TCanvas* ACanvas, bool ADrawNC) {
  ACanvas->Lock();
  auto Unlock = Finally([ACanvas] { ACanvas->Unlock(); });
  cxPrintWindow(AControl->Handle(), ACanvas->Handle(), ADrawNC, AControl->DoubleBuffered());
}

void cxPaintControlTo(TWinControl* ADrawingControl, TcxCanvas* ACanvas,
                      const TPoint& ADestinatioPoint, const TRect& ADrawingRect,
                      bool ADrawParentWithChildren, bool ADrawNC) {
  if (ADrawingControl->ComponentState().Contains(csDestroying) ||
      !ADrawingControl->HandleAllocated())
    return;
  ACanvas->SaveDC();
  auto RestoreCanvas = Finally([ACanvas] { ACanvas->RestoreDC(); });
  TPoint Org = ACanvas->WindowOrg();
  ACanvas->SetWindowOrg(TPoint{Org.x - (ADestinatioPoint.x - ADrawingRect.left),
                               Org.y - (ADestinatioPoint.y - ADrawingRect.top)});
  ACanvas->SetClipRegion(Create<TcxRegion>(ADrawingRect), roIntersect);
  HWND H = ADrawingControl->Handle();
  TGdiHandle<HRGN> WindowRegion(CreateRectRgn(0, 0, 0, 0));
  int Kind = GetWindowRgn(H, WindowRegion.Get());
  if (Kind == NULLREGION || Kind == SIMPLEREGION || Kind == COMPLEXREGION)
    ACanvas->SetClipRegion(Create<TcxRegion>(WindowRegion.Release()), roIntersect);
  if (!ACanvas->RectVisible(ADrawingRect)) return;
  TControlState Previous = ADrawingControl->ControlState();
  ADrawingControl->SetControlState(TControlState(Previous).Include(csPaintCopy));
  auto RestoreState = Finally([&] { ADrawingControl->SetControlState(Previous); });
  ACanvas->SaveState();
  {
    auto Restore = Finally([ACanvas] { ACanvas->RestoreState(); });
    if (!ADrawNC) {
      TPoint Offset = cxGetClientOffset(H), O = ACanvas->WindowOrg();
      ACanvas->SetWindowOrg(TPoint{O.x - Offset.x, O.y - Offset.y});
    }
    cxPrintWindow(ADrawingControl, ACanvas->Canvas(), ADrawNC);
  }
  if (ADrawParentWithChildren)
    PaintChildren(ADrawingControl, ACanvas, ADrawParentWithChildren, ADrawNC);
}

void cxDrawTransparentControlBackground(TWinControl* AControl, TcxCanvas* ACanvas,
                                        const TRect& ASourceRect, const TPoint& ADestinationPoint,
                                        bool APaintParentWithChildren) {
  if (!AControl || !AControl->Parent()) return;
  TWinControl* Parent = AControl->Parent();
  // Painting makes no window: a parent without one has nothing to print,
  // and a control made in the middle of a paint would lay itself out anew
  // (size included) under the painting that asked.
  if (!Parent->HandleAllocated()) return;
  auto& Locks = LockList();
  if (std::find(Locks.begin(), Locks.end(), Parent) != Locks.end()) return;
  Locks.push_back(Parent);
  HWND Own = AControl->HandleAllocated() ? AControl->Handle() : nullptr;
  if (Own) PaintSkipList().push_back(Own);
  auto Unlist = Finally([&] {
    auto& Skip = PaintSkipList();
    if (Own) Skip.erase(std::find(Skip.begin(), Skip.end(), Own));
    Locks.erase(std::find(Locks.begin(), Locks.end(), Parent));
    if (Locks.empty()) Locks.shrink_to_fit();
  });
  TRect Mapped;
  if (Own) {
    dxMapWindowRect(Own, Parent->Handle(), ASourceRect, Mapped, false);
  } else {
    // Without a window the control lies at its bounds in the parent's client area.
    TPoint Offset = cxGetClientOffset(Parent->Handle());
    Mapped = cxRectOffset(ASourceRect, AControl->Left() + Offset.x, AControl->Top() + Offset.y);
  }
  cxPaintControlTo(Parent, ACanvas, ADestinationPoint, Mapped, APaintParentWithChildren, false);
}

void cxDrawTransparentControlBackground(TWinControl* AControl, TcxCanvas* ACanvas,
                                        const TRect& ARect, bool APaintParentWithChildren) {
  cxDrawTransparentControlBackground(AControl, ACanvas, ARect, TPoint{ARect.left, ARect.top},
                                     APaintParentWithChildren);
}

void cxDrawThemeParentBackground(TWinControl* AControl, TcxCanvas* ACanvas, const TRect& ARect) {
  TWinControl* Parent = AControl->Parent();
  if (Parent && !Parent->DoubleBuffered() && dxUxTheme::IsThemeLibraryLoaded()) {
    RECT R = ARect;
    dxUxTheme::DrawThemeParentBackground(AControl->Handle(), ACanvas->Handle(), &R);
    return;
  }
  cxDrawTransparentControlBackground(AControl, ACanvas, ARect, false);
}

void cxRightToLeftDependentDraw(TcxCanvas* ACanvas, const TRect& R, const TcxDrawProc& AProc) {
  cxRightToLeftDependentDraw(ACanvas->Handle(), R, ACanvas->UseRightToLeftAlignment(), AProc);
}

void cxRightToLeftDependentDraw(HDC DC, const TRect& R, bool AIsRightToLeftLayout,
                                const TcxDrawProc& AProc) {
  if (!AIsRightToLeftLayout) {
    AProc();
    return;
  }
  int PreviousMode = SetGraphicsMode(DC, GM_ADVANCED);
  XFORM Saved;
  GetWorldTransform(DC, &Saved);
  auto Restore = Finally([&] {
    SetWorldTransform(DC, &Saved);
    SetGraphicsMode(DC, PreviousMode);
  });
  FLOAT Axis = (R.left + R.right - 1) / 2.0f;
  XFORM Mirror{-1, 0, 0, 1, 2 * Axis, 0};
  ModifyWorldTransform(DC, &Mirror, MWT_LEFTMULTIPLY);
  AProc();
}
