// The editor's view info without its painting: the validation state, the
// button view infos, hit tests, hints and the repainting of what changed.
#include "cxEdit.h"

#include "cxClasses.h"
#include "dxCustomHint.h"

IMPLEMENT_CLASS(TcxEditValidateInfo)
IMPLEMENT_CLASS(TcxCustomEditViewInfo)

// ---------------------------------------------------------------------------
// TcxEditValidateInfo
TcxEditValidateInfo::TcxEditValidateInfo() : FErrorIcon(MakeOwned<TdxSmartGlyph>()) {}

TcxEditValidateInfo::~TcxEditValidateInfo() = default;

void TcxEditValidateInfo::SetErrorIcon(TdxSmartGlyph* Value) { FErrorIcon->Assign(Value); }

void TcxEditValidateInfo::SetErrorType(TcxEditErrorType Value) {
  if (Value == FErrorType) return;
  FErrorType = Value;
  TBitmap* AIcon = nullptr;
  switch (Value) {
    case eetError:
      AIcon = cxEditErrorIcon();
      break;
    case eetWarning:
      AIcon = cxEditWarningIcon();
      break;
    case eetInfo:
      AIcon = cxEditInfoIcon();
      break;
    default:
      break;
  }
  if (AIcon) FErrorIcon->Assign(AIcon);
  // The glyphs are drawn for 96 DPI and scaled from there.
  FErrorIcon->SetSourceDPI(dxDefaultDPI);
}

void TcxEditValidateInfo::Reset() {
  FErrorType = eetNone;
  FErrorText.clear();
  FErrorIcon->Clear();
}

// ---------------------------------------------------------------------------
// TcxCustomEditViewInfo
TcxCustomEditViewInfo::TcxCustomEditViewInfo()
    : FScaleFactor(MakeOwned<TdxScaleFactor>()), FErrorData(MakeOwned<TcxEditValidateInfo>()) {}

TcxCustomEditViewInfo::~TcxCustomEditViewInfo() { ClearButtons(); }

void TcxCustomEditViewInfo::ClearButtons() {
  for (TcxEditButtonViewInfo* B : ButtonsInfo) B->Free();
  ButtonsInfo.clear();
}

TcxEditButtonViewInfoClass TcxCustomEditViewInfo::GetButtonViewInfoClass() {
  return [] { return Create<TcxEditButtonViewInfo>(); };
}

void TcxCustomEditViewInfo::SetButtonCount(Integer ACount) {
  ACount = std::max(ACount, 0);
  while (ButtonCount() > ACount) {
    ButtonsInfo.back()->Free();
    ButtonsInfo.pop_back();
  }
  while (ButtonCount() < ACount) {
    TcxEditButtonViewInfo* B = GetButtonViewInfoClass()();
    B->EditViewInfo = this;
    ButtonsInfo.push_back(B);
  }
}

void TcxCustomEditViewInfo::Assign(TObject* Source) {
  if (auto* S = dynamic_cast<TcxCustomEditViewInfo*>(Source)) {
    SetBackgroundColor(S->BackgroundColor());
    BorderColor = S->BorderColor;
    BorderStyle = S->BorderStyle;
    TcxContainerViewInfo::BorderStyle = S->TcxContainerViewInfo::BorderStyle;
    ContainerState = S->ContainerState;
    NativeState = S->NativeState;
    SetButtonCount(S->ButtonCount());
    for (Integer I = 0; I < ButtonCount(); ++I) ButtonsInfo[I]->Assign(S->ButtonsInfo[I]);
    PressedButton = S->PressedButton;
    SelectedButton = S->SelectedButton;
  }
  inherited::Assign(Source);
}

void TcxCustomEditViewInfo::Offset(Integer DX, Integer DY) {
  inherited::Offset(DX, DY);
  for (TRect* R : {&InnerEditRect, &ShadowRect, &FErrorBounds, &FEditorBounds})
    *R = cxRectOffset(*R, DX, DY);
  for (TcxEditButtonViewInfo* B : ButtonsInfo) {
    B->Bounds = cxRectOffset(B->Bounds, DX, DY);
    B->VisibleBounds = cxRectOffset(B->VisibleBounds, DX, DY);
  }
}

TPoint TcxCustomEditViewInfo::SetOrigin(const TPoint& APoint) {
  const TPoint AOld{Left, Top};
  Left = APoint.x;
  Top = APoint.y;
  return AOld;
}

