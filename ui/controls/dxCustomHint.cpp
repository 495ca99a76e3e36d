#include "dxCustomHint.h"

#include <algorithm>

namespace {

struct THintState {
  TcxHintController* Controller = nullptr;
  TcxRegisteredClasses* HintStyles = nullptr;
  bool Finalized = false;
};

THintState& State() {
  static THintState S;
  return S;
}

bool SystemBool(UINT AAction) {
  BOOL Value = FALSE;
  return SystemParametersInfoW(AAction, 0, &Value, 0) && Value;
}

bool IsDesigning(TComponent* AComponent) {
  return AComponent->ComponentState().Contains(csDesigning);
}

// Longer texts show at once: sliding them in takes too long to read.
constexpr Integer MaxAnimatedTextLength = 100;
// An activation this soon after the previous one follows the mouse from
// control to control: it is not animated again.
constexpr DWORD AnimationQuietTime = 250;
constexpr DWORD AnimateSlide = 0x40000;

}  // namespace

DWORD cxHintAnimationFlags(TcxHintAnimationStyle AStyle) {
  static const DWORD Map[] = {AW_HOR_POSITIVE, AW_HOR_NEGATIVE, AW_VER_POSITIVE, AW_VER_NEGATIVE,
                              AW_CENTER,       AW_HIDE,         AW_ACTIVATE,     AW_BLEND,
                              AW_ACTIVATE,     AW_ACTIVATE};
  return Map[AStyle];
}

TdxHintPlatform& dxHintPlatform() {
  static TdxHintPlatform Platform{
      &::GetTickCount, [] { return SystemBool(SPI_GETTOOLTIPANIMATION); },
      [] { return SystemBool(SPI_GETTOOLTIPFADE); }, [] { return true; }, &::AnimateWindow};
  return Platform;
}

TcxHintAnimationStyle cxHintAnimationToPlay(TcxHintAnimationStyle AStyle, DWORD ALastActive,
                                            DWORD ANow, Integer ATextLength) {
  const TdxHintPlatform& P = dxHintPlatform();
  if (ANow - ALastActive <= AnimationQuietTime || ATextLength >= MaxAnimatedTextLength ||
      !P.HasWindowAnimation() || !P.AnimateWindow)
    return cxhaNone;
  if (AStyle == cxhaNone || !P.ToolTipAnimation()) return cxhaNone;
  if (AStyle == cxhaAuto) return P.ToolTipFade() ? cxhaFadeIn : cxhaSlideDownward;
  return AStyle;
}

// ---------------------------------------------------------------------------
// TcxBaseHintWindow

IMPLEMENT_CREATABLE_CLASS(TcxBaseHintWindow)
IMPLEMENT_MESSAGE_TABLE(TcxBaseHintWindow,
                        {WM_WINDOWPOSCHANGING,
                         MessageHandler<&TcxBaseHintWindow::WMWindowPosChanging>})

TcxBaseHintWindow::TcxBaseHintWindow(TComponent* AOwner) : THintWindow(AOwner) {
  FcxCanvas.reset(new TcxCanvas(Canvas()));
}

TcxBaseHintWindow::~TcxBaseHintWindow() = default;

void TcxBaseHintWindow::ActivateHint(const TRect& ARect, const String& AHint) {
  if (FStandardHint) {
    inherited::ActivateHint(ARect, AHint);
    return;
  }
  FActivating = true;
  auto Done = Finally([&] {
    FLastActive = dxHintPlatform().GetTickCount();
    FActivating = false;
  });
  SetCaption(AHint);
  TRect R = ARect;
  AdjustActivateRect(R);
  SetBoundsRect(R);
  HandleNeeded();
  SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), Width(), Height(),
               SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  CheckExecuteAnimation(AHint);
  Show();
  FHintAreaBounds = TRect{};
}

void TcxBaseHintWindow::AdjustActivateRect(TRect& ARect) {
  MakeVisibleOnDesktop(ARect, GetMouseCursorPos());
}

void TcxBaseHintWindow::SetHintAreaBounds(const TRect& ABounds, bool AUseMousePos) {
  FHintAreaBounds = ABounds;
  FUseMousePos = AUseMousePos;
}

void TcxBaseHintWindow::CheckExecuteAnimation(const String& AText) {
  const TdxHintPlatform& P = dxHintPlatform();
  FLastAnimation = cxHintAnimationToPlay(GetAnimationStyle(), FLastActive, P.GetTickCount(),
                                         static_cast<Integer>(AText.size()));
  FHasAnimation = FLastAnimation != cxhaNone;
  if (FHasAnimation) {
    // A window with a region keeps it while it slides in.
    if (HasWindowRegion())
      EnableRegion();
    else
      DisableRegion();
    P.AnimateWindow(Handle(), static_cast<DWORD>(FAnimationDelay),
                    cxHintAnimationFlags(FLastAnimation) | AnimateSlide);
  }
  if (HasWindowRegion()) {
    if (!FHasAnimation) EnableRegion();
  } else {
    DisableRegion();
  }
}

