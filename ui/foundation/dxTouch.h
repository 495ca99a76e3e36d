// Touch gestures turned into the scrolling (with over-pan feedback), zooming
// and rotating of the library's controls: the gesture tables, the option
// mapping, the gesture helper that each control owns, and the road of a
// gesture message to the control under the finger.
#pragma once

#include "Forms.h"
#include "Messages.h"
#include "cxGeometry.h"

// The gesture vocabulary (TInteractiveGesture, TGestureEventInfo, ...) is the
// framework's (Controls.h).

struct TdxGestureConfig {
  DWORD dwID;
  DWORD dwWant;
  DWORD dwBlock;
};
static_assert(sizeof(TdxGestureConfig) == 12, "the platform's layout");
using TdxGestureConfigs = std::vector<TdxGestureConfig>;
using TdxGestureInfo = GESTUREINFO;
using TdxGestureNotifyStruct = GESTURENOTIFYSTRUCT;

inline constexpr DWORD dxSupportedGestureIDs[5] = {GID_PAN, GID_ZOOM, GID_ROTATE, GID_TWOFINGERTAP,
                                                   GID_PRESSANDTAP};
inline constexpr DWORD dxTouchInteractiveGestureOptionToPanOption[4] = {
    GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY, GC_PAN_WITH_SINGLE_FINGER_VERTICALLY,
    GC_PAN_WITH_INERTIA, GC_PAN_WITH_GUTTER};

TInteractiveGesture GetInteractiveGestureByGestureID(DWORD AGestureID);
TInteractiveGestureOption GetInteractiveGestureOptionByPanOptionID(DWORD APanOptionID);
TInteractiveGestureOptions GetInteractiveGestureOptionsByPanOptions(DWORD APanOptions);
DWORD GetPanOptionsByInteractiveGestureOptions(const TInteractiveGestureOptions& AGestureOptions);

// The platform's gesture functions, bound at start-up (nullptr when absent);
// tests replace them to feed gestures in.
struct TdxTouchPlatform {
  BOOL(WINAPI* GetGestureInfo)(HGESTUREINFO, PGESTUREINFO) = nullptr;
  BOOL(WINAPI* CloseGestureInfoHandle)(HGESTUREINFO) = nullptr;
  BOOL(WINAPI* SetGestureConfig)(HWND, DWORD, UINT, PGESTURECONFIG, UINT) = nullptr;
  BOOL(WINAPI* LogicalToPhysicalPoint)(HWND, LPPOINT) = nullptr;
  BOOL(WINAPI* PhysicalToLogicalPoint)(HWND, LPPOINT) = nullptr;
  LRESULT(WINAPI* DefWindowProc)(HWND, UINT, WPARAM, LPARAM) = nullptr;
};
TdxTouchPlatform& dxTouchPlatform();

bool dxSetGestureConfig(HWND AWindow, const TdxGestureConfigs& AGestureConfigs);
// One entry per supported gesture: wanted when it is among AGestures (a pan
// with the pan options of AOptions), blocked otherwise.
TdxGestureConfigs dxGestureConfigs(TInteractiveGestures AGestures,
                                   TInteractiveGestureOptions AOptions);
bool dxSetGestureConfig(HWND AWindow, TInteractiveGestures AGestures,
                        TInteractiveGestureOptions AOptions);
bool dxPhysicalToLogicalPoint(HWND AWindow, TPoint& APoint);
// Refuses every gesture on the window and answers the notification message
// with 1.
bool dxLockGestures(HWND AHandle, TMessage& Message);

// ---------------------------------------------------------------------------
// Interfaces between the helper, its owner and the gesture clients

struct IdxGestureClient : public IUnknown {
  virtual bool STDMETHODCALLTYPE AllowGesture(TInteractiveGesture AGestureId) = 0;
  virtual bool STDMETHODCALLTYPE AllowPan(TScrollBarKind AScrollKind) = 0;
  virtual void STDMETHODCALLTYPE BeginGestureScroll(const TPoint& APos) = 0;
  virtual void STDMETHODCALLTYPE EndGestureScroll() = 0;
  virtual void STDMETHODCALLTYPE GestureScroll(Integer ADeltaX, Integer ADeltaY) = 0;
  virtual DWORD STDMETHODCALLTYPE GetPanOptions() = 0;
  virtual bool STDMETHODCALLTYPE IsPanArea(const TPoint& APoint) = 0;
  virtual bool STDMETHODCALLTYPE NeedPanningFeedback(TScrollBarKind AScrollKind) = 0;
};
__CRT_UUID_DECL(IdxGestureClient, 0x652B8A09, 0xDAC8, 0x4332, 0x92, 0x06, 0xC8, 0x90, 0x5A, 0xEE,
                0x77, 0x91)

struct IdxGestureOwner : public IUnknown {
  // The client of gestures that start at APoint (client coordinates).
  virtual IdxGestureClient* STDMETHODCALLTYPE GetGestureClient(const TPoint& APoint) = 0;
  virtual HWND STDMETHODCALLTYPE GetGestureClientHandle() = 0;
  virtual bool STDMETHODCALLTYPE IsGestureTarget(HWND AWnd) = 0;
  virtual TPoint STDMETHODCALLTYPE ScreenToClient(const TPoint& APoint) = 0;
};
__CRT_UUID_DECL(IdxGestureOwner, 0x4DF001DA, 0xBE2C, 0x4817, 0xB7, 0x5C, 0x55, 0x17, 0x12, 0x70,
                0xD1, 0x58)

