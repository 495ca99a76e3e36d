#include "dxForms.h"

#include <algorithm>
#include <map>

#include "WinHandles.h"
#include "cxClasses.h"
#include "dxDPIAwareUtils.h"
#include "dxHooks.h"
#include "dxThreading.h"

namespace {

bool GAutoReplaceImageLists = true;

// The forms being rescaled now: a nested request for one of them (or a
// child) takes the framework's own path.
std::vector<TWinControl*>& ScalingContainers() {
  static std::vector<TWinControl*> List;
  return List;
}

bool IsInScalingContainers(TWinControl* AControl) {
  const auto& L = ScalingContainers();
  return std::find(L.begin(), L.end(), AControl) != L.end();
}

}  // namespace

bool dxAutoReplaceImageListReferencesOnDPIChanges() { return GAutoReplaceImageLists; }
void dxSetAutoReplaceImageListReferencesOnDPIChanges(bool AValue) {
  GAutoReplaceImageLists = AValue;
}

// ---------------------------------------------------------------------------
// TdxCustomForm

IMPLEMENT_CLASS(TdxCustomForm)
IMPLEMENT_MESSAGE_TABLE(TdxCustomForm)

TdxCustomForm::TdxCustomForm(TComponent* AOwner) : TCustomForm(AOwner) { InitializeNewForm(); }

TdxCustomForm::TdxCustomForm(TComponent* AOwner, bool ADummy) : TCustomForm(AOwner, ADummy) {
  InitializeNewForm();
}

void TdxCustomForm::InitializeNewForm() {
  FCurrentPPI = PixelsPerInch();
  FScaleFactor.reset(new TdxScaleFactor());
  FScaleFactor->Assign(dxGetFormDPI(this), dxDefaultDPI, false);
  FRightToLeftLayout = bDefault;
}

TdxCustomForm::~TdxCustomForm() {
  // Weak links to the form (the popup closing loops hold them) see it gone,
  // and a layout change still queued for it is dropped.
  cxClearObjectLinks(this);
  TdxUIThreadSyncService::Unsubscribe(this);
}

void TdxCustomForm::BeforeDestruction() {
  cxBroadcastRemoveNotifications(this);
  inherited::BeforeDestruction();
}

HRESULT STDMETHODCALLTYPE TdxCustomForm::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TdxCustomForm::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxScaleFactor)) || IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IdxScaleFactor*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TdxCustomForm::ScaleForPPI(Integer NewPPI) {
  if (TdxFormHelper::IsScaleChanging(this))
    inherited::ScaleForPPI(NewPPI);
  else
    ScaleForPPI(NewPPI, nullptr);
}

void TdxCustomForm::ScaleForPPI(Integer ATargetDPI, const TRect* AWindowRect) {
  TdxFormHelper::ScaleForPPI(this, ATargetDPI, AWindowRect);
}

void TdxCustomForm::ScaleBy(Integer M, Integer D) { ScaleForPPI(MulDiv(dxGetFormDPI(this), M, D)); }

void TdxCustomForm::ChangeScale(Integer M, Integer D) {
  if (M == D) return;
  FScaleFactor->Change(M, D);
  inherited::ChangeScale(M, D);
  ScaleFactorChanged(M, D);
}

void TdxCustomForm::ScaleFactorChanged(Integer, Integer) { UpdateImageLists(); }

void TdxCustomForm::UpdateImageLists() {
  if (dxAutoReplaceImageListReferencesOnDPIChanges())
    TdxFormImageListHelper::Execute(FScaleFactor->TargetDPI(), this);
}

