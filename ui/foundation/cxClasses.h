// The library's component bases, class registries, weak object links, the
// hidden message window and the timers that share one such window.
#pragma once

#include "cxGeometry.h"
#include "dxCoreClasses.h"

// ---------------------------------------------------------------------------
// Small routines
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);
// The address of character AIndex (1-based).
inline const Char* GetPChar(const String& AStr, Integer AIndex) {
  return AStr.c_str() + (AIndex - 1);
}
Integer cxStrCharLength(const String& AStr, Integer AIndex = 1);
inline void CallNotify(const TNotifyEvent& ANotifyEvent, TObject* ASender) {
  dxCallNotify(ANotifyEvent, ASender);
}
// The midpoint rounded towards minus infinity.
Integer GetRangeCenter(Integer ABound1, Integer ABound2);
inline Integer cxSign(Double AValue) { return AValue < 0 ? -1 : 1; }

// ---------------------------------------------------------------------------
// Object list on the platform's list that frees its objects on clearing when
// it owns them.
class TcxObjectList : public TList {
  DECLARE_CLASS(TcxObjectList, TList)
 public:
  explicit TcxObjectList(bool AOwnObjects = true) : FOwnObjects(AOwnObjects) {}
  ~TcxObjectList() override;
  void Clear();
  virtual void FreeItem(Integer Index);
  void FreeAndDelete(Integer Index);
  Integer FreeAndRemove(TObject* AObject);
  TObject* Items(Integer Index) const { return static_cast<TObject*>(Get(Index)); }
  TObject* GetItem(Integer Index) const { return Items(Index); }
  bool OwnObjects() const { return FOwnObjects; }
  void SetOwnObjects(bool AValue) { FOwnObjects = AValue; }

 private:
  bool FOwnObjects;
};

// ---------------------------------------------------------------------------
// Component bases

// Tells every partner subscribed to AComponent's destruction, and then its
// owner, that AComponent is going away; the subscriptions are dropped both
// ways.
void cxBroadcastRemoveNotifications(TComponent* AComponent);

class TcxCustomComponent : public TComponent {
  DECLARE_CLASS(TcxCustomComponent, TComponent)
 public:
  using TComponent::TComponent;
  void BeforeDestruction() override;
  virtual void GetAdornerTargetElements(TList* AList) {}
};

class TcxComponent : public TcxCustomComponent {
  DECLARE_CLASS(TcxComponent, TcxCustomComponent)
 public:
  using TcxCustomComponent::TcxCustomComponent;
  ~TcxComponent() override;
  void Loaded() override;

  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  static constexpr Integer GetFakeComponentLinkCount() { return 3; }
  TComponent* FakeComponentLink(Integer AIndex) const { return FFakeComponentLinks[AIndex - 1]; }
  void SetFakeComponentLink(Integer AIndex, TComponent* AValue) {
    FFakeComponentLinks[AIndex - 1] = AValue;
  }
  TComponent* GetFakeComponentLink1() const { return FFakeComponentLinks[0]; }
  TComponent* GetFakeComponentLink2() const { return FFakeComponentLinks[1]; }
  TComponent* GetFakeComponentLink3() const { return FFakeComponentLinks[2]; }
  void SetFakeComponentLink1(TComponent* AValue) { FFakeComponentLinks[0] = AValue; }
  void SetFakeComponentLink2(TComponent* AValue) { FFakeComponentLinks[1] = AValue; }
  void SetFakeComponentLink3(TComponent* AValue) { FFakeComponentLinks[2] = AValue; }
  void UpdateFakeLinks();

 protected:
  // The components the form designer should show as linked to this one.
  virtual void GetFakeComponentLinks(TList* AList) {}

 private:
  TComponent* FFakeComponentLinks[3] = {};
};

struct IcxScalableComponent : public IUnknown {
  virtual void STDMETHODCALLTYPE ChangeScale(Integer M, Integer D) = 0;
  virtual void STDMETHODCALLTYPE ScaleForPPI(Integer ATargetPPI) = 0;
};
__CRT_UUID_DECL(IcxScalableComponent, 0x70931963, 0x6520, 0x4B20, 0xA9, 0xFD, 0x06, 0xEE, 0x20,
                0xC9, 0xEE, 0xF1)

