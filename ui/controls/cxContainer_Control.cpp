#include "cxContainer.h"

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxContainer) {
  using C = TcxContainer;
  P.Property<&C::GetStyle, &C::SetStyle>(L"Style");
  P.Property<&C::StyleDisabled, &C::SetStyleDisabled>(L"StyleDisabled");
  P.Property<&C::StyleFocused, &C::SetStyleFocused>(L"StyleFocused");
  P.Property<&C::StyleHot, &C::SetStyleHot>(L"StyleHot");
}

IMPLEMENT_MESSAGE_TABLE(TcxContainer, {WM_SETFOCUS, MessageHandler<&TcxContainer::WMSetFocus>},
                        {WM_KILLFOCUS, MessageHandler<&TcxContainer::WMKillFocus>},
                        {WM_WINDOWPOSCHANGING, MessageHandler<&TcxContainer::WMWindowPosChanging>},
                        {WM_DESTROY, MessageHandler<&TcxContainer::WMDestroy>},
                        {DXM_UPDATEWINDOWREGION,
                         MessageHandler<&TcxContainer::DXMUpdateWindowRegion>},
                        {DXM_UPDATESCROLLBARS, MessageHandler<&TcxContainer::DXMUpdateScrollBars>},
                        {DXM_SHORTREFRESHCONTAINER,
                         MessageHandler<&TcxContainer::DXMShortRefreshContainer>},
                        {CM_SYSCOLORCHANGE, MessageHandler<&TcxContainer::CMSysColorChange>})

TcxContainer::TcxContainer(TComponent* AOwner) : TcxControl(AOwner) {}

void TcxContainer::AfterConstruction() {
  FIsCreating = true;
  inherited::AfterConstruction();
  FStyles.reset(GetStylesClass()(this, GetStyleClass()));
  FStyles->SetOnChanged(MakeEvent<&TcxContainer::ContainerStyleChanged>(this));
  FActiveStyleData.ContainerState = TcxContainerState{csNormal};
  FActiveStyleData.ActiveStyle = GetStyle();
  FViewInfo.reset(GetViewInfoClass()());
  FViewInfo->Owner = this;
  LookAndFeel()->SetMasterLookAndFeel(GetStyle()->GetLookAndFeel());
  TControlStyle S = ControlStyle();
  S.Include(csCaptureMouse);
  S.Include(csSetCaption);
  SetControlStyle(S);
  SetTabStop(true);
  SetParentColor(DefaultParentColor() && !IsInplace() && !GetStyle()->IsValueAssigned(csvColor));
  if (!ParentColor()) SetColor(clWindow);
  ClearSavedChildControlRegions();
  FIsCreating = false;
}

void TcxContainer::BeforeDestruction() {
  FNewWindowRegion.Reset();
  EndMouseTracking();
  inherited::BeforeDestruction();
}

TcxContainer::~TcxContainer() {
  ::EndMouseTracking(this);
  if (FInnerControl) FInnerControl->RemoveFreeNotification(this);
  FViewInfo.reset();
  if (FStyles) FStyles->SetOnChanged(TNotifyEvent());
  FStyles.reset();
}

TcxContainerStyleClass TcxContainer::GetStyleClass() {
  return &cxCreateContainerStyle<TcxContainerStyle>;
}

TcxContainerStylesClass TcxContainer::GetStylesClass() {
  return &cxCreateContainerStyles<TcxContainerStyles>;
}

TcxContainerViewInfoClass TcxContainer::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TcxContainerViewInfo>;
}

TcxLookAndFeel* TcxContainer::GetLookAndFeelValue() { return GetStyle()->GetLookAndFeel(); }

// ---------------------------------------------------------------------------
// Refresh

bool TcxContainer::CanRefreshContainer() {
  return FRefreshLockCount == 0 && !FIsCreating && !IsDestroying() && !IsLoading() &&
         !ControlState().Contains(csDestroyingHandle) && HandleAllocated();
}

void TcxContainer::RefreshContainer(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                                    bool AIsMouseEvent) {
  FHasChanges = true;
  bool ARan = false;
  if (CanRefreshContainer()) {
    ++FRefreshLockCount;
    auto AUnlock = Finally([this] { --FRefreshLockCount; });
    FHasChanges = false;
    DoRefreshContainer(P, Button, Shift, AIsMouseEvent);
    ARan = true;
  }
  if (ARan && !FHasChanges) FIsViewInfoCalculated = true;
}