void TcxBaseHintWindow::DisableRegion() {
  if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
}

void TcxBaseHintWindow::Show() {
  SetDoubleBuffered(HasWindowRegion());
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  if (HasWindowRegion() && FHasAnimation)
    RedrawWindow(Handle(), nullptr, nullptr,
                 RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
  else
    Invalidate();
}

void TcxBaseHintWindow::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const TRect W = GetDesktopWorkArea(TPoint{ALeft, ATop});
  const Integer L = std::max<Integer>(W.left, std::min<Integer>(ALeft, W.right - AWidth));
  const Integer T = std::max<Integer>(W.top, std::min<Integer>(ATop, W.bottom - AHeight));
  inherited::SetBounds(L, T, AWidth, AHeight);
}

void TcxBaseHintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FStandardHint) return;
  if (FBorderStyle == bsNone) Params.Style &= ~WS_BORDER;
  Params.ExStyle |= WS_EX_TOPMOST;
}

void TcxBaseHintWindow::WMEraseBkgnd(TMessage& Message) {
  if (FNeedEraseBackground || FStandardHint)
    inherited::WMEraseBkgnd(Message);
  else
    Message.Result = 1;
}

void TcxBaseHintWindow::WMWindowPosChanging(TMessage& Message) {
  // Only an activation shows the window; the platform's own attempts do not.
  if (!FStandardHint && !FActivating)
    reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags &= ~SWP_SHOWWINDOW;
  DefaultHandler(Message);
}

void TcxBaseHintWindow::CMTextChanged(TMessage& Message) {
  if (!FActivating) inherited::CMTextChanged(Message);
}

IMPLEMENT_CREATABLE_CLASS(TcxCustomHintWindow)

bool TcxCustomHintWindow::UseRightToLeftAlignment() const {
  return StandardHint() && inherited::UseRightToLeftAlignment();
}

// ---------------------------------------------------------------------------
// TcxCustomHintStyle

IMPLEMENT_CLASS(TcxCustomHintStyle)

// ---------------------------------------------------------------------------
// TcxCustomHintStyleController

IMPLEMENT_CLASS(TcxCustomHintStyleController)

TcxCustomHintStyleController::TcxCustomHintStyleController(TComponent* AOwner)
    : TcxCustomComponent(AOwner) {
  FLookAndFeel.reset(Create<TcxLookAndFeel>(static_cast<TPersistent*>(this)));
}

void TcxCustomHintStyleController::AfterConstruction() {
  inherited::AfterConstruction();
  CreateHintStyle();
}

TcxCustomHintStyleController::~TcxCustomHintStyleController() = default;

void TcxCustomHintStyleController::BeforeDestruction() {
  std::vector<TcxCustomHintStyle*> Listeners = FListeners;
  for (TcxCustomHintStyle* L : Listeners) L->ControllerFreeNotification(this);
  inherited::BeforeDestruction();
  DestroyHintStyle();
}

TClass TcxCustomHintStyleController::GetHintWindowClass() {
  return FHintStyle ? FHintStyle->GetHintWindowClass() : THintWindow::StaticClass();
}

void TcxCustomHintStyleController::CreateHintStyle() {
  TClass StyleClass = GetHintStyleClass();
  if (StyleClass && StyleClass->Factory) {
    FHintStyle = static_cast<TcxCustomHintStyle*>(StyleClass->Factory(this));
    FHintStyle->OnChanged = MakeEvent<&TcxCustomHintStyleController::HintStyleChanged>(this);
  }
  TClass WindowClass = GetHintWindowClass();
  if (WindowClass && WindowClass->Factory)
    FHintWindow = static_cast<THintWindow*>(WindowClass->Factory(nullptr));
  if (TcxHintController* C = dxHintController()) C->RegisterHintStyleController(this);
}

void TcxCustomHintStyleController::DestroyHintStyle() {
  if (TcxHintController* C = dxHintController()) C->UnRegisterHintStyleController(this);
  if (FHintWindow) FreeAndNil(FHintWindow);
  if (FHintStyle) FreeAndNil(FHintStyle);
}

void TcxCustomHintStyleController::SetHintStyleClass(TClass AClass) {
  if (AClass == FHintStyleClass) return;
  DestroyHintStyle();
  FHintStyleClass = AClass;
  CreateHintStyle();
  Changed();
}

