// The library's own hint windows: a hint style controller names a hint style
// class, the style names the window class that shows the hints; a
// process-wide hint controller finds the style controller responsible for
// the control under the mouse and lets it take part in the application's
// show-hint processing. The base window shows hints animated, region-aware
// and kept inside the work area.
#pragma once

#include <vector>

#include "Forms.h"
#include "cxClasses.h"
#include "cxControls.h"
#include "cxGraphics.h"
#include "cxLookAndFeels.h"

enum TcxHintAnimationStyle {
  cxhaSlideFromLeft,
  cxhaSlideFromRight,
  cxhaSlideDownward,
  cxhaSlideUpward,
  cxhaSlideFromCenter,
  cxhaHide,
  cxhaActivate,
  cxhaFadeIn,
  cxhaAuto,
  cxhaNone
};

// The platform's window-animation flags of a style.
DWORD cxHintAnimationFlags(TcxHintAnimationStyle AStyle);

// What the hint window asks the platform about animation; tests stand in
// their own clock and settings.
struct TdxHintPlatform {
  DWORD (*GetTickCount)() = nullptr;
  // The tooltip animation and fade settings of the user.
  bool (*ToolTipAnimation)() = nullptr;
  bool (*ToolTipFade)() = nullptr;
  // The platform can animate windows at all.
  bool (*HasWindowAnimation)() = nullptr;
  BOOL(WINAPI* AnimateWindow)(HWND, DWORD, DWORD) = nullptr;
};
TdxHintPlatform& dxHintPlatform();

// The animation a hint activation plays: none shortly after the previous
// activation, for long texts or without platform animation.
TcxHintAnimationStyle cxHintAnimationToPlay(TcxHintAnimationStyle AStyle, DWORD ALastActive,
                                            DWORD ANow, Integer ATextLength);

class TcxBaseHintWindow : public THintWindow {
  DECLARE_CLASS(TcxBaseHintWindow, THintWindow)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TcxBaseHintWindow(TComponent* AOwner);
  ~TcxBaseHintWindow() override;
  void ActivateHint(const TRect& ARect, const String& AHint) override;
  // The window stays inside the work area at its top-left corner.
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  virtual void SetHintAreaBounds(const TRect& ABounds, bool AUseMousePos);

  TcxHintAnimationStyle AnimationStyle() const { return FAnimationStyle; }
  void SetAnimationStyle(TcxHintAnimationStyle V) { FAnimationStyle = V; }
  Integer AnimationDelay() const { return FAnimationDelay; }
  void SetAnimationDelay(Integer V) { FAnimationDelay = V; }
  TFormBorderStyle HintBorderStyle() const { return FBorderStyle; }
  void SetHintBorderStyle(TFormBorderStyle V) { FBorderStyle = V; }
  bool StandardHint() const { return FStandardHint; }
  void SetStandardHint(bool V) { FStandardHint = V; }
  bool NeedEraseBackground() const { return FNeedEraseBackground; }
  void SetNeedEraseBackground(bool V) { FNeedEraseBackground = V; }
  // The animation the last activation played (cxhaNone for none).
  TcxHintAnimationStyle LastAnimation() const { return FLastAnimation; }
  const TRect& HintAreaBounds() const { return FHintAreaBounds; }
  TcxCanvas* cxCanvas() const { return FcxCanvas.get(); }

 protected:
  virtual void AdjustActivateRect(TRect& ARect);
  virtual void DisableRegion();
  virtual void EnableRegion() {}
  virtual bool HasWindowRegion() { return false; }
  virtual void Show();
  virtual TcxHintAnimationStyle GetAnimationStyle() { return FAnimationStyle; }
  void CheckExecuteAnimation(const String& AText);

  void CreateParams(TCreateParams& Params) override;
  void WMEraseBkgnd(TMessage& Message) override;
  virtual void WMWindowPosChanging(TMessage& Message);
  void CMTextChanged(TMessage& Message) override;

 private:
  bool FActivating = false;
  TcxHintAnimationStyle FAnimationStyle = cxhaAuto;
  Integer FAnimationDelay = 100;
  TFormBorderStyle FBorderStyle = bsSingle;
  TOwned<TcxCanvas> FcxCanvas;
  bool FHasAnimation = false;
  TRect FHintAreaBounds{};
  DWORD FLastActive = 0;
  bool FNeedEraseBackground = false;
  bool FUseMousePos = false;
  bool FStandardHint = false;
  TcxHintAnimationStyle FLastAnimation = cxhaNone;
};

class TcxCustomHintWindow : public TcxBaseHintWindow {
  DECLARE_CLASS(TcxCustomHintWindow, TcxBaseHintWindow)
 public:
  using TcxBaseHintWindow::TcxBaseHintWindow;
  virtual void ShowHint(Integer X, Integer Y, Integer AMaxWidth, const String& AHint,
                        const String& ACaption) {}
  const String& Caption() const { return FCaption; }
  void SetHintCaption(const String& V) { FCaption = V; }
  bool UseRightToLeftAlignment() const override;

 private:
  String FCaption;
};

class TcxCustomHintStyleController;

