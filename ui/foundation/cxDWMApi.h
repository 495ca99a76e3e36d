// The desktop window manager library, bound at run time on Windows Vista and
// later, and whether desktop composition is on.
#pragma once

#include "dxCore.h"

struct TdxDWMBinding {
  HMODULE Library = nullptr;
  HRESULT(WINAPI* DwmDefWindowProc)(HWND, UINT, WPARAM, LPARAM, LRESULT*) = nullptr;
  HRESULT(WINAPI* DwmEnableBlurBehindWindow)(HWND, const void*) = nullptr;
  HRESULT(WINAPI* DwmEnableComposition)(UINT) = nullptr;
  HRESULT(WINAPI* DwmEnableMMCSS)(BOOL) = nullptr;
  HRESULT(WINAPI* DwmExtendFrameIntoClientArea)(HWND, const void*) = nullptr;
  HRESULT(WINAPI* DwmGetColorizationColor)(DWORD*, BOOL*) = nullptr;
  HRESULT(WINAPI* DwmGetWindowAttribute)(HWND, DWORD, PVOID, DWORD) = nullptr;
  HRESULT(WINAPI* DwmIsCompositionEnabled)(BOOL*) = nullptr;
  HRESULT(WINAPI* DwmSetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
  HRESULT(WINAPI* DwmSetIconicThumbnail)(HWND, HBITMAP, DWORD) = nullptr;
  HRESULT(WINAPI* DwmSetIconicLivePreviewBitmap)(HWND, HBITMAP, POINT*, DWORD) = nullptr;
  HRESULT(WINAPI* DwmInvalidateIconicBitmaps)(HWND) = nullptr;
};
const TdxDWMBinding& dxDWMBinding();

bool IsDwmPresent();
// Off when the library or its entry point is missing or the query fails.
bool IsCompositionEnabled();

void cxDWMApi_Initialize();
void cxDWMApi_Finalize();