// A component with its own scale factor, streamed as "PixelsPerInch" so that
// sizes written at one DPI are rescaled when read at another.
class TcxScalableComponent : public TcxComponent,
                             public IcxScalableComponent,
                             public IdxScaleFactor {
  DECLARE_CLASS(TcxScalableComponent, TcxComponent)
 public:
  explicit TcxScalableComponent(TComponent* AOwner);
  void AfterConstruction() override;
  void Loaded() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  void STDMETHODCALLTYPE ChangeScale(Integer M, Integer D) override;
  void STDMETHODCALLTYPE ScaleForPPI(Integer ATargetPPI) override;
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return FScaleFactor.get(); }
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  Integer PixelsPerInch() const;
  bool Scalable() const { return FScalable; }
  void SetScalable(bool AValue) { FScalable = AValue; }

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  void ReadPixelsPerInch(TReader* Reader);
  void WritePixelsPerInch(TWriter* Writer);
  bool FScalable = true;
  TOwned<TdxScaleFactor> FScaleFactor;
};

// ---------------------------------------------------------------------------
// Class registries

class TcxRegisteredClassListItemData : public TObject {
  DECLARE_CLASS(TcxRegisteredClassListItemData, TObject)
 public:
  TcxRegisteredClassListItemData(TClass AItemClass, TClass ARegisteredClass)
      : ItemClass(AItemClass), RegisteredClass(ARegisteredClass) {}
  TClass ItemClass;
  TClass RegisteredClass;
};

// Maps an item class to a class registered for it, found by inheritance: a
// registration for a base class serves its descendants unless they have one.
class TcxRegisteredClassList : public TObject {
  DECLARE_CLASS(TcxRegisteredClassList, TObject)
 public:
  ~TcxRegisteredClassList() override;
  void Clear();
  virtual bool Find(TClass AItemClass, Integer& AIndex) const;
  TClass FindClass(TClass AItemClass) const;
  virtual void Register(TClass AItemClass, TClass ARegisteredClass);
  virtual void Unregister(TClass AItemClass, TClass ARegisteredClass);
  Integer Count() const { return FItems.Count(); }
  TcxRegisteredClassListItemData* Items(Integer Index) const {
    return static_cast<TcxRegisteredClassListItemData*>(FItems.Items(Index));
  }

 private:
  TdxFastList FItems;
};

// A list of classes with a description and a hint each ("description|hint").
class TcxRegisteredClasses : public TObject {
  DECLARE_CLASS(TcxRegisteredClasses, TObject)
 public:
  explicit TcxRegisteredClasses(bool ARegisterClasses = false)
      : FRegisterClasses(ARegisterClasses) {}
  void Register(TClass AClass, const String& ADescription);
  void Unregister(TClass AClass);
  void Clear() { FItems.clear(); }
  Integer GetIndexByClass(TClass AClass) const;
  String GetDescriptionByClass(TClass AClass) const;
  String GetHintByClass(TClass AClass) const;
  TClass FindByClassName(const String& AClassName) const;
  TClass FindByDescription(const String& ADescription) const;
  bool Sorted() const { return FSorted; }
  void SetSorted(bool AValue);
  virtual void Sort();
  virtual Integer CompareItems(Integer AIndex1, Integer AIndex2) const;

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TClass Items(Integer Index) const;
  String Descriptions(Integer Index) const;
  String Hints(Integer Index) const;
  bool RegisterClasses() const { return FRegisterClasses; }

 private:
  struct TLine {
    String Text;
    TClass Class;
  };
  const TLine& Line(Integer Index) const;
  std::vector<TLine> FItems;
  bool FRegisterClasses;
  bool FSorted = false;
};

// ---------------------------------------------------------------------------
// Weak object links: a link's Ref is cleared when its object is destroyed.
class TcxObjectLink : public TObject {
  DECLARE_CLASS(TcxObjectLink, TObject)
 public:
  explicit TcxObjectLink(TObject* ARef) : Ref(ARef) {}
  TObject* Ref;
};

TcxObjectLink* cxAddObjectLink(TObject* AObject);
void cxRemoveObjectLink(TcxObjectLink* ALink);
void cxClearObjectLinks(TObject* AObject);

