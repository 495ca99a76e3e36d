// The module's state shared by its source files.
#pragma once

#include "cxControls.h"

namespace cxControlsInternal {

using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                           BLENDFUNCTION*, DWORD);
using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

struct TControlsState {
  bool UnitIsFinalized = true;
  TcxMessageWindow* MessageWindow = nullptr;
  TcxWindowProcController* WindowProcController = nullptr;
  TdxSystemInfo* SystemInfo = nullptr;
  TdxMessagesController* MessagesController = nullptr;
  TcxSystemController* SystemController = nullptr;
  TdxFastList* MouseTrackingTimers = nullptr;
  TdxApplicationActivateWindowHelper* ActivateWindowHelper = nullptr;
  TUpdateLayeredWindow UpdateLayeredWindow = nullptr;
  TSetLayeredWindowAttributes SetLayeredWindowAttributes = nullptr;
};
TControlsState& ControlsState();

// Start-up: the layer's cursors into the screen's list.
void LoadControlsCursors();
// Shut-down: frees the tracking list; timers still in it are reported.
void FreeMouseTrackingTimers();

}  // namespace cxControlsInternal