void TcxCustomEditViewInfo::CalculateEditorBounds() {
  FEditorBounds = Bounds;
  if (!FOnCalculateEditorBounds.GetEmpty()) FOnCalculateEditorBounds.Invoke()(this, FEditorBounds);
}

bool TcxCustomEditViewInfo::HasNonClientArea() { return FEdit && FEdit->HasNonClientArea(); }

bool TcxCustomEditViewInfo::DoCanStartButtonFading() {
  bool ACanStart = true;
  if (FOnCanStartButtonFading) FOnCanStartButtonFading(this, ACanStart);
  return ACanStart;
}

void TcxCustomEditViewInfo::StoreLastState() {
  LastPressedButton = PressedButton;
  LastSelectedButton = SelectedButton;
}

bool TcxCustomEditViewInfo::CanDrawEditValue() {
  bool ACanDraw = true;
  if (!FOnCanDrawEditValue.GetEmpty()) FOnCanDrawEditValue.Invoke()(this, ACanDraw);
  return ACanDraw;
}

bool TcxCustomEditViewInfo::IsFadingAvailable() {
  return NativeStyle || (UseSkins && Painter != nullptr);
}

void TcxCustomEditViewInfo::GetColorSettingsByPainter(TColor& AFillColor, TColor& ATextColor) {
  AFillColor = clDefault;
  ATextColor = clDefault;
  if (FEdit && !IsInplace) FEdit->GetColorSettingsByPainter(AFillColor, ATextColor);
}

bool TcxCustomEditViewInfo::IsHotTrack() {
  for (TcxEditButtonViewInfo* B : ButtonsInfo)
    if (B->Data.State == ebsSelected) return true;
  return false;
}

bool TcxCustomEditViewInfo::IsHotTrack(const TPoint& P) {
  const TPoint AP{P.x - Left, P.y - Top};
  for (TcxEditButtonViewInfo* B : ButtonsInfo)
    if (cxRectPtIn(B->Bounds, AP)) return true;
  return false;
}

// ---------------------------------------------------------------------------
// Hit tests and hints

Integer TcxCustomEditViewInfo::GetPart(const TPoint& P) {
  for (Integer I = 0; I < ButtonCount(); ++I)
    if (cxRectPtIn(ButtonsInfo[I]->Bounds, P)) return I;
  if (FErrorData->IsError() && cxRectPtIn(FErrorBounds, P)) return ecpErrorIcon;
  return cxRectPtIn(BorderRect, P) ? ecpControl : ecpNone;
}

TRect TcxCustomEditViewInfo::GetPartRect(Integer APart) {
  if (APart == ecpErrorIcon) return FErrorBounds;
  if (APart == ecpControl) {
    TRect R = BorderRect;
    for (TcxEditButtonViewInfo* B : ButtonsInfo) {
      if (B->Data.LeftAlignment && B->Data.Rightmost) R.left = B->Bounds.right;
      if (!B->Data.LeftAlignment && B->Data.Leftmost) R.right = B->Bounds.left;
    }
    return R;
  }
  if (IsValidButtonIndex(APart)) return ButtonsInfo[APart]->Bounds;
  return cxNullRect;
}

String TcxCustomEditViewInfo::GetHintText(Integer APart) {
  if (IsValidButtonIndex(APart)) return ButtonsInfo[APart]->Data.Hint;
  if (APart == ecpErrorIcon) return FErrorData->ErrorText();
  return String();
}

bool TcxCustomEditViewInfo::NeedShowHint(TcxCanvas*, const TPoint& P, const TRect&, String& AText,
                                         bool& AIsMultiLine, TRect& ATextRect, Integer) {
  const TPoint AP{P.x - Left, P.y - Top};
  const Integer APart = GetPart(AP);
  AIsMultiLine = false;
  if (APart == ecpErrorIcon || IsValidButtonIndex(APart)) {
    AText = GetShortHint(GetHintText(APart));
    ATextRect = GetHintTextRect(AP, APart);
  } else {
    AText.clear();
    ATextRect = cxEmptyRect;
  }
  return !AText.empty();
}

namespace {
// The one hint window the editors measure hints with; made again when the
// hint window class changes, freed when the module ends.
struct THintWindowHolder {
  THintWindow* Window = nullptr;
};
THintWindowHolder& HintWindowHolder() {
  static THintWindowHolder AHolder;
  return AHolder;
}
}  // namespace

void cxEditFreeHintWindow() {
  THintWindowHolder& H = HintWindowHolder();
  if (H.Window) H.Window->Free();
  H.Window = nullptr;
}