struct IdxZoomClient : public IUnknown {
  virtual void STDMETHODCALLTYPE Zoom(Integer ADelta, bool& AHandled) = 0;
};
__CRT_UUID_DECL(IdxZoomClient, 0xB3A0623E, 0xD155, 0x462F, 0xB2, 0x34, 0x22, 0xE9, 0xCF, 0xC6, 0xBF,
                0xBF)

struct IdxRotateClient : public IUnknown {
  virtual void STDMETHODCALLTYPE Rotate(Double AAngle, bool& AHandled) = 0;
};
__CRT_UUID_DECL(IdxRotateClient, 0xEAC9BA3A, 0xC2C3, 0x42E2, 0x8C, 0xA8, 0x8C, 0xEA, 0x85, 0x82,
                0x1C, 0xAE)

// What the gesture road needs of a control: its parent, its touch options
// and gestures, and its answer to the framework's gesture message (CM_GESTURE).
// Whoever gives the controls their touch settings implements it.
class IdxTouchControl {
 public:
  virtual IdxTouchControl* TouchParent() = 0;
  // The control's touch options contain igoParentPassthrough.
  virtual bool PassesGesturesToParent() = 0;
  // The control's interactive gestures contain AGesture.
  virtual bool HandlesGesture(TInteractiveGesture AGesture) = 0;
  // Its window, or nullptr for a control without one.
  virtual HWND TouchWindow() = 0;
  virtual TPoint TouchScreenToClient(const TPoint& APoint) = 0;
  // The control's answer to the framework's gesture message.
  virtual LRESULT PerformGesture(TGestureEventInfo& AEventInfo) = 0;

 protected:
  ~IdxTouchControl() = default;
};

// How the road finds controls; filled in at start-up by the module that
// implements IdxTouchControl.
struct TdxTouchControlServices {
  // The window control of a window, or nullptr.
  IdxTouchControl* (*FindControl)(HWND AWnd) = nullptr;
  // The direct child at a client point (disabled ones included, windowed
  // ones excluded), or nullptr.
  IdxTouchControl* (*ChildControlAt)(IdxTouchControl* AParent, const TPoint& APoint) = nullptr;
};
TdxTouchControlServices& dxTouchControlServices();

// ---------------------------------------------------------------------------

class TdxGestureHelper : public TObject {
  DECLARE_CLASS(TdxGestureHelper, TObject)
 public:
  explicit TdxGestureHelper(IdxGestureOwner* AGestureOwner);
  ~TdxGestureHelper() override;

  // True when the message was consumed (its Result is then the answer).
  bool HandleMessage(TMessage& Message);
  void CheckGestureOptions(TInteractiveGestures& AGestures, TInteractiveGestureOptions& AOptions);
  void DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled);
  void CheckOverpan(TScrollBarKind AScrollKind, Integer ANewDataPos, Integer AMinDataPos,
                    Integer AMaxDataPos, Integer ADeltaX, Integer ADeltaY);
  TPoint GetTouchStartPoint();

  bool IsPanning() const { return FIsPanning; }
  TPoint OverPan() const { return FOverPan; }

  virtual bool AllowGesture(TInteractiveGesture AGestureId);
  virtual bool AllowPan(TScrollBarKind AScrollKind);
  virtual HWND GetHandle();
  virtual DWORD GetPanOptions();
  virtual bool IsGestureTarget(HWND AWnd);
  virtual bool IsPanArea(const TPoint& APoint);
  virtual bool NeedPanningFeedback(TScrollBarKind AScrollKind);
  virtual TPoint ScreenToClient(const TPoint& APoint);

 private:
  friend void dxTouchWndProcHook(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT& AResult);
  LRESULT Gesture(UINT AMsg, WPARAM wParam, LPARAM lParam);
  void GestureNotify();
  void FillEvent(const TdxGestureInfo& AInfo, IdxTouchControl* AControl, TGestureEventInfo& AEvent);
  bool Pan(TPoint APos, bool AIsBegin, bool AIsEnd, bool AIsInertia);
  bool Zoom(Integer ADistance, bool AIsBegin, bool AIsEnd);
  bool Rotate(Double AAngle, bool AIsBegin, bool AIsEnd);
  void BeginGestureScroll(const TPoint& APos);
  void EndGestureScroll();
  void CorrectOverpan(TScrollBarKind AScrollKind, Integer& ADelta);
  bool DoOverpan(TScrollBarKind AScrollKind, Integer ADelta);
  IdxGestureClient* GetGestureNotifyClient() { return FGestureNotifyClient; }

  IdxGestureOwner* FGestureOwner;
  IdxGestureClient* FGestureNotifyClient = nullptr;
  IdxGestureClient* FGestureClient = nullptr;
  bool FIsPanning = false;
  bool FIsInertia = false;
  Integer FLastDistance = 0;
  TPoint FPanPoint{};
  TPoint FOverPan{};
  IdxTouchControl* FNotifyTouchControl = nullptr;
  IdxTouchControl* FTouchControl = nullptr;
};

void dxTouchWndProcHook(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT& AResult);

void dxTouch_Initialize();
void dxTouch_Finalize();