String TcxCustomHintStyleController::HintStyleClassName() const {
  return FHintStyle ? String(FHintStyle->ClassName()) : String();
}

void TcxCustomHintStyleController::SetHintStyleClassName(const String& AName) {
  SetHintStyleClass(cxRegisteredHintStyles()->FindByClassName(AName));
}

void TcxCustomHintStyleController::ApplyPauses() {
  if (IsDesigning(this) || FUpdateCount > 0 || !Application()) return;
  Application()->SetHintShortPause(FHintShortPause);
  Application()->SetHintPause(FHintPause);
  Application()->SetHintHidePause(FHintHidePause);
}

void TcxCustomHintStyleController::SetHintShortPause(Integer V) {
  if (V == FHintShortPause) return;
  FHintShortPause = V;
  ApplyPauses();
}

void TcxCustomHintStyleController::SetHintPause(Integer V) {
  if (V == FHintPause) return;
  FHintPause = V;
  ApplyPauses();
}

void TcxCustomHintStyleController::SetHintHidePause(Integer V) {
  if (V == FHintHidePause) return;
  FHintHidePause = V;
  ApplyPauses();
}

void TcxCustomHintStyleController::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) ApplyPauses();
}

void TcxCustomHintStyleController::Loaded() {
  inherited::Loaded();
  ApplyPauses();
  Changed();
}

void TcxCustomHintStyleController::Changed() {
  if (ComponentState().Contains(csDestroying)) return;
  if (FHintStyle && OnHintStyleChanged) OnHintStyleChanged(this, FHintStyle);
  std::vector<TcxCustomHintStyle*> Listeners = FListeners;
  for (TcxCustomHintStyle* L : Listeners) DoHintStyleChanged(L);
}

void TcxCustomHintStyleController::DoHintStyleChanged(TcxCustomHintStyle* AStyle) {
  AStyle->ControllerChangedNotification(this);
  if (OnHintStyleChanged) OnHintStyleChanged(this, AStyle);
}

void TcxCustomHintStyleController::HintStyleChanged(TObject*) { Changed(); }

void TcxCustomHintStyleController::AddListener(TcxCustomHintStyle* AStyle) {
  if (AStyle && std::find(FListeners.begin(), FListeners.end(), AStyle) == FListeners.end())
    FListeners.push_back(AStyle);
}

void TcxCustomHintStyleController::RemoveListener(TcxCustomHintStyle* AStyle) {
  if (ComponentState().Contains(csDestroying)) return;
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), AStyle), FListeners.end());
}

void TcxCustomHintStyleController::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FHintStyle) FHintStyle->ComponentRemoved(AComponent);
}

void TcxCustomHintStyleController::DoShowHint(String& AHintStr, bool& ACanShow,
                                              THintInfo& AHintInfo) {
  AHintInfo.HintWindowClass = GetHintWindowClass();
  if (FHintStyle) FHintStyle->DoShowHint(AHintStr, ACanShow, AHintInfo);
  if (OnShowHint) OnShowHint(AHintStr, ACanShow, AHintInfo);
  String Caption;
  if (OnShowHintEx) OnShowHintEx(this, Caption, AHintStr, ACanShow, AHintInfo);
  if (auto* W = AsOrNull<TcxCustomHintWindow>(FHintWindow)) W->SetHintCaption(Caption);
}

void TcxCustomHintStyleController::ShowHint(Integer X, Integer Y, Integer AMaxWidth,
                                            const String& AHint, const String& ACaption) {
  if (TcxHintController* C = dxHintController())
    C->SetHintedControl(cxFindVCLControl(WindowFromPoint(POINT{X, Y})));
  if (auto* W = AsOrNull<TcxCustomHintWindow>(FHintWindow))
    W->ShowHint(X, Y, AMaxWidth, AHint, ACaption);
}

void TcxCustomHintStyleController::HideHint() {
  cxRemoveHintedControl();
  if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
    ShowWindow(FHintWindow->Handle(), SW_HIDE);
}

// ---------------------------------------------------------------------------
// TcxHintController

IMPLEMENT_CLASS(TcxHintController)

void TcxHintController::RegisterHintStyleController(TcxCustomHintStyleController* AController) {
  if (!AController || IsDesigning(AController) || !Application()) return;
  if (FControllerList.empty()) {
    FSavedApplicationOnShowHint = Application()->OnShowHint;
    Application()->OnShowHint = MakeEvent<&TcxHintController::ShowHintHandler>(this);
    FSavedHintWindowClass = Application()->HintWindowClass();
  }
  Application()->SetHintWindowClass(AController->GetHintWindowClass());
  FControllerList.push_back(AController);
}