// A weak link held for the length of a scope, around calls that may free the
// object (user code, focus changes, a nested message loop).
class TcxObjectLinkGuard {
 public:
  explicit TcxObjectLinkGuard(TObject* AObject) : FLink(cxAddObjectLink(AObject)) {}
  ~TcxObjectLinkGuard() { cxRemoveObjectLink(FLink); }
  TcxObjectLinkGuard(const TcxObjectLinkGuard&) = delete;
  TcxObjectLinkGuard& operator=(const TcxObjectLinkGuard&) = delete;
  // A guard made for no object has nothing alive.
  bool Alive() const { return FLink && FLink->Ref; }

 private:
  TcxObjectLink* FLink;
};

// ---------------------------------------------------------------------------
#include "Messages.h"

// A hidden message-only window whose window procedure is a virtual method.
class TcxMessageWindow : public TcxIUnknownObject {
  DECLARE_CLASS(TcxMessageWindow, TcxIUnknownObject)
 public:
  void AfterConstruction() override;
  ~TcxMessageWindow() override;
  HWND Handle() const { return FHandle; }

 protected:
  // Default processing; descendants handle their messages and pass the rest.
  virtual void WndProc(TMessage& Message);

 private:
  void MainWndProc(TMessage& Message);
  HWND FHandle = nullptr;
};

// ---------------------------------------------------------------------------
// Window rectangles. A failing platform call counts as the empty rectangle.
class TWinControl;

// Screen coordinates.
TRect cxGetWindowRect(HWND AHandle);
// Client coordinates: (0, 0, width, height).
TRect cxGetClientRect(HWND AHandle);
// The window rectangle moved to (0, 0).
TRect cxGetWindowBounds(HWND AHandle);
// Of the control's window, made when missing.
TRect cxGetWindowBounds(TWinControl* AControl);
// Where the client area starts inside the window rectangle; measured from the
// right edge for a window with right-to-left layout.
TPoint cxGetClientOffset(HWND AHandle);
// ARect of window AFrom in the coordinates of window ATo, size kept: client
// to client coordinates when AClient, else window to window coordinates.
void dxMapWindowRect(HWND AFrom, HWND ATo, const TRect& ARect, TRect& AResult, bool AClient);
// The window has the WS_CHILD style.
bool IsChildClassWindow(HWND AHandle);

// ---------------------------------------------------------------------------
// Timers on one shared hidden window, told apart by an identifier that each
// start of a platform timer takes afresh and that no later start reuses: a
// timer message still queued from an earlier run, or for a freed timer whose
// memory a new one took, finds no timer.
class TcxTimer : public TComponent {
  DECLARE_CLASS(TcxTimer, TComponent)
 public:
  explicit TcxTimer(TComponent* AOwner) : TComponent(AOwner) {}
  void BeforeDestruction() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal AValue);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent AValue);
  bool TimerOn() const { return FTimerOn; }
  // The identifier of the running platform timer; 0 before the first start.
  UINT_PTR EventID() const { return FEventID; }

 protected:
  virtual void TimeOut();

 private:
  friend class TcxTimerWindow;
  bool CanSetTimer() const { return FEnabled && !FTimerOn && FOnTimer; }
  void UpdateTimer();
  void SetTimer();
  void KillTimer();
  void SetTimerOn(bool AValue);

  bool FEnabled = true;
  Cardinal FInterval = 1000;
  TNotifyEvent FOnTimer;
  bool FTimerOn = false;
  UINT_PTR FEventID = 0;
};

class TcxTimerWindow : public TcxMessageWindow {
  DECLARE_CLASS(TcxTimerWindow, TcxMessageWindow)

 protected:
  void WndProc(TMessage& Message) override;
};

// The shared window and the list of running timers (the timer objects, in
// start order); nullptr once the module's shut-down began.
TcxTimerWindow* cxTimerWindow();
TdxFastList* ActiveTimerList();
// A timer without owner (the caller frees it).
TcxTimer* cxCreateTimer(TNotifyEvent AOnTimer, Cardinal AInterval = 1000, bool AEnabled = true);

void cxClasses_Initialize();
void cxClasses_Finalize();
