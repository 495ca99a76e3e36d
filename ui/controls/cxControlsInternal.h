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

// Start-up: the gesture road finds framework controls through the layer;
// shut-down takes that back.
void InitTouchControlServices();
void FinalizeTouchControlServices();

// Start-up: the layer's cursors into the screen's list.
void LoadControlsCursors();
// Shut-down: frees the tracking list; timers still in it are reported.
void FreeMouseTrackingTimers();

}  // namespace cxControlsInternal

namespace cxControlsInternal {

// Middle-button scrolling at a mouse position: the direction it points to
// from the anchor and how fast (0 in the neutral zone, else 1 to 12).
struct TcxAnchorScrolling {
  TcxDirection Direction = dirNone;
  Integer Speed = 0;
};
TcxAnchorScrolling cxAnchorScrollingAt(const TPoint& AAnchor, Integer AAnchorSize,
                                       bool AllowHorScrolling, bool AllowVerScrolling,
                                       const TPoint& P, const TRect& AScreen);
TCursor cxAnchorScrollingCursor(TcxDirection ADirection, bool AllowHorScrolling,
                                bool AllowVerScrolling);
const wchar_t* cxAnchorBitmapName(bool AllowHorScrolling, bool AllowVerScrolling);

}  // namespace cxControlsInternal