bool TcxContainer::ShortRefreshContainer(bool AIsMouseEvent) {
  TPoint P = cxInvalidPoint;
  TShiftState AShift;
  if (CanRefreshContainer()) {
    POINT ACursor{};
    GetCursorPos(&ACursor);
    HWND AWnd = WindowFromPoint(ACursor);
    if (AWnd == Handle() || IsChild(Handle(), AWnd)) {
      ::ScreenToClient(Handle(), &ACursor);
      P = TPoint{ACursor.x, ACursor.y};
    }
    AShift = GetShiftState();
  }
  RefreshContainer(P, cxmbNone, AShift, AIsMouseEvent);
  return true;
}

void TcxContainer::BeginRefreshContainer() { ++FRefreshLockCount; }

void TcxContainer::EndRefreshContainer(bool AIsMouseEvent) {
  if (FRefreshLockCount > 0) --FRefreshLockCount;
  ShortRefreshContainer(AIsMouseEvent);
}

void TcxContainer::CheckIsViewInfoCalculated() {
  if (!FIsViewInfoCalculated) ShortRefreshContainer(false);
}

bool TcxContainer::DoRefreshContainer(const TPoint& P, TcxMouseButton, TShiftState Shift, bool) {
  bool AMouseTracking = cxShiftStateMoveOnly(Shift) && GetActiveStyle()->GetHotTrack();
  CalculateViewInfo(P, AMouseTracking);
  SetSize();
  AdjustInnerControl();
  UpdateWindowRegion();
  TRect ABounds = GetControlRect(this);
  if (HasInnerControl())
    InternalInvalidate(Handle(), ABounds, FViewInfo->BorderRect);
  else
    InternalInvalidate(Handle(), ABounds, TRect{});
  if (FViewInfo->ContainerState.Contains(csHotTrack)) BeginMouseTracking(this, ABounds, this);
  return true;
}

// ---------------------------------------------------------------------------
// State and view info

TcxContainerStyle* TcxContainer::InternalGetActiveStyle() {
  const TcxContainerState& S = FViewInfo->ContainerState;
  if (S.Contains(csDisabled)) return StyleDisabled();
  if (S.Contains(csActive)) return StyleFocused();
  if (GetStyle()->GetHotTrack() && S.Contains(csHotTrack)) return StyleHot();
  return GetStyle();
}

TcxContainerStyle* TcxContainer::GetActiveStyle() {
  if (!(FActiveStyleData.ContainerState == FViewInfo->ContainerState)) {
    FActiveStyleData.ContainerState = FViewInfo->ContainerState;
    FActiveStyleData.ActiveStyle = InternalGetActiveStyle();
  }
  return FActiveStyleData.ActiveStyle;
}

void TcxContainer::CalculateContainerState(const TPoint& P, bool AMouseTracking) {
  TcxContainerViewInfo* V = FViewInfo.get();
  if (!Enabled())
    V->ContainerState = TcxContainerState{csDisabled};
  else if (IsDesigning())
    V->ContainerState = TcxContainerState{csNormal};
  else {
    V->ContainerState = TcxContainerState{Focused() ? csActive : csNormal};
    if (AMouseTracking && PtInRect(GetVisibleBounds(), P)) V->ContainerState.Include(csHotTrack);
  }
  TcxContainerStyle* AStyle = GetActiveStyle();
  if (!AStyle->GetHotTrack())
    V->HotState = chsNoHotTrack;
  else if (V->ContainerState.Contains(csActive) || V->ContainerState.Contains(csHotTrack))
    V->HotState = chsSelected;
  else
    V->HotState = chsNormal;
  if (V->NativeStyle)
    V->BorderStyle = GetStyle()->GetBorderStyle();
  else {
    V->BorderStyle = AStyle->GetBorderStyle();
    // Their colour rule stays; their line is a single one.
    if (V->BorderStyle == cbsUltraFlat || V->BorderStyle == cbsOffice11) V->BorderStyle = cbsSingle;
  }
}

bool TcxContainer::IsNativeStyle() {
  return AreVisualStylesMustBeUsed(LookAndFeel()->GetNativeStyle(), totEdit);
}

bool TcxContainer::HasShadow() { return GetActiveStyle()->GetShadow() && !IsNativeStyle(); }

Integer TcxContainer::GetBackgroundNativePart() {
  // The edit background part from Windows Vista on, the edit text part before.
  return IsWinVistaOrLater ? 3 : 1;
}

Integer TcxContainer::GetBackgroundNativeState() {
  if (!Enabled()) return 4;
  if (IsReadOnly()) return 6;
  if (Focused()) return 5;
  if (FViewInfo->ContainerState.Contains(csHotTrack)) return 2;
  return 1;
}