void TdxCustomForm::ScaleForCurrentDpi() {
  DisableAlign();
  auto Enable = Finally([&] { EnableAlign(); });
  if (Scaled() && !ComponentState().Contains(csDesigning) && Parent() == nullptr)
    ScaleForPPI(dxGetTargetDPI(this));
  Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

void TdxCustomForm::DoShow() {
  {
    // The show handlers run while the window is being shown.
    // Counted: recreating the window in a handler shows it again inside.
    ++FShowingLevel;
    auto Done = Finally([&] { --FShowingLevel; });
    inherited::DoShow();
  }
  ScaleForCurrentDpi();
}

void TdxCustomForm::WMDpiChanged(TMessage& Message) {
  if (Scaled()) {
    const auto* R = reinterpret_cast<const RECT*>(Message.LParam);
    TRect Suggested = R ? TRect(*R) : TRect{};
    ScaleForPPI(HIWORD(Message.WParam), R ? &Suggested : nullptr);
  }
  Message.Result = 0;
}

bool TdxCustomForm::IsRightToLeftLayout() {
  return FRightToLeftLayout == bTrue ||
         (FRightToLeftLayout == bDefault && UseRightToLeftAlignment());
}

void TdxCustomForm::SetRightToLeftLayout(TdxDefaultBoolean AValue) {
  if (FRightToLeftLayout == AValue) return;
  FRightToLeftLayout = AValue;
  if (IsRightToLeftLayout() != FRightToLeftApplied) RightToLeftLayoutChanged();
}

void TdxCustomForm::RightToLeftLayoutChanged() {
  FRightToLeftApplied = IsRightToLeftLayout();
  // The framework's menus have no reading order of their own: nothing to
  // set on them.
  if (HandleAllocated()) RecreateWnd();
}

TPoint TdxCustomForm::ClientOrigin() {
  TPoint P = inherited::ClientOrigin();
  if (FRightToLeftApplied) P.x -= ClientWidth();
  return P;
}

void TdxCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FRightToLeftApplied) TdxFormRightToLeftLayoutHelper::AddRightToLeftFormExStyle(Params);
}

void TdxCustomForm::CMBiDiModeChanged(TMessage& Message) {
  inherited::CMBiDiModeChanged(Message);
  if (IsRightToLeftLayout() == FRightToLeftApplied) return;
  if (FShowingLevel == 0) {
    RightToLeftLayoutChanged();
    return;
  }
  // Recreating the window while it is being shown would lose the showing.
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(this, [this] {
    if (IsRightToLeftLayout() != FRightToLeftApplied) RightToLeftLayoutChanged();
  });
}

// ---------------------------------------------------------------------------
// TdxFormHelper

namespace {

struct TScalingState {
  std::vector<TControl*> LockedControls;
  bool RedrawLocked = false;
};

void PopulateMDIChildren(TCustomForm* AForm, std::vector<TControl*>& AList) {
  if (FormStyle(AForm) != fsMDIForm || !Screen()) return;
  for (Integer I = 0; I < Screen()->FormCount(); ++I) {
    TCustomForm* Child = Screen()->Forms(I);
    if (Child != AForm && IsMDIChild(Child) && Child->Owner() == AForm->Owner()) {
      AList.push_back(Child);
      TdxFormHelper::PopulateControls(Child, AList);
    }
  }
}

}  // namespace

void TdxFormHelper::PopulateControls(TWinControl* AContainer, std::vector<TControl*>& AList) {
  for (Integer I = 0; I < AContainer->ControlCount(); ++I) {
    TControl* C = AContainer->Controls(I);
    AList.push_back(C);
    if (auto* W = AsOrNull<TWinControl>(C)) PopulateControls(W, AList);
  }
}

bool TdxFormHelper::IsScaleChanging(TWinControl* AContainer) {
  for (TWinControl* C = AContainer; C; C = C->Parent())
    if (IsInScalingContainers(C)) return true;
  return false;
}

void TdxFormHelper::ScaleComponentsForDpi(TComponent* AOwner, Integer NewPPI) {
  for (Integer I = 0; I < AOwner->ComponentCount(); ++I) {
    IcxScalableComponent* Scalable = nullptr;
    if (Supports(AOwner->Components(I), __uuidof(IcxScalableComponent),
                 reinterpret_cast<void**>(&Scalable)))
      Scalable->ScaleForPPI(NewPPI);
  }
}

