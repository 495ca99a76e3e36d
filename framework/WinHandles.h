// Owners of platform handles and scope guards. Every GDI, kernel, theme and
// module handle the program creates has exactly one owner of these kinds (or
// an owning object's destructor); none converts implicitly to its handle, so
// a handle cannot leave its owner by accident. Release order is written into
// the types: a guard that selects or saves a DC state is declared after the
// DC's owner and so undone before the DC goes.
#pragma once

#include <exception>
#include <utility>

#include "WinCompat.h"

// The pixel density designs are drawn for; everything else is scaled from it.
constexpr int cxDefaultDPI = 96;

// The logical pixels per inch of the screen (the system DPI).
int GetScreenDPI();

// A movable, non-copyable owner of one handle. TTraits gives the empty
// value (Null) and how the handle is freed (Close).
template <class TTraits>
class TUniqueHandle {
 public:
  using THandle = typename TTraits::THandle;

  TUniqueHandle() noexcept : FHandle(TTraits::Null()) {}
  explicit TUniqueHandle(THandle AHandle) noexcept : FHandle(AHandle) {}
  ~TUniqueHandle() { Reset(); }
  TUniqueHandle(TUniqueHandle&& AOther) noexcept : FHandle(AOther.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& AOther) noexcept {
    if (this != &AOther) Reset(AOther.Release());
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  THandle Get() const noexcept { return FHandle; }
  bool Valid() const noexcept { return FHandle != TTraits::Null(); }
  explicit operator bool() const noexcept { return Valid(); }

  // Hands the handle over; the owner is empty afterwards.
  THandle Release() noexcept { return std::exchange(FHandle, TTraits::Null()); }

  void Reset(THandle AHandle = TTraits::Null()) noexcept {
    THandle Old = std::exchange(FHandle, AHandle);
    if (Old != TTraits::Null()) TTraits::Close(Old);
  }

 private:
  THandle FHandle;
};

namespace WinHandleTraits {

template <class T>
struct TGdiObject {
  using THandle = T;
  static T Null() noexcept { return nullptr; }
  static void Close(T AHandle) noexcept { DeleteObject(AHandle); }
};

struct TMemoryDC {
  using THandle = HDC;
  static HDC Null() noexcept { return nullptr; }
  static void Close(HDC AHandle) noexcept { DeleteDC(AHandle); }
};

struct TKernel {
  using THandle = HANDLE;
  static HANDLE Null() noexcept { return nullptr; }
  static void Close(HANDLE AHandle) noexcept { CloseHandle(AHandle); }
};

// Files and snapshots answer INVALID_HANDLE_VALUE for failure, not 0.
struct TFile {
  using THandle = HANDLE;
  static HANDLE Null() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE AHandle) noexcept { CloseHandle(AHandle); }
};

struct TIcon {
  using THandle = HICON;
  static HICON Null() noexcept { return nullptr; }
  static void Close(HICON AHandle) noexcept { DestroyIcon(AHandle); }
};

struct TCursor {
  using THandle = HCURSOR;
  static HCURSOR Null() noexcept { return nullptr; }
  static void Close(HCURSOR AHandle) noexcept { DestroyCursor(AHandle); }
};

struct TModule {
  using THandle = HMODULE;
  static HMODULE Null() noexcept { return nullptr; }
  static void Close(HMODULE AHandle) noexcept { FreeLibrary(AHandle); }
};

struct TMenu {
  using THandle = HMENU;
  static HMENU Null() noexcept { return nullptr; }
  static void Close(HMENU AHandle) noexcept { DestroyMenu(AHandle); }
};

struct TRegistryKey {
  using THandle = HKEY;
  static HKEY Null() noexcept { return nullptr; }
  static void Close(HKEY AHandle) noexcept { RegCloseKey(AHandle); }
};

struct TEnhMetaFile {
  using THandle = HENHMETAFILE;
  static HENHMETAFILE Null() noexcept { return nullptr; }
  static void Close(HENHMETAFILE AHandle) noexcept { DeleteEnhMetaFile(AHandle); }
};

struct TGlobalMemory {
  using THandle = HGLOBAL;
  static HGLOBAL Null() noexcept { return nullptr; }
  static void Close(HGLOBAL AHandle) noexcept { GlobalFree(AHandle); }
};

}  // namespace WinHandleTraits

template <class T>
using TGdiHandle = TUniqueHandle<WinHandleTraits::TGdiObject<T>>;
using TBitmapHandle = TGdiHandle<HBITMAP>;
using TFontHandle = TGdiHandle<HFONT>;
using TBrushHandle = TGdiHandle<HBRUSH>;
using TPenHandle = TGdiHandle<HPEN>;
using TRegionHandle = TGdiHandle<HRGN>;
using TPaletteHandle = TGdiHandle<HPALETTE>;
using TMemoryDC = TUniqueHandle<WinHandleTraits::TMemoryDC>;
using TKernelHandle = TUniqueHandle<WinHandleTraits::TKernel>;
using TFileHandle = TUniqueHandle<WinHandleTraits::TFile>;
using TIconHandle = TUniqueHandle<WinHandleTraits::TIcon>;
using TCursorHandle = TUniqueHandle<WinHandleTraits::TCursor>;
using TModuleHandle = TUniqueHandle<WinHandleTraits::TModule>;
using TMenuHandle = TUniqueHandle<WinHandleTraits::TMenu>;
using TRegistryKeyHandle = TUniqueHandle<WinHandleTraits::TRegistryKey>;
using TGlobalMemoryHandle = TUniqueHandle<WinHandleTraits::TGlobalMemory>;
using TEnhMetaFileHandle = TUniqueHandle<WinHandleTraits::TEnhMetaFile>;