void TcxContainer::CalculateViewInfo(const TPoint& P, bool AMouseTracking) {
  TcxContainerViewInfo* V = FViewInfo.get();
  V->SetCalculated(true);
  V->NativeStyle = IsNativeStyle();
  V->UpdateStyle(GetStyle());
  Integer APrevWidth = GetContainerBorderWidth(V->BorderStyle);
  CalculateContainerState(P, AMouseTracking);
  // The visible bounds depend on the border width.
  if (!V->NativeStyle && GetContainerBorderWidth(V->BorderStyle) < APrevWidth)
    CalculateContainerState(P, AMouseTracking);
  if (V->NativeStyle) {
    V->ThemedObjectType = GetBackgroundThemedObjectType();
    V->NativePart = GetBackgroundNativePart();
    V->NativeState = GetBackgroundNativeState();
  }
  V->Bounds = GetControlRect(this);
  V->BorderRect = cxRectContent(V->Bounds, GetBorderExtent());
  V->ClientRect = V->BorderRect;
  V->BorderWidth = GetContainerBorderWidth(V->BorderStyle);
  V->Edges = GetActiveStyle()->GetEdges();
  V->Shadow = HasShadow();
  V->BorderColor = GetBorderColor();
  V->SetBackgroundColor(GetBackgroundColor());
}

TRect TcxContainer::GetBorderExtent() {
  TcxContainerStyle* AStyle = GetActiveStyle();
  bool ANative = IsNativeStyle();
  TRect R{};
  if (AStyle->GetTransparentBorder())
    R = cxContainerDefaultBorderExtent;
  else if (!AStyle->HasBorder() || (ANative && GetStyle()->GetBorderStyle() == cbsNone))
    R = TRect{};
  else if (ANative)
    R = cxContainerDefaultBorderExtent;
  else {
    Integer W = GetContainerBorderWidth(FViewInfo->BorderStyle);
    TcxBorders E = AStyle->GetEdges();
    R = TRect{E.Contains(bLeft) ? W : 0, E.Contains(bTop) ? W : 0, E.Contains(bRight) ? W : 0,
              E.Contains(bBottom) ? W : 0};
  }
  if (HasShadow()) {
    R.right += cxContainerShadowWidth;
    R.bottom += cxContainerShadowWidth;
  }
  return R;
}

bool TcxContainer::CanHaveTransparentBorder() {
  return GetActiveStyle()->GetTransparentBorder() &&
         !(IsNativeStyle() && GetStyle()->GetBorderStyle() != cbsNone);
}

TColor TcxContainer::GetBorderColorByPainter(bool AIsHighlight) {
  if (!FViewInfo->UseSkins) return clDefault;
  TcxContainerStyle* AStyle = GetActiveStyle();
  if (GetStyle()->GetAssignedValues().Contains(csvBorderColor) ||
      AStyle->GetAssignedValues().Contains(csvBorderColor))
    return AStyle->GetBorderColor();
  return FViewInfo->Painter->GetContainerBorderColor(AIsHighlight);
}

TColor TcxContainer::GetBorderColor() {
  const TcxContainerState& S = FViewInfo->ContainerState;
  TcxContainerStyle* AStyle = GetActiveStyle();
  bool AHighlight = S.Contains(csActive) || (S.Contains(csHotTrack) && AStyle->GetHotTrack()) ||
                    (IsDesigning() && Enabled());
  TColor AColor = GetBorderColorByPainter(AHighlight);
  if (AColor != clDefault) return AColor;
  TcxContainerBorderStyle ABorderStyle = AStyle->GetBorderStyle();
  if (ABorderStyle == cbsUltraFlat || ABorderStyle == cbsOffice11)
    return GetContainerBorderColor(AHighlight, ABorderStyle == cbsOffice11);
  return AStyle->GetBorderColor();
}

void TcxContainer::GetColorSettingsByPainter(TColor& ABackground, TColor& ATextColor) {
  ABackground = clDefault;
  ATextColor = clDefault;
}

TColor TcxContainer::GetBackgroundColor() {
  TColor ABackground, AText;
  GetColorSettingsByPainter(ABackground, AText);
  if (ABackground != clDefault) return ABackground;
  TcxContainerStyle* AStyle = GetActiveStyle();
  TColor AColor = AStyle->GetColor();
  if (FViewInfo->NativeStyle && !Enabled() && !AStyle->IsValueAssigned(csvColor)) {
    TColor AThemeColor = cxContainerThemeFillColor(FViewInfo->ThemedObjectType,
                                                   FViewInfo->NativePart, FViewInfo->NativeState);
    if (AThemeColor != clDefault) AColor = AThemeColor;
  }
  return AColor;
}

TFont* TcxContainer::GetVisibleFont() {
  TFont* AFont = GetActiveStyle()->GetVisibleFont();
  TColor ABackground, AText;
  GetColorSettingsByPainter(ABackground, AText);
  if (AText != clDefault) AFont->SetColor(AText);
  return AFont;
}