void TdxFormHelper::ScaleForPPI(TCustomForm* AForm, Integer ATargetDPI, const TRect* AWindowRect) {
  const Integer PrevDPI = dxGetFormDPI(AForm);
  if (ATargetDPI == PrevDPI || ATargetDPI < dxMinimumDPI || IsScaleChanging(AForm)) return;

  // Scaling begins: every control hears of it before anything moves.
  ScalingContainers().push_back(AForm);
  TScalingState State;
  State.RedrawLocked =
      IsWinVistaOrLater && AForm->HandleAllocated() && IsWindowVisible(AForm->Handle());
  PopulateMDIChildren(AForm, State.LockedControls);
  PopulateControls(AForm, State.LockedControls);
  auto End = Finally([&] {
    AForm->EnableAlign();
    if (State.RedrawLocked && AForm->HandleAllocated())
      SendMessageW(AForm->Handle(), WM_SETREDRAW, TRUE, 0);
    for (auto It = State.LockedControls.rbegin(); It != State.LockedControls.rend(); ++It)
      (*It)->Perform(DXM_SCALECHANGED, 0, 0);
    AForm->Perform(DXM_SCALECHANGED, 0, 0);
    if (State.RedrawLocked && AForm->HandleAllocated())
      RedrawWindow(AForm->Handle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    auto& L = ScalingContainers();
    L.erase(std::remove(L.begin(), L.end(), AForm), L.end());
  });
  AForm->Perform(DXM_SCALECHANGING, 0, 0);
  for (TControl* C : State.LockedControls) C->Perform(DXM_SCALECHANGING, 0, 0);
  if (State.RedrawLocked) SendMessageW(AForm->Handle(), WM_SETREDRAW, FALSE, 0);
  AForm->DisableAlign();

  const TRect PrevBounds = AForm->BoundsRect();
  const Integer PrevClientWidth = AForm->ClientWidth(), PrevClientHeight = AForm->ClientHeight();
  const bool PrevParentFont = AForm->ParentFont();
  AForm->ScaleForPPI(ATargetDPI);
  AForm->SetParentFont(PrevParentFont);
  AForm->SetPixelsPerInch(ATargetDPI);

  if (AWindowRect) {
    AForm->SetBoundsRect(*AWindowRect);
  } else if (AForm->WindowState() == wsMaximized) {
    AForm->SetBoundsRect(PrevBounds);
  } else {
    // The client area keeps its size in scaled units; the frame keeps its own.
    const Integer NonClientWidth = RectWidth(PrevBounds) - PrevClientWidth;
    const Integer NonClientHeight = RectHeight(PrevBounds) - PrevClientHeight;
    AForm->SetBounds(PrevBounds.left, PrevBounds.top,
                     MulDiv(PrevClientWidth, ATargetDPI, PrevDPI) + NonClientWidth,
                     MulDiv(PrevClientHeight, ATargetDPI, PrevDPI) + NonClientHeight);
  }
}

void TdxFormHelper::SetWindowTextWithoutRedrawing(HWND AWnd, const String& AText) {
  const LONG_PTR PrevStyle = LockWindowRedrawing(AWnd);
  auto Unlock = Finally([&] { UnlockWindowRedrawing(AWnd, PrevStyle); });
  DefWindowProcW(AWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AText.c_str()));
}

LONG_PTR TdxFormHelper::LockWindowRedrawing(HWND AWnd) {
  const LONG_PTR Style = GetWindowLongPtrW(AWnd, GWL_STYLE);
  // A remote session repaints the whole window when it reappears: worse than
  // the flicker the lock saves.
  if (!dxSystemInfo()->IsRemoteSession()) dxSetWindowStyle(AWnd, WS_VISIBLE, soSubtract);
  return Style;
}

void TdxFormHelper::UnlockWindowRedrawing(HWND AWnd, LONG_PTR APrevStyle) {
  dxSetWindowStyle(AWnd, APrevStyle);
}