void TcxHintController::UnRegisterHintStyleController(TcxCustomHintStyleController* AController) {
  if (!AController || IsDesigning(AController) || !Application()) return;
  const TClass Noted = GetCurrentHintWindowClass();
  auto It = std::find(FControllerList.begin(), FControllerList.end(), AController);
  const bool Listed = It != FControllerList.end();
  if (Listed) FControllerList.erase(It);
  if (Listed && Noted == Application()->HintWindowClass())
    Application()->SetHintWindowClass(GetCurrentHintWindowClass());
  if (Listed && FControllerList.empty()) {
    Application()->OnShowHint = FSavedApplicationOnShowHint;
    FSavedApplicationOnShowHint = {};
  }
}

TClass TcxHintController::GetCurrentHintWindowClass() {
  return FControllerList.empty() ? FSavedHintWindowClass
                                 : FControllerList.back()->GetHintWindowClass();
}

void TcxHintController::SetHintedControl(TControl* AControl) {
  if (FHintedControl == AControl) return;
  if (FHintedControl) FHintedControl->RemoveFreeNotification(this);
  FHintedControl = AControl;
  if (FHintedControl) FHintedControl->FreeNotification(this);
}

void TcxHintController::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHintedControl) FHintedControl = nullptr;
}

TControl* TcxHintController::FindHintedControl() {
  if (FHintedControl) return FHintedControl;
  HWND Capture = GetCapture();
  if (TWinControl* C = Capture ? cxFindVCLControl(Capture) : nullptr) return C;
  POINT P;
  GetCursorPos(&P);
  return cxFindVCLControl(WindowFromPoint(P));
}

TcxCustomHintStyleController* TcxHintController::FindHintStyleController() {
  TControl* Hinted = FindHintedControl();
  TClass ControllerClass = TcxCustomHintStyleController::StaticClass();
  for (TControl* P = Hinted ? Hinted->Parent() : nullptr; P; P = P->Parent())
    if (auto* C = AsOrNull<TcxCustomHintStyleController>(cxFindComponent(P, ControllerClass)))
      return C;
  IdxHintableObject* Hintable = nullptr;
  if (Hinted && Supports(Hinted, __uuidof(IdxHintableObject), reinterpret_cast<void**>(&Hintable)))
    if (IdxHintOwnerLink* Link = Hintable->GetHintOwnerLink())
      if (TComponent* Owner = Link->GetHintOwner())
        if (auto* C =
                AsOrNull<TcxCustomHintStyleController>(cxFindComponent(Owner, ControllerClass)))
          return C;
  for (auto It = FControllerList.rbegin(); It != FControllerList.rend(); ++It)
    if ((*It)->Global()) return *It;
  return nullptr;
}

void TcxHintController::ShowHintHandler(String& AHintStr, bool& ACanShow, THintInfo& AHintInfo) {
  SetHintedControl(AHintInfo.HintControl);
  if (TcxCustomHintStyleController* C = FindHintStyleController())
    C->DoShowHint(AHintStr, ACanShow, AHintInfo);
  if (FSavedApplicationOnShowHint) FSavedApplicationOnShowHint(AHintStr, ACanShow, AHintInfo);
  if (!ACanShow || AHintStr.empty()) SetHintedControl(nullptr);
}

// ---------------------------------------------------------------------------
// Routines, start-up and shut-down

TcxRegisteredClasses* cxRegisteredHintStyles() {
  THintState& S = State();
  if (!S.HintStyles && !S.Finalized) S.HintStyles = Create<TcxRegisteredClasses>();
  return S.HintStyles;
}

TcxHintController* dxHintController() { return State().Controller; }

TcxCustomHintStyleController* cxGetHintStyleController() {
  return dxHintController() ? dxHintController()->FindHintStyleController() : nullptr;
}

TClass cxGetHintWindowClass() {
  if (TcxCustomHintStyleController* C = cxGetHintStyleController()) return C->GetHintWindowClass();
  return Application() ? Application()->HintWindowClass() : THintWindow::StaticClass();
}

void cxRemoveHintedControl() {
  if (dxHintController()) dxHintController()->SetHintedControl(nullptr);
}

void dxCustomHint_Initialize() {
  THintState& S = State();
  S.Finalized = false;
  S.Controller = Create<TcxHintController>(nullptr);
}

void dxCustomHint_Finalize() {
  THintState& S = State();
  S.Finalized = true;
  if (S.Controller) FreeAndNil(S.Controller);
  if (S.HintStyles) FreeAndNil(S.HintStyles);
}