TRect TcxContainer::GetVisibleBounds() {
  TRect R = GetControlRect(this);
  if (!IsInplace()) {
    if (FViewInfo->Shadow) {
      R.right -= cxContainerShadowWidth;
      R.bottom -= cxContainerShadowWidth;
    }
    TcxContainerStyle* S = GetStyle();
    if (S->HasBorder()) {
      if (FViewInfo->NativeStyle) {
        if (S->GetTransparentBorder() && S->GetBorderStyle() == cbsNone)
          R = cxRectContent(R, TRect{2, 2, 2, 2});
      } else if (S->GetTransparentBorder()) {
        Integer W = FViewInfo->BorderWidth;
        R = cxRectContent(R, TRect{2 - W, 2 - W, 2 - W, 2 - W});
        InflateRectByBorders(R, W, FViewInfo->Edges);
      }
    } else if (S->GetTransparentBorder())
      R = cxRectContent(R, TRect{2, 2, 2, 2});
  }
  if (R.bottom < R.top) R = TRect{R.left, 0, R.right, 0};
  return R;
}

// ---------------------------------------------------------------------------
// Painting and the window region

void TcxContainer::Paint() {
  if (RectVisible(Canvas()->Handle(), &FViewInfo->Bounds) || !FViewInfo->Calculated()) {
    CheckIsViewInfoCalculated();
    if (FViewInfo->Calculated()) FViewInfo->Paint(Canvas());
  }
}

TRect TcxContainer::GetShadowBounds() {
  TRect R = cxRectContent(FViewInfo->Bounds, GetBorderExtent());
  Integer W = FViewInfo->BorderWidth;
  R = cxRectContent(R, TRect{-W, -W, -W, -W});
  InflateRectByBorders(R, W, FViewInfo->Edges);
  return R;
}

TRegionHandle TcxContainer::CreateWindowRegion() {
  bool ANativeBorder = FViewInfo->NativeStyle && GetStyle()->GetBorderStyle() != cbsNone;
  TRegionHandle ARegion;
  if (HasShadow() && !ANativeBorder)
    ARegion = GetWindowShadowRegion(Handle(), GetShadowBounds(), GetShadowBoundsExtent(), TRect{},
                                    true, false);
  else if (CanHaveTransparentBorder()) {
    TRect R = GetShadowBounds();
    ARegion.Reset(CreateRectRgn(R.left, R.top, R.right, R.bottom));
  }
  TRect AAddon = GetWindowRegionAddon();
  if (ARegion && !cxRectIsEmpty(AAddon)) {
    TRegionHandle A(CreateRectRgn(AAddon.left, AAddon.top, AAddon.right, AAddon.bottom));
    CombineRgn(ARegion.Get(), ARegion.Get(), A.Get(), RGN_OR);
  }
  return ARegion;
}

void TcxContainer::UpdateWindowRegion() {
  if (!HandleAllocated() || Width() <= 0 || Height() <= 0 || FInternalWindowRegionSetting) return;
  ++FUpdateWindowRegionCount;
  FNewWindowRegion = CreateWindowRegion();
  SendMessageW(Handle(), DXM_UPDATEWINDOWREGION, 0, 0);
}

void TcxContainer::DXMUpdateWindowRegion(TMessage&) {
  if (FUpdateWindowRegionCount > 0) --FUpdateWindowRegionCount;
  if (FUpdateWindowRegionCount != 0) return;
  FInternalWindowRegionSetting = true;
  auto AReset = Finally([this] { FInternalWindowRegionSetting = false; });
  SetWindowRegion(Handle(), std::move(FNewWindowRegion), true);
}