void TdxFormHelper::RepaintVisibleWindowArea(HWND AHandle, TRegionHandle& APrevVisibleRegion) {
  RECT WR;
  GetWindowRect(AHandle, &WR);
  TRect Visible;
  TRect Work = GetDesktopWorkArea(TPoint{WR.left, WR.top});
  if (!IntersectRect(&Visible, &WR, &Work)) Visible = TRect{};
  OffsetRect(&Visible, -WR.left, -WR.top);
  TRegionHandle NewRegion(CreateRectRgnIndirect(&Visible));
  if (APrevVisibleRegion.Get() && EqualRgn(NewRegion.Get(), APrevVisibleRegion.Get())) return;
  TRegionHandle Uncovered(CreateRectRgn(0, 0, 0, 0));
  if (APrevVisibleRegion.Get())
    CombineRgn(Uncovered.Get(), NewRegion.Get(), APrevVisibleRegion.Get(), RGN_DIFF);
  else
    CombineRgn(Uncovered.Get(), NewRegion.Get(), nullptr, RGN_COPY);
  std::swap(APrevVisibleRegion, NewRegion);
  RECT Box;
  if (GetRgnBox(Uncovered.Get(), &Box) != NULLREGION)
    RedrawWindow(AHandle, nullptr, Uncovered.Get(),
                 RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
}

// ---------------------------------------------------------------------------
// TdxFormRightToLeftLayoutHelper

void TdxFormRightToLeftLayoutHelper::AddRightToLeftFormExStyle(TCreateParams& AParams) {
  AParams.ExStyle = (AParams.ExStyle | GetRightToLeftLayoutStyles()) & ~GetBiDiModeStyles();
}

void TdxFormRightToLeftLayoutHelper::RemoveBiDiModeStyles(TCustomForm* AForm) {
  if (AForm->HandleAllocated())
    SetWindowLongPtrW(AForm->Handle(), GWL_EXSTYLE,
                      GetWindowLongPtrW(AForm->Handle(), GWL_EXSTYLE) & ~GetBiDiModeStyles());
}

// ---------------------------------------------------------------------------
// TdxFormImageListHelper

void TdxFormImageListHelper::Execute(Integer ATargetDPI, TComponent* AForm) {
  TdxFormImageListHelper Helper(ATargetDPI);
  Helper.UpdateImageLists(AForm);
}

void TdxFormImageListHelper::UpdateImageLists(TComponent* AForm) {
  for (Integer I = 0; I < AForm->ComponentCount(); ++I)
    UpdateImageListProperties(AForm->Components(I), 0);
}

void TdxFormImageListHelper::UpdateImageListProperties(TObject* AObject, Integer ADepth) {
  // Persistent objects may refer back to their owners: a cycle must end.
  constexpr Integer MaxDepth = 16;
  if (!AObject || ADepth > MaxDepth) return;
  for (const TPropInfo* Prop : GetPropList(AObject->ClassType())) {
    if (Prop->Kind != tkClass || !Prop->GetObj) continue;
    TObject* Value = Prop->GetObj(AObject);
    if (!Value) continue;
    if (auto* Component = AsOrNull<TComponent>(Value)) {
      auto* ImageList = AsOrNull<TCustomImageList>(Component);
      if (!ImageList || !Prop->SetObj) continue;
      TCustomImageList* Replacement = GetReplacement(ImageList);
      if (Replacement != ImageList) SetObjectProp(AObject, Prop, Replacement);
    } else if (AsOrNull<TPersistent>(Value)) {
      UpdateImageListProperties(Value, ADepth + 1);
    }
  }
}

TCustomImageList* TdxFormImageListHelper::GetReplacement(TCustomImageList* AImageList) {
  for (const auto& [From, To] : FReplacementCache)
    if (From == AImageList) return To;
  TCustomImageList* Result = AImageList;
  String Base = AImageList->Name();
  while (!Base.empty() && dxCharIsNumeric(Base.back())) Base.pop_back();
  if (!Base.empty() && AImageList->Owner()) {
    TCustomImageList* Found = TryFind(AImageList, Base, FTargetDPI);
    for (auto It = std::rbegin(dxDefaultDPIValues); !Found && It != std::rend(dxDefaultDPIValues);
         ++It)
      if (*It < FTargetDPI) Found = TryFind(AImageList, Base, *It);
    if (Found) Result = Found;
  }
  FReplacementCache.emplace_back(AImageList, Result);
  return Result;
}

TCustomImageList* TdxFormImageListHelper::TryFind(TCustomImageList* AImageList, const String& AName,
                                                  Integer ADPI) {
  TComponent* Owner = AImageList->Owner();
  auto* Result = AsOrNull<TCustomImageList>(Owner->FindComponent(AName + IntToStr(ADPI)));
  if (!Result && ADPI == dxDefaultDPI)
    Result = AsOrNull<TCustomImageList>(Owner->FindComponent(AName));
  return Result;
}

// ---------------------------------------------------------------------------
// Frames

namespace {

// The controllers of the frames, and the notifier that removes a freed frame.
struct TFrameRegistry {
  std::map<TCustomFrame*, TdxFrameController*> Map;
  TcxFreeNotificator* FreeNotifier = nullptr;
  void FreeNotification(TComponent* AComponent);
};

TFrameRegistry* GFrames = nullptr;

void TFrameRegistry::FreeNotification(TComponent* AComponent) {
  auto It = Map.find(static_cast<TCustomFrame*>(AComponent));
  if (It == Map.end()) return;
  TdxFrameController* Controller = It->second;
  Map.erase(It);
  Controller->Free();
}

void FrameHook(Integer ACode, WPARAM, LPARAM lParam, LRESULT&) {
  if (ACode != HC_ACTION || dxIsDesignTime) return;
  const auto* Msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (Msg->message == WM_CREATE) TdxFrameControllerManager::Register(Msg->hwnd);
}

}  // namespace

IMPLEMENT_CLASS(TdxFrameController)

TdxFrameController::TdxFrameController(TCustomFrame* AFrame) : FFrame(AFrame) {
  FWindowProcObject =
      cxWindowProcController()->Add(AFrame, MakeEvent<&TdxFrameController::WndProc>(this));
  ScaleForPPI(GetTargetDPI(), true);
}

TdxFrameController::~TdxFrameController() {
  if (FWindowProcObject && cxWindowProcController())
    cxWindowProcController()->Remove(FWindowProcObject);
}

Integer TdxFrameController::GetTargetDPI() {
  Integer M = 1, D = 1;
  if (FFrame->Parent() && dxGetCurrentScaleFactor(FFrame->Parent(), M, D))
    return MulDiv(dxDefaultDPI, M, D);
  return dxDefaultDPI;
}

void TdxFrameController::ScaleForPPI(Integer ATargetDPI, bool AScaleFrame) {
  if (AScaleFrame && !FFrame->ComponentState().Contains(csLoading)) {
    const bool HadParentFont = FFrame->ParentFont();
    FFrame->ScaleForPPI(ATargetDPI);
    if (HadParentFont && FFrame->Parent()) {
      FFrame->Font()->Assign(FFrame->Parent()->Font());
      FFrame->SetParentFont(true);
    }
  }
  // Without scaling here the frame's DPI already followed its form's.
  TdxFormHelper::ScaleComponentsForDpi(FFrame, ATargetDPI);
}

void TdxFrameController::WndProc(TMessage& Message) {
  FWindowProcObject->DefaultProc(Message);
  if (Message.Msg == WM_CREATE)
    ScaleForPPI(GetTargetDPI(), true);
  else if (Message.Msg == DXM_SCALECHANGED)
    ScaleForPPI(GetTargetDPI(), false);
}

void TdxFrameControllerManager::Register(HWND AWnd) {
  if (!GFrames || !dxIsCurrentProcessWindow(AWnd)) return;
  auto* Frame = AsOrNull<TCustomFrame>(cxFindVCLControl(AWnd));
  if (!Frame || Supports(Frame, __uuidof(IdxScaleFactor)) || GFrames->Map.count(Frame) ||
      Frame->ComponentState().Contains(csDesigning))
    return;
  GFrames->FreeNotifier->AddSender(Frame);
  GFrames->Map[Frame] = nullptr;
  GFrames->Map[Frame] = Create<TdxFrameController>(Frame);
}

void TdxFrameControllerManager::Unregister(HWND AWnd) {
  if (!GFrames) return;
  auto* Frame = AsOrNull<TCustomFrame>(cxFindVCLControl(AWnd));
  auto It = GFrames->Map.find(Frame);
  if (It == GFrames->Map.end()) return;
  TdxFrameController* Controller = It->second;
  GFrames->Map.erase(It);
  GFrames->FreeNotifier->RemoveSender(Frame);
  if (Controller) Controller->Free();
}

TdxFrameController* TdxFrameControllerManager::Find(TCustomFrame* AFrame) {
  if (!GFrames) return nullptr;
  auto It = GFrames->Map.find(AFrame);
  return It == GFrames->Map.end() ? nullptr : It->second;
}

Integer TdxFrameControllerManager::Count() {
  return GFrames ? static_cast<Integer>(GFrames->Map.size()) : 0;
}

// ---------------------------------------------------------------------------
// TcxPopupWindow

IMPLEMENT_CLASS(TcxPopupWindow)
IMPLEMENT_MESSAGE_TABLE(TcxPopupWindow,
                        {WM_ACTIVATEAPP, MessageHandler<&TcxPopupWindow::WMActivateApp>})

TcxPopupWindow::TcxPopupWindow(TComponent* AOwner) : TdxCustomForm(AOwner, true) {
  SetBorderStyle(bsNone);
  SetRightToLeftLayout(bFalse);
  SetFormStyle(fsStayOnTop);
  FCanvas.reset(new TcxCanvas(Canvas()));
  FControlStyle.Include(csOverrideStylePaint);
}

TcxPopupWindow::~TcxPopupWindow() = default;

void TcxPopupWindow::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FOwnerParent) FOwnerParent = nullptr;
}