TRect TcxCustomEditViewInfo::GetHintTextRect(const TPoint& P, Integer APart) {
  THintWindowHolder& H = HintWindowHolder();
  TClass AClass = cxGetHintWindowClass();
  if (H.Window && H.Window->ClassType() != AClass) cxEditFreeHintWindow();
  if (!H.Window) {
    TObject* AObject = AClass->Create(nullptr);
    H.Window = dynamic_cast<THintWindow*>(AObject);
    if (!H.Window) {
      if (AObject) AObject->Free();
      return cxEmptyRect;
    }
  }
  TRect R = H.Window->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), GetHintText(APart), nullptr);
  return cxRectOffset(R, P.x, P.y + cxGetCursorSize().cy);
}

// ---------------------------------------------------------------------------
// Repainting what changed

TRect TcxCustomEditViewInfo::GetInnerEditRect(const TRect& AInnerEditRect) {
  if (cxRectIsEmpty(AInnerEditRect)) return cxEmptyRect;
  TRect R;
  if (!IntersectRect(&R, &AInnerEditRect, &ClientRect)) return cxEmptyRect;
  return R;
}

bool TcxCustomEditViewInfo::Repaint(TWinControl* AControl, TcxCustomEditViewInfo* AViewInfo) {
  return Repaint(AControl, cxEmptyRect, AViewInfo);
}

bool TcxCustomEditViewInfo::Repaint(TWinControl* AControl, const TRect& AInnerEditRect,
                                    TcxCustomEditViewInfo* AViewInfo) {
  if (!AControl || !AControl->HandleAllocated()) return false;
  const HWND AHandle = AControl->Handle();
  const TRect AOuter = cxRectOffset(Bounds, Left, Top);
  const TRect AExcluded = cxRectOffset(GetInnerEditRect(AInnerEditRect), Left, Top);
  auto Invalidate = [&](const TRect& AOuterRect, const TRect& AInnerRect) {
    if (cxRectIsEmpty(AOuterRect) || EqualRect(&AOuterRect, &AInnerRect)) return;
    InternalInvalidate(AHandle, AOuterRect, AInnerRect, HasBackground, HasNonClientArea());
  };
  if (!AViewInfo) {
    Invalidate(AOuter, AExcluded);
    return true;
  }
  bool AResult = true;
  const bool ASameButtonCount = ButtonCount() == AViewInfo->ButtonCount();
  if (NativeState != AViewInfo->NativeState || BackgroundColor() != AViewInfo->BackgroundColor() ||
      (!(ContainerState == AViewInfo->ContainerState) && IsRepaintOnStateChangingNeeded()) ||
      !ASameButtonCount)
    Invalidate(AOuter, AExcluded);
  else if (BorderStyle != AViewInfo->BorderStyle ||
           (BorderStyle != ebsNone && BorderColor != AViewInfo->BorderColor))
    Invalidate(AOuter, cxRectOffset(BorderRect, Left, Top));
  else
    AResult = false;
  if (ASameButtonCount)
    for (Integer I = 0; I < ButtonCount(); ++I)
      if (ButtonsInfo[I]->Repaint(AControl, AViewInfo->ButtonsInfo[I], TPoint{Left, Top}))
        AResult = true;
  return AResult;
}

TRegionHandle TcxCustomEditViewInfo::GetUpdateRegion(TcxContainerViewInfo* AViewInfo) {
  TRegionHandle ARegion = inherited::GetUpdateRegion(AViewInfo);
  auto* AOld = dynamic_cast<TcxCustomEditViewInfo*>(AViewInfo);
  // What makes Repaint redraw more than the buttons makes the whole bounds
  // the region here too (a new background colour shows everywhere).
  if (AOld && BorderStyle == AOld->BorderStyle &&
      (BorderStyle == ebsNone || BorderColor == AOld->BorderColor) &&
      ButtonCount() == AOld->ButtonCount() && NativeState == AOld->NativeState &&
      BackgroundColor() == AOld->BackgroundColor() &&
      (ContainerState == AOld->ContainerState || !IsRepaintOnStateChangingNeeded())) {
    for (Integer I = 0; I < ButtonCount(); ++I) {
      TRegionHandle AButtonRegion = ButtonsInfo[I]->GetUpdateRegion(AOld->ButtonsInfo[I]);
      CombineRgn(ARegion.Get(), ARegion.Get(), AButtonRegion.Get(), RGN_OR);
    }
  } else if (!cxRectIsEmpty(Bounds)) {
    SetRectRgn(ARegion.Get(), Bounds.left, Bounds.top, Bounds.right, Bounds.bottom);
  }
  return ARegion;
}