void TcxContainer::WMDestroy(TMessage& Message) {
  FUpdateWindowRegionCount = 0;
  DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Styles and the control's own values

bool TcxContainer::IsStylePropertyPublished(const String& APropertyName, bool AExtendedStyle) {
  if (AExtendedStyle && !GetStyle()->IsExtendedStylePropertyPublished(APropertyName)) return false;
  Integer AValue;
  if (GetStyle()->GetStyleValue(APropertyName, AValue))
    return !InternalGetNotPublishedStyleValues().Contains(
        static_cast<TcxContainerStyleValue>(AValue));
  return true;
}

bool TcxContainer::IsStyleAssigned(TcxContainerStyleValue AValue) {
  return GetStyle()->IsValueAssigned(AValue) || GetActiveStyle()->IsValueAssigned(AValue);
}

void TcxContainer::ContainerStyleChanged(TObject*) {
  if (FIsCreating || IsLoading()) return;
  BeginRefreshContainer();
  auto AEnd = Finally([this] { EndRefreshContainer(); });
  {
    ++FInternalSetting;
    auto AUnset = Finally([this] { --FInternalSetting; });
    if (!ParentColor() || GetStyle()->GetAssignedValues().Contains(csvColor))
      SetColor(GetStyle()->GetStyleColor());
    // The copy is the style's, not a font of the control's own: whether
    // the control follows its parent stays as it was.
    bool AParentFont = FParentFont;
    if (GetStyle()->GetFont()) Font()->Assign(GetStyle()->GetFont());
    FParentFont = AParentFont;
  }
  if (GetStyle()->GetAssignedValues().Contains(csvFont)) SetParentFont(false);
}

void TcxContainer::SetParentFont(bool AValue) {
  inherited::SetParentFont(AValue);
  // A form being read sets its values in any order; Loaded applies the
  // style as it was read.
  if (AValue || !FStyles || IsLoading() || ComponentState().Contains(csReading)) return;
  TcxContainerStyle* S = GetStyle();
  if (!S->GetAssignedValues().Contains(csvFont))
    S->SetAssignedValues(S->GetAssignedValues() + TcxContainerStyleValues{csvFont});
}

void TcxContainer::ColorChanged() {
  if (FInternalSetting == 0 && !FIsCreating && FStyles) {
    GetStyle()->SetColor(Color());
    return;
  }
  inherited::ColorChanged();
  ShortRefreshContainer(false);
}

void TcxContainer::CMFontChanged(TMessage& Message) {
  if (FInternalSetting == 0 && FStyles && !FIsCreating) {
    TcxContainerStyle* S = GetStyle();
    bool AWasAssigned = S->GetAssignedValues().Contains(csvFont);
    {
      // One notification, and it must not see the font as assigned when
      // it only came down from the parent.
      S->BeginUpdate();
      auto AEnd = Finally([S] { S->EndUpdate(); });
      S->SetFont(Font());
      if (!AWasAssigned) S->RemoveAssignedValue(csvFont);
    }
    inherited::CMFontChanged(Message);
    return;
  }
  BeginRefreshContainer();
  auto AEnd = Finally([this] { EndRefreshContainer(); });
  inherited::CMFontChanged(Message);
  SetSize();
  SetScrollBarsParameters(false);
}

void TcxContainer::CMParentColorChanged(TMessage& Message) {
  bool AWasAssigned = GetStyle()->GetAssignedValues().Contains(csvColor);
  inherited::CMParentColorChanged(Message);
  if (!AWasAssigned || ParentColor()) GetStyle()->RemoveAssignedValue(csvColor);
  if (GetStyle()->GetColor() != Color()) ContainerStyleChanged(GetStyle());
}

void TcxContainer::CMParentFontChanged(TMessage& Message) {
  bool AWasAssigned = GetStyle()->GetAssignedValues().Contains(csvFont);
  inherited::CMParentFontChanged(Message);
  if (!ParentFont()) GetStyle()->UpdateFont();
  if (!AWasAssigned || ParentFont()) GetStyle()->RemoveAssignedValue(csvFont);
}

void TcxContainer::CMBiDiModeChanged(TMessage& Message) {
  // Mirrored layouts are only built on systems set up for them.
  const bool ARecreate = Message.WParam == 0 && GetSystemMetrics(SM_MIDEASTENABLED) != 0;
  Message.WParam = 1;
  inherited::CMBiDiModeChanged(Message);
  if (ARecreate && HandleAllocated()) RecreateWnd();
}

void TcxContainer::ChangeScaleEx(Integer M, Integer D) {
  // Only a font of the style's own: a controller's is fetched again at the
  // new scale, and scaling the copy would make it the style's own.
  const bool AScaleFont =
      M != D && !IsLoading() && GetStyle()->GetAssignedValues().Contains(csvFont);
  {
    // The control's own font follows the style, not the other way round.
    const bool AInternal = !ParentFont();
    if (AInternal) ++FInternalSetting;
    auto AUnset = Finally([&] {
      if (AInternal) --FInternalSetting;
    });
    inherited::ChangeScaleEx(M, D);
  }
  if (AScaleFont) {
    if (TFont* AFont = GetStyle()->GetFont()) AFont->ChangeScale(M, D);
  } else if (GetStyle()->GetActiveStyleController()) {
    // The controller's font, at this control's new scale. Without one the
    // font the framework just scaled stays (a reset would undo the scaling).
    GetStyle()->UpdateFont();
  }
}

void TcxContainer::ScaleFactorChanged() {
  BeginRefreshContainer();
  auto AEnd = Finally([this] { EndRefreshContainer(); });
  inherited::ScaleFactorChanged();
}

void TcxContainer::CMSysColorChange(TMessage& Message) {
  BeginRefreshContainer();
  auto AEnd = Finally([this] { EndRefreshContainer(); });
  DefaultHandler(Message);
}

void TcxContainer::Loaded() {
  inherited::Loaded();
  SetSize();
  ContainerStyleChanged(GetStyle());
}

void TcxContainer::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  // A menu asked for from the keyboard comes at (-1, -1); the container's
  // refusal only concerns real mouse positions.
  bool AFromKeyboard = MousePos.x == -1 && MousePos.y == -1;
  if (IsPopupMenuLocked() || (!AFromKeyboard && !CanShowPopupMenu(MousePos))) {
    Handled = true;
    return;
  }
  inherited::DoContextPopup(MousePos, Handled);
}