void TcxPopupWindow::SetOwnerParent(TControl* V) {
  if (FOwnerParent == V) return;
  if (FOwnerParent) FOwnerParent->RemoveFreeNotification(this);
  FOwnerParent = V;
  if (FOwnerParent) FOwnerParent->FreeNotification(this);
}

void TcxPopupWindow::SetBorderSpace(Integer V) {
  if (FBorderSpace == V) return;
  RestoreControlsBounds();
  FBorderSpace = V;
}

void TcxPopupWindow::SetPopupBorderStyle(TcxPopupBorderStyle V) {
  if (FBorderStyle == V) return;
  RestoreControlsBounds();
  FBorderStyle = V;
}

Integer TcxPopupWindow::GetFrameWidth(TcxBorder) {
  switch (FBorderStyle) {
    case pbsUltraFlat:
    case pbsFlat:
      return 1;
    case pbs3D:
      return 2;
    default:
      return 0;
  }
}

Integer TcxPopupWindow::GetBorderWidth(TcxBorder ASide) {
  return GetFrameWidth(ASide) + FBorderSpace;
}

TRect TcxPopupWindow::GetClientBounds() {
  TRect R = ClientRect();
  R.left += GetBorderWidth(bLeft);
  R.top += GetBorderWidth(bTop);
  R.right -= GetBorderWidth(bRight);
  R.bottom -= GetBorderWidth(bBottom);
  return R;
}

