// The list of shown popups and the three thread hooks that close them when
// the user does anything elsewhere: clicks outside, switches to another
// application, hides, moves or closes the window a popup belongs to. The same
// window-procedure hook blocks the messages the library locked and gives a
// form placed inside another form its enter and exit notifications.
#pragma once

#include <vector>

#include "dxForms.h"

// A control that stands for a popup names the control it belongs to: a
// window inside it counts as related to whatever that owner is related to.
struct IdxPopupControl : public IUnknown {
  virtual TWinControl* STDMETHODCALLTYPE GetOwnerControl() = 0;
};
__CRT_UUID_DECL(IdxPopupControl, 0x16D9EAA8, 0x0A22, 0x4F08, 0x9F, 0x2B, 0x5C, 0x61, 0x7B, 0x3D,
                0x51, 0x0E)

// A form placed inside another form (rather than a child control) offers it.
struct IdxPlacedForm : public IUnknown {};
__CRT_UUID_DECL(IdxPlacedForm, 0xDEA877D7, 0x1646, 0x477A, 0xA7, 0x22, 0x81, 0x8D, 0xFE, 0x41, 0xEE,
                0x47)

class TcxPopupVisibleController : public TObject {
  DECLARE_CLASS(TcxPopupVisibleController, TObject)
 public:
  // A nil or listed popup is a programming error (assertion).
  void Register(TcxPopupWindow* AItem);
  void UnRegister(TcxPopupWindow* AItem);
  bool IsVisible(TcxPopupWindow* AItem) const;
  bool IsAnyVisible() const { return !FItems.empty(); }
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  TcxPopupWindow* GetItems(Integer AIndex) const { return FItems.at(static_cast<size_t>(AIndex)); }
  TcxPopupWindow* Top() const { return FItems.empty() ? nullptr : FItems.back(); }
  // Closes the first popup related to AWnd and every popup shown after it.
  void CloseRelated(HWND AWnd);
  // Closes every popup that neither holds AWnd nor is an inactive
  // capture-focus popup.
  void CloseUnRelated(HWND AWnd);

 private:
  std::vector<TcxPopupWindow*> FItems;
};

// The shown popups; nullptr once the module's shut-down has begun (the list
// is not made again then).
TcxPopupVisibleController* cxPopupVisibleController();

void CloseUnrelatedPopups(HWND AWnd);
void CloseUnrelatedPopupsOnGesture(HWND AWnd);
void CloseUnrelatedPopupsOnMouseClick(HWND AWnd, const TPoint& APoint, UINT AMouseMessage,
                                      bool& AHandled);

bool HasNativeHandle(TWinControl* AControl, HWND AHandle, bool ACheckChildren = false);
bool HasHandle(TWinControl* AControl, HWND AHandle);
bool IsRelatedWindow(HWND AParentWnd, HWND AWnd);
bool IsRelatedWindow(TWinControl* AControl, HWND AWnd);
bool CheckParentsNativeHandle(TWinControl* AControl, HWND AWnd);
HWND FindFirstNonChildParentWindow(HWND AWnd);
// The owner control's window of the popup that holds AWnd; AWnd otherwise.
HWND GetPopupOwnerControl(HWND AWnd);
bool IsMouseDownMessage(UINT AMsg);
bool IsParentFormPlaced(HWND AHandle1, HWND AHandle2);
void LockCMActivateMessages(bool ALock);

// Set while a popup is being shown and while the mouse hook closes one: the
// window-procedure hook keeps captions from being drawn inactive then.
bool cxCaptionInactivationLocked();
void cxSetCaptionInactivationLocked(bool AValue);

// The hook procedures, subscribed with the shared hooks controller.
void cxContainerWndProcHook(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT& AHookResult);
void cxContainerGetMessageHook(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT& AHookResult);
void cxContainerMouseHook(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT& AHookResult);
void SetPopupHooks();
void RemovePopupHooks();

void cxPopupHooks_Initialize();
void cxPopupHooks_Finalize();