void TcxContainer::LockAlignControls(bool ALock) {
  if (ALock)
    ++FLockAlignControlsCount;
  else if (FLockAlignControlsCount > 0)
    --FLockAlignControlsCount;
}

void TcxContainer::LockPopupMenu(bool ALock) {
  if (ALock)
    ++FPopupMenuLockCount;
  else if (FPopupMenuLockCount > 0)
    --FPopupMenuLockCount;
}

// ---------------------------------------------------------------------------
// Mouse

void TcxContainer::EndMouseTracking() {
  bool ATracking = ::IsMouseTracking(this);
  ::EndMouseTracking(this);
  if (ATracking && !IsDestroying()) ShortRefreshContainer(true);
}

bool TcxContainer::IsMouseTracking() { return ::IsMouseTracking(this); }

void TcxContainer::MouseEnter(TControl* AControl) {
  inherited::MouseEnter(AControl);
  ShortRefreshContainer(true);
  BeginMouseTracking(this, GetControlRect(this), this);
}

void TcxContainer::MouseLeave(TControl* AControl) {
  inherited::MouseLeave(AControl);
  ShortRefreshContainer(true);
  ::EndMouseTracking(this);
}

void TcxContainer::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  RefreshContainer(TPoint{X, Y}, cxmbNone, Shift, true);
  BeginMouseTracking(this, GetControlRect(this), this);
}

void TcxContainer::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (IsMouseTracking()) RefreshContainer(TPoint{X, Y}, ButtonTocxButton(Button), Shift, true);
}

void TcxContainer::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  RefreshContainer(TPoint{X, Y}, ButtonTocxButton(Button), Shift, true);
}

// ---------------------------------------------------------------------------
// Inner control

void TcxContainer::SetInnerControl(TWinControl* AValue) {
  if (AValue == FInnerControl) return;
  if (FInnerControl) FInnerControl->RemoveFreeNotification(this);
  FInnerControl = AValue;
  if (FInnerControl) FInnerControl->FreeNotification(this);
  ClearSavedChildControlRegions();
}

void TcxContainer::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FInnerControl) {
    FInnerControl = nullptr;
    ClearSavedChildControlRegions();
  }
}

void TcxContainer::SetSize() {
  ++FRefreshLockCount;
  auto AUnlock = Finally([this] { --FRefreshLockCount; });
  DoSetSize();
}

void TcxContainer::DoSetSize() {
  if (!FInnerControl || !FViewInfo->Calculated()) return;
  const TRect& R = FViewInfo->ClientRect;
  if (FInnerControl->BoundsRect() != R)
    FInnerControl->SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top);
}

void TcxContainer::AdjustInnerControl() {
  if (!FInnerControl) return;
  FInnerControl->SetColor(FViewInfo->BackgroundColor());
  FInnerControl->Font()->Assign(GetVisibleFont());
}

void TcxContainer::AdjustClientRect(TRect& Rect) {
  if (FViewInfo && FViewInfo->Calculated() && !IsDestroying() && !IsLoading())
    Rect = FViewInfo->ClientRect;
  else
    inherited::AdjustClientRect(Rect);
}

TRect TcxContainer::GetClientBounds() { return FViewInfo->ClientRect; }

void TcxContainer::GetInnerControlBounds(const TRect& R, TControl* AControl,
                                         TcxContainerInnerControlBounds& AData) {
  AData = TcxContainerInnerControlBounds();
  if (!AControl) return;
  TRect B = AControl->BoundsRect();
  AData.Rect = TRect{0, 0, B.right - B.left, B.bottom - B.top};
  bool ACut = false;
  if (B.left < R.left) AData.Rect.left += R.left - B.left, ACut = true;
  if (B.top < R.top) AData.Rect.top += R.top - B.top, ACut = true;
  if (B.right > R.right) AData.Rect.right -= B.right - R.right, ACut = true;
  if (B.bottom > R.bottom) AData.Rect.bottom -= B.bottom - R.bottom, ACut = true;
  AData.IsEmpty = !ACut;
}

bool TcxContainer::IsInnerControlBoundsChanged(TControl* AControl,
                                               const TcxContainerInnerControlBounds& AData) {
  if (AControl != FInnerControl) return true;
  if (FInnerControlBounds.IsEmpty && AData.IsEmpty) return false;
  if (FInnerControlBounds.IsEmpty != AData.IsEmpty) return true;
  return FInnerControlBounds.Rect != AData.Rect;
}