void TcxPopupWindow::RestoreControlsBounds() {
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    C->SetBounds(C->Left() - FChildrenOffset.x, C->Top() - FChildrenOffset.y, C->Width(),
                 C->Height());
  }
  FChildrenOffset = TPoint{};
}

TSize TcxPopupWindow::CalculateSize() {
  if (!FAdjustable) return TSize{Width(), Height()};
  // The children are placed from their bounds without the frame, so that a
  // popup shown again does not push them further in each time.
  RestoreControlsBounds();
  const TPoint Offset{GetBorderWidth(bLeft), GetBorderWidth(bTop)};
  Integer ClientWidth = 0, ClientHeight = 0;
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    ClientWidth = std::max(ClientWidth, C->Left() + C->Width());
    ClientHeight = std::max(ClientHeight, C->Top() + C->Height());
    C->SetBounds(C->Left() + Offset.x, C->Top() + Offset.y, C->Width(), C->Height());
  }
  FChildrenOffset = Offset;
  // Without children (and nothing to measure) the popup keeps its size.
  TSize Result{Width(), Height()};
  if (ClientWidth != 0 || ControlCount() > 0)
    Result.cx = GetBorderWidth(bLeft) + ClientWidth + GetBorderWidth(bRight);
  if (ClientHeight != 0 || ControlCount() > 0)
    Result.cy = GetBorderWidth(bTop) + ClientHeight + GetBorderWidth(bBottom);
  return Result;
}

TRect TcxPopupWindow::GetOwnerScreenBounds() {
  TRect R = FOwnerBounds;
  if (UseOwnerParentToGetScreenBounds() && FOwnerParent) {
    auto* W = AsOrNull<TWinControl>(FOwnerParent);
    if (FIsOwnerBoundsRTLDependent && W && W->HandleAllocated() &&
        dxWindowHasRightToLeftLayout(W->Handle()))
      R = TdxRightToLeftLayoutConverter::ConvertRect(R, W->ClientRect());
    const TPoint Screen = FOwnerParent->ClientToScreen(TPoint{R.left, R.top});
    OffsetRect(&R, Screen.x - R.left, Screen.y - R.top);
  }
  return R;
}