// A DC that AGet gives for a window and ReleaseDC gives back to it.
template <HDC(WINAPI* AGet)(HWND)>
class TReleasedDC {
 public:
  explicit TReleasedDC(HWND AWnd = nullptr) noexcept : FWnd(AWnd), FDC(AGet(AWnd)) {}
  ~TReleasedDC() {
    if (FDC) ReleaseDC(FWnd, FDC);
  }
  TReleasedDC(TReleasedDC&& AOther) noexcept
      : FWnd(AOther.FWnd), FDC(std::exchange(AOther.FDC, nullptr)) {}
  TReleasedDC& operator=(TReleasedDC&&) = delete;
  TReleasedDC(const TReleasedDC&) = delete;
  TReleasedDC& operator=(const TReleasedDC&) = delete;

  HDC Get() const noexcept { return FDC; }
  explicit operator bool() const noexcept { return FDC != nullptr; }

 private:
  HWND FWnd;
  HDC FDC;
};

// A window's client-area DC (GetDC), or the screen's for 0.
using TWindowDC = TReleasedDC<&GetDC>;
// The DC of a whole window, frame included (GetWindowDC), for drawing the
// non-client area.
using TNonClientDC = TReleasedDC<&GetWindowDC>;

// The screen's DC.
class TScreenDC : public TWindowDC {
 public:
  TScreenDC() noexcept : TWindowDC(nullptr) {}
};

// Selects an object into a DC and selects the previous one back when the
// scope ends.
class TSelectObjectGuard {
 public:
  TSelectObjectGuard(HDC ADC, HGDIOBJ AObject) noexcept
      : FDC(ADC), FOld(AObject ? SelectObject(ADC, AObject) : nullptr) {}
  ~TSelectObjectGuard() {
    if (FOld) SelectObject(FDC, FOld);
  }
  TSelectObjectGuard(TSelectObjectGuard&& AOther) noexcept
      : FDC(AOther.FDC), FOld(std::exchange(AOther.FOld, nullptr)) {}
  TSelectObjectGuard& operator=(TSelectObjectGuard&&) = delete;
  TSelectObjectGuard(const TSelectObjectGuard&) = delete;
  TSelectObjectGuard& operator=(const TSelectObjectGuard&) = delete;

  // What was selected before (the object the guard will put back).
  HGDIOBJ Previous() const noexcept { return FOld; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// Saves the whole state of a DC (objects, clip, origins, modes) and
// restores it when the scope ends.
class TSaveDCGuard {
 public:
  explicit TSaveDCGuard(HDC ADC) noexcept : FDC(ADC), FSaved(SaveDC(ADC)) {}
  ~TSaveDCGuard() {
    if (FSaved) RestoreDC(FDC, FSaved);
  }
  TSaveDCGuard(TSaveDCGuard&& AOther) noexcept
      : FDC(AOther.FDC), FSaved(std::exchange(AOther.FSaved, 0)) {}
  TSaveDCGuard& operator=(TSaveDCGuard&&) = delete;
  TSaveDCGuard(const TSaveDCGuard&) = delete;
  TSaveDCGuard& operator=(const TSaveDCGuard&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

// Holds a slim reader/writer lock, exclusively or shared, for the scope.
template <bool Exclusive>
class TSRWLockHold {
 public:
  explicit TSRWLockHold(SRWLOCK& ALock) noexcept : FLock(ALock) {
    if constexpr (Exclusive)
      AcquireSRWLockExclusive(&FLock);
    else
      AcquireSRWLockShared(&FLock);
  }
  ~TSRWLockHold() {
    if constexpr (Exclusive)
      ReleaseSRWLockExclusive(&FLock);
    else
      ReleaseSRWLockShared(&FLock);
  }
  TSRWLockHold(const TSRWLockHold&) = delete;
  TSRWLockHold& operator=(const TSRWLockHold&) = delete;

 private:
  SRWLOCK& FLock;
};

// Runs its procedure when the scope ends, on every path: the "finally" part
// of work that has no owner object of its own. Dismiss() cancels it, for
// cleanup that only a failure needs. On the normal path an exception of the
// procedure goes on to the caller, as the work's own would (EndUpdate may
// run change handlers that raise); while another exception is unwinding it
// is dropped, so that the first failure is the one reported.
template <class F>
class TScopeExit {
 public:
  explicit TScopeExit(F AProc) noexcept(noexcept(F(std::move(AProc))))
      : FProc(std::move(AProc)), FUnwinding(std::uncaught_exceptions()) {}
  ~TScopeExit() noexcept(false) {
    if (!FActive) return;
    if (std::uncaught_exceptions() == FUnwinding) {
      FProc();
      return;
    }
    try {
      FProc();
    } catch (...) {
      // Dropped: the exception already unwinding is the one to report.
    }
  }
  TScopeExit(TScopeExit&& AOther) noexcept(noexcept(F(std::move(AOther.FProc))))
      : FProc(std::move(AOther.FProc)),
        FUnwinding(AOther.FUnwinding),
        FActive(std::exchange(AOther.FActive, false)) {}
  TScopeExit& operator=(TScopeExit&&) = delete;
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

  void Dismiss() noexcept { FActive = false; }

 private:
  F FProc;
  int FUnwinding;
  bool FActive = true;
};

// auto Restore = Finally([&] { ... });
template <class F>
[[nodiscard]] TScopeExit<F> Finally(F AProc) {
  return TScopeExit<F>(std::move(AProc));
}

// BeginUpdate now, EndUpdate when the scope ends, for anything with the
// pair (string lists, collections, image lists):
//   auto Updating = UpdateScope(List);
template <class T>
[[nodiscard]] auto UpdateScope(T* AObject) {
  AObject->BeginUpdate();
  return Finally([AObject] { AObject->EndUpdate(); });
}