void TcxContainer::SetInnerControlRegion(TWinControl* AControl,
                                         const TcxContainerInnerControlBounds& AData) {
  if (AData.IsEmpty) {
    SetWindowRgn(AControl->Handle(), nullptr, true);
    return;
  }
  const TRect& R = AData.Rect;
  SetWindowRegion(AControl->Handle(),
                  TRegionHandle(CreateRectRgn(R.left, R.top, R.right, R.bottom)), true);
}

void TcxContainer::AlignControls(TControl* AControl, TRect& Rect) {
  if (IsContainerClass()) return inherited::AlignControls(AControl, Rect);
  if (IsAlignControlsLocked() || (AControl && IsInternalControl(AControl))) return;
  if (!AControl) {
    if (NeedsScrollBars()) inherited::AlignControls(AControl, Rect);
    return;
  }
  auto* AWinControl = dynamic_cast<TWinControl*>(AControl);
  if (!AWinControl || !AWinControl->HandleAllocated() || FIsCreating) return;
  TRect R = Rect;
  TcxContainerInnerControlBounds AData;
  GetInnerControlBounds(R, AControl, AData);
  if (IsInnerControlBoundsChanged(AControl, AData)) {
    SetInnerControlRegion(AWinControl, AData);
    if (AControl == FInnerControl) FInnerControlBounds = AData;
  }
}

bool TcxContainer::InnerControlDefaultHandler(TMessage& Message) {
  if (!HasInnerControlHandle() || IsDestroying()) return false;
  return TcxControlDefaultHandlerHelper::Process(Message);
}

bool TcxContainer::InnerControlMenuHandler(TMessage& Message) {
  if (Message.Msg != CN_KEYDOWN && Message.Msg != CN_SYSKEYDOWN) return false;
  bool AIsMenuKey = IsMenuKey(Message);
  Message.Result = AIsMenuKey ? 1 : 0;
  return AIsMenuKey;
}

// ---------------------------------------------------------------------------
// Focus and keys

bool TcxContainer::Focused() {
  if (IsDesigning() || ControlState().Contains(csDestroyingHandle)) return false;
  HWND AFocus = GetFocus();
  return (HandleAllocated() && AFocus == Handle()) ||
         (HasInnerControlHandle() && AFocus == FInnerControl->Handle());
}

bool TcxContainer::MayFocus() {
  return !(HasInnerControlHandle() && GetFocus() == FInnerControl->Handle());
}

bool TcxContainer::CanFocusOnClick() {
  return inherited::CanFocusOnClick() &&
         !(HasInnerControlHandle() && GetFocus() == FInnerControl->Handle()) &&
         !FInnerControlMouseDown;
}

void TcxContainer::SetFocus() {
  if (IsDesigning() || Focused()) return;
  inherited::SetFocus();
  if (HandleAllocated() && GetFocus() == Handle() && HasInnerControlHandle() &&
      FInnerControl->CanFocus()) {
    ::SetFocus(FInnerControl->Handle());
  }
}

void TcxContainer::WMSetFocus(TMessage& Message) {
  if (!Visible()) return;
  if (HasInnerControlHandle()) {
    if (reinterpret_cast<HWND>(Message.WParam) == FInnerControl->Handle()) {
      Message.Result = 0;
      return;
    }
    DefaultHandler(Message);
    if (FInnerControl->CanFocus()) ::SetFocus(FInnerControl->Handle());
    return;
  }
  DefaultHandler(Message);
}

void TcxContainer::WMKillFocus(TMessage& Message) {
  if (HasInnerControlHandle() && reinterpret_cast<HWND>(Message.WParam) == FInnerControl->Handle())
    return;
  DefaultHandler(Message);
}

void TcxContainer::FocusChanged() {
  inherited::FocusChanged();
  ShortRefreshContainer(false);
}

void TcxContainer::EnabledChanged() {
  if (!Enabled() && HandleAllocated() && Focused()) ::SetFocus(nullptr);
  inherited::EnabledChanged();
  ShortRefreshContainer(false);
}

void TcxContainer::GetTabOrderList(std::vector<TWinControl*>& List) {
  if (IsContainerClass()) return inherited::GetTabOrderList(List);
  // Its children are its own business, but an inner control holding the
  // form's focus stands in the container's place.
  TCustomForm* AForm = ::GetParentForm(this);
  if (AForm && FInnerControl && AForm->ActiveControl() == FInnerControl &&
      AForm->ActiveControl() != this && CanFocus()) {
    auto It = std::find(List.begin(), List.end(), this);
    if (It != List.end())
      *It = FInnerControl;
    else
      List.push_back(FInnerControl);
  }
}