TRect TcxPopupWindow::WorkArea(const TPoint& AOrigin) const {
  return FWorkAreaFunc ? FWorkAreaFunc(AOrigin) : GetDesktopWorkArea(AOrigin);
}

void TcxPopupWindow::CalculateCommonPosition(TPoint& APosition, TPoint& AOrigin,
                                             const TSize& ASize) {
  const TRect O = GetOwnerScreenBounds();
  if (FAlignHorz == pahCenter) {
    APosition.x = (O.left + O.right - ASize.cx) / 2;
    AOrigin.x = APosition.x;
  }
  if (FAlignVert == pavCenter) {
    APosition.y = (O.top + O.bottom - ASize.cy) / 2;
    AOrigin.y = APosition.y;
  }
}

void TcxPopupWindow::InternalCalculateVerticalDirectionPosition(TPoint& APosition, TPoint& AOrigin,
                                                                const TSize& ASize) {
  const TRect O = GetOwnerScreenBounds();
  if (FAlignHorz == pahLeft) {
    APosition.x = O.left;
    AOrigin.x = O.left;
  } else if (FAlignHorz == pahRight) {
    APosition.x = O.right - ASize.cx;
    AOrigin.x = O.right - 1;
  }
  if (FAlignVert == pavTop) {
    APosition.y = O.top - ASize.cy;
    AOrigin.y = O.top;
  } else if (FAlignVert == pavBottom) {
    APosition.y = O.bottom;
    AOrigin.y = O.bottom - 1;
  }
}

void TcxPopupWindow::InternalCalculateHorizontalDirectionPosition(TPoint& APosition,
                                                                  TPoint& AOrigin,
                                                                  const TSize& ASize) {
  const TRect O = GetOwnerScreenBounds();
  if (FAlignHorz == pahLeft) {
    APosition.x = O.left - ASize.cx;
    AOrigin.x = O.left;
  } else if (FAlignHorz == pahRight) {
    APosition.x = O.right;
    AOrigin.x = O.right - 1;
  }
  if (FAlignVert == pavTop) {
    APosition.y = O.top;
    AOrigin.y = O.top;
  } else if (FAlignVert == pavBottom) {
    APosition.y = O.bottom - ASize.cy;
    AOrigin.y = O.bottom - 1;
  }
}

void TcxPopupWindow::InternalCalculateTargetPosition(TPoint& APosition, TPoint& AOrigin,
                                                     const TSize& ASize) {
  CalculateCommonPosition(APosition, AOrigin, ASize);
  if (FDirection == pdVertical)
    InternalCalculateVerticalDirectionPosition(APosition, AOrigin, ASize);
  else
    InternalCalculateHorizontalDirectionPosition(APosition, AOrigin, ASize);
}

TPoint TcxPopupWindow::CalculatePosition(const TSize& ASize) {
  TPoint Position{}, Origin{};
  InternalCalculateTargetPosition(Position, Origin, ASize);
  CheckPosition(Position, Origin, ASize);
  return Position;
}

void TcxPopupWindow::CheckPosition(TPoint& APosition, TPoint& AOrigin, const TSize& ASize) {
  if (!FAcceptAnyPosition) {
    const TRect W = WorkArea(AOrigin);
    const TRect O = GetOwnerScreenBounds();
    if (FDirection == pdVertical) {
      const bool MoreSpaceOnTop = (W.bottom - O.bottom) < (O.top - W.top);
      if (FAlignVert == pavBottom && APosition.y + ASize.cy > W.bottom && MoreSpaceOnTop)
        FAlignVert = pavTop;
      else if (FAlignVert == pavTop && APosition.y < W.top && !MoreSpaceOnTop)
        FAlignVert = pavBottom;
      InternalCalculateVerticalDirectionPosition(APosition, AOrigin, ASize);
    } else {
      const bool MoreSpaceOnLeft = (W.right - O.right) < (O.left - W.left);
      if (FAlignHorz == pahRight && APosition.x + ASize.cx > W.right && MoreSpaceOnLeft)
        FAlignHorz = pahLeft;
      else if (FAlignHorz == pahLeft && APosition.x < W.left && !MoreSpaceOnLeft)
        FAlignHorz = pahRight;
      InternalCalculateHorizontalDirectionPosition(APosition, AOrigin, ASize);
    }
  }
  CorrectPositionWithDesktopWorkArea(APosition, AOrigin, ASize);
}