// The look of hints; every concrete style names its window class.
class TcxCustomHintStyle : public TcxInterfacedPersistent {
  DECLARE_CLASS(TcxCustomHintStyle, TcxInterfacedPersistent)
 public:
  using TcxInterfacedPersistent::TcxInterfacedPersistent;
  virtual void ControllerChangedNotification(TcxCustomHintStyleController*) {}
  virtual void ControllerFreeNotification(TcxCustomHintStyleController*) {}
  virtual void DoShowHint(String&, bool&, THintInfo&) {}
  virtual void ComponentRemoved(TComponent*) {}
  virtual TClass GetHintWindowClass() = 0;
  TNotifyEvent OnChanged;
};

using TcxHintStyleChangedEvent = TMethodPtr<void(TObject* Sender, TcxCustomHintStyle* AStyle)>;
using TcxShowHintExEvent = TMethodPtr<void(TObject* Sender, String& ACaption, String& AHintStr,
                                           bool& ACanShow, THintInfo& AHintInfo)>;

class TcxCustomHintStyleController : public TcxCustomComponent {
  DECLARE_CLASS(TcxCustomHintStyleController, TcxCustomComponent)
 public:
  explicit TcxCustomHintStyleController(TComponent* AOwner);
  ~TcxCustomHintStyleController() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  virtual TClass GetHintStyleClass() { return FHintStyleClass; }
  virtual TClass GetHintWindowClass();
  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();
  virtual void AddListener(TcxCustomHintStyle* AStyle);
  virtual void RemoveListener(TcxCustomHintStyle* AStyle);
  void Changed();
  void ShowHint(Integer X, Integer Y, Integer AMaxWidth, const String& AHint,
                const String& ACaption = String());
  void HideHint();
  void DoShowHint(String& AHintStr, bool& ACanShow, THintInfo& AHintInfo);

  void SetHintStyleClass(TClass AClass);
  String HintStyleClassName() const;
  void SetHintStyleClassName(const String& AName);
  TcxCustomHintStyle* HintStyle() const { return FHintStyle; }
  THintWindow* HintWindow() const { return FHintWindow; }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  bool Global() const { return FGlobal; }
  void SetGlobal(bool V) { FGlobal = V; }
  Integer HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer V);
  Integer HintPause() const { return FHintPause; }
  void SetHintPause(Integer V);
  Integer HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer V);
  Integer ListenerCount() const { return static_cast<Integer>(FListeners.size()); }

  TcxHintStyleChangedEvent OnHintStyleChanged;
  TShowHintEvent OnShowHint;
  TcxShowHintExEvent OnShowHintEx;

 protected:
  virtual void DoHintStyleChanged(TcxCustomHintStyle* AStyle);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void CreateHintStyle();
  void DestroyHintStyle();
  void HintStyleChanged(TObject* Sender);
  void ApplyPauses();
  bool FGlobal = true;
  Integer FHintShortPause = 50;
  Integer FHintPause = 500;
  Integer FHintHidePause = 2500;
  TClass FHintStyleClass = nullptr;
  THintWindow* FHintWindow = nullptr;
  std::vector<TcxCustomHintStyle*> FListeners;
  TOwned<TcxLookAndFeel> FLookAndFeel;
  Integer FUpdateCount = 0;
  TcxCustomHintStyle* FHintStyle = nullptr;
};

class TcxHintController : public TComponent {
  DECLARE_CLASS(TcxHintController, TComponent)
 public:
  using TComponent::TComponent;
  void RegisterHintStyleController(TcxCustomHintStyleController* AController);
  void UnRegisterHintStyleController(TcxCustomHintStyleController* AController);
  TClass GetCurrentHintWindowClass();
  void SetHintedControl(TControl* AControl);
  TControl* HintedControl() const { return FHintedControl; }
  TControl* FindHintedControl();
  TcxCustomHintStyleController* FindHintStyleController();
  void ShowHintHandler(String& AHintStr, bool& ACanShow, THintInfo& AHintInfo);
  Integer ControllerCount() const { return static_cast<Integer>(FControllerList.size()); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TControl* FHintedControl = nullptr;
  std::vector<TcxCustomHintStyleController*> FControllerList;
  TShowHintEvent FSavedApplicationOnShowHint;
  TClass FSavedHintWindowClass = nullptr;
};

// A control that stands for another names, through its first method, an
// object whose first method gives the component that may own a hint style
// controller.
struct IdxHintableObject;
struct IdxHintOwnerLink : public IUnknown {
  virtual TComponent* STDMETHODCALLTYPE GetHintOwner() = 0;
};
struct IdxHintableObject : public IUnknown {
  virtual IdxHintOwnerLink* STDMETHODCALLTYPE GetHintOwnerLink() = 0;
};
__CRT_UUID_DECL(IdxHintableObject, 0xAB78C3D2, 0x400B, 0x407F, 0xA9, 0x88, 0xC0, 0x15, 0xDD, 0xCE,
                0xFE, 0xD3)

TcxRegisteredClasses* cxRegisteredHintStyles();
// The process-wide hint controller; nullptr outside start-up and shut-down.
TcxHintController* dxHintController();
TcxCustomHintStyleController* cxGetHintStyleController();
TClass cxGetHintWindowClass();
void cxRemoveHintedControl();

void dxCustomHint_Initialize();
void dxCustomHint_Finalize();