void TcxContainer::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_TAB && !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) && Focused() &&
      CanContainerHandleTabs()) {
    Key = 0;
    if (TCustomForm* AForm = ::GetParentForm(this)) {
      AForm->SelectNext(AForm->ActiveControl() ? AForm->ActiveControl() : this,
                        !Shift.Contains(ssShift), true);
      if (HasInnerControlHandle() && GetFocus() == Handle()) ::SetFocus(FInnerControl->Handle());
    }
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TcxContainer::WMWindowPosChanging(TMessage& Message) {
  if (IsDestroying()) {
    Message.Result = 0;
    return;
  }
  DefaultHandler(Message);
  if (auto* AWindowPos = reinterpret_cast<WINDOWPOS*>(Message.LParam)) KeepAlignedEdge(*AWindowPos);
  // The container's own window holds the focus only until its inner control
  // can take it (it may have been hidden or without a window until now).
  if (FFocusingInnerControl || !HandleAllocated() || GetFocus() != Handle() ||
      !HasInnerControlHandle() || !FInnerControl->CanFocus())
    return;
  if (TCustomForm* AForm = ::GetParentForm(this)) {
    FFocusingInnerControl = true;
    auto AReset = Finally([this] { FFocusingInnerControl = false; });
    AForm->FocusControl(FInnerControl);
  }
}

// The framework records its own new bounds before it moves the window, so a
// size that differs from the recorded one comes from elsewhere (the platform,
// a direct SetWindowPos). Keeping the position would move the edge the
// container is aligned to; the opposite edge moves instead.
void TcxContainer::KeepAlignedEdge(WINDOWPOS& AWindowPos) {
  if (AWindowPos.flags & SWP_NOSIZE) return;
  const bool AKeepRight = Align() == alRight && AWindowPos.cx != Width();
  const bool AKeepBottom = Align() == alBottom && AWindowPos.cy != Height();
  if (!AKeepRight && !AKeepBottom) return;
  if (AWindowPos.flags & SWP_NOMOVE) {
    AWindowPos.x = Left();
    AWindowPos.y = Top();
    AWindowPos.flags &= ~SWP_NOMOVE;
  }
  if (AKeepRight) AWindowPos.x += Width() - AWindowPos.cx;
  if (AKeepBottom) AWindowPos.y += Height() - AWindowPos.cy;
}

void TcxContainer::WMWindowPosChanged(TMessage& Message) {
  inherited::WMWindowPosChanged(Message);
  if (!IsDestroying() && !FInternalWindowRegionSetting) ShortRefreshContainer(false);
}

void TcxContainer::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == Handle() && LOWORD(Message.LParam) == HTCLIENT &&
      HasInnerControl()) {
    TPoint P = GetMouseCursorClientPos();
    if (!PtInRect(FViewInfo->ClientRect, P)) {
      ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      Message.Result = 1;
      return;
    }
  }
  inherited::WMSetCursor(Message);
}

void TcxContainer::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (!Visible()) return;
      break;
    case WM_NCCALCSIZE:
      if (FRefreshLockCount > 0) {
        Message.Result = 0;
        return;
      }
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case CN_KEYDOWN:
    case CN_KEYUP:
    case CN_CHAR:
      if (FInnerControl) {
        UINT AMsg = Message.Msg;
        // The reflected forms go to the inner window as the plain messages.
        if (AMsg == CN_KEYDOWN) AMsg = WM_KEYDOWN;
        if (AMsg == CN_KEYUP) AMsg = WM_KEYUP;
        if (AMsg == CN_CHAR) AMsg = WM_CHAR;
        Message.Result =
            SendMessageW(FInnerControl->Handle(), AMsg, Message.WParam, Message.LParam);
        return;
      }
      break;
  }
  inherited::WndProc(Message);
}

void TcxContainer::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TcxContainer::CreateHandle() {
  inherited::CreateHandle();
  if (FInnerControl && !FInnerControl->HandleAllocated()) FInnerControl->HandleNeeded();
}

void TcxContainer::Invalidate() {
  inherited::Invalidate();
  if (FInnerControl) FInnerControl->Invalidate();
}

void TcxContainer::Update() {
  inherited::Update();
  if (FInnerControl) FInnerControl->Update();
}

void TcxContainer::DestroyWnd() {
  // Buffered-paint messages still queued would be lost with the windows.
  if (FInnerControl) dxForceProcessBufferedPaintMessages(FInnerControl);
  dxForceProcessBufferedPaintMessages(this);
  inherited::DestroyWnd();
}

void TcxContainer::DXMShortRefreshContainer(TMessage&) { ShortRefreshContainer(false); }