void TcxPopupWindow::CorrectPositionWithDesktopWorkArea(TPoint& APosition, TPoint& AOrigin,
                                                        const TSize& ASize) {
  const TRect W = WorkArea(AOrigin);
  if (FDirection == pdVertical || FAlignHorz == pahCenter) {
    if (APosition.x + ASize.cx > W.right) APosition.x = W.right - ASize.cx;
    if (APosition.x < W.left) APosition.x = W.left;
  }
  if (FDirection == pdHorizontal || FAlignVert == pavCenter) {
    if (APosition.y + ASize.cy > W.bottom) APosition.y = W.bottom - ASize.cy;
    if (APosition.y < W.top) APosition.y = W.top;
  }
}

void TcxPopupWindow::InitPopup() {
  if (FOwnerParent) Font()->Assign(FOwnerParent->Font());
}

void TcxPopupWindow::Popup() {
  InitPopup();
  const TSize Size = CalculateSize();
  const TPoint P = CalculatePosition(Size);
  SetBounds(P.x, P.y, Size.cx, Size.cy);
  Show();
}

void TcxPopupWindow::CloseUp() { Hide(); }

void TcxPopupWindow::PaintWindow(HDC DC) {
  inherited::PaintWindow(DC);
  Canvas()->Lock();
  auto Unlock = Finally([&] {
    Canvas()->SetHandle(nullptr);
    Canvas()->Unlock();
  });
  Canvas()->SetHandle(DC);
  DrawFrame();
}

void TcxPopupWindow::DrawFrame() {
  const TRect R{0, 0, Width(), Height()};
  switch (FBorderStyle) {
    case pbsUltraFlat:
      FCanvas->FrameRect(R, FFrameColor);
      break;
    case pbsFlat:
      FCanvas->DrawEdge(R, false, false);
      break;
    case pbs3D:
      FCanvas->DrawEdge(R, false, true);
      FCanvas->DrawEdge(cxRectInflate(R, -1, -1), false, false);
      break;
    default:
      break;
  }
}

void TcxPopupWindow::WMActivate(TMessage& Message) {
  inherited::WMActivate(Message);
  if (LOWORD(Message.WParam) != WA_INACTIVE) {
    // The window the popup took activation from keeps an active caption.
    FPrevActiveWindow = reinterpret_cast<HWND>(Message.LParam);
    if (FPrevActiveWindow) SendMessageW(FPrevActiveWindow, WM_NCACTIVATE, 1, 0);
  } else {
    CloseUp();
  }
}

void TcxPopupWindow::WMActivateApp(TMessage& Message) {
  DefaultHandler(Message);
  if (Message.WParam == 0) {
    if (FPrevActiveWindow && IsWindow(FPrevActiveWindow))
      SendMessageW(FPrevActiveWindow, WM_NCACTIVATE, 0, 0);
    CloseUp();
  }
}

void TcxPopupWindow::CMVisibleChanged(TMessage& Message) {
  inherited::CMVisibleChanged(Message);
  VisibleChanged();
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void dxForms_Initialize() {
  GFrames = new TFrameRegistry();
  GFrames->FreeNotifier = Create<TcxFreeNotificator>(nullptr);
  GFrames->FreeNotifier->SetOnFreeNotification(
      MakeEvent<&TFrameRegistry::FreeNotification>(GFrames));
  dxSetHook(htWndProc, &FrameHook);
}

void dxForms_Finalize() {
  dxReleaseHook(&FrameHook);
  if (!GFrames) return;
  for (auto& [Frame, Controller] : GFrames->Map)
    if (Controller) Controller->Free();
  GFrames->Map.clear();
  GFrames->FreeNotifier->Free();
  delete GFrames;
  GFrames = nullptr;
}
